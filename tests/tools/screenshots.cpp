// Takes a screenshot of each of the window's three pages on the display it
// runs on (scripts/screenshots.sh starts an Xvfb for it) and writes them as
// PNG files into the folder given as the first argument. A roster file given
// as the second argument is opened on a layout of its size, and the draw page
// shows a draw under way: a third of the class seated, the next one's turn
// and the number spinning.
//
// Given a file name as the third argument, it takes instead one picture of
// the whole screen with the projector view open over that draw: with
// "announce" in the name, at the moment the next stop is announced.

#include "app/Application.h"
#include "app/Main.h"
#include "platform/StringGrid.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "roster/Roster.h"
#include "seats/NoSeatMark.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

static void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

// The back rows of the classroom are no seats until the class fits.
static void fitLayout(TForm1 &form) {
    const int students = form.StringGrid2->gridRowCount() - 1;
    for (int r = layout::rows - 1; r >= 0 && form.SeatAmount() > students; --r)
        for (int c = layout::columns - 1; c >= 0 && form.SeatAmount() > students; --c)
            form.StringGrid_Settei->setCell(c, r, noSeatMark());
    form.ZasekiNoNyuryoku();
}

static void drawAThird(TForm1 &form, const QString &rosterFile) {
    form.classRoster.read(textfile::readAll(rosterFile));
    form.OpenDialog1.fileName = rosterFile;
    fitLayout(form);
    form.Jyunbi();
    // Each announcement is closed as soon as it shows.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->accept();
    });
    closer.start(10);
    for (int i = 0; i < (form.StringGrid2->gridRowCount() - 1) / 3; ++i) {
        form.Button1->click();
        form.Timer1Timer();
        form.Button1->click();
    }
    closer.stop();
    form.Button1->click();
    form.Timer1Timer();
}

static bool saveScreen(const QString &file) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
    if (!shot.save(file)) {
        std::fprintf(stderr, "kirabo_screenshots: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

static int projectorShot(TForm1 &form, const QString &file) {
    form.PageControl1->setCurrentIndex(1);
    form.showProjector();
    settle();
    if (!file.contains(QStringLiteral("announce")))
        return saveScreen(file) ? 0 : 1;
    bool saved = false;
    QTimer grabber;
    QObject::connect(&grabber, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        grabber.stop();
        settle();
        saved = saveScreen(file);
        box->accept();
    });
    grabber.start(50);
    form.Button1->click();
    return saved ? 0 : 1;
}

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fputs("usage: kirabo_screenshots OUTPUT_FOLDER [ROSTER [PROJECTOR_PICTURE]]\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    initApplication(app);
    // A fresh start: no settings file of anyone's.
    QTemporaryDir home;
    sys::setExecutablePathForTesting(home.filePath(QStringLiteral("kirabo")));

    TForm1 form;
    form.move(0, 0);
    form.show();
    settle();
    if (argc > 2)
        drawAThird(form, QString::fromLocal8Bit(argv[2]));
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    if (argc > 3)
        return projectorShot(form, QDir(out).filePath(QString::fromLocal8Bit(argv[3])));
    const char *names[] = {"roster-page.png", "draw-page.png", "settings-page.png"};
    for (int page = 0; page < 3; ++page) {
        form.PageControl1->setCurrentIndex(page);
        settle();
        const QPixmap shot = form.screen()->grabWindow(form.winId());
        if (!shot.save(QDir(out).filePath(QString::fromUtf8(names[page])))) {
            std::fprintf(stderr, "kirabo_screenshots: cannot write %s\n", names[page]);
            return 1;
        }
    }
    return 0;
}
