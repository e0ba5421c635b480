#include "roster/RosterCsv.h"

#include "roster/Columns.h"

#include <algorithm>
#include <cstring>

namespace rostercsv {

namespace {

constexpr char ctrlZ = 0x1A;

// Bytes 0x00 to 0x20: NUL, the control characters and the space. The second
// byte of a Shift-JIS character is never one of them, so a byte test is safe.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool needsQuotes(QByteArrayView cell) {
    for (char c : cell)
        if ((isBlank(c) && c != 0) || c == '"' || c == ',')
            return true;
    return false;
}

// Hands the text of each line to fn, in order.
template <typename Fn> void forEachLine(QByteArrayView file, Fn &&fn) {
    const char *const data = file.data();
    const qsizetype n = file.size();
    QByteArray withoutCr;
    qsizetype p = 0;
    for (;;) {
        while (p < n && isBlank(data[p]) && data[p] != ctrlZ)
            ++p;
        if (p == n || data[p] == ctrlZ)
            break;
        const qsizetype start = p;
        const void *lf = std::memchr(data + p, '\n', static_cast<size_t>(n - p));
        const qsizetype lineEnd = lf ? static_cast<const char *>(lf) - data : n;
        const void *z = std::memchr(data + p, ctrlZ, static_cast<size_t>(lineEnd - p));
        p = z ? static_cast<const char *>(z) - data : lineEnd;
        QByteArrayView text(data + start, p - start);
        // Mostly the CR of a CR LF line end; only a CR inside needs a copy.
        while (!text.isEmpty() && text.back() == '\r')
            text.chop(1);
        if (std::memchr(text.data(), '\r', static_cast<size_t>(text.size()))) {
            withoutCr.clear();
            for (char c : text)
                if (c != '\r')
                    withoutCr += c;
            text = withoutCr;
        }
        fn(text);
        // The rest of a line behind a Ctrl-Z is not read; a second Ctrl-Z
        // in that rest ends the file.
        if (p < lineEnd && std::memchr(data + p + 1, ctrlZ, static_cast<size_t>(lineEnd - p - 1)))
            break;
        p = lineEnd < n ? lineEnd + 1 : n;
    }
}

} // namespace

std::vector<QByteArray> readLines(QByteArrayView file) {
    std::vector<QByteArray> lines;
    forEachLine(file, [&](QByteArrayView text) { lines.push_back(text.toByteArray()); });
    return lines;
}

std::optional<std::vector<Fields>> readTable(QByteArrayView file) {
    std::vector<Fields> table;
    if (std::all_of(file.begin(), file.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }))
        return table;
    if (file.contains(ctrlZ) || file.contains('\0'))
        return std::nullopt;
    for (const QByteArray &line : readLines(file))
        table.push_back(splitAllFields(line));
    // Control codes alone make no line, yet they are not nothing: a header
    // of no fields says so to the reader.
    if (table.empty())
        table.emplace_back();
    return table;
}

Fields splitFields(QByteArrayView line) {
    const void *nul = std::memchr(line.data(), '\0', static_cast<size_t>(line.size()));
    const QByteArrayView t = nul ? line.first(static_cast<const char *>(nul) - line.data()) : line;
    const qsizetype n = t.size();
    Fields fields;
    fields.reserve(roster::columns);
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && isBlank(t[p]))
            ++p;
    };
    skipBlanks();
    // Fields after the fifth are never looked at: a line of millions of
    // commas must not become millions of fields.
    while (p < n && fields.size() < static_cast<size_t>(roster::columns)) {
        QByteArray value;
        if (t[p] == '"') {
            ++p;
            while (p < n) {
                if (t[p] == '"') {
                    if (p + 1 < n && t[p + 1] == '"') {
                        value += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                const qsizetype start = p;
                while (p < n && t[p] != '"')
                    ++p;
                value += t.sliced(start, p - start);
            }
        } else {
            const qsizetype start = p;
            while (p < n && t[p] != ',' && !isBlank(t[p]))
                ++p;
            value = t.sliced(start, p - start).toByteArray();
        }
        fields.push_back(std::move(value));
        skipBlanks();
        if (p < n && t[p] == ',') {
            if (p == n - 1 && fields.size() < static_cast<size_t>(roster::columns))
                fields.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return fields;
}

Fields splitAllFields(QByteArrayView line) {
    Fields fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

void forEachStudent(QByteArrayView file, const std::function<void(Fields &)> &fn) {
    bool header = true;
    forEachLine(file, [&](QByteArrayView text) {
        if (!header) {
            Fields fields = splitFields(text);
            fn(fields);
        }
        header = false;
    });
}

std::vector<Fields> readStudents(QByteArrayView file) {
    std::vector<Fields> students;
    forEachStudent(file, [&](Fields &fields) { students.push_back(std::move(fields)); });
    return students;
}

void appendRow(QByteArray &out, std::span<const QByteArray> cells) {
    bool first = true;
    for (const QByteArray &cell : cells) {
        if (!first)
            out += ',';
        first = false;
        if (!needsQuotes(cell)) {
            out += cell;
            continue;
        }
        out += '"';
        const QByteArrayView rest(cell);
        qsizetype start = 0;
        for (qsizetype q; (q = rest.indexOf('"', start)) >= 0; start = q + 1) {
            out += rest.sliced(start, q + 1 - start);
            out += '"';
        }
        out += rest.sliced(start);
        out += '"';
    }
    out += "\r\n";
}

} // namespace rostercsv
