#include "roster/RosterCsv.h"

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

} // namespace

std::vector<QByteArray> readLines(QByteArrayView file) {
    std::vector<QByteArray> lines;
    const qsizetype n = file.size();
    qsizetype p = 0;
    for (;;) {
        while (p < n && isBlank(file[p]) && file[p] != ctrlZ)
            ++p;
        if (p == n || file[p] == ctrlZ)
            break;
        const qsizetype start = p;
        while (p < n && file[p] != '\n' && file[p] != ctrlZ)
            ++p;
        QByteArray line = file.sliced(start, p - start).toByteArray();
        if (line.contains('\r'))
            line.replace('\r', QByteArrayView());
        lines.push_back(std::move(line));
        bool finished = false;
        if (p < n && file[p] == ctrlZ) {
            // The rest of a line behind a Ctrl-Z is not read; a second
            // Ctrl-Z in that rest ends the file.
            ++p;
            while (p < n && file[p] != '\n') {
                if (file[p] == ctrlZ)
                    finished = true;
                ++p;
            }
        }
        if (p < n)
            ++p; // the line feed
        if (finished)
            break;
    }
    return lines;
}

Fields splitFields(QByteArrayView line) {
    const qsizetype nul = line.indexOf('\0');
    const QByteArrayView t = nul < 0 ? line : line.first(nul);
    const qsizetype n = t.size();
    Fields fields;
    qsizetype p = 0;
    auto skipBlanks = [&] {
        while (p < n && isBlank(t[p]))
            ++p;
    };
    skipBlanks();
    while (p < n) {
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
            if (p == n - 1)
                fields.emplace_back();
            ++p;
            skipBlanks();
        }
    }
    return fields;
}

std::vector<Fields> readStudents(QByteArrayView file) {
    std::vector<QByteArray> lines = readLines(file);
    std::vector<Fields> students;
    if (lines.size() > 1)
        students.reserve(lines.size() - 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        students.push_back(splitFields(lines[i]));
        lines[i] = QByteArray(); // keeps a big file from being held twice
    }
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
