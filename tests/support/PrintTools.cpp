#include "support/PrintTools.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>


namespace {
constexpr double mmPerPoint = 25.4 / 72;

template <typename W> W *withText(QWidget *window, const char *text) {
    const QString wanted = QString::fromUtf8(text);
    for (W *w : window->findChildren<W *>())
        if (w->text() == wanted)
            return w;
    ADD_FAILURE() << "no " << text << " in " << window->windowTitle().toStdString();
    return nullptr;
}
} // namespace

QRadioButton *radio(QWidget *window, const char *text) {
    return withText<QRadioButton>(window, text);
}

QPushButton *button(QWidget *window, const char *text) {
    return withText<QPushButton>(window, text);
}

void printToFile(QWidget *optionsDialog, const QString &file) {
    radio(optionsDialog, "ファイル")->click();
    optionsDialog->findChild<QLineEdit *>()->setText(file);
    button(optionsDialog, "OK")->click();
}

ShownWindows::ShownWindows() {
    qApp->installEventFilter(this);
}

ShownWindows::~ShownWindows() {
    qApp->removeEventFilter(this);
}

bool ShownWindows::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Show) {
        if (auto *dialog = qobject_cast<QDialog *>(watched)) {
            Seen s{dialog->windowTitle(), {}};
            for (QLabel *label : dialog->findChildren<QLabel *>())
                s.labels << label->text();
            seen << s;
        }
    }
    return false;
}

QStringList ShownWindows::titles() const {
    QStringList out;
    for (const Seen &s : seen)
        out << s.title;
    return out;
}

QStringList ShownWindows::labelsOf(const QString &title) const {
    for (const Seen &s : seen)
        if (s.title == title)
            return s.labels;
    return {};
}


QByteArray runTool(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        ADD_FAILURE() << program.toStdString() << " " << args.join(QLatin1Char(' ')).toStdString()
                      << " failed: " << p.errorString().toStdString() << " "
                      << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput();
}

#ifdef _WIN32
bool pdfTextReadable() {
    return false;
}

// Windows has no Poppler tools: the page count, the paper and the fonts are
// read from the file's own dictionaries, which the PDF writer leaves
// uncompressed.
PdfInfo pdfInfo(const QString &path) {
    PdfInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return info;
    }
    const QString bytes = QString::fromLatin1(file.readAll());
    info.pages = static_cast<int>(bytes.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
    const auto box = QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([\\d.]+)\\s+([\\d.]+)\\s*\\]"))
                         .match(bytes);
    if (box.hasMatch()) {
        info.widthMm = box.captured(1).toDouble() * mmPerPoint;
        info.heightMm = box.captured(2).toDouble() * mmPerPoint;
    }
    const auto rot = QRegularExpression(QStringLiteral("/Rotate\\s+(\\d+)")).match(bytes);
    if (rot.hasMatch() && rot.captured(1).toInt() % 180 != 0)
        std::swap(info.widthMm, info.heightMm);
    auto fonts = QRegularExpression(QStringLiteral("/BaseFont\\s*/([^\\s/]+)")).globalMatch(bytes);
    while (fonts.hasNext())
        info.fonts += fonts.next().captured(1) + QLatin1Char('\n');
    const auto ascent = QRegularExpression(QStringLiteral("/Ascent\\s+(-?[\\d.]+)")).match(bytes);
    const auto descent = QRegularExpression(QStringLiteral("/Descent\\s+(-?[\\d.]+)")).match(bytes);
    info.ascent = ascent.hasMatch() ? ascent.captured(1).toDouble() : 0;
    info.descent = descent.hasMatch() ? descent.captured(1).toDouble() : 0;
    return info;
}

QList<PdfWord> pdfWords(const QString &) {
    ADD_FAILURE() << "no tool reads a PDF's words here";
    return {};
}
#else
bool pdfTextReadable() {
    return true;
}

PdfInfo pdfInfo(const QString &path) {
    PdfInfo info;
    const QString text = QString::fromUtf8(runTool(QStringLiteral("pdfinfo"), {path}));
    const auto pages =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(text);
    if (pages.hasMatch())
        info.pages = pages.captured(1).toInt();
    const auto size = QRegularExpression(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                         QRegularExpression::MultilineOption)
                          .match(text);
    if (size.hasMatch()) {
        info.widthMm = size.captured(1).toDouble() * mmPerPoint;
        info.heightMm = size.captured(2).toDouble() * mmPerPoint;
    }
    // A page turned by a /Rotate entry would only look landscape.
    const auto rot =
        QRegularExpression(QStringLiteral("^Page rot:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(text);
    if (rot.hasMatch() && rot.captured(1).toInt() % 180 != 0)
        std::swap(info.widthMm, info.heightMm);
    info.fonts = QString::fromUtf8(runTool(QStringLiteral("pdffonts"), {path}));
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QString bytes = QString::fromLatin1(file.readAll());
        const auto ascent = QRegularExpression(QStringLiteral("/Ascent\\s+(-?[\\d.]+)")).match(bytes);
        const auto descent = QRegularExpression(QStringLiteral("/Descent\\s+(-?[\\d.]+)")).match(bytes);
        info.ascent = ascent.hasMatch() ? ascent.captured(1).toDouble() : 0;
        info.descent = descent.hasMatch() ? descent.captured(1).toDouble() : 0;
    }
    return info;
}

QList<PdfWord> pdfWords(const QString &path) {
    QList<PdfWord> words;
    QXmlStreamReader xml(
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                              QStringLiteral("-l"), QStringLiteral("1"), path, QStringLiteral("-")}));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("word"))
            continue;
        const auto a = xml.attributes();
        PdfWord w;
        w.left = a.value(QLatin1String("xMin")).toDouble() * mmPerPoint;
        w.top = a.value(QLatin1String("yMin")).toDouble() * mmPerPoint;
        w.right = a.value(QLatin1String("xMax")).toDouble() * mmPerPoint;
        w.bottom = a.value(QLatin1String("yMax")).toDouble() * mmPerPoint;
        w.text = xml.readElementText();
        words << w;
    }
    return words;
}
#endif
