#include "draw/Draw.h"

#include "draw/NeighbourRule.h"
#include "draw/Random.h"
#include "roster/Roster.h"
#include "seats/SeatLayout.h"

#include <algorithm>

void Draw::prepare(const Roster &roster, int seatCount) {
    planned.reset();
    formerMates.reset();
    free.clear();
    failure = false;
    for (int s = 1; s <= seatCount; ++s)
        if (!roster.holdsSeat(SeatNumber(s)))
            free.push_back(SeatNumber(s));
    turn = roster.nextWithoutSeat(0);
}

void Draw::keep(const DrawConditions &conditions, const SeatLayout &layout, int seatCount) {
    planned.emplace(Planned{conditions, &layout, seatCount, {}, ~0ull});
}

const SeatingPlan &Draw::plan(const Roster &roster) const {
    const unsigned long long now = roster.cells().revision() ^ (planned->layout->cells().revision() << 32);
    if (planned->revision != now) {
        planned->plan = SeatingPlan(roster, *planned->layout, planned->seatCount, planned->conditions);
        planned->revision = now;
    }
    return planned->plan;
}

std::vector<SeatNumber> Draw::seatsTheSpinMayShow(const Roster &roster) const {
    if (!planned)
        return free;
    std::vector<SeatNumber> out;
    for (const SeatNumber s : plan(roster).seatsFor(turn))
        if (std::find(free.begin(), free.end(), s) != free.end())
            out.push_back(s);
    return out;
}

void Draw::fail(const QString &message) {
    status = message;
    startEnabled = false;
    failure = true;
}

void Draw::showTurn(const Roster &roster) {
    if (free.empty() || !roster.isWithoutSeat(turn)) {
        status = QStringLiteral("座席表が完成しました！");
        startEnabled = false;
        return;
    }
    status = roster.cell(roster::nameCol, turn).toUnicode() + QStringLiteral("さんの番です！");
    startEnabled = true;
}

SeatNumber Draw::tick(const Roster &roster) {
    if (planned) {
        const SeatNumber seat = plan(roster).drawSeat(turn);
        const auto at = std::find(free.begin(), free.end(), seat);
        index = seat.isNone() || at == free.end() ? static_cast<std::int32_t>(free.size())
                                                  : static_cast<std::int32_t>(at - free.begin());
    } else {
        index = rng::randomIndex(static_cast<std::int32_t>(free.size()));
    }
    onShow = seatOnShow();
    shownSinceStop = true;
    return onShow;
}

SeatNumber Draw::seatOnShow() const {
    return index >= 0 && static_cast<size_t>(index) < free.size() ? free[static_cast<size_t>(index)] : SeatNumber();
}

bool Draw::numberOnShowIsInPool() const {
    return !seatOnShow().isNone() && seatOnShow() == onShow;
}

Draw::Stop Draw::stop(const Roster &roster, const SeatLayout &layout, bool neighbourRule) {
    if (!shownSinceStop || !numberOnShowIsInPool())
        return Stop::NotYet;
    // An error after an earlier stop had written its seat kept the turn from
    // moving on: no stop writes over a seat, nor outside the roster.
    if (!roster.isWithoutSeat(turn)) {
        shownSinceStop = false;
        running = false;
        passTurn(roster);
        return Stop::SeatAlreadyHeld;
    }
    // Under conditions the seat must still leave a complete seating: the
    // roster may have been edited since the tick.
    if (planned)
        return plan(roster).allows(turn, onShow) ? Stop::Accepted : Stop::NotYet;
    // With one seat left the rule gives way.
    if (neighbourRule && refusedByNeighbourRule(roster, layout) && free.size() >= 2)
        return Stop::Refused;
    return Stop::Accepted;
}

bool Draw::refusedByNeighbourRule(const Roster &roster, const SeatLayout &layout) const {
    if (!formerMates)
        return neighbour::repeatsDeskMate(layout, roster, turn, onShow);
    return neighbour::sitsWithFormerMate(layout, roster, turn, onShow, *formerMates);
}

void Draw::accept(Roster &roster) {
    shownSinceStop = false;
    running = false;
    roster.setSeat(turn, onShow);
    free.erase(free.begin() + index);
}

void Draw::passTurn(const Roster &roster) {
    turn = roster.nextWithoutSeat(turn);
}

void Draw::halt() {
    shownSinceStop = false;
    running = false;
}

DrawScreen Draw::screen() const {
    return {noticeText.isEmpty() ? status : noticeText, onShow.isNone() ? QString() : onShow.text().toUnicode(),
            running ? QStringLiteral("ストップ") : QStringLiteral("スタート"), startEnabled,
            QStringLiteral("乱数の指紋 ") + rng::fingerprint(rng::seedValue())};
}
