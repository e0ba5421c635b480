#include "roster/RosterUndo.h"

#include <QScopeGuard>

#include <algorithm>

namespace {

// A class's roster takes a few kilobytes a step. Together the steps keep at
// most this many rows, some megabytes: a roster of thousands of rows keeps
// fewer steps, and one beyond the limit none.
constexpr size_t mostSteps = 100;
constexpr size_t mostRowsKept = 100'000;
constexpr int mostRowsOfOneStep = 10'000;

} // namespace

RosterUndo::RosterUndo(Roster &roster) : roster(roster) {
    startAfresh();
}

// The rows up to the last one that holds text: the rows below read empty.
int RosterUndo::rowsHoldingText() const {
    const CellTable &table = roster.cells();
    int held = table.heldRows();
    auto empty = [&](int row) {
        for (int c = 0; c < roster::columns; ++c)
            if (!table.cell(c, row).isEmpty())
                return false;
        return true;
    };
    while (held > 0 && empty(held - 1))
        --held;
    return held;
}

RosterUndo::State RosterUndo::now() const {
    const CellTable &table = roster.cells();
    const int held = rowsHoldingText();
    State s;
    s.rowCount = table.rowCount();
    s.rows.resize(static_cast<size_t>(held));
    for (int r = 0; r < held; ++r)
        for (int c = 0; c < roster::columns; ++c)
            s.rows[static_cast<size_t>(r)][static_cast<size_t>(c)] = table.cell(c, r);
    return s;
}

bool RosterUndo::tooLarge() const {
    return roster.rowCount() > mostRowsOfOneStep || rowsHoldingText() > mostRowsOfOneStep;
}

void RosterUndo::markSeen() {
    outsideSeen = roster.outsideChanges();
    revisionSeen = roster.cells().revision();
    rowCountSeen = roster.rowCount();
}

void RosterUndo::startAfresh() {
    undoable.clear();
    redoable.clear();
    current.reset();
    if (!tooLarge())
        current = now();
    markSeen();
}

void RosterUndo::checkpoint() {
    if (fenced() || !current || tooLarge()) {
        startAfresh();
        return;
    }
    // Most checkpoints find nothing changed, which the table tells at once.
    if (roster.cells().revision() == revisionSeen && roster.rowCount() == rowCountSeen)
        return;
    markSeen();
    State s = now();
    if (s == *current)
        return;
    undoable.push_back(std::move(*current));
    current = std::move(s);
    redoable.clear();
    keepWithinBounds(undoable);
}

bool RosterUndo::canUndo() const {
    return !fenced() && !undoable.empty();
}

bool RosterUndo::canRedo() const {
    return !fenced() && !redoable.empty();
}

std::optional<RosterUndo::Cell> RosterUndo::undo() {
    checkpoint();
    return step(undoable, redoable);
}

std::optional<RosterUndo::Cell> RosterUndo::redo() {
    checkpoint();
    return step(redoable, undoable);
}

std::optional<RosterUndo::Cell> RosterUndo::step(std::deque<State> &from, std::deque<State> &to) {
    if (from.empty() || !current)
        return std::nullopt;
    State target = std::move(from.back());
    from.pop_back();

    const size_t rows = std::max(current->rows.size(), target.rows.size());
    auto text = [](const State &s, size_t row, size_t col) -> const SjisText & {
        static const SjisText none;
        return row < s.rows.size() ? s.rows[row][col] : none;
    };
    std::optional<Cell> first;
    for (size_t r = 0; r < rows && !first; ++r)
        for (size_t c = 0; c < roster::columns && !first; ++c)
            if (text(*current, r, c) != text(target, r, c))
                first = Cell{static_cast<int>(c), static_cast<int>(r)};
    if (!first)
        first = Cell{0, std::min(current->rowCount, target.rowCount)};

    {
        CellTable &table = roster.cells();
        table.beginBatch();
        const auto endBatch = qScopeGuard([&table] { table.endBatch(); });
        const size_t held = std::max(rows, static_cast<size_t>(table.heldRows()));
        for (size_t r = 0; r < held; ++r)
            for (size_t c = 0; c < roster::columns; ++c)
                table.setCell(static_cast<int>(c), static_cast<int>(r), text(target, r, c));
        table.setRowCount(target.rowCount);
    }
    markSeen();

    to.push_back(std::move(*current));
    current = std::move(target);
    keepWithinBounds(to);
    return first;
}

void RosterUndo::keepWithinBounds(std::deque<State> &states) {
    size_t rows = 0;
    for (const State &s : states)
        rows += s.rows.size();
    while (states.size() > mostSteps || rows > mostRowsKept) {
        rows -= states.front().rows.size();
        states.pop_front();
    }
}
