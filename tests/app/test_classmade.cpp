#include "support/DrawTest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
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
    EXPECT_EQ(menu, QStringList({"新しい名簿 Ctrl+N", "-", "行の追加 Ctrl++", "行の削除 Ctrl+-", "貼り付け Ctrl+V"}));
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
        EXPECT_EQ(driver.seen()[0].text, QStringLiteral("1行を名簿から削除しますか"));
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

    // In a cell being edited the editor takes the paste itself.
    QGuiApplication::clipboard()->setText(QStringLiteral("林\n森\n"));
    StringGrid *g = f.StringGrid2;
    const QModelIndex name = g->model()->index(0, 2);
    g->setCurrentIndex(name);
    g->edit(name);
    auto *editor = g->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->end(false);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(editor->text().startsWith(QStringLiteral("山田林"))) << editor->text().toStdString();
    EXPECT_EQ(g->gridRowCount(), 4);
    EXPECT_EQ(cellText(g, 2, 2), QStringLiteral("川本 花子"));
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

} // namespace
