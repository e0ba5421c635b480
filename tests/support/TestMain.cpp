#include "app/Application.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>
#ifndef _WIN32
#include <unistd.h>
#endif

int main(int argc, char **argv) {
    // Nothing of the machine leaks in: no display, a fixed locale.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
#ifndef _WIN32
    qputenv("XDG_RUNTIME_DIR", QByteArray("/tmp/kirabo-test-runtime-") + QByteArray::number(getuid()));
#endif
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    initApplication(app);
    return RUN_ALL_TESTS();
}
