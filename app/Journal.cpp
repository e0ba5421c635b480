#include "app/Main.h"

#include "draw/Random.h"
#include "widgets/Dialogs.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QTabWidget>

#include <algorithm>

// The journal of the draw: written as the draw goes, ended when it ends
// cleanly, and read back at the next start when it did not.

void TForm1::beginJournal() {
    journal::Contents c;
    c.rosterPath = SaveDialog1.fileName;
    try {
        c.fileHash = journal::hashOf(textfile::readAll(c.rosterPath));
    } catch (const InOutError &) {
        // Gone or unreadable: a resume will not write into it.
    }
    c.rosterBytes = classRoster.bytes();
    c.seed = rng::seedValue();
    for (int col = 0; col < layout::columns; ++col)
        for (int row = 0; row < layout::rows; ++row)
            c.layout.push_back(seatLayout.cell(col, row));
    for (int row = 1; row <= classRoster.studentCount(); ++row)
        if (!classRoster.isWithoutSeat(row))
            c.held[row] = classRoster.cell(roster::seatCol, row);
    c.events = DrawRecord;
    c.firstNew = DrawRecord.size();
    try {
        drawJournal.begin(c);
    } catch (const InOutError &) {
        journalFailed();
    }
}

void TForm1::endJournal() {
    drawJournal.end();
}

void TForm1::journalFailed() {
    if (journalFailureSaid)
        return;
    journalFailureSaid = true;
    draw.notice(QStringLiteral("控えのファイルを書けません。決まった座席は名簿を保存するまで残りません"));
    showDrawState();
}

namespace {

// The roster file as the journal's question needs it.
struct RosterNow {
    bool unchanged = false; // the file holds the bytes it held when the journal began
    QByteArray bytes;
};

RosterNow rosterNow(const journal::Contents &c) {
    RosterNow now;
    try {
        now.bytes = textfile::readAll(c.rosterPath);
        now.unchanged = !c.fileHash.isEmpty() && journal::hashOf(now.bytes) == c.fileHash;
    } catch (const InOutError &) {
    }
    return now;
}

} // namespace

bool TForm1::resumeUnfinishedDraw() {
    bool resumed = false;
    guarded([&] { resumed = resumeLeftDraw(); });
    return resumed;
}

bool TForm1::resumeLeftDraw() {
    for (const DrawJournal::Left &left : DrawJournal::leftBehind()) {
        journal::Read read;
        try {
            read = journal::read(textfile::readAll(left.path));
        } catch (const InOutError &) {
            read.reading = journal::Reading::Unreadable;
        }
        if (read.reading == journal::Reading::Empty) {
            DrawJournal::remove(left);
            continue;
        }
        if (read.reading == journal::Reading::Unreadable) {
            const QString aside = DrawJournal::setAside(left);
            messageDlg(QStringLiteral("前回のくじ引きの控え %1 は壊れているため読めません。控えは %2 として残してあります")
                           .arg(left.path, aside.isEmpty() ? left.path : aside),
                       MsgKind::Warning, {MsgButton::Ok});
            continue;
        }
        const journal::Contents &c = read.contents;
        const RosterNow now = rosterNow(c);

        // The roster as the journal gives it: the window's roster then, with
        // every seat decided since.
        Roster restored;
        restored.read(c.rosterBytes);
        const std::map<std::int32_t, SjisText> given = journal::seats(c);
        for (const auto &[row, seat] : given)
            if (row <= restored.studentCount())
                restored.setCell(roster::seatCol, row, seat);
        int decided = 0;
        for (int row = 1; row <= restored.studentCount(); ++row)
            decided += restored.isWithoutSeat(row) ? 0 : 1;

        // Nothing to give back: the file already holds every seat.
        const bool anyStop = std::any_of(c.events.begin() + static_cast<std::ptrdiff_t>(c.firstNew), c.events.end(),
                                         [](const drawrecord::Event &e) { return e.kind == drawrecord::Kind::Stop; });
        if (now.unchanged) {
            Roster onDisk;
            onDisk.read(now.bytes);
            bool differs = onDisk.studentCount() != restored.studentCount();
            for (int row = 1; !differs && row <= restored.studentCount(); ++row)
                differs = onDisk.cell(roster::seatCol, row) != restored.cell(roster::seatCol, row);
            if (!differs) {
                DrawJournal::remove(left);
                continue;
            }
        } else if (!anyStop && given.empty()) {
            DrawJournal::remove(left);
            continue;
        }

        const QString lost = QStringLiteral("前回のくじ引きは保存されないまま終わっています（%1人中%2人の座席が決まっています）。")
                                 .arg(restored.studentCount())
                                 .arg(decided);
        if (!now.unchanged) {
            const MsgButton answer = messageDlg(
                lost
                    + QStringLiteral("名簿ファイル %1 はその後に変わっているか読めないため、座席は名簿に戻しません。"
                                     "くじ引きの記録を開いて CSV ファイルに保存できます。記録を開きますか？")
                          .arg(c.rosterPath.isEmpty() ? QStringLiteral("（保存前の名簿）") : c.rosterPath),
                MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No});
            DrawJournal::setAside(left);
            if (answer == MsgButton::Yes) {
                DrawRecord = c.events;
                ButtonRecordClick();
            }
            continue;
        }
        if (messageDlg(lost + QStringLiteral("決まった座席を名簿に戻して続けますか？"), MsgKind::Confirmation,
                       {MsgButton::Yes, MsgButton::No})
            != MsgButton::Yes) {
            DrawJournal::setAside(left);
            continue;
        }

        bool opened = false;
        guarded([&] {
            const QString openedBefore = OpenDialog1.fileName;
            OpenDialog1.fileName = c.rosterPath;
            readRosterFile(openedBefore);
            opened = OpenDialog1.fileName == c.rosterPath;
        });
        if (!opened) {
            DrawJournal::setAside(left);
            continue;
        }
        // The window's roster as it was, unsaved edits and decided seats, on
        // the layout the seats were given on.
        classRoster.read(restored.bytes());
        if (c.layout.size() == static_cast<size_t>(layout::columns * layout::rows)) {
            for (int col = 0; col < layout::columns; ++col)
                for (int row = 0; row < layout::rows; ++row)
                    seatLayout.setCell(col, row, c.layout[static_cast<size_t>(col * layout::rows + row)]);
            ZasekiNoNyuryoku();
        }
        Modified = true;
        DrawRecord = c.events;
        // This run's journal takes over before the old one goes.
        beginJournal();
        if (drawJournal.isOpen())
            DrawJournal::remove(left);
        else
            DrawJournal::setAside(left);
        ButtonRecordClick();
        PageControl1->setCurrentIndex(1);
        return true;
    }
    return false;
}
