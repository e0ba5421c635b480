#include "BenchRoster.h"
#include "draw/Draw.h"
#include "draw/NeighbourRule.h"
#include "draw/Random.h"
#include "draw/SeatingPlan.h"
#include "roster/Roster.h"
#include "seats/NoSeatMark.h"
#include "seats/SeatLayout.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>
#include <utility>
#include <vector>

// The look-ahead of a draw under conditions (draw/SeatingPlan.h). How long
// one tick of the hardest turn takes on a full class, beside the 100 ms tick
// it has to fit in; the hardest classes that can be made; whole draws by the
// hundred thousand, which must never reach a dead end nor break a condition;
// the classic draw's neighbour rule, and how often it refuses a stop; and
// whether whole seatings come out uniformly.
//
// The classes are made from std::mt19937 seeded with the class's number, the
// draws from the program's own generator seeded with the same number, so
// every figure can be had again.

namespace {

using Apart = DrawConditions::Apart;
using Clock = std::chrono::steady_clock;

// The spin's tick (Timer1's interval).
constexpr double tickMs = 100;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(q * static_cast<double>(v.size())))];
}

int pick(std::mt19937 &gen, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(gen);
}

// A class in memory: the layout, the roster with nobody seated, and what
// the draw keeps to. Every class fills its layout.
struct Class {
    SeatLayout layout;
    Roster students;
    DrawConditions conditions;

    explicit Class(int size) {
        students.read(benchRosterFile(size));
        for (int r = 1; r <= size; ++r)
            students.setSeat(r, SeatNumber());
        layout.renumber();
    }
    Class(const Class &) = delete;
    int size() const { return students.studentCount(); }

    // Only these positions are seats, numbered again.
    void seatOnly(const std::vector<Position> &positions) {
        for (int c = 0; c < layout::columns; ++c)
            for (int r = 0; r < layout::rows; ++r) {
                const bool seat = std::find(positions.begin(), positions.end(), Position{c, r}) != positions.end();
                layout.setCell(c, r, seat ? SjisText() : noSeatMark());
            }
        layout.renumber();
    }

    // One past seat change: the students seated at random, and every two
    // who sat at one double desk former desk-mates from then on.
    void addRound(std::mt19937 &gen) {
        std::vector<int> rowAt(static_cast<size_t>(size()));
        std::iota(rowAt.begin(), rowAt.end(), 1);
        std::shuffle(rowAt.begin(), rowAt.end(), gen);
        for (int s = 1; s <= size(); ++s)
            if (const SeatNumber mate = layout.deskMate(SeatNumber(s)); mate.value() > s)
                conditions.pairs.push_back({rowAt[static_cast<size_t>(s - 1)],
                                            rowAt[static_cast<size_t>(mate.value() - 1)], Apart::DeskMates, true});
    }

    // Pairs kept apart, each two students drawn at random among these rows.
    void addApart(std::mt19937 &gen, const std::vector<int> &among, int count) {
        std::set<std::pair<int, int>> chosen;
        while (static_cast<int>(chosen.size()) < count) {
            const int a = among[static_cast<size_t>(pick(gen, static_cast<int>(among.size())))];
            const int b = among[static_cast<size_t>(pick(gen, static_cast<int>(among.size())))];
            if (a != b && chosen.insert(std::minmax(a, b)).second)
                conditions.pairs.push_back({a, b, Apart::Near, false});
        }
    }
};

std::vector<int> shuffledRows(int n, std::mt19937 &gen) {
    std::vector<int> rows(static_cast<size_t>(n));
    std::iota(rows.begin(), rows.end(), 1);
    std::shuffle(rows.begin(), rows.end(), gen);
    return rows;
}

// A full class of 48 on the full layout: 12 students with a front seat
// (the first 1 to 3 rows, at random), 12 pairs kept apart and 10 rounds of
// former desk-mates, all at random.
void fullClass(Class &k, std::mt19937 &gen) {
    const std::vector<int> rows = shuffledRows(48, gen);
    for (size_t i = 0; i < 12; ++i)
        k.conditions.front.push_back({rows[i], 1 + pick(gen, 3)});
    k.addApart(gen, rows, 12);
    for (int round = 0; round < 10; ++round)
        k.addRound(gen);
}

// Twelve students, 0 to 11 here, with a front seat: six in the first row
// and six in the first two, so that they fill exactly the twelve seats of
// the first two rows, with twelve pairs among them kept apart.
struct Squeeze {
    std::vector<int> firstRow; // the others sit in the first two rows
    std::vector<std::pair<int, int>> apart;
    bool historyAmongThemselves;
};
const Squeeze squeezes[] = {
    // Of the 518,400 ways to seat the twelve in the two rows (six in the
    // first, six behind them), 2 keep these pairs apart: one and its mirror
    // image. Former desk-mates at random.
    {{0, 1, 2, 3, 4, 5},
     {{4, 10}, {3, 11}, {4, 9}, {6, 8}, {4, 8}, {0, 2}, {5, 9}, {1, 10}, {2, 11}, {2, 9}, {4, 11}, {1, 11}},
     false},
    // In all ten rounds the twelve sat among themselves, each time with
    // other desk-mates: rounds 0 to 9 of a round robin, where in round r
    // student r sits with 11 and r + i with r - i (mod 11). Each has one
    // desk-mate left, the one of round 10, and the first row takes three of
    // those desks. That leaves 2,304 ways to seat the twelve, and of those
    // 2 keep these pairs apart (again one and its mirror image). The others
    // sat at the other 18 desks at random.
    {{0, 9, 1, 8, 10, 11},
     {{5, 9}, {2, 8}, {6, 10}, {2, 3}, {1, 7}, {7, 8}, {3, 4}, {0, 1}, {0, 7}, {9, 11}, {1, 2}, {4, 6}},
     true},
};

void squeezedClass(Class &k, const Squeeze &how, std::mt19937 &gen) {
    // The twelve are rows[0] to rows[11], the others the rest.
    const std::vector<int> rows = shuffledRows(48, gen);
    const auto student = [&](int i) { return rows[static_cast<size_t>(i)]; };
    for (int i = 0; i < 12; ++i) {
        const bool first = std::count(how.firstRow.begin(), how.firstRow.end(), i) > 0;
        k.conditions.front.push_back({student(i), first ? 1 : 2});
    }
    for (const auto &[a, b] : how.apart)
        k.conditions.pairs.push_back({student(a), student(b), Apart::Near, false});
    if (!how.historyAmongThemselves) {
        for (int round = 0; round < 10; ++round)
            k.addRound(gen);
        return;
    }
    for (int round = 0; round < 10; ++round) {
        k.conditions.pairs.push_back({student(round), student(11), Apart::DeskMates, true});
        for (int i = 1; i <= 5; ++i)
            k.conditions.pairs.push_back(
                {student((round + i) % 11), student((round - i + 11) % 11), Apart::DeskMates, true});
        std::vector<int> others(rows.begin() + 12, rows.end());
        std::shuffle(others.begin(), others.end(), gen);
        for (size_t i = 0; i < others.size(); i += 2)
            k.conditions.pairs.push_back({others[i], others[i + 1], Apart::DeskMates, true});
    }
}

// Times some work three times and keeps the shortest, so that the figure
// is the work's and not the moment's load: on a shared machine another
// process may take the core for a few milliseconds in the middle of any
// one run. The first run is kept too, as it came.
struct Timing {
    double shortest = 0;
    double first = 0;
};

template <typename Work> Timing timeThrice(Work work) {
    Timing t;
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        work();
        const double ms = msSince(start);
        t.first = run == 0 ? ms : t.first;
        t.shortest = run == 0 ? ms : std::min(t.shortest, ms);
    }
    return t;
}

// The first turn of `classes` seeded classes of 48 that `make` fills, those
// with a seating that keeps every condition; the others are counted. Timed:
// the turn's tick as the window makes it (the first student's seat in a
// whole seating drawn from the program's generator, seeded with the class's
// number before each run), building the plan (the first tick of every turn
// does), and the stop's check that the seat still leaves a seating.
template <typename Make> void measureTurns(benchmark::State &state, int classes, Make make) {
    for (auto _ : state) {
        std::vector<double> ms, firstMs, buildMs, stopMs, tries, rejectionMs;
        int impossible = 0, undecided = 0, unseated = 0, searched = 0;
        for (int i = 1; i <= classes; ++i) {
            std::mt19937 gen(static_cast<std::uint32_t>(i));
            Class k(48);
            make(k, gen);
            SeatingPlan plan;
            const Timing build =
                timeThrice([&] { plan = SeatingPlan(k.students, k.layout, k.layout.seatCount(), k.conditions); });
            if (const SeatingPlan::Verdict v = plan.verdict(); v != SeatingPlan::Verdict::Possible) {
                ++(v == SeatingPlan::Verdict::Impossible ? impossible : undecided);
                continue;
            }
            const int row = plan.students().front();
            SeatNumber seat;
            const SeatingPlan::Effort before = SeatingPlan::effort();
            const Timing tick = timeThrice([&] {
                rng::seed(static_cast<std::uint32_t>(i));
                seat = plan.drawSeat(row);
            });
            const SeatingPlan::Effort after = SeatingPlan::effort();
            bool allowed = false;
            const Timing stop = timeThrice([&] { allowed = plan.allows(row, seat); });
            ms.push_back(tick.shortest);
            firstMs.push_back(tick.first);
            buildMs.push_back(build.shortest);
            stopMs.push_back(stop.shortest);
            tries.push_back(static_cast<double>(after.tries - before.tries) / 3);
            unseated += seat.isNone() || !allowed ? 1 : 0;
            searched += after.searches > before.searches ? 1 : 0;
            if (after.searches == before.searches)
                rejectionMs.push_back(tick.shortest);
        }
        state.counters["classes"] = classes;
        state.counters["impossible"] = impossible;
        state.counters["undecided"] = undecided;
        state.counters["timed"] = static_cast<double>(ms.size());
        state.counters["unseated"] = unseated;
        state.counters["searched"] = searched;
        if (ms.empty())
            continue;
        state.counters["turn_median_ms"] = quantile(ms, 0.5);
        state.counters["turn_p99_ms"] = quantile(ms, 0.99);
        state.counters["turn_worst_ms"] = quantile(ms, 1);
        state.counters["turn_worst_first_ms"] = quantile(firstMs, 1);
        if (!rejectionMs.empty())
            state.counters["turn_worst_by_rejection_ms"] = quantile(rejectionMs, 1);
        state.counters["build_median_ms"] = quantile(buildMs, 0.5);
        state.counters["build_worst_ms"] = quantile(buildMs, 1);
        state.counters["stop_median_ms"] = quantile(stopMs, 0.5);
        state.counters["stop_worst_ms"] = quantile(stopMs, 1);
        state.counters["tries_median"] = quantile(tries, 0.5);
        state.counters["tries_worst"] = quantile(tries, 1);
        const auto slowest = std::max_element(ms.begin(), ms.end()) - ms.begin();
        state.counters["tries_in_worst_turn"] = tries[static_cast<size_t>(slowest)];
        state.counters["tick_ms"] = tickMs;
        state.counters["median_of_tick"] = quantile(ms, 0.5) / tickMs;
        state.counters["worst_of_tick"] = quantile(ms, 1) / tickMs;
    }
}

void BM_PlanTurn(benchmark::State &state) {
    measureTurns(state, static_cast<int>(state.range(0)), fullClass);
}
BENCHMARK(BM_PlanTurn)->Arg(10'000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PlanTurnSqueezed(benchmark::State &state) {
    measureTurns(state, static_cast<int>(state.range(0)),
                 [](Class &k, std::mt19937 &gen) { squeezedClass(k, squeezes[0], gen); });
}
BENCHMARK(BM_PlanTurnSqueezed)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

void BM_PlanTurnSqueezedHistory(benchmark::State &state) {
    measureTurns(state, static_cast<int>(state.range(0)),
                 [](Class &k, std::mt19937 &gen) { squeezedClass(k, squeezes[1], gen); });
}
BENCHMARK(BM_PlanTurnSqueezedHistory)->Arg(500)->Iterations(1)->Unit(benchmark::kSecond);

// A whole draw as the window runs it: for each student in turn, a tick and
// a stop, until a stop is accepted. Under conditions every stop must be
// accepted at once: a tick with no seat, or any other answer, is a dead
// end. In the classic draw the neighbour rule may refuse, and the spin goes
// on for the same student.
struct Outcome {
    int stops = 0;
    int refused = 0;
    bool gaveWay = false; // the rule gave way at the last seat
    bool deadEnd = false;
};

Outcome runDraw(Class &k, bool underConditions) {
    Draw draw;
    draw.prepare(k.students, k.size());
    if (underConditions)
        draw.keep(k.conditions, k.layout, k.size());
    Outcome out;
    while (k.students.isWithoutSeat(draw.turnRow())) {
        draw.start();
        const bool shown = !draw.tick(k.students).isNone();
        ++out.stops;
        const Draw::Stop stop = shown ? draw.stop(k.students, k.layout, true) : Draw::Stop::NotYet;
        if (stop == Draw::Stop::Refused && !underConditions) {
            ++out.refused;
            continue;
        }
        if (stop != Draw::Stop::Accepted) {
            out.deadEnd = true;
            break;
        }
        out.gaveWay = out.gaveWay
                      || (draw.pool().size() == 1 && !underConditions
                          && neighbour::repeatsDeskMate(k.layout, k.students, draw.turnRow(), draw.shown()));
        draw.accept(k.students);
        draw.passTurn(k.students);
    }
    return out;
}

// The seats the roster holds, for the plan's students in its order.
std::vector<SeatNumber> seatingOf(const Class &k, const SeatingPlan &plan) {
    std::vector<SeatNumber> out;
    for (const int row : plan.students())
        out.push_back(SeatNumber::parse(k.students.cell(roster::seatCol, row)));
    return out;
}

// A class of 4 to 24 students on as many seats: the first rows filled front
// to back, or the seats scattered over the room; up to a quarter of them
// with a front seat, as many pairs kept apart, and 0 to 10 rounds of former
// desk-mates, all at random.
int smallClassSize(std::mt19937 &gen) {
    return 4 + pick(gen, 21);
}

void smallClass(Class &k, std::mt19937 &gen) {
    const int n = k.size();
    std::vector<Position> room;
    for (int r = 0; r < layout::rows; ++r)
        for (int c = 0; c < layout::columns; ++c)
            room.push_back({c, r});
    if (pick(gen, 2) == 1)
        std::shuffle(room.begin(), room.end(), gen);
    room.resize(static_cast<size_t>(n));
    k.seatOnly(room);
    const std::vector<int> rows = shuffledRows(n, gen);
    const int fronts = pick(gen, n / 4 + 1);
    for (int i = 0; i < fronts; ++i)
        k.conditions.front.push_back({rows[static_cast<size_t>(i)], 1 + pick(gen, 3)});
    k.addApart(gen, rows, pick(gen, n / 4 + 1));
    for (int round = pick(gen, 11); round > 0; --round)
        k.addRound(gen);
}

// Whole draws under random conditions that some seating keeps, as many as
// asked; classes with none are counted and passed over. No turn may reach a
// dead end, and every finished seating must keep the conditions, as a plan
// made before the draw judges it.
template <typename Size, typename Make>
void measureWholeDraws(benchmark::State &state, Size size, Make make) {
    const int wanted = static_cast<int>(state.range(0));
    for (auto _ : state) {
        int drawn = 0, impossible = 0, undecided = 0, deadEnds = 0, broken = 0;
        long long students = 0;
        const SeatingPlan::Effort before = SeatingPlan::effort();
        const auto start = Clock::now();
        for (std::uint32_t seed = 1; drawn < wanted; ++seed) {
            std::mt19937 gen(seed);
            Class k(size(gen));
            make(k, gen);
            const SeatingPlan atStart(k.students, k.layout, k.size(), k.conditions);
            if (const SeatingPlan::Verdict v = atStart.verdict(); v != SeatingPlan::Verdict::Possible) {
                ++(v == SeatingPlan::Verdict::Impossible ? impossible : undecided);
                continue;
            }
            ++drawn;
            students += k.size();
            rng::seed(seed);
            if (runDraw(k, true).deadEnd)
                ++deadEnds;
            else if (!atStart.keeps(seatingOf(k, atStart)))
                ++broken;
        }
        const SeatingPlan::Effort after = SeatingPlan::effort();
        state.counters["draws"] = drawn;
        state.counters["impossible"] = impossible;
        state.counters["undecided"] = undecided;
        state.counters["dead_ends"] = deadEnds;
        state.counters["broken"] = broken;
        state.counters["ticks"] = static_cast<double>(students); // one a student: every first stop holds
        state.counters["ticks_searched"] = static_cast<double>(after.searches - before.searches);
        state.counters["tries_per_tick"] =
            static_cast<double>(after.tries - before.tries) / static_cast<double>(students);
        state.counters["seconds"] = msSince(start) / 1000;
    }
}

void BM_PlanWholeDraws(benchmark::State &state) {
    measureWholeDraws(state, smallClassSize, smallClass);
}
BENCHMARK(BM_PlanWholeDraws)->Arg(100'000)->Iterations(1)->Unit(benchmark::kSecond);

// The same with the full classes of 48 whose first turn is timed above.
void BM_PlanWholeDrawsFull(benchmark::State &state) {
    measureWholeDraws(state, [](std::mt19937 &) { return 48; }, fullClass);
}
BENCHMARK(BM_PlanWholeDrawsFull)->Arg(3'000)->Iterations(1)->Unit(benchmark::kSecond);

// The classic draw of a full class of 48 with the neighbour rule on over one
// round (the roster order stands for the previous seating): how many stops
// it refuses, and how often it has to give way at the last seat.
void BM_NeighbourRuleRefusals(benchmark::State &state) {
    const int draws = static_cast<int>(state.range(0));
    for (auto _ : state) {
        long long stops = 0, refused = 0;
        int gaveWay = 0, mostInOneDraw = 0, deadEnds = 0;
        for (int i = 1; i <= draws; ++i) {
            Class k(48);
            rng::seed(static_cast<std::uint32_t>(i));
            const Outcome o = runDraw(k, false);
            stops += o.stops;
            refused += o.refused;
            gaveWay += o.gaveWay ? 1 : 0;
            deadEnds += o.deadEnd ? 1 : 0;
            mostInOneDraw = std::max(mostInOneDraw, o.refused);
        }
        state.counters["draws"] = draws;
        state.counters["stops"] = static_cast<double>(stops);
        state.counters["refused"] = static_cast<double>(refused);
        state.counters["refused_share_pct"] = 100.0 * static_cast<double>(refused) / static_cast<double>(stops);
        state.counters["refused_per_draw"] = static_cast<double>(refused) / draws;
        state.counters["most_refused_in_a_draw"] = mostInOneDraw;
        state.counters["gave_way_draws"] = gaveWay;
        state.counters["dead_ends"] = deadEnds;
    }
}
BENCHMARK(BM_NeighbourRuleRefusals)->Arg(10'000)->Iterations(1)->Unit(benchmark::kSecond);

// The chance that a chi-square variable with k degrees of freedom exceeds x:
// the regularised upper incomplete gamma function Q(k/2, x/2), by its series
// below a + 1 and its continued fraction above.
double chiSquareTail(double x, int k) {
    const double a = k / 2.0;
    const double y = x / 2.0;
    if (y <= 0)
        return 1;
    const double front = std::exp(a * std::log(y) - y - std::lgamma(a));
    if (y < a + 1) {
        double term = 1 / a;
        double sum = term;
        for (int n = 1; n < 1'000'000 && term > sum * 1e-16; ++n) {
            term *= y / (a + n);
            sum += term;
        }
        return std::max(0.0, 1 - front * sum);
    }
    const double tiny = 1e-300;
    double b = y + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < 1'000'000; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        d = std::abs(d) < tiny ? tiny : d;
        c = b + an / c;
        c = std::abs(c) < tiny ? tiny : c;
        d = 1 / d;
        h *= d * c;
        if (std::abs(d * c - 1) < 1e-16)
            break;
    }
    return front * h;
}

// The value a chi-square variable with k degrees of freedom exceeds with
// this chance.
double chiSquareAbove(double chance, int k) {
    double low = 0;
    double high = k + 50 * std::sqrt(2.0 * k) + 100;
    for (int i = 0; i < 200; ++i) {
        const double mid = (low + high) / 2;
        (chiSquareTail(mid, k) > chance ? low : high) = mid;
    }
    return (low + high) / 2;
}

// Whole seatings of a small class under conditions, drawn as the window
// draws them, counted against every seating that keeps the conditions
// (found by trying every permutation): the chi-square statistic of the
// counts, its degrees of freedom, and the value a uniform draw exceeds once
// in a thousand.
void BM_PlanUniform(benchmark::State &state) {
    const int perSeating = static_cast<int>(state.range(0));
    for (auto _ : state) {
        Class k(10);
        k.seatOnly({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}});
        k.conditions.front = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}};
        k.conditions.pairs = {{1, 2, Apart::Near, false},  {3, 4, Apart::Near, false},
                              {6, 7, Apart::Near, false},  {1, 6, Apart::DeskMates, true},
                              {8, 9, Apart::DeskMates, true}, {9, 10, Apart::DeskMates, true},
                              {2, 8, Apart::DeskMates, true}};
        const SeatingPlan plan(k.students, k.layout, k.size(), k.conditions);
        std::vector<SeatNumber> seating;
        for (int s = 1; s <= k.size(); ++s)
            seating.push_back(SeatNumber(s));
        std::map<std::vector<SeatNumber>, long> count;
        do
            if (plan.keeps(seating))
                count[seating] = 0;
        while (std::next_permutation(seating.begin(), seating.end()));

        const long draws = static_cast<long>(count.size()) * perSeating;
        long outside = 0;
        rng::seed(20261210);
        for (long i = 0; i < draws; ++i) {
            for (int r = 1; r <= k.size(); ++r)
                k.students.setSeat(r, SeatNumber());
            if (runDraw(k, true).deadEnd) {
                ++outside;
                continue;
            }
            const auto it = count.find(seatingOf(k, plan));
            ++(it == count.end() ? outside : it->second);
        }
        const double expected = perSeating;
        double chi = 0;
        for (const auto &[s, n] : count)
            chi += (static_cast<double>(n) - expected) * (static_cast<double>(n) - expected) / expected;
        const int freedom = static_cast<int>(count.size()) - 1;
        state.counters["seatings"] = static_cast<double>(count.size());
        state.counters["draws"] = static_cast<double>(draws);
        state.counters["outside"] = static_cast<double>(outside);
        state.counters["chi_square"] = chi;
        state.counters["freedom"] = freedom;
        state.counters["limit_0_1pct"] = chiSquareAbove(0.001, freedom);
        state.counters["p_value"] = chiSquareTail(chi, freedom);
    }
}
BENCHMARK(BM_PlanUniform)->Arg(40)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
