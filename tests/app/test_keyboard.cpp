#include "support/DrawTest.h"
#include "widgets/StringGrid.h"
#include "widgets/TextList.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>

#include <functional>

namespace {

QString nameOf(const QWidget *w) {
    if (!w)
        return QStringLiteral("(no focus)");
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (qobject_cast<const QTabBar *>(w))
        return QStringLiteral("QTabBar");
    if (!w->objectName().isEmpty())
        return w->objectName();
    return QString::fromLatin1(w->metaObject()->className());
}

// The keyboard on the real window: keys go where a keyboard sends them, to
// the widget with the focus, in the window made active as a user's would be.
class Keyboard : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        activate();
    }

    // A modal box or dialog that has closed leaves no active window behind
    // under the offscreen platform; a user's window would be active again.
    void activate() {
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    QWidget *focus() const { return QApplication::focusWidget(); }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ASSERT_NE(focus(), nullptr);
        QTest::keyClick(focus(), key, modifiers);
    }

    // Text as a keyboard or an input method delivers it in one key press.
    void type(const QString &text) {
        ASSERT_NE(focus(), nullptr);
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(focus(), &typed);
    }

    QLineEdit *cellEditor(StringGrid *grid) const { return grid->viewport()->findChild<QLineEdit *>(); }

    // Focus names met by pressing a key over and over, from the focus as it
    // is, until the focus comes back where it started (at most 20 presses).
    QStringList round(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget *start = focus();
        QStringList met{nameOf(start)};
        for (int i = 0; i < 20; ++i) {
            press(key, modifiers);
            if (focus() == start)
                return met;
            met << nameOf(focus());
        }
        met << QStringLiteral("(no way back)");
        return met;
    }

    QTabBar *tabBar() { return form().PageControl1->tabBar(); }
};

TEST_F(Keyboard, TabAndShiftTabWalkEachPagesControlsThroughTheGrids) {
    // With a roster open the draw is prepared, so Start takes part too.
    openRoster(classOf(48));
    activate();
    ASSERT_TRUE(form().Button1->isEnabled());
    TForm1 &f = form();
    const struct {
        int page;
        QStringList forward;
    } pages[] = {
        {0,
         {QStringLiteral("QTabBar"), QStringLiteral("ファイルを開く"), QStringLiteral("ファイル名をつけて保存"),
          QStringLiteral("上書き保存"), QStringLiteral("くじ順に並び替え"), QStringLiteral("座席番号をくじ順へ"),
          QStringLiteral("StringGrid2")}},
        // The re-prepare button and the hidden pool are skipped.
        {1, {QStringLiteral("QTabBar"), QStringLiteral("スタート"), QStringLiteral("StringGrid1")}},
        {2,
         {QStringLiteral("QTabBar"), QStringLiteral("QLineEdit"), QStringLiteral("印刷"),
          QStringLiteral("教員から見た座席表"), QStringLiteral("StringGrid_Settei"),
          QStringLiteral("設定ファイルを開く"), QStringLiteral("設定に名前をつけて保存"),
          QStringLiteral("設定を上書き保存"), f.CB_tonari->text(), QStringLiteral("閉じる(&C)")}},
    };
    for (const auto &p : pages) {
        clickTab(p.page);
        tabBar()->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(focus(), tabBar());
        EXPECT_EQ(round(Qt::Key_Tab, Qt::NoModifier), p.forward) << "page " << p.page;

        // Shift+Tab walks back; the keyboard sends it as Backtab.
        QStringList backward{p.forward.first()};
        for (auto it = p.forward.crbegin(); it != p.forward.crend() - 1; ++it)
            backward << *it;
        EXPECT_EQ(round(Qt::Key_Backtab, Qt::ShiftModifier), backward) << "page " << p.page;
        EXPECT_EQ(round(Qt::Key_Tab, Qt::ShiftModifier), backward) << "page " << p.page;
    }
    // Tab passed through the grids without walking their cells.
    EXPECT_EQ(f.StringGrid2->currentCol(), 0);
    EXPECT_EQ(f.StringGrid2->currentRow(), 1);
    EXPECT_EQ(f.StringGrid1->currentCol(), 0);
    EXPECT_EQ(f.StringGrid1->currentRow(), 0);
}

TEST_F(Keyboard, TabInACellEditorKeepsTheTypedTextAndLeavesTheGrid) {
    openRoster(classOf(3));
    activate();
    StringGrid *grid = form().StringGrid2;
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;
        const char *name;
        const char *focusAfter;
    } cases[] = {
        {Qt::Key_Tab, Qt::NoModifier, 1, "山本", "QTabBar"},
        {Qt::Key_Backtab, Qt::ShiftModifier, 2, "川本", "座席番号をくじ順へ"},
        {Qt::Key_Tab, Qt::ShiftModifier, 3, "森本", "座席番号をくじ順へ"},
    };
    for (const auto &c : cases) {
        clickCell(grid, 2, c.row);
        ASSERT_EQ(focus(), grid);
        type(QString::fromUtf8(c.name));
        QLineEdit *editor = cellEditor(grid);
        ASSERT_NE(editor, nullptr) << c.name;
        ASSERT_EQ(focus(), editor);
        press(c.key, c.modifiers);
        EXPECT_EQ(nameOf(focus()), QString::fromUtf8(c.focusAfter)) << c.name;
        EXPECT_EQ(cellText(grid, 2, c.row), QString::fromUtf8(c.name));
        EXPECT_EQ(grid->currentCol(), 2);
        EXPECT_EQ(grid->currentRow(), c.row);
        EXPECT_TRUE(QTest::qWaitFor([&] { return cellEditor(grid) == nullptr; }, 2000)) << c.name;
    }
    // Only the cell being edited changed.
    EXPECT_EQ(cellText(grid, 3, 1), QStringLiteral("せいと01"));
    EXPECT_TRUE(form().Modified);
}

TEST_F(Keyboard, CtrlTabAndCtrlPageKeysTurnThePageFromAnywhereAsAClickOnATabDoes) {
    openRoster(classOf(48));
    activate();
    TForm1 &f = form();
    // Where the focus is when the key comes; the roster cell editor opens on
    // a typed name.
    // A click on the cell already current would start an edit after a pause:
    // each click goes to another cell.
    int rosterRow = 0;
    const std::function<void()> roster = [&] { clickCell(f.StringGrid2, 2, ++rosterRow); };
    const std::function<void()> editor = [&] {
        clickCell(f.StringGrid2, 3, 1);
        type(QStringLiteral("せいと"));
        ASSERT_NE(cellEditor(f.StringGrid2), nullptr);
    };
    int chartRow = 0;
    const std::function<void()> chart = [&] { clickCell(f.StringGrid1, 1, ++chartRow); };
    const std::function<void()> layout = [&] { f.StringGrid_Settei->setFocus(Qt::TabFocusReason); };
    const std::function<void()> title = [&] { f.Edit_Title->setFocus(Qt::TabFocusReason); };
    const std::function<void()> start = [&] { f.Button1->setFocus(Qt::TabFocusReason); };
    const struct {
        int from;
        const std::function<void()> &focusOn;
        const char *where;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int to;
    } cases[] = {
        {0, roster, "roster grid", Qt::Key_Tab, Qt::ControlModifier, 1},
        {0, editor, "cell editor", Qt::Key_PageDown, Qt::ControlModifier, 1},
        {0, roster, "roster grid", Qt::Key_PageUp, Qt::ControlModifier, 2},
        {0, roster, "roster grid", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
        {1, chart, "chart", Qt::Key_Tab, Qt::ControlModifier, 2},
        {1, chart, "chart", Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {1, start, "Start", Qt::Key_PageUp, Qt::ControlModifier, 0},
        {2, layout, "layout grid", Qt::Key_Tab, Qt::ControlModifier, 0},
        {2, layout, "layout grid", Qt::Key_PageUp, Qt::ControlModifier, 1},
        {2, title, "title", Qt::Key_PageDown, Qt::ControlModifier, 0},
        {2, title, "title", Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 1},
    };
    for (const auto &c : cases) {
        clickTab(c.from);
        c.focusOn();
        ASSERT_NE(focus(), nullptr) << c.where;
        ASSERT_TRUE(f.PageControl1->currentWidget()->isAncestorOf(focus())) << c.where;
        // Only a preparation writes the status line.
        f.Label_N->clear();
        press(c.key, c.modifiers);
        EXPECT_EQ(f.PageControl1->currentIndex(), c.to) << c.where << " to " << c.to;
        EXPECT_EQ(status(), c.to == 1 ? turnText(QStringLiteral("生徒01")) : QString()) << c.where << " to " << c.to;
        // The focus went along to the page now shown.
        ASSERT_NE(focus(), nullptr) << c.where;
        EXPECT_TRUE(focus()->isVisible()) << c.where << " to " << c.to;
    }
    // The name being typed when the page turned was kept.
    EXPECT_EQ(cellText(f.StringGrid2, 3, 1), QStringLiteral("せいと"));
}

TEST_F(Keyboard, ClicksOnTheRosterHeaderRowChangeNothingAndStartNoEdit) {
    openRoster(classOf(3));
    activate();
    StringGrid *grid = form().StringGrid2;
    QHeaderView *header = grid->horizontalHeader();
    ASSERT_EQ(header->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("氏名"));
    const QPoint nameHeader(header->sectionViewportPosition(2) + 20, header->height() / 2);
    // A double-click as the mouse makes it: press, release, then the
    // double-click press and its release.
    auto doubleClickNameHeader = [&] {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, nameHeader);
        QTest::mouseDClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, nameHeader);
    };
    auto selected = [&] {
        QStringList cells;
        for (const QModelIndex &i : grid->selectionModel()->selectedIndexes())
            cells << QStringLiteral("%1,%2").arg(i.column()).arg(i.row() + 1);
        return cells;
    };

    // The focus elsewhere, as right after opening the file: typing after the
    // double-click reaches no cell.
    tabBar()->setFocus(Qt::TabFocusReason);
    doubleClickNameHeader();
    EXPECT_EQ(focus(), tabBar());
    type(QStringLiteral("X"));
    EXPECT_EQ(cellEditor(grid), nullptr);
    EXPECT_EQ(cellText(grid, 2, 1), QStringLiteral("生徒01"));
    EXPECT_EQ(cellText(grid, 0, 1), QStringLiteral("01"));
    EXPECT_EQ(grid->currentCol(), 0);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(selected(), QStringList{QStringLiteral("0,1")});
    EXPECT_FALSE(form().Modified);

    // The focus in the grid on another cell: the current cell, the selection
    // and the focus stay, and no editor opens.
    clickCell(grid, 4, 2);
    ASSERT_EQ(focus(), grid);
    doubleClickNameHeader();
    QTest::mouseClick(header->viewport(), Qt::RightButton, Qt::NoModifier, nameHeader);
    EXPECT_EQ(focus(), grid);
    EXPECT_EQ(cellEditor(grid), nullptr);
    EXPECT_EQ(grid->currentCol(), 4);
    EXPECT_EQ(grid->currentRow(), 2);
    EXPECT_EQ(selected(), QStringList{QStringLiteral("4,2")});
    EXPECT_EQ(cellText(grid, 2, 1), QStringLiteral("生徒01"));
    EXPECT_FALSE(form().Modified);
}

class PrintTitle : public Keyboard {
protected:
    // Answers the warning that should come with OK, after the key, paste or
    // input that brought the character in is over. Answers what it showed.
    QList<SeenBox> refused(const std::function<void()> &input) {
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        input();
        // The text is back before the box shows.
        EXPECT_TRUE(driver.seen().isEmpty());
        EXPECT_TRUE(QTest::qWaitFor([&] { return driver.pending() == 0; }, 2000));
        activate();
        return driver.seen();
    }

    // Closes the window, which writes the start-up settings file; a box of
    // any kind fails the test.
    void closeWithoutBox() {
        ModalDriver guard;
        guard.thenIfShown([](QWidget *w) {
            ADD_FAILURE() << "a box showed: " << w->windowTitle().toStdString();
            static_cast<QDialog *>(w)->reject();
        });
        EXPECT_TRUE(form().close());
    }

    QByteArray storedTitleLine() {
        const QByteArray ini = readFile(startupIni());
        const QByteArray key = sj("印刷タイトル=").bytes();
        const qsizetype at = ini.indexOf(key);
        return at < 0 ? QByteArray() : ini.mid(at, ini.indexOf("\r\n", at) - at);
    }
};

TEST_F(PrintTitle, ACharacterShiftJisCannotHoldIsRefusedWhereItIsTyped) {
    QLineEdit *title = form().Edit_Title;
    ASSERT_EQ(title->text(), QStringLiteral("座席表"));
    const QString yoshi = QStringLiteral("𠮷");
    const struct {
        const char *how;
        std::function<void()> input;
    } ways[] = {
        {"typed", [&] { type(yoshi); }},
        {"input method", [&] {
             QInputMethodEvent commit;
             commit.setCommitString(yoshi);
             QApplication::sendEvent(focus(), &commit);
         }},
        {"pasted", [&] {
             QGuiApplication::clipboard()->setText(QStringLiteral("の") + yoshi);
             press(Qt::Key_V, Qt::ControlModifier);
         }},
        {"over a selection", [&] {
             title->setSelection(0, 2);
             type(yoshi);
         }},
    };
    clickTab(2);
    for (const auto &w : ways) {
        title->setFocus(Qt::MouseFocusReason);
        title->setCursorPosition(2);
        const QList<SeenBox> seen = refused(w.input);
        EXPECT_EQ(title->text(), QStringLiteral("座席表")) << w.how;
        EXPECT_EQ(title->cursorPosition(), 2) << w.how;
        ASSERT_EQ(seen.size(), 1) << w.how;
        EXPECT_EQ(seen[0].caption, QStringLiteral("警告"));
        EXPECT_EQ(seen[0].icon, QMessageBox::Warning);
        EXPECT_EQ(seen[0].text, QStringLiteral("「𠮷」(U+20BB7) はシフトJISで表せない文字のため入力できません"));
        EXPECT_EQ(seen[0].buttons, QStringList{QStringLiteral("OK")});
    }

    // What Shift-JIS can hold goes in as ever, and the window closes with it.
    title->setFocus(Qt::MouseFocusReason);
    title->setCursorPosition(2);
    type(QStringLiteral("吉"));
    EXPECT_EQ(title->text(), QStringLiteral("座席吉表"));
    closeWithoutBox();
    EXPECT_EQ(storedTitleLine(), sj("印刷タイトル=座席吉表").bytes());
}

// A pasted line break becomes a blank, so the title stays one line that the
// settings file can hold and every close still writes it.
TEST_F(PrintTitle, APastedLineBreakBecomesABlank) {
    QLineEdit *title = form().Edit_Title;
    clickTab(2);
    title->setFocus(Qt::MouseFocusReason);
    title->end(false);
    QGuiApplication::clipboard()->setText(QStringLiteral("1年\r\n2組"));
    press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(title->text(), QStringLiteral("座席表1年  2組"));
    EXPECT_EQ(title->cursorPosition(), title->text().size());
    closeWithoutBox();
    EXPECT_EQ(storedTitleLine(), sj("印刷タイトル=座席表1年  2組").bytes());
}

TEST_F(PrintTitle, ARefusalKeepsTheBytesTheTitleWasReadFrom) {
    // 0xED 0x40 is an NEC-selected IBM extension: shown and encoded again it
    // would become 0xFA 0x5C. Unchanged, the title goes back as it came.
    window.reset();
    writeFile(startupIni(), sj("[設定]\r\n印刷タイトル=").bytes() + "\xED\x40x\r\n");
    createWindow();
    activate();
    clickTab(2);
    QLineEdit *title = form().Edit_Title;
    title->setFocus(Qt::MouseFocusReason);
    title->end(false);
    const QString shown = title->text();
    const QList<SeenBox> seen = refused([&] { type(QStringLiteral("😀")); });
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text, QStringLiteral("「😀」(U+1F600) はシフトJISで表せない文字のため入力できません"));
    EXPECT_EQ(title->text(), shown);
    closeWithoutBox();
    EXPECT_EQ(storedTitleLine(), sj("印刷タイトル=").bytes() + "\xED\x40x");
}

} // namespace
