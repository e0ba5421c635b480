#include "support/DrawTest.h"

#include "projector/Projector.h"
#include "draw/Random.h"
#include "history/ClassHistory.h"
#include "widgets/TextList.h"
#include "seats/NoSeatMark.h"

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDate>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <cstdlib>
#include <numeric>
#include <random>
#include <set>

// A class drawn under its conditions and its history, through the real
// window, files and boxes.
class ClassConditions : public DrawTest {
protected:
    QString conditionsFile() const { return path(QStringLiteral("class_条件.csv")); }
    QString historyFile() const { return path(QStringLiteral("class_履歴.csv")); }

    void writeConditions(const QStringList &lines) {
        QByteArray bytes = sj("条件,出席番号,氏名,相手の出席番号,相手の氏名,列数\r\n").bytes();
        for (const QString &line : lines)
            bytes += sj(line.toUtf8().constData()).bytes() + "\r\n";
        writeFile(conditionsFile(), bytes);
    }

    // Past seat changes of the students, each a random seating of the
    // layout given, written as the history file; the pairs that shared a
    // double desk, by roster row.
    std::set<std::pair<int, int>> writeHistory(int students, int rounds, const SeatLayout &layout) {
        Roster roster;
        roster.writeHeader();
        roster.cells().setRowCount(students + 1);
        for (int r = 1; r <= students; ++r) {
            roster.setCell(1, r, SjisText(QByteArray::number(r)));
            roster.setCell(2, r, sj(QStringLiteral("生徒%1").arg(r, 2, 10, QLatin1Char('0')).toUtf8().constData()));
        }
        ClassHistory history;
        std::mt19937 shuffle(7);
        std::set<std::pair<int, int>> mates;
        for (int round = 1; round <= rounds; ++round) {
            std::vector<int> seats(static_cast<size_t>(students));
            std::iota(seats.begin(), seats.end(), 1);
            std::shuffle(seats.begin(), seats.end(), shuffle);
            for (int r = 1; r <= students; ++r) {
                roster.setCell(0, r, SjisText(QByteArray::number(round * 100 + r)));
                roster.setSeat(r, SeatNumber(seats[static_cast<size_t>(r - 1)]));
            }
            for (int r = 1; r <= students; ++r)
                for (int o = r + 1; o <= students; ++o) {
                    const Position a = layout.position(SeatNumber(seats[static_cast<size_t>(r - 1)]));
                    const Position b = layout.position(SeatNumber(seats[static_cast<size_t>(o - 1)]));
                    if (a.row == b.row && a.col / 2 == b.col / 2)
                        mates.insert({r, o});
                }
            history.record(roster, layout, QDate(2026, 4, round));
        }
        writeFile(historyFile(), history.bytes());
        return mates;
    }

    Position where(int row) { return form().seatLayout.position(SeatNumber(seatOf(row).toInt())); }

    // Draws every student through Start, a tick and Stop; answers the boxes' texts.
    QStringList drawAll() {
        QStringList texts;
        for (int i = 0; i < 100 && status() != completeText; ++i)
            texts << drawOnce().text;
        return texts;
    }
};

TEST_F(ClassConditions, AClassOf40KeepsFrontSeatsPairsApartAndFiveRoundsOfDeskMates) {
    createWindow();
    keepSeats(40); // columns 0 to 4, every row
    SeatLayout layout;
    for (int r = 0; r < layout::rows; ++r)
        layout.setCell(5, r, noSeatMark());
    layout.renumber();
    const std::set<std::pair<int, int>> mates = writeHistory(40, 5, layout);
    writeConditions({QStringLiteral("前の席,3,生徒03,,,1"), QStringLiteral("前の席,17,生徒17,,,1"),
                     QStringLiteral("前の席,22,生徒22,,,2"), QStringLiteral("前の席,40,生徒40,,,2"),
                     QStringLiteral("離す,1,生徒01,2,生徒02,"), QStringLiteral("離す,3,生徒03,17,生徒17,"),
                     QStringLiteral("離す,8,生徒08,30,生徒30,")});
    const QByteArray conditionsBytes = readFile(conditionsFile());
    ASSERT_TRUE(openRoster(classOf(40)).isEmpty()) << "the class files read without a warning";
    form().CB_tonari->setChecked(true);
    form().SpinBox_Rounds->setValue(5);
    clickTab(1);
    ASSERT_EQ(status(), turnText(QStringLiteral("生徒01")));

    // The seed's fingerprint shows before the first Start, here and on the
    // projector, and anyone can work it out from the seed the record reveals.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::number(rng::seedValue()), QCryptographicHash::Sha256).toHex();
    const QString fingerprint = QStringLiteral("乱数の指紋 ") + QString::fromLatin1(hash.left(4) + '-' + hash.mid(4, 4));
    EXPECT_EQ(form().Label_Seed->text(), fingerprint);
    form().showProjector();
    ASSERT_NE(form().Projector, nullptr);
    EXPECT_EQ(form().Projector->fingerprint()->text(), fingerprint);
    form().closeProjector();
    // The record names what the draw keeps to.
    const QString note = form().DrawRecord.back().note.toUnicode();
    EXPECT_EQ(note, QStringLiteral("前の席: 3(1行) 17(1行) 22(2行) 40(2行) / 離す: 1-2 3-17 8-30 / 前に隣同士: 過去5回 %1組")
                        .arg(mates.size()));

    for (int change = 0; change < 6; ++change) {
        SCOPED_TRACE(change);
        for (int row = 1; row <= 40; ++row)
            setSeat(row, QString());
        form().Button6->click();
        const QStringList boxes = drawAll();
        ASSERT_EQ(status(), completeText);
        EXPECT_EQ(boxes.size(), 40) << "no stop was refused or lost";
        EXPECT_FALSE(boxes.contains(refusalText));
        for (const int row : {3, 17})
            EXPECT_EQ(where(row).row, 0) << row;
        for (const int row : {22, 40})
            EXPECT_LE(where(row).row, 1) << row;
        for (const auto &[a, b] : {std::pair{1, 2}, {3, 17}, {8, 30}}) {
            const Position pa = where(a);
            const Position pb = where(b);
            EXPECT_FALSE(std::abs(pa.col - pb.col) <= 1 && std::abs(pa.row - pb.row) <= 1) << a << " beside " << b;
        }
        for (const auto &[a, b] : mates)
            EXPECT_FALSE(where(a).row == where(b).row && where(a).col / 2 == where(b).col / 2)
                << a << " and " << b << " share a desk again";
    }
    EXPECT_EQ(readFile(conditionsFile()), conditionsBytes);
}

TEST_F(ClassConditions, ConditionsThatCannotBeMetAreRefusedAtPreparationWithTheirReason) {
    createWindow();
    keepSeats(40);
    writeConditions({QStringLiteral("前の席,1,生徒01,,,1"), QStringLiteral("前の席,2,生徒02,,,1"),
                     QStringLiteral("前の席,3,生徒03,,,1"), QStringLiteral("前の席,4,生徒04,,,1"),
                     QStringLiteral("前の席,5,生徒05,,,1"), QStringLiteral("前の席,6,生徒06,,,1")});
    ASSERT_TRUE(openRoster(classOf(40)).isEmpty());
    EXPECT_EQ(status(), QStringLiteral("前の席の生徒6人に、前から1行の空席は5席です！"));
    EXPECT_FALSE(form().Button1->isEnabled());
    EXPECT_EQ(form().Memo1->count(), 0);
    EXPECT_EQ(form().DrawRecord.back().note.toUnicode(), status());
}

// Conditions name students by attendance number: a roster edited so that
// two students share one is refused at the next preparation, and drawn
// again once it is mended.
TEST_F(ClassConditions, ARosterWhoseAttendanceNumbersRepeatIsRefusedWhileConditionsApply) {
    createWindow();
    writeConditions({QStringLiteral("前の席,3,生徒03,,,1")});
    ASSERT_TRUE(openRoster(classOf(48)).isEmpty());
    ASSERT_EQ(status(), turnText(QStringLiteral("生徒01")));
    typeIntoCell(form().StringGrid2, 1, 7, QStringLiteral("3"));
    form().Button6->click();
    EXPECT_EQ(status(), QStringLiteral("出席番号3が重複しています！"));
    EXPECT_FALSE(form().Button1->isEnabled());
    EXPECT_EQ(form().Memo1->count(), 0);
    typeIntoCell(form().StringGrid2, 1, 7, QStringLiteral("7"));
    form().Button6->click();
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    EXPECT_TRUE(form().Button1->isEnabled());
}

// Two double desks and four students who have sat in every pairing over
// three changes: no seating keeps all three, two rounds leave some.
TEST_F(ClassConditions, WhereOnlyTheHistoryStandsInTheWayFewerRoundsAreOffered) {
    createWindow();
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            form().StringGrid_Settei->setCell(c, r, c < 2 && r < 2 ? SjisText() : noSeatMark());
    form().ZasekiNoNyuryoku();
    SeatLayout layout;
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            layout.setCell(c, r, c < 2 && r < 2 ? SjisText() : noSeatMark());
    layout.renumber();
    // Seats 1 and 3 share a desk, and so do 2 and 4.
    ClassHistory history;
    Roster roster;
    roster.cells().setRowCount(5);
    for (int r = 1; r <= 4; ++r) {
        roster.setCell(1, r, SjisText(QByteArray::number(r)));
        roster.setCell(2, r, sj(QStringLiteral("生徒0%1").arg(r).toUtf8().constData()));
    }
    const int seatings[3][4] = {{1, 3, 2, 4}, {1, 2, 3, 4}, {1, 2, 4, 3}};
    for (int round = 0; round < 3; ++round) {
        for (int r = 1; r <= 4; ++r) {
            roster.setCell(0, r, SjisText(QByteArray::number(round * 10 + r)));
            roster.setSeat(r, SeatNumber(seatings[round][r - 1]));
        }
        history.record(roster, layout, QDate(2026, 5, round + 1));
    }
    writeFile(historyFile(), history.bytes());
    form().CB_tonari->setChecked(true);
    form().SpinBox_Rounds->setValue(3);

    ModalDriver driver;
    driver.chooseFile(rosterFile());
    driver.press(QStringLiteral("いいえ(&N)"));
    writeFile(rosterFile(), sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n1,1,生徒01,,\r\n2,2,生徒02,,\r\n3,3,生徒03,,\r\n4,4,生徒04,,\r\n").bytes());
    form().ToolButton1->click();
    ASSERT_EQ(driver.seen().size(), 1);
    EXPECT_EQ(driver.seen()[0].text,
              QStringLiteral("過去3回の席替えで隣同士だった人を離す座り方がありません。過去2回までにしますか？"));
    EXPECT_EQ(status(), QStringLiteral("前に隣同士だった人を離す座り方がありません！"));
    EXPECT_FALSE(form().Button1->isEnabled());

    ModalDriver yes;
    yes.press(QStringLiteral("はい(&Y)"));
    form().Button6->click();
    EXPECT_EQ(form().SpinBox_Rounds->value(), 2);
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒01")));
    const QStringList boxes = drawAll();
    EXPECT_EQ(boxes.size(), 4);
    EXPECT_EQ(status(), completeText);
}

// The roster edited after a tick: the number on show would now put a
// student beside the one they are kept from, so the stop waits for a tick
// that keeps the condition, and no seat that breaks it is written.
TEST_F(ClassConditions, AStopNeverWritesASeatThatTheEditedRosterBreaks) {
    createWindow();
    writeConditions({QStringLiteral("離す,1,生徒01,2,生徒02,")});
    ASSERT_TRUE(openRoster(classOf(48)).isEmpty());
    rng::seed(99);
    clickWithoutBox(); // Start
    form().Timer1->stop();
    form().Timer1Timer();
    const QString shown = form().Label1->text();
    const Position p = form().seatLayout.position(SeatNumber(shown.toInt()));
    // Student 2 takes the seat in front of or behind the one on show.
    const Position beside{p.col, p.row == 0 ? 1 : p.row - 1};
    setSeat(2, form().seatLayout.cell(beside.col, beside.row).toUnicode());
    clickWithoutBox(); // Stop: no box, no seat
    EXPECT_EQ(seatOf(1), QString());
    EXPECT_TRUE(form().Timer1->isActive()) << "the spin goes on";
    form().Timer1->stop();
    for (int i = 0; i < 200 && seatOf(1).isEmpty(); ++i) {
        form().Timer1Timer();
        const Position now = form().seatLayout.position(SeatNumber(form().Label1->text().toInt()));
        const bool breaks = std::abs(now.col - beside.col) <= 1 && std::abs(now.row - beside.row) <= 1;
        EXPECT_FALSE(breaks) << "a tick showed a seat beside student 2";
        if (!breaks) {
            EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒01"), form().Label1->text()));
        }
    }
    EXPECT_FALSE(seatOf(1).isEmpty());
}

// A draw recorded under conditions and three rounds of history replays from
// its seed, its stop moments and the class's files, seat for seat, on every
// system the program runs on.
TEST_F(ClassConditions, ADrawUnderConditionsReplaysFromItsRecord) {
    const QString data = QStringLiteral(KIRABO_TEST_DATA "/record/");
    createWindow();
    keepSeats(40);
    writeFile(conditionsFile(), readFile(data + QStringLiteral("class40c_条件.csv")));
    writeFile(historyFile(), readFile(data + QStringLiteral("class40c_履歴.csv")));
    openRosterFile(readFile(data + QStringLiteral("class40c.csv")));
    form().CB_tonari->setChecked(true);
    form().SpinBox_Rounds->setValue(3);
    clickTab(1);
    const Replayed replayed = replay(readFile(data + QStringLiteral("draw40c.csv")));
    EXPECT_EQ(replayed.stops, 40);
    EXPECT_EQ(replayed.refusals, 0);
    EXPECT_EQ(status(), completeText);
    EXPECT_EQ(form().classRoster.bytes(), readFile(data + QStringLiteral("class40c-drawn.csv")));
}
