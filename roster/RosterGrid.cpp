#include "roster/RosterGrid.h"

#include "platform/Errors.h"
#include "platform/StringGrid.h"
#include "roster/RosterCsv.h"

#include <array>
#include <climits>
#include <optional>

namespace roster {

void fillGrid(StringGrid &grid, QByteArrayView file) {
    // The views hear of the new rows once, at the end; a file without
    // student lines does not disturb them at all.
    std::optional<StringGridBatch> batch;
    int row = 0;
    rostercsv::forEachStudent(file, [&](rostercsv::Fields &fields) {
        if (row == INT_MAX - 1)
            throw InOutError(syserr::fileTooLarge);
        if (!batch)
            batch.emplace(&grid);
        ++row;
        for (size_t c = 0; c < fields.size(); ++c)
            grid.setCell(static_cast<int>(c), row, SjisText(std::move(fields[c])));
    });
    if (row > 0)
        grid.setGridRowCount(row + 1);
}

QByteArray gridBytes(const StringGrid &grid) {
    QByteArray out;
    std::array<QByteArray, columns> cells;
    for (int row = 0; row < grid.gridRowCount(); ++row) {
        for (int c = 0; c < columns; ++c)
            cells[static_cast<size_t>(c)] = grid.cell(c, row).bytes();
        rostercsv::appendRow(out, cells);
    }
    return out;
}

} // namespace roster
