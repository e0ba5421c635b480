#include "model/ModelFixture.h"

#include "draw/ConditionsInForce.h"
#include "draw/Draw.h"
#include "draw/Random.h"
#include "draw/SeatingPlan.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace {

bool near(Position a, Position b) {
    return std::abs(a.col - b.col) <= 1 && std::abs(a.row - b.row) <= 1 && !(a == b);
}

bool sameDesk(Position a, Position b) {
    return a.row == b.row && a.col / 2 == b.col / 2 && !(a == b);
}

// The chi-square value above which a uniform draw lands once in a thousand,
// for these degrees of freedom (Wilson and Hilferty's approximation).
double chiSquareLimit(int freedom) {
    const double k = freedom;
    const double z = 3.09; // the normal quantile of 0.999
    return k * std::pow(1 - 2 / (9 * k) + z * std::sqrt(2 / (9 * k)), 3);
}

} // namespace

class PlanModel : public ModelTest {
protected:
    // Every position but these holds no seat; the seats numbered again.
    void keepOnly(std::initializer_list<std::pair<int, int>> positions) {
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r)
                layout.setCell(c, r, noSeatMark());
        for (const auto &[c, r] : positions)
            layout.setCell(c, r, SjisText());
        layout.renumber();
    }
    Position where(int row) const { return layout.position(SeatNumber::parse(students.cell(roster::seatCol, row))); }

    // A whole draw as the window runs it: a tick and an accepted stop per
    // student. Answers false where a stop was not accepted.
    bool drawAll(Draw &draw, const DrawConditions &conditions) {
        draw.prepare(students, layout.seatCount());
        draw.keep(conditions, layout, layout.seatCount());
        while (students.isWithoutSeat(draw.turnRow())) {
            draw.start();
            draw.tick(students);
            if (draw.stop(students, layout, true) != Draw::Stop::Accepted)
                return false;
            draw.accept(students);
            draw.passTurn(students);
        }
        return true;
    }
    void emptySeats() {
        for (int r = 1; r < students.rowCount(); ++r)
            students.setSeat(r, SeatNumber());
    }
};

TEST_F(PlanModel, EveryDrawnSeatingKeepsFrontSeatsPairsApartAndFormerDeskMates) {
    classOf(48);
    DrawConditions c;
    c.front = {{5, 1}, {17, 1}, {30, 2}, {41, 3}};
    c.pairs = {{1, 2, DrawConditions::Apart::Near, false},
               {3, 4, DrawConditions::Apart::Near, false},
               {30, 41, DrawConditions::Apart::Near, false},
               {6, 7, DrawConditions::Apart::DeskMates, true},
               {8, 9, DrawConditions::Apart::DeskMates, true}};
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        rng::seed(seed);
        emptySeats();
        Draw draw;
        ASSERT_TRUE(drawAll(draw, c));
        EXPECT_EQ(where(5).row, 0);
        EXPECT_EQ(where(17).row, 0);
        EXPECT_LE(where(30).row, 1);
        EXPECT_LE(where(41).row, 2);
        for (const DrawConditions::Pair &p : c.pairs) {
            const Position a = where(p.row);
            const Position b = where(p.otherRow);
            EXPECT_FALSE(p.kind == DrawConditions::Apart::Near ? near(a, b) : sameDesk(a, b)) << p.row << "-" << p.otherRow;
        }
    }
}

// Three seats in a row and two students kept apart: a student who took the
// middle seat would leave the other none, so the spin never shows it to them.
TEST_F(PlanModel, TheSpinShowsOnlySeatsThatLeaveEveryLaterStudentASeat) {
    keepOnly({{0, 0}, {1, 0}, {2, 0}});
    classOf(3);
    Draw draw;
    draw.prepare(students, 3);
    EXPECT_EQ(draw.seatsTheSpinMayShow(students), draw.pool()) << "without conditions, the pool";
    DrawConditions c;
    c.pairs = {{1, 2, DrawConditions::Apart::Near, false}};
    draw.keep(c, layout, 3);
    EXPECT_EQ(draw.seatsTheSpinMayShow(students), (std::vector<SeatNumber>{SeatNumber(1), SeatNumber(3)}));
    rng::seed(5);
    for (int i = 0; i < 50; ++i) {
        emptySeats();
        ASSERT_TRUE(drawAll(draw, c));
        EXPECT_EQ(students.cell(roster::seatCol, 3), text("2"));
    }
}

// Seats already written in the roster stay: their neighbours keep the pairs.
TEST_F(PlanModel, AHeldSeatStaysAndKeepsItsPartnerAway) {
    classOf(48, {{1, 9}}); // row 1 holds seat 9, at (1, 0)
    DrawConditions c;
    c.pairs = {{1, 2, DrawConditions::Apart::Near, false}};
    const SeatingPlan plan(students, layout, 48, c);
    EXPECT_EQ(plan.students().front(), 2);
    const std::vector<SeatNumber> allowed = plan.seatsFor(2);
    for (const int forbidden : {1, 2, 10, 17, 18})
        EXPECT_EQ(std::count(allowed.begin(), allowed.end(), SeatNumber(forbidden)), 0) << forbidden;
    EXPECT_EQ(allowed.size(), 47u - 5u);
}

TEST_F(PlanModel, ConditionsThatCannotBeMetAreNamed) {
    using Apart = DrawConditions::Apart;
    const std::vector<std::pair<int, int>> twoDesks{{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const struct {
        const char *what;
        std::vector<std::pair<int, int>> seatsAt; // none: the full layout
        int students;
        std::map<int, int> held;
        std::vector<DrawConditions::Front> front;
        std::vector<DrawConditions::Pair> pairs;
        QString conflict;
        bool history;
    } cases[] = {
        {"seven front seats for the six of the first row", {}, 48, {},
         {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {7, 1}}, {},
         QStringLiteral("前の席の生徒7人に、前から1行の空席は6席です"), false},
        {"a pair to keep apart with one double desk left", {{0, 0}, {1, 0}}, 2, {}, {},
         {{1, 2, Apart::Near, false}}, QStringLiteral("s1さんとs2さんを離して座らせられません"), false},
        {"a front seat beside a seated partner", twoDesks, 4, {{1, 1}}, {{2, 1}},
         {{1, 2, Apart::Near, false}}, QStringLiteral("s2さんの座れる席がありません"), false},
        {"two desks and three rounds of every pairing", twoDesks, 4, {}, {},
         {{1, 2, Apart::DeskMates, true}, {3, 4, Apart::DeskMates, true}, {1, 3, Apart::DeskMates, true},
          {2, 4, Apart::DeskMates, true}, {1, 4, Apart::DeskMates, true}, {2, 3, Apart::DeskMates, true}},
         QStringLiteral("前に隣同士だった人を離す座り方がありません"), true},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.what);
        if (k.seatsAt.empty()) {
            for (int col = 0; col < layout::columns; ++col)
                for (int row = 0; row < layout::rows; ++row)
                    layout.setCell(col, row, SjisText());
            layout.renumber();
        } else {
            for (int col = 0; col < layout::columns; ++col)
                for (int row = 0; row < layout::rows; ++row)
                    layout.setCell(col, row, noSeatMark());
            for (const auto &[col, row] : k.seatsAt)
                layout.setCell(col, row, SjisText());
            layout.renumber();
        }
        classOf(k.students, k.held);
        DrawConditions c;
        c.front = k.front;
        c.pairs = k.pairs;
        const conditionsinforce::Finding f = conditionsinforce::examine(students, layout, layout.seatCount(), c);
        EXPECT_EQ(f.verdict, SeatingPlan::Verdict::Impossible);
        EXPECT_EQ(f.conflict, k.conflict);
        EXPECT_EQ(f.historyIsTheCause, k.history);
        // Nothing is drawn where nothing can be.
        EXPECT_TRUE(SeatingPlan(students, layout, layout.seatCount(), c).drawSeating().empty());
    }
}

// Conditions so tight that rejection would want millions of tries: twelve
// students on twelve seats, each with one desk-mate left after ten rounds of
// a round robin, and pairs kept apart besides (48 of the 479,001,600
// seatings keep them all). The search draws the seating instead, and it
// keeps every condition; the tally of the effort says which way each draw
// went.
TEST_F(PlanModel, ASeatingTooRareForRejectionIsDrawnByTheSearch) {
    keepOnly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
    classOf(12);
    DrawConditions tight;
    // In round r student 12 sits with r + 1, and r + 1 + i with r + 1 - i (mod 11).
    for (int r = 0; r < 10; ++r) {
        tight.pairs.push_back({r + 1, 12, DrawConditions::Apart::DeskMates, true});
        for (int i = 1; i <= 5; ++i)
            tight.pairs.push_back({(r + i) % 11 + 1, (r + 11 - i) % 11 + 1, DrawConditions::Apart::DeskMates, true});
    }
    for (const auto &[a, b] : {std::pair{6, 10}, {3, 9}, {7, 11}, {3, 4}, {2, 8}, {8, 9}, {4, 5}, {1, 2}, {1, 8},
                               {10, 12}, {2, 3}, {5, 7}})
        tight.pairs.push_back({a, b, DrawConditions::Apart::Near, false});

    const struct {
        const char *what;
        DrawConditions conditions;
        std::uint64_t tries;
        std::uint64_t searches;
    } cases[] = {
        {"no conditions: the first try", {}, 1, 0},
        {"tight: every try, then the search", tight, SeatingPlan::rejectionBudget, 1},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.what);
        const SeatingPlan plan(students, layout, 12, k.conditions);
        ASSERT_EQ(plan.verdict(), SeatingPlan::Verdict::Possible);
        rng::seed(7);
        const SeatingPlan::Effort before = SeatingPlan::effort();
        EXPECT_TRUE(plan.keeps(plan.drawSeating()));
        EXPECT_EQ(SeatingPlan::effort().tries - before.tries, k.tries);
        EXPECT_EQ(SeatingPlan::effort().searches - before.searches, k.searches);
    }
}

// The whole seating a draw produces is uniform over every seating that keeps
// the conditions: on a class small enough to list them all, the frequencies
// of many seeded draws pass a chi-square test. Drawn as the window draws,
// one tick and one stop per student.
TEST_F(PlanModel, WholeSeatingsComeOutUniformly) {
    keepOnly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}});
    classOf(8);
    DrawConditions c;
    c.front = {{1, 1}, {2, 1}, {3, 1}};
    c.pairs = {{1, 2, DrawConditions::Apart::Near, false},
               {4, 5, DrawConditions::Apart::Near, false},
               {3, 4, DrawConditions::Apart::DeskMates, true},
               {5, 6, DrawConditions::Apart::DeskMates, true},
               {7, 8, DrawConditions::Apart::DeskMates, true}};

    // Every valid seating, listed.
    const SeatingPlan plan(students, layout, 8, c);
    std::vector<SeatNumber> seating;
    for (int s = 1; s <= 8; ++s)
        seating.push_back(SeatNumber(s));
    std::map<std::vector<SeatNumber>, int> count;
    do
        if (plan.keeps(seating))
            count[seating] = 0;
    while (std::next_permutation(seating.begin(), seating.end()));
    const int valid = static_cast<int>(count.size());
    ASSERT_GT(valid, 50);

    const int draws = valid * 60;
    rng::seed(4242);
    for (int i = 0; i < draws; ++i) {
        emptySeats();
        Draw draw;
        ASSERT_TRUE(drawAll(draw, c));
        std::vector<SeatNumber> got;
        for (int r = 1; r <= 8; ++r)
            got.push_back(SeatNumber::parse(students.cell(roster::seatCol, r)));
        auto it = count.find(got);
        ASSERT_NE(it, count.end()) << "a seating that breaks a condition";
        ++it->second;
    }
    const double expected = static_cast<double>(draws) / valid;
    double chi = 0;
    for (const auto &[s, n] : count)
        chi += (n - expected) * (n - expected) / expected;
    EXPECT_LT(chi, chiSquareLimit(valid - 1)) << valid << " seatings, " << draws << " draws";

    // Seat by seat the choice is not uniform among the allowed seats: the
    // seats that leave more ways for the rest come up more often, which the
    // plain pick would miss. The first student's seats show it.
    std::map<SeatNumber, int> firstSeat;
    for (const auto &[s, n] : count)
        firstSeat[s[0]] += 1;
    int fewest = valid;
    int most = 0;
    for (const auto &[s, n] : firstSeat) {
        fewest = std::min(fewest, n);
        most = std::max(most, n);
    }
    EXPECT_LT(fewest, most) << "the example shows no difference between seats";
}
