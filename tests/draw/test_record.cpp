#include "support/DrawTest.h"
#include "draw/Random.h"
#include "widgets/TextList.h"
#include "support/Faults.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <cerrno>
#include <map>

using drawrecord::Kind;

class Record : public DrawTest {
protected:
    // 48 students, rows 1 to 10 seated, row 3 on seat 20: row 11 sat beside
    // row 3 and is refused seat 28 while the rule is on.
    std::vector<Pupil> halfSeated() const {
        std::vector<Pupil> students = classOf(48);
        const std::map<int, int> seats{{1, 30}, {2, 31}, {3, 20}, {4, 33}, {5, 34},
                                       {6, 35}, {7, 36}, {8, 37}, {9, 38}, {10, 39}};
        for (const auto &[row, seat] : seats)
            students[static_cast<size_t>(row - 1)].seat = QString::number(seat);
        return students;
    }
    void tickUntil(const QString &number) {
        for (int i = 0; i < 10000 && form().Label1->text() != number; ++i)
            form().Timer1Timer();
        ASSERT_EQ(form().Label1->text(), number);
    }
    // Opens the record's view; inspect runs while it is open, then its save
    // button is pressed when save is given (with the file dialog answered by
    // chooseFile) and the view is closed. Answers the boxes the save showed.
    QList<SeenBox> viewRecord(const std::function<void(QDialog *)> &inspect, const QString &saveAs = {}) {
        ModalDriver driver;
        driver.then([&](QWidget *w) {
            auto *view = qobject_cast<QDialog *>(w);
            ASSERT_NE(view, nullptr);
            if (inspect)
                inspect(view);
            auto *save = view->findChild<QPushButton *>(QStringLiteral("SaveDrawRecord"));
            ASSERT_NE(save, nullptr);
            // Queued, so that the driver is free to answer the file dialog.
            QTimer::singleShot(0, view, [view, save, saveAs] {
                if (!saveAs.isEmpty())
                    save->click();
                view->accept();
            });
        });
        if (!saveAs.isEmpty())
            driver.chooseFile(saveAs).pressIfShown(QStringLiteral("OK"));
        form().Button_Record->click();
        return driver.seen();
    }
    static QString cell(QTableWidget *t, int row, int col) { return t->item(row, col)->text(); }
};

TEST_F(Record, EveryEventOfTheDrawIsKeptShownAndSavedOnlyWhenAsked) {
    TForm1 &f = createWindow();
    ASSERT_TRUE(openRoster(halfSeated()).isEmpty());
    f.CB_tonari->setChecked(true);
    clickTab(1);
    const QDateTime before = QDateTime::currentDateTime();
    clickWithoutBox();
    tickUntil(QStringLiteral("28"));
    const std::uint64_t refusedAt = rng::drawsSinceSeed();
    EXPECT_EQ(stop().text, refusalText);
    tickUntil(QStringLiteral("27"));
    const std::uint64_t stoppedAt = rng::drawsSinceSeed();
    EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒11"), QStringLiteral("27")));
    f.Button6->click();
    // The roster check fails: the failure is recorded with what it showed.
    f.StringGrid_Settei->setCell(5, 7, sj("×"));
    f.Button6->click();

    const std::vector<drawrecord::Event> &events = f.DrawRecord;
    ASSERT_EQ(events.size(), 7u);
    const struct {
        Kind kind;
        int row;
        QString seat;
        std::optional<int> pool;
    } expected[] = {
        {Kind::Preparation, 0, {}, 38},
        {Kind::Preparation, 0, {}, 38},
        {Kind::Start, 11, {}, 38},
        {Kind::Refusal, 11, QStringLiteral("28"), 38},
        {Kind::Stop, 11, QStringLiteral("27"), 37},
        {Kind::Repreparation, 0, {}, 37},
        // Refused: it drew up no pool.
        {Kind::Repreparation, 0, {}, std::nullopt},
    };
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].kind, expected[i].kind);
        EXPECT_EQ(events[i].row, expected[i].row);
        EXPECT_EQ(events[i].seat.toUnicode(), expected[i].seat);
        EXPECT_EQ(events[i].pool, expected[i].pool);
        EXPECT_EQ(events[i].className, QStringLiteral("class"));
    }
    EXPECT_EQ(events[3].name.toUnicode(), QStringLiteral("生徒11"));
    EXPECT_EQ(events[3].attendance.toUnicode(), QStringLiteral("11"));
    EXPECT_EQ(events[3].draws, refusedAt);
    EXPECT_EQ(events[4].draws, stoppedAt);
    EXPECT_GE(events[4].time, before);
    EXPECT_LE(events[4].time, QDateTime::currentDateTime());
    EXPECT_EQ(events[6].note.toUnicode(), QStringLiteral("座席の数と人数があいません！"));
    // Nothing was written but the roster the test made.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("class.csv")});

    const QString saved = path(QStringLiteral("record"));
    const QList<SeenBox> boxes = viewRecord(
        [&](QDialog *view) {
            EXPECT_EQ(view->windowTitle(), QStringLiteral("くじ引きの記録"));
            auto *table = view->findChild<QTableWidget *>();
            ASSERT_NE(table, nullptr);
            ASSERT_EQ(table->rowCount(), 7);
            ASSERT_EQ(table->columnCount(), 10);
            EXPECT_EQ(table->horizontalHeaderItem(7)->text(), QStringLiteral("乱数の使用回数"));
            EXPECT_EQ(table->horizontalHeaderItem(9)->text(), QStringLiteral("クラス"));
            EXPECT_EQ(cell(table, 4, 0), events[4].time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")));
            const QStringList stopRow{cell(table, 4, 1), cell(table, 4, 2), cell(table, 4, 3), cell(table, 4, 4),
                                      cell(table, 4, 5), cell(table, 4, 6), cell(table, 4, 7)};
            EXPECT_EQ(stopRow, (QStringList{QStringLiteral("決定"), QStringLiteral("11"), QStringLiteral("11"),
                                            QStringLiteral("生徒11"), QStringLiteral("27"), QStringLiteral("37"),
                                            QString::number(stoppedAt)}));
            EXPECT_EQ(cell(table, 3, 1), QStringLiteral("やりなおし"));
            EXPECT_EQ(cell(table, 5, 1), QStringLiteral("再準備"));
            EXPECT_EQ(cell(table, 6, 6), QString()) << "a refused preparation has no free seats to count";
            EXPECT_EQ(cell(table, 6, 9), QStringLiteral("class"));
            bool seedShown = false;
            for (QLabel *l : view->findChildren<QLabel *>())
                seedShown |= l->text() == QStringLiteral("乱数の種: %1").arg(rng::seedValue());
            EXPECT_TRUE(seedShown);
        },
        saved);
    EXPECT_TRUE(boxes.isEmpty());

    const QList<QByteArray> lines = readFile(path(QStringLiteral("record.CSV"))).split('\n');
    ASSERT_EQ(lines.size(), 10); // header, seed, 7 events, the empty rest
    EXPECT_EQ(lines[0],
              sj("時刻,出来事,名簿の行,出席番号,氏名,座席番号,空き座席数,乱数の使用回数,備考,クラス\r").bytes());
    EXPECT_EQ(lines[1], sj(",乱数の種,,,,,,,").bytes() + QByteArray::number(rng::seedValue()) + ",\r");
    const QByteArray time = events[4].time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
    EXPECT_EQ(lines[6],
              '"' + time + '"' + sj(",決定,11,11,生徒11,27,37,").bytes() + QByteArray::number(stoppedAt) + ",,class\r");
    EXPECT_TRUE(lines[8].endsWith(sj(",再準備,,,,,,,座席の数と人数があいません！,class\r").bytes()));
    // The roster's own save name is not the record's.
    EXPECT_EQ(f.SaveDialog1.fileName, rosterFile());
}

#ifndef _WIN32
// The file size limit makes the write fail half-way, as a full disk would.
TEST_F(Record, ASaveThatFailsLeavesNoFile) {
    createWindow();
    ASSERT_TRUE(openRoster(classOf(48)).isEmpty());
    for (int i = 0; i < 5; ++i)
        drawOnce();
    QList<SeenBox> boxes;
    {
        FileSizeLimit limit(300);
        ASSERT_TRUE(limit.inPlace());
        boxes = viewRecord({}, path(QStringLiteral("record.csv")));
    }
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, QStringLiteral("I/O エラー (%1)").arg(EFBIG));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("class.csv")});

    const QList<SeenBox> missing = viewRecord({}, path(QStringLiteral("no/such/record.csv")));
    ASSERT_EQ(missing.size(), 1);
    EXPECT_EQ(missing[0].text, QStringLiteral("ファイル名の指定が間違っています."));
    EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("no"))));
}
#endif

// A draw recorded on the real timer, a refusal included, replays from the
// saved record alone: its seed and how often the generator had been used at
// each stop give the same seats.
TEST_F(Record, ARecordedDrawReplaysFromItsSeedAndStopMoments) {
    createWindow();
    const std::vector<Pupil> students = halfSeated();
    ASSERT_TRUE(openRoster(students).isEmpty());
    form().CB_tonari->setChecked(true);
    clickWithoutBox();
    tickUntil(QStringLiteral("28"));
    ASSERT_EQ(stop().text, refusalText);
    for (int turn = 0; form().Button1->isEnabled(); ++turn) {
        if (form().Button1->text() == QStringLiteral("スタート"))
            clickWithoutBox();
        for (int t = 0; t <= turn % 3; ++t)
            ASSERT_TRUE(waitForTick());
        stop();
    }
    ASSERT_EQ(status(), completeText);
    const std::uint32_t seed = rng::seedValue();
    const std::vector<drawrecord::Event> recorded = form().DrawRecord;
    QStringList seats;
    for (int row = 1; row <= 48; ++row)
        seats << seatOf(row);

    // Replayed from the record as it is saved.
    window.reset();
    createWindow();
    ASSERT_TRUE(openRoster(students).isEmpty());
    form().CB_tonari->setChecked(true);
    const Replayed replayed = replay(drawrecord::csv(seed, recorded));
    EXPECT_GE(replayed.refusals, 1);
    EXPECT_EQ(replayed.stops, 38);
    QStringList again;
    for (int row = 1; row <= 48; ++row)
        again << seatOf(row);
    EXPECT_EQ(again, seats);
    EXPECT_EQ(status(), completeText);
}

// A draw that the program recorded before seat conditions and the class
// history came (a class of 40, the neighbour rule on, two refusals): its seed
// and stop moments still give every box and every seat it gave then.
TEST_F(Record, ADrawRecordedByAnEarlierVersionReplaysSeatForSeat) {
    const QString data = QStringLiteral(KIRABO_TEST_DATA "/record/");
    createWindow();
    keepSeats(40);
    openRosterFile(readFile(data + QStringLiteral("class40.csv")));
    form().CB_tonari->setChecked(true);
    clickTab(1);
    const Replayed replayed = replay(readFile(data + QStringLiteral("draw40.csv")));
    EXPECT_EQ(replayed.stops, 40);
    EXPECT_EQ(replayed.refusals, 2);
    EXPECT_EQ(status(), completeText);
    form().ToolButton2->click(); // save over
    EXPECT_EQ(readFile(rosterFile()), readFile(data + QStringLiteral("class40-drawn.csv")));
}
