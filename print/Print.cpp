#include "app/Main.h"

#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "print/PageCanvas.h"
#include "print/ReportSystem.h"
#include "seats/Classroom.h"
#include "seats/NoSeatMark.h"

#include <QLineEdit>
#include <QRadioButton>

// The printed seat chart: one landscape page, in millimetres from the
// paper's top-left corner.

namespace {
const QString chartFont = QStringLiteral("MSゴシック");
constexpr int titlePoints = 20;
constexpr int seatPoints = 13;
constexpr int readingPoints = 9;
constexpr int deskPoints = 16;
constexpr int penDots = 10;

constexpr double boxWidth = 40;
constexpr double boxHeight = 18;
constexpr double rowStep = 21; // a box and the gap below it
constexpr double firstRowTeachers = 25;
constexpr double firstRowStudents = 40;
constexpr double deskTopStudents = 25;

// The left edge of print position i; position 0 is at the right.
double boxLeft(int i) {
    return 235 - 43 * i;
}

bool isSeatNumber(std::int32_t n) {
    return n >= 1 && n <= layout::maxSeats;
}
} // namespace

void TForm1::BitBtn1Click() {
    RvSystem1->execute();
}

int TForm1::printCC(bool teachersView, int i) {
    return teachersView ? i : layout::columns - 1 - i;
}

void TForm1::RvSystem1Print(PageCanvas &sender) {
    sender.setFont(chartFont, titlePoints);
    sender.text(25, 20, Edit_Title->text());

    sender.setPen(Qt::black, Qt::SolidLine, penDots, PenMode::Copy);

    // The teacher sees the back row first and the desk last; the students
    // see the desk first.
    const bool teachersView = RadioButton1->isChecked();
    double y = teachersView ? firstRowTeachers : firstRowStudents;
    for (int step = 0; step < layout::rows; ++step) {
        const int row = teachersView ? layout::rows - 1 - step : step;
        bool drawn = false;
        for (int i = 0; i < layout::columns; ++i) {
            const SjisText &cell = StringGrid_Settei->cell(printCC(teachersView, i), row);
            if (cell == noSeatMark())
                continue;
            const std::int32_t n = inttext::parse(cell);
            // A hand-edited settings file can hold a number no seat has: its
            // box stays empty.
            static const SeatEntry noStudent;
            const SeatEntry &seat = isSeatNumber(n) ? SeatTable[static_cast<size_t>(n)] : noStudent;
            const double x = boxLeft(i);
            sender.rectangle(x, y, x + boxWidth, y + boxHeight);
            sender.setFont(chartFont, seatPoints);
            sender.text(x + 3, y + 5, seat.attendance.toUnicode());
            sender.text(x + 3, y + 11, seat.name.toUnicode());
            sender.setFont(chartFont, readingPoints);
            sender.text(x + 3, y + 16, seat.reading.toUnicode());
            drawn = true;
        }
        // A row without a seat takes no space.
        if (drawn)
            y += rowStep;
    }

    if (!teachersView)
        y = deskTopStudents;
    sender.setFont(chartFont, deskPoints);
    sender.rectangle(125, y, 170, y + 12);
    sender.text(142, y + 8, QStringLiteral("教卓"));
}
