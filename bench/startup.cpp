// One start of the program, or of a bare Qt window, on a real X server:
//
//   kirabo_startup window|bare
//
// prints "paint_ms=<ms> peak_kb=<kB>": the time from the moment in the
// environment variable KIRABO_T0_NS (CLOCK_MONOTONIC, taken by whoever started
// this process just before starting it) to the end of the window's first paint,
// and the peak resident memory 1.5 s after that moment (or at the end of the
// first paint, where that comes later). "window" starts as
// app/main.cpp does; "bare" shows a window of the same size with one line of
// Japanese in the IPA face, the least a Qt program of this kind can do.
// scripts/bench.sh runs both in turn and compares them.

#include "app/Application.h"
#include "app/Main.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

namespace {

qint64 nowNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

long peakResidentKb() {
    FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kb = std::strtol(line + 6, nullptr, 10);
    std::fclose(status);
    return kb;
}

// Notes the end of the first paint of the watched window: the paint event
// has been handled, and the event loop gets back to the posted timer only
// after the backing store went to the X server.
class FirstPaint : public QObject {
public:
    qint64 doneNs = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && doneNs == 0) {
            doneNs = -1;
            QTimer::singleShot(0, this, [this] { doneNs = nowNs(); });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char **argv) {
    const char *t0Text = std::getenv("KIRABO_T0_NS");
    const qint64 t0 = t0Text ? std::strtoll(t0Text, nullptr, 10) : nowNs();
    if (argc != 2 || (std::strcmp(argv[1], "window") != 0 && std::strcmp(argv[1], "bare") != 0)) {
        std::fputs("usage: kirabo_startup window|bare\n", stderr);
        return 2;
    }
    if (t0 > nowNs()) {
        std::fputs("kirabo_startup: KIRABO_T0_NS lies in the future; it must be read from CLOCK_MONOTONIC\n", stderr);
        return 2;
    }
    const bool bare = std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    std::unique_ptr<QWidget> window;
    if (bare) {
        auto *label = new QLabel(QStringLiteral("席替えのくじ引きをします"));
        QFont font(QStringLiteral("IPAGothic"));
        font.setPixelSize(12);
        label->setFont(font);
        label->resize(578, 566);
        window.reset(label);
    } else {
        initApplication(app);
        window = std::make_unique<TForm1>();
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect r = window->frameGeometry();
            r.moveCenter(screen->availableGeometry().center());
            window->move(r.topLeft());
        }
    }
    window->installEventFilter(&firstPaint);
    window->show();
    const qint64 sinceT0 = (nowNs() - t0) / 1'000'000;
    // The report comes 1.5 s after the start, or as soon as the window has
    // been painted where that takes longer: under valgrind a start takes
    // seconds, and its count of instructions has to hold the whole of it.
    QTimer report;
    report.setSingleShot(true);
    QObject::connect(&report, &QTimer::timeout, &app, [&] {
        if (firstPaint.doneNs <= 0) {
            if ((nowNs() - t0) / 1'000'000 > 60'000) {
                std::fputs("kirabo_startup: the window was not painted within a minute\n", stderr);
                QApplication::exit(1);
                return;
            }
            report.start(10);
            return;
        }
        std::printf("paint_ms=%.3f peak_kb=%ld\n", static_cast<double>(firstPaint.doneNs - t0) / 1e6,
                    peakResidentKb());
        QApplication::exit(0);
    });
    report.start(static_cast<int>(std::max<qint64>(0, 1500 - sinceT0)));
    return app.exec();
}
