#include "model/ModelFixture.h"

#include "platform/Errors.h"
#include "roster/SeatTable.h"

using SeatLayoutModel = ModelTest;

TEST_F(SeatLayoutModel, SeatsAreNumberedColumnByColumnAroundTheMarks) {
    markNoSeat({{0, 7}, {1, 0}});
    EXPECT_EQ(layout.seatCount(), 46);
    EXPECT_EQ(layout.cell(0, 6), text("7"));
    EXPECT_EQ(layout.cell(0, 7), noSeatMark());
    EXPECT_EQ(layout.cell(1, 1), text("8")); // the column's first seat follows the marked front
    EXPECT_EQ(layout.cell(5, 7), text("46"));

    const struct {
        int seat;
        Position at;
    } cases[] = {{1, {0, 0}}, {7, {0, 6}}, {8, {1, 1}}, {46, {5, 7}}, {47, {}}, {0, {}}, {-3, {}}};
    for (const auto &c : cases)
        EXPECT_EQ(layout.position(SeatNumber(c.seat)), c.at) << c.seat;

    // A mark taken away again is a seat without a number until the seats are numbered.
    layout.toggle(0, 7);
    EXPECT_TRUE(layout.isSeatAt(0, 7));
    EXPECT_EQ(layout.cell(0, 7), SjisText());
    layout.renumber();
    EXPECT_EQ(layout.position(SeatNumber(8)), (Position{0, 7}));
}

// Only the plain decimal text of a number names a seat: a settings file can
// bring other forms of it, and the first position of a number counts.
TEST_F(SeatLayoutModel, APositionIsFoundByThePlainTextOfItsNumber) {
    layout.setCell(2, 0, text("05"));
    layout.setCell(3, 0, text("5"));
    layout.setCell(4, 0, text("99"));
    EXPECT_EQ(layout.position(SeatNumber(5)), (Position{0, 4}));
    EXPECT_EQ(layout.position(SeatNumber(99)), (Position{4, 0}));
    EXPECT_EQ(layout.position(SeatNumber(17)), Position{}); // its cell now holds "05"
    // The grid writes into the same cells; what is found follows them.
    layout.cells().setCell(0, 4, text("x"));
    EXPECT_EQ(layout.position(SeatNumber(5)), (Position{3, 0}));
}

TEST_F(SeatLayoutModel, DeskMatesShareADoubleDesk) {
    const struct {
        int seat, mate;
    } fresh[] = {{1, 9}, {9, 1}, {3, 11}, {20, 28}, {28, 20}, {33, 41}, {48, 40}, {0, 0}, {49, 0}};
    for (const auto &c : fresh)
        EXPECT_EQ(layout.deskMate(SeatNumber(c.seat)), SeatNumber(c.mate)) << c.seat;

    markNoSeat({{1, 4}}); // beside seat 5
    EXPECT_TRUE(layout.deskMate(SeatNumber(5)).isNone());
    EXPECT_EQ(layout.deskMate(SeatNumber(13)), SeatNumber(6));

    layout.setCell(1, 1, text("")); // beside seat 2: neither a mark nor a number
    EXPECT_THROW(layout.deskMate(SeatNumber(2)), ConversionError);
}

TEST_F(SeatLayoutModel, TheSeatTableHoldsWhoSitsWhereAndTheChartShowsIt) {
    classOf(48, {{3, 12}, {7, 1}});
    students.setCell(roster::nameCol, 7, SjisText());
    SeatTable seats;
    seats.rebuild(students);
    EXPECT_EQ(seats[SeatNumber(12)].name, text("s3"));
    EXPECT_EQ(seats[SeatNumber(12)].seatText, text("12"));
    EXPECT_EQ(seats[SeatNumber(1)].attendance, text("7"));
    EXPECT_TRUE(seats[SeatNumber(2)].name.isEmpty());
    EXPECT_TRUE(seats[SeatNumber(0)].name.isEmpty());
    EXPECT_TRUE(seats[SeatNumber(49)].name.isEmpty());

    markNoSeat({{5, 7}});
    EXPECT_EQ(seats.chartText(layout, 1, 3), text("s3")); // seat 12
    EXPECT_EQ(seats.chartText(layout, 0, 0), text("1"));  // a student without a name shows the number
    EXPECT_EQ(seats.chartText(layout, 0, 1), text("2"));  // nobody sits there
    EXPECT_EQ(seats.chartText(layout, 5, 7), std::nullopt);

    // A seat text the roster holds that is no integer text.
    students.setCell(roster::seatCol, 9, text("abc"));
    EXPECT_THROW(seats.rebuild(students), ConversionError);
}
