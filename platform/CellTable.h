#pragma once

#include "platform/SjisText.h"

#include <vector>

// A table of text cells, the store behind the roster, the layout and the
// chart. It keeps every cell it has ever held, also in rows beyond the
// current row count: lowering the row count hides rows without clearing
// them, and a cell never written reads empty. Each cell also carries one
// small integer (0 by default). A grid on screen shows a table and hears of
// its changes through the listener; the table itself knows no widget.
class CellTable {
public:
    // Told of every change that a view must show.
    class Listener {
    public:
        virtual void cellChanged(int col, int row) = 0;
        virtual void rowsAboutToChange(int from, int to) = 0;
        virtual void rowsChanged(int from, int to) = 0;
        // Many cells at once: one notice before, one after, none between.
        virtual void batchBegins() = 0;
        virtual void batchEnds() = 0;
        // The table is being destroyed: forget it.
        virtual void tableGone() = 0;

    protected:
        ~Listener() = default;
    };

    CellTable(int cols, int rows);
    ~CellTable();
    CellTable(const CellTable &) = delete;
    CellTable &operator=(const CellTable &) = delete;

    int colCount() const { return cols; }
    int rowCount() const { return rows; }
    void setRowCount(int n);
    // The rows that have held text, hidden ones too: every row below them
    // reads empty.
    int heldRows() const { return static_cast<int>(store.size()); }

    const SjisText &cell(int col, int row) const;
    void setCell(int col, int row, const SjisText &text);
    int object(int col, int row) const;
    void setObject(int col, int row, int value);

    void beginBatch();
    void endBatch();

    void setListener(Listener *l) { listener = l; }

    // Grows at every change of a cell's text, so that what is worked out
    // from the cells can tell whether it is still current.
    unsigned long long revision() const { return changes; }

private:
    struct Cell {
        SjisText text;
        int object = 0;
    };
    Cell *writable(int col, int row);

    int cols;
    int rows;
    bool batch = false;
    unsigned long long changes = 0;
    Listener *listener = nullptr;
    // store[row][col]; rows grow as cells are written and never shrink.
    std::vector<std::vector<Cell>> store;
};
