#include "roster/SeatTable.h"

#include "roster/Roster.h"
#include "seats/SeatLayout.h"

void SeatTable::rebuild(const Roster &roster) {
    entries.fill(SeatEntry{});
    for (int r = 1; r < roster.rowCount(); ++r) {
        const SjisText &seat = roster.cell(roster::seatCol, r);
        if (seat.isEmpty())
            continue;
        const SeatNumber s = SeatNumber::parse(seat);
        // The roster check keeps other numbers away; should one come all the
        // same, the table has no entry for it.
        if (!s.isSeat())
            continue;
        entries[static_cast<size_t>(s.value())] =
            SeatEntry{seat, roster.cell(roster::attendanceCol, r), roster.cell(roster::nameCol, r),
                      roster.cell(roster::readingCol, r)};
    }
}

void SeatTable::give(SeatNumber seat, const Roster &roster, int row) {
    if (!seat.isSeat())
        return;
    entries[static_cast<size_t>(seat.value())] =
        SeatEntry{seat.text(), roster.cell(roster::attendanceCol, row), roster.cell(roster::nameCol, row),
                  roster.cell(roster::readingCol, row)};
}

const SeatEntry &SeatTable::operator[](SeatNumber seat) const {
    static const SeatEntry noStudent;
    return seat.isSeat() ? entries[static_cast<size_t>(seat.value())] : noStudent;
}

std::optional<SjisText> SeatTable::chartText(const SeatLayout &layout, int col, int row) const {
    if (!layout.isSeatAt(col, row))
        return std::nullopt;
    const SjisText &text = layout.cell(col, row);
    // A hand-edited settings file can hold a number no seat has: the
    // position then shows the layout's text, like a seat nobody holds.
    const SjisText &name = (*this)[SeatNumber::parse(text)].name;
    return name.isEmpty() ? text : name;
}
