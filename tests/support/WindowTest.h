#pragma once

#include "app/Main.h"
#include "widgets/StringGrid.h"
#include "support/Modal.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// A fresh window per test, in a temporary folder that stands in for the
// program's folder and for HOME, so nothing of the machine leaks in.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window (runs FormCreate); tests that need a settings file
    // in place first write it and then call this.
    TForm1 &createWindow();
    TForm1 &form() { return *window; }

    QString path(const QString &name) const { return dir.filePath(name); }
    QString exePath() const { return dir.filePath(QStringLiteral("kirabo")); }
    QString startupIni() const { return dir.filePath(QStringLiteral("kirabo.ini")); }
    // The user's data folder, where the journal of the draw goes.
    QString dataFolder() const { return dir.filePath(QStringLiteral("data")); }

    std::unique_ptr<TForm1> window;
    QTemporaryDir dir;
    QByteArray oldHome;
};

// Failure messages show texts as text.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

// Text helpers.
SjisText sj(const char *utf8);
QString cellText(const StringGrid *grid, int col, int row);

// Presses and releases a mouse button over a point of a grid's client area.
void clickGrid(StringGrid *grid, QPoint clientPoint, Qt::MouseButton button = Qt::LeftButton);
// ... over the middle of a cell.
void clickCell(StringGrid *grid, int col, int row, Qt::MouseButton button = Qt::LeftButton);

// File helpers.
QByteArray readFile(const QString &path);
void writeFile(const QString &path, const QByteArray &bytes);

// Types a new text into a roster cell through the grid's editor, as an input
// method does (QTest's key clicks are ASCII only), and ends the edit with Return.
void typeIntoCell(StringGrid *grid, int col, int row, const QString &text);
