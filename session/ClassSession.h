#pragma once

#include "conditions/SeatConditions.h"
#include "draw/Draw.h"
#include "draw/Record.h"
#include "history/ClassHistory.h"
#include "journal/DrawJournal.h"
#include "roster/Roster.h"
#include "roster/RosterUndo.h"
#include "roster/SeatTable.h"
#include "seats/SeatLayout.h"
#include "session/SeatChart.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// A seat change as one class lives through it: the roster and its file, the
// layout, who sits where, the class's conditions and history with the round
// not yet saved, the draw with its record and journal, and the neighbour
// rule's options. It answers what each step of the seat change causes; the
// window shows the answers and asks the teacher where an answer needs one.
class ClassSession {
public:
    ClassSession();
    ClassSession(const ClassSession &) = delete;
    ClassSession &operator=(const ClassSession &) = delete;

    // ---- What the class holds ----
    Roster &roster() { return students; }
    const Roster &roster() const { return students; }
    RosterUndo &undo() { return steps; }
    SeatLayout &layout() { return room; }
    const SeatLayout &layout() const { return room; }
    // Who sits where: the seat of each student the draw gave or the roster
    // held, as the chart on screen, the projector and the printout show it.
    // The seats the draw gave are there as they were given; the roster's
    // seat texts are read again only where the teacher changed the roster
    // since. Raises ConversionError for a seat text that is no number.
    const SeatTable &seats() const;
    const SeatChart &chart() const { return seatChart; }
    SeatChart &chart() { return seatChart; }
    const Draw &draw() const { return drawing; }
    Draw &draw() { return drawing; }
    const std::vector<drawrecord::Event> &record() const { return events; }
    const DrawJournal &journal() const { return drawJournal; }

    // ---- The roster's file ----
    // The file the roster was read from or saved as; empty for none.
    const QString &rosterFile() const { return file; }
    // The roster was made in the program and has no file yet.
    bool rosterMade() const { return made; }
    // A roster was opened or made: there are students to seat.
    bool hasRoster() const { return !file.isEmpty() || made; }
    // The roster holds changes not saved to its file.
    bool modified() const { return changed; }
    void setModified(bool on) { changed = on; }
    // The class's name, as the record and the PDF give it.
    QString className() const;

    // A roster file's bytes taken in (already Shift-JIS): the roster, the
    // class's files beside it, a new draw. Answers what is wrong with a file
    // beside it that cannot be used, a line each; such a file is not used
    // and never written over.
    QStringList openRoster(const QString &path, const QByteArray &content);
    // The file the roster goes to before the read (a failed read leaves it).
    void setRosterFile(const QString &path) { file = path; }
    // A new class of this many students, without a file.
    void newRoster(int students);
    // Saves the roster into this file, with the round a finished draw added
    // to the history; the journal of a finished draw ends, that of an
    // unfinished one begins again from the file as saved. Raises InOutError.
    void saveRoster(const QString &path);

    // ---- The class's files beside the roster ----
    const std::optional<SeatConditions> &conditions() const { return classConditions; }
    bool conditionsUnusable() const { return conditionsBroken; }
    // The conditions the teacher set, written beside the roster. Raises InOutError.
    void setConditions(const SeatConditions &conditions);
    const std::optional<ClassHistory> &history() const { return classHistory; }
    bool historyUnusable() const { return historyBroken; }
    // A round deleted: from the file at once, and from the round a finished
    // draw waits to save with the roster. Raises InOutError.
    void removeRound(int number);

    // ---- The neighbour rule ----
    struct NeighbourRule {
        bool on = false;
        int rounds = 1; // how many past seat changes it looks at
    };
    void setNeighbourRule(NeighbourRule rule) { neighbourRule = rule; }
    NeighbourRule neighbourOptions() const { return neighbourRule; }

    // ---- The layout ----
    // Numbers the layout's seats and shows it on the chart, every name gone.
    void numberLayout();
    // The layout changed under the roster's seats: a draw under way is
    // prepared again at once, so that no stop can give a number that now
    // stands at another place, and the journal holds the new layout.
    // Answers whether the draw was prepared again.
    bool layoutChanged(const std::function<void()> &prepareAgain);

    // ---- Preparation ----
    struct Preparation {
        enum class Outcome {
            NoRoster,        // nothing to prepare: the page shows the empty pool
            Failed,          // the status line says why; seatFault too, where set
            HistoryInTheWay, // no seating keeps the former desk-mates of the
                             // rounds asked; fewerRounds would work
            Ready,           // the draw is prepared: the turn is shown
        };
        Outcome outcome = Outcome::NoRoster;
        // What is wrong with the roster's seats, for the error box that
        // comes before the status line says so.
        std::optional<SjisText> seatFault;
        int rounds = 0;
        int fewerRounds = 0;
        QString conflict; // HistoryInTheWay: the status line should the teacher say no
    };
    // What a preparation finds for the roster, the layout and the conditions
    // in force, and the draw prepared accordingly. Raises ConversionError
    // where a layout cell the chart needs is no seat number.
    Preparation prepare(drawrecord::Kind kind, const QDate &today);
    // The teacher kept the rounds of history that stand in the way: the
    // preparation fails with the conflict.
    void refuse(const Preparation &found, drawrecord::Kind kind);

    // ---- The spin ----
    void start();
    void tick();

    // What a stop causes.
    struct Stop {
        Draw::Stop verdict = Draw::Stop::NotYet;
        SeatNumber seat;
        int row = 0;
        SjisText announcement; // Accepted: what the box says to the class
        Position place;        // Accepted: where the seat stands, highlighted on the chart
    };
    // The seat on show given to the student whose turn it is, where the
    // draw accepts it: into the roster and the chart (highlighted), the
    // record and the journal.
    Stop stop();
    // The class has been told: the highlight goes and the turn passes on;
    // a finished seat change becomes the round the history saves with the
    // roster.
    void announced(const QDate &today);
    // A spin an error ended.
    void halt() { drawing.halt(); }

    // ---- A journal an earlier run left behind ----
    struct LeftDraw {
        enum class Kind {
            Unreadable,    // damaged: kept aside under asideAs
            RosterChanged, // the roster file changed since: its record can be saved
            Resumable,     // the roster file as it was: the seats can be given back
        };
        Kind kind = Kind::Resumable;
        QString path;    // the journal's file
        QString asideAs; // Unreadable: where it is kept
        QString rosterFile;
        int students = 0;
        int decided = 0; // students whose seat the journal gives
        std::vector<drawrecord::Event> events;
        journal::Contents contents;
        DrawJournal::Left left;
    };
    // The journals earlier runs left with something to give back, newest
    // first; empty ones and those whose roster file already holds every
    // seat they gave go at once, damaged ones are set aside.
    static std::vector<LeftDraw> leftDraws();
    // Kept under another name that no later start asks about.
    static void setAside(const LeftDraw &left);
    // The roster file of the journal was opened again: its roster as the
    // window held it (unsaved edits and decided seats) on the layout the
    // seats were given on, and its record; this run's journal takes over.
    void resume(const LeftDraw &left);
    // The record of a journal whose roster changed, to be saved as CSV.
    void showRecordOf(const LeftDraw &left) { events = left.events; }

    // ---- The record and the journal ----
    void recordEvent(drawrecord::Kind kind, SeatNumber seat = {}, const SjisText &note = {});
    // The journal begins afresh from the roster and the record as they stand.
    void beginJournal();
    // The draw ended cleanly: saved, or let go on purpose.
    void endJournal() { drawJournal.end(); }

private:
    // The failed preparation: the status line, the record, an empty chart.
    void fail(const QString &message, drawrecord::Kind kind);
    // The conditions in force; false with the finding where none keeps them.
    bool applyConditions(const QDate &today, Preparation &found, QString &inForce);
    void loadClassFiles(const QString &rosterPath, QStringList &problems);
    // The journal could not be written: the status line says so, once.
    void sayJournalFailed();
    void saveHistory();

    Roster students;
    RosterUndo steps{students};
    SeatLayout room;
    mutable SeatTable seatTable;
    // The roster's revision the seat table was last in step with.
    mutable unsigned long long seatsRevision = ~0ull;
    SeatChart seatChart;
    Draw drawing;
    std::vector<drawrecord::Event> events;
    DrawJournal drawJournal;
    bool journalFailureSaid = false;

    QString file;
    bool made = false;
    bool changed = false;

    std::optional<SeatConditions> classConditions;
    std::optional<ClassHistory> classHistory;
    bool conditionsBroken = false;
    bool historyBroken = false;
    // The history with the round of a finished draw, until the roster is
    // saved with it; the draw and the history view work on the saved one.
    std::optional<ClassHistory> unsavedHistory;

    NeighbourRule neighbourRule;
};
