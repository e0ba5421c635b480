#pragma once

#include "roster/Columns.h"

#include <QByteArray>
#include <QByteArrayView>

class StringGrid;

// The roster grid and the roster file's bytes, one into the other.
namespace roster {

// Reads a file's student lines into rows 1 onwards: each line's first five
// fields into its row's cells, the cells a short line has no field for
// keeping their text, and the row count set to the lines read. A file
// without student lines changes nothing.
void fillGrid(StringGrid &grid, QByteArrayView file);

// Every row of the grid, header row first, as the roster file holds them.
QByteArray gridBytes(const StringGrid &grid);

} // namespace roster
