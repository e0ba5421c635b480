#pragma once

#include <QString>

class PageCanvas;
class SeatLayout;
class SeatTable;

// The printed seat chart: one landscape page, in millimetres from the
// paper's top-left corner.
namespace chartpage {

// The layout column shown at print position i (0 at the right of the
// page): the teacher sees the class mirrored, the students as on screen.
int layoutColumn(bool teachersView, int i);

// Draws the title, a box per seat of the layout with the attendance number,
// name and reading of the student sitting there, and the teacher's desk.
void compose(PageCanvas &page, const QString &title, bool teachersView, const SeatLayout &layout,
             const SeatTable &seats);

} // namespace chartpage
