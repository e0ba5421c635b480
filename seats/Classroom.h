#pragma once

// The classroom's layout: 6 columns of positions, left to right, by 8 rows,
// front to back. Every position is a seat unless it holds the no-seat mark,
// so a class has at most 48 seats, numbered from 1 column by column.
namespace layout {

constexpr int columns = 6;
constexpr int rows = 8;
constexpr int maxSeats = columns * rows;

} // namespace layout
