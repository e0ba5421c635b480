#include "journal/Journal.h"

#include <QCryptographicHash>
#include <QList>

#include <array>
#include <type_traits>

namespace journal {

namespace {

constexpr char magic[] = "kirabo-draw-journal";
constexpr int version = 1;

std::uint32_t crc32(QByteArrayView bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (const char ch : bytes)
        c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

// A text field: the hex of its bytes, "-" for none.
QByteArray hex(const QByteArray &bytes) {
    return bytes.isEmpty() ? QByteArray("-") : bytes.toHex();
}

bool unhex(const QByteArray &field, QByteArray &out) {
    if (field == "-") {
        out.clear();
        return true;
    }
    if (field.isEmpty() || field.size() % 2 != 0)
        return false;
    for (const char ch : field)
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f')))
            return false;
    out = QByteArray::fromHex(field);
    return true;
}

// A line of fields, its checksum after them.
QByteArray sealed(const QList<QByteArray> &fields) {
    const QByteArray body = fields.join(' ');
    return body + ' ' + QByteArray::number(crc32(body), 16).rightJustified(8, '0') + "\r\n";
}

// An event's fields; the class came last, after journals were first written
// without it.
QByteArray eventLine(const char *tag, const drawrecord::Event &e) {
    return sealed({tag, QByteArray::number(static_cast<int>(e.kind)), QByteArray::number(e.time.toMSecsSinceEpoch()),
                   QByteArray::number(e.row), hex(e.attendance.bytes()), hex(e.name.bytes()), hex(e.seat.bytes()),
                   e.pool ? QByteArray::number(*e.pool) : QByteArray("-"), QByteArray::number(e.draws),
                   hex(e.note.bytes()), hex(e.className.toUtf8())});
}

template <typename T> bool number(const QByteArray &field, T &out) {
    bool ok = false;
    if constexpr (std::is_same_v<T, std::uint64_t>)
        out = field.toULongLong(&ok);
    else if constexpr (std::is_same_v<T, std::uint32_t>)
        out = field.toUInt(&ok);
    else if constexpr (std::is_same_v<T, qint64>)
        out = field.toLongLong(&ok);
    else
        out = field.toInt(&ok);
    return ok;
}

bool readEvent(const QList<QByteArray> &f, drawrecord::Event &e) {
    if (f.size() != 10 && f.size() != 11)
        return false;
    int kind = 0;
    qint64 ms = 0;
    std::int32_t pool = 0;
    QByteArray att, name, seat, note, className;
    if (!number(f[1], kind) || kind < 0 || kind > static_cast<int>(drawrecord::Kind::Refusal) || !number(f[2], ms)
        || !number(f[3], e.row) || !unhex(f[4], att) || !unhex(f[5], name) || !unhex(f[6], seat)
        || !(f[7] == "-" || number(f[7], pool)) || !number(f[8], e.draws) || !unhex(f[9], note)
        || (f.size() == 11 && !unhex(f[10], className)))
        return false;
    if (f[7] != "-")
        e.pool = pool;
    e.className = QString::fromUtf8(className);
    e.kind = static_cast<drawrecord::Kind>(kind);
    e.time = QDateTime::fromMSecsSinceEpoch(ms);
    e.attendance = SjisText(att);
    e.name = SjisText(name);
    e.seat = SjisText(seat);
    e.note = SjisText(note);
    return true;
}

// One line's fields, where its checksum holds.
bool unseal(const QByteArray &line, QList<QByteArray> &fields) {
    const qsizetype space = line.lastIndexOf(' ');
    if (space < 0 || line.size() - space - 1 != 8)
        return false;
    bool ok = false;
    const std::uint32_t sum = line.mid(space + 1).toUInt(&ok, 16);
    const QByteArray body = line.left(space);
    if (!ok || sum != crc32(body))
        return false;
    fields = body.split(' ');
    return true;
}

} // namespace

QByteArray beginning(const Contents &c) {
    QByteArray out = sealed({magic, QByteArray::number(version)});
    out += sealed({"roster", hex(c.rosterPath.toUtf8()), hex(c.fileHash), hex(c.rosterBytes), QByteArray::number(c.seed)});
    if (!c.layout.empty()) {
        QList<QByteArray> cells{"layout"};
        for (const SjisText &cell : c.layout)
            cells << hex(cell.bytes());
        out += sealed(cells);
    }
    for (const auto &[row, seat] : c.held)
        out += sealed({"held", QByteArray::number(row), hex(seat.bytes())});
    for (std::size_t i = 0; i < c.events.size(); ++i)
        out += eventLine(i < c.firstNew ? "past" : "event", c.events[i]);
    return out;
}

QByteArray line(const drawrecord::Event &e) {
    return eventLine("event", e);
}

Read read(const QByteArray &bytes) {
    Read r;
    if (bytes.isEmpty())
        return r;
    QList<QByteArray> lines = bytes.split('\n');
    // What follows the last line end is a line the writer was cut off in.
    if (!lines.last().isEmpty())
        r.cutOff = true;
    lines.removeLast();
    bool header = false, roster = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray &l = lines[i];
        QList<QByteArray> f;
        if (!l.endsWith('\r') || !unseal(l.chopped(1), f)) {
            r.reading = Reading::Unreadable;
            return r;
        }
        Contents &c = r.contents;
        bool ok = true;
        if (!header) {
            ok = f.size() == 2 && f[0] == magic && f[1] == QByteArray::number(version);
            header = true;
        } else if (!roster) {
            QByteArray path;
            ok = f.size() == 5 && f[0] == "roster" && unhex(f[1], path) && unhex(f[2], c.fileHash)
                 && unhex(f[3], c.rosterBytes) && number(f[4], c.seed);
            c.rosterPath = QString::fromUtf8(path);
            roster = true;
        } else if (f[0] == "layout" && c.layout.empty() && c.held.empty() && c.events.empty()) {
            for (qsizetype k = 1; ok && k < f.size(); ++k) {
                QByteArray cell;
                ok = unhex(f[k], cell);
                c.layout.emplace_back(cell);
            }
            ok = ok && !c.layout.empty();
        } else if (f[0] == "held" && f.size() == 3 && c.events.empty()) {
            std::int32_t row = 0;
            QByteArray seat;
            ok = number(f[1], row) && row > 0 && unhex(f[2], seat);
            c.held[row] = SjisText(seat);
        } else if (f[0] == "past" || f[0] == "event") {
            drawrecord::Event e;
            ok = readEvent(f, e) && (f[0] == "event" || c.firstNew == c.events.size());
            c.events.push_back(e);
            if (f[0] == "past")
                c.firstNew = c.events.size();
        } else {
            ok = false;
        }
        if (!ok) {
            r.reading = Reading::Unreadable;
            return r;
        }
    }
    // Cut off before its first lines were whole, it decided nothing; but a
    // first line that is no start of a journal is not one.
    if (!header) {
        const QByteArray start = bytes.left(sizeof magic - 1);
        r.reading = QByteArray(magic).startsWith(start) ? Reading::Empty : Reading::Unreadable;
        return r;
    }
    r.reading = roster ? Reading::Sound : Reading::Empty;
    return r;
}

std::map<std::int32_t, SjisText> seats(const Contents &c) {
    std::map<std::int32_t, SjisText> given = c.held;
    for (std::size_t i = c.firstNew; i < c.events.size(); ++i)
        if (c.events[i].kind == drawrecord::Kind::Stop && c.events[i].row > 0)
            given[c.events[i].row] = c.events[i].seat;
    return given;
}

QByteArray hashOf(const QByteArray &fileBytes) {
    return QCryptographicHash::hash(fileBytes, QCryptographicHash::Sha256);
}

} // namespace journal
