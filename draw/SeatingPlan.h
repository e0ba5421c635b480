#pragma once

#include "seats/SeatNumber.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class Roster;
class SeatLayout;

// What a draw keeps to beyond chance, by roster row.
struct DrawConditions {
    enum class Apart {
        DeskMates, // never at one double desk (former desk-mates)
        Near,      // never at one double desk nor next to each other, across corners too
    };
    struct Front {
        int row;  // roster row
        int rows; // the first 1, 2 or 3 rows of seats
    };
    struct Pair {
        int row;
        int otherRow;
        Apart kind;
        bool fromHistory; // a former desk-mate, not a pair the teacher named
    };
    std::vector<Front> front;
    std::vector<Pair> pairs;

    bool isEmpty() const { return front.empty() && pairs.empty(); }
};

// The look-ahead of a draw under conditions: for the students still without
// a seat, which free seats each may take so that every student after them
// still finds one, and complete seatings drawn uniformly from all those that
// keep every condition. Seats already held in the roster stay as they are
// and count as neighbours.
//
// A complete seating is drawn by rejection: the students with a front seat
// take seats of their rows, front rows first, the others the rest, each
// uniformly among the seats left (which is uniform over all seatings that
// keep the front rows, since those rows nest), and a seating that breaks a
// pair is thrown away as soon as it does. What remains is exactly uniform
// over the seatings that keep every condition. Where the conditions are so
// tight that rejection finds none within its budget, a search that tries the
// seats in random order finds one: still complete, no longer uniform.
class SeatingPlan {
public:
    SeatingPlan() = default;
    SeatingPlan(const Roster &roster, const SeatLayout &layout, int seatCount, const DrawConditions &conditions);

    // The roster rows still to be seated, in row order, and the free seats.
    const std::vector<int> &students() const { return rows; }
    const std::vector<SeatNumber> &freeSeats() const { return seats; }

    enum class Verdict { Possible, Impossible, Undecided };
    // Whether a complete seating that keeps every condition exists; a search
    // too long to finish says Undecided.
    Verdict verdict() const;
    // Whether some such seating gives the student of this row this seat.
    bool allows(int row, SeatNumber seat) const;
    // The free seats the student of this row may take: those that leave a
    // complete seating for everyone after them.
    std::vector<SeatNumber> seatsFor(int row) const;

    // One tick of the spin: the seat of the student of this row in a
    // complete seating drawn from the program's generator. None where no
    // seating exists.
    SeatNumber drawSeat(int row) const;

    // A whole seating that keeps every condition, drawn as drawSeat draws
    // one; for the students in students() order. Empty where none exists.
    std::vector<SeatNumber> drawSeating() const;
    // Whether a complete seating (students() order) keeps every condition.
    bool keeps(const std::vector<SeatNumber> &seating) const;

    // Front seats that are too few: more students must sit within the first
    // rows of seats than those rows have free seats.
    struct Shortage {
        int rows = 0;     // the first 1, 2 or 3 rows of seats
        int students = 0; // who must sit there
        int seats = 0;    // the free seats there
    };
    std::optional<Shortage> frontShortage() const;
    // The first student (by roster row) left with no seat at all by the
    // conditions and the seats already held; 0 where none is.
    int rowWithoutAnySeat() const;

    // How many draws in a row rejection may try before the search takes over.
    static constexpr int rejectionBudget = 20000;
    // How many steps a search may take before it gives up.
    static constexpr long searchBudget = 2'000'000;
    // What drawing has cost in this process so far, over every plan: the
    // seatings tried by rejection, and the draws that used up their tries
    // and searched instead. For measuring; the draw never reads it.
    struct Effort {
        std::uint64_t tries = 0;
        std::uint64_t searches = 0;
    };
    static Effort effort();

private:
    using Mask = std::uint64_t;
    struct Partner {
        int student;
        bool near;
    };
    bool related(int seatA, int seatB, bool near) const;
    bool tryOnce(std::vector<int> &assignment) const;
    bool search(std::vector<int> &assignment, bool randomOrder, long &steps) const;
    bool searchFrom(std::vector<int> &assignment, std::vector<Mask> &domains, Mask used, bool randomOrder,
                    long &steps) const;
    std::vector<int> sample() const;
    int studentOf(int row) const;

    std::vector<int> rows;
    std::vector<SeatNumber> seats;
    std::vector<int> level;   // 1 to 3: the student's front rows; 4: anywhere
    std::vector<Mask> domain; // the seats each student may take, pairs with seated students included
    std::vector<std::vector<Partner>> partners;
    std::vector<Mask> nearSeats; // by seat: the seats next to it, desk-mate included
    std::vector<Mask> deskSeat;  // by seat: its desk-mate's seat
    std::vector<int> order;      // students in the order rejection seats them
    std::vector<int> byBand;     // seats, front rows first
    int bandEnd[5] = {0, 0, 0, 0, 0}; // seats within the first 1, 2, 3 rows of seats; [4]: all
};
