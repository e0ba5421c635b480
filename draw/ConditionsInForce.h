#pragma once

#include "draw/SeatingPlan.h"
#include "platform/SjisText.h"

#include <QString>

#include <set>
#include <utility>
#include <vector>

class Roster;
class SeatConditions;
class SeatLayout;

// The conditions a draw keeps, worked out from the class's files for the
// roster as it stands.
namespace conditionsinforce {

using AttendancePairs = std::set<std::pair<SjisText, SjisText>>;

// The teacher's conditions whose names match the roster (others wait for
// the teacher to confirm them), as roster rows.
void addConditions(DrawConditions &out, const Roster &roster, const SeatConditions &conditions);
// Former desk-mates, never at one double desk again: pairs of attendance
// numbers from the class history; students no longer in the roster drop out.
void addFormerMates(DrawConditions &out, const Roster &roster, const AttendancePairs &mates);
// Former desk-mates taken from the roster order, as the neighbour rule
// reads it without a history: the student of row r sat at seat r.
void addRosterOrderMates(DrawConditions &out, const Roster &roster, const SeatLayout &layout);

// The former desk-mates as pairs of roster rows.
std::vector<std::pair<int, int>> matesByRow(const Roster &roster, const AttendancePairs &mates);

// What a preparation finds: whether a complete seating keeps every
// condition and, where none does, the conflict in a line for the status.
struct Finding {
    SeatingPlan::Verdict verdict = SeatingPlan::Verdict::Possible;
    QString conflict;
    // The former desk-mates alone make it impossible: fewer rounds may do.
    bool historyIsTheCause = false;
};
Finding examine(const Roster &roster, const SeatLayout &layout, int seatCount, const DrawConditions &conditions);

// The conditions as the record of the draw names them.
QString describe(const Roster &roster, const DrawConditions &conditions, int rounds);

} // namespace conditionsinforce
