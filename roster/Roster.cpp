#include "roster/Roster.h"

#include "platform/Collate.h"
#include "platform/Errors.h"
#include "platform/IntText.h"
#include "platform/OneLine.h"
#include "roster/QuickSort.h"
#include "roster/RosterCsv.h"

#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <climits>
#include <set>
#include <vector>

using roster::attendanceCol;
using roster::orderCol;
using roster::seatCol;

namespace {
// The order given to students who held no seat: after every real seat.
constexpr std::int32_t noSeatOrder = 50;
} // namespace

Roster::Roster() : table(roster::columns, 2) {}

void Roster::writeHeader() {
    ++outside;
    const char *header[] = {"くじ順", "出席番号", "氏名", "ふりがな", "座席番号"};
    for (int c = 0; c < roster::columns; ++c)
        table.setCell(c, 0, SjisText::lit(header[c]));
}

void Roster::read(QByteArrayView file) {
    ++outside;
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

std::int32_t Roster::highest(int col) const {
    std::int32_t high = 0;
    for (int r = 1; r < rowCount(); ++r) {
        std::int32_t value = 0;
        if (inttext::tryParse(table.cell(col, r).bytes(), value))
            high = std::max(high, value);
    }
    return high;
}

bool Roster::isSequence(int col) const {
    for (int r = 1; r < rowCount(); ++r) {
        std::int32_t value = 0;
        if (!inttext::tryParse(table.cell(col, r).bytes(), value) || value != r)
            return false;
    }
    return true;
}

// The draw order in the two-digit form its orderings write, so that it
// sorts as text; the attendance number as a school writes it.
SjisText Roster::numberText(int col, std::int32_t value) {
    return col == orderCol ? inttext::formatTwoDigits(value) : inttext::format(value);
}

void Roster::clearRows(int from, int to) {
    for (int r = from; r <= to; ++r)
        for (int c = 0; c < roster::columns; ++c)
            table.setCell(c, r, SjisText());
}

void Roster::makeNew(int students) {
    ++outside;
    students = std::max(students, 1);
    const int before = studentCount();
    table.beginBatch();
    const auto endBatch = qScopeGuard([this] { table.endBatch(); });
    writeHeader();
    clearRows(1, std::max(before, students));
    for (int r = 1; r <= students; ++r) {
        table.setCell(orderCol, r, numberText(orderCol, r));
        table.setCell(attendanceCol, r, numberText(attendanceCol, r));
    }
    table.setRowCount(students + 1);
}

int Roster::insertRow(int at, Attendance attendance) {
    at = std::clamp(at, 1, rowCount());
    const int numbered[] = {orderCol, attendanceCol};
    const bool sequence[] = {isSequence(orderCol),
                             attendance == Attendance::FollowRows && isSequence(attendanceCol)};
    const std::int32_t high[] = {highest(orderCol), highest(attendanceCol)};

    table.beginBatch();
    const auto endBatch = qScopeGuard([this] { table.endBatch(); });
    const int last = rowCount();
    for (int r = last; r > at; --r)
        for (int c = 0; c < roster::columns; ++c)
            table.setCell(c, r, table.cell(c, r - 1));
    clearRows(at, at);
    table.setRowCount(last + 1);
    for (size_t i = 0; i < 2; ++i) {
        const int col = numbered[i];
        if (sequence[i]) {
            for (int r = at; r <= last; ++r)
                table.setCell(col, r, numberText(col, r));
        } else if (high[i] < INT32_MAX) {
            table.setCell(col, at, numberText(col, high[i] + 1));
        }
    }
    return at;
}

void Roster::removeRows(int first, int last, Attendance attendance) {
    const int students = studentCount();
    first = std::max(first, 1);
    last = std::min(last, students);
    if (first > last)
        return;
    const bool sequence[] = {isSequence(orderCol),
                             attendance == Attendance::FollowRows && isSequence(attendanceCol)};

    table.beginBatch();
    const auto endBatch = qScopeGuard([this] { table.endBatch(); });
    const int count = last - first + 1;
    if (count == students) {
        clearRows(1, students);
        table.setRowCount(2);
        return;
    }
    for (int r = first; r + count <= students; ++r)
        for (int c = 0; c < roster::columns; ++c)
            table.setCell(c, r, table.cell(c, r + count));
    // The rows that fell off the end are cleared: a row added later starts empty.
    clearRows(students - count + 1, students);
    table.setRowCount(students - count + 1);
    const int numbered[] = {orderCol, attendanceCol};
    for (size_t i = 0; i < 2; ++i)
        if (sequence[i])
            for (int r = first; r < rowCount(); ++r)
                table.setCell(numbered[i], r, numberText(numbered[i], r));
}

bool Roster::paste(int col, int row, const std::vector<QStringList> &block, QString &badChar) {
    col = std::clamp(col, 0, roster::columns - 1);
    row = std::max(row, 1);
    // Every cell is taken in before the roster changes: a refused one leaves
    // it as it was.
    std::vector<std::vector<SjisText>> cells;
    cells.reserve(block.size());
    for (const QStringList &line : block) {
        std::vector<SjisText> &taken = cells.emplace_back();
        for (qsizetype c = 0; c < line.size() && col + c < roster::columns; ++c) {
            SjisText text;
            if (!SjisText::tryFromUnicode(oneLine(line.at(c)), text, &badChar))
                return false;
            taken.push_back(std::move(text));
        }
    }
    if (cells.empty())
        return true;

    table.beginBatch();
    const auto endBatch = qScopeGuard([this] { table.endBatch(); });
    const int before = rowCount();
    const int lastRow = row + static_cast<int>(cells.size()) - 1;
    if (lastRow >= before) {
        clearRows(before, lastRow);
        table.setRowCount(lastRow + 1);
    }
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t c = 0; c < cells[i].size(); ++c)
            table.setCell(col + static_cast<int>(c), row + static_cast<int>(i), cells[i][c]);
    // The rows added number on where the block gave them no number.
    for (const int numbered : {orderCol, attendanceCol}) {
        std::int32_t next = highest(numbered);
        for (int r = before; r <= lastRow && next < INT32_MAX; ++r)
            if (table.cell(numbered, r).isEmpty())
                table.setCell(numbered, r, numberText(numbered, ++next));
    }
    return true;
}
