#include "app/Application.h"

#include "widgets/Fonts.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QResource>
#include <QTranslator>

namespace {

// The window's icon: the icon theme's pictures, in the program as plain RGBA
// bytes (resources/icons/window). Every window hands all eight sizes to the
// window manager as it opens, so they are needed at once, and decoding the
// eight PNG files took a twelfth of the start-up.
QIcon windowIcon() {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        // Unpacked straight from the resource: read as a file it would be
        // held twice over at the start-up's peak of memory.
        const QByteArray bytes = QResource(QStringLiteral(":/icon/kirabo-%1.rgba").arg(side)).uncompressedData();
        if (bytes.size() != qsizetype(side) * side * 4)
            continue;
        // The converted image owns its pixels; the bytes go with the loop.
        icon.addPixmap(QPixmap::fromImage(QImage(reinterpret_cast<const uchar *>(bytes.constData()), side, side,
                                                 side * 4, QImage::Format_RGBA8888_Premultiplied)
                                              .convertToFormat(QImage::Format_ARGB32_Premultiplied)));
    }
    return icon;
}

} // namespace

void initApplication(QApplication &app) {
    QApplication::setApplicationName(QStringLiteral("Kirabo"));
    // The icon comes with the program: asking the icon theme for it took a
    // fifth of the start-up, and found nothing where Kirabo is not installed.
    QApplication::setWindowIcon(windowIcon());
    sys::installFontSubstitutes();
    // Without it the default face on Linux is a Latin one, with Japanese
    // taken from whatever face the font configuration offers.
    sys::useFaceAsDefault(QStringLiteral("MS UI Gothic"));
    // Qt's own dialogs speak Japanese whatever the machine's locale is.
    auto *qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
}
