#include "app/Main.h"

#include "controls/OpenClassLabel.h"
#include "controls/RecentRostersMenu.h"
#include "controls/TabCorner.h"
#include "widgets/Dialogs.h"
#include "roster/ClassName.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QToolButton>

// Which class is open, in sight on every page, and the rosters opened last,
// to open again in one step.

void TForm1::createOpenClassControls() {
    // In the free corner of the tab row, no taller than the tabs: the pages
    // below keep their place and size. The name takes what room the tabs
    // leave and is shortened where that is not enough.
    auto *corner = new TabCorner(PageControl1);
    auto *row = new QHBoxLayout(corner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    Label_Class = new OpenClassLabel(corner);
    row->addWidget(Label_Class, 1);
    row->addWidget(Button_Guide);
    PageControl1->setCornerWidget(corner, Qt::TopRightCorner);

    // The open button keeps its place and size; its arrow holds the list.
    Menu_Recent = new RecentRostersMenu(recentRosters, ToolButton1);
    ToolButton1->setMenu(Menu_Recent);
    ToolButton1->setPopupMode(QToolButton::MenuButtonPopup);
    connect(Menu_Recent, &RecentRostersMenu::chosen, this,
            [this](const QString &path) { guarded([&] { openRecentRoster(path); }); });
}

QString TForm1::className() const {
    return rosterMade ? classname::newClass() : classname::ofRoster(SaveDialog1.fileName);
}

void TForm1::showOpenClass() {
    Label_Class->showClass(rosterMade ? QString() : SaveDialog1.fileName, rosterMade, Modified);
}

void TForm1::openRecentRoster(const QString &path) {
    // A roster moved or deleted since is said so, and leaves the list.
    if (!QFileInfo(path).isFile()) {
        recentRosters.remove(path);
        messageDlg(QStringLiteral("名簿ファイル「%1」が見つかりません。最近開いた名簿から外します")
                       .arg(QDir::toNativeSeparators(path)),
                   MsgKind::Warning, {MsgButton::Ok});
        return;
    }
    // The roster on screen is asked about first, as closing the window does.
    bool goOn = true;
    RosterQuestion(goOn);
    if (!goOn)
        return;
    const QString openedBefore = OpenDialog1.fileName;
    OpenDialog1.fileName = path;
    readRosterFile(openedBefore);
    Jyunbi();
}
