#include "roster/RosterGrid.h"

#include "platform/Errors.h"
#include "platform/StringGrid.h"
#include "roster/RosterCsv.h"

#include <array>
#include <cerrno>
#include <climits>

namespace roster {

void fillGrid(StringGrid &grid, QByteArrayView file) {
    std::vector<rostercsv::Fields> students = rostercsv::readStudents(file);
    if (students.empty())
        return;
    if (students.size() >= static_cast<size_t>(INT_MAX))
        throw InOutError(EFBIG);
    const StringGridBatch batch(&grid);
    for (size_t i = 0; i < students.size(); ++i) {
        rostercsv::Fields &fields = students[i];
        const int row = static_cast<int>(i) + 1;
        const size_t n = std::min(fields.size(), static_cast<size_t>(columns));
        for (size_t c = 0; c < n; ++c)
            grid.setCell(static_cast<int>(c), row, SjisText(std::move(fields[c])));
        fields = {};
    }
    grid.setGridRowCount(static_cast<int>(students.size()) + 1);
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
