#include "app/Main.h"

#include "guide/GuideWindow.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QKeySequence>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>

// The guide for teachers, opened with F1 or "使い方", and the sample class it
// offers to try everything with.

namespace {

// The sample's files as the program carries them, and the names of the copy.
const char *const sampleRoster = ":/guide/sample/sample-class.csv";
const char *const sampleSettings = ":/guide/sample/sample-class.krb";
const char *const copiedRoster = "見本クラス.csv";
const char *const copiedSettings = "見本クラス.krb";
constexpr int sampleStudents = 32;

QByteArray resourceBytes(const char *name) {
    QFile f(QString::fromUtf8(name));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

void TForm1::createGuideControls() {
    // It stands in the corner of the tab row, beside the class's name
    // (createOpenClassControls), lower than the tabs.
    Button_Guide = new QToolButton(PageControl1);
    Button_Guide->setObjectName(QStringLiteral("Button_Guide"));
    Button_Guide->setText(QStringLiteral("使い方"));
    Button_Guide->setToolTip(QStringLiteral("使い方のガイドを開きます (F1)"));
    Button_Guide->setAutoRaise(true);
    Button_Guide->setFocusPolicy(Qt::NoFocus);
    Button_Guide->setFixedHeight(std::max(PageControl1->tabBar()->sizeHint().height() - 4, 16));

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    help->setContext(Qt::WindowShortcut);
    connect(help, &QShortcut::activated, this, [this] { guarded([this] { showGuide(true); }); });
    connect(Button_Guide, &QToolButton::clicked, this, [this] { guarded([this] { showGuide(false); }); });
}

void TForm1::showGuide(bool atPageSection) {
    if (!Guide) {
        Guide = new GuideWindow(this);
        connect(Guide, &GuideWindow::sampleRequested, this, [this] { guarded([this] { openSampleClass(); }); });
    }
    // F1 explains the page in front of the teacher; the roster page, where
    // everything begins, opens the guide at its start.
    static const char *const sections[] = {"", "draw", "settings"};
    const int page = PageControl1->currentIndex();
    Guide->showSection(atPageSection && page >= 0 && page < 3 ? QString::fromUtf8(sections[page]) : QString());
}

QString TForm1::sampleFolder() {
    return QDir(sys::documentsFolder())
        .filePath(QStringLiteral("Kirabo見本"));
}

void TForm1::openSampleClass() {
    bool goOn = true;
    RosterQuestion(goOn);
    if (!goOn)
        return;
    // A fresh copy each time, in a folder of the teacher's own: the sample
    // is saved, drawn and printed like any class, and its history and
    // conditions go beside it as they would for a real one.
    const QDir folder(sampleFolder());
    QDir().mkpath(folder.path());
    const QString roster = folder.filePath(QString::fromUtf8(copiedRoster));
    const QString settingsCopy = folder.filePath(QString::fromUtf8(copiedSettings));
    textfile::save(roster, resourceBytes(sampleRoster));
    textfile::save(settingsCopy, resourceBytes(sampleSettings));

    // The sample's layout only where the layout in use holds another number
    // of seats; the title, folders and the rule stay the teacher's.
    if (SeatAmount() != sampleStudents) {
        settings::StoredBytes unused;
        settings::load(settingsCopy, seatLayout, unused);
        ZasekiNoNyuryoku();
    }

    PageControl1->setCurrentWidget(TabSheet2);
    const QString openedBefore = OpenDialog1.fileName;
    OpenDialog1.fileName = roster;
    readRosterFile(openedBefore);
    Jyunbi();
    activateWindow();
    raise();
}
