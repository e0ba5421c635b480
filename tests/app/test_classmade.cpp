#include "support/DrawTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <QtTest/QTest>

namespace {

// A class made in the window: the new roster's question, rows added and
// removed, a block pasted from the clipboard.
class ClassMade : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    // "新しい名簿" answered with this number; the dialog seen is kept.
    void newRoster(int students, ModalDriver &driver) {
        driver.then([this, students](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            ASSERT_NE(dialog, nullptr);
            asked = {dialog->windowTitle(), dialog->labelText(), QString::number(dialog->intValue()),
                     QString::number(dialog->intMinimum()), QString::number(dialog->intMaximum())};
            dialog->setIntValue(students);
            dialog->accept();
        });
        form().Button_NewRoster->click();
    }
    void newRoster(int students) {
        ModalDriver driver;
        newRoster(students, driver);
    }

    // A key pressed in the roster grid, as the teacher presses it there.
    void pressInGrid(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
        // A modal box that has closed leaves no active window behind under
        // the offscreen platform; a user's window would be active again.
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
        form().StringGrid2->setFocus();
        QTest::keyClick(form().StringGrid2, key, modifiers);
    }

    // The editor of a cell, opened as a double click opens it.
    QLineEdit *openEditor(int col, int row) {
        StringGrid *g = form().StringGrid2;
        const QModelIndex cell = g->model()->index(row - 1, col);
        g->setCurrentIndex(cell);
        g->edit(cell);
        auto *editor = qobject_cast<QLineEdit *>(g->indexWidget(cell));
        if (editor)
            editor->setFocus();
        return editor;
    }

    // Return in an editor: the edit ends once the event loop has run.
    void endEdit(QLineEdit *editor) {
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([this] { return !form().StringGrid2->isEditing(); }, 2000));
    }

    // Keys typed one by one into whatever has the keyboard, as the teacher
    // types: the first key in a grid opens the editor, which takes the rest.
    static void typeKeys(const QString &text) {
        for (const QChar c : text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }

    void selectRows(int first, int last) {
        StringGrid *g = form().StringGrid2;
        g->setCurrentIndex(g->model()->index(first - 1, 2));
        g->selectionModel()->select(QItemSelection(g->model()->index(first - 1, 0), g->model()->index(last - 1, 4)),
                                    QItemSelectionModel::ClearAndSelect);
    }

    // The student rows as "order,attendance,name,reading,seat".
    QStringList students() {
        QStringList out;
        for (int r = 1; r < form().StringGrid2->gridRowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << cellText(form().StringGrid2, c, r);
            out << cells.join(QLatin1Char(','));
        }
        return out;
    }

    QStringList asked;
};

TEST_F(ClassMade, ANewRosterAsksToSaveWhatIsUnsavedThenForTheNumberOfStudents) {
    TForm1 &f = form();
    keepSeats(30);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("改名"));
    const QStringList opened = students();

    {
        // Cancel keeps the roster and its file; so does cancelling the number.
        ModalDriver driver;
        driver.press(QStringLiteral("キャンセル"));
        f.Button_NewRoster->click();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("ファイルを保存しますか"));
        ModalDriver number;
        number.press(QStringLiteral("いいえ(&N)")).then([](QWidget *w) { static_cast<QDialog *>(w)->reject(); });
        f.Button_NewRoster->click();
    }
    EXPECT_EQ(students(), opened);
    EXPECT_EQ(f.SaveDialog1.fileName, rosterFile());
    EXPECT_TRUE(f.Modified);

    {
        ModalDriver driver;
        driver.press(QStringLiteral("いいえ(&N)"));
        newRoster(4, driver);
        EXPECT_EQ(driver.seen().size(), 1);
    }
    // The layout's 30 seats are proposed; the classroom holds at most 48.
    EXPECT_EQ(asked, QStringList({"新しい名簿", "生徒の人数（1～48人）", "30", "1", "48"}));
    EXPECT_EQ(students(), QStringList({"01,1,,,", "02,2,,,", "03,3,,,", "04,4,,,"}));
    EXPECT_EQ(f.StringGrid2->currentRow(), 1);
    EXPECT_EQ(f.StringGrid2->currentCol(), 2);
    EXPECT_TRUE(f.Modified);
    EXPECT_EQ(readFile(rosterFile()).count('\n'), 4) << "the old file is left as it was";
    // The draw page prepares the new class as it prepares an opened one.
    clickTab(1);
    EXPECT_EQ(status(), QStringLiteral("座席の数と人数があいません！"));
    clickTab(0);
    // Its conditions wait for a file to stand beside.
    {
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        f.Button_Conditions->click();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("座席の条件は名簿ごとに決めます。先に名簿を保存してください"));
    }

    // Saving over goes to the save dialog: the new roster has no file.
    const QString saved = path(QStringLiteral("新しいクラス.csv"));
    {
        ModalDriver driver;
        driver.chooseFile(saved);
        f.ToolButton2->click();
        EXPECT_EQ(driver.fileDialogs().size(), 1);
    }
    EXPECT_EQ(readFile(saved), sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n01,1,,,\r\n02,2,,,\r\n03,3,,,\r\n04,4,,,\r\n").bytes());
    EXPECT_FALSE(f.Modified);
    EXPECT_EQ(f.OpenDialog1.fileName, saved);
    // Unchanged since, it asks nothing the next time.
    ModalDriver none;
    newRoster(2, none);
    EXPECT_TRUE(none.seen().isEmpty());
    EXPECT_EQ(f.StringGrid2->gridRowCount(), 3);
}

TEST_F(ClassMade, RowsAddedAndRemovedKeepTheNumbersInSequence) {
    TForm1 &f = form();
    newRoster(3);
    f.Modified = false;

    // The grid's context menu holds the row commands, with their keys.
    QStringList menu;
    for (QAction *a : f.StringGrid2->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text() + QLatin1Char(' ') + a->shortcut().toString());
    EXPECT_EQ(menu, QStringList({"新しい名簿 Ctrl+N", "-", "行の追加 Ctrl++", "行の削除 Ctrl+-", "貼り付け Ctrl+V", "-",
                                 "元に戻す Ctrl+Z", "やり直し Ctrl+Y"}));
    EXPECT_EQ(f.StringGrid2->contextMenuPolicy(), Qt::ActionsContextMenu);

    // Below the current row, numbered into the sequence, current for a name.
    typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
    f.Modified = false;
    pressInGrid(Qt::Key_Plus);
    EXPECT_EQ(students(), QStringList({"01,1,山田,,", "02,2,,,", "03,3,,,", "04,4,,,"}));
    EXPECT_EQ(f.StringGrid2->currentRow(), 2);
    EXPECT_TRUE(f.Modified);

    // Empty rows go without a question; the sequence closes up.
    f.Modified = false;
    selectRows(2, 3);
    {
        ModalDriver none;
        f.Button_DeleteRows->click();
        EXPECT_TRUE(none.seen().isEmpty());
    }
    EXPECT_EQ(students(), QStringList({"01,1,山田,,", "02,2,,,"}));
    EXPECT_TRUE(f.Modified);

    // A row with a name goes only when the teacher says so.
    selectRows(1, 1);
    {
        ModalDriver driver;
        driver.press(QStringLiteral("いいえ(&N)"));
        pressInGrid(Qt::Key_Minus);
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("1行を名簿から削除しますか\n出席番号1 山田"));
        EXPECT_EQ(driver.seen()[0].buttons, QStringList({"はい(&Y)", "いいえ(&N)"}));
    }
    EXPECT_EQ(students(), QStringList({"01,1,山田,,", "02,2,,,"}));
}

// A roster with a file keeps its attendance numbers: they name the students
// in the class's conditions and history.
TEST_F(ClassMade, ARosterWithAFileKeepsItsAttendanceNumbers) {
    TForm1 &f = form();
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    selectRows(1, 1);
    {
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        f.Button_DeleteRows->click();
    }
    f.StringGrid2->setCurrentIndex(f.StringGrid2->model()->index(1, 2));
    f.Button_AddRow->click();
    EXPECT_EQ(students(), QStringList({"01,2,生徒02,せいと02,", "02,3,生徒03,せいと03,", "03,4,,,"}));
    EXPECT_TRUE(f.Modified);
}

TEST_F(ClassMade, NamesPastedFromASpreadsheetFillTheGridCellByCell) {
    TForm1 &f = form();
    newRoster(2);
    f.Modified = false;
    QGuiApplication::clipboard()->setText(QStringLiteral("山田\tやまだ\r\n\"川本\r\n花子\"\tかわもと\r\n田中\tたなか\r\n"));
    pressInGrid(Qt::Key_V);
    EXPECT_EQ(students(), QStringList({"01,1,山田,やまだ,", "02,2,川本 花子,かわもと,", "03,3,田中,たなか,"}));
    EXPECT_TRUE(f.Modified);
    // The cells pasted show selected.
    EXPECT_EQ(f.StringGrid2->selectionModel()->selectedIndexes().size(), 6);

    // The button pastes at the current cell too.
    f.StringGrid2->setCurrentIndex(f.StringGrid2->model()->index(2, 4));
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    f.Button_Paste->click();
    EXPECT_EQ(students().last(), QStringLiteral("03,3,田中,たなか,7"));

    // In a cell being edited, one cell goes in at the editor's cursor ...
    StringGrid *g = f.StringGrid2;
    QLineEdit *editor = openEditor(2, 1);
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(1);
    QGuiApplication::clipboard()->setText(QStringLiteral("林\r\n"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), QStringLiteral("山林田"));
    EXPECT_TRUE(g->isEditing());
    endEdit(editor);
    EXPECT_EQ(cellText(g, 2, 1), QStringLiteral("山林田"));

    // ... and cells fill the grid from the cell being edited, also from the
    // editor's own menu.
    editor = openEditor(2, 2);
    ASSERT_NE(editor, nullptr);
    QGuiApplication::clipboard()->setText(QStringLiteral("林\tはやし\n森\tもり\n"));
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, editor->rect().center(),
                                editor->mapToGlobal(editor->rect().center()));
    QApplication::sendEvent(editor, &menuAsked);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    // The fifth command, after undo, redo, a separator, cut and copy.
    const QList<QAction *> commands = menu->actions();
    ASSERT_GE(commands.size(), 6);
    QAction *paste = commands.at(5);
    ASSERT_TRUE(paste->text().startsWith(QLineEdit::tr("&Paste"))) << paste->text().toStdString();
    paste->trigger();
    menu->close();
    EXPECT_FALSE(g->isEditing());
    EXPECT_EQ(students(), QStringList({"01,1,山林田,やまだ,", "02,2,林,はやし,", "03,3,森,もり,7"}));
}

// As typing refuses it, with the same warning; the grid keeps every cell,
// also those pasted before the refused one would have been.
TEST_F(ClassMade, APasteWithACharacterShiftJisCannotHoldIsRefusedWhole) {
    TForm1 &f = form();
    ASSERT_TRUE(openRoster(classOf(2)).isEmpty());
    const QStringList before = students();
    f.StringGrid2->setCurrentIndex(f.StringGrid2->model()->index(0, 2));
    QGuiApplication::clipboard()->setText(QStringLiteral("山田\n川本\n𠮷田\n"));
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    pressInGrid(Qt::Key_V);
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen()[0].caption, QStringLiteral("警告"));
    EXPECT_EQ(driver.seen()[0].text, QStringLiteral("「𠮷」(U+20BB7) はシフトJISで表せない文字のため入力できません"));
    EXPECT_EQ(students(), before);
    EXPECT_FALSE(f.Modified);
}

// Beside the grid, where the page had room: the grid still shows its five
// columns whole, also with a full classroom's rows and their scroll bar.
TEST_F(ClassMade, TheCommandsStandBesideTheGridsColumns) {
    TForm1 &f = form();
    newRoster(48);
    QApplication::processEvents();
    int columns = 0;
    for (int c = 0; c < 5; ++c)
        columns += f.StringGrid2->colWidth(c) + 1;
    EXPECT_LE(columns, f.StringGrid2->viewport()->width());
    EXPECT_FALSE(f.StringGrid2->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(f.StringGrid2->verticalScrollBar()->isVisible());
    EXPECT_GE(f.Panel_RosterCommands->x(), f.StringGrid2->geometry().right());
    EXPECT_LE(f.Panel_RosterCommands->geometry().right(), f.TabSheet2->width());
    for (QPushButton *b : {f.Button_NewRoster, f.Button_AddRow, f.Button_DeleteRows, f.Button_Paste})
        EXPECT_TRUE(b->isVisible()) << b->text().toStdString();
}

// However text reaches a cell's editor, the cell takes one line: a tab or a
// line break becomes a blank, and the roster saved and opened again holds
// every cell as it was.
TEST_F(ClassMade, NoCellTakesATabOrALineBreakAndTheFileGivesEveryCellBack) {
    TForm1 &f = form();
    ASSERT_TRUE(openRoster(classOf(5)).isEmpty());
    const struct {
        const char *how;
        std::function<void(QLineEdit *)> input;
        QString cell;
    } ways[] = {
        {"typed or put in", [](QLineEdit *e) { e->insert(QStringLiteral("山田\t花子")); }, QStringLiteral("山田 花子")},
        {"an input method",
         [](QLineEdit *e) {
             QInputMethodEvent commit;
             commit.setCommitString(QStringLiteral("川本\r\n一郎"));
             QApplication::sendEvent(e, &commit);
         },
         QStringLiteral("川本  一郎")},
        {"dropped",
         [](QLineEdit *e) {
             QMimeData data;
             data.setText(QStringLiteral("田中\t太郎\n"));
             QDragEnterEvent enter(e->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(e, &enter);
             QDropEvent drop(QPointF(e->rect().center()), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(e, &drop);
         },
         QStringLiteral("田中 太郎 ")},
        {"one cell a spreadsheet quoted, pasted",
         [](QLineEdit *e) {
             QGuiApplication::clipboard()->setText(QStringLiteral("\"林\t\"\"森\"\"\"\r\n"));
             QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
         },
         QStringLiteral("林 \"森\"")},
        {"control characters pasted",
         [](QLineEdit *e) {
             QGuiApplication::clipboard()->setText(QString::fromUtf16(u"a\u0000b\u001Ac", 5));
             QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
         },
         QStringLiteral("a b c")},
    };
    int row = 0;
    for (const auto &w : ways) {
        QLineEdit *editor = openEditor(2, ++row);
        ASSERT_NE(editor, nullptr) << w.how;
        editor->clear();
        w.input(editor);
        endEdit(editor);
        EXPECT_EQ(cellText(f.StringGrid2, 2, row), w.cell) << w.how;
    }
    const QStringList typed = students();
    ASSERT_EQ(f.StringGrid2->gridRowCount(), 6);

    f.ToolButton2->click();
    const QByteArray saved = readFile(rosterFile());
    ASSERT_TRUE(openRoster(classOf(2)).isEmpty());
    openRosterFile(saved);
    EXPECT_EQ(students(), typed);
}

// Ctrl+Z and Ctrl+Y walk the teacher's steps back and forth: cell edits, a
// paste, rows added and removed, both orderings. Esc in an editor leaves no
// step behind.
TEST_F(ClassMade, UndoAndRedoWalkTheTeachersStepsBackAndForth) {
    TForm1 &f = form();
    StringGrid *g = f.StringGrid2;
    ASSERT_TRUE(openRoster(classOf(4)).isEmpty());
    EXPECT_FALSE(f.Action_Undo->isEnabled());
    QList<QStringList> seen{students()};
    struct Place {
        int col, row;
    };
    QList<Place> changedFirst;
    auto step = [&](int col, int row, const std::function<void()> &command) {
        command();
        ASSERT_NE(students(), seen.last()) << "every step changes the roster";
        seen << students();
        changedFirst << Place{col, row};
    };

    step(2, 1, [&] { typeIntoCell(g, 2, 1, QStringLiteral("改名")); });
    step(2, 2, [&] {
        g->setCurrentIndex(g->model()->index(1, 2));
        QGuiApplication::clipboard()->setText(QStringLiteral("林\tはやし\n森\tもり\n"));
        pressInGrid(Qt::Key_V);
    });
    // A roster with a file keeps its attendance numbers, where the draw
    // order closes up: the rows differ first there.
    step(1, 2, [&] {
        g->setCurrentIndex(g->model()->index(0, 2));
        pressInGrid(Qt::Key_Plus);
    });
    step(1, 3, [&] {
        selectRows(3, 3);
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        pressInGrid(Qt::Key_Minus);
    });
    step(0, 1, [&] { typeIntoCell(g, 0, 1, QStringLiteral("9")); });
    step(4, 1, [&] { typeIntoCell(g, 4, 1, QStringLiteral("3")); });
    step(0, 1, [&] { f.ToolButton6->click(); });
    step(0, 1, [&] { f.ToolButton4->click(); });

    // Esc gives the cell back its text and leaves no step behind.
    QLineEdit *editor = openEditor(2, 2);
    ASSERT_NE(editor, nullptr);
    editor->insert(QStringLiteral("取り消す"));
    EXPECT_EQ(cellText(g, 2, 2), QStringLiteral("取り消す"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(students(), seen.last());

    // Saved: undo changes the roster from the file's, and it stays changed
    // when redo comes back to it.
    f.ToolButton2->click();
    ASSERT_FALSE(f.Modified);
    for (qsizetype i = changedFirst.size(); i-- > 0;) {
        ASSERT_TRUE(f.Action_Undo->isEnabled()) << i;
        pressInGrid(Qt::Key_Z);
        EXPECT_EQ(students(), seen.at(i)) << i;
        EXPECT_EQ(g->currentCol(), changedFirst.at(i).col) << i;
        EXPECT_EQ(g->currentRow(), changedFirst.at(i).row) << i;
        EXPECT_TRUE(f.Modified);
    }
    EXPECT_FALSE(f.Action_Undo->isEnabled());
    pressInGrid(Qt::Key_Z);
    EXPECT_EQ(students(), seen.first());

    // Ctrl+Y, Ctrl+Shift+Z and the context menu's command do the steps again.
    for (qsizetype i = 1; i < seen.size(); ++i) {
        ASSERT_TRUE(f.Action_Redo->isEnabled()) << i;
        if (i == 1)
            f.Action_Redo->trigger();
        else
            pressInGrid(i % 2 ? Qt::Key_Y : Qt::Key_Z,
                        i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(students(), seen.at(i)) << i;
    }
    EXPECT_FALSE(f.Action_Redo->isEnabled());
    EXPECT_TRUE(f.Modified);
    EXPECT_EQ(readFile(rosterFile()), f.classRoster.bytes());
}

// Another roster, opened or made, starts with no history.
TEST_F(ClassMade, ARosterOpenedOrMadeStartsWithNoHistory) {
    TForm1 &f = form();
    const std::function<void()> others[] = {
        [&] { ASSERT_TRUE(openRoster(classOf(3)).isEmpty()); },
        [&] {
            ModalDriver driver;
            driver.press(QStringLiteral("いいえ(&N)"));
            newRoster(3, driver);
        },
    };
    for (const auto &another : others) {
        f.Modified = false;
        newRoster(2);
        typeIntoCell(f.StringGrid2, 2, 1, QStringLiteral("山田"));
        ASSERT_TRUE(f.Action_Undo->isEnabled());
        another();
        const QStringList opened = students();
        EXPECT_FALSE(f.Action_Undo->isEnabled());
        pressInGrid(Qt::Key_Z);
        EXPECT_EQ(students(), opened);
    }
}

// The seats the draw gives are no steps to undo: undo never changes them,
// nor goes back over them to a roster from before.
TEST_F(ClassMade, UndoNeverTakesBackASeatTheDrawGave) {
    TForm1 &f = form();
    StringGrid *g = f.StringGrid2;
    keepSeats(3);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    typeIntoCell(g, 2, 1, QStringLiteral("改名"));
    typeIntoCell(g, 3, 1, QStringLiteral("かいめい"));
    pressInGrid(Qt::Key_Z);
    ASSERT_TRUE(f.Action_Undo->isEnabled() && f.Action_Redo->isEnabled());

    clickTab(1);
    drawOnce();
    const QString seat = seatOf(1);
    ASSERT_FALSE(seat.isEmpty());
    clickTab(0);
    const QStringList drawn = students();
    EXPECT_FALSE(f.Action_Undo->isEnabled());
    EXPECT_FALSE(f.Action_Redo->isEnabled());
    pressInGrid(Qt::Key_Z);
    pressInGrid(Qt::Key_Y);
    EXPECT_EQ(students(), drawn);

    // The teacher's steps after it go back as far as the seat.
    typeIntoCell(g, 2, 2, QStringLiteral("川本"));
    pressInGrid(Qt::Key_Z);
    pressInGrid(Qt::Key_Z);
    EXPECT_EQ(students(), drawn);
    clickTab(1);
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒02")));
    EXPECT_EQ(pool().size(), 2);
    EXPECT_FALSE(pool().contains(seat));
}

// After "行の追加" the keyboard is in the new row, whichever way it came.
TEST_F(ClassMade, AfterAddingARowTypingGoesIntoIt) {
    TForm1 &f = form();
    ASSERT_TRUE(openRoster(classOf(2)).isEmpty());
    f.StringGrid2->setCurrentIndex(f.StringGrid2->model()->index(0, 2));
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    QTest::mouseClick(f.Button_AddRow, Qt::LeftButton);
    typeKeys(QStringLiteral("Sato"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !f.StringGrid2->isEditing(); }, 2000));
    EXPECT_EQ(students(), QStringList({"01,1,生徒01,せいと01,", "02,3,Sato,,", "03,2,生徒02,せいと02,"}));
}

// The question names the students it would remove, the first few by
// attendance number and name, and counts the rest.
TEST_F(ClassMade, RemovingRowsNamesTheStudentsFirst) {
    TForm1 &f = form();
    std::vector<Pupil> pupils = classOf(8);
    pupils[2].name.clear();
    ASSERT_TRUE(openRoster(pupils).isEmpty());
    const QStringList before = students();
    const struct {
        int first, last;
        QString question;
    } cases[] = {
        {2, 3, QStringLiteral("2行を名簿から削除しますか\n出席番号2 生徒02\n出席番号3 （氏名なし）")},
        {1, 8,
         QStringLiteral("8行を名簿から削除しますか\n出席番号1 生徒01\n出席番号2 生徒02\n出席番号3 （氏名なし）\n"
                        "出席番号4 生徒04\n出席番号5 生徒05\nほか3人")},
    };
    for (const auto &c : cases) {
        selectRows(c.first, c.last);
        ModalDriver driver;
        driver.press(QStringLiteral("いいえ(&N)"));
        f.Button_DeleteRows->click();
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, c.question);
    }
    EXPECT_EQ(students(), before);
}

} // namespace
