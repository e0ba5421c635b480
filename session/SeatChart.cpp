#include "session/SeatChart.h"

#include "roster/SeatTable.h"

void SeatChart::showLayout(const SeatLayout &layout) {
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            table.setCell(c, r, layout.cell(c, r));
}

void SeatChart::showSeats(const SeatLayout &layout, const SeatTable &seats) {
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            if (const std::optional<SjisText> text = seats.chartText(layout, c, r))
                table.setCell(c, r, *text);
}

void SeatChart::place(Position where, const SjisText &name) {
    if (where.isNone())
        return;
    table.setCell(where.col, where.row, name);
}

void SeatChart::clear() {
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            table.setCell(c, r, SjisText());
}
