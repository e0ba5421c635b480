#include "app/Main.h"

#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "platform/TextList.h"
#include "roster/Columns.h"
#include "seats/Classroom.h"

#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>

// Draw preparation: the free-seat pool, whose turn it is, the chart and the
// status line. It never touches the spin itself.

void TForm1::Jyunbi() {
    Memo1->clear();
    if (OpenDialog1.fileName.isEmpty())
        return;
    if (SeatAmount() != StringGrid2->gridRowCount() - 1) {
        showDrawFailure("座席の数と人数があいません！");
        return;
    }
    if (ErrorCheck()) {
        showDrawFailure("名簿の座席指定に誤りがあります！");
        return;
    }

    const int seats = SeatAmount();
    for (int s = 1; s <= seats; ++s)
        if (!NoCheck(s))
            Memo1->append(inttext::format(s));
    record(preparationKind);

    TurnRow = 0;
    advanceTurn();

    // Start stays off should the chart fill fail on a layout cell that is no
    // seat number: a stop would write its seat and then fail the same way.
    Button1->setEnabled(false);
    ZasekiYomikomi();
    showTurn();
}

// A seat typed in another form of integer text ("05", "$5") is held as
// much as one in plain digits: left in the pool, it would be drawn for a
// second student, and two would share one seat.
bool TForm1::NoCheck(std::int32_t seat) const {
    for (int r = 1; r < StringGrid2->gridRowCount(); ++r) {
        std::int32_t held = 0;
        if (inttext::tryParse(StringGrid2->cell(roster::seatCol, r).bytes(), held) && held == seat)
            return true;
    }
    return false;
}

void TForm1::Button6Click() {
    preparationKind = drawrecord::Kind::Repreparation;
    const auto restore = qScopeGuard([this] { preparationKind = drawrecord::Kind::Preparation; });
    Jyunbi();
}

void TForm1::showDrawFailure(const char *message) {
    record(preparationKind, {}, SjisText::lit(message));
    Label_N->setText(QString::fromUtf8(message));
    Button1->setEnabled(false);
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, SjisText());
}

// The roster row after TurnRow that has no seat yet. Rows past the last
// student read as the grid last held them, so the search ends at the first
// row that never held a seat.
void TForm1::advanceTurn() {
    do
        ++TurnRow;
    while (!StringGrid2->cell(roster::seatCol, TurnRow).isEmpty());
}

bool TForm1::isStudentWithoutSeat(std::int32_t row) const {
    return row >= 1 && row < StringGrid2->gridRowCount() && StringGrid2->cell(roster::seatCol, row).isEmpty();
}

// The status line and Start: whose turn it is, or the finished chart. The
// draw is finished when no seat is left, and also when every student holds
// one although a seat text the pool did not recognise (such as "05") left a
// number in it: the turn never moves into rows the roster does not show.
void TForm1::showTurn() {
    if (Memo1->count() == 0 || !isStudentWithoutSeat(TurnRow)) {
        Label_N->setText(QStringLiteral("座席表が完成しました！"));
        Button1->setEnabled(false);
        return;
    }
    Label_N->setText(StringGrid2->cell(roster::nameCol, TurnRow).toUnicode() + QStringLiteral("さんの番です！"));
    Button1->setEnabled(true);
}
