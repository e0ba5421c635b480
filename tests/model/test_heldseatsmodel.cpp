#include "model/ModelFixture.h"

#include "roster/HeldSeats.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

// Rows 5 to 7 without seats: 30 seats, five down each column. Seat s stands
// at column (s - 1) / 5, row (s - 1) % 5.
class HeldSeatsModel : public ModelTest {
protected:
    HeldSeatsModel() {
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 5; r < layout::rows; ++r)
                layout.setCell(c, r, noSeatMark());
        layout.renumber();
        classOf(30);
    }
    // Rows 1 to n hold the seat of their own number.
    void ownSeats(int n) {
        for (int r = 1; r <= n; ++r)
            students.setSeat(r, SeatNumber(r));
    }
    QString seatOf(int row) const { return students.cell(roster::seatCol, row).toUnicode(); }
};

} // namespace

// A click on the layout: the students stay where the draw put them, and the
// roster takes the numbers their places have after it.
TEST_F(HeldSeatsModel, AClickKeepsTheStudentsAtTheirPlaces) {
    struct Case {
        const char *what;
        int ownSeats;                                   // rows 1 to n hold seat n
        std::vector<std::pair<int, const char *>> held; // further rows and their seat texts
        std::vector<int> nameless;
        int col, row; // the position clicked
        const char *question;
        std::vector<std::pair<int, const char *>> after;
    };
    const Case cases[] = {
        {"a mark made a seat moves the later numbers up",
         30,
         {},
         {},
         1,
         7,
         "座席が決まっている生徒が30人います。\n"
         "座席の番号が振り直されます。生徒の席の場所は変えずに、20人の座席番号を新しい番号に書き換えます。\n"
         "座席は31席になり、名簿の30人と合わなくなります。\n"
         "座席の配置を変えますか？",
         {{5, "5"}, {10, "10"}, {11, "12"}, {30, "31"}}},
        {"a held seat made no seat loses its student",
         30,
         {},
         {},
         0,
         4,
         "座席が決まっている生徒が30人います。\n"
         "座席の番号が振り直されます。生徒の席の場所は変えずに、25人の座席番号を新しい番号に書き換えます。\n"
         "s5さんの席（5番）はなくなるため、座席番号を空にします。\n"
         "座席は29席になり、名簿の30人と合わなくなります。\n"
         "座席の配置を変えますか？",
         {{4, "4"}, {5, ""}, {6, "5"}, {30, "29"}}},
        {"a change behind every seat held leaves them as they are",
         10,
         {},
         {},
         5,
         4,
         "座席が決まっている生徒が10人います。\n"
         "生徒の席と座席番号は変わりません。\n"
         "座席は29席になり、名簿の30人と合わなくなります。\n"
         "座席の配置を変えますか？",
         {{1, "1"}, {10, "10"}}},
        {"numbers that name no place go, other forms of a number are read",
         0,
         {{1, "05"}, {2, "31"}, {3, "abc"}, {4, "12"}},
         {},
         0,
         0,
         "座席が決まっている生徒が4人います。\n"
         "座席の番号が振り直されます。生徒の席の場所は変えずに、2人の座席番号を新しい番号に書き換えます。\n"
         "座席の配置にない座席番号の2人は、座席番号を空にします。\n"
         "座席は29席になり、名簿の30人と合わなくなります。\n"
         "座席の配置を変えますか？",
         {{1, "4"}, {2, ""}, {3, ""}, {4, "11"}}},
        {"a student without a name is named by the draw order",
         0,
         {{7, "1"}},
         {7},
         0,
         0,
         "座席が決まっている生徒が1人います。\n"
         "くじ順7番の生徒の席（1番）はなくなるため、座席番号を空にします。\n"
         "座席は29席になり、名簿の30人と合わなくなります。\n"
         "座席の配置を変えますか？",
         {{7, ""}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        layout.renumber();
        classOf(30);
        for (int r = 1; r <= 30; ++r)
            students.setSeat(r, SeatNumber());
        ownSeats(c.ownSeats);
        for (const auto &[row, seat] : c.held)
            students.setCell(roster::seatCol, row, text(seat));
        for (const int row : c.nameless)
            students.setCell(roster::nameCol, row, SjisText());
        std::vector<Position> before;
        for (int r = 1; r <= 30; ++r)
            before.push_back(layout.position(SeatNumber(students.cell(roster::seatCol, r).toUnicode().toInt())));

        SeatLayout next(layout);
        next.toggle(c.col, c.row);
        next.renumber();
        const LayoutChange change(students, layout, next, LayoutChange::Follow::Places);
        EXPECT_EQ(change.question(), QString::fromUtf8(c.question));
        EXPECT_EQ(change.applyTo(students), change.movesSeats());
        for (const auto &[row, seat] : c.after)
            EXPECT_EQ(seatOf(row), QString::fromUtf8(seat)) << "row " << row;
        // Whoever keeps a seat keeps the place.
        for (int r = 1; r <= 30; ++r) {
            if (!students.isWithoutSeat(r)) {
                EXPECT_EQ(next.position(SeatNumber(seatOf(r).toInt())), before[static_cast<size_t>(r - 1)])
                    << "row " << r;
            }
        }
    }
}

// A settings file opened: the numbers stay and name the new layout's seats.
TEST_F(HeldSeatsModel, ASettingsFileKeepsTheNumbersAndSaysWhoseSeatsMove) {
    ownSeats(30);
    // Five columns of six rows: seats 1 to 5 stand where they stood.
    SeatLayout sixRows;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            sixRows.setCell(c, r, c == 5 || r >= 6 ? noSeatMark() : SjisText());
    sixRows.renumber();
    const LayoutChange rearranged(students, layout, sixRows, LayoutChange::Follow::Numbers);
    EXPECT_TRUE(rearranged.movesSeats());
    EXPECT_EQ(rearranged.question(), QStringLiteral("座席が決まっている生徒が30人います。\n"
                                                    "この設定ファイルの座席の配置では、名簿の座席番号はそのままで、"
                                                    "25人の座席番号が今とは別の場所の席を指すようになります。\n"
                                                    "設定ファイルを開きますか？"));
    EXPECT_FALSE(rearranged.applyTo(students));
    EXPECT_EQ(seatOf(30), QStringLiteral("30"));

    // Two seats fewer at the back: seats 29 and 30 are nowhere.
    SeatLayout smaller(layout);
    smaller.setCell(5, 3, noSeatMark());
    smaller.setCell(5, 4, noSeatMark());
    const LayoutChange shrunk(students, layout, smaller, LayoutChange::Follow::Numbers);
    EXPECT_EQ(shrunk.question(), QStringLiteral("座席が決まっている生徒が30人います。\n"
                                                "この設定ファイルの座席の配置では、名簿の座席番号はそのままで、"
                                                "2人の座席番号が今とは別の場所の席を指すようになります。\n"
                                                "そのうち2人の座席番号は、この配置にはありません。\n"
                                                "座席は28席になり、名簿の30人と合わなくなります。\n"
                                                "設定ファイルを開きますか？"));

    const SeatLayout same(layout);
    const LayoutChange none(students, layout, same, LayoutChange::Follow::Numbers);
    EXPECT_EQ(none.holding(), 30);
    EXPECT_FALSE(none.movesSeats());
}

TEST_F(HeldSeatsModel, APrintoutIsRefusedWhereTheSeatsHeldDoNotFitTheLayout) {
    const QString cannot = QStringLiteral("座席表を印刷できません。");
    const QString fixSeats = QStringLiteral("名簿の座席番号を直してから、もう一度印刷してください。");
    struct Case {
        const char *what;
        int students;
        std::vector<std::pair<int, const char *>> held;
        std::optional<QString> refusal;
    };
    const Case cases[] = {
        {"no seat held prints on any layout", 29, {}, std::nullopt},
        {"seats held that fit", 30, {{1, "30"}, {2, "05"}}, std::nullopt},
        {"one student fewer than seats",
         29,
         {{1, "3"}},
         cannot
             + QStringLiteral("座席の数（30席）と名簿の人数（29人）があいません。"
                              "座席表の設定の×印か名簿を直して数を合わせてから、もう一度印刷してください。")},
        {"a number beyond the seats",
         30,
         {{2, "31"}},
         cannot + QStringLiteral("くじ順2番の座席番号に正しい座席番号以外が入力されています。") + fixSeats},
        {"a seat held twice",
         30,
         {{1, "4"}, {2, "4"}},
         cannot + QStringLiteral("名簿の座席番号4が重複しています。") + fixSeats},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        classOf(c.students);
        for (int r = 1; r <= c.students; ++r)
            students.setSeat(r, SeatNumber());
        for (const auto &[row, seat] : c.held)
            students.setCell(roster::seatCol, row, text(seat));
        EXPECT_EQ(heldseats::count(students), static_cast<int>(c.held.size()));
        EXPECT_EQ(heldseats::whyNotPrinted(students, layout), c.refusal);
    }
}
