#include "app/Application.h"

#include "platform/Fonts.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

void initApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Kirabo"));
    // The icon comes with the program: asking the icon theme for it took a
    // fifth of the start-up, and found nothing where Kirabo is not installed.
    // Its sizes are the theme's pictures as plain RGBA bytes, since the
    // window hands every size to the window manager as it opens, and
    // decoding the eight PNG files took a twelfth of the start-up.
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QFile file(QStringLiteral(":/icon/kirabo-%1.rgba").arg(size));
        const QByteArray pixels = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        if (pixels.size() != qsizetype(size) * size * 4)
            continue;
        const QImage bytes(reinterpret_cast<const uchar *>(pixels.constData()), size, size, size * 4,
                           QImage::Format_RGBA8888_Premultiplied);
        // The converted image owns its pixels; the bytes read go with the loop.
        icon.addPixmap(QPixmap::fromImage(bytes.convertToFormat(QImage::Format_ARGB32_Premultiplied)));
    }
    QApplication::setWindowIcon(icon);
    sys::installFontSubstitutes();
    // Qt's own dialogs speak Japanese whatever the machine's locale is.
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
}
