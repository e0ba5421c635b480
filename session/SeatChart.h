#pragma once

#include "platform/CellTable.h"
#include "seats/Classroom.h"
#include "seats/SeatLayout.h"

#include <optional>

class SeatTable;

// The seat chart: each position of the classroom shows the name of the
// student sitting there, or else the layout's own text (the seat number, or
// the no-seat mark). While a seat is announced it is highlighted. The chart
// grid on the draw page and the projector view both show this one chart.
class SeatChart {
public:
    SeatChart() = default;
    SeatChart(const SeatChart &) = delete;
    SeatChart &operator=(const SeatChart &) = delete;

    // The texts, for the chart grid to show.
    CellTable &cells() { return table; }
    const CellTable &cells() const { return table; }
    const SjisText &text(int col, int row) const { return table.cell(col, row); }

    // The layout's 48 texts, every name gone.
    void showLayout(const SeatLayout &layout);
    // The names of the students holding seats at their seats' positions;
    // other seats show the layout's text and positions without a seat keep
    // theirs. Raises ConversionError where a seat's layout text is no
    // number, with the positions before it already shown.
    void showSeats(const SeatLayout &layout, const SeatTable &seats);
    // One seat given: its position shows the student's name.
    void place(Position where, const SjisText &name);
    // Every position empty: no draw to show.
    void clear();

    // The seat being announced, shown highlighted; none most of the time.
    std::optional<Position> highlighted() const { return lit; }
    bool isHighlighted(int col, int row) const { return lit && lit->col == col && lit->row == row; }
    void highlight(Position where) { lit = where; }
    void unhighlight() { lit.reset(); }

private:
    CellTable table{layout::columns, layout::rows};
    std::optional<Position> lit;
};
