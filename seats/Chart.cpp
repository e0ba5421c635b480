#include "app/Main.h"

#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "roster/Columns.h"
#include "seats/Classroom.h"
#include "seats/NoSeatMark.h"

#include <QPainter>

// The seat chart: SeatTable, the fill and the red highlight.

namespace {
constexpr int highlightRed = 255; // 0x00BBGGRR

bool isSeatNumber(std::int32_t s) {
    return s >= 1 && s <= layout::maxSeats;
}

QColor colourFromBgr(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
} // namespace

void TForm1::ZasekiYomikomi() {
    for (int s = 1; s <= layout::maxSeats; ++s)
        SeatTable[static_cast<size_t>(s)] = SeatEntry{};

    for (int r = 1; r < StringGrid2->gridRowCount(); ++r) {
        const SjisText &seat = StringGrid2->cell(roster::seatCol, r);
        if (seat.isEmpty())
            continue;
        const std::int32_t s = inttext::parse(seat);
        // The roster check keeps other numbers away; should one come all the
        // same, the table has no row for it.
        if (!isSeatNumber(s))
            continue;
        SeatTable[static_cast<size_t>(s)] =
            SeatEntry{seat, StringGrid2->cell(roster::attendanceCol, r), StringGrid2->cell(roster::nameCol, r),
                      StringGrid2->cell(roster::readingCol, r)};
    }

    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r) {
            const SjisText layout = StringGrid_Settei->cell(c, r);
            if (layout == noSeatMark())
                continue;
            const std::int32_t s = inttext::parse(layout);
            // A hand-edited settings file can hold a number no seat has: the
            // position then shows the layout's text, like a seat nobody holds.
            const SjisText name = isSeatNumber(s) ? SeatTable[static_cast<size_t>(s)].name : SjisText();
            StringGrid1->setCell(c, r, name.isEmpty() ? layout : name);
        }
}

void TForm1::StringGrid1DrawCell(QPainter *canvas, int col, int row, const QRect &rect, const GridDrawState &state) {
    const int colour = StringGrid1->object(col, row);
    // Without a colour the default drawing has already drawn the cell as it
    // should look.
    if (colour == 0)
        return;
    const QColor fill = colourFromBgr(colour);
    const QPalette &pal = StringGrid1->palette();
    canvas->save();
    canvas->setClipRect(rect);
    canvas->fillRect(rect, fill);
    canvas->setBackgroundMode(Qt::OpaqueMode);
    canvas->setBackground(fill);
    canvas->setPen(state.selected ? pal.highlightedText().color() : pal.text().color());
    canvas->setFont(StringGrid1->font());
    const QModelIndex index = StringGrid1->model()->index(row - StringGrid1->fixedRows(), col);
    canvas->drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     index.data(Qt::DisplayRole).toString());
    canvas->restore();
}

void TForm1::PaintCell(int col, int row, bool highlight) {
    // A seat the layout does not show (a position of (-1, -1)) has no cell.
    if (col < 0 || col >= layout::columns || row < 0 || row >= layout::rows)
        return;
    StringGrid1->setObject(col, row, highlight ? highlightRed : 0);
    StringGrid1->invalidateCell(col, row);
}
