// Takes a screenshot of each of the window's three pages on the display it
// runs on (scripts/screenshots.sh starts an Xvfb for it) and writes them as
// PNG files into the folder given as the first argument. A roster file given
// as the second argument is shown on the roster page.

#include "app/Application.h"
#include "app/Main.h"
#include "platform/System.h"
#include "platform/TextFile.h"
#include "roster/RosterGrid.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

static void settle() {
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QThread::msleep(20);
    }
}

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fputs("usage: kirabo_screenshots OUTPUT_FOLDER\n", stderr);
        return 2;
    }
    QApplication app(argc, argv);
    initApplication(app);
    // A fresh start: no settings file of anyone's.
    QTemporaryDir home;
    sys::setExecutablePathForTesting(home.filePath(QStringLiteral("kirabo")));

    TForm1 form;
    if (argc > 2)
        roster::fillGrid(*form.StringGrid2, textfile::readAll(QString::fromLocal8Bit(argv[2])));
    form.move(0, 0);
    form.show();
    settle();
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
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
