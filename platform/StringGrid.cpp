#include "platform/StringGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
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
        auto *editor = new QLineEdit(parent);
        editor->setFrame(false);
        // The grid takes the editor's text at every change, as well as when
        // the editor closes.
        connect(editor, &QLineEdit::textEdited, this, [this, editor, index]() { handOver(editor, index); });
        return editor;
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
    // Hands the editor's text to the grid. Text that Shift-JIS cannot hold is
    // refused: the editor gets the cell's text back at once, and the refusal
    // is reported from the event loop, since the editor may be closed (and
    // deleted) while a modal box holds the focus.
    void handOver(QLineEdit *editor, const QModelIndex &index) const {
        SjisText text;
        QString bad;
        if (SjisText::tryFromUnicode(editor->text(), text, &bad)) {
            grid->model()->setData(index, editor->text(), Qt::EditRole);
            return;
        }
        editor->setText(index.data(Qt::EditRole).toString());
        QMetaObject::invokeMethod(
            grid, [g = grid, bad] { emit g->textRefused(bad); }, Qt::QueuedConnection);
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

void StringGrid::mousePressEvent(QMouseEvent *e) {
    setFocus(Qt::MouseFocusReason);
    QTableView::mousePressEvent(e);
}

void StringGrid::mouseReleaseEvent(QMouseEvent *e) {
    const QPoint p = e->position().toPoint() + viewportOffset();
    QTableView::mouseReleaseEvent(e);
    emit mouseUp(e->button(), e->modifiers(), p.x(), p.y());
}
