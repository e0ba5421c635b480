#include "roster/HeldSeats.h"

#include "roster/Roster.h"

#include <QStringList>

namespace heldseats {

int count(const Roster &roster) {
    int held = 0;
    for (int row = 1; row <= roster.studentCount(); ++row)
        held += roster.isWithoutSeat(row) ? 0 : 1;
    return held;
}

std::optional<QString> whyNotPrinted(const Roster &roster, const SeatLayout &layout) {
    if (count(roster) == 0)
        return std::nullopt;
    const QString cannot = QStringLiteral("座席表を印刷できません。");
    const int seats = layout.seatCount();
    if (seats != roster.studentCount())
        return cannot
               + QStringLiteral("座席の数（%1席）と名簿の人数（%2人）があいません。"
                                "座席表の設定の×印か名簿を直して数を合わせてから、もう一度印刷してください。")
                     .arg(seats)
                     .arg(roster.studentCount());
    if (const std::optional<SjisText> fault = roster.seatFault(seats)) {
        QString why = fault->toUnicode();
        if (!why.endsWith(QChar(u'。')))
            why += QChar(u'。');
        return cannot + why + QStringLiteral("名簿の座席番号を直してから、もう一度印刷してください。");
    }
    return std::nullopt;
}

} // namespace heldseats

namespace {

// The student as the question names them.
QString who(const Roster &roster, int row) {
    const SjisText &name = roster.cell(roster::nameCol, row);
    if (name.isEmpty())
        return QStringLiteral("くじ順%1番の生徒").arg(roster.cell(roster::orderCol, row).toUnicode());
    return name.toUnicode() + QStringLiteral("さん");
}

} // namespace

LayoutChange::LayoutChange(const Roster &roster, const SeatLayout &now, const SeatLayout &next, Follow follow)
    : follow(follow), seatsAfter(next.seatCount()), students(roster.studentCount()) {
    for (int row = 1; row <= students; ++row) {
        const SjisText &seat = roster.cell(roster::seatCol, row);
        if (seat.isEmpty())
            continue;
        ++held;
        std::int32_t n = 0;
        const bool isNumber = inttext::tryParse(seat.bytes(), n);
        const Position at = isNumber ? now.position(SeatNumber(n)) : Position{};
        if (follow == Follow::Numbers) {
            const Position then = isNumber ? next.position(SeatNumber(n)) : Position{};
            if (then != at) {
                ++elsewhere;
                nowhere += then.isNone() ? 1 : 0;
            }
            continue;
        }
        if (at.isNone()) {
            unplaced.push_back(row);
        } else if (!next.isSeatAt(at.col, at.row)) {
            placeGone.push_back({row, who(roster, row), seat});
        } else {
            // The layout after a click is numbered: its cells hold plain numbers.
            const SeatNumber becomes = SeatNumber::parse(next.cell(at.col, at.row));
            if (becomes.value() != n)
                renumbered.emplace_back(row, becomes);
        }
    }
}

bool LayoutChange::movesSeats() const {
    if (follow == Follow::Numbers)
        return elsewhere > 0;
    return !renumbered.empty() || !placeGone.empty() || !unplaced.empty();
}

QString LayoutChange::question() const {
    QStringList lines{QStringLiteral("座席が決まっている生徒が%1人います。").arg(held)};
    if (follow == Follow::Places) {
        if (!renumbered.empty())
            lines << QStringLiteral("座席の番号が振り直されます。生徒の席の場所は変えずに、"
                                    "%1人の座席番号を新しい番号に書き換えます。")
                         .arg(static_cast<int>(renumbered.size()));
        for (const Gone &g : placeGone)
            lines << QStringLiteral("%1の席（%2番）はなくなるため、座席番号を空にします。")
                         .arg(g.who, g.seat.toUnicode());
        if (!unplaced.empty())
            lines << QStringLiteral("座席の配置にない座席番号の%1人は、座席番号を空にします。")
                         .arg(static_cast<int>(unplaced.size()));
        if (!movesSeats())
            lines << QStringLiteral("生徒の席と座席番号は変わりません。");
    } else {
        lines << QStringLiteral("この設定ファイルの座席の配置では、名簿の座席番号はそのままで、"
                                "%1人の座席番号が今とは別の場所の席を指すようになります。")
                     .arg(elsewhere);
        if (nowhere > 0)
            lines << QStringLiteral("そのうち%1人の座席番号は、この配置にはありません。").arg(nowhere);
    }
    if (seatsAfter != students)
        lines << QStringLiteral("座席は%1席になり、名簿の%2人と合わなくなります。").arg(seatsAfter).arg(students);
    lines << (follow == Follow::Places ? QStringLiteral("座席の配置を変えますか？")
                                       : QStringLiteral("設定ファイルを開きますか？"));
    return lines.join(QLatin1Char('\n'));
}

bool LayoutChange::applyTo(Roster &roster) const {
    if (follow == Follow::Numbers)
        return false;
    for (const auto &[row, seat] : renumbered)
        roster.setSeat(row, seat);
    for (const Gone &g : placeGone)
        roster.setSeat(g.row, SeatNumber());
    for (const int row : unplaced)
        roster.setSeat(row, SeatNumber());
    return movesSeats();
}
