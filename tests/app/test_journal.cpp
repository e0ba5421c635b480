#include "support/DrawTest.h"

#include "journal/Journal.h"
#include "widgets/TextList.h"
#ifndef _WIN32
#include "support/Faults.h"
#endif

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include <map>

namespace {

const QString yes = QStringLiteral("はい(&Y)");
const QString no = QStringLiteral("いいえ(&N)");

QString question(int students, int decided) {
    return QStringLiteral("前回のくじ引きは保存されないまま終わっています（%1人中%2人の座席が決まっています）。"
                          "決まった座席を名簿に戻して続けますか？")
        .arg(students)
        .arg(decided);
}

} // namespace

class Journal : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        createWindow();
        keepSeats(students);
        ASSERT_TRUE(openRoster(classOf(students)).isEmpty());
        // The rule's refusals are journaled like any stop; they only make a draw longer.
        form().CB_tonari->setChecked(false);
    }

    QString journalFolder() const { return QDir(dataFolder()).filePath(QStringLiteral("journal")); }
    QStringList files(const QString &pattern) const {
        return QDir(journalFolder()).entryList({pattern}, QDir::Files, QDir::Name);
    }
    QByteArray journalBytes() const {
        const QStringList j = files(QStringLiteral("*.journal"));
        return j.size() == 1 ? readFile(QDir(journalFolder()).filePath(j[0])) : QByteArray();
    }

    // Draws this many students; answers the seats given, by roster row.
    std::map<int, QString> drawSome(int n) {
        std::map<int, QString> given;
        while (static_cast<int>(given.size()) < n) {
            const int row = form().draw.turnRow();
            const SeenBox box = drawOnce();
            if (!form().classRoster.isWithoutSeat(row))
                given[row] = seatOf(row);
            EXPECT_EQ(box.text, announcement(cellText(form().StringGrid2, 2, row), seatOf(row)));
        }
        return given;
    }
    std::map<int, QString> seatsInRoster() {
        std::map<int, QString> seats;
        for (int row = 1; row <= students; ++row)
            if (!seatOf(row).isEmpty())
                seats[row] = seatOf(row);
        return seats;
    }

    // The program ends as one that dies does: no closing, no question.
    void crash() { window.reset(); }

    // Answers the question after a restart with はい, counts the rows of the
    // draw record that it opens, and closes the record.
    static void answerYesCountingRecordRows(ModalDriver &driver, int &rows) {
        driver.press(yes).then([&rows](QWidget *w) {
            auto *table = w->findChild<QTableWidget *>(QStringLiteral("DrawRecordTable"));
            rows = table ? table->rowCount() : -1;
            qobject_cast<QDialog *>(w)->reject();
        });
    }

    // The next start, answering the boxes it shows as the driver says.
    QList<SeenBox> restart(ModalDriver &driver) {
        createWindow();
        form().resumeUnfinishedDraw();
        return driver.seen();
    }

    static constexpr int students = 8;
};

TEST_F(Journal, EverySeatIsOnTheDiskBeforeTheClassHearsIt) {
    for (int n = 0; n < 3; ++n) {
        const int row = form().draw.turnRow();
        form().Button1->click();
        form().Timer1Timer();
        const QString onShow = form().Label1->text();
        stop([&](QWidget *) {
            const journal::Read r = journal::read(journalBytes());
            ASSERT_EQ(r.reading, journal::Reading::Sound);
            EXPECT_EQ(journal::seats(r.contents)[row].toUnicode(), onShow) << "while the announcement is open";
        });
    }
    // A refused stop and a start are journaled too: it holds what the record holds.
    const journal::Read r = journal::read(journalBytes());
    ASSERT_EQ(r.contents.events.size(), form().DrawRecord.size());
    for (size_t i = 0; i < r.contents.events.size(); ++i)
        EXPECT_EQ(r.contents.events[i].kind, form().DrawRecord[i].kind) << i;
    EXPECT_EQ(r.contents.rosterPath, rosterFile());
}

TEST_F(Journal, AnUnsavedDrawComesBackWhereItStoppedAndGoesOnToTheEnd) {
    std::map<int, QString> given = drawSome(2);
    // Prepared again on purpose, the draw begins a fresh journal that still
    // holds the seats given before it.
    form().Button6->click();
    const std::map<int, QString> more = drawSome(2);
    given.insert(more.begin(), more.end());
    const size_t events = form().DrawRecord.size();
    const QByteArray rosterBytes = readFile(rosterFile());
    crash();

    ModalDriver driver;
    int recordRows = -1;
    answerYesCountingRecordRows(driver, recordRows);
    const QList<SeenBox> seen = restart(driver);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text, question(students, 4));
    EXPECT_EQ(recordRows, static_cast<int>(events)) << "the record as it stood";

    EXPECT_EQ(seatsInRoster(), given);
    EXPECT_TRUE(form().Modified);
    EXPECT_EQ(readFile(rosterFile()), rosterBytes) << "nothing written until the teacher saves";
    EXPECT_EQ(form().PageControl1->currentIndex(), 1);
    EXPECT_EQ(pool().size(), students - 4);
    EXPECT_EQ(status(), turnText(cellText(form().StringGrid2, 2, form().draw.turnRow())));
    finishDraw(students);

    // Saved, the draw is over: the journal goes, and the next start asks nothing.
    form().ToolButton2->click();
    EXPECT_FALSE(form().Modified);
    EXPECT_TRUE(files(QStringLiteral("*")).isEmpty());
    crash();
    ModalDriver quiet;
    quiet.pressIfShown(no);
    EXPECT_TRUE(restart(quiet).isEmpty());
}

TEST_F(Journal, AnsweredNoTheJournalIsKeptAsideAndTheStartIsAsUsual) {
    drawSome(3);
    crash();
    ModalDriver driver;
    driver.press(no);
    ASSERT_EQ(restart(driver).size(), 1);
    EXPECT_TRUE(form().OpenDialog1.fileName.isEmpty());
    EXPECT_EQ(form().PageControl1->currentIndex(), 0);
    EXPECT_TRUE(files(QStringLiteral("*.journal")).isEmpty());
    ASSERT_EQ(files(QStringLiteral("*.kept")).size(), 1);
    EXPECT_EQ(journal::seats(journal::read(readFile(QDir(journalFolder()).filePath(files(QStringLiteral("*.kept"))[0])))
                                 .contents)
                  .size(),
              3u);
    crash();
    ModalDriver quiet;
    quiet.pressIfShown(no);
    EXPECT_TRUE(restart(quiet).isEmpty());
}

TEST_F(Journal, ARosterFileChangedSinceIsNotPatchedButItsRecordCanBeSaved) {
    drawSome(3);
    const size_t events = form().DrawRecord.size();
    crash();
    // Edited elsewhere meanwhile: a name changed.
    QByteArray changed = readFile(rosterFile());
    changed.replace(sj("生徒05").bytes(), sj("山田05").bytes());
    writeFile(rosterFile(), changed);

    ModalDriver driver;
    int recordRows = -1;
    answerYesCountingRecordRows(driver, recordRows);
    const QList<SeenBox> seen = restart(driver);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].text,
              QStringLiteral("前回のくじ引きは保存されないまま終わっています（8人中3人の座席が決まっています）。"
                             "名簿ファイル %1 はその後に変わっているか読めないため、座席は名簿に戻しません。"
                             "くじ引きの記録を開いて CSV ファイルに保存できます。記録を開きますか？")
                  .arg(rosterFile()));
    EXPECT_EQ(recordRows, static_cast<int>(events));
    EXPECT_TRUE(form().OpenDialog1.fileName.isEmpty());
    EXPECT_FALSE(form().Modified);
    EXPECT_EQ(readFile(rosterFile()), changed);
    EXPECT_EQ(files(QStringLiteral("*.kept")).size(), 1u);
}

// What a journal left in a bad state gives back: never a wrong seat, and
// the program starts and draws.
TEST_F(Journal, DamagedJournalsGiveBackNoWrongSeat) {
    const std::map<int, QString> given = drawSome(3);
    crash();
    const QString file = QDir(journalFolder()).filePath(files(QStringLiteral("*.journal"))[0]);
    const QByteArray whole = readFile(file);
    struct Case {
        const char *what;
        QByteArray bytes;
        QString box;        // the first box shown, empty for none
        size_t seatsBack;   // seats written back on はい
        bool keptAside;
    };
    // The last stop's line cut off in the middle: that stop is lost, as it
    // was never announced.
    const qsizetype lastLine = whole.lastIndexOf("\r\n", whole.size() - 3) + 2;
    const Case cases[] = {
        {"cut off in its last line", whole.left(lastLine + (whole.size() - lastLine) / 2), question(students, 2), 2,
         false},
        {"garbage", QByteArray(3000, '\x8f'),
         QStringLiteral("前回のくじ引きの控え %1 は壊れているため読めません。控えは %2 として残してあります")
             .arg(file, file.chopped(8) + QStringLiteral(".kept")),
         0, true},
        {"empty", QByteArray(), QString(), 0, false},
    };
    ASSERT_EQ(journal::read(whole.left(lastLine)).contents.events.back().kind, drawrecord::Kind::Start);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString &f : files(QStringLiteral("*")))
            QFile::remove(QDir(journalFolder()).filePath(f));
        writeFile(file, c.bytes);
        QList<SeenBox> seen;
        {
            ModalDriver driver;
            driver.pressIfShown(c.seatsBack > 0 ? yes : QStringLiteral("OK"));
            if (c.seatsBack > 0)
                driver.then([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); }); // the record
            seen = restart(driver);
        }
        EXPECT_EQ(seen.isEmpty() ? QString() : seen[0].text, c.box);
        EXPECT_EQ(seatsInRoster().size(), c.seatsBack);
        for (const auto &[row, seat] : seatsInRoster())
            EXPECT_EQ(given.at(row), seat);
        EXPECT_EQ(files(QStringLiteral("*.kept")).size(), c.keptAside ? 1u : 0u);
        // The draw goes on, from the file or from where it was given back.
        if (c.seatsBack == 0) {
            keepSeats(students);
            ModalDriver open;
            open.chooseFile(rosterFile());
            form().ToolButton1->click();
        }
        finishDraw(students);
        crash();
    }
}

// A data folder nobody may write, or a disk that fills up: the draw goes on
// without a journal, said once in the status line.
TEST_F(Journal, WithoutAJournalTheDrawGoesOnAndSaysSoOnce) {
    const QString notice = QStringLiteral("控えのファイルを書けません。決まった座席は名簿を保存するまで残りません");
    crash();
    // The data folder's place is taken by a file: no folder can be made there.
    ASSERT_TRUE(QDir(dataFolder()).removeRecursively());
    writeFile(dataFolder(), "not a folder");
    createWindow();
    keepSeats(students);
    ASSERT_TRUE(openRoster(classOf(students)).isEmpty());
    EXPECT_EQ(status(), notice);
    drawOnce();
    EXPECT_EQ(status(), turnText(cellText(form().StringGrid2, 2, form().draw.turnRow())));
    form().Button6->click(); // fails again, but is not said again
    EXPECT_NE(status(), notice);
    finishDraw(students);
}

#ifndef _WIN32
TEST_F(Journal, ADiskThatFillsUpMidDrawKeepsWhatWasWritten) {
    const std::map<int, QString> given = drawSome(2);
    {
        FileSizeLimit full(1);
        ASSERT_TRUE(full.inPlace());
        form().Button1->click();
        EXPECT_EQ(status(), QStringLiteral("控えのファイルを書けません。決まった座席は名簿を保存するまで残りません"));
        form().Timer1Timer();
        stop();
    }
    // Said until the next start, and not again: nothing more is written.
    EXPECT_EQ(status(), QStringLiteral("控えのファイルを書けません。決まった座席は名簿を保存するまで残りません"));
    form().Button1->click();
    EXPECT_EQ(status(), turnText(cellText(form().StringGrid2, 2, form().draw.turnRow())));
    form().Timer1Timer();
    stop();
    EXPECT_EQ(status(), turnText(cellText(form().StringGrid2, 2, form().draw.turnRow())));
    const journal::Read r = journal::read(journalBytes());
    ASSERT_EQ(r.reading, journal::Reading::Sound);
    std::map<int, QString> inJournal;
    for (const auto &[row, seat] : journal::seats(r.contents))
        inJournal[row] = seat.toUnicode();
    EXPECT_EQ(inJournal, given);
    finishDraw(students);
}
#endif

TEST_F(Journal, TwoWindowsAtOnceShareNoJournal) {
    drawSome(2);
    // A second window with a class of its own, drawn meanwhile.
    const QString otherFile = path(QStringLiteral("other.csv"));
    ASSERT_TRUE(QFile::copy(rosterFile(), otherFile));
    form().SaveSetting(form().startupSettingsPath()); // the same layout
    TForm1 other;
    other.show();
    other.openFromCommandLine({QStringLiteral("kirabo"), otherFile});
    other.CB_tonari->setChecked(false);
    for (int n = 0; n < 3; ++n) {
        other.Button1->click();
        other.Timer1Timer();
        ModalDriver driver;
        driver.press(QStringLiteral("OK"));
        other.Button1->click();
    }
    drawSome(1);
    const QStringList journals = files(QStringLiteral("*.journal"));
    ASSERT_EQ(journals.size(), 2);
    std::map<QString, size_t> seatsByRoster;
    for (const QString &j : journals) {
        const journal::Read r = journal::read(readFile(QDir(journalFolder()).filePath(j)));
        seatsByRoster[r.contents.rosterPath] = journal::seats(r.contents).size();
    }
    EXPECT_EQ(seatsByRoster, (std::map<QString, size_t>{{rosterFile(), 3u}, {otherFile, 3u}}));
}
