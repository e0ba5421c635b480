#include "support/DrawTest.h"
#include "widgets/TextList.h"

#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace {

QStringList numbers(int from, int to, const QList<int> &without = {}) {
    QStringList out;
    for (int s = from; s <= to; ++s)
        if (!without.contains(s))
            out << QString::number(s);
    return out;
}

} // namespace

class Prepare : public DrawTest {
protected:
    QStringList chart() const {
        QStringList out;
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r)
                out << cellText(window->StringGrid1, c, r);
        return out;
    }
};

TEST_F(Prepare, NothingButThePoolBeforeARosterFileIsOpened) {
    TForm1 &f = createWindow();
    // Students typed or put into the grid are no opened roster.
    f.StringGrid2->setGridRowCount(49);
    for (int r = 1; r <= 48; ++r)
        f.StringGrid2->setCell(2, r, sj("名前"));
    const QStringList before = chart();

    clickTab(1);
    ASSERT_EQ(f.PageControl1->currentIndex(), 1);
    f.Button6->click();
    EXPECT_EQ(status(), QString());
    EXPECT_FALSE(f.Button1->isEnabled());
    EXPECT_EQ(f.Memo1->count(), 0);
    EXPECT_EQ(f.draw.turnRow(), 0);
    EXPECT_EQ(chart(), before);
}

// The status line stays empty before a roster: beside it the page says why
// Start waits and what to do.
TEST_F(Prepare, BeforeARosterThePageSaysWhyStartWaits) {
    TForm1 &f = createWindow();
    clickTab(1);
    EXPECT_EQ(status(), QString());
    EXPECT_FALSE(f.Button1->isEnabled());
    ASSERT_TRUE(f.Label_NoRoster->isVisible());
    EXPECT_EQ(f.Label_NoRoster->text(),
              QStringLiteral("名簿がないのでスタートできません。\n「名簿」のページで開くか作ってください。"));
    for (const QWidget *w : std::initializer_list<const QWidget *>{f.Panel1, f.Image1, f.Label1, f.Button1,
                                                                   f.Label_Seed, f.Button6, f.Panel5})
        EXPECT_FALSE(f.Label_NoRoster->geometry().intersects(w->geometry())) << w->objectName().toStdString();
    EXPECT_LE(f.Label_NoRoster->sizeHint().width(), f.Label_NoRoster->width());
    EXPECT_LE(f.Label_NoRoster->sizeHint().height(), f.Label_NoRoster->height());

    // The open dialog cancelled brings no roster.
    {
        ModalDriver driver;
        driver.chooseFile(QString());
        f.ToolButton1->click();
    }
    EXPECT_TRUE(f.Label_NoRoster->isVisible());

    openRoster(classOf(48));
    EXPECT_FALSE(f.Label_NoRoster->isVisible());
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
}

// The big number shows what the class before drew last until another class
// comes in, opened or made; then 1, as at the start.
TEST_F(Prepare, AnotherClassShowsOneInTheBigNumberUntilItsFirstStart) {
    TForm1 &f = createWindow();
    keepSeats(3);
    std::vector<Pupil> students = classOf(3);
    students[0].seat = QStringLiteral("1");
    const auto drawTheRest = [&] {
        openRoster(students);
        finishDraw(3);
        ASSERT_NE(f.Label1->text(), QStringLiteral("1"));
    };
    drawTheRest();
    openRoster(classOf(3));
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));

    drawTheRest();
    ModalDriver driver;
    driver.press(QStringLiteral("いいえ(&N)")); // the roster drawn is not saved
    driver.then([](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setIntValue(3);
        dialog->accept();
    });
    f.Button_NewRoster->click();
    EXPECT_EQ(driver.pending(), 0);
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
}

TEST_F(Prepare, AFreshClassGetsEveryFreeSeatAndTheFirstStudentsTurn) {
    TForm1 &f = createWindow();
    keepSeats(30);
    EXPECT_TRUE(openRoster(classOf(30)).isEmpty());
    EXPECT_EQ(pool(), numbers(1, 30));
    EXPECT_EQ(f.Memo1->toPlainText(), numbers(1, 30).join(QLatin1Char('\n')));
    EXPECT_FALSE(f.Memo1->isVisible());
    EXPECT_EQ(f.draw.turnRow(), 1);
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    EXPECT_TRUE(f.Button1->isEnabled());
    EXPECT_EQ(f.Button1->text(), QStringLiteral("スタート"));
    // Preparation leaves the spin and the roster's saved state alone.
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Label1->text(), QStringLiteral("1"));
    EXPECT_FALSE(f.Modified);
}

// Preparation runs when the user turns to the draw page, at the end of the
// open command (also when it is cancelled) and on "再準備".
TEST_F(Prepare, RunsOnTurningToTheDrawPageOnOpeningAndOnThePrepareAgainButton) {
    TForm1 &f = createWindow();
    keepSeats(10);
    ASSERT_TRUE(openRoster(classOf(10)).isEmpty());

    setSeat(1, QStringLiteral("5"));
    clickTab(2); // another page: nothing
    EXPECT_EQ(pool(), numbers(1, 10));
    clickTab(1);
    EXPECT_EQ(pool(), numbers(1, 10, {5}));
    EXPECT_EQ(f.draw.turnRow(), 2);

    setSeat(2, QStringLiteral("7"));
    f.Button6->click();
    EXPECT_EQ(pool(), numbers(1, 10, {5, 7}));
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒03")));

    setSeat(3, QStringLiteral("1"));
    {
        ModalDriver cancel;
        cancel.chooseFile(QString());
        f.ToolButton1->click();
    }
    EXPECT_EQ(pool(), numbers(2, 10, {5, 7}));
    EXPECT_EQ(f.draw.turnRow(), 4);
    EXPECT_EQ(cellText(f.StringGrid1, 0, 0), QStringLiteral("生徒03"));
}

TEST_F(Prepare, CasesOfRosterAndLayout) {
    const QString countText = QStringLiteral("座席の数と人数があいません！");
    const QString rosterText = QStringLiteral("名簿の座席指定に誤りがあります！");
    struct Case {
        const char *what;
        int seats;
        int students;
        QStringList seatTexts; // of rows 1, 2, ...
        QString status;
        QStringList pool;
        int turnRow; // -1: not looked at
        QStringList boxes;
    };
    const Case cases[] = {
        {"one seat too many", 31, 30, {}, countText, {}, -1, {}},
        {"a layout of marks only", 0, 1, {}, countText, {}, -1, {}},
        {"seats held by rows 1 to 3", 30, 30, {"5", "1", "30"}, turnText("生徒04"), numbers(2, 29, {5}), 4, {}},
        {"a gap in row 2", 30, 30, {"5", "", "6"}, turnText("生徒02"), numbers(1, 30, {5, 6}), 2, {}},
        {"everybody seated", 3, 3, {"3", "1", "2"}, completeText, {}, 4, {}},
        {"a seat in the roster that is no seat",
         30,
         30,
         {"", "31"},
         rosterText,
         {},
         -1,
         {"くじ順02番の座席番号に正しい座席番号以外が入力されています"}},
        {"a seat held twice", 30, 30, {"4", "4"}, rosterText, {}, -1, {"名簿の座席番号4が重複しています。"}},
        // 05 and $2 are seats 5 and 2 to the pool as to the roster check: no
        // second student may draw them.
        {"05 holds seat 5", 5, 5, {"05", "1", "2", "3", "4"}, completeText, {}, 6, {}},
        {"$2 holds seat 2", 3, 3, {"$2"}, turnText("生徒02"), {"1", "3"}, 2, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        TForm1 &f = createWindow();
        keepSeats(c.seats);
        std::vector<Pupil> students = classOf(c.students);
        for (int i = 0; i < c.seatTexts.size(); ++i)
            students[static_cast<size_t>(i)].seat = c.seatTexts[i];
        QStringList shown;
        for (const SeenBox &box : openRoster(students)) {
            EXPECT_EQ(box.caption, QStringLiteral("エラー"));
            shown << box.text;
        }
        EXPECT_EQ(shown, c.boxes);
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(pool(), c.pool);
        const bool ready = c.status.endsWith(QStringLiteral("さんの番です！"));
        EXPECT_EQ(f.Button1->isEnabled(), ready);
        if (c.turnRow >= 0) {
            EXPECT_EQ(f.draw.turnRow(), c.turnRow);
        }
        const bool failed = c.status == countText || c.status == rosterText;
        if (failed) {
            EXPECT_EQ(chart(), QStringList(48, QString()));
        } else {
            EXPECT_EQ(chart().count(QString()), 0);
        }
        // Nothing changed: preparing again gives the same.
        const QStringList chartBefore = chart();
        ModalDriver again;
        for (int i = 0; i < c.boxes.size(); ++i)
            again.press(QStringLiteral("OK"));
        f.Button6->click();
        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(pool(), c.pool);
        EXPECT_EQ(chart(), chartBefore);
    }
}

// A failed preparation blanks the chart; a later one fills the seats in
// again, while the positions marked "×" stay blank until the layout is
// numbered again.
TEST_F(Prepare, AfterAFailureTheChartFillsItsSeatsAgainButNotItsMarks) {
    TForm1 &f = createWindow();
    keepSeats(3);
    std::vector<Pupil> students = classOf(3);
    students[1].seat = QStringLiteral("2");
    ASSERT_TRUE(openRoster(students).isEmpty());
    EXPECT_EQ(cellText(f.StringGrid1, 0, 1), QStringLiteral("生徒02"));
    EXPECT_EQ(cellText(f.StringGrid1, 5, 7), QStringLiteral("×"));

    f.StringGrid2->setGridRowCount(3); // two students for three seats
    f.Button6->click();
    EXPECT_EQ(status(), QStringLiteral("座席の数と人数があいません！"));
    EXPECT_EQ(cellText(f.StringGrid1, 0, 1), QString());

    f.StringGrid2->setGridRowCount(4);
    f.Button6->click();
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    EXPECT_EQ(cellText(f.StringGrid1, 0, 0), QStringLiteral("1"));
    EXPECT_EQ(cellText(f.StringGrid1, 0, 1), QStringLiteral("生徒02"));
    EXPECT_EQ(cellText(f.StringGrid1, 0, 2), QStringLiteral("3"));
    EXPECT_EQ(cellText(f.StringGrid1, 5, 7), QString());
}
