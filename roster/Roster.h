#pragma once

#include "platform/CellTable.h"
#include "roster/Columns.h"
#include "seats/SeatNumber.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>
#include <vector>

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

    // The header row is the program's, never a step of the teacher's.
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
    // Writes the seat's number into the row's seat cell; none empties it. The
    // draw gives seats so: no step of the teacher's to undo.
    void setSeat(int row, SeatNumber seat) {
        ++outside;
        table.setCell(roster::seatCol, row, seat.isNone() ? SjisText() : seat.text());
    }

    // Grows at every change that is none of the teacher's editing: a file
    // read, a new class made, a seat the draw gave, the header written. The roster's undo history
    // (RosterUndo) goes back over none of them.
    unsigned long long outsideChanges() const { return outside; }

    // ---- The roster made and changed in the program ----
    // Whether the attendance numbers follow the rows as rows come and go.
    // They name students in the class's conditions and history, so a roster
    // that has files keeps them: a new student takes the next free number and
    // a student who leaves takes theirs along. A roster made in the program
    // and not yet saved lets a sequence 1, 2, 3, ... follow the rows, as the
    // draw order always does.
    enum class Attendance { Kept, FollowRows };

    // A new class of this many students (at least one): the header row,
    // then one row a student with the draw order 01, 02, ... and the
    // attendance number 1, 2, ...; every other cell empty.
    void makeNew(int students);
    // Inserts an empty student row at this row (1 to the row count; the row
    // count appends it) and answers it. Where the draw order down the rows is
    // 1, 2, 3, ... it stays so, the rows below moving on by one; otherwise the
    // new row takes the next free draw order (one above the highest). The
    // attendance number likewise, as attendance says.
    int insertRow(int at, Attendance attendance);
    // Removes the student rows from first to last. A draw order (and, as
    // attendance says, an attendance number) that ran 1, 2, 3, ... down the
    // rows closes up again; numbers the teacher typed otherwise stay as they
    // are. Removing every student leaves one empty row.
    void removeRows(int first, int last, Attendance attendance);
    // Pastes a block of cells (pastedtext::split) with its top-left cell at
    // this cell, cell by cell; cells right of the last column are left out.
    // A block that runs past the last row adds rows for it, which take the
    // next free draw order and attendance number where the block gives them
    // none. A cell is one line: a control character in a cell's text (a tab
    // a spreadsheet quoted) becomes a blank (platform/OneLine.h). Text that
    // Shift-JIS cannot hold refuses the whole paste: nothing changes and
    // badChar names the first such character.
    bool paste(int col, int row, const std::vector<QStringList> &block, QString &badChar);

    // The students sorted by a column's text, as the user's locale orders it.
    void sortBy(int col);
    // The draw order as two-digit numbers, then the students in that order.
    void sortByOrder();
    // Each student's seat number becomes the draw order (students without a
    // seat come last), the seat column is emptied and the students sorted.
    void seatsToOrder();

private:
    // The highest draw order or attendance number of the students; 0 where
    // none is integer text.
    std::int32_t highest(int col) const;
    // True when the column reads 1, 2, 3, ... down the student rows.
    bool isSequence(int col) const;
    // The column's text for a number the program gives.
    static SjisText numberText(int col, std::int32_t value);
    // Rows from..to (past the row count too) become empty.
    void clearRows(int from, int to);

    CellTable table;
    unsigned long long outside = 0;
};
