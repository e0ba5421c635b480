#include "app/Application.h"

#include "platform/System.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void initApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Kirabo"));
    // The installed icon theme's picture; where Kirabo is not installed there is none.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kirabo")));
    sys::installFontSubstitutes();
    // Qt's own dialogs speak Japanese whatever the machine's locale is.
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
}
