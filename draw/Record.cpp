#include "draw/Record.h"

#include "draw/Draw.h"
#include "draw/Random.h"
#include "roster/Roster.h"
#include "roster/RosterCsv.h"

namespace drawrecord {

namespace {
QString number(std::int32_t n) {
    return n > 0 ? QString::number(n) : QString();
}

// The record's own texts: times, numbers and its captions.
QByteArray sjis(const QString &s) {
    SjisText out;
    SjisText::tryFromUnicode(s, out);
    return out.bytes();
}
} // namespace

Event event(Kind kind, const Draw &draw, const Roster &roster, const QString &className, SeatNumber seat,
            const SjisText &note) {
    Event e;
    e.kind = kind;
    e.time = QDateTime::currentDateTime();
    if (kind != Kind::Preparation && kind != Kind::Repreparation) {
        e.row = draw.turnRow();
        e.attendance = roster.cell(roster::attendanceCol, e.row);
        e.name = roster.cell(roster::nameCol, e.row);
    }
    if (!seat.isNone())
        e.seat = seat.text();
    if (!draw.failed())
        e.pool = static_cast<std::int32_t>(draw.pool().size());
    e.draws = rng::drawsSinceSeed();
    e.note = note;
    e.className = className;
    return e;
}

QString kindText(Kind kind) {
    switch (kind) {
    case Kind::Preparation:
        return QStringLiteral("準備");
    case Kind::Repreparation:
        return QStringLiteral("再準備");
    case Kind::Start:
        return QStringLiteral("スタート");
    case Kind::Stop:
        return QStringLiteral("決定");
    case Kind::Refusal:
        return QStringLiteral("やりなおし");
    }
    return {};
}

QStringList header() {
    return {QStringLiteral("時刻"),       QStringLiteral("出来事"),         QStringLiteral("名簿の行"),
            QStringLiteral("出席番号"),   QStringLiteral("氏名"),           QStringLiteral("座席番号"),
            QStringLiteral("空き座席数"), QStringLiteral("乱数の使用回数"), QStringLiteral("備考"),
            QStringLiteral("クラス")};
}

QStringList cells(const Event &e) {
    const bool stop = e.kind == Kind::Stop || e.kind == Kind::Refusal;
    return {e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
            kindText(e.kind),
            number(e.row),
            e.attendance.toUnicode(),
            e.name.toUnicode(),
            e.seat.toUnicode(),
            e.pool ? QString::number(*e.pool) : QString(),
            stop ? QString::number(e.draws) : QString(),
            e.note.toUnicode(),
            e.className};
}

QByteArray csv(std::uint32_t seed, const std::vector<Event> &events) {
    QByteArray out;
    auto line = [&out](const QStringList &texts) {
        std::vector<QByteArray> bytes;
        for (const QString &t : texts)
            bytes.push_back(sjis(t));
        rostercsv::appendRow(out, bytes);
    };
    line(header());
    QStringList seedLine(columnCount);
    seedLine[KindCol] = QStringLiteral("乱数の種");
    seedLine[NoteCol] = QString::number(seed);
    line(seedLine);
    for (const Event &e : events) {
        // Names and seats are written as the roster holds their bytes.
        std::vector<QByteArray> bytes;
        for (const QString &t : cells(e))
            bytes.push_back(sjis(t));
        bytes[AttendanceCol] = e.attendance.bytes();
        bytes[NameCol] = e.name.bytes();
        bytes[SeatCol] = e.seat.bytes();
        bytes[NoteCol] = e.note.bytes();
        rostercsv::appendRow(out, bytes);
    }
    return out;
}

} // namespace drawrecord
