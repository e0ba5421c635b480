#include "support/DrawTest.h"

#include "draw/Random.h"
#include "platform/System.h"
#include "platform/AppendFile.h"
#include "support/CaseName.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <csignal>
#include <map>
#include <unistd.h>

// Real draws in a real program, killed with SIGKILL at chosen and at random
// moments: after a restart and はい, the roster holds every seat the class
// was told of, invents none, and the draw goes on to the end.
//
// The program killed is this test program run again as a child that draws
// through its window, with the real timer and the real boxes, and tells the
// parent each seat announced the moment its box is open.

namespace {

enum class Moment { AtRandom, DuringASpin, WithTheAnnouncementOpen, BetweenStopAndStart, InTheJournalWrite };

struct KillCase {
    const char *what;
    Moment moment;
};

constexpr int students = 8;
constexpr int runsPerMoment = 20;
const char childVariable[] = "KIRABO_CRASH_CHILD";

void tell(const QByteArray &line) {
    const QByteArray out = line + '\n';
    [[maybe_unused]] const ssize_t n = ::write(STDOUT_FILENO, out.constData(), static_cast<size_t>(out.size()));
}

} // namespace

class Crash : public DrawTest, public ::testing::WithParamInterface<KillCase> {};

// The child's part: draws until it is killed or the class is seated.
TEST_F(Crash, ChildDrawsUntilKilledWhenStartedByTheKillTests) {
    const QList<QByteArray> how = qgetenv(childVariable).split(';');
    if (how.size() != 4)
        GTEST_SKIP() << "runs only as the kill tests' child";
    const QString folder = QString::fromUtf8(how[0]);
    const auto moment = static_cast<Moment>(how[1].toInt());
    const int killAt = how[2].toInt();
    QRandomGenerator pace(how[3].toUInt());
    sys::setUserDataFolderForTesting(QDir(folder).filePath(QStringLiteral("data")));

    TForm1 &f = createWindow();
    keepSeats(students);
    f.CB_tonari->setChecked(false);
    f.openFromCommandLine({QStringLiteral("kirabo"), QDir(folder).filePath(QStringLiteral("class.csv"))});
    tell("READY");
    for (int n = 0; f.Button1->isEnabled(); ++n) {
        f.Button1->click();
        for (int ticks = 1 + static_cast<int>(pace.bounded(2)); ticks > 0; --ticks)
            waitForTick();
        if (n == killAt && moment == Moment::DuringASpin)
            ::raise(SIGKILL);
        if (n == killAt && moment == Moment::InTheJournalWrite)
            AppendFile::setMidWriteForTesting([] { ::raise(SIGKILL); });
        const int row = f.draw.turnRow();
        stop([&](QWidget *) {
            tell("SHOWN " + QByteArray::number(row) + ' ' + seatOf(row).toUtf8());
            if (n == killAt && moment == Moment::WithTheAnnouncementOpen)
                ::raise(SIGKILL);
            QTest::qWait(static_cast<int>(pace.bounded(40)));
        });
        if (n == killAt && moment == Moment::BetweenStopAndStart)
            ::raise(SIGKILL);
    }
    tell("DONE");
}

TEST_P(Crash, EverySeatAnnouncedComesBackAndTheDrawGoesOn) {
    if (!qgetenv(childVariable).isEmpty())
        GTEST_SKIP();
    const KillCase c = GetParam();
    int killedMidDraw = 0;
    for (int run = 0; run < runsPerMoment; ++run) {
        SCOPED_TRACE(run);
        QTemporaryDir place;
        ASSERT_TRUE(place.isValid());
        // The restarted window lets go of its journal before its folder goes.
        const auto closeFirst = qScopeGuard([this] { window.reset(); });
        // The child's class file: as the window would write it.
        std::vector<Pupil> pupils = classOf(students);
        QByteArray bytes = sj("くじ順,出席番号,氏名,ふりがな,座席番号\r\n").bytes();
        for (const Pupil &p : pupils) {
            SjisText line;
            ASSERT_TRUE(SjisText::tryFromUnicode(QStringList{p.order, p.attendance, p.name, p.reading, p.seat}.join(','), line));
            bytes += line.bytes() + "\r\n";
        }
        const QString roster = QDir(place.path()).filePath(QStringLiteral("class.csv"));
        writeFile(roster, bytes);

        const int killAt = run % (students - 1);
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(childVariable), QStringLiteral("%1;%2;%3;%4")
                                                            .arg(place.path())
                                                            .arg(static_cast<int>(c.moment))
                                                            .arg(killAt)
                                                            .arg(1000 + run));
        // The child's own temporary folders go inside this run's folder, so
        // that a killed child leaves nothing behind in the system's.
        env.insert(QStringLiteral("TMPDIR"), place.path());
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=Crash.ChildDrawsUntilKilledWhenStartedByTheKillTests")});
        ASSERT_TRUE(child.waitForStarted());
        if (c.moment == Moment::AtRandom) {
            ASSERT_TRUE(child.waitForReadyRead(60000));
            QTest::qWait(static_cast<int>(QRandomGenerator(static_cast<quint32>(run)).bounded(200, 1500)));
            child.kill();
        }
        ASSERT_TRUE(child.waitForFinished(120000));
        const QList<QByteArray> said = child.readAllStandardOutput().split('\n');
        std::map<int, QString> shown;
        bool done = false;
        for (const QByteArray &line : said) {
            if (line.startsWith("SHOWN ")) {
                const QList<QByteArray> f = line.split(' ');
                shown[f[1].toInt()] = QString::fromUtf8(f[2]);
            }
            done = done || line == "DONE";
        }
        if (done)
            continue; // the draw ended before the kill came
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        ++killedMidDraw;

        // The restart, in this program's own window.
        window.reset();
        sys::setUserDataFolderForTesting(QDir(place.path()).filePath(QStringLiteral("data")));
        createWindow();
        {
            ModalDriver driver;
            driver.pressIfShown(QStringLiteral("はい(&Y)"));
            driver.thenIfShown([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
            form().resumeUnfinishedDraw();
            if (shown.empty() && driver.seen().isEmpty()) {
                // Nothing decided before the kill: nothing to ask.
                continue;
            }
            ASSERT_EQ(driver.seen().size(), 1);
        }
        EXPECT_EQ(readFile(roster), bytes) << "the file is not written until the teacher saves";
        std::map<int, QString> back;
        for (int row = 1; row <= students; ++row)
            if (!seatOf(row).isEmpty())
                back[row] = seatOf(row);
        for (const auto &[row, seat] : shown)
            EXPECT_EQ(back.count(row) ? back[row] : QString(), seat) << "an announced seat lost, row " << row;
        // At most the one stop that was on the disk but not yet announced.
        EXPECT_LE(back.size(), shown.size() + 1);
        for (const auto &[row, seat] : back) {
            if (!shown.count(row)) {
                EXPECT_EQ(row, static_cast<int>(shown.size()) + 1) << "a seat nobody drew, row " << row;
            }
        }

        finishDraw(students);
    }
    EXPECT_GE(killedMidDraw, runsPerMoment / 2) << "most kills must come before the draw ends";
}

INSTANTIATE_TEST_SUITE_P(Kill, Crash,
                         ::testing::Values(KillCase{"AtARandomMoment", Moment::AtRandom},
                                           KillCase{"DuringASpin", Moment::DuringASpin},
                                           KillCase{"WithTheAnnouncementOpen", Moment::WithTheAnnouncementOpen},
                                           KillCase{"BetweenAStopAndTheNextStart", Moment::BetweenStopAndStart},
                                           KillCase{"InTheMiddleOfTheJournalWrite", Moment::InTheJournalWrite}),
                         ByWhat());
