#include "app/Main.h"

#include "widgets/Dialogs.h"
#include "widgets/Notice.h"
#include "platform/TextFile.h"
#include "roster/Utf8Roster.h"

#include <QFileInfo>

// The roster page: the roster file, edits, the seat check and the two
// orderings.

void TForm1::ToolButton1Click() {
    const QString openedBefore = OpenDialog1.fileName;
    if (OpenDialog1.execute())
        readRosterFile(openedBefore);
    Jyunbi();
}

void TForm1::readRosterFile(const QString &openedBefore) {
    const QString rosterBefore = SaveDialog1.fileName;
    // The roster file name changes before the file is opened: a failed
    // open still leaves it pointing at the chosen file.
    SaveDialog1.fileName = OpenDialog1.fileName;
    // The whole file is read before the roster changes, so a read that
    // fails half-way leaves no half roster behind to be saved over it.
    QByteArray content = textfile::readAll(OpenDialog1.fileName);
    bool converted = false;
    if (!takeUtf8Roster(content, converted)) {
        // A UTF-8 roster that Shift-JIS cannot hold is not opened at all.
        OpenDialog1.fileName = openedBefore;
        SaveDialog1.fileName = rosterBefore;
        return;
    }
    classRoster.read(content);
    // Another roster: the draw of the one before has ended.
    endJournal();
    draw.newClass();
    rosterMade = false;
    loadClassFiles(OpenDialog1.fileName);
    // Converted, the roster is saved as Shift-JIS only when the teacher says so.
    if (converted)
        Modified = true;
    OpenDialog1.setInitialDir(textfile::folderOf(OpenDialog1.fileName));
    recentRosters.add(OpenDialog1.fileName);
}

bool TForm1::takeUtf8Roster(QByteArray &content, bool &converted) {
    converted = false;
    if (!utf8roster::looksLikeUtf8(content))
        return true;
    const MsgButton answer =
        messageDlg(QStringLiteral("この名簿は UTF-8 で書かれているようです。シフトJIS に変換して読み込みますか？"),
                   MsgKind::Confirmation, {MsgButton::Yes, MsgButton::No});
    if (answer != MsgButton::Yes)
        return true;
    QByteArray sjis;
    QString bad;
    if (!utf8roster::toShiftJis(content, sjis, bad)) {
        messageDlg(QStringLiteral("「%1」(U+%2) はシフトJISで表せない文字のため、この名簿は読み込めません")
                       .arg(bad, codePointText(bad)),
                   MsgKind::Warning, {MsgButton::Ok});
        return false;
    }
    content = sjis;
    converted = true;
    return true;
}

void TForm1::ToolButton3Click() {
    if (SaveDialog1.execute())
        SaveMeibo();
}

void TForm1::ToolButton2Click() {
    SaveMeibo();
}

void TForm1::SaveMeibo() {
    if (SaveDialog1.fileName.isEmpty() && !SaveDialog1.execute())
        return;
    textfile::save(SaveDialog1.fileName, classRoster.bytes());
    OpenDialog1.setInitialDir(textfile::folderOf(SaveDialog1.fileName));
    Modified = false;
    recentRosters.add(SaveDialog1.fileName);
    // A roster made in the program is from now on the file it was saved as.
    if (rosterMade) {
        OpenDialog1.fileName = SaveDialog1.fileName;
        rosterMade = false;
    }
    saveClassHistory();
    // The file now holds every seat decided: a finished draw's journal has
    // done its work, an unfinished one goes on from the file as saved.
    if (drawJournal.isOpen()) {
        bool finished = true;
        for (int row = 1; finished && row <= classRoster.studentCount(); ++row)
            finished = !classRoster.isWithoutSeat(row);
        if (finished)
            endJournal();
        else
            beginJournal();
    }
    showNotice(this, QStringLiteral("「%1」に保存しました").arg(QFileInfo(SaveDialog1.fileName).fileName()));
}

void TForm1::StringGrid2SetEditText(int, int, const SjisText &) {
    Modified = true;
}

void TForm1::RosterQuestion(bool &canClose) {
    if (!Modified)
        return;
    const MsgButton answer = messageDlg(QStringLiteral("ファイルを保存しますか"), MsgKind::Confirmation,
                                        {MsgButton::Yes, MsgButton::No, MsgButton::Cancel});
    // A save that fails ends the close here: the window stays open.
    if (answer == MsgButton::Yes)
        SaveMeibo();
    else if (answer == MsgButton::Cancel)
        canClose = false;
}

bool TForm1::ErrorCheck() {
    const std::optional<SjisText> fault = classRoster.seatFault(SeatAmount());
    if (!fault)
        return false;
    messageDlg(fault->toUnicode(), MsgKind::Error, {MsgButton::Ok});
    return true;
}

void TForm1::ToolButton6Click() {
    classRoster.sortByOrder();
}

void TForm1::ToolButton4Click() {
    if (ErrorCheck())
        return;
    classRoster.seatsToOrder();
}
