#pragma once

#include "platform/CellTable.h"
#include "seats/SeatNumber.h"

#include <map>

// A position of the layout: column 0 to 5, left to right, and row 0 to 7,
// front to back; (-1, -1) is none.
struct Position {
    int col = -1;
    int row = -1;
    bool isNone() const { return col < 0; }
    bool operator==(const Position &) const = default;
};

// The classroom's layout: a cell per position, holding the no-seat mark or,
// once numbered, the seat's number. Settings files can bring any text into a
// cell; what is worked out from the cells reads them as they are.
class SeatLayout {
public:
    SeatLayout();
    // A copy of the cells alone, to work out what a change would give; the
    // grid showing the original goes on showing the original.
    SeatLayout(const SeatLayout &other);
    SeatLayout &operator=(const SeatLayout &) = delete;

    // The cells, for the layout grid to show.
    CellTable &cells() { return table; }
    const CellTable &cells() const { return table; }
    const SjisText &cell(int col, int row) const { return table.cell(col, row); }
    void setCell(int col, int row, const SjisText &text) { table.setCell(col, row, text); }

    bool isSeatAt(int col, int row) const;
    // Numbers the seats from 1, column by column, front to back.
    void renumber();
    // Marks a seat as no seat, or a no-seat position as a seat (without a
    // number until the seats are numbered again).
    void toggle(int col, int row);
    int seatCount() const;

    // The position whose cell holds the seat's number as plain decimal text;
    // none where no cell does.
    Position position(SeatNumber seat) const;
    // The seat at the same double desk (columns 0 and 1, 2 and 3, 4 and 5);
    // none where the seat is not in the layout or its neighbour is no seat.
    // Raises ConversionError where the neighbour's cell holds other text.
    SeatNumber deskMate(SeatNumber seat) const;

private:
    CellTable table;
    // Number to position, worked out again once the cells have changed.
    mutable std::map<std::int32_t, Position> positions;
    mutable unsigned long long positionsRevision = ~0ull;
};
