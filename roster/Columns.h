#pragma once

// The roster's five columns, left to right, in the grid and in the file.
namespace roster {

constexpr int orderCol = 0;      // draw order
constexpr int attendanceCol = 1; // attendance number
constexpr int nameCol = 2;       // name
constexpr int readingCol = 3;    // reading of the name
constexpr int seatCol = 4;       // seat number
constexpr int columns = 5;

} // namespace roster
