#include "journal/DrawJournal.h"
#include "journal/Journal.h"
#include "platform/System.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

drawrecord::Event event(drawrecord::Kind kind, std::int32_t row, const char *seat) {
    drawrecord::Event e;
    e.kind = kind;
    e.time = QDateTime::fromMSecsSinceEpoch(1765400000000 + row * 1000);
    e.row = row;
    e.attendance = SjisText(QByteArray::number(row));
    e.name = SjisText::lit("生徒") + SjisText(QByteArray::number(row));
    e.seat = SjisText(seat);
    e.pool = 30 - row;
    e.draws = 1000u + static_cast<unsigned>(row);
    e.className = QStringLiteral("3年2組");
    return e;
}

// A draw that had given row 1 its seat before the journal began, then drew
// row 2 (refused once) and row 3.
journal::Contents aDraw() {
    journal::Contents c;
    c.rosterPath = QStringLiteral("/教室/3年2組.csv");
    c.fileHash = journal::hashOf("the file");
    c.rosterBytes = SjisText::lit("くじ順,出席番号,氏名,よみ,座席番号\r\n01,1,生徒1,せいと,7\r\n").bytes();
    c.seed = 4000000000u;
    c.layout = {SjisText("1"), SjisText::lit("×"), SjisText()};
    c.held = {{1, SjisText("7")}};
    c.events = {event(drawrecord::Kind::Stop, 1, "7"), event(drawrecord::Kind::Preparation, 0, "")};
    // A preparation that was refused: no pool.
    c.events[1].pool.reset();
    c.firstNew = 2;
    return c;
}

std::vector<drawrecord::Event> laterEvents() {
    return {event(drawrecord::Kind::Start, 2, ""), event(drawrecord::Kind::Refusal, 2, "8"),
            event(drawrecord::Kind::Stop, 2, "9"), event(drawrecord::Kind::Start, 3, ""),
            event(drawrecord::Kind::Stop, 3, "12")};
}

QByteArray written(const journal::Contents &c, const std::vector<drawrecord::Event> &later) {
    QByteArray out = journal::beginning(c);
    for (const drawrecord::Event &e : later)
        out += journal::line(e);
    return out;
}

void expectSameEvent(const drawrecord::Event &a, const drawrecord::Event &b) {
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.time, b.time);
    EXPECT_EQ(a.row, b.row);
    EXPECT_EQ(a.attendance, b.attendance);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.seat, b.seat);
    EXPECT_EQ(a.pool, b.pool);
    EXPECT_EQ(a.draws, b.draws);
    EXPECT_EQ(a.note, b.note);
    EXPECT_EQ(a.className, b.className);
}

// The line a journal of an earlier version held for an event: without the
// class, and so with its own checksum.
QByteArray withoutClass(const QByteArray &line) {
    QList<QByteArray> fields = line.chopped(2).split(' ');
    fields.removeLast(); // the checksum
    fields.removeLast(); // the class
    const QByteArray body = fields.join(' ');
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : body) {
        c ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return body + ' ' + QByteArray::number(c ^ 0xFFFFFFFFu, 16).rightJustified(8, '0') + "\r\n";
}

QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(JournalModel, ReadsBackEverythingItHoldsAndTheSeatsGiven) {
    const journal::Contents c = aDraw();
    const journal::Read r = journal::read(written(c, laterEvents()));
    ASSERT_EQ(r.reading, journal::Reading::Sound);
    EXPECT_FALSE(r.cutOff);
    EXPECT_EQ(r.contents.rosterPath, c.rosterPath);
    EXPECT_EQ(r.contents.fileHash, c.fileHash);
    EXPECT_EQ(r.contents.rosterBytes, c.rosterBytes);
    EXPECT_EQ(r.contents.seed, c.seed);
    EXPECT_EQ(r.contents.layout, c.layout);
    EXPECT_EQ(r.contents.firstNew, 2u);
    ASSERT_EQ(r.contents.events.size(), 7u);
    expectSameEvent(r.contents.events[0], c.events[0]);
    expectSameEvent(r.contents.events[1], c.events[1]);
    expectSameEvent(r.contents.events[6], laterEvents()[4]);
    // The refused seat 8 is given to nobody; the stop before the journal began
    // counts through what the roster held then.
    const std::map<std::int32_t, SjisText> seats = journal::seats(r.contents);
    EXPECT_EQ(seats, (std::map<std::int32_t, SjisText>{{1, SjisText("7")}, {2, SjisText("9")}, {3, SjisText("12")}}));
}

TEST(JournalModel, AJournalOfAnEarlierVersionReadsItsEventsWithoutAClass) {
    QByteArray old = journal::beginning(aDraw());
    std::vector<drawrecord::Event> later = laterEvents();
    for (const drawrecord::Event &e : later)
        old += withoutClass(journal::line(e));
    const journal::Read r = journal::read(old);
    ASSERT_EQ(r.reading, journal::Reading::Sound);
    ASSERT_EQ(r.contents.events.size(), 7u);
    later[4].className.clear();
    expectSameEvent(r.contents.events[6], later[4]);
    EXPECT_EQ(journal::seats(r.contents).at(3), SjisText("12"));
}

// A program that dies while writing a line leaves that line cut off at any
// byte: whatever the cut, every earlier line is read and nothing of the cut
// line counts.
TEST(JournalModel, ALineCutOffAtAnyByteLosesThatLineOnly) {
    const journal::Contents c = aDraw();
    std::vector<drawrecord::Event> later = laterEvents();
    const QByteArray whole = written(c, later);
    const QByteArray before = written(c, {later.begin(), later.end() - 1});
    for (qsizetype cut = before.size(); cut < whole.size(); ++cut) {
        const journal::Read r = journal::read(whole.left(cut));
        ASSERT_EQ(r.reading, journal::Reading::Sound) << cut;
        EXPECT_EQ(r.cutOff, cut > before.size()) << cut;
        EXPECT_EQ(r.contents.events.size(), 6u) << cut;
        EXPECT_EQ(journal::seats(r.contents).count(3), 0u) << "a seat from a line cut off at " << cut;
    }
    // Cut off in its first lines, it decided nothing.
    const QByteArray start = journal::beginning(c);
    for (qsizetype cut = 1; cut < start.indexOf("layout"); cut += 7)
        EXPECT_EQ(journal::read(start.left(cut)).reading, journal::Reading::Empty) << cut;
}

TEST(JournalModel, DamageBeforeTheLastLineMakesItUnreadable) {
    const QByteArray whole = written(aDraw(), laterEvents());
    const qsizetype third = whole.indexOf("held");
    struct Case {
        const char *what;
        QByteArray bytes;
        journal::Reading reading;
    };
    QByteArray flipped = whole;
    flipped[third + 6] = flipped[third + 6] == '1' ? '2' : '1';
    QByteArray noise(4096, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919) % 251);
    const Case cases[] = {
        {"nothing", QByteArray(), journal::Reading::Empty},
        {"a byte changed in a whole line", flipped, journal::Reading::Unreadable},
        {"noise", noise, journal::Reading::Unreadable},
        {"lines of noise", QByteArray("x y z\r\n").repeated(50), journal::Reading::Unreadable},
        {"a text file", SjisText::lit("くじ順,出席番号\r\n").bytes(), journal::Reading::Unreadable},
        {"a line ending without its CR", QByteArray(whole).replace("\r\nroster", "\nroster"),
         journal::Reading::Unreadable},
    };
    for (const Case &c : cases)
        EXPECT_EQ(journal::read(c.bytes).reading, c.reading) << c.what;
}

// Two programs running at once each write a journal of their own, and a
// journal whose program still runs is nobody else's to take up.
TEST(JournalModel, EachProgramKeepsAFileOfItsOwnUnderItsLock) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    sys::setUserDataFolderForTesting(dir.path());
    {
        DrawJournal first, second;
        first.begin(aDraw());
        second.begin(aDraw());
        first.append(laterEvents()[2]);
        EXPECT_NE(first.path(), second.path());
        EXPECT_EQ(journal::read(fileBytes(first.path())).contents.events.size(), 3u);
        EXPECT_EQ(journal::read(fileBytes(second.path())).contents.events.size(), 2u);
        EXPECT_TRUE(DrawJournal::leftBehind().empty()) << "both are held by a running program";
        second.end();
        EXPECT_FALSE(QFile::exists(second.path()));
    }
    // Gone out of scope without end, as a program that died: left behind.
    const std::vector<DrawJournal::Left> left = DrawJournal::leftBehind();
    ASSERT_EQ(left.size(), 1u);
    const QString aside = DrawJournal::setAside(left[0]);
    EXPECT_TRUE(QFile::exists(aside));
    EXPECT_FALSE(QFile::exists(left[0].path));
    EXPECT_TRUE(DrawJournal::leftBehind().empty()) << "set aside, it is asked about no more";
    sys::setUserDataFolderForTesting(QString());
}
