#include "app/Main.h"

#include "draw/Random.h"
#include "platform/Dialogs.h"
#include "platform/IntText.h"
#include "platform/StringGrid.h"
#include "platform/TextList.h"
#include "roster/Columns.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

// The spinning draw: Start spins the big number through the free seats, Stop
// gives the number on show to the student whose turn it is.

namespace {
QString startCaption() {
    return QStringLiteral("スタート");
}
QString stopCaption() {
    return QStringLiteral("ストップ");
}
// Where the announcement's corner stands from the window frame's corner.
constexpr QPoint announcementOffset(256, 120);
} // namespace

void TForm1::Button1Click() {
    if (Button1->text() == startCaption())
        kujistart();
    else if (SpinShown)
        kujistop();
}

void TForm1::kujistart() {
    record(drawrecord::Kind::Start);
    Button1->setText(stopCaption());
    Timer1->start();
}

void TForm1::Timer1Timer() {
    SpinIndex = rng::randomIndex(Memo1->count());
    Label1->setText(Memo1->at(SpinIndex).toUnicode());
    SpinShown = true;
}

void TForm1::kujistop() {
    // A preparation since the last tick rebuilt the pool, so the number on
    // show may no longer stand at SpinIndex. Such a stop waits for a tick to
    // show a number of the new pool; a spin that an error had halted spins on.
    if (!shownSeatIsInPool()) {
        if (!Timer1->isActive())
            Timer1->start();
        return;
    }

    Timer1->stop();
    const SjisText seat = Memo1->at(SpinIndex);
    Label1->setText(seat.toUnicode());

    // An error after an earlier stop had written its seat kept the turn from
    // moving on: no stop writes over a seat, nor outside the roster.
    if (!isStudentWithoutSeat(TurnRow)) {
        SpinShown = false;
        Button1->setText(startCaption());
        advanceTurn();
        showTurn();
        return;
    }

    if (CB_tonari->isChecked() && Otonaricheck(TurnRow, inttext::parse(seat)) && Memo1->count() >= 2) {
        record(drawrecord::Kind::Refusal, seat);
        showMessage(QStringLiteral("隣の人が前回と同じです! やりなおします"));
        Timer1->start();
        return;
    }

    SpinShown = false;
    Button1->setText(startCaption());
    StringGrid2->setCell(roster::seatCol, TurnRow, seat);
    Modified = true;
    Memo1->removeAt(SpinIndex);
    record(drawrecord::Kind::Stop, seat);
    ZasekiYomikomi();

    int col = -1;
    int row = -1;
    SeatToCell(inttext::parse(seat), col, row);
    PaintCell(col, row, true);
    const SjisText announcement = StringGrid2->cell(roster::nameCol, TurnRow) + SjisText::lit("さんの座席は") + seat
                                  + SjisText::lit("番に決まりました。");
    showMessageAt(announcement.toUnicode(), frameGeometry().topLeft() + announcementOffset);
    PaintCell(col, row, false);

    advanceTurn();
    showTurn();
}

bool TForm1::shownSeatIsInPool() const {
    return SpinIndex >= 0 && SpinIndex < Memo1->count() && Memo1->at(SpinIndex).toUnicode() == Label1->text();
}

void TForm1::guardedTick(const std::function<void()> &tick) {
    guarded(tick, [this] {
        Timer1->stop();
        SpinShown = false;
        Button1->setText(startCaption());
    });
}
