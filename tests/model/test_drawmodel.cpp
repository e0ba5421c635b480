#include "model/ModelFixture.h"

#include "draw/Draw.h"
#include "draw/NeighbourRule.h"
#include "draw/Random.h"

#include <vector>

namespace {

std::vector<SeatNumber> seatsFrom(int from, int to, std::initializer_list<int> without = {}) {
    std::vector<SeatNumber> out;
    for (int s = from; s <= to; ++s)
        if (std::find(without.begin(), without.end(), s) == without.end())
            out.push_back(SeatNumber(s));
    return out;
}

} // namespace

class DrawModel : public ModelTest {
protected:
    // Ticks until the number on show is this seat.
    void tickUntil(int seat) {
        for (int i = 0; i < 10000 && draw.shown() != SeatNumber(seat); ++i)
            draw.tick(students);
        ASSERT_EQ(draw.shown(), SeatNumber(seat));
    }

    Draw draw;
};

// The roster order stands for the previous seats: the student of row 11 sat
// at seat 11, beside the student of row 3 at seat 3.
TEST_F(DrawModel, TheNeighbourRuleRefusesThePreviousDeskMateOnly) {
    classOf(48, {{3, 20}, {1, 48}});
    const struct {
        const char *what;
        int row, drawn;
        bool refused;
    } cases[] = {
        {"beside the previous desk-mate's new seat", 11, 28, true},
        {"in front of it", 11, 19, false},
        {"behind it", 11, 21, false},
        {"the desk-mate's old desk", 11, 12, false},
        {"across the aisle", 11, 27, false},
        {"the other pair, beside seat 48", 9, 40, true},
        {"the other pair, elsewhere", 9, 39, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(neighbour::repeatsDeskMate(layout, students, c.row, SeatNumber(c.drawn)), c.refused) << c.what;

    // The one who draws first is never refused on the other's account.
    for (int d = 1; d <= 48; ++d)
        EXPECT_FALSE(neighbour::repeatsDeskMate(layout, students, 3, SeatNumber(d))) << d;
    // A previous seat without a desk-mate.
    markNoSeat({{1, 4}});
    for (int d = 1; d <= 47; ++d)
        EXPECT_FALSE(neighbour::repeatsDeskMate(layout, students, 5, SeatNumber(d))) << d;
}

TEST_F(DrawModel, TheRosterCheckNamesWhatIsWrongWithTheSeats) {
    const struct {
        const char *what;
        std::map<int, const char *> seats; // by row
        std::optional<SjisText> fault;
    } cases[] = {
        {"no seats yet", {}, std::nullopt},
        {"seats of the layout, once each", {{1, "1"}, {2, "30"}, {3, "$1D"}}, std::nullopt},
        {"beyond the layout", {{4, "31"}}, text("くじ順4番の座席番号に正しい座席番号以外が入力されています")},
        {"no seat number", {{2, "0"}}, text("くじ順2番の座席番号に正しい座席番号以外が入力されています")},
        {"not a number", {{5, "a"}}, text("くじ順5番の座席番号に正しい座席番号以外が入力されています")},
        {"twice", {{2, "7"}, {6, "7"}}, text("名簿の座席番号7が重複しています。")},
    };
    for (const auto &c : cases) {
        classOf(30);
        for (int r = 1; r <= 30; ++r)
            students.setCell(roster::seatCol, r, SjisText());
        for (const auto &[row, seat] : c.seats)
            students.setCell(roster::seatCol, row, text(seat));
        EXPECT_EQ(students.seatFault(30), c.fault) << c.what;
    }
}

TEST_F(DrawModel, PreparationPoolsTheFreeSeatsAndFindsTheFirstTurn) {
    classOf(10, {{1, 3}, {2, 1}});
    students.setCell(roster::seatCol, 4, text("05")); // held all the same
    draw.prepare(students, 10);
    EXPECT_EQ(draw.pool(), seatsFrom(1, 10, {1, 3, 5}));
    EXPECT_EQ(draw.turnRow(), 3);
    draw.showTurn(students);
    EXPECT_EQ(draw.screen().status, QStringLiteral("s3さんの番です！"));
    EXPECT_TRUE(draw.screen().buttonEnabled);

    // Every student holds a seat.
    for (int r : {3, 5, 6, 7, 8, 9, 10})
        students.setSeat(r, SeatNumber(r == 3 ? 2 : r == 5 ? 4 : r));
    draw.prepare(students, 10);
    EXPECT_TRUE(draw.pool().empty());
    draw.showTurn(students);
    EXPECT_EQ(draw.screen().status, QStringLiteral("座席表が完成しました！"));
    EXPECT_FALSE(draw.screen().buttonEnabled);
}

TEST_F(DrawModel, AStopGivesTheSeatOnShowOrSaysWhyNot) {
    rng::seed(7);
    classOf(4);
    draw.prepare(students, 4);
    draw.start();
    EXPECT_EQ(draw.screen().button, QStringLiteral("ストップ"));
    EXPECT_EQ(draw.stop(students, layout, false), Draw::Stop::NotYet) << "nothing shown yet";

    tickUntil(3);
    EXPECT_TRUE(draw.spinShown());
    EXPECT_EQ(draw.stop(students, layout, false), Draw::Stop::Accepted);
    draw.accept(students);
    EXPECT_EQ(students.cell(roster::seatCol, 1), text("3"));
    EXPECT_EQ(draw.pool(), seatsFrom(1, 4, {3}));
    EXPECT_FALSE(draw.spinShown());
    EXPECT_EQ(draw.screen().button, QStringLiteral("スタート"));
    EXPECT_EQ(draw.turnRow(), 1) << "the turn passes only when told";
    draw.passTurn(students);
    EXPECT_EQ(draw.turnRow(), 2);

    // A preparation after the tick rebuilds the pool: the number on show
    // waits for a tick of the new pool.
    draw.start();
    tickUntil(4);
    students.setSeat(3, SeatNumber(1));
    draw.prepare(students, 4);
    ASSERT_EQ(draw.pool(), seatsFrom(2, 4, {3}));
    EXPECT_EQ(draw.stop(students, layout, false), Draw::Stop::NotYet);

    // The student whose turn it is got a seat meanwhile: the turn moves on.
    tickUntil(2);
    students.setSeat(2, SeatNumber(4));
    EXPECT_EQ(draw.stop(students, layout, false), Draw::Stop::SeatAlreadyHeld);
    EXPECT_EQ(draw.turnRow(), 4);
    EXPECT_EQ(draw.pool(), seatsFrom(2, 4, {3})) << "nothing given";
}

TEST_F(DrawModel, TheNeighbourRuleRefusesAStopAndGivesWayAtTheLastSeat) {
    rng::seed(11);
    // Rows 1 and 9 sat together; row 1 now holds seat 20, so seat 28 beside
    // it is refused to row 9.
    classOf(48, {{1, 20}});
    const std::vector<SeatNumber> others = seatsFrom(1, 48, {20, 28});
    auto next = others.begin();
    for (int r = 2; r <= 48; ++r)
        if (r != 9)
            students.setSeat(r, *next++);
    draw.prepare(students, 48);
    ASSERT_EQ(draw.turnRow(), 9);
    ASSERT_EQ(draw.pool(), seatsFrom(28, 28)) << "one seat left";
    draw.start();
    tickUntil(28);
    EXPECT_EQ(draw.stop(students, layout, true), Draw::Stop::Accepted) << "the rule gives way";

    students.setSeat(48, SeatNumber());
    students.setSeat(9, SeatNumber());
    draw.prepare(students, 48);
    ASSERT_EQ(draw.pool(), (std::vector<SeatNumber>{SeatNumber(28), SeatNumber(48)}));
    draw.start();
    tickUntil(28);
    EXPECT_EQ(draw.stop(students, layout, true), Draw::Stop::Refused);
    EXPECT_TRUE(draw.spinShown()) << "the spin goes on";
    EXPECT_EQ(draw.stop(students, layout, false), Draw::Stop::Accepted) << "with the rule off";
    tickUntil(48);
    EXPECT_EQ(draw.stop(students, layout, true), Draw::Stop::Accepted);
}
