#include "conditions/SeatConditions.h"

#include "roster/Roster.h"
#include "roster/RosterCsv.h"

#include <QDir>
#include <QFileInfo>

namespace {

const char *const columnNames[] = {"条件", "出席番号", "氏名", "相手の出席番号", "相手の氏名", "列数"};
constexpr int columnCount = 6;

const SjisText &frontKind() {
    static const SjisText k = SjisText::lit("前の席");
    return k;
}
const SjisText &apartKind() {
    static const SjisText k = SjisText::lit("離す");
    return k;
}

} // namespace

QString SeatConditions::pathFor(const QString &rosterPath) {
    const QFileInfo roster(rosterPath);
    return roster.dir().filePath(roster.completeBaseName() + QStringLiteral("_条件.csv"));
}

std::optional<SeatConditions> SeatConditions::parse(const QByteArray &bytes, QString &problem) {
    SeatConditions c;
    const std::optional<std::vector<rostercsv::Fields>> lines = rostercsv::readTable(bytes);
    if (!lines) {
        problem = QStringLiteral("座席の条件に読めない文字があります");
        return std::nullopt;
    }
    if (lines->empty())
        return c;
    const rostercsv::Fields &header = lines->front();
    if (header.size() < columnCount || SjisText(header[0]) != SjisText::lit(columnNames[0])) {
        problem = QStringLiteral("座席の条件の見出しがありません");
        return std::nullopt;
    }
    for (size_t i = 1; i < lines->size(); ++i) {
        const rostercsv::Fields &f = (*lines)[i];
        const auto bad = [&] {
            problem = QStringLiteral("座席の条件の %1 行目が読めません").arg(i + 1);
            return std::nullopt;
        };
        if (f.size() < columnCount || f[1].isEmpty())
            return bad();
        const SjisText kind(f[0]);
        if (kind == frontKind()) {
            bool ok = false;
            const int rows = f[5].toInt(&ok);
            if (!ok || rows < 1 || rows > 3)
                return bad();
            c.front.push_back(Front{SjisText(f[1]), SjisText(f[2]), rows});
        } else if (kind == apartKind()) {
            if (f[3].isEmpty() || f[3] == f[1])
                return bad();
            c.apart.push_back(Apart{SjisText(f[1]), SjisText(f[2]), SjisText(f[3]), SjisText(f[4])});
        } else {
            return bad();
        }
    }
    return c;
}

QByteArray SeatConditions::bytes() const {
    QByteArray out;
    std::vector<QByteArray> cells;
    for (const char *name : columnNames)
        cells.push_back(SjisText::lit(name).bytes());
    rostercsv::appendRow(out, cells);
    for (const Front &f : front) {
        cells = {frontKind().bytes(), f.attendance.bytes(), f.name.bytes(), {}, {}, QByteArray::number(f.rows)};
        rostercsv::appendRow(out, cells);
    }
    for (const Apart &a : apart) {
        cells = {apartKind().bytes(), a.attendance.bytes(), a.name.bytes(), a.otherAttendance.bytes(),
                 a.otherName.bytes(), {}};
        rostercsv::appendRow(out, cells);
    }
    return out;
}

int SeatConditions::rowOf(const Roster &roster, const SjisText &attendance, const SjisText &name) {
    for (int r = 1; r < roster.rowCount(); ++r)
        if (roster.cell(roster::attendanceCol, r) == attendance)
            return roster.cell(roster::nameCol, r) == name ? r : 0;
    return 0;
}

void SeatConditions::confirmNames(const Roster &roster) {
    auto nameOf = [&](const SjisText &attendance, SjisText &name) {
        for (int r = 1; r < roster.rowCount(); ++r)
            if (roster.cell(roster::attendanceCol, r) == attendance) {
                name = roster.cell(roster::nameCol, r);
                return;
            }
    };
    for (Front &f : front)
        nameOf(f.attendance, f.name);
    for (Apart &a : apart) {
        nameOf(a.attendance, a.name);
        nameOf(a.otherAttendance, a.otherName);
    }
}
