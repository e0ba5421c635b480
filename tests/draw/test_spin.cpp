#include "support/DrawTest.h"
#include "draw/Random.h"
#include "platform/Errors.h"
#include "widgets/TextList.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <set>
#include <stdexcept>

namespace {
const QString start = QStringLiteral("スタート");
const QString stopText = QStringLiteral("ストップ");
} // namespace

class Spin : public DrawTest {};

TEST_F(Spin, StartRunsThePreciseTimerAndStopBeforeTheFirstTickDoesNothing) {
    TForm1 &f = createWindow();
    keepSeats(3);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());

    clickWithoutBox();
    EXPECT_EQ(f.Button1->text(), stopText);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_EQ(f.Timer1->interval(), 100);
    EXPECT_EQ(f.Timer1->timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(f.draw.spinShown());

    clickWithoutBox(); // no number shown yet
    EXPECT_EQ(f.Button1->text(), stopText);
    EXPECT_TRUE(f.Timer1->isActive());

    ASSERT_TRUE(waitForTick());
    EXPECT_TRUE(f.draw.spinShown());
    EXPECT_TRUE(pool().contains(f.Label1->text()));
    EXPECT_EQ(f.Label1->text(), pool()[f.draw.spinIndex()]);
    // Preparation does not touch a running spin.
    f.Button6->click();
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_EQ(f.Button1->text(), stopText);
}

TEST_F(Spin, TheStopGivesTheSeatAnnouncesItInRedAndPassesTheTurn) {
    TForm1 &f = createWindow();
    keepSeats(12);
    // 山田 is the one without a seat; only seat 12 is left.
    std::vector<Pupil> students = classOf(12);
    for (int i = 0; i < 12; ++i)
        students[static_cast<size_t>(i)].seat = QString::number(i + 1);
    students[4] = {QStringLiteral("05"), QStringLiteral("5"), QStringLiteral("山田"), QStringLiteral("やまだ"), {}};
    students[11].seat = QStringLiteral("5");
    ASSERT_TRUE(openRoster(students).isEmpty());
    ASSERT_EQ(pool(), QStringList{QStringLiteral("12")});
    ASSERT_EQ(status(), turnText(QStringLiteral("山田")));

    clickWithoutBox();
    ASSERT_TRUE(waitForTick());
    EXPECT_EQ(f.Label1->text(), QStringLiteral("12"));
    int colourWhileOpen = -1;
    QPoint corner;
    const SeenBox box = stop([&](QWidget *w) {
        colourWhileOpen = f.StringGrid1->object(1, 3); // seat 12
        corner = w->frameGeometry().topLeft();
        EXPECT_FALSE(f.Timer1->isActive());
        EXPECT_EQ(f.Button1->text(), start);
    });
    EXPECT_EQ(box.text, QStringLiteral("山田さんの座席は12番に決まりました。"));
    EXPECT_EQ(box.caption, QStringLiteral("Kirabo"));
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(corner, f.frameGeometry().topLeft() + QPoint(256, 120));
    EXPECT_EQ(colourWhileOpen, 255);
    EXPECT_EQ(f.StringGrid1->object(1, 3), 0);

    EXPECT_EQ(seatOf(5), QStringLiteral("12"));
    EXPECT_TRUE(f.Modified);
    EXPECT_TRUE(pool().isEmpty());
    EXPECT_EQ(cellText(f.StringGrid1, 1, 3), QStringLiteral("山田"));
    EXPECT_EQ(f.Label1->text(), QStringLiteral("12"));
    EXPECT_EQ(status(), completeText);
    EXPECT_FALSE(f.Button1->isEnabled());
    EXPECT_EQ(f.Button1->text(), start);
    EXPECT_FALSE(f.draw.spinShown());
}

// The whole class through the real timer: every student a different seat,
// the chart filling name by name, and the roster saved on closing.
TEST_F(Spin, AWholeClassOfThirtyOnEighteenMarks) {
    TForm1 &f = createWindow();
    keepSeats(30);
    ASSERT_TRUE(openRoster(classOf(30)).isEmpty());
    clickTab(0);
    clickTab(1);
    std::set<int> given;
    for (int row = 1; row <= 30; ++row) {
        const QString name = QStringLiteral("生徒%1").arg(row, 2, 10, QLatin1Char('0'));
        ASSERT_EQ(status(), turnText(name));
        ASSERT_EQ(f.Button1->text(), start);
        const int before = f.Memo1->count();
        clickWithoutBox();
        ASSERT_TRUE(waitForTick());
        const QString shown = f.Label1->text();
        const SeenBox box = stop();
        EXPECT_EQ(box.text, announcement(name, shown));
        EXPECT_EQ(seatOf(row), shown);
        EXPECT_EQ(f.Memo1->count(), before - 1);
        QStringList sorted = pool();
        std::sort(sorted.begin(), sorted.end(), [](auto &a, auto &b) { return a.toInt() < b.toInt(); });
        EXPECT_EQ(pool(), sorted) << "the pool keeps its ascending order";
        given.insert(shown.toInt());
        int col = -1;
        int r = -1;
        f.SeatToCell(shown.toInt(), col, r);
        EXPECT_EQ(cellText(f.StringGrid1, col, r), name);
    }
    EXPECT_EQ(given.size(), 30u);
    EXPECT_EQ(*given.begin(), 1);
    EXPECT_EQ(*given.rbegin(), 30);
    EXPECT_EQ(status(), completeText);
    EXPECT_FALSE(f.Button1->isEnabled());
    EXPECT_EQ(f.Button1->text(), start);

    ModalDriver save;
    save.press(QStringLiteral("はい(&Y)"));
    EXPECT_TRUE(f.close());
    ASSERT_EQ(save.seen().size(), 1);
    EXPECT_EQ(save.seen()[0].text, QStringLiteral("ファイルを保存しますか"));
    const QList<QByteArray> lines = readFile(rosterFile()).split('\n');
    ASSERT_EQ(lines.size(), 32); // header, 30 students, the empty rest after the last CR LF
    for (int row = 1; row <= 30; ++row)
        EXPECT_TRUE(lines[row].endsWith(',' + sj(seatOf(row).toUtf8().constData()).bytes() + '\r')) << row;
}

TEST_F(Spin, APreparationThatEmptiesThePoolLeavesTheSpinShowingEmptyText) {
    TForm1 &f = createWindow();
    keepSeats(3);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    clickWithoutBox();
    ASSERT_TRUE(waitForTick());
    for (int row = 1; row <= 3; ++row)
        setSeat(row, QString::number(row));
    f.Button6->click();
    EXPECT_EQ(status(), completeText);
    EXPECT_FALSE(f.Button1->isEnabled());
    ASSERT_TRUE(waitForTick());
    EXPECT_EQ(f.Label1->text(), QString());
    EXPECT_EQ(f.draw.spinIndex(), 0);
    EXPECT_EQ(f.Button1->text(), stopText);
}

// A preparation between a tick and a stop can move the numbers of the pool:
// the stop waits for a tick that shows a number of the new pool.
TEST_F(Spin, AStopAfterAPreparationWaitsForATickOfTheNewPool) {
    TForm1 &f = createWindow();
    keepSeats(10);
    ASSERT_TRUE(openRoster(classOf(10)).isEmpty());
    clickWithoutBox();
    do
        f.Timer1Timer();
    while (f.draw.spinIndex() < 5);
    const QString shown = f.Label1->text();
    for (int row = 2; row <= 8; ++row)
        setSeat(row, QString::number(row + 2)); // leaves 1, 2 and 3 free
    f.Button6->click();
    ASSERT_EQ(pool(), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));

    clickWithoutBox();
    EXPECT_EQ(f.Button1->text(), stopText);
    EXPECT_TRUE(f.Timer1->isActive());
    EXPECT_EQ(f.Label1->text(), shown);
    EXPECT_EQ(seatOf(1), QString());
    EXPECT_FALSE(f.Modified);

    ASSERT_TRUE(waitForTick());
    const QString fresh = f.Label1->text();
    EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒01"), fresh));
    EXPECT_EQ(seatOf(1), fresh);
}

// A tick whose handler raises shows one box, not one every 100 ms, and the
// spin ends: Start begins a new one.
TEST_F(Spin, AnErrorInATickShowsOneBoxAndEndsTheSpin) {
    TForm1 &f = createWindow();
    keepSeats(3);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    clickWithoutBox();
    ASSERT_TRUE(waitForTick());
    // A tick handler that raises at every tick.
    const auto raising = QObject::connect(f.Timer1, &QTimer::timeout, &f, [&f] {
        f.guardedTick([] { throw KiraboError(QStringLiteral("テスト")); });
    });
    int boxes = 0;
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        ++boxes;
        QTest::qWait(450); // four ticks' time with the box open
        static_cast<QMessageBox *>(w)->buttons().first()->click();
    });
    for (int i = 0; i < 5; ++i)
        driver.thenIfShown([&](QWidget *w) {
            ++boxes;
            static_cast<QMessageBox *>(w)->buttons().first()->click();
        });
    ASSERT_TRUE(QTest::qWaitFor([&] { return boxes > 0 && !QApplication::activeModalWidget(); }, 3000));
    QTest::qWait(250);
    QObject::disconnect(raising);
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(f.Timer1->isActive());
    EXPECT_EQ(f.Button1->text(), start);
    EXPECT_FALSE(f.draw.spinShown());
    clickWithoutBox();
    EXPECT_TRUE(f.Timer1->isActive());
}

// A conversion error in the neighbour rule ends the stop with no seat given;
// a further click asks again, and once the layout reads well the stop goes
// through.
TEST_F(Spin, AnErrorInTheStopLeavesItStoppedAndAClickTriesAgain) {
    TForm1 &f = createWindow();
    keepSeats(16);
    ASSERT_TRUE(openRoster(classOf(16)).isEmpty());
    // As a hand-edited settings file could leave it: a desk-mate cell of
    // seat 1 that is no number.
    f.StringGrid_Settei->setCell(1, 0, sj("abc"));
    f.CB_tonari->setChecked(true);
    clickWithoutBox();
    ASSERT_TRUE(waitForTick());
    for (int attempt = 0; attempt < 2; ++attempt) {
        const SeenBox box = stop();
        EXPECT_EQ(box.text, QStringLiteral("'abc' は整数ではありません."));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
        EXPECT_FALSE(f.Timer1->isActive());
        EXPECT_EQ(f.Button1->text(), stopText);
        EXPECT_TRUE(f.draw.spinShown());
        EXPECT_EQ(seatOf(1), QString());
        EXPECT_EQ(f.Memo1->count(), 16);
    }
    f.StringGrid_Settei->setCell(1, 0, sj("9"));
    const QString shown = f.Label1->text();
    EXPECT_EQ(stop().text, announcement(QStringLiteral("生徒01"), shown));
    ModalDriver no;
    no.press(QStringLiteral("いいえ(&N)"));
    EXPECT_TRUE(f.close());
}

// A chart fill that fails after the stop wrote its seat: the seat stays
// given, and the next stop moves the turn on instead of overwriting it.
TEST_F(Spin, NoStopOverwritesASeatAfterTheChartFailed) {
    TForm1 &f = createWindow();
    keepSeats(8);
    ASSERT_TRUE(openRoster(classOf(8)).isEmpty());
    f.StringGrid_Settei->setCell(0, 7, sj("8番"));
    clickWithoutBox();
    f.Timer1Timer();
    const QString first = f.Label1->text();
    EXPECT_EQ(stop().text, QStringLiteral("'8番' は整数ではありません."));
    EXPECT_EQ(seatOf(1), first);
    EXPECT_EQ(f.Button1->text(), start);

    clickWithoutBox();
    f.Timer1Timer();
    clickWithoutBox();
    EXPECT_EQ(seatOf(1), first);
    EXPECT_EQ(seatOf(2), QString());
    EXPECT_EQ(f.draw.turnRow(), 2);
    EXPECT_EQ(status(), turnText(QStringLiteral("生徒02")));
    EXPECT_EQ(f.Button1->text(), start);

    // A preparation that fails in the chart leaves Start off.
    ModalDriver driver;
    driver.press(QStringLiteral("OK"));
    f.Button6->click();
    EXPECT_FALSE(f.Button1->isEnabled());
}

// A seat that the layout does not show (a layout read from a file and not
// numbered again) is announced without a highlight.
TEST_F(Spin, ASeatWithoutAPositionIsAnnouncedWithoutHighlight) {
    TForm1 &f = createWindow();
    keepSeats(2);
    ASSERT_TRUE(openRoster(classOf(2)).isEmpty());
    f.StringGrid_Settei->setCell(0, 1, sj("7"));
    setSeat(2, QStringLiteral("1"));
    f.Button6->click();
    ASSERT_EQ(pool(), QStringList{QStringLiteral("2")});
    bool anyRed = false;
    clickWithoutBox();
    f.Timer1Timer();
    const SeenBox box = stop([&](QWidget *) {
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r)
                anyRed = anyRed || f.StringGrid1->object(c, r) != 0;
    });
    EXPECT_EQ(box.text, announcement(QStringLiteral("生徒01"), QStringLiteral("2")));
    EXPECT_FALSE(anyRed);
    EXPECT_EQ(status(), completeText);
}

// The timer ticks on while the roster check's box of a preparation is open;
// the preparation has emptied the pool by then, so those ticks show nothing.
TEST_F(Spin, TicksGoOnUnderTheBoxesOfAPreparation) {
    TForm1 &f = createWindow();
    keepSeats(3);
    ASSERT_TRUE(openRoster(classOf(3)).isEmpty());
    clickWithoutBox();
    ASSERT_TRUE(waitForTick());
    setSeat(1, QStringLiteral("9"));
    int ticksUnderBox = 0;
    QString shownUnderBox = QStringLiteral("?");
    ModalDriver driver;
    driver.then([&](QWidget *w) {
        QSignalSpy ticks(f.Timer1, &QTimer::timeout);
        QTest::qWait(350);
        ticksUnderBox = static_cast<int>(ticks.count());
        shownUnderBox = f.Label1->text();
        static_cast<QMessageBox *>(w)->buttons().first()->click();
    });
    f.Button6->click();
    EXPECT_GE(ticksUnderBox, 2);
    EXPECT_EQ(shownUnderBox, QString());
    EXPECT_EQ(status(), QStringLiteral("名簿の座席指定に誤りがあります！"));
    EXPECT_FALSE(f.Button1->isEnabled());
    EXPECT_TRUE(f.Timer1->isActive());
}

// Whatever a handler raises ends in the error box, never in the event loop.
TEST_F(Spin, AnyExceptionFromAHandlerEndsInTheErrorBox) {
    TForm1 &f = createWindow();
    const struct {
        std::function<void()> raise;
        QString shown;
    } cases[] = {
        {[] { throw std::runtime_error("boom"); }, QStringLiteral("予期しないエラーが発生しました (boom)")},
        {[] { throw 42; }, QStringLiteral("予期しないエラーが発生しました.")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("メモリが不足しています.")},
    };
    for (const auto &c : cases) {
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        f.guardedTick(c.raise);
        ASSERT_EQ(driver.seen().size(), 1);
        EXPECT_EQ(driver.seen()[0].text, c.shown);
        EXPECT_EQ(driver.seen()[0].icon, QMessageBox::Critical);
    }
    EXPECT_TRUE(f.isVisible());
}
