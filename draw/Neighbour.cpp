#include "app/Main.h"

#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "roster/Columns.h"
#include "seats/NoSeatMark.h"

// The neighbour rule. Columns 0 and 1, 2 and 3, 4 and 5 are double desks. The
// roster order stands for the previous seats: the student in row r sat at
// seat r before this change.

std::int32_t TForm1::Otonari(std::int32_t seat) const {
    int col = -1;
    int row = -1;
    SeatToCell(seat, col, row);
    if (col < 0)
        return 0;
    const int mateCol = col % 2 == 0 ? col + 1 : col - 1;
    const SjisText mate = StringGrid_Settei->cell(mateCol, row);
    if (mate == noSeatMark())
        return 0;
    return inttext::parse(mate);
}

bool TForm1::Otonaricheck(std::int32_t row, std::int32_t drawn) const {
    // The previous desk-mate's previous seat, and so their roster row.
    const std::int32_t mateRow = Otonari(row);
    if (mateRow == 0)
        return false;
    const SjisText mateSeat = StringGrid2->cell(roster::seatCol, mateRow);
    // Not drawn yet: their own stop looks at the pair from the other side.
    if (mateSeat.isEmpty())
        return false;
    return Otonari(inttext::parse(mateSeat)) == drawn;
}
