// Any roster the writer makes reads back into the same cells. The input is
// cut into cells at NUL bytes, five to a row; the bytes a cell can never
// hold (CR, LF, Ctrl-Z) are dropped from it.
#include "roster/Columns.h"
#include "roster/RosterCsv.h"

#include <QList>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::vector<rostercsv::Fields> rows;
    for (QByteArray cell : input.split('\0')) {
        cell.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\x1a'; });
        if (rows.empty() || rows.back().size() == static_cast<std::size_t>(roster::columns))
            rows.emplace_back();
        rows.back().push_back(cell);
    }
    while (rows.back().size() < static_cast<std::size_t>(roster::columns))
        rows.back().emplace_back();

    QByteArray file;
    rostercsv::appendRow(file, rostercsv::Fields{"h", "h", "h", "h", "h"});
    for (const rostercsv::Fields &row : rows)
        rostercsv::appendRow(file, row);
    if (rostercsv::readStudents(file) != rows)
        std::abort();
    return 0;
}
