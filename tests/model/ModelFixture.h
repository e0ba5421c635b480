#pragma once

#include "roster/Roster.h"
#include "seats/NoSeatMark.h"
#include "seats/SeatLayout.h"

#include <gtest/gtest.h>

#include <map>

// A class without a window: a layout and a roster, built in memory.
class ModelTest : public ::testing::Test {
protected:
    // A full layout of 48 seats, numbered.
    ModelTest() { layout.renumber(); }

    // Positions without a seat, then the seats numbered again.
    void markNoSeat(std::initializer_list<std::pair<int, int>> positions) {
        for (const auto &[col, row] : positions)
            layout.setCell(col, row, noSeatMark());
        layout.renumber();
    }

    // n students named s1, s2, ..., in draw order, the seats given by row.
    void classOf(int n, const std::map<int, int> &seats = {}) {
        students.cells().setRowCount(n + 1);
        for (int r = 1; r <= n; ++r) {
            students.setCell(roster::orderCol, r, SjisText(QByteArray::number(r)));
            students.setCell(roster::attendanceCol, r, SjisText(QByteArray::number(r)));
            students.setCell(roster::nameCol, r, SjisText("s" + QByteArray::number(r)));
        }
        for (const auto &[row, seat] : seats)
            students.setSeat(row, SeatNumber(seat));
    }

    SeatLayout layout;
    Roster students;
};

// Text as the program stores it, from a literal.
inline SjisText text(const char *utf8) {
    return SjisText::lit(utf8);
}
