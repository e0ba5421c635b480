#include "app/Main.h"

#include "draw/Random.h"
#include "platform/StringGrid.h"
#include "platform/System.h"
#include "roster/Columns.h"
#include "settings/SettingsPath.h"

#include <QSignalBlocker>
#include <QTabWidget>

void TForm1::FormCreate() {
    rng::seed(sys::clockSeed());

    const char *header[] = {"くじ順", "出席番号", "氏名", "ふりがな", "座席番号"};
    for (int c = 0; c < roster::columns; ++c)
        StringGrid2->setCell(c, 0, SjisText::lit(header[c]));

    {
        // The program's own change of page is no page change.
        const QSignalBlocker quiet(PageControl1);
        PageControl1->setCurrentWidget(TabSheet2);
    }

    settingsPath = startupSettingsFile(sys::executablePath());
    LoadSetting(settingsPath);
    ZasekiNoNyuryoku();
}

void TForm1::FormCloseQuery(bool &canClose) {
    RosterQuestion(canClose);
    SaveSetting(settingsPath);
}

void TForm1::PageControl1Change() {
    if (PageControl1->currentIndex() == 1)
        Jyunbi();
}
