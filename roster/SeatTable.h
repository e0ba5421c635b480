#pragma once

#include "platform/SjisText.h"
#include "seats/SeatNumber.h"

#include <array>
#include <optional>

class Roster;
class SeatLayout;

// Per-seat copy of the roster data of the student holding a seat.
struct SeatEntry {
    SjisText seatText;   // the seat column's text as the roster holds it
    SjisText attendance; // attendance number
    SjisText name;       // name
    SjisText reading;    // reading of the name
};

// Who sits where: an entry per seat number 1 to 48, filled from the roster.
// The chart on screen, the projector and the printout read it.
class SeatTable {
public:
    // Empties every entry, then copies each student holding a seat into the
    // entry of that seat. Raises ConversionError for a seat text that is not
    // integer text, with the entries before it already filled.
    void rebuild(const Roster &roster);
    // The seat the draw gave the student of this roster row: its entry,
    // without reading the roster's seat texts again.
    void give(SeatNumber seat, const Roster &roster, int row);

    // The entry of a seat; an empty one for a number no seat can have.
    const SeatEntry &operator[](SeatNumber seat) const;

    // What the chart shows at a seat's position: the name of the student
    // sitting there, or else the layout's own text; nothing for a position
    // without a seat, whose cell the chart leaves as it is. Raises
    // ConversionError where the layout's text is not integer text.
    std::optional<SjisText> chartText(const SeatLayout &layout, int col, int row) const;

private:
    std::array<SeatEntry, layout::maxSeats + 1> entries{}; // entry 0 unused
};
