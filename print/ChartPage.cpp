#include "print/ChartPage.h"

#include "print/PageCanvas.h"
#include "seats/SeatLayout.h"
#include "roster/SeatTable.h"

namespace chartpage {

QString face() {
    return QStringLiteral("MSゴシック");
}

namespace {
const QString chartFont = face();
constexpr int titlePoints = 20;
constexpr int seatPoints = 13;
constexpr int readingPoints = 9;
constexpr int deskPoints = 16;
constexpr int penDots = 10;

// The title's baseline.
constexpr double titleX = 25;
constexpr double titleY = 20;

// A seat's box and the three lines of text inside it.
constexpr double boxWidth = 40;
constexpr double boxHeight = 18;
constexpr double textInset = 3;        // from the box's left edge
constexpr double attendanceBaseline = 5; // from the box's top
constexpr double nameBaseline = 11;
constexpr double readingBaseline = 16;

// Print position 0 stands at the right; each position to its left is a box
// and a gap further.
constexpr double rightmostBoxLeft = 235;
constexpr double columnStep = 43;
constexpr double rowStep = 21; // a box and the gap below it
constexpr double firstRowTeachers = 25;
constexpr double firstRowStudents = 40;

// The teacher's desk: below the last row for the teacher, above the first
// for the students.
constexpr double deskLeft = 125;
constexpr double deskRight = 170;
constexpr double deskHeight = 12;
constexpr double deskTopStudents = 25;
constexpr double deskTextX = 142;
constexpr double deskBaseline = 8; // from the desk's top

double boxLeft(int i) {
    return rightmostBoxLeft - columnStep * i;
}
} // namespace

int layoutColumn(bool teachersView, int i) {
    return teachersView ? i : layout::columns - 1 - i;
}

void compose(PageCanvas &page, const QString &title, bool teachersView, const SeatLayout &seatLayout,
             const SeatTable &seats) {
    page.setFont(chartFont, titlePoints);
    page.text(titleX, titleY, title);

    page.setPen(Qt::black, Qt::SolidLine, penDots, PenMode::Copy);

    // The teacher sees the back row first and the desk last; the students
    // see the desk first.
    double y = teachersView ? firstRowTeachers : firstRowStudents;
    for (int step = 0; step < layout::rows; ++step) {
        const int row = teachersView ? layout::rows - 1 - step : step;
        bool drawn = false;
        for (int i = 0; i < layout::columns; ++i) {
            const int col = layoutColumn(teachersView, i);
            if (!seatLayout.isSeatAt(col, row))
                continue;
            // A hand-edited settings file can hold a number no seat has: its
            // box stays empty.
            const SeatEntry &seat = seats[SeatNumber::parse(seatLayout.cell(col, row))];
            const double x = boxLeft(i);
            page.rectangle(x, y, x + boxWidth, y + boxHeight);
            page.setFont(chartFont, seatPoints);
            page.text(x + textInset, y + attendanceBaseline, seat.attendance.toUnicode());
            page.text(x + textInset, y + nameBaseline, seat.name.toUnicode());
            page.setFont(chartFont, readingPoints);
            page.text(x + textInset, y + readingBaseline, seat.reading.toUnicode());
            drawn = true;
        }
        // A row without a seat takes no space.
        if (drawn)
            y += rowStep;
    }

    if (!teachersView)
        y = deskTopStudents;
    page.setFont(chartFont, deskPoints);
    page.rectangle(deskLeft, y, deskRight, y + deskHeight);
    page.text(deskTextX, y + deskBaseline, QStringLiteral("教卓"));
}

} // namespace chartpage
