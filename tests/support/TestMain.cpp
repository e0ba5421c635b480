#include "app/Application.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>
#ifndef _WIN32
#include <unistd.h>
#endif

int main(int argc, char **argv) {
    // Nothing of the machine leaks in: no display, a fixed locale. A suite
    // may name screens of its own, in the offscreen platform's configuration.
    const QByteArray screens = qgetenv("KIRABO_TEST_SCREENS");
    qputenv("QT_QPA_PLATFORM", screens.isEmpty() ? QByteArray("offscreen") : "offscreen:configfile=" + screens);
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
#ifdef _WIN32
    // The offscreen platform reads its fonts from one folder: the system's,
    // unless the run names another in KIRABO_TEST_FONTDIR (under Wine, the
    // IPA faces' folder; Wine passes no QT_ variable on).
    const QByteArray fonts = qgetenv("KIRABO_TEST_FONTDIR");
    qputenv("QT_QPA_FONTDIR", fonts.isEmpty() ? qgetenv("WINDIR") + "\\Fonts" : fonts);
#else
    qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp/kirabo-test-runtime-") + QByteArray::number(getuid()));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    initApplication(app);
    return RUN_ALL_TESTS();
}
