#include "app/Application.h"
#include "app/Main.h"
#include "platform/System.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[]) {
    // Without a display Qt would abort with a backtrace; one clear line is kinder.
    if (!sys::hasDisplay()) {
        std::fputs("kirabo: no graphical display found (DISPLAY is not set); start it from a desktop session.\n",
                   stderr);
        return 1;
    }
    QApplication app(argc, argv);
    initApplication(app);
    TForm1 form;
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect r = form.frameGeometry();
        r.moveCenter(screen->availableGeometry().center());
        form.move(r.topLeft());
    }
    form.show();
    // A draw an earlier run left unsaved comes first; the teacher may take it up.
    if (!form.resumeUnfinishedDraw())
        form.openFromCommandLine(QApplication::arguments());
    return app.exec();
}
