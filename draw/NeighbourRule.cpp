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

bool sitsWithFormerMate(const SeatLayout &layout, const Roster &roster, std::int32_t row, SeatNumber drawn,
                        const std::vector<std::pair<int, int>> &formerMates) {
    const SeatNumber mateSeat = layout.deskMate(drawn);
    if (mateSeat.isNone())
        return false;
    for (const auto &[a, b] : formerMates) {
        if (a != row && b != row)
            continue;
        std::int32_t held = 0;
        if (inttext::tryParse(roster.cell(roster::seatCol, a == row ? b : a).bytes(), held) && held == mateSeat.value())
            return true;
    }
    return false;
}

} // namespace neighbour
