#pragma once

#include "platform/CellTable.h"
#include "platform/SjisText.h"

#include <QAbstractTableModel>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableView>

#include <vector>

class StringGrid;

// A string grid's item model over a cell table: its own, or one a plain
// class of the program owns and the grid only shows. The first rows can be
// fixed: grid row 0 is then the header row.
class StringGridModel : public QAbstractTableModel, private CellTable::Listener {
    Q_OBJECT
public:
    StringGridModel(int cols, int rows, QObject *parent);
    ~StringGridModel() override;

    // Shows this table from now on; it must outlive the grid.
    void showTable(CellTable &table);
    CellTable &table() const { return *shown; }

    int colCount() const { return shown->colCount(); }
    int gridRowCount() const { return shown->rowCount(); }
    void setGridRowCount(int n);
    int fixedRows() const { return fixed; }
    void setFixedRows(int n);

    const SjisText &cell(int col, int row) const { return shown->cell(col, row); }
    void setCell(int col, int row, const SjisText &text) { shown->setCell(col, row, text); }
    int object(int col, int row) const { return shown->object(col, row); }
    void setObject(int col, int row, int value) { shown->setObject(col, row, value); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    bool editable = false;

signals:
    // The cell editor handed its text to the grid (col, row are grid rows).
    void editTextSet(int col, int row, const SjisText &text);

private:
    void cellChanged(int col, int row) override;
    void rowsAboutToChange(int from, int to) override;
    void rowsChanged(int from, int to) override;
    void batchBegins() override;
    void batchEnds() override;
    void tableGone() override;

    CellTable own;
    CellTable *shown;
    int fixed = 0;
    friend class StringGrid;
};

// What the grid tells an owner-drawing handler about the cell being drawn.
struct GridDrawState {
    bool selected = false;
    bool focused = false;
    bool fixed = false;
};

// A grid of text cells shown by a QTableView. Rows are numbered as grid rows:
// with one fixed row, grid row 0 is the header row and the view's first row
// is grid row 1. Coordinates given to and taken from the grid are the grid's
// client coordinates, header included.
class StringGrid : public QTableView {
    Q_OBJECT
public:
    StringGrid(int cols, int rows, QWidget *parent);

    StringGridModel *cells() const { return gridModel; }
    // Shows a table that a plain class owns; it must outlive the grid.
    void showTable(CellTable &table) { gridModel->showTable(table); }
    int colCount() const { return gridModel->colCount(); }
    int gridRowCount() const { return gridModel->gridRowCount(); }
    void setGridRowCount(int n) { gridModel->setGridRowCount(n); }
    void setFixedRows(int n);
    int fixedRows() const { return gridModel->fixedRows(); }

    const SjisText &cell(int col, int row) const { return gridModel->cell(col, row); }
    void setCell(int col, int row, const SjisText &text) { gridModel->setCell(col, row, text); }
    int object(int col, int row) const { return gridModel->object(col, row); }
    void setObject(int col, int row, int value) { gridModel->setObject(col, row, value); }

    // Column widths and row height are those of the cell's content; the grid
    // line of one pixel comes on top, right of and below each cell.
    void setColWidth(int col, int width);
    int colWidth(int col) const;
    void setDefaultRowHeight(int height);
    void setEditable(bool on);

    // The cell under a point in client coordinates; a point on the grid line
    // right of or below a cell counts as that cell. False where there is none.
    bool cellAt(QPoint p, int &col, int &row) const;
    // The cell's rectangle in client coordinates, without its grid lines.
    QRect cellRect(int col, int row) const;
    // Repaint the one cell at the next paint, without erasing its background.
    void invalidateCell(int col, int row);

    // Where the view's viewport starts in client coordinates (below the header).
    QPoint viewportOffset() const;

    // The current cell (grid coordinates).
    int currentCol() const;
    int currentRow() const;

    // A cell's editor is open.
    bool isEditing() const { return state() == EditingState; }
    // Closes the open editor, if any, the cell keeping the editor's text.
    void finishEdit();
    // Puts text into the open editor at its cursor as a paste of the user's
    // would; false where no editor is open.
    bool insertIntoEditor(const QString &text);

signals:
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    // Owner drawing, after the default drawing of the cell.
    void drawCell(QPainter *painter, int col, int row, const QRect &rect, const GridDrawState &state);
    // The cell editor refused text holding this character, which Shift-JIS
    // cannot hold; the cell kept its text. Reported from the event loop.
    void textRefused(const QString &character);
    // A cell's editor opened, and closed again. Esc in the editor gives the
    // cell back the text it had when the editor opened.
    void editStarted();
    void editFinished();
    // The user asked the open editor to paste (its keys, its menu). What the
    // clipboard holds may be cells for the grid, so pasting is the owner's:
    // into the editor (insertIntoEditor) or into the cells.
    void pasteRequested();

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class StringGridDelegate;
    int gridRow(int viewRow) const { return viewRow + gridModel->fixedRows(); }
    StringGridModel *gridModel;
    // The current cell while the model is reset (many cells written at once).
    int keptCol = -1;
    int keptRow = -1;
    // The cell being edited and its text when the editor opened.
    QPersistentModelIndex edited;
    SjisText textBeforeEdit;
};
