#include "support/WindowTest.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest/QTest>

// A teacher's session, through the real buttons, dialogs and files.
namespace {

class EndToEnd : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        original = readFile(QStringLiteral(KIRABO_TEST_DATA "/e2e/class30.csv"));
        ASSERT_FALSE(original.isEmpty());
        roster = path(QStringLiteral("1年2組.csv"));
        writeFile(roster, original);
    }

    void openRoster(TForm1 &f) {
        ModalDriver driver;
        driver.chooseFile(roster);
        f.ToolButton1->click();
        ASSERT_EQ(driver.pending(), 0);
    }

    // Types a new text into a roster cell with the grid's editor.
    static void typeInto(StringGrid *grid, int col, int row, const QString &text) {
        const QModelIndex idx = grid->model()->index(row - grid->fixedRows(), col);
        grid->setCurrentIndex(idx);
        grid->edit(idx);
        auto *editor = grid->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->insert(text); // typing by an input method: QTest's key clicks are ASCII only
        QTest::keyClick(editor, Qt::Key_Return);
        QTest::qWait(10);
    }

    QByteArray original;
    QString roster;
};

TEST_F(EndToEnd, OpenEditSaveOverAndReopenKeepsEveryOtherByte) {
    TForm1 &f = createWindow();
    openRoster(f);
    ASSERT_EQ(f.StringGrid2->gridRowCount(), 31);
    EXPECT_EQ(cellText(f.StringGrid2, 2, 3), QStringLiteral("高橋　大輝"));
    EXPECT_EQ(cellText(f.StringGrid2, 3, 30), QStringLiteral("おがわ　あやか"));
    EXPECT_FALSE(f.Modified);

    typeInto(f.StringGrid2, 2, 3, QStringLiteral("髙橋　大輝"));
    EXPECT_TRUE(f.Modified);
    f.ToolButton2->click(); // save over, no dialog
    EXPECT_FALSE(f.Modified);

    QByteArray expected = original;
    expected.replace(SjisText::lit("高橋　大輝").bytes(), SjisText::lit("髙橋　大輝").bytes());
    EXPECT_EQ(readFile(roster), expected);

    // Reopen in a new window: the edit is there.
    window.reset();
    TForm1 &g = createWindow();
    openRoster(g);
    EXPECT_EQ(cellText(g.StringGrid2, 2, 3), QStringLiteral("髙橋　大輝"));
}

TEST_F(EndToEnd, SortByDrawOrderThenTurnSeatsIntoTheNextOrder) {
    TForm1 &f = createWindow();
    openRoster(f);
    f.ToolButton6->click(); // くじ順に並び替え
    for (int r = 1; r <= 30; ++r)
        EXPECT_EQ(cellText(f.StringGrid2, 0, r), QString::asprintf("%02d", r));
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), QStringLiteral("中村　葵")); // draw order 1
    EXPECT_EQ(cellText(f.StringGrid2, 1, 1), QStringLiteral("8"));

    // A finished draw: the student drawn k-th sits at seat 31 - k.
    for (int r = 1; r <= 30; ++r)
        f.StringGrid2->setCell(4, r, SjisText(QByteArray::number(31 - r)));
    const QString lastDrawn = cellText(f.StringGrid2, 2, 30);
    f.ToolButton4->click(); // 座席番号をくじ順へ
    for (int r = 1; r <= 30; ++r) {
        EXPECT_EQ(cellText(f.StringGrid2, 0, r), QString::asprintf("%02d", r));
        EXPECT_TRUE(f.StringGrid2->cell(4, r).isEmpty());
    }
    EXPECT_EQ(cellText(f.StringGrid2, 2, 1), lastDrawn); // seat 1 comes first
}

TEST_F(EndToEnd, ClosingWithUnsavedEditsAsksAndCancelKeepsTheWindowOpen) {
    TForm1 &f = createWindow();
    openRoster(f);
    typeInto(f.StringGrid2, 3, 1, QStringLiteral("さとう　しょおた"));
    ASSERT_TRUE(f.Modified);
    {
        ModalDriver driver;
        driver.press(QStringLiteral("キャンセル"));
        f.BitBtn2->click(); // 閉じる
        ASSERT_EQ(driver.seen().size(), 1);
        const SeenBox &box = driver.seen().first();
        EXPECT_EQ(box.caption, QStringLiteral("確認"));
        EXPECT_EQ(box.text, QStringLiteral("ファイルを保存しますか"));
        EXPECT_EQ(box.icon, QMessageBox::Question);
        EXPECT_EQ(box.buttons, (QStringList{"はい(&Y)", "いいえ(&N)", "キャンセル"}));
        EXPECT_EQ(box.defaultButton, QStringLiteral("はい(&Y)"));
        EXPECT_EQ(box.escapeButton, QStringLiteral("キャンセル"));
    }
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(QFile::exists(startupIni())); // written all the same
    EXPECT_EQ(readFile(roster), original);

    {
        ModalDriver driver;
        driver.press(QStringLiteral("はい(&Y)"));
        f.close();
        EXPECT_EQ(driver.seen().size(), 1);
    }
    EXPECT_FALSE(f.isVisible());
    EXPECT_FALSE(f.Modified);
    QByteArray expected = original;
    expected.replace(SjisText::lit("さとう　しょうた").bytes(), SjisText::lit("さとう　しょおた").bytes());
    EXPECT_EQ(readFile(roster), expected);
}

TEST_F(EndToEnd, LayoutTitleAndRuleComeBackAtTheNextStart) {
    TForm1 &f = createWindow();
    EXPECT_EQ(f.Edit_Title->text(), QStringLiteral("座席表"));
    EXPECT_FALSE(f.CB_tonari->isChecked());
    clickCell(f.StringGrid_Settei, 0, 0);
    clickCell(f.StringGrid_Settei, 2, 7);
    clickCell(f.StringGrid_Settei, 5, 3);
    f.CB_tonari->setChecked(true);
    f.Edit_Title->setText(QStringLiteral("2学期の座席表"));
    f.close();
    ASSERT_FALSE(f.isVisible());

    const QByteArray ini = readFile(startupIni());
    EXPECT_TRUE(ini.startsWith("[0]\r\n0=\x81\x7E\r\n1=1\r\n"));
    EXPECT_TRUE(ini.endsWith(SjisText::lit("[設定]\r\n印刷タイトル=2学期の座席表\r\nフォルダ=\r\nフォルダ2=\r\nお隣チェック=1\r\n").bytes()));
    EXPECT_EQ(ini.count("\r\n"), 52 + 7);

    window.reset();
    TForm1 &g = createWindow();
    EXPECT_EQ(cellText(g.StringGrid_Settei, 0, 0), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 2, 7), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 3), QStringLiteral("×"));
    EXPECT_EQ(cellText(g.StringGrid_Settei, 5, 7), QStringLiteral("45"));
    EXPECT_EQ(g.SeatAmount(), 45);
    EXPECT_EQ(cellText(g.StringGrid1, 5, 7), QStringLiteral("45"));
    EXPECT_TRUE(g.CB_tonari->isChecked());
    EXPECT_EQ(g.Edit_Title->text(), QStringLiteral("2学期の座席表"));
}

} // namespace
