#include "model/ModelFixture.h"

#include "conditions/SeatConditions.h"
#include "history/ClassHistory.h"

using ClassFilesModel = ModelTest;

namespace {

QByteArray lines(std::initializer_list<const char *> texts) {
    QByteArray out;
    for (const char *t : texts)
        out += SjisText::lit(t).bytes() + "\r\n";
    return out;
}

} // namespace

TEST_F(ClassFilesModel, TheHistoryAddsANewChangeAndReplacesARedoneOne) {
    classOf(4, {{1, 1}, {2, 9}, {3, 2}, {4, 10}}); // 1 and 2 share a desk, and 3 and 4
    ClassHistory history;
    history.record(students, layout, QDate(2026, 4, 8));
    ASSERT_EQ(history.rounds().size(), 1u);
    EXPECT_EQ(history.rounds()[0].number, 1);
    EXPECT_EQ(history.rounds()[0].seats[0].mateName, text("s2"));
    EXPECT_EQ(history.deskMates(1, students, QDate(2026, 4, 8)).size(), 0u)
        << "drawn again the same day from the same order, the change redoes its round";
    EXPECT_EQ(history.deskMates(1, students, QDate(2026, 5, 8)).size(), 2u)
        << "weeks later the same order starts the next change";

    // Drawn again the same day from the same order: the same round, with the new seats.
    students.setSeat(2, SeatNumber(3));
    history.record(students, layout, QDate(2026, 4, 8));
    ASSERT_EQ(history.rounds().size(), 1u);
    EXPECT_TRUE(history.rounds()[0].seats[0].mate.isEmpty());

    // The next change, from another order, even on the same day.
    for (int r = 1; r <= 4; ++r)
        students.setCell(roster::orderCol, r, SjisText(QByteArray::number(5 - r)));
    EXPECT_EQ(history.deskMates(1, students, QDate(2026, 4, 8)),
              (std::set<std::pair<SjisText, SjisText>>{{text("3"), text("4")}}));
    history.record(students, layout, QDate(2026, 4, 8));
    EXPECT_EQ(history.rounds().size(), 2u);
    EXPECT_EQ(history.rounds()[1].number, 2);
    // And one weeks later from that same order.
    history.record(students, layout, QDate(2026, 5, 20));
    EXPECT_EQ(history.rounds().size(), 3u);

    // Written and read back, it is the same; a round deleted is gone.
    QString problem;
    const std::optional<ClassHistory> read = ClassHistory::parse(history.bytes(), problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(read->bytes(), history.bytes());
    history.removeRound(1);
    ASSERT_EQ(history.rounds().size(), 2u);
    EXPECT_EQ(history.rounds()[0].number, 2);
}

TEST_F(ClassFilesModel, AStudentWithoutAttendanceNumberStaysOutOfTheHistoryWhichReadsBack) {
    classOf(4, {{1, 1}, {2, 9}, {3, 2}, {4, 10}}); // 1 and 2 share a desk, and 3 and 4
    students.setCell(roster::attendanceCol, 2, SjisText());
    ClassHistory history;
    history.record(students, layout, QDate(2026, 4, 8));
    ASSERT_EQ(history.rounds().size(), 1u);
    const std::vector<ClassHistory::Seat> &seats = history.rounds()[0].seats;
    ASSERT_EQ(seats.size(), 3u);
    EXPECT_EQ(seats[0].attendance, text("1"));
    EXPECT_TRUE(seats[0].mate.isEmpty() && seats[0].mateName.isEmpty());
    EXPECT_EQ(seats[1].attendance, text("3"));
    EXPECT_EQ(seats[1].mate, text("4"));

    QString problem;
    const std::optional<ClassHistory> read = ClassHistory::parse(history.bytes(), problem);
    ASSERT_TRUE(read) << problem.toStdString();
    EXPECT_EQ(read->rounds(), history.rounds());
}

TEST_F(ClassFilesModel, FilesEditedIntoNonsenseAreRefusedWithTheirLine) {
    const struct {
        const char *what;
        QByteArray bytes;
        bool history;
        QString problem;
    } cases[] = {
        {"a history without its header", lines({"1,2026-04-08,1,s1,1,1,,"}), true,
         QStringLiteral("席替えの履歴の見出しがありません")},
        {"a history seat that is no seat",
         lines({"回,日付,出席番号,氏名,くじ順,座席番号,隣の出席番号,隣の氏名", "1,2026-04-08,1,s1,1,49,,"}), true,
         QStringLiteral("席替えの履歴の 2 行目が読めません")},
        {"a history date that is no date",
         lines({"回,日付,出席番号,氏名,くじ順,座席番号,隣の出席番号,隣の氏名", "1,4月8日,1,s1,1,3,,"}), true,
         QStringLiteral("席替えの履歴の 2 行目が読めません")},
        {"conditions without their header", lines({"前の席,1,s1,,,1"}), false,
         QStringLiteral("座席の条件の見出しがありません")},
        {"a front seat of four rows",
         lines({"条件,出席番号,氏名,相手の出席番号,相手の氏名,列数", "前の席,1,s1,,,4"}), false,
         QStringLiteral("座席の条件の 2 行目が読めません")},
        {"a student kept apart from themselves",
         lines({"条件,出席番号,氏名,相手の出席番号,相手の氏名,列数", "離す,1,s1,1,s1,"}), false,
         QStringLiteral("座席の条件の 2 行目が読めません")},
        {"a condition of an unknown kind",
         lines({"条件,出席番号,氏名,相手の出席番号,相手の氏名,列数", "隣にする,1,s1,2,s2,"}), false,
         QStringLiteral("座席の条件の 2 行目が読めません")},
    };
    for (const auto &c : cases) {
        QString problem;
        const bool read = c.history ? ClassHistory::parse(c.bytes, problem).has_value()
                                    : SeatConditions::parse(c.bytes, problem).has_value();
        EXPECT_FALSE(read) << c.what;
        EXPECT_EQ(problem, c.problem) << c.what;
    }
}

TEST_F(ClassFilesModel, ConditionsApplyToTheNamesTheyWereSetForUntilConfirmed) {
    classOf(3);
    QString problem;
    std::optional<SeatConditions> c = SeatConditions::parse(
        lines({"条件,出席番号,氏名,相手の出席番号,相手の氏名,列数", "前の席,1,s1,,,2", "前の席,2,別の人,,,1",
               "離す,1,s1,3,s3,", "離す,3,s3,9,s9,"}),
        problem);
    ASSERT_TRUE(c) << problem.toStdString();
    EXPECT_EQ(SeatConditions::rowOf(students, text("1"), text("s1")), 1);
    EXPECT_EQ(SeatConditions::rowOf(students, text("2"), text("別の人")), 0) << "a new name for 2";
    EXPECT_EQ(SeatConditions::rowOf(students, text("9"), text("s9")), 0) << "no student 9";
    c->confirmNames(students);
    EXPECT_EQ(c->front[1].name, text("s2"));
    EXPECT_EQ(SeatConditions::rowOf(students, c->front[1].attendance, c->front[1].name), 2);
    EXPECT_EQ(c->apart[1].otherName, text("s9")) << "student 9 stays as the file named them";
    QString again;
    EXPECT_EQ(SeatConditions::parse(c->bytes(), again)->bytes(), c->bytes());
}
