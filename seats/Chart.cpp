#include "app/Main.h"

// The seat chart: SeatTable, the fill and the red highlight.

void TForm1::ZasekiYomikomi() {}

void TForm1::StringGrid1DrawCell(QPainter *, int, int, const QRect &, const GridDrawState &) {}

void TForm1::PaintCell(int col, int row, bool highlight) {
    (void)col;
    (void)row;
    (void)highlight;
}
