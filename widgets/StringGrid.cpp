#include "widgets/StringGrid.h"

#include "widgets/SjisEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The header row, where a grid has fixed rows. The grid fixes its height, so
// the size the view asks it for at every resize need not measure the text of
// every section, as a header's own answer does.
class FixedRowHeader : public QHeaderView {
public:
    explicit FixedRowHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}
    QSize sizeHint() const override {
        if (minimumHeight() != maximumHeight())
            return QHeaderView::sizeHint();
        return {length(), maximumHeight()};
    }
};
// Only this much of a cell is decoded for display; the rest is clipped anyway.
constexpr qsizetype displayLimit = 1024;
} // namespace

StringGridModel::StringGridModel(int cols, int rows, QObject *parent)
    : QAbstractTableModel(parent), own(cols, rows), shown(&own) {
    own.setListener(this);
}

StringGridModel::~StringGridModel() {
    shown->setListener(nullptr);
    own.setListener(nullptr);
}

void StringGridModel::showTable(CellTable &table) {
    beginResetModel();
    shown->setListener(nullptr);
    shown = &table;
    shown->setListener(this);
    endResetModel();
}

void StringGridModel::setGridRowCount(int n) {
    shown->setRowCount(std::max(n, fixed + 1));
}

void StringGridModel::setFixedRows(int n) {
    beginResetModel();
    fixed = n;
    endResetModel();
}

void StringGridModel::cellChanged(int col, int row) {
    if (row < fixed) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else if (row < shown->rowCount()) {
        const QModelIndex i = index(row - fixed, col);
        emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
    }
}

void StringGridModel::rowsAboutToChange(int from, int to) {
    if (to > from)
        beginInsertRows({}, from - fixed, to - fixed - 1);
    else
        beginRemoveRows({}, to - fixed, from - fixed - 1);
}

void StringGridModel::rowsChanged(int from, int to) {
    if (to > from)
        endInsertRows();
    else
        endRemoveRows();
}

void StringGridModel::batchBegins() {
    beginResetModel();
}

void StringGridModel::batchEnds() {
    endResetModel();
}

// The grid goes back to its own, empty table.
void StringGridModel::tableGone() {
    if (shown == &own)
        return;
    beginResetModel();
    shown = &own;
    own.setListener(this);
    endResetModel();
}

int StringGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : shown->rowCount() - fixed;
}

int StringGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : shown->colCount();
}

static QString displayText(const SjisText &t) {
    if (t.size() <= displayLimit)
        return t.toUnicode();
    return SjisText(t.bytes().left(displayLimit)).toUnicode();
}

QVariant StringGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const SjisText &t = cell(index.column(), index.row() + fixed);
    if (role == Qt::DisplayRole)
        return displayText(t);
    if (role == Qt::EditRole)
        return t.toUnicode();
    return {};
}

QVariant StringGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && fixed > 0)
        return displayText(cell(section, 0));
    return {};
}

Qt::ItemFlags StringGridModel::flags(const QModelIndex &index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (editable)
        f |= Qt::ItemIsEditable;
    return f;
}

bool StringGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    SjisText text;
    if (!SjisText::tryFromUnicode(value.toString(), text))
        return false;
    const int col = index.column();
    const int row = index.row() + fixed;
    setCell(col, row, text);
    emit editTextSet(col, row, text);
    return true;
}

// A cell's editor: a line edit whose paste, from the keys or from its menu,
// is the grid's owner's to carry out (StringGrid::pasteRequested).
class CellEditor : public QLineEdit {
public:
    CellEditor(QWidget *parent, StringGrid *grid) : QLineEdit(parent), grid(grid) { setFrame(false); }

protected:
    void keyPressEvent(QKeyEvent *e) override {
        if (e->matches(QKeySequence::Paste)) {
            e->accept();
            emit grid->pasteRequested();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }

    void contextMenuEvent(QContextMenuEvent *e) override {
        QMenu *menu = createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // The menu's paste is the action wired to paste(): by the slot's
        // name in some versions of Qt, by its address in others.
        for (QAction *action : menu->actions())
            if (disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))
                || disconnect(action, &QAction::triggered, this, &QLineEdit::paste))
                connect(action, &QAction::triggered, grid, &StringGrid::pasteRequested);
        menu->popup(e->globalPos());
    }

private:
    StringGrid *grid;
};

// Draws a cell as a plain grid does (background, then the text 2 pixels in
// from the top-left corner, clipped to the cell), then lets the owner draw.
class StringGridDelegate : public QStyledItemDelegate {
public:
    explicit StringGridDelegate(StringGrid *grid) : QStyledItemDelegate(grid), grid(grid) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override {
        GridDrawState state;
        state.selected = option.state.testFlag(QStyle::State_Selected);
        state.focused = option.state.testFlag(QStyle::State_HasFocus);
        const QPalette &pal = option.palette;
        p->save();
        p->setClipRect(option.rect);
        p->fillRect(option.rect, state.selected ? pal.highlight() : pal.base());
        p->setPen(state.selected ? pal.highlightedText().color() : pal.text().color());
        p->setFont(option.font);
        const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
        p->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
        p->restore();
        const QRect clientRect = option.rect.translated(grid->viewportOffset());
        p->save();
        p->translate(-grid->viewportOffset());
        emit grid->drawCell(p, index.column(), grid->gridRow(index.row()), clientRect, state);
        p->restore();
    }

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override {
        auto *editor = new CellEditor(parent, grid);
        grid->edited = index;
        grid->textBeforeEdit = grid->cell(index.column(), grid->gridRow(index.row()));
        // The grid takes the editor's text at every change, as well as when
        // the editor closes. A cell holds one line of what Shift-JIS can hold
        // (platform/SjisEdit.h); a refusal is reported from the grid, which
        // outlives the editor.
        keepShiftJis(
            editor, [g = grid](const QString &bad) { emit g->textRefused(bad); },
            [this, editor, index](const QString &) { handOver(editor, index); });
        emit grid->editStarted();
        return editor;
    }

    // The grid's cell changes with every edit in the editor; the editor is
    // told only of other changes, so that its cursor and its own undo stay.
    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        auto *line = static_cast<QLineEdit *>(editor);
        const QString text = index.data(Qt::EditRole).toString();
        if (line->text() != text)
            line->setText(text);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override {
        handOver(static_cast<QLineEdit *>(editor), index);
    }

protected:
    // Tab and Shift+Tab in the editor close it, keeping its text, and move on
    // to the next or previous control, as they do from the grid itself;
    // they never walk from cell to cell.
    bool eventFilter(QObject *object, QEvent *event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
            if (tab && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                const bool forward = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
                auto *editor = static_cast<QWidget *>(object);
                emit commitData(editor);
                emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                grid->focusNextPrevChild(forward);
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    void handOver(QLineEdit *editor, const QModelIndex &index) const {
        grid->model()->setData(index, editor->text(), Qt::EditRole);
    }

    StringGrid *grid;
};

StringGrid::StringGrid(int cols, int rows, QWidget *parent)
    : QTableView(parent), gridModel(new StringGridModel(cols, rows, this)) {
    // The headers go before the model comes: a shown header measures every
    // section's text as the model arrives, and the grid shows none.
    setHorizontalHeader(new FixedRowHeader(this));
    verticalHeader()->hide();
    horizontalHeader()->hide();
    setModel(gridModel);
    setItemDelegate(new StringGridDelegate(this));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    // The header row plays no part: a click on it selects nothing, moves no
    // current cell and starts no edit.
    horizontalHeader()->setSectionsClickable(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Tab moves to the next control of the window, not to the next cell.
    setTabKeyNavigation(false);
    // The grid takes the focus on a click on a cell (mousePressEvent), and
    // not on one on the header row, the scroll bars or the frame.
    setFocusPolicy(Qt::TabFocus);
    setCurrentIndex(gridModel->index(0, 0));

    // A reset forgets the current cell; it stays where it was, or on the
    // last row where the rows below it are gone.
    connect(gridModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        keptCol = currentCol();
        keptRow = currentRow();
    });
    connect(gridModel, &QAbstractItemModel::modelReset, this, [this] {
        const int lastRow = gridRowCount() - 1;
        if (keptCol >= 0 && keptRow >= fixedRows())
            setCurrentIndex(gridModel->index(std::min(keptRow, lastRow) - fixedRows(), keptCol));
    });
}

void StringGrid::setFixedRows(int n) {
    gridModel->setFixedRows(n);
    horizontalHeader()->setVisible(n > 0);
    setCurrentIndex(gridModel->index(0, 0));
}

void StringGrid::setColWidth(int col, int width) {
    horizontalHeader()->resizeSection(col, width + 1);
}

int StringGrid::colWidth(int col) const {
    return horizontalHeader()->sectionSize(col) - 1;
}

void StringGrid::setDefaultRowHeight(int height) {
    verticalHeader()->setDefaultSectionSize(height + 1);
    horizontalHeader()->setFixedHeight(height + 1);
}

void StringGrid::setEditable(bool on) {
    gridModel->editable = on;
    setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                       : QAbstractItemView::NoEditTriggers);
}

QPoint StringGrid::viewportOffset() const {
    return QPoint(0, horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0);
}

bool StringGrid::cellAt(QPoint p, int &col, int &row) const {
    const QPoint v = p - viewportOffset();
    col = columnAt(v.x());
    if (v.x() < 0 || v.x() >= viewport()->width())
        col = -1;
    if (v.y() < 0) {
        row = v.y() >= -viewportOffset().y() ? 0 : -1;
    } else {
        row = v.y() < viewport()->height() ? rowAt(v.y()) : -1;
        if (row >= 0)
            row = gridRow(row);
    }
    if (col < 0 || row < 0) {
        col = row = -1;
        return false;
    }
    return true;
}

QRect StringGrid::cellRect(int col, int row) const {
    if (row < fixedRows()) {
        const int x = horizontalHeader()->sectionViewportPosition(col);
        return QRect(x, 0, horizontalHeader()->sectionSize(col) - 1, horizontalHeader()->height() - 1);
    }
    // The view's rectangle of a cell already leaves out its grid lines.
    return visualRect(gridModel->index(row - fixedRows(), col)).translated(viewportOffset());
}

void StringGrid::invalidateCell(int col, int row) {
    if (row < fixedRows()) {
        horizontalHeader()->viewport()->update();
        return;
    }
    viewport()->update(visualRect(gridModel->index(row - fixedRows(), col)));
}

int StringGrid::currentCol() const {
    return currentIndex().column();
}

int StringGrid::currentRow() const {
    return currentIndex().isValid() ? gridRow(currentIndex().row()) : -1;
}

void StringGrid::finishEdit() {
    QWidget *editor = isEditing() ? indexWidget(edited) : nullptr;
    if (!editor)
        return;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool StringGrid::insertIntoEditor(const QString &text) {
    auto *editor = isEditing() ? qobject_cast<QLineEdit *>(indexWidget(edited)) : nullptr;
    if (!editor)
        return false;
    editor->insert(text);
    return true;
}

void StringGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    // Enter closes an editor from the event loop, which may come for one
    // already gone: only the open editor's closing ends the edit.
    const bool open = edited.isValid() && indexWidget(edited) == editor;
    // Esc: the cell gets back its text from before the edit, as it was.
    if (open && hint == QAbstractItemDelegate::RevertModelCache) {
        const int col = edited.column();
        const int row = gridRow(edited.row());
        if (cell(col, row) != textBeforeEdit) {
            setCell(col, row, textBeforeEdit);
            emit gridModel->editTextSet(col, row, textBeforeEdit);
        }
    }
    if (open)
        edited = QPersistentModelIndex();
    QTableView::closeEditor(editor, hint);
    if (open)
        emit editFinished();
}

void StringGrid::mousePressEvent(QMouseEvent *e) {
    setFocus(Qt::MouseFocusReason);
    QTableView::mousePressEvent(e);
}

void StringGrid::mouseReleaseEvent(QMouseEvent *e) {
    const QPoint p = e->position().toPoint() + viewportOffset();
    QTableView::mouseReleaseEvent(e);
    emit mouseUp(e->button(), e->modifiers(), p.x(), p.y());
}
