#include "session/ClassSession.h"

#include "draw/ConditionsInForce.h"
#include "draw/Random.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"
#include "roster/ClassName.h"
#include "roster/HeldSeats.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// A file's bytes; nothing where it is not there. Other failures are raised.
std::optional<QByteArray> readIfThere(const QString &path) {
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return textfile::readAll(path);
}

// How many of the students the conditions name the roster holds under the
// same attendance number and name. A pair with one student renamed still
// belongs to the class: it waits for the teacher to confirm the new name.
int studentsKnown(const SeatConditions &conditions, const Roster &roster) {
    int known = 0;
    for (const SeatConditions::Front &f : conditions.front)
        known += SeatConditions::rowOf(roster, f.attendance, f.name) != 0;
    for (const SeatConditions::Apart &a : conditions.apart)
        known += (SeatConditions::rowOf(roster, a.attendance, a.name) != 0)
                 + (SeatConditions::rowOf(roster, a.otherAttendance, a.otherName) != 0);
    return known;
}

// How many students of the history's last round the roster holds under the
// same attendance number and name.
int studentsKnown(const ClassHistory &history, const Roster &roster) {
    if (history.isEmpty())
        return 0;
    int known = 0;
    for (const ClassHistory::Seat &s : history.rounds().back().seats)
        known += SeatConditions::rowOf(roster, s.attendance, s.name) != 0;
    return known;
}

// Reads one of the class's files; an empty one where the file is not there.
// Answers nothing, and adds the line that says why to problems, for a file
// that cannot be used: unreadable, not such a file, or another class's.
template <typename File>
std::optional<File> readClassFile(const QString &path, const Roster &roster, const QString &caption,
                                  const QString &foreign, QStringList &problems) {
    QString problem;
    std::optional<File> file;
    try {
        if (const auto bytes = readIfThere(path)) {
            file = File::parse(*bytes, problem);
            if (file && !file->isEmpty() && studentsKnown(*file, roster) == 0) {
                file.reset();
                problem = foreign;
            }
        } else {
            file.emplace();
        }
    } catch (const KiraboError &e) {
        problem = e.message();
    }
    if (!file)
        problems << QStringLiteral("%1 %2: %3").arg(caption, QFileInfo(path).fileName(), problem);
    return file;
}

// The roster file as the journal's question needs it.
struct RosterNow {
    bool unchanged = false; // the file holds the bytes it held when the journal began
    QByteArray bytes;
};

RosterNow rosterNow(const journal::Contents &c) {
    RosterNow now;
    try {
        now.bytes = textfile::readAll(c.rosterPath);
        now.unchanged = !c.fileHash.isEmpty() && journal::hashOf(now.bytes) == c.fileHash;
    } catch (const InOutError &) {
    }
    return now;
}

} // namespace

ClassSession::ClassSession() = default;

const SeatTable &ClassSession::seats() const {
    if (students.cells().revision() != seatsRevision) {
        seatTable.rebuild(students);
        seatsRevision = students.cells().revision();
    }
    return seatTable;
}

QString ClassSession::className() const {
    return made ? classname::newClass() : classname::ofRoster(file);
}

// ---- The roster's file ----

QStringList ClassSession::openRoster(const QString &path, const QByteArray &content) {
    file = path;
    students.read(content);
    // Another roster: the draw of the one before has ended.
    endJournal();
    drawing.newClass();
    made = false;
    QStringList problems;
    loadClassFiles(path, problems);
    return problems;
}

void ClassSession::newRoster(int count) {
    students.makeNew(count);
    // Another class: the draw of the one before has ended.
    endJournal();
    drawing.newClass();
    // A new class has no file yet, nor the files that stand beside one.
    file.clear();
    classConditions.emplace();
    classHistory.emplace();
    unsavedHistory.reset();
    conditionsBroken = historyBroken = false;
    made = true;
    changed = true;
}

void ClassSession::saveRoster(const QString &path) {
    textfile::save(path, students.bytes());
    changed = false;
    // A roster made in the program is from now on the file it was saved as.
    file = path;
    made = false;
    saveHistory();
    // The file now holds every seat decided: a finished draw's journal has
    // done its work, an unfinished one goes on from the file as saved.
    if (drawJournal.isOpen()) {
        bool finished = true;
        for (int row = 1; finished && row <= students.studentCount(); ++row)
            finished = !students.isWithoutSeat(row);
        if (finished)
            endJournal();
        else
            beginJournal();
    }
}

// ---- The class's files ----

void ClassSession::loadClassFiles(const QString &rosterPath, QStringList &problems) {
    unsavedHistory.reset();
    classConditions = readClassFile<SeatConditions>(
        SeatConditions::pathFor(rosterPath), students, QStringLiteral("座席の条件"),
        QStringLiteral("この名簿の生徒と合わない条件です（別のクラスのものかもしれません）"), problems);
    classHistory = readClassFile<ClassHistory>(
        ClassHistory::pathFor(rosterPath), students, QStringLiteral("席替えの履歴"),
        QStringLiteral("この名簿の生徒がいない履歴です（別のクラスのものかもしれません）"), problems);
    conditionsBroken = !classConditions;
    historyBroken = !classHistory;
}

void ClassSession::saveHistory() {
    if (!unsavedHistory || file.isEmpty())
        return;
    textfile::save(ClassHistory::pathFor(file), unsavedHistory->bytes());
    classHistory = std::move(unsavedHistory);
    unsavedHistory.reset();
}

void ClassSession::setConditions(const SeatConditions &conditions) {
    textfile::save(SeatConditions::pathFor(file), conditions.bytes());
    classConditions = conditions;
}

void ClassSession::removeRound(int number) {
    classHistory->removeRound(number);
    textfile::save(ClassHistory::pathFor(file), classHistory->bytes());
    if (unsavedHistory)
        unsavedHistory->removeRound(number);
}

// ---- The layout ----

void ClassSession::numberLayout() {
    room.renumber();
    seatChart.showLayout(room);
}

bool ClassSession::layoutChanged(const std::function<void()> &prepareAgain) {
    const bool underWay = !drawing.pool().empty() || drawing.spinning();
    if (underWay)
        prepareAgain();
    // The journal gives seats back on the layout it holds.
    if (drawJournal.isOpen())
        beginJournal();
    return underWay;
}

// ---- Preparation ----

ClassSession::Preparation ClassSession::prepare(drawrecord::Kind kind, const QDate &today) {
    Preparation found;
    drawing.clearPool();
    if (!hasRoster())
        return found;
    found.outcome = Preparation::Outcome::Failed;
    if (room.seatCount() != students.studentCount()) {
        fail(QStringLiteral("座席の数と人数があいません！"), kind);
        return found;
    }
    if ((found.seatFault = students.seatFault(room.seatCount()))) {
        fail(QStringLiteral("名簿の座席指定に誤りがあります！"), kind);
        return found;
    }

    drawing.prepare(students, room.seatCount());
    QString inForce;
    if (!applyConditions(today, found, inForce)) {
        if (found.outcome == Preparation::Outcome::Failed)
            fail(found.conflict, kind);
        return found;
    }
    SjisText note;
    SjisText::tryFromUnicode(inForce, note);
    recordEvent(kind, {}, note);
    // A preparation on purpose begins the journal afresh, as does the first.
    if (kind == drawrecord::Kind::Repreparation || !drawJournal.isOpen())
        beginJournal();

    // Start stays off should the chart fill fail on a layout cell that is no
    // seat number: a stop would write its seat and then fail the same way.
    drawing.disableStart();
    seatChart.showSeats(room, seats());
    drawing.showTurn(students);
    found.outcome = Preparation::Outcome::Ready;
    return found;
}

bool ClassSession::applyConditions(const QDate &today, Preparation &found, QString &inForce) {
    const bool rule = neighbourRule.on;
    const int rounds = neighbourRule.rounds;
    // The rounds before the seat change now drawn; a redone one does not count.
    const size_t pastRounds =
        classHistory ? classHistory->rounds().size() - (classHistory->redoes(students, today) ? 1 : 0) : 0;
    const bool withHistory = rule && pastRounds > 0;
    // Conditions and the history know students by attendance number: two
    // students sharing one could each be taken for the other.
    const bool byAttendance = (classConditions && !classConditions->isEmpty()) || withHistory;
    if (const SjisText shared = students.sharedAttendance(); byAttendance && !shared.isEmpty()) {
        drawing.clearPool();
        found.conflict = QStringLiteral("出席番号%1が重複しています！").arg(shared.toUnicode());
        return false;
    }
    DrawConditions wanted;
    if (classConditions)
        conditionsinforce::addConditions(wanted, students, *classConditions);
    // Without conditions, and with the rule over one round at most, the
    // draw is the plain one: the rule refuses at the stop.
    if (wanted.isEmpty() && !(withHistory && rounds > 1)) {
        if (withHistory) {
            drawing.setFormerMates(
                conditionsinforce::matesByRow(students, classHistory->deskMates(1, students, today)));
            inForce = QStringLiteral("前に隣同士: 過去1回");
        }
        return true;
    }
    auto withMates = [&](DrawConditions c, int lastRounds) {
        if (withHistory)
            conditionsinforce::addFormerMates(c, students, classHistory->deskMates(lastRounds, students, today));
        else if (rule)
            conditionsinforce::addRosterOrderMates(c, students, room);
        return c;
    };
    const DrawConditions c = withMates(wanted, rounds);
    const conditionsinforce::Finding finding = conditionsinforce::examine(students, room, room.seatCount(), c);
    if (finding.verdict == SeatingPlan::Verdict::Possible) {
        drawing.keep(c, room, room.seatCount());
        inForce = conditionsinforce::describe(students, c, rounds);
        return true;
    }
    drawing.clearPool();
    found.conflict = finding.conflict + QStringLiteral("！");
    // Where the rounds of history alone stand in the way, fewer may do.
    if (finding.historyIsTheCause && withHistory)
        for (int fewer = rounds - 1; fewer >= 1; --fewer)
            if (conditionsinforce::examine(students, room, room.seatCount(), withMates(wanted, fewer)).verdict
                == SeatingPlan::Verdict::Possible) {
                found.outcome = Preparation::Outcome::HistoryInTheWay;
                found.rounds = rounds;
                found.fewerRounds = fewer;
                return false;
            }
    return false;
}

void ClassSession::refuse(const Preparation &found, drawrecord::Kind kind) {
    fail(found.conflict, kind);
}

void ClassSession::fail(const QString &message, drawrecord::Kind kind) {
    SjisText note;
    SjisText::tryFromUnicode(message, note);
    drawing.fail(message);
    recordEvent(kind, {}, note);
    seatChart.clear();
}

// ---- The spin ----

void ClassSession::start() {
    // A word in the status line stands until the next start.
    drawing.notice({});
    recordEvent(drawrecord::Kind::Start);
    drawing.start();
}

void ClassSession::tick() {
    drawing.tick(students);
}

ClassSession::Stop ClassSession::stop() {
    Stop out;
    out.seat = drawing.shown();
    out.row = drawing.turnRow();
    out.verdict = drawing.stop(students, room, neighbourRule.on);
    switch (out.verdict) {
    case Draw::Stop::NotYet:
        return out;
    case Draw::Stop::SeatAlreadyHeld:
        drawing.showTurn(students);
        return out;
    case Draw::Stop::Refused:
        recordEvent(drawrecord::Kind::Refusal, out.seat);
        return out;
    case Draw::Stop::Accepted:
        break;
    }

    // The seat, once decided, goes everywhere as the seat: into the roster
    // (its text for the file), who sits where and the chart.
    const bool inStep = students.cells().revision() == seatsRevision;
    drawing.accept(students);
    changed = true;
    seatTable.give(out.seat, students, out.row);
    if (inStep)
        seatsRevision = students.cells().revision();
    recordEvent(drawrecord::Kind::Stop, out.seat);
    out.place = room.position(out.seat);
    seatChart.place(out.place, students.cell(roster::nameCol, out.row));
    if (!out.place.isNone())
        seatChart.highlight(out.place);
    out.announcement = students.cell(roster::nameCol, out.row) + SjisText::lit("さんの座席は") + out.seat.text()
                       + SjisText::lit("番に決まりました。");
    return out;
}

void ClassSession::announced(const QDate &today) {
    seatChart.unhighlight();
    drawing.passTurn(students);
    drawing.showTurn(students);
    // A finished seat change goes into the class history, written with the
    // roster when the roster is saved.
    if (classHistory && (drawing.pool().empty() || !students.isWithoutSeat(drawing.turnRow()))) {
        unsavedHistory = *classHistory;
        unsavedHistory->record(students, room, today);
    }
}

// ---- The record and the journal ----

void ClassSession::recordEvent(drawrecord::Kind kind, SeatNumber seat, const SjisText &note) {
    events.push_back(drawrecord::event(kind, drawing, students, className(), seat, note));
    try {
        drawJournal.append(events.back());
    } catch (const InOutError &) {
        sayJournalFailed();
    }
}

void ClassSession::beginJournal() {
    journal::Contents c;
    c.rosterPath = file;
    try {
        c.fileHash = journal::hashOf(textfile::readAll(c.rosterPath));
    } catch (const InOutError &) {
        // Gone or unreadable: a resume will not write into it.
    }
    c.rosterBytes = students.bytes();
    c.seed = rng::seedValue();
    for (int col = 0; col < layout::columns; ++col)
        for (int row = 0; row < layout::rows; ++row)
            c.layout.push_back(room.cell(col, row));
    for (int row = 1; row <= students.studentCount(); ++row)
        if (!students.isWithoutSeat(row))
            c.held[row] = students.cell(roster::seatCol, row);
    c.events = events;
    c.firstNew = events.size();
    try {
        drawJournal.begin(c);
    } catch (const InOutError &) {
        sayJournalFailed();
    }
}

void ClassSession::sayJournalFailed() {
    if (journalFailureSaid)
        return;
    journalFailureSaid = true;
    drawing.notice(QStringLiteral("控えのファイルを書けません。決まった座席は名簿を保存するまで残りません"));
}

// ---- A journal an earlier run left behind ----

std::vector<ClassSession::LeftDraw> ClassSession::leftDraws() {
    std::vector<LeftDraw> found;
    for (const DrawJournal::Left &left : DrawJournal::leftBehind()) {
        journal::Read read;
        try {
            read = journal::read(textfile::readAll(left.path));
        } catch (const InOutError &) {
            read.reading = journal::Reading::Unreadable;
        }
        if (read.reading == journal::Reading::Empty) {
            DrawJournal::remove(left);
            continue;
        }
        LeftDraw d;
        d.path = left.path;
        d.left = left;
        if (read.reading == journal::Reading::Unreadable) {
            d.kind = LeftDraw::Kind::Unreadable;
            const QString aside = DrawJournal::setAside(left);
            d.asideAs = aside.isEmpty() ? left.path : aside;
            found.push_back(std::move(d));
            continue;
        }
        const journal::Contents &c = read.contents;
        const RosterNow now = rosterNow(c);

        // The roster as the journal gives it: the window's roster then, with
        // every seat decided since.
        Roster restored;
        restored.read(c.rosterBytes);
        const std::map<std::int32_t, SjisText> given = journal::seats(c);
        for (const auto &[row, seat] : given)
            if (row <= restored.studentCount())
                restored.setCell(roster::seatCol, row, seat);
        int decided = 0;
        for (int row = 1; row <= restored.studentCount(); ++row)
            decided += restored.isWithoutSeat(row) ? 0 : 1;

        // Nothing to give back: the file already holds every seat.
        const bool anyStop = std::any_of(c.events.begin() + static_cast<std::ptrdiff_t>(c.firstNew), c.events.end(),
                                         [](const drawrecord::Event &e) { return e.kind == drawrecord::Kind::Stop; });
        if (now.unchanged) {
            Roster onDisk;
            onDisk.read(now.bytes);
            bool differs = onDisk.studentCount() != restored.studentCount();
            for (int row = 1; !differs && row <= restored.studentCount(); ++row)
                differs = onDisk.cell(roster::seatCol, row) != restored.cell(roster::seatCol, row);
            if (!differs) {
                DrawJournal::remove(left);
                continue;
            }
        } else if (!anyStop && given.empty()) {
            DrawJournal::remove(left);
            continue;
        }
        d.kind = now.unchanged ? LeftDraw::Kind::Resumable : LeftDraw::Kind::RosterChanged;
        d.rosterFile = c.rosterPath;
        d.students = restored.studentCount();
        d.decided = decided;
        d.events = c.events;
        d.contents = c;
        d.contents.rosterBytes = restored.bytes();
        found.push_back(std::move(d));
    }
    return found;
}

void ClassSession::setAside(const LeftDraw &left) {
    DrawJournal::setAside(left.left);
}

void ClassSession::resume(const LeftDraw &left) {
    const journal::Contents &c = left.contents;
    // The window's roster as it was, unsaved edits and decided seats, on
    // the layout the seats were given on.
    students.read(c.rosterBytes);
    if (c.layout.size() == static_cast<size_t>(layout::columns * layout::rows)) {
        for (int col = 0; col < layout::columns; ++col)
            for (int row = 0; row < layout::rows; ++row)
                room.setCell(col, row, c.layout[static_cast<size_t>(col * layout::rows + row)]);
        numberLayout();
    }
    changed = true;
    events = left.events;
    // This run's journal takes over before the old one goes.
    beginJournal();
    if (drawJournal.isOpen())
        DrawJournal::remove(left.left);
    else
        DrawJournal::setAside(left.left);
}
