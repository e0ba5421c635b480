#include "model/ModelFixture.h"

#include "draw/Random.h"
#include "journal/Journal.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "seats/NoSeatMark.h"
#include "session/ClassSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QDate today(2026, 12, 11);

// A class session over real files in a folder of its own, the journal's
// folder among them, as a run of the program has them.
class SessionModel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        sys::setUserDataFolderForTesting(dir.filePath(QStringLiteral("data")));
        rng::seed(20261211u);
        session = std::make_unique<ClassSession>();
    }
    void TearDown() override {
        session.reset();
        sys::setUserDataFolderForTesting(QString());
    }

    // Leaves the first seats of the layout, column by column from the front.
    void seatsInRoom(ClassSession &s, int seats) {
        int kept = 0;
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r)
                s.layout().setCell(c, r, kept++ < seats ? SjisText() : noSeatMark());
        s.numberLayout();
    }

    // A roster file of n students s1, s2, ..., without seats, opened.
    QString openClass(ClassSession &s, int n, const QString &name = QStringLiteral("3年2組.csv")) {
        Roster r;
        r.makeNew(n);
        for (int row = 1; row <= n; ++row)
            r.setCell(roster::nameCol, row, SjisText("s" + QByteArray::number(row)));
        const QString file = dir.filePath(name);
        textfile::save(file, r.bytes());
        EXPECT_TRUE(s.openRoster(file, textfile::readAll(file)).isEmpty());
        return file;
    }

    // Start, a tick, Stop, the announcement: one student's turn.
    ClassSession::Stop drawOne(ClassSession &s) {
        s.start();
        s.tick();
        const ClassSession::Stop stop = s.stop();
        if (stop.verdict == Draw::Stop::Accepted)
            s.announced(today);
        return stop;
    }

    QTemporaryDir dir;
    std::unique_ptr<ClassSession> session;
};

} // namespace

TEST_F(SessionModel, APreparationSaysWhatStandsInTheWayOrShowsTheFirstTurn) {
    ClassSession &s = *session;
    seatsInRoom(s, 4);
    EXPECT_EQ(s.prepare(drawrecord::Kind::Preparation, today).outcome, ClassSession::Preparation::Outcome::NoRoster);
    EXPECT_TRUE(s.record().empty()) << "nothing to prepare is no preparation";

    openClass(s, 5);
    ClassSession::Preparation found = s.prepare(drawrecord::Kind::Preparation, today);
    EXPECT_EQ(found.outcome, ClassSession::Preparation::Outcome::Failed);
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("座席の数と人数があいません！"));
    ASSERT_EQ(s.record().size(), 1u);
    EXPECT_EQ(s.record().back().note, SjisText::lit("座席の数と人数があいません！"));

    // Four students, and a seat no layout of four has.
    s.roster().removeRows(5, 5, Roster::Attendance::Kept);
    s.roster().setCell(roster::seatCol, 2, SjisText("9"));
    found = s.prepare(drawrecord::Kind::Preparation, today);
    EXPECT_EQ(found.outcome, ClassSession::Preparation::Outcome::Failed);
    ASSERT_TRUE(found.seatFault);
    EXPECT_EQ(found.seatFault->toUnicode(), QStringLiteral("くじ順02番の座席番号に正しい座席番号以外が入力されています"));
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("名簿の座席指定に誤りがあります！"));
    EXPECT_TRUE(s.draw().pool().empty());

    s.roster().setCell(roster::seatCol, 2, SjisText("3"));
    found = s.prepare(drawrecord::Kind::Preparation, today);
    EXPECT_EQ(found.outcome, ClassSession::Preparation::Outcome::Ready);
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("s1さんの番です！"));
    EXPECT_EQ(s.draw().pool(), (std::vector<SeatNumber>{SeatNumber(1), SeatNumber(2), SeatNumber(4)}));
    EXPECT_EQ(s.chart().text(0, 2), text("s2")) << "the chart shows who holds a seat";
    EXPECT_EQ(s.chart().text(0, 0), text("1"));
    EXPECT_TRUE(s.journal().isOpen()) << "the first preparation begins the journal";
}

// Former desk-mates of three rounds leave no seating of four students at two
// double desks; two rounds leave one.
TEST_F(SessionModel, TheHistoryStandsInTheWayAndFewerRoundsWouldWork) {
    ClassSession &s = *session;
    seatsInRoom(s, 0);
    for (const auto &[c, r] : {std::pair{0, 0}, {1, 0}, {0, 1}, {1, 1}})
        s.layout().setCell(c, r, SjisText());
    s.numberLayout(); // seats 1 and 3 share a desk, and 2 and 4
    const QString file = openClass(s, 4);
    ClassHistory history;
    Roster drawn;
    drawn.makeNew(4);
    for (int row = 1; row <= 4; ++row)
        drawn.setCell(roster::nameCol, row, SjisText("s" + QByteArray::number(row)));
    const int pairings[3][4] = {{1, 3, 2, 4}, {1, 2, 3, 4}, {1, 4, 2, 3}}; // seats by row: desk-mates 12 34, 13 24, 14 23
    for (int round = 0; round < 3; ++round) {
        for (int row = 1; row <= 4; ++row)
            drawn.setSeat(row, SeatNumber(pairings[round][row - 1]));
        history.record(drawn, s.layout(), QDate(2026, 4 + round, 1));
    }
    textfile::save(ClassHistory::pathFor(file), history.bytes());
    ASSERT_TRUE(s.openRoster(file, textfile::readAll(file)).isEmpty());
    s.setNeighbourRule({true, 3});

    ClassSession::Preparation found = s.prepare(drawrecord::Kind::Preparation, today);
    EXPECT_EQ(found.outcome, ClassSession::Preparation::Outcome::HistoryInTheWay);
    EXPECT_EQ(found.rounds, 3);
    EXPECT_EQ(found.fewerRounds, 2);
    EXPECT_TRUE(s.record().empty()) << "nothing is recorded until the teacher answers";

    // Kept at three: the preparation fails with the conflict.
    s.refuse(found, drawrecord::Kind::Preparation);
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("前に隣同士だった人を離す座り方がありません！"));
    EXPECT_TRUE(s.draw().pool().empty());
    ASSERT_EQ(s.record().size(), 1u);

    // Two rounds: the one seating left is the one every spin shows.
    s.setNeighbourRule({true, 2});
    found = s.prepare(drawrecord::Kind::Repreparation, today);
    ASSERT_EQ(found.outcome, ClassSession::Preparation::Outcome::Ready);
    EXPECT_EQ(s.record().back().note, SjisText::lit("前に隣同士: 過去2回 4組"));
    for (int turn = 0; turn < 4; ++turn)
        ASSERT_EQ(drawOne(s).verdict, Draw::Stop::Accepted);
    const SeatNumber one = SeatNumber::parse(s.roster().cell(roster::seatCol, 1));
    EXPECT_EQ(s.layout().deskMate(one), SeatNumber::parse(s.roster().cell(roster::seatCol, 2)))
        << "s1 and s2 sat apart in the last two rounds: together again";
}

TEST_F(SessionModel, AStopGivesTheSeatToRosterChartRecordAndJournalAtOnce) {
    ClassSession &s = *session;
    seatsInRoom(s, 3);
    const QString file = openClass(s, 3);
    ASSERT_EQ(s.prepare(drawrecord::Kind::Preparation, today).outcome, ClassSession::Preparation::Outcome::Ready);

    s.start();
    s.tick();
    const SeatNumber shown = s.draw().shown();
    const ClassSession::Stop stop = s.stop();
    ASSERT_EQ(stop.verdict, Draw::Stop::Accepted);
    EXPECT_EQ(stop.seat, shown);
    EXPECT_EQ(stop.row, 1);
    EXPECT_EQ(stop.announcement, SjisText::lit("s1さんの座席は") + shown.text() + SjisText::lit("番に決まりました。"));
    EXPECT_EQ(s.roster().cell(roster::seatCol, 1), shown.text());
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(stop.place, s.layout().position(shown));
    EXPECT_EQ(s.chart().text(stop.place.col, stop.place.row), text("s1"));
    EXPECT_EQ(s.chart().highlighted(), stop.place) << "highlighted while the class is told";
    EXPECT_EQ(s.seats()[shown].name, text("s1"));
    ASSERT_EQ(s.record().back().kind, drawrecord::Kind::Stop);
    EXPECT_EQ(s.record().back().seat, shown.text());
    const journal::Read onDisk = journal::read(textfile::readAll(s.journal().path()));
    ASSERT_EQ(onDisk.reading, journal::Reading::Sound);
    EXPECT_EQ(onDisk.contents.events.back(), s.record().back()) << "on the disk before the class is told";

    s.announced(today);
    EXPECT_FALSE(s.chart().highlighted());
    EXPECT_EQ(s.draw().turnRow(), 2);
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("s2さんの番です！"));

    drawOne(s);
    drawOne(s);
    EXPECT_EQ(s.draw().screen().status, QStringLiteral("座席表が完成しました！"));
    EXPECT_FALSE(QFile::exists(ClassHistory::pathFor(file))) << "the finished round waits for the roster's save";
    s.saveRoster(file);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(s.journal().isOpen()) << "a finished draw, saved, needs its journal no more";
    QString problem;
    const std::optional<ClassHistory> saved = ClassHistory::parse(textfile::readAll(ClassHistory::pathFor(file)), problem);
    ASSERT_TRUE(saved) << problem.toStdString();
    ASSERT_EQ(saved->rounds().size(), 1u);
    EXPECT_EQ(saved->rounds()[0].seats.size(), 3u);
}

// A run that ends mid-draw leaves its journal; the next run offers what it
// gave, gives it back on the teacher's yes, and asks no more.
TEST_F(SessionModel, AJournalLeftBehindOffersItsSeatsAndGivesThemBack) {
    QString file;
    std::vector<drawrecord::Event> before;
    {
        ClassSession killed;
        seatsInRoom(killed, 4);
        file = openClass(killed, 4);
        killed.prepare(drawrecord::Kind::Preparation, today);
        drawOne(killed);
        drawOne(killed);
        before = killed.record();
    }
    ClassSession &s = *session;
    std::vector<ClassSession::LeftDraw> left = ClassSession::leftDraws();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].kind, ClassSession::LeftDraw::Kind::Resumable);
    EXPECT_EQ(left[0].rosterFile, file);
    EXPECT_EQ(left[0].students, 4);
    EXPECT_EQ(left[0].decided, 2);

    ASSERT_TRUE(s.openRoster(file, textfile::readAll(file)).isEmpty());
    s.resume(left[0]);
    EXPECT_EQ(s.record(), before);
    EXPECT_FALSE(s.roster().isWithoutSeat(1));
    EXPECT_FALSE(s.roster().isWithoutSeat(2));
    EXPECT_TRUE(s.roster().isWithoutSeat(3));
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.layout().seatCount(), 4) << "on the layout the seats were given on";
    ASSERT_EQ(s.prepare(drawrecord::Kind::Preparation, today).outcome, ClassSession::Preparation::Outcome::Ready);
    EXPECT_EQ(s.draw().turnRow(), 3);
    left.clear();
    EXPECT_TRUE(ClassSession::leftDraws().empty()) << "this run's journal took over";
}

TEST_F(SessionModel, AJournalWhoseRosterFileChangedSinceGivesItsRecordOnly) {
    QString file;
    {
        ClassSession killed;
        seatsInRoom(killed, 2);
        file = openClass(killed, 2);
        killed.prepare(drawrecord::Kind::Preparation, today);
        drawOne(killed);
    }
    textfile::save(file, textfile::readAll(file) + SjisText::lit("03,3,s3,,\r\n").bytes());
    const std::vector<ClassSession::LeftDraw> left = ClassSession::leftDraws();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].kind, ClassSession::LeftDraw::Kind::RosterChanged);
    EXPECT_EQ(left[0].decided, 1);
    ClassSession::setAside(left[0]);
    EXPECT_TRUE(ClassSession::leftDraws().empty()) << "set aside, it is asked about no more";
}

TEST_F(SessionModel, OpeningOrMakingAClassEndsTheDrawBeforeAndItsJournal) {
    ClassSession &s = *session;
    seatsInRoom(s, 2);
    openClass(s, 2);
    s.prepare(drawrecord::Kind::Preparation, today);
    drawOne(s);
    ASSERT_TRUE(s.journal().isOpen());
    const QString journalFile = s.journal().path();

    s.newRoster(2);
    EXPECT_FALSE(s.journal().isOpen());
    EXPECT_FALSE(QFile::exists(journalFile));
    EXPECT_TRUE(s.rosterMade());
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.rosterFile().isEmpty());
    EXPECT_EQ(s.className(), QStringLiteral("新しい名簿"));
    EXPECT_EQ(s.draw().shown(), SeatNumber(1)) << "another class starts at 1";

    const QString file = dir.filePath(QStringLiteral("新しいクラス.csv"));
    s.saveRoster(file);
    EXPECT_FALSE(s.rosterMade());
    EXPECT_EQ(s.rosterFile(), file);
    EXPECT_EQ(s.className(), QStringLiteral("新しいクラス"));
}
