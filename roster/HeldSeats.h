#pragma once

#include "seats/SeatLayout.h"

#include <QString>

#include <optional>
#include <utility>
#include <vector>

class Roster;

// Students hold seats where the roster's seat column holds numbers, and the
// layout says where each number stands. The roster keeps only the numbers:
// were the layout numbered again under them, the chart would show the
// students at places no draw gave them. These say whether the roster and the
// layout still agree, and what a change of the layout does to the seats held.
namespace heldseats {

// The students whose seat cell holds anything.
int count(const Roster &roster);

// Why the chart of the roster on this layout cannot be printed, as a message
// that says what to do; nothing where it can. A roster without seats held
// shows no student and prints on any layout.
std::optional<QString> whyNotPrinted(const Roster &roster, const SeatLayout &layout);

} // namespace heldseats

// What a change of the layout does to the seats the students hold.
class LayoutChange {
public:
    enum class Follow {
        // The room changes around the class (a click on the layout): every
        // student keeps the place, and the roster takes the place's new
        // number. A student whose place goes, or whose number names no place
        // of the layout, loses the seat.
        Places,
        // The teacher says which layout the numbers belong to (a settings
        // file opened): the numbers stay and name the new layout's seats.
        Numbers,
    };

    LayoutChange(const Roster &roster, const SeatLayout &now, const SeatLayout &next, Follow follow);

    // The students holding a seat.
    int holding() const { return held; }
    // Places: some seat number is rewritten or emptied. Numbers: some
    // student's number names another place, or none.
    bool movesSeats() const;
    // The question before the change, saying what it does to the seats.
    QString question() const;
    // Places: writes the places' new numbers into the roster and empties the
    // seats lost; answers whether the roster changed. Numbers: nothing.
    bool applyTo(Roster &roster) const;

private:
    Follow follow;
    int held = 0;
    int seatsAfter = 0;
    int students = 0;
    // Places: rows whose number changes, with the new one.
    std::vector<std::pair<int, SeatNumber>> renumbered;
    // Places: the students whose place goes, as the question names them.
    struct Gone {
        int row;
        QString who;
        SjisText seat;
    };
    std::vector<Gone> placeGone;
    // Places: rows whose number names no place of the layout now.
    std::vector<int> unplaced;
    // Numbers: students whose number will name another place, and those of
    // them whose number names none.
    int elsewhere = 0;
    int nowhere = 0;
};
