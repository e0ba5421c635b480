#include "app/Application.h"
#include "app/Main.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[]) {
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
