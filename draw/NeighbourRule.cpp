#include "draw/NeighbourRule.h"

#include "roster/Roster.h"
#include "seats/SeatLayout.h"

namespace neighbour {

bool repeatsDeskMate(const SeatLayout &layout, const Roster &roster, std::int32_t row, SeatNumber drawn) {
    // The previous desk-mate's previous seat, and so their roster row.
    const SeatNumber mateRow = layout.deskMate(SeatNumber(row));
    if (mateRow.isNone())
        return false;
    const SjisText &mateSeat = roster.cell(roster::seatCol, mateRow.value());
    if (mateSeat.isEmpty())
        return false;
    return layout.deskMate(SeatNumber::parse(mateSeat)) == drawn;
}

} // namespace neighbour
