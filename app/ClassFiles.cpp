#include "app/Main.h"

#include "dialogs/ConditionsDialog.h"
#include "dialogs/HistoryView.h"
#include "widgets/Dialogs.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QFileInfo>

// The class's files beside the roster: the seat conditions and the history
// of its seat changes, read when the roster opens and written when they
// change (the history with the roster).

namespace {

// A file's bytes; nothing where it is not there. Other failures are raised.
std::optional<QByteArray> readIfThere(const QString &path) {
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return textfile::readAll(path);
}

// How many of the students the conditions name the roster holds under the
// same attendance number and name. A pair with one student renamed still
// belongs to the class: it waits for the teacher to confirm the new name.
int studentsKnown(const SeatConditions &conditions, const Roster &roster) {
    int known = 0;
    for (const SeatConditions::Front &f : conditions.front)
        known += SeatConditions::rowOf(roster, f.attendance, f.name) != 0;
    for (const SeatConditions::Apart &a : conditions.apart)
        known += (SeatConditions::rowOf(roster, a.attendance, a.name) != 0)
                 + (SeatConditions::rowOf(roster, a.otherAttendance, a.otherName) != 0);
    return known;
}

// How many students of the history's last round the roster holds under the
// same attendance number and name.
int studentsKnown(const ClassHistory &history, const Roster &roster) {
    if (history.isEmpty())
        return 0;
    int known = 0;
    for (const ClassHistory::Seat &s : history.rounds().back().seats)
        known += SeatConditions::rowOf(roster, s.attendance, s.name) != 0;
    return known;
}

// Reads one of the class's files; an empty one where the file is not there.
// Answers nothing, and adds the line that says why to problems, for a file
// that cannot be used: unreadable, not such a file, or another class's.
template <typename File>
std::optional<File> readClassFile(const QString &path, const Roster &roster, const QString &caption,
                                  const QString &foreign, QStringList &problems) {
    QString problem;
    std::optional<File> file;
    try {
        if (const auto bytes = readIfThere(path)) {
            file = File::parse(*bytes, problem);
            if (file && !file->isEmpty() && studentsKnown(*file, roster) == 0) {
                file.reset();
                problem = foreign;
            }
        } else {
            file.emplace();
        }
    } catch (const KiraboError &e) {
        problem = e.message();
    }
    if (!file)
        problems << QStringLiteral("%1 %2: %3").arg(caption, QFileInfo(path).fileName(), problem);
    return file;
}

} // namespace

void TForm1::loadClassFiles(const QString &rosterPath) {
    unsavedHistory.reset();
    QStringList problems;
    classConditions = readClassFile<SeatConditions>(
        SeatConditions::pathFor(rosterPath), classRoster, QStringLiteral("座席の条件"),
        QStringLiteral("この名簿の生徒と合わない条件です（別のクラスのものかもしれません）"), problems);
    classHistory = readClassFile<ClassHistory>(
        ClassHistory::pathFor(rosterPath), classRoster, QStringLiteral("席替えの履歴"),
        QStringLiteral("この名簿の生徒がいない履歴です（別のクラスのものかもしれません）"), problems);
    conditionsUnusable = !classConditions;
    historyUnusable = !classHistory;

    if (!problems.isEmpty())
        messageDlg(problems.join(QLatin1Char('\n'))
                       + QStringLiteral("\nこのファイルは使わずに続けます。ファイルは書き換えません。"),
                   MsgKind::Warning, {MsgButton::Ok});
}

void TForm1::saveClassHistory() {
    if (!unsavedHistory || SaveDialog1.fileName.isEmpty())
        return;
    textfile::save(ClassHistory::pathFor(SaveDialog1.fileName), unsavedHistory->bytes());
    classHistory = std::move(unsavedHistory);
    unsavedHistory.reset();
}

void TForm1::ButtonConditionsClick() {
    if (OpenDialog1.fileName.isEmpty()) {
        // A class made in the program keeps its conditions beside its file
        // once it has one.
        messageDlg(rosterMade ? QStringLiteral("座席の条件は名簿ごとに決めます。先に名簿を保存してください")
                              : QStringLiteral("座席の条件は名簿ごとに決めます。先に名簿ファイルを開いてください"),
                   MsgKind::Information, {MsgButton::Ok});
        return;
    }
    if (conditionsUnusable) {
        messageDlg(QStringLiteral("座席の条件のファイルが読めないため、条件を変えられません。ファイルを直すか取り除いてから名簿を開き直してください"),
                   MsgKind::Warning, {MsgButton::Ok});
        return;
    }
    ConditionsDialog dialog(this, classRoster, classConditions ? *classConditions : SeatConditions{});
    if (runModal(dialog) != QDialog::Accepted)
        return;
    const SeatConditions edited = dialog.result();
    textfile::save(SeatConditions::pathFor(SaveDialog1.fileName.isEmpty() ? OpenDialog1.fileName
                                                                          : SaveDialog1.fileName),
                   edited.bytes());
    classConditions = edited;
}

void TForm1::ButtonHistoryClick() {
    if (!classHistory || classHistory->isEmpty()) {
        messageDlg(historyUnusable ? QStringLiteral("席替えの履歴のファイルが読めないため、表示できません")
                                   : QStringLiteral("席替えの履歴はまだありません"),
                   MsgKind::Information, {MsgButton::Ok});
        return;
    }
    // A round deleted goes from the file at once, and from the round a
    // finished draw waits to save with the roster; that round itself is
    // written only with the roster.
    HistoryView view(this, *classHistory, [this](int number) {
        textfile::save(ClassHistory::pathFor(SaveDialog1.fileName), classHistory->bytes());
        if (unsavedHistory)
            unsavedHistory->removeRound(number);
    });
    runModal(view);
}
