#include "seats/SeatLayout.h"

#include "seats/NoSeatMark.h"

SeatLayout::SeatLayout() : table(layout::columns, layout::rows) {}

SeatLayout::SeatLayout(const SeatLayout &other) : SeatLayout() {
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            table.setCell(c, r, other.cell(c, r));
}

bool SeatLayout::isSeatAt(int col, int row) const {
    return table.cell(col, row) != noSeatMark();
}

void SeatLayout::renumber() {
    int n = 1;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (isSeatAt(c, r))
                table.setCell(c, r, SeatNumber(n++).text());
}

void SeatLayout::toggle(int col, int row) {
    table.setCell(col, row, isSeatAt(col, row) ? noSeatMark() : SjisText());
}

int SeatLayout::seatCount() const {
    int marks = 0;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (!isSeatAt(c, r))
                ++marks;
    return layout::maxSeats - marks;
}

Position SeatLayout::position(SeatNumber seat) const {
    if (positionsRevision != table.revision()) {
        positions.clear();
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r) {
                const SjisText &text = table.cell(c, r);
                std::int32_t n = 0;
                // Only the plain decimal text of a number names a seat; the
                // first position holding it counts.
                if (inttext::tryParse(text.bytes(), n) && inttext::format(n) == text)
                    positions.emplace(n, Position{c, r});
            }
        positionsRevision = table.revision();
    }
    const auto found = positions.find(seat.value());
    return found == positions.end() ? Position{} : found->second;
}

SeatNumber SeatLayout::deskMate(SeatNumber seat) const {
    const Position p = position(seat);
    if (p.isNone())
        return {};
    const int mateCol = p.col % 2 == 0 ? p.col + 1 : p.col - 1;
    if (!isSeatAt(mateCol, p.row))
        return {};
    return SeatNumber::parse(table.cell(mateCol, p.row));
}
