// Any history the program records (the rounds of finished draws of a
// roster on a layout, on any days) reads back from its file into the same
// rounds.
#include "FuzzText.h"
#include "history/ClassHistory.h"
#include "roster/Columns.h"
#include "roster/Roster.h"
#include "seats/SeatLayout.h"

#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    SeatLayout layout;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n)
        layout.toggle(in.ConsumeIntegralInRange(0, layout::columns - 1), in.ConsumeIntegralInRange(0, layout::rows - 1));
    layout.renumber();

    const int seats = layout.seatCount();
    if (seats == 0)
        return 0;

    // Each round is a finished draw: every student holds one seat of the
    // layout; the roster's texts are anything a cell can hold.
    ClassHistory history;
    QDate day(2026, 4, 6);
    for (int rounds = in.ConsumeIntegralInRange(1, 4); rounds > 0; --rounds) {
        Roster roster;
        roster.makeNew(seats);
        std::vector<int> free(static_cast<size_t>(seats));
        std::iota(free.begin(), free.end(), 1);
        for (int row = 1; row <= seats; ++row) {
            for (const int col : {roster::orderCol, roster::attendanceCol, roster::nameCol})
                if (in.ConsumeBool())
                    roster.setCell(col, row, cellText(in));
            const auto pick = in.ConsumeIntegralInRange<size_t>(0, free.size() - 1);
            roster.setCell(roster::seatCol, row, SjisText(QByteArray::number(free[pick])));
            free.erase(free.begin() + static_cast<std::ptrdiff_t>(pick));
        }
        day = day.addDays(in.ConsumeIntegralInRange(0, 40));
        history.record(roster, layout, day);
    }

    QString problem;
    const std::optional<ClassHistory> read = ClassHistory::parse(history.bytes(), problem);
    if (!read || read->rounds() != history.rounds())
        std::abort();
    return 0;
}
