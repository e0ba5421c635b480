#include "app/Main.h"

#include "platform/Collate.h"
#include "platform/Dialogs.h"
#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "roster/Columns.h"
#include "roster/QuickSort.h"

#include <vector>

// The roster's seat check and the two orderings.

namespace {
using roster::orderCol;
using roster::seatCol;

// The order given to students who held no seat: after every real seat.
constexpr std::int32_t noSeatOrder = 50;

void reportFault(const SjisText &text) {
    messageDlg(text.toUnicode(), MsgKind::Error, {MsgButton::Ok});
}
} // namespace

bool TForm1::ErrorCheck() {
    const int lastRow = StringGrid2->gridRowCount() - 1;
    for (int r = 1; r <= lastRow; ++r) {
        const SjisText seat = StringGrid2->cell(seatCol, r);
        if (seat.isEmpty())
            continue;
        std::int32_t value = 0;
        if (!inttext::tryParse(seat.bytes(), value) || value < 1 || value > SeatAmount()) {
            reportFault(SjisText::lit("くじ順") + StringGrid2->cell(orderCol, r)
                        + SjisText::lit("番の座席番号に正しい座席番号以外が入力されています"));
            return true;
        }
        for (int r2 = 1; r2 <= lastRow; ++r2)
            if (r2 != r && StringGrid2->cell(seatCol, r2) == seat) {
                reportFault(SjisText::lit("名簿の座席番号") + seat + SjisText::lit("が重複しています。"));
                return true;
            }
    }
    return false;
}

void TForm1::GridSort(StringGrid *grid, int col) {
    struct Entry {
        QString key;
        std::vector<SjisText> cells;
    };
    const int firstRow = grid->fixedRows();
    const int lastRow = grid->gridRowCount() - 1;
    std::vector<Entry> list;
    for (int r = firstRow; r <= lastRow; ++r) {
        Entry e{grid->cell(col, r).toUnicode(), {}};
        for (int c = 0; c < grid->colCount(); ++c)
            e.cells.push_back(grid->cell(c, r));
        list.push_back(std::move(e));
    }
    const TextCollator collator;
    ordering::quickSort(list, [&](const Entry &a, const Entry &b) { return collator.compare(a.key, b.key); });
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = 0; c < grid->colCount(); ++c)
            grid->setCell(c, r, list[static_cast<size_t>(r - firstRow)].cells[static_cast<size_t>(c)]);
}

void TForm1::ToolButton6Click() {
    for (int r = 1; r < StringGrid2->gridRowCount(); ++r) {
        const SjisText order = StringGrid2->cell(orderCol, r);
        if (!order.isEmpty())
            StringGrid2->setCell(orderCol, r, inttext::formatTwoDigits(inttext::parse(order)));
    }
    GridSort(StringGrid2, orderCol);
}

void TForm1::ToolButton4Click() {
    if (ErrorCheck())
        return;
    for (int r = 1; r < StringGrid2->gridRowCount(); ++r) {
        const SjisText seat = StringGrid2->cell(seatCol, r);
        const std::int32_t value = seat.isEmpty() ? noSeatOrder : inttext::parse(seat);
        StringGrid2->setCell(orderCol, r, inttext::formatTwoDigits(value));
        StringGrid2->setCell(seatCol, r, SjisText());
    }
    GridSort(StringGrid2, orderCol);
}
