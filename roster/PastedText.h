#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// Text pasted from a spreadsheet: one line a row, cells separated by tabs.
namespace pastedtext {

// Splits the clipboard's text into rows of cells. Lines end with CR LF, LF
// or CR; one line end at the very end closes the last row and starts no
// new one. A cell that begins with a double quote and has a closing one is
// quoted, as spreadsheets write a cell holding a tab, a line break or a
// quote: tabs and line breaks inside it belong to the cell, a doubled quote
// stands for one, and text after the closing quote up to the next tab is
// kept as it stands. A quote that is never closed is taken as text. A
// roster cell cannot hold a line break (the file's line is the student), so
// each line break inside a cell becomes one space. No text gives no rows.
std::vector<QStringList> split(const QString &text);

} // namespace pastedtext
