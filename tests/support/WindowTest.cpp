#include "support/WindowTest.h"

#include "platform/System.h"

#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QtTest/QTest>

void WindowTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(dir.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral(".config"))));
    sys::setExecutablePathForTesting(exePath());
    sys::setUserDataFolderForTesting(dataFolder());
    sys::setDocumentsFolderForTesting(dir.filePath(QStringLiteral("Documents")));
}

void WindowTest::TearDown() {
    window.reset();
    sys::setExecutablePathForTesting(QString());
    sys::setUserDataFolderForTesting(QString());
    sys::setDocumentsFolderForTesting(QString());
    qputenv("HOME", oldHome);
}

TForm1 &WindowTest::createWindow() {
    window = std::make_unique<TForm1>();
    window->show();
    return *window;
}

SjisText sj(const char *utf8) {
    return SjisText::lit(utf8);
}

QString cellText(const StringGrid *grid, int col, int row) {
    return grid->cell(col, row).toUnicode();
}

void clickGrid(StringGrid *grid, QPoint clientPoint, Qt::MouseButton button) {
    const QPoint v = clientPoint - grid->viewportOffset();
    QTest::mousePress(grid->viewport(), button, Qt::NoModifier, v);
    QTest::mouseRelease(grid->viewport(), button, Qt::NoModifier, v);
}

void clickCell(StringGrid *grid, int col, int row, Qt::MouseButton button) {
    clickGrid(grid, grid->cellRect(col, row).center(), button);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

void typeIntoCell(StringGrid *grid, int col, int row, const QString &text) {
    const QModelIndex idx = grid->model()->index(row - grid->fixedRows(), col);
    grid->setCurrentIndex(idx);
    grid->edit(idx);
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    editor->insert(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(10);
}
