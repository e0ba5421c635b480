#include "roster/PastedText.h"

namespace pastedtext {

namespace {

bool isLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Moves past the line end at i (CR LF counts as one).
qsizetype skipLineEnd(const QString &text, qsizetype i) {
    if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
        return i + 2;
    return i + 1;
}

// The quoted cell's text from the opening quote at i, with i moved past the
// closing quote; false where no closing quote follows.
bool readQuoted(const QString &text, qsizetype &i, QString &cell) {
    QString value;
    qsizetype j = i + 1;
    while (j < text.size()) {
        const QChar c = text.at(j);
        if (c == QLatin1Char('"')) {
            if (j + 1 < text.size() && text.at(j + 1) == QLatin1Char('"')) {
                value += c;
                j += 2;
                continue;
            }
            cell = value;
            i = j + 1;
            return true;
        }
        if (isLineEnd(c)) {
            value += QLatin1Char(' ');
            j = skipLineEnd(text, j);
            continue;
        }
        value += c;
        ++j;
    }
    return false;
}

} // namespace

std::vector<QStringList> split(const QString &text) {
    std::vector<QStringList> rows;
    QStringList row;
    QString cell;
    qsizetype i = 0;
    bool cellStart = true;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (cellStart && c == QLatin1Char('"') && readQuoted(text, i, cell)) {
            cellStart = false;
            continue;
        }
        cellStart = false;
        if (c == QLatin1Char('\t')) {
            row << cell;
            cell.clear();
            cellStart = true;
            ++i;
        } else if (isLineEnd(c)) {
            row << cell;
            cell.clear();
            rows.push_back(row);
            row.clear();
            cellStart = true;
            i = skipLineEnd(text, i);
        } else {
            cell += c;
            ++i;
        }
    }
    // The last line, where the text does not end with a line end.
    if (!cellStart || !row.isEmpty()) {
        row << cell;
        rows.push_back(row);
    }
    return rows;
}

} // namespace pastedtext
