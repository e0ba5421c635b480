#include "app/Application.h"

#include "platform/Fonts.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void initApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Kirabo"));
    // The icon comes with the program, read only when the window shows it:
    // asking the icon theme for it took a fifth of the start-up, and found
    // nothing where Kirabo is not installed.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icon/%1x%1/apps/kirabo.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    sys::installFontSubstitutes();
    // Qt's own dialogs speak Japanese whatever the machine's locale is.
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
}
