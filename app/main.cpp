#include "app/Application.h"
#include "app/Main.h"

#include <QApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[]) {
    // Without a display Qt would abort with a backtrace; one clear line is kinder.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
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
    return app.exec();
}
