#include "platform/CellTable.h"

namespace {
const SjisText emptyText;
}

CellTable::CellTable(int cols, int rows) : cols(cols), rows(rows) {}

CellTable::~CellTable() {
    if (listener)
        listener->tableGone();
}

void CellTable::setRowCount(int n) {
    if (n == rows)
        return;
    const int before = rows;
    if (listener && !batch)
        listener->rowsAboutToChange(before, n);
    rows = n;
    if (listener && !batch)
        listener->rowsChanged(before, n);
}

const SjisText &CellTable::cell(int col, int row) const {
    if (col < 0 || col >= cols || row < 0 || static_cast<size_t>(row) >= store.size())
        return emptyText;
    return store[static_cast<size_t>(row)][static_cast<size_t>(col)].text;
}

CellTable::Cell *CellTable::writable(int col, int row) {
    if (col < 0 || col >= cols || row < 0)
        return nullptr;
    if (static_cast<size_t>(row) >= store.size())
        store.resize(static_cast<size_t>(row) + 1, std::vector<Cell>(static_cast<size_t>(cols)));
    return &store[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void CellTable::setCell(int col, int row, const SjisText &text) {
    // An empty text beyond the rows ever held changes nothing.
    if (text.isEmpty() && cell(col, row).isEmpty())
        return;
    Cell *c = writable(col, row);
    if (!c || c->text == text)
        return;
    c->text = text;
    ++changes;
    if (listener && !batch)
        listener->cellChanged(col, row);
}

int CellTable::object(int col, int row) const {
    if (col < 0 || col >= cols || row < 0 || static_cast<size_t>(row) >= store.size())
        return 0;
    return store[static_cast<size_t>(row)][static_cast<size_t>(col)].object;
}

void CellTable::setObject(int col, int row, int value) {
    if (Cell *c = writable(col, row))
        c->object = value;
}

void CellTable::beginBatch() {
    if (listener)
        listener->batchBegins();
    batch = true;
}

void CellTable::endBatch() {
    batch = false;
    if (listener)
        listener->batchEnds();
}
