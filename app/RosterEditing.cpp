#include "app/Main.h"

#include "widgets/Dialogs.h"
#include "widgets/StringGrid.h"
#include "roster/PastedText.h"
#include "seats/Classroom.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

// The class made in the program: a new roster of N students, rows added and
// removed, and names pasted from a spreadsheet; and undo and redo of every
// change the teacher makes in the roster. The buttons stand beside the grid,
// right of its last column, where the page has room; the grid's context menu
// and keys run the same commands.

namespace {

// A class larger than the classroom's positions could never be drawn.
constexpr int mostStudents = layout::maxSeats;
// The students a question to remove rows names one by one; the rest it counts.
constexpr int studentsNamed = 5;

void showUndoState(TForm1 &f) {
    f.Action_Undo->setEnabled(f.rosterUndo.canUndo());
    f.Action_Redo->setEnabled(f.rosterUndo.canRedo());
}

// After a step taken back or done again: the roster has changed, and the
// cell the step changed first is current, where the teacher sees it.
void showStep(TForm1 &f, const std::optional<RosterUndo::Cell> &cell) {
    if (!cell)
        return;
    f.Modified = true;
    const int row = std::clamp(cell->row, 1, f.classRoster.studentCount());
    const QModelIndex index = f.StringGrid2->model()->index(row - 1, cell->col);
    f.StringGrid2->setCurrentIndex(index);
    f.StringGrid2->scrollTo(index);
}

// The question before rows that hold students go: who they are, by
// attendance number and name.
QString removalQuestion(const Roster &roster, int first, int last) {
    QStringList lines{QStringLiteral("%1行を名簿から削除しますか").arg(last - first + 1)};
    for (int r = first; r <= last && r < first + studentsNamed; ++r) {
        const SjisText &attendance = roster.cell(roster::attendanceCol, r);
        const SjisText &name = roster.cell(roster::nameCol, r);
        lines << (attendance.isEmpty() ? QString() : QStringLiteral("出席番号%1 ").arg(attendance.toUnicode()))
                     + (name.isEmpty() ? QStringLiteral("（氏名なし）") : name.toUnicode());
    }
    if (last - first + 1 > studentsNamed)
        lines << QStringLiteral("ほか%1人").arg(last - first + 1 - studentsNamed);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QWidget *TForm1::createRosterCommands() {
    Panel_RosterCommands = new QWidget(TabSheet2);
    auto *column = new QVBoxLayout(Panel_RosterCommands);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);

    auto command = [this, column](const char *caption, const QKeySequence &keys, QWidget *scope,
                                  QPushButton *&button) {
        auto *action = new QAction(QString::fromUtf8(caption), scope);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        scope->addAction(action);
        StringGrid2->addAction(action);
        button = new QPushButton(QString::fromUtf8(caption), Panel_RosterCommands);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(action->text(),
                                                        keys.toString(QKeySequence::NativeText)));
        button->setFixedHeight(25);
        // Reached with the mouse, like the other pages' added buttons: the
        // keys walk the page's controls as they always did.
        button->setFocusPolicy(Qt::ClickFocus);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        column->addWidget(button);
        return action;
    };
    Action_NewRoster = command("新しい名簿", QKeySequence::New, TabSheet2, Button_NewRoster);
    column->addSpacing(12);
    auto *separator = new QAction(StringGrid2);
    separator->setSeparator(true);
    StringGrid2->addAction(separator);
    Action_AddRow = command("行の追加", QKeySequence(Qt::CTRL | Qt::Key_Plus), StringGrid2, Button_AddRow);
    Action_DeleteRows = command("行の削除", QKeySequence(Qt::CTRL | Qt::Key_Minus), StringGrid2, Button_DeleteRows);
    Action_Paste = command("貼り付け", QKeySequence::Paste, StringGrid2, Button_Paste);
    column->addStretch(1);

    // Undo and redo have their keys and the context menu, no buttons. In a
    // cell's editor the keys are the editor's own, for the text it holds.
    auto *separator2 = new QAction(StringGrid2);
    separator2->setSeparator(true);
    StringGrid2->addAction(separator2);
    auto undoCommand = [this](const char *caption, const QList<QKeySequence> &keys) {
        auto *action = new QAction(QString::fromUtf8(caption), StringGrid2);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setEnabled(false);
        StringGrid2->addAction(action);
        return action;
    };
    Action_Undo = undoCommand("元に戻す", {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    Action_Redo =
        undoCommand("やり直し", {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // An edit of a cell is one step, from the editor's opening to its closing.
    connect(StringGrid2, &StringGrid::editStarted, this, [this] { rosterUndo.checkpoint(); });
    connect(StringGrid2, &StringGrid::editFinished, this, [this] {
        rosterUndo.checkpoint();
        showUndoState(*this);
    });
    // The draw's seats and a roster read end the history wherever they come.
    connect(StringGrid2->cells(), &QAbstractItemModel::modelReset, this, [this] { showUndoState(*this); });
    connect(StringGrid2->cells(), &QAbstractItemModel::dataChanged, this, [this] { showUndoState(*this); });

    StringGrid2->setContextMenuPolicy(Qt::ActionsContextMenu);
    return Panel_RosterCommands;
}

void TForm1::rosterStep(const std::function<void()> &command) {
    rosterUndo.checkpoint();
    // A command changes the cells under an editor: it closes first.
    StringGrid2->finishEdit();
    guarded(command);
    rosterUndo.checkpoint();
    showUndoState(*this);
}

void TForm1::UndoClick() {
    showStep(*this, rosterUndo.undo());
}

void TForm1::RedoClick() {
    showStep(*this, rosterUndo.redo());
}

void TForm1::NewRosterClick() {
    // The roster on screen is asked about first, as closing the window does.
    bool goOn = true;
    RosterQuestion(goOn);
    if (!goOn)
        return;

    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("新しい名簿"));
    dialog.setLabelText(QStringLiteral("生徒の人数（1～%1人）").arg(mostStudents));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, mostStudents);
    // The layout's seats are what the draw needs the class to fill.
    dialog.setIntValue(std::clamp(SeatAmount(), 1, mostStudents));
    if (runModal(dialog) != QDialog::Accepted)
        return;

    classRoster.makeNew(dialog.intValue());
    // Another class: the draw of the one before has ended.
    endJournal();
    draw.newClass();
    // A new class has no file yet, nor the files that stand beside one.
    OpenDialog1.fileName.clear();
    SaveDialog1.fileName.clear();
    classConditions.emplace();
    classHistory.emplace();
    unsavedHistory.reset();
    conditionsUnusable = historyUnusable = false;
    rosterMade = true;
    Modified = true;
    // Ready for the names: typed, or pasted from a spreadsheet.
    StringGrid2->setCurrentIndex(StringGrid2->model()->index(0, roster::nameCol));
    StringGrid2->setFocus();
    Jyunbi();
}

void TForm1::AddRowClick() {
    const int below = StringGrid2->currentRow();
    const int row = classRoster.insertRow(below >= 1 ? below + 1 : classRoster.rowCount(),
                                          SaveDialog1.fileName.isEmpty() ? Roster::Attendance::FollowRows
                                                                         : Roster::Attendance::Kept);
    Modified = true;
    const QModelIndex cell = StringGrid2->model()->index(row - 1, roster::nameCol);
    StringGrid2->setCurrentIndex(cell);
    StringGrid2->scrollTo(cell);
    // Ready for the new student's name, also where the button took the keys.
    StringGrid2->setFocus();
}

void TForm1::DeleteRowsClick() {
    int first = StringGrid2->currentRow();
    int last = first;
    for (const QModelIndex &i : StringGrid2->selectionModel()->selectedIndexes()) {
        first = std::min(first, i.row() + 1);
        last = std::max(last, i.row() + 1);
    }
    if (first < 1)
        return;
    // Rows that hold a student's name or seat go only when the teacher,
    // told who they are, says so.
    bool holdsText = false;
    for (int r = first; r <= last; ++r)
        for (const int c : {roster::nameCol, roster::readingCol, roster::seatCol})
            holdsText = holdsText || !classRoster.cell(c, r).isEmpty();
    if (holdsText
        && messageDlg(removalQuestion(classRoster, first, last), MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No})
               != MsgButton::Yes)
        return;
    classRoster.removeRows(first, last,
                           SaveDialog1.fileName.isEmpty() ? Roster::Attendance::FollowRows
                                                          : Roster::Attendance::Kept);
    Modified = true;
    StringGrid2->clearSelection();
    StringGrid2->setCurrentIndex(
        StringGrid2->model()->index(std::min(first, classRoster.studentCount()) - 1, roster::nameCol));
    StringGrid2->setFocus();
}

void TForm1::StringGrid2PasteRequested() {
    const std::vector<QStringList> block = pastedtext::split(QGuiApplication::clipboard()->text());
    if (block.empty())
        return;
    // One cell goes in at the editor's cursor, as any paste into a box does;
    // cells fill the grid's cells, from the one being edited.
    if (block.size() == 1 && block.front().size() == 1 && StringGrid2->insertIntoEditor(block.front().front()))
        return;
    Action_Paste->trigger();
}

void TForm1::PasteClick() {
    const std::vector<QStringList> block = pastedtext::split(QGuiApplication::clipboard()->text());
    if (block.empty())
        return;
    const int col = std::max(StringGrid2->currentCol(), 0);
    const int row = std::max(StringGrid2->currentRow(), 1);
    QString bad;
    if (!classRoster.paste(col, row, block, bad)) {
        warnNotShiftJis(bad);
        return;
    }
    Modified = true;
    // The cells pasted show selected.
    qsizetype width = 0;
    for (const QStringList &line : block)
        width = std::max(width, line.size());
    const int right = std::min(col + static_cast<int>(width), roster::columns) - 1;
    const QAbstractItemModel *cells = StringGrid2->model();
    const QModelIndex topLeft = cells->index(row - 1, col);
    StringGrid2->selectionModel()->select(
        QItemSelection(topLeft, cells->index(row - 1 + static_cast<int>(block.size()) - 1, right)),
        QItemSelectionModel::ClearAndSelect);
    StringGrid2->setFocus();
}
