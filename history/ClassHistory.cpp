#include "history/ClassHistory.h"

#include "roster/Roster.h"
#include "roster/RosterCsv.h"
#include "seats/SeatLayout.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

namespace {

const char *const columnNames[] = {"回", "日付", "出席番号", "氏名", "くじ順", "座席番号", "隣の出席番号", "隣の氏名"};
constexpr int columnCount = 8;

// Each student's draw order in a round: what a redone round shares with it.
std::map<QByteArray, QByteArray> ordersOf(const ClassHistory::Round &r) {
    std::map<QByteArray, QByteArray> byStudent;
    for (const ClassHistory::Seat &s : r.seats)
        byStudent[s.attendance.bytes()] = s.order.bytes();
    return byStudent;
}

std::pair<SjisText, SjisText> ordered(const SjisText &a, const SjisText &b) {
    return a.bytes() < b.bytes() ? std::pair{a, b} : std::pair{b, a};
}

} // namespace

QString ClassHistory::pathFor(const QString &rosterPath) {
    const QFileInfo roster(rosterPath);
    return roster.dir().filePath(roster.completeBaseName() + QStringLiteral("_履歴.csv"));
}

std::optional<ClassHistory> ClassHistory::parse(const QByteArray &bytes, QString &problem) {
    ClassHistory h;
    const std::optional<std::vector<rostercsv::Fields>> lines = rostercsv::readTable(bytes);
    if (!lines) {
        problem = QStringLiteral("席替えの履歴に読めない文字があります");
        return std::nullopt;
    }
    if (lines->empty())
        return h;
    const rostercsv::Fields &header = lines->front();
    if (header.size() < columnCount || SjisText(header[0]) != SjisText::lit(columnNames[0])
        || SjisText(header[5]) != SjisText::lit(columnNames[5])) {
        problem = QStringLiteral("席替えの履歴の見出しがありません");
        return std::nullopt;
    }
    std::map<int, size_t> byNumber;
    for (size_t i = 1; i < lines->size(); ++i) {
        const rostercsv::Fields &f = (*lines)[i];
        bool numberOk = false;
        bool seatOk = false;
        const int number = f.size() >= columnCount ? f[0].toInt(&numberOk) : 0;
        const int seat = f.size() >= columnCount ? f[5].toInt(&seatOk) : 0;
        const QDate date = f.size() >= columnCount ? QDate::fromString(QString::fromLatin1(f[1]), Qt::ISODate) : QDate();
        if (!numberOk || number < 1 || !seatOk || !SeatNumber(seat).isSeat() || !date.isValid() || f[2].isEmpty()) {
            problem = QStringLiteral("席替えの履歴の %1 行目が読めません").arg(i + 1);
            return std::nullopt;
        }
        auto at = byNumber.find(number);
        if (at == byNumber.end()) {
            at = byNumber.emplace(number, h.all.size()).first;
            h.all.push_back(Round{number, date, {}});
        }
        h.all[at->second].seats.push_back(
            Seat{SjisText(f[2]), SjisText(f[3]), SjisText(f[4]), SeatNumber(seat), SjisText(f[6]), SjisText(f[7])});
    }
    std::sort(h.all.begin(), h.all.end(), [](const Round &a, const Round &b) { return a.number < b.number; });
    return h;
}

QByteArray ClassHistory::bytes() const {
    QByteArray out;
    std::vector<QByteArray> cells;
    for (const char *name : columnNames)
        cells.push_back(SjisText::lit(name).bytes());
    rostercsv::appendRow(out, cells);
    for (const Round &r : all)
        for (const Seat &s : r.seats) {
            cells = {QByteArray::number(r.number), r.date.toString(Qt::ISODate).toLatin1(),
                     s.attendance.bytes(), s.name.bytes(), s.order.bytes(), s.seat.text().bytes(),
                     s.mate.bytes(), s.mateName.bytes()};
            rostercsv::appendRow(out, cells);
        }
    return out;
}

void ClassHistory::record(const Roster &roster, const SeatLayout &layout, const QDate &date) {
    Round round;
    round.date = date;
    std::map<std::int32_t, int> rowOfSeat;
    for (int r = 1; r < roster.rowCount(); ++r) {
        std::int32_t seat = 0;
        if (inttext::tryParse(roster.cell(roster::seatCol, r).bytes(), seat))
            rowOfSeat.emplace(seat, r);
    }
    for (int r = 1; r < roster.rowCount(); ++r) {
        std::int32_t seat = 0;
        // The history knows students by attendance number: a student
        // without one could never be told apart in a later round, and a line
        // without one would make the whole file unreadable.
        if (!inttext::tryParse(roster.cell(roster::seatCol, r).bytes(), seat) || !SeatNumber(seat).isSeat()
            || roster.cell(roster::attendanceCol, r).isEmpty())
            continue;
        Seat s{roster.cell(roster::attendanceCol, r), roster.cell(roster::nameCol, r),
               roster.cell(roster::orderCol, r), SeatNumber(seat), {}, {}};
        SeatNumber mate;
        try {
            mate = layout.deskMate(SeatNumber(seat));
        } catch (const std::exception &) {
            // A layout cell that is no number has no desk-mate to record.
        }
        if (const auto m = rowOfSeat.find(mate.value());
            !mate.isNone() && m != rowOfSeat.end() && !roster.cell(roster::attendanceCol, m->second).isEmpty()) {
            s.mate = roster.cell(roster::attendanceCol, m->second);
            s.mateName = roster.cell(roster::nameCol, m->second);
        }
        round.seats.push_back(std::move(s));
    }
    if (!all.empty() && all.back().date == date && ordersOf(all.back()) == ordersOf(round)) {
        round.number = all.back().number;
        all.back() = std::move(round);
        return;
    }
    round.number = all.empty() ? 1 : all.back().number + 1;
    all.push_back(std::move(round));
}

void ClassHistory::removeRound(int number) {
    std::erase_if(all, [number](const Round &r) { return r.number == number; });
}

bool ClassHistory::redoes(const Roster &roster, const QDate &today) const {
    if (all.empty() || all.back().date != today)
        return false;
    std::map<QByteArray, QByteArray> now;
    for (int r = 1; r < roster.rowCount(); ++r)
        now[roster.cell(roster::attendanceCol, r).bytes()] = roster.cell(roster::orderCol, r).bytes();
    return ordersOf(all.back()) == now;
}

std::set<std::pair<SjisText, SjisText>> ClassHistory::deskMates(int lastRounds, const Roster &roster,
                                                                const QDate &today) const {
    std::set<std::pair<SjisText, SjisText>> pairs;
    const size_t end = redoes(roster, today) ? all.size() - 1 : all.size();
    const size_t count = static_cast<size_t>(std::max(lastRounds, 0));
    const size_t from = end > count ? end - count : 0;
    for (size_t i = from; i < end; ++i)
        for (const Seat &s : all[i].seats)
            if (!s.mate.isEmpty() && s.mate != s.attendance)
                pairs.insert(ordered(s.attendance, s.mate));
    return pairs;
}
