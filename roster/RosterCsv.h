#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <functional>
#include <optional>
#include <span>
#include <vector>

// The roster file's comma-separated text, as bytes. Nothing here knows of
// the window, so the reader and the writer can be tried on bytes alone.
namespace rostercsv {

using Fields = std::vector<QByteArray>;

// The text of each line of a file, header line included. Blank lines and the
// blanks a line starts with are dropped, carriage returns are removed, and a
// Ctrl-Z ends the line it stands in (or the file, where a line would start).
std::vector<QByteArray> readLines(QByteArrayView file);

// Splits a line's text into its first five fields, those the grid keeps; the
// rest of the line is not read. Commas separate, and so do blanks and tabs
// outside double quotes; "" inside quotes stands for one quote. The text ends
// at its first NUL byte.
Fields splitFields(QByteArrayView line);

// Splits a line the program wrote with appendRow into all its fields:
// commas separate, double quotes enclose, "" inside quotes is one quote.
Fields splitAllFields(QByteArrayView line);

// A file the program wrote with appendRow, header line first, each line
// split into all its fields. A file of nothing but spaces, tabs and line
// ends (as an editor leaves a file it emptied) is no lines at all. Answers
// nothing for a file holding a Ctrl-Z or a NUL: the program writes neither,
// and the lines behind one would be lost at the next save.
std::optional<std::vector<Fields>> readTable(QByteArrayView file);

// Hands every line after the header, split into its first five fields, to fn
// in order.
void forEachStudent(QByteArrayView file, const std::function<void(Fields &)> &fn);
// Every line after the header, split into fields.
std::vector<Fields> readStudents(QByteArrayView file);

// Appends one line: the cells joined by commas, each quoted where a reader
// would otherwise split or trim it, then CR LF.
void appendRow(QByteArray &out, std::span<const QByteArray> cells);

} // namespace rostercsv
