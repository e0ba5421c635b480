#include "app/Main.h"

#include "widgets/Dialogs.h"
#include "widgets/StringGrid.h"
#include "widgets/ChartColours.h"
#include "roster/HeldSeats.h"

#include <QPainter>

// The seat layout on the settings page and the seat chart on the draw page.

void TForm1::ZasekiNoNyuryoku() {
    seatLayout.renumber();
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, seatLayout.cell(c, r));
}

void TForm1::StringGrid_SetteiMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    int c = -1;
    int r = -1;
    if (!StringGrid_Settei->cellAt(QPoint(x, y), c, r))
        return;
    // The seats are numbered again around the change. Students who hold
    // seats keep their places and take the places' new numbers; a stray
    // click must not move them, so the teacher is asked first.
    SeatLayout next(seatLayout);
    next.toggle(c, r);
    next.renumber();
    const LayoutChange change(classRoster, seatLayout, next, LayoutChange::Follow::Places);
    if (change.holding() > 0
        && messageDlg(change.question(), MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No}) != MsgButton::Yes)
        return;
    seatLayout.toggle(c, r);
    ZasekiNoNyuryoku();
    if (change.applyTo(classRoster))
        Modified = true;
    layoutChanged();
}

void TForm1::layoutChanged() {
    // A draw under way holds the seat numbers of the layout before in its
    // pool: it is prepared again at once, so that no stop (from the
    // projector, say) can give a number that now stands at another place.
    if (!draw.pool().empty() || draw.spinning())
        Jyunbi();
    // The journal gives seats back on the layout it holds.
    if (drawJournal.isOpen())
        beginJournal();
}

int TForm1::SeatAmount() const {
    return seatLayout.seatCount();
}

void TForm1::SeatToCell(int seat, int &col, int &row) const {
    const Position p = seatLayout.position(SeatNumber(seat));
    col = p.col;
    row = p.row;
}

void TForm1::ZasekiYomikomi() {
    seatTable.rebuild(classRoster);
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (const std::optional<SjisText> text = seatTable.chartText(seatLayout, c, r))
                StringGrid1->setCell(c, r, *text);
}

void TForm1::StringGrid1DrawCell(QPainter *canvas, int col, int row, const QRect &rect, const GridDrawState &state) {
    const int colour = StringGrid1->object(col, row);
    // Without a colour the default drawing has already drawn the cell as it
    // should look.
    if (colour == chartcolours::none)
        return;
    const QColor fill = chartcolours::fromBgr(colour);
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
    StringGrid1->setObject(col, row, highlight ? chartcolours::highlightRed : chartcolours::none);
    StringGrid1->invalidateCell(col, row);
}
