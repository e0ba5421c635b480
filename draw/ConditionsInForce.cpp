#include "draw/ConditionsInForce.h"

#include "conditions/SeatConditions.h"
#include "roster/Roster.h"
#include "seats/SeatLayout.h"

#include <QStringList>

#include <map>

namespace conditionsinforce {

namespace {

QString nameOf(const Roster &roster, int row) {
    return roster.cell(roster::nameCol, row).toUnicode();
}

std::map<QByteArray, int> rowsByAttendance(const Roster &roster) {
    std::map<QByteArray, int> rows;
    for (int r = 1; r < roster.rowCount(); ++r)
        rows.emplace(roster.cell(roster::attendanceCol, r).bytes(), r);
    return rows;
}

} // namespace

void addConditions(DrawConditions &out, const Roster &roster, const SeatConditions &conditions) {
    for (const SeatConditions::Front &f : conditions.front)
        if (const int row = SeatConditions::rowOf(roster, f.attendance, f.name))
            out.front.push_back({row, f.rows});
    for (const SeatConditions::Apart &a : conditions.apart) {
        const int row = SeatConditions::rowOf(roster, a.attendance, a.name);
        const int other = SeatConditions::rowOf(roster, a.otherAttendance, a.otherName);
        if (row && other && row != other)
            out.pairs.push_back({row, other, DrawConditions::Apart::Near, false});
    }
}

std::vector<std::pair<int, int>> matesByRow(const Roster &roster, const AttendancePairs &mates) {
    const std::map<QByteArray, int> rows = rowsByAttendance(roster);
    std::vector<std::pair<int, int>> out;
    for (const auto &[a, b] : mates) {
        const auto ra = rows.find(a.bytes());
        const auto rb = rows.find(b.bytes());
        if (ra != rows.end() && rb != rows.end() && ra->second != rb->second)
            out.emplace_back(ra->second, rb->second);
    }
    return out;
}

void addFormerMates(DrawConditions &out, const Roster &roster, const AttendancePairs &mates) {
    for (const auto &[a, b] : matesByRow(roster, mates))
        out.pairs.push_back({a, b, DrawConditions::Apart::DeskMates, true});
}

void addRosterOrderMates(DrawConditions &out, const Roster &roster, const SeatLayout &layout) {
    for (int r = 1; r <= roster.studentCount(); ++r) {
        const SeatNumber mate = layout.deskMate(SeatNumber(r));
        if (mate.value() > r && mate.value() <= roster.studentCount())
            out.pairs.push_back({r, mate.value(), DrawConditions::Apart::DeskMates, true});
    }
}

Finding examine(const Roster &roster, const SeatLayout &layout, int seatCount, const DrawConditions &conditions) {
    const SeatingPlan plan(roster, layout, seatCount, conditions);
    Finding found;
    if (const auto shortage = plan.frontShortage()) {
        found.verdict = SeatingPlan::Verdict::Impossible;
        found.conflict = QStringLiteral("前の席の生徒%1人に、前から%2行の空席は%3席です")
                             .arg(shortage->students)
                             .arg(shortage->rows)
                             .arg(shortage->seats);
        return found;
    }
    if (const int row = plan.rowWithoutAnySeat()) {
        found.verdict = SeatingPlan::Verdict::Impossible;
        found.conflict = QStringLiteral("%1さんの座れる席がありません").arg(nameOf(roster, row));
        return found;
    }
    found.verdict = plan.verdict();
    if (found.verdict == SeatingPlan::Verdict::Possible)
        return found;
    if (found.verdict == SeatingPlan::Verdict::Undecided) {
        found.conflict = QStringLiteral("座席の条件が複雑すぎて確かめられません");
        return found;
    }

    // Which condition stands in the way: the history as a whole, else the
    // first pair the teacher named without which a seating exists.
    DrawConditions without = conditions;
    std::erase_if(without.pairs, [](const DrawConditions::Pair &p) { return p.fromHistory; });
    if (without.pairs.size() < conditions.pairs.size()
        && SeatingPlan(roster, layout, seatCount, without).verdict() == SeatingPlan::Verdict::Possible) {
        found.historyIsTheCause = true;
        found.conflict = QStringLiteral("前に隣同士だった人を離す座り方がありません");
        return found;
    }
    for (size_t i = 0; i < conditions.pairs.size(); ++i) {
        if (conditions.pairs[i].fromHistory)
            continue;
        DrawConditions less = conditions;
        less.pairs.erase(less.pairs.begin() + static_cast<std::ptrdiff_t>(i));
        if (SeatingPlan(roster, layout, seatCount, less).verdict() == SeatingPlan::Verdict::Possible) {
            found.conflict = QStringLiteral("%1さんと%2さんを離して座らせられません")
                                 .arg(nameOf(roster, conditions.pairs[i].row), nameOf(roster, conditions.pairs[i].otherRow));
            return found;
        }
    }
    found.conflict = QStringLiteral("座席の条件をすべて満たす座り方がありません");
    return found;
}

QString describe(const Roster &roster, const DrawConditions &conditions, int rounds) {
    QStringList parts;
    QStringList front;
    for (const DrawConditions::Front &f : conditions.front)
        front << QStringLiteral("%1(%2行)").arg(roster.cell(roster::attendanceCol, f.row).toUnicode()).arg(f.rows);
    if (!front.isEmpty())
        parts << QStringLiteral("前の席: ") + front.join(QLatin1Char(' '));
    QStringList apart;
    int mates = 0;
    for (const DrawConditions::Pair &p : conditions.pairs) {
        if (p.fromHistory) {
            ++mates;
            continue;
        }
        apart << roster.cell(roster::attendanceCol, p.row).toUnicode() + QLatin1Char('-')
                     + roster.cell(roster::attendanceCol, p.otherRow).toUnicode();
    }
    if (!apart.isEmpty())
        parts << QStringLiteral("離す: ") + apart.join(QLatin1Char(' '));
    if (mates > 0)
        parts << QStringLiteral("前に隣同士: 過去%1回 %2組").arg(rounds).arg(mates);
    return parts.join(QStringLiteral(" / "));
}

} // namespace conditionsinforce
