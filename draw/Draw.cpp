#include "draw/Draw.h"

#include "draw/NeighbourRule.h"
#include "draw/Random.h"
#include "roster/Roster.h"

void Draw::prepare(const Roster &roster, int seatCount) {
    free.clear();
    for (int s = 1; s <= seatCount; ++s)
        if (!roster.holdsSeat(SeatNumber(s)))
            free.push_back(SeatNumber(s));
    turn = roster.nextWithoutSeat(0);
}

void Draw::fail(const QString &message) {
    status = message;
    startEnabled = false;
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

SeatNumber Draw::tick() {
    index = rng::randomIndex(static_cast<std::int32_t>(free.size()));
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
    // With one seat left the rule gives way.
    if (neighbourRule && neighbour::repeatsDeskMate(layout, roster, turn, onShow) && free.size() >= 2)
        return Stop::Refused;
    return Stop::Accepted;
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
    return {status, onShow.isNone() ? QString() : onShow.text().toUnicode(),
            running ? QStringLiteral("ストップ") : QStringLiteral("スタート"), startEnabled};
}
