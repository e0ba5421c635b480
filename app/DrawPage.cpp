#include "app/Main.h"

#include "draw/ConditionsInForce.h"
#include "draw/NeighbourRule.h"
#include "projector/Projector.h"
#include "widgets/Dialogs.h"
#include "platform/Errors.h"
#include "widgets/StringGrid.h"
#include "widgets/TextList.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
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
    if (!hasRoster())
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
    QString inForce;
    if (!applyConditions(inForce))
        return;
    showPool();
    SjisText note;
    SjisText::tryFromUnicode(inForce, note);
    record(preparationKind, {}, note);
    // A preparation on purpose begins the journal afresh, as does the first.
    if (preparationKind == drawrecord::Kind::Repreparation || !drawJournal.isOpen())
        beginJournal();

    // Start stays off should the chart fill fail on a layout cell that is no
    // seat number: a stop would write its seat and then fail the same way.
    draw.disableStart();
    ZasekiYomikomi();
    draw.showTurn(classRoster);
}

void TForm1::Button6Click() {
    preparationKind = drawrecord::Kind::Repreparation;
    const auto restore = qScopeGuard([this] { preparationKind = drawrecord::Kind::Preparation; });
    Jyunbi();
}

bool TForm1::applyConditions(QString &inForce) {
    const bool rule = CB_tonari->isChecked();
    const int rounds = SpinBox_Rounds->value();
    // The rounds before the seat change now drawn; a redone one does not count.
    const QDate today = QDate::currentDate();
    const size_t pastRounds =
        classHistory ? classHistory->rounds().size() - (classHistory->redoes(classRoster, today) ? 1 : 0) : 0;
    const bool withHistory = rule && pastRounds > 0;
    // Conditions and the history know students by attendance number: two
    // students sharing one could each be taken for the other.
    const bool byAttendance = (classConditions && !classConditions->isEmpty()) || withHistory;
    if (const SjisText shared = classRoster.sharedAttendance(); byAttendance && !shared.isEmpty()) {
        draw.clearPool();
        showDrawFailure(QStringLiteral("出席番号%1が重複しています！").arg(shared.toUnicode()));
        return false;
    }
    DrawConditions wanted;
    if (classConditions)
        conditionsinforce::addConditions(wanted, classRoster, *classConditions);
    // Without conditions, and with the rule over one round at most, the
    // draw is the plain one: the rule refuses at the stop.
    if (wanted.isEmpty() && !(withHistory && rounds > 1)) {
        if (withHistory) {
            draw.setFormerMates(conditionsinforce::matesByRow(classRoster, classHistory->deskMates(1, classRoster, today)));
            inForce = QStringLiteral("前に隣同士: 過去1回");
        }
        return true;
    }
    auto withMates = [&](DrawConditions c, int lastRounds) {
        if (withHistory)
            conditionsinforce::addFormerMates(c, classRoster, classHistory->deskMates(lastRounds, classRoster, today));
        else if (rule)
            conditionsinforce::addRosterOrderMates(c, classRoster, seatLayout);
        return c;
    };
    DrawConditions c = withMates(wanted, rounds);
    const conditionsinforce::Finding found = conditionsinforce::examine(classRoster, seatLayout, SeatAmount(), c);
    if (found.verdict == SeatingPlan::Verdict::Possible) {
        draw.keep(c, seatLayout, SeatAmount());
        inForce = conditionsinforce::describe(classRoster, c, rounds);
        return true;
    }
    // Where the rounds of history alone stand in the way, fewer may do.
    if (found.historyIsTheCause && withHistory)
        for (int fewer = rounds - 1; fewer >= 1; --fewer) {
            const DrawConditions less = withMates(wanted, fewer);
            if (conditionsinforce::examine(classRoster, seatLayout, SeatAmount(), less).verdict
                != SeatingPlan::Verdict::Possible)
                continue;
            if (messageDlg(QStringLiteral("過去%1回の席替えで隣同士だった人を離す座り方がありません。"
                                          "過去%2回までにしますか？")
                               .arg(rounds)
                               .arg(fewer),
                           MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No})
                == MsgButton::Yes) {
                SpinBox_Rounds->setValue(fewer);
                return applyConditions(inForce);
            }
            break;
        }
    draw.clearPool();
    showDrawFailure(found.conflict + QStringLiteral("！"));
    return false;
}

void TForm1::showDrawFailure(const char *message) {
    showDrawFailure(QString::fromUtf8(message));
}

void TForm1::showDrawFailure(const QString &message) {
    SjisText note;
    SjisText::tryFromUnicode(message, note);
    // Failed first: the record shows a refused preparation without a pool.
    draw.fail(message);
    record(preparationKind, {}, note);
    for (int c = 0; c < layout::columns; ++c)
        for (int r = 0; r < layout::rows; ++r)
            StringGrid1->setCell(c, r, SjisText());
}

void TForm1::showDrawState() {
    const DrawScreen screen = draw.screen();
    if (Label_N->text() != screen.status) {
        // A long line (a conflict of conditions) gets a smaller face so that
        // it shows whole.
        QFont f = Label_N->font();
        f.setPixelSize(27);
        while (f.pixelSize() > 12 && QFontMetrics(f).horizontalAdvance(screen.status) > Label_N->width())
            f.setPixelSize(f.pixelSize() - 1);
        Label_N->setFont(f);
        Label_N->setText(screen.status);
    }
    Label_Seed->setText(screen.fingerprint);
    Label_NoRoster->setVisible(!hasRoster());
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
    // A word in the status line stands until the next start.
    draw.notice({});
    record(drawrecord::Kind::Start);
    draw.start();
    showDrawState();
    Timer1->start();
}

void TForm1::Timer1Timer() {
    draw.tick(classRoster);
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
        // The roster changed since the tick and the seat on show no longer
        // keeps the conditions: the spin goes on.
        Timer1->start();
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
    // Read out as two phrases: a line too short for both breaks between them.
    const SjisText who = classRoster.cell(roster::nameCol, row) + SjisText::lit("さんの座席は");
    const SjisText where = seat.text() + SjisText::lit("番に決まりました。");
    showMessageAt(QStringList{who.toUnicode(), where.toUnicode()}, frameGeometry().topLeft() + announcementOffset);
    PaintCell(p.col, p.row, false);

    draw.passTurn(classRoster);
    draw.showTurn(classRoster);
    // A finished seat change goes into the class history, written with the
    // roster when the roster is saved.
    if (classHistory && (draw.pool().empty() || !classRoster.isWithoutSeat(draw.turnRow()))) {
        unsavedHistory = *classHistory;
        unsavedHistory->record(classRoster, seatLayout, QDate::currentDate());
    }
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
    DrawRecord.push_back(drawrecord::event(kind, draw, classRoster, className(), seat, note));
    try {
        drawJournal.append(DrawRecord.back());
    } catch (const InOutError &) {
        journalFailed();
    }
}
