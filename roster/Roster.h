#pragma once

#include "platform/CellTable.h"
#include "roster/Columns.h"
#include "seats/SeatNumber.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The class roster: row 0 is the header, rows 1 onwards one student each, in
// five columns (roster/Columns.h). The roster grid shows its cells and edits
// them in place. Rows beyond the row count keep the text they last held.
class Roster {
public:
    Roster();

    // The cells, for the roster grid to show.
    CellTable &cells() { return table; }
    const CellTable &cells() const { return table; }
    const SjisText &cell(int col, int row) const { return table.cell(col, row); }
    void setCell(int col, int row, const SjisText &text) { table.setCell(col, row, text); }
    // Rows with the header row.
    int rowCount() const { return table.rowCount(); }
    int studentCount() const { return table.rowCount() - 1; }

    void writeHeader();

    // Reads a file's student lines into rows 1 onwards: each line's first
    // five fields into its row's cells, the cells a short line has no field
    // for keeping their text, and the row count set to the lines read. A
    // file without student lines changes nothing.
    void read(QByteArrayView file);
    // Every row, header row first, as the roster file holds them.
    QByteArray bytes() const;

    // The seat column: what is wrong with it for a layout of this many
    // seats (a seat that is no number of the layout, or one held twice), as
    // the message that says so; nothing when it is sound.
    std::optional<SjisText> seatFault(int seatCount) const;
    // The first attendance number that two students share; empty where
    // none is shared. Conditions and the history name students by it.
    SjisText sharedAttendance() const;
    // True when some student holds the seat, in any form of integer text.
    bool holdsSeat(SeatNumber seat) const;
    bool isWithoutSeat(int row) const;
    // The first row after this one whose seat cell is empty. Rows past the
    // last student read as they were last held, so the search ends at the
    // first row that never held a seat.
    int nextWithoutSeat(int row) const;
    // Writes the seat's number into the row's seat cell; none empties it.
    void setSeat(int row, SeatNumber seat) {
        table.setCell(roster::seatCol, row, seat.isNone() ? SjisText() : seat.text());
    }

    // The students sorted by a column's text, as the user's locale orders it.
    void sortBy(int col);
    // The draw order as two-digit numbers, then the students in that order.
    void sortByOrder();
    // Each student's seat number becomes the draw order (students without a
    // seat come last), the seat column is emptied and the students sorted.
    void seatsToOrder();

private:
    CellTable table;
};
