#include "support/DrawTest.h"
#include "draw/Random.h"
#include "platform/Errors.h"
#include "widgets/TextList.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <map>

class Neighbour : public DrawTest {
protected:
    // The 48 students with these seats given, by roster row.
    void openWithSeats(const std::map<int, int> &seats) {
        std::vector<Pupil> students = classOf(48);
        for (const auto &[row, seat] : seats)
            students[static_cast<size_t>(row - 1)].seat = QString::number(seat);
        ASSERT_TRUE(openRoster(students).isEmpty());
    }
    // Ticks the tick handler until it shows this number.
    void tickUntil(const QString &number) {
        for (int i = 0; i < 10000 && form().Label1->text() != number; ++i)
            form().Timer1Timer();
        ASSERT_EQ(form().Label1->text(), number);
    }
    // Marks a position; students holding seats keep their places, as the
    // teacher agrees to.
    void mark(int col, int row) {
        ModalDriver driver;
        driver.pressIfShown(QStringLiteral("はい(&Y)"));
        clickCell(form().StringGrid_Settei, col, row);
    }
};

TEST_F(Neighbour, TheDeskMateSeatOfASeat) {
    TForm1 &f = createWindow();
    const struct {
        int seat, mate;
    } fresh[] = {{1, 9}, {9, 1}, {3, 11}, {11, 3}, {20, 28}, {28, 20}, {33, 41}, {40, 48}, {48, 40}, {0, 0}, {49, 0}, {-1, 0}};
    for (const auto &c : fresh)
        EXPECT_EQ(f.Otonari(c.seat), c.mate) << c.seat;

    mark(1, 4); // the position beside seat 5
    EXPECT_EQ(f.Otonari(5), 0);
    EXPECT_EQ(f.Otonari(12), 4);
    EXPECT_EQ(f.Otonari(13), 6); // the seats after the mark moved down by one
}

// The worked examples: the roster order stands for the previous seats, so
// the student of row 11 sat beside the student of row 3 (seats 11 and 3).
TEST_F(Neighbour, WorkedExamples) {
    TForm1 &f = createWindow();
    openWithSeats({{3, 20}, {1, 48}});
    const struct {
        int row, drawn;
        bool refused;
    } cases[] = {
        {11, 28, true}, {11, 19, false}, {11, 21, false}, {11, 12, false}, {11, 27, false},
        {9, 40, true},  {9, 39, false},  {9, 47, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(f.Otonaricheck(c.row, c.drawn), c.refused) << c.row << " drawing " << c.drawn;
    // The one who draws first is never refused on the other's account.
    for (int d = 1; d <= 48; ++d)
        EXPECT_FALSE(f.Otonaricheck(3, d)) << d;

    mark(1, 4);
    for (int d = 1; d <= 47; ++d)
        EXPECT_FALSE(f.Otonaricheck(5, d)) << "seat 5 had no desk-mate";
    // The previous desk-mate's new seat has a mark beside it: nothing to refuse.
    setSeat(3, QStringLiteral("5"));
    for (int d = 1; d <= 47; ++d)
        EXPECT_FALSE(f.Otonaricheck(11, d)) << d;
}

TEST_F(Neighbour, TextThatIsNoNumberRaisesTheConversionError) {
    TForm1 &f = createWindow();
    openWithSeats({{3, 20}});
    f.StringGrid_Settei->setCell(1, 1, SjisText()); // beside seat 2
    try {
        f.Otonari(2);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'' は整数ではありません"));
    }
    setSeat(3, QStringLiteral("二十"));
    try {
        f.Otonaricheck(11, 28);
        ADD_FAILURE() << "no error";
    } catch (const ConversionError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("'二十' は整数ではありません"));
    }
}

TEST_F(Neighbour, ARefusedStopSpinsOnWithTheSameStudent) {
    TForm1 &f = createWindow();
    // Rows 1 to 10 seated, row 3 on seat 20: row 11 draws next.
    openWithSeats({{1, 30}, {2, 31}, {3, 20}, {4, 33}, {5, 34}, {6, 35}, {7, 36}, {8, 37}, {9, 38}, {10, 39}});
    ASSERT_EQ(status(), turnText(QStringLiteral("生徒11")));
    f.CB_tonari->setChecked(true);
    clickWithoutBox();
    tickUntil(QStringLiteral("28"));

    QPoint centre;
    for (int attempt = 0; attempt < 2; ++attempt) { // the second before any tick
        const SeenBox box = stop([&](QWidget *w) {
            centre = w->frameGeometry().center();
            EXPECT_FALSE(f.Timer1->isActive());
        });
        EXPECT_EQ(box.text, refusalText);
        EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_LE((centre - QGuiApplication::primaryScreen()->availableGeometry().center()).manhattanLength(), 8);
        EXPECT_TRUE(f.Timer1->isActive());
        EXPECT_EQ(f.Button1->text(), QStringLiteral("ストップ"));
        EXPECT_TRUE(f.draw.spinShown());
        EXPECT_EQ(f.Memo1->count(), 38);
        EXPECT_EQ(seatOf(11), QString());
        EXPECT_FALSE(f.Modified);
        EXPECT_EQ(status(), turnText(QStringLiteral("生徒11")));
    }
    tickUntil(QStringLiteral("27"));
    EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒11"), QStringLiteral("27")));
}

// The stop the rule refuses above goes through with the switch off.
TEST_F(Neighbour, WithTheSwitchOffTheRuleIsNotAsked) {
    createWindow();
    openWithSeats({{1, 30}, {2, 31}, {3, 20}, {4, 33}, {5, 34}, {6, 35}, {7, 36}, {8, 37}, {9, 38}, {10, 39}});
    clickWithoutBox();
    tickUntil(QStringLiteral("28"));
    EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒11"), QStringLiteral("28")));
    EXPECT_EQ(seatOf(11), QStringLiteral("28"));
}

TEST_F(Neighbour, TheRuleGivesWayOnTheLastSeat) {
    TForm1 &f = createWindow();
    // Everybody but row 11 seated, row 3 on 20, only 28 left.
    std::map<int, int> seats{{3, 20}};
    int next = 1;
    for (int row = 1; row <= 48; ++row) {
        if (row == 3 || row == 11)
            continue;
        while (next == 20 || next == 28)
            ++next;
        seats[row] = next++;
    }
    openWithSeats(seats);
    ASSERT_EQ(pool(), QStringList{QStringLiteral("28")});
    f.CB_tonari->setChecked(true);
    ASSERT_TRUE(f.Otonaricheck(11, 28));
    EXPECT_EQ(drawOnce().text, announcement(QStringLiteral("生徒11"), QStringLiteral("28")));
    EXPECT_EQ(status(), completeText);
}

// After a finished change turned into the next draw order, many whole draws
// with the rule on: no former desk-mates share a desk, except where the
// second of them drew the very last seat.
TEST_F(Neighbour, ManySeededDrawsKeepFormerDeskMatesApart) {
    TForm1 &f = createWindow();
    ASSERT_TRUE(openRoster(classOf(48)).isEmpty());
    rng::seed(2026);
    for (int i = 0; i < 48; ++i)
        ASSERT_NE(drawOnce().text, refusalText);
    ASSERT_EQ(status(), completeText);
    f.ToolButton4->click();
    f.CB_tonari->setChecked(true);

    int refusals = 0;
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        for (int row = 1; row <= 48; ++row)
            setSeat(row, QString());
        f.Button6->click();
        rng::seed(seed);
        std::map<int, int> freeAtStop; // roster row: seats free when it got its own
        for (int stops = 0; f.Button1->isEnabled() && stops < 2000; ++stops) {
            const int row = f.draw.turnRow();
            const int free = f.Memo1->count();
            const SeenBox box = drawOnce();
            if (box.text == refusalText) {
                ++refusals;
                continue;
            }
            ASSERT_EQ(box.text, announcement(cellText(f.StringGrid2, 2, row), seatOf(row)));
            freeAtStop[row] = free;
        }
        ASSERT_EQ(status(), completeText);
        for (int row = 1; row <= 48; ++row) {
            const int mate = f.Otonari(row);
            if (mate == 0 || f.Otonari(seatOf(row).toInt()) != seatOf(mate).toInt())
                continue;
            const int second = freeAtStop[row] < freeAtStop[mate] ? row : mate;
            EXPECT_EQ(freeAtStop[second], 1) << "rows " << row << " and " << mate << " share a desk again";
        }
    }
    EXPECT_GT(refusals, 0) << "the rule never had anything to refuse";
}
