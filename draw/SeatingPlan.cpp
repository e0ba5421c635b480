#include "draw/SeatingPlan.h"

#include "draw/Random.h"
#include "roster/Roster.h"
#include "seats/SeatLayout.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>

namespace {

constexpr int anywhere = 4;

SeatingPlan::Effort spent;

bool relatedPositions(Position a, Position b, bool near) {
    if (a.isNone() || b.isNone() || a == b)
        return false;
    if (near)
        return std::abs(a.col - b.col) <= 1 && std::abs(a.row - b.row) <= 1;
    return a.row == b.row && a.col / 2 == b.col / 2;
}

} // namespace

SeatingPlan::SeatingPlan(const Roster &roster, const SeatLayout &layout, int seatCount,
                         const DrawConditions &conditions) {
    for (int r = 1; r < roster.rowCount(); ++r)
        if (roster.isWithoutSeat(r))
            rows.push_back(r);
    for (int s = 1; s <= seatCount; ++s)
        if (!roster.holdsSeat(SeatNumber(s)))
            seats.push_back(SeatNumber(s));
    // Never more than a mask can hold: a layout has at most 48 seats.
    if (seats.size() > 64)
        seats.resize(64);
    const int m = static_cast<int>(seats.size());
    const int n = static_cast<int>(rows.size());

    // The rows of the layout that hold seats, front to back: a student with
    // a front seat sits in the first one, two or three of them.
    int rankOfRow[layout::rows] = {};
    int rank = 0;
    for (int r = 0; r < layout::rows; ++r) {
        bool any = false;
        for (int c = 0; c < layout::columns; ++c)
            any = any || layout.isSeatAt(c, r);
        rankOfRow[r] = any ? ++rank : 0;
    }
    std::vector<Position> at(static_cast<size_t>(m));
    std::vector<int> band(static_cast<size_t>(m), anywhere);
    for (int j = 0; j < m; ++j) {
        at[static_cast<size_t>(j)] = layout.position(seats[static_cast<size_t>(j)]);
        const Position p = at[static_cast<size_t>(j)];
        if (!p.isNone() && rankOfRow[p.row] >= 1 && rankOfRow[p.row] <= 3)
            band[static_cast<size_t>(j)] = rankOfRow[p.row];
    }
    for (int j = 0; j < m; ++j)
        byBand.push_back(j);
    std::stable_sort(byBand.begin(), byBand.end(),
                     [&](int a, int b) { return band[static_cast<size_t>(a)] < band[static_cast<size_t>(b)]; });
    Mask bandMask[5] = {0, 0, 0, 0, 0};
    for (int level = 1; level <= anywhere; ++level) {
        for (int j = 0; j < m; ++j)
            if (band[static_cast<size_t>(j)] <= level) {
                ++bandEnd[level];
                bandMask[level] |= Mask(1) << j;
            }
    }

    nearSeats.assign(static_cast<size_t>(m), 0);
    deskSeat.assign(static_cast<size_t>(m), 0);
    for (int a = 0; a < m; ++a)
        for (int b = 0; b < m; ++b) {
            if (relatedPositions(at[static_cast<size_t>(a)], at[static_cast<size_t>(b)], true))
                nearSeats[static_cast<size_t>(a)] |= Mask(1) << b;
            if (relatedPositions(at[static_cast<size_t>(a)], at[static_cast<size_t>(b)], false))
                deskSeat[static_cast<size_t>(a)] |= Mask(1) << b;
        }

    level.assign(static_cast<size_t>(n), anywhere);
    for (const DrawConditions::Front &f : conditions.front)
        if (const int k = studentOf(f.row); k >= 0)
            level[static_cast<size_t>(k)] = std::min(level[static_cast<size_t>(k)], std::clamp(f.rows, 1, 3));
    domain.assign(static_cast<size_t>(n), 0);
    for (int k = 0; k < n; ++k)
        domain[static_cast<size_t>(k)] = bandMask[level[static_cast<size_t>(k)]];

    // A held seat stays: a pair with a seated student keeps the other away
    // from the seats beside it.
    auto heldPosition = [&](int row) {
        std::int32_t s = 0;
        return inttext::tryParse(roster.cell(roster::seatCol, row).bytes(), s) ? layout.position(SeatNumber(s))
                                                                                : Position{};
    };
    partners.assign(static_cast<size_t>(n), {});
    for (const DrawConditions::Pair &p : conditions.pairs) {
        const bool near = p.kind == DrawConditions::Apart::Near;
        const int a = studentOf(p.row);
        const int b = studentOf(p.otherRow);
        if (a >= 0 && b >= 0 && a != b) {
            partners[static_cast<size_t>(a)].push_back({b, near});
            partners[static_cast<size_t>(b)].push_back({a, near});
            continue;
        }
        const int free = a >= 0 ? a : b;
        if (free < 0 || p.row == p.otherRow)
            continue;
        const Position held = heldPosition(a >= 0 ? p.otherRow : p.row);
        for (int j = 0; j < m; ++j)
            if (relatedPositions(at[static_cast<size_t>(j)], held, near))
                domain[static_cast<size_t>(free)] &= ~(Mask(1) << j);
    }

    for (int k = 0; k < n; ++k)
        order.push_back(k);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return level[static_cast<size_t>(a)] < level[static_cast<size_t>(b)]; });
}

int SeatingPlan::studentOf(int row) const {
    const auto it = std::lower_bound(rows.begin(), rows.end(), row);
    return it != rows.end() && *it == row ? static_cast<int>(it - rows.begin()) : -1;
}

bool SeatingPlan::related(int seatA, int seatB, bool near) const {
    return ((near ? nearSeats : deskSeat)[static_cast<size_t>(seatA)] >> seatB) & 1;
}

bool SeatingPlan::tryOnce(std::vector<int> &assignment) const {
    std::array<int, 64> free{};
    std::copy(byBand.begin(), byBand.end(), free.begin());
    assignment.assign(rows.size(), -1);
    int taken = 0;
    for (const int k : order) {
        const int end = bandEnd[level[static_cast<size_t>(k)]];
        if (end <= taken)
            return false;
        const int i = taken + rng::randomIndex(end - taken);
        std::swap(free[static_cast<size_t>(taken)], free[static_cast<size_t>(i)]);
        const int j = free[static_cast<size_t>(taken++)];
        if (!((domain[static_cast<size_t>(k)] >> j) & 1))
            return false;
        for (const Partner &p : partners[static_cast<size_t>(k)]) {
            const int other = assignment[static_cast<size_t>(p.student)];
            if (other >= 0 && related(j, other, p.near))
                return false;
        }
        assignment[static_cast<size_t>(k)] = j;
    }
    return true;
}

bool SeatingPlan::searchFrom(std::vector<int> &assignment, std::vector<Mask> &domains, Mask used, bool randomOrder,
                             long &steps) const {
    if (++steps > searchBudget)
        return false;
    // The student with the fewest seats left goes first.
    int best = -1;
    int fewest = 65;
    for (size_t k = 0; k < assignment.size(); ++k) {
        if (assignment[k] >= 0)
            continue;
        const int count = std::popcount(domains[k] & ~used);
        if (count == 0)
            return false;
        if (count < fewest) {
            fewest = count;
            best = static_cast<int>(k);
        }
    }
    if (best < 0)
        return true;
    std::array<int, 64> candidates{};
    int count = 0;
    for (Mask left = domains[static_cast<size_t>(best)] & ~used; left; left &= left - 1)
        candidates[static_cast<size_t>(count++)] = std::countr_zero(left);
    if (randomOrder)
        for (int i = count - 1; i > 0; --i)
            std::swap(candidates[static_cast<size_t>(i)], candidates[static_cast<size_t>(rng::randomIndex(i + 1))]);

    const std::vector<Partner> &mine = partners[static_cast<size_t>(best)];
    std::vector<Mask> saved(mine.size());
    for (int c = 0; c < count; ++c) {
        const int j = candidates[static_cast<size_t>(c)];
        const Mask nowUsed = used | (Mask(1) << j);
        bool ok = true;
        for (size_t i = 0; i < mine.size(); ++i) {
            const size_t p = static_cast<size_t>(mine[i].student);
            saved[i] = domains[p];
            if (assignment[p] >= 0)
                continue;
            domains[p] &= ~(mine[i].near ? nearSeats : deskSeat)[static_cast<size_t>(j)];
            ok = ok && (domains[p] & ~nowUsed) != 0;
        }
        if (ok) {
            assignment[static_cast<size_t>(best)] = j;
            if (searchFrom(assignment, domains, nowUsed, randomOrder, steps))
                return true;
            assignment[static_cast<size_t>(best)] = -1;
        }
        for (size_t i = mine.size(); i-- > 0;)
            domains[static_cast<size_t>(mine[i].student)] = saved[i];
        if (steps > searchBudget)
            return false;
    }
    return false;
}

bool SeatingPlan::search(std::vector<int> &assignment, bool randomOrder, long &steps) const {
    if (rows.size() > seats.size())
        return false;
    assignment.assign(rows.size(), -1);
    std::vector<Mask> domains = domain;
    return searchFrom(assignment, domains, 0, randomOrder, steps);
}

SeatingPlan::Verdict SeatingPlan::verdict() const {
    std::vector<int> assignment;
    long steps = 0;
    if (search(assignment, false, steps))
        return Verdict::Possible;
    return steps > searchBudget ? Verdict::Undecided : Verdict::Impossible;
}

bool SeatingPlan::allows(int row, SeatNumber seat) const {
    const int k = studentOf(row);
    const auto it = std::find(seats.begin(), seats.end(), seat);
    if (k < 0 || it == seats.end())
        return false;
    const int j = static_cast<int>(it - seats.begin());
    if (!((domain[static_cast<size_t>(k)] >> j) & 1))
        return false;
    std::vector<int> assignment(rows.size(), -1);
    std::vector<Mask> domains = domain;
    const Mask used = Mask(1) << j;
    for (const Partner &p : partners[static_cast<size_t>(k)]) {
        Mask &d = domains[static_cast<size_t>(p.student)];
        d &= ~(p.near ? nearSeats : deskSeat)[static_cast<size_t>(j)];
        if ((d & ~used) == 0)
            return false;
    }
    assignment[static_cast<size_t>(k)] = j;
    long steps = 0;
    return searchFrom(assignment, domains, used, false, steps);
}

std::vector<SeatNumber> SeatingPlan::seatsFor(int row) const {
    std::vector<SeatNumber> out;
    for (const SeatNumber s : seats)
        if (allows(row, s))
            out.push_back(s);
    return out;
}

std::vector<int> SeatingPlan::sample() const {
    std::vector<int> assignment;
    if (rows.size() > seats.size())
        return {};
    for (int attempt = 0; attempt < rejectionBudget; ++attempt) {
        ++spent.tries;
        if (tryOnce(assignment))
            return assignment;
    }
    ++spent.searches;
    long steps = 0;
    if (search(assignment, true, steps))
        return assignment;
    return {};
}

SeatingPlan::Effort SeatingPlan::effort() {
    return spent;
}

SeatNumber SeatingPlan::drawSeat(int row) const {
    const int k = studentOf(row);
    if (k < 0)
        return {};
    const std::vector<int> seating = sample();
    return seating.empty() ? SeatNumber() : seats[static_cast<size_t>(seating[static_cast<size_t>(k)])];
}

std::vector<SeatNumber> SeatingPlan::drawSeating() const {
    std::vector<SeatNumber> out;
    for (const int j : sample())
        out.push_back(seats[static_cast<size_t>(j)]);
    return out;
}

bool SeatingPlan::keeps(const std::vector<SeatNumber> &seating) const {
    if (seating.size() != rows.size())
        return false;
    std::vector<int> index;
    Mask used = 0;
    for (size_t k = 0; k < seating.size(); ++k) {
        const auto it = std::find(seats.begin(), seats.end(), seating[k]);
        if (it == seats.end())
            return false;
        const int j = static_cast<int>(it - seats.begin());
        if (((used >> j) & 1) || !((domain[k] >> j) & 1))
            return false;
        used |= Mask(1) << j;
        index.push_back(j);
    }
    for (size_t k = 0; k < index.size(); ++k)
        for (const Partner &p : partners[k])
            if (related(index[k], index[static_cast<size_t>(p.student)], p.near))
                return false;
    return true;
}

std::optional<SeatingPlan::Shortage> SeatingPlan::frontShortage() const {
    for (int rowsOfSeats = 1; rowsOfSeats <= 3; ++rowsOfSeats) {
        const int students = static_cast<int>(
            std::count_if(level.begin(), level.end(), [&](int l) { return l <= rowsOfSeats; }));
        if (students > bandEnd[rowsOfSeats])
            return Shortage{rowsOfSeats, students, bandEnd[rowsOfSeats]};
    }
    return std::nullopt;
}

int SeatingPlan::rowWithoutAnySeat() const {
    for (size_t k = 0; k < rows.size(); ++k)
        if (domain[k] == 0)
            return rows[k];
    return 0;
}
