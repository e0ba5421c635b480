#include "widgets/FileDialog.h"

#include "widgets/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace {
// "*.CSV" -> "*.[cC][sS][vV]", so that the filter ignores letter case.
QString caseless(const QString &pattern) {
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}
} // namespace

void FileDialog::setInitialDir(const QString &dir) {
    QString d = dir;
    if (d.size() > 1 && (d.endsWith(QLatin1Char('/')) || d.endsWith(QLatin1Char('\\')))
        && !(d.size() >= 2 && d.at(d.size() - 2) == QLatin1Char(':')))
        d.chop(1);
    initial = d;
}

bool FileDialog::execute() {
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode == Mode::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    // The open dialog asks for no proof that the file exists: opening tells.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!filterName.isEmpty()) {
        QStringList p;
        for (const QString &pattern : patterns)
            p << caseless(pattern);
        dialog.setNameFilter(filterName + QStringLiteral(" (") + p.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    if (!defaultExt.isEmpty())
        dialog.setDefaultSuffix(defaultExt);
    const QFileInfo current(fileName);
    if (!initial.isEmpty())
        dialog.setDirectory(initial);
    else if (!fileName.isEmpty() && current.path() != QStringLiteral("."))
        dialog.setDirectory(current.absolutePath());
    if (!fileName.isEmpty())
        dialog.selectFile(current.fileName());
    if (runModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().constFirst();
    return true;
}
