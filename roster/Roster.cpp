#include "roster/Roster.h"

#include "platform/Collate.h"
#include "platform/Errors.h"
#include "roster/QuickSort.h"
#include "roster/RosterCsv.h"

#include <QScopeGuard>

#include <array>
#include <climits>
#include <set>
#include <vector>

using roster::orderCol;
using roster::seatCol;

namespace {
// The order given to students who held no seat: after every real seat.
constexpr std::int32_t noSeatOrder = 50;
} // namespace

Roster::Roster() : table(roster::columns, 2) {}

void Roster::writeHeader() {
    const char *header[] = {"くじ順", "出席番号", "氏名", "ふりがな", "座席番号"};
    for (int c = 0; c < roster::columns; ++c)
        table.setCell(c, 0, SjisText::lit(header[c]));
}

void Roster::read(QByteArrayView file) {
    // Views hear of the new rows once, at the end; a file without student
    // lines does not disturb them at all.
    bool batch = false;
    const auto endBatch = qScopeGuard([&] {
        if (batch)
            table.endBatch();
    });
    int row = 0;
    rostercsv::forEachStudent(file, [&](rostercsv::Fields &fields) {
        if (row == INT_MAX - 1)
            throw InOutError(syserr::fileTooLarge);
        if (!batch) {
            table.beginBatch();
            batch = true;
        }
        ++row;
        for (size_t c = 0; c < fields.size(); ++c)
            table.setCell(static_cast<int>(c), row, SjisText(std::move(fields[c])));
    });
    if (row > 0)
        table.setRowCount(row + 1);
}

QByteArray Roster::bytes() const {
    QByteArray out;
    std::array<QByteArray, roster::columns> cells;
    for (int row = 0; row < rowCount(); ++row) {
        for (int c = 0; c < roster::columns; ++c)
            cells[static_cast<size_t>(c)] = table.cell(c, row).bytes();
        rostercsv::appendRow(out, cells);
    }
    return out;
}

std::optional<SjisText> Roster::seatFault(int seatCount) const {
    const int lastRow = rowCount() - 1;
    for (int r = 1; r <= lastRow; ++r) {
        const SjisText &seat = table.cell(seatCol, r);
        if (seat.isEmpty())
            continue;
        std::int32_t value = 0;
        if (!inttext::tryParse(seat.bytes(), value) || value < 1 || value > seatCount)
            return SjisText::lit("くじ順") + table.cell(orderCol, r)
                   + SjisText::lit("番の座席番号に正しい座席番号以外が入力されています");
        for (int r2 = 1; r2 <= lastRow; ++r2)
            if (r2 != r && table.cell(seatCol, r2) == seat)
                return SjisText::lit("名簿の座席番号") + seat + SjisText::lit("が重複しています。");
    }
    return std::nullopt;
}

SjisText Roster::sharedAttendance() const {
    std::set<QByteArray> seen;
    for (int r = 1; r < rowCount(); ++r) {
        const SjisText &a = table.cell(roster::attendanceCol, r);
        if (!a.isEmpty() && !seen.insert(a.bytes()).second)
            return a;
    }
    return {};
}

// A seat typed in another form of integer text ("05", "$5") is held as
// much as one in plain digits: left in the pool, it would be drawn for a
// second student, and two would share one seat.
bool Roster::holdsSeat(SeatNumber seat) const {
    for (int r = 1; r < rowCount(); ++r) {
        std::int32_t held = 0;
        if (inttext::tryParse(table.cell(seatCol, r).bytes(), held) && held == seat.value())
            return true;
    }
    return false;
}

bool Roster::isWithoutSeat(int row) const {
    return row >= 1 && row < rowCount() && table.cell(seatCol, row).isEmpty();
}

int Roster::nextWithoutSeat(int row) const {
    do
        ++row;
    while (!table.cell(seatCol, row).isEmpty());
    return row;
}

void Roster::sortBy(int col) {
    struct Entry {
        QString key;
        std::array<SjisText, roster::columns> cells;
    };
    const int lastRow = rowCount() - 1;
    std::vector<Entry> list;
    for (int r = 1; r <= lastRow; ++r) {
        Entry e{table.cell(col, r).toUnicode(), {}};
        for (int c = 0; c < roster::columns; ++c)
            e.cells[static_cast<size_t>(c)] = table.cell(c, r);
        list.push_back(std::move(e));
    }
    const TextCollator collator;
    ordering::quickSort(list, [&](const Entry &a, const Entry &b) { return collator.compare(a.key, b.key); });
    for (int r = 1; r <= lastRow; ++r)
        for (int c = 0; c < roster::columns; ++c)
            table.setCell(c, r, list[static_cast<size_t>(r - 1)].cells[static_cast<size_t>(c)]);
}

void Roster::sortByOrder() {
    for (int r = 1; r < rowCount(); ++r) {
        const SjisText order = table.cell(orderCol, r);
        if (!order.isEmpty())
            table.setCell(orderCol, r, inttext::formatTwoDigits(inttext::parse(order)));
    }
    sortBy(orderCol);
}

void Roster::seatsToOrder() {
    for (int r = 1; r < rowCount(); ++r) {
        const SjisText seat = table.cell(seatCol, r);
        const std::int32_t value = seat.isEmpty() ? noSeatOrder : inttext::parse(seat);
        table.setCell(orderCol, r, inttext::formatTwoDigits(value));
        table.setCell(seatCol, r, SjisText());
    }
    sortBy(orderCol);
}
