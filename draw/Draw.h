#pragma once

#include "draw/SeatingPlan.h"
#include "seats/SeatNumber.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

class Roster;
class SeatLayout;

// What the draw page and the projector show of the draw.
struct DrawScreen {
    QString status;     // the status line
    QString number;     // the big number
    QString button;     // Start or Stop
    bool buttonEnabled; // whether Start can be pressed
    QString fingerprint; // of the generator's seed
};

// The seat draw: the pool of free seats, whose turn it is, the spin and the
// decision at each stop. It draws from the program's generator (draw/Random.h)
// and writes a seat into the roster only when a stop is accepted.
//
// Without conditions each tick shows a pool entry chosen uniformly, and the
// neighbour rule may refuse a stop. Under conditions each tick shows the
// seat of the student whose turn it is in a complete seating drawn uniformly
// from all those that keep every condition (SeatingPlan), so that no stop can
// lead where a later student finds no seat; the rule is then one of the
// conditions and refuses nothing.
class Draw {
public:
    enum class Stop {
        NotYet,          // no tick since the last stop, or the number on show is no
                         // longer in the pool: wait for a tick
        SeatAlreadyHeld, // the student already holds a seat: the turn moved on
        Refused,         // the neighbour rule refuses the seat: spin on
        Accepted,        // the seat is the student's: accept() gives it
    };

    // The seats not yet given out, in ascending order.
    const std::vector<SeatNumber> &pool() const { return free; }
    std::int32_t turnRow() const { return turn; }
    std::int32_t spinIndex() const { return index; }
    // A tick has shown a number since the last accepted stop.
    bool spinShown() const { return shownSinceStop; }
    bool spinning() const { return running; }
    // The number the big display shows: the latest tick's, none where the
    // pool was empty, 1 before any spin.
    SeatNumber shown() const { return onShow; }

    // No draw: the pool is empty.
    void clearPool() {
        free.clear();
        failure = false;
    }
    // The pool of the seats of the layout nobody holds, and the turn of the
    // first student without a seat.
    void prepare(const Roster &roster, int seatCount);
    // From now on until the next preparation, the draw keeps these
    // conditions on this layout.
    void keep(const DrawConditions &conditions, const SeatLayout &layout, int seatCount);
    bool underConditions() const { return planned.has_value(); }
    // The former desk-mates, by roster row, that the neighbour rule looks
    // at; until this is set the roster order stands for the previous
    // seating (the student of row r sat at seat r).
    void setFormerMates(std::vector<std::pair<int, int>> mates) { formerMates = std::move(mates); }
    // The one place that answers which free seats the spin may show for the
    // student whose turn it is: the pool, or under conditions the seats that
    // leave a complete seating for everyone after them.
    std::vector<SeatNumber> seatsTheSpinMayShow(const Roster &roster) const;

    // A preparation that failed, with the status line's message.
    void fail(const QString &message);
    // The last preparation failed: there is no draw until the next one.
    bool failed() const { return failure; }
    // Start stays off until the turn is shown.
    void disableStart() { startEnabled = false; }
    // The status line and Start for the turn: whose turn it is, or the
    // finished chart. The draw is finished when no seat is left, and also
    // when every student holds one although a seat text the pool did not
    // recognise (such as "05") left a number in it.
    void showTurn(const Roster &roster);

    // Another class came in: the big number shows 1 again, as at the start,
    // not the last seat of the class before.
    void newClass() { onShow = SeatNumber(1); }

    void start() { running = true; }
    // A word for the status line, shown in place of it until it is taken
    // back with an empty one.
    void notice(const QString &text) { noticeText = text; }
    // One tick of the spin: a seat the spin may show, drawn at random, on show.
    SeatNumber tick(const Roster &roster);
    // Stop: what becomes of the number on show for the student whose turn it is.
    Stop stop(const Roster &roster, const SeatLayout &layout, bool neighbourRule);
    // The seat a stop decides on.
    SeatNumber seatOnShow() const;
    // Gives the seat on show to the student whose turn it is: into the
    // roster, out of the pool. The turn stays until passTurn.
    void accept(Roster &roster);
    void passTurn(const Roster &roster);
    // A spin an error ended: no number counts as shown and Start comes back.
    void halt();

    // The number on show still stands at the spin's index of the pool; a
    // preparation since the last tick may have rebuilt the pool.
    bool numberOnShowIsInPool() const;

    DrawScreen screen() const;

private:
    // The plan for the roster as it now stands, worked out again after any
    // change of it (a stop, an edit).
    const SeatingPlan &plan(const Roster &roster) const;
    bool refusedByNeighbourRule(const Roster &roster, const SeatLayout &layout) const;

    struct Planned {
        DrawConditions conditions;
        const SeatLayout *layout;
        int seatCount;
        mutable SeatingPlan plan;
        mutable unsigned long long revision;
    };
    std::optional<Planned> planned;
    std::optional<std::vector<std::pair<int, int>>> formerMates;

    std::vector<SeatNumber> free;
    std::int32_t turn = 0;
    std::int32_t index = 0;
    bool shownSinceStop = false;
    bool running = false;
    SeatNumber onShow{1};
    QString status;
    QString noticeText;
    bool startEnabled = false;
    bool failure = false;
};
