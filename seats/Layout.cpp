#include "app/Main.h"

#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "seats/Classroom.h"
#include "seats/NoSeatMark.h"

void TForm1::ZasekiNoNyuryoku() {
    int n = 1;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (StringGrid_Settei->cell(c, r) != noSeatMark())
                StringGrid_Settei->setCell(c, r, inttext::format(n++));
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, StringGrid_Settei->cell(c, r));
}

void TForm1::StringGrid_SetteiMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    int c = -1;
    int r = -1;
    if (!StringGrid_Settei->cellAt(QPoint(x, y), c, r))
        return;
    StringGrid_Settei->setCell(c, r, StringGrid_Settei->cell(c, r) == noSeatMark() ? SjisText() : noSeatMark());
    ZasekiNoNyuryoku();
}

int TForm1::SeatAmount() const {
    int marks = 0;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (StringGrid_Settei->cell(c, r) == noSeatMark())
                ++marks;
    return layout::maxSeats - marks;
}

void TForm1::SeatToCell(int seat, int &col, int &row) const {
    const SjisText t = inttext::format(seat);
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (StringGrid_Settei->cell(c, r) == t) {
                col = c;
                row = r;
                return;
            }
    col = -1;
    row = -1;
}
