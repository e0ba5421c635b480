#include "draw/Record.h"

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
    return {QStringLiteral("時刻"),     QStringLiteral("出来事"),     QStringLiteral("名簿の行"),
            QStringLiteral("出席番号"), QStringLiteral("氏名"),       QStringLiteral("座席番号"),
            QStringLiteral("空き座席数"), QStringLiteral("ティック数"), QStringLiteral("備考")};
}

QStringList cells(const Event &e) {
    const bool stop = e.kind == Kind::Stop || e.kind == Kind::Refusal;
    return {e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
            kindText(e.kind),
            number(e.row),
            e.attendance.toUnicode(),
            e.name.toUnicode(),
            e.seat.toUnicode(),
            QString::number(e.pool),
            stop ? QString::number(e.ticks) : QString(),
            e.note.toUnicode()};
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
    QStringList seedLine(header().size());
    seedLine[1] = QStringLiteral("乱数の種");
    seedLine[8] = QString::number(seed);
    line(seedLine);
    for (const Event &e : events) {
        // Names and seats are written as the roster holds their bytes.
        std::vector<QByteArray> bytes;
        for (const QString &t : cells(e))
            bytes.push_back(sjis(t));
        bytes[3] = e.attendance.bytes();
        bytes[4] = e.name.bytes();
        bytes[5] = e.seat.bytes();
        bytes[8] = e.note.bytes();
        rostercsv::appendRow(out, bytes);
    }
    return out;
}

} // namespace drawrecord
