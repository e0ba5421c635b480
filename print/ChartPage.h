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

// The face every text of the chart is set in: a Windows face name, which
// the Japanese faces stand in for where it is missing, and which a PDF of the
// chart embeds.
QString face();

// Draws the title, a box per seat of the layout with the attendance number,
// name and reading of the student sitting there, and the teacher's desk.
void compose(PageCanvas &page, const QString &title, bool teachersView, const SeatLayout &layout,
             const SeatTable &seats);

} // namespace chartpage
