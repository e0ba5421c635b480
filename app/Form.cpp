#include "app/Main.h"

#include "draw/Random.h"
#include "widgets/Dialogs.h"
#include "platform/System.h"
#include "settings/SettingsPath.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QTabWidget>

void TForm1::FormCreate() {
    rng::seed(sys::clockSeed());

    classRoster.writeHeader();

    {
        // The program's own change of page is no page change.
        const QSignalBlocker quiet(PageControl1);
        PageControl1->setCurrentWidget(TabSheet2);
    }

    settingsPath = startupSettingsFile(sys::executablePath());
    LoadSetting(settingsPath);
    ZasekiNoNyuryoku();
    recentRosters.load(settingsPath);
}

void TForm1::FormCloseQuery(bool &canClose) {
    RosterQuestion(canClose);
    SaveSetting(settingsPath);
    // The start-up file alone keeps them: a named settings file is the
    // layout's and the title's, not the machine's.
    recentRosters.save(settingsPath);
    // Saved or let go on purpose: nothing of this draw is asked about again.
    if (canClose)
        endJournal();
}

void TForm1::PageControl1Change() {
    if (PageControl1->currentIndex() == 1)
        Jyunbi();
}

void TForm1::warnNotShiftJis(const QString &character) {
    messageDlg(QStringLiteral("「%1」(U+%2) はシフトJISで表せない文字のため入力できません")
                   .arg(character, codePointText(character)),
               MsgKind::Warning, {MsgButton::Ok});
}

void TForm1::openFromCommandLine(const QStringList &arguments) {
    // The first argument after the program's own name, where there is one.
    if (arguments.size() < 2)
        return;
    const QString file = arguments.at(1);
    guarded([&] {
        if (file.endsWith(QStringLiteral(".krb"), Qt::CaseInsensitive)) {
            openSettingsFile(file);
            return;
        }
        const QString openedBefore = OpenDialog1.fileName;
        OpenDialog1.fileName = QFileInfo(file).absoluteFilePath();
        readRosterFile(openedBefore);
        Jyunbi();
    });
}
