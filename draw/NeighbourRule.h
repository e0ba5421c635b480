#pragma once

#include "seats/SeatNumber.h"

#include <cstdint>
#include <utility>
#include <vector>

class Roster;
class SeatLayout;

// The neighbour rule: a student is not seated at one double desk with the
// desk-mate of the previous seating again. The roster order stands for the
// previous seats: the student in row r sat at seat r before this change.
namespace neighbour {

// True when the drawn seat would put the student of this roster row at one
// double desk with their previous desk-mate again. A desk-mate who has no
// seat yet is asked about when their own turn comes.
bool repeatsDeskMate(const SeatLayout &layout, const Roster &roster, std::int32_t row, SeatNumber drawn);

// True when the drawn seat's desk-mate seat is held by one of the student's
// former desk-mates (pairs of roster rows, as the class history gives them).
bool sitsWithFormerMate(const SeatLayout &layout, const Roster &roster, std::int32_t row, SeatNumber drawn,
                        const std::vector<std::pair<int, int>> &formerMates);

} // namespace neighbour
