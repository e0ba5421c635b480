#include "app/Main.h"

#include "draw/NeighbourRule.h"
#include "draw/Projector.h"
#include "platform/Dialogs.h"
#include "platform/StringGrid.h"
#include "platform/TextList.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>

// The draw page: the preparation, the spin and the stop. The draw itself
// decides; the handlers show what it decided and keep the timer.

namespace {
// Where the announcement's corner stands from the window frame's corner.
constexpr QPoint announcementOffset(256, 120);
} // namespace

void TForm1::Jyunbi() {
    // Whatever happens below, the page shows where the draw stands.
    const auto shown = qScopeGuard([this] { showDrawState(); });
    draw.clearPool();
    showPool();
    if (OpenDialog1.fileName.isEmpty())
        return;
    if (SeatAmount() != classRoster.studentCount()) {
        showDrawFailure("座席の数と人数があいません！");
        return;
    }
    if (ErrorCheck()) {
        showDrawFailure("名簿の座席指定に誤りがあります！");
        return;
    }

    draw.prepare(classRoster, SeatAmount());
    showPool();
    record(preparationKind);

    // Start stays off should the chart fill fail on a layout cell that is no
    // seat number: a stop would write its seat and then fail the same way.
    draw.disableStart();
    ZasekiYomikomi();
    draw.showTurn(classRoster);
}

bool TForm1::NoCheck(std::int32_t seat) const {
    return classRoster.holdsSeat(SeatNumber(seat));
}

void TForm1::Button6Click() {
    preparationKind = drawrecord::Kind::Repreparation;
    const auto restore = qScopeGuard([this] { preparationKind = drawrecord::Kind::Preparation; });
    Jyunbi();
}

void TForm1::showDrawFailure(const char *message) {
    record(preparationKind, {}, SjisText::lit(message));
    draw.fail(QString::fromUtf8(message));
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, SjisText());
}

void TForm1::showDrawState() {
    const DrawScreen screen = draw.screen();
    Label_N->setText(screen.status);
    Label1->setText(screen.number);
    Button1->setText(screen.button);
    Button1->setEnabled(screen.buttonEnabled);
    if (Projector)
        Projector->showDraw(screen);
}

void TForm1::showPool() {
    std::vector<SjisText> lines;
    lines.reserve(draw.pool().size());
    for (const SeatNumber seat : draw.pool())
        lines.push_back(seat.text());
    Memo1->setLines(std::move(lines));
}

void TForm1::Button1Click() {
    if (!draw.spinning())
        kujistart();
    else if (draw.spinShown())
        kujistop();
}

void TForm1::kujistart() {
    record(drawrecord::Kind::Start);
    draw.start();
    showDrawState();
    Timer1->start();
}

void TForm1::Timer1Timer() {
    draw.tick();
    showDrawState();
}

void TForm1::kujistop() {
    // A preparation since the last tick rebuilt the pool, so the number on
    // show may no longer be in it. Such a stop waits for a tick to show a
    // number of the new pool; a spin that an error had halted spins on.
    if (!draw.numberOnShowIsInPool()) {
        if (!Timer1->isActive())
            Timer1->start();
        return;
    }
    Timer1->stop();
    // Whatever happens below, the page shows where the draw stands.
    const auto shown = qScopeGuard([this] { showDrawState(); });

    const SeatNumber seat = draw.shown();
    switch (draw.stop(classRoster, seatLayout, CB_tonari->isChecked())) {
    case Draw::Stop::NotYet:
        return;
    case Draw::Stop::SeatAlreadyHeld:
        draw.showTurn(classRoster);
        return;
    case Draw::Stop::Refused:
        record(drawrecord::Kind::Refusal, seat);
        showMessage(QStringLiteral("隣の人が前回と同じです! やりなおします"));
        Timer1->start();
        return;
    case Draw::Stop::Accepted:
        break;
    }

    const std::int32_t row = draw.turnRow();
    draw.accept(classRoster);
    Modified = true;
    showPool();
    record(drawrecord::Kind::Stop, seat);
    ZasekiYomikomi();

    // The class sees the seat on the chart while the box announces it.
    const Position p = seatLayout.position(seat);
    PaintCell(p.col, p.row, true);
    showDrawState();
    const SjisText announcement = classRoster.cell(roster::nameCol, row) + SjisText::lit("さんの座席は")
                                  + seat.text() + SjisText::lit("番に決まりました。");
    showMessageAt(announcement.toUnicode(), frameGeometry().topLeft() + announcementOffset);
    PaintCell(p.col, p.row, false);

    draw.passTurn(classRoster);
    draw.showTurn(classRoster);
}

void TForm1::guardedTick(const std::function<void()> &tick) {
    guarded(tick, [this] {
        Timer1->stop();
        draw.halt();
        showDrawState();
    });
}

std::int32_t TForm1::Otonari(std::int32_t seat) const {
    return seatLayout.deskMate(SeatNumber(seat)).value();
}

bool TForm1::Otonaricheck(std::int32_t row, std::int32_t drawn) const {
    return neighbour::repeatsDeskMate(seatLayout, classRoster, row, SeatNumber(drawn));
}

void TForm1::record(drawrecord::Kind kind, SeatNumber seat, const SjisText &note) {
    DrawRecord.push_back(drawrecord::event(kind, draw, classRoster, seat, note));
}
