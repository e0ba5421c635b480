#include "widgets/Fonts.h"

#include <QFont>
#include <QGuiApplication>
#include <QStringList>

#include <algorithm>

#ifndef _WIN32
#include <QFontDatabase>
#include <qpa/qplatformfontdatabase.h>
#endif

namespace sys {

namespace {

struct FaceStandIns {
    const char16_t *windowsName;
    QStringList japanese; // in order of preference
};

} // namespace

void installFontSubstitutes() {
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                             QStringLiteral("Noto Sans CJK JP")};
    const QStringList pgothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                              QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")};
    const FaceStandIns faces[] = {{u"MS UI Gothic", pgothic}, {u"ＭＳ Ｐゴシック", pgothic},
                                  {u"MS PGothic", pgothic},   {u"MSゴシック", gothic},
                                  {u"ＭＳ ゴシック", gothic},    {u"MS Gothic", gothic}};
#ifndef _WIN32
    // Where a Windows face is missing, its name becomes another name of the
    // first Japanese face installed, as a face's names in other languages
    // are, and a face asked for by its Windows name is found at once. A
    // substitute instead would have the font configuration list stand-ins
    // for each face and script the window writes: a tenth of the start-up.
    const QStringList installed = QFontDatabase::families();
    auto has = [&installed](const QString &family) { return installed.contains(family, Qt::CaseInsensitive); };
    for (const FaceStandIns &f : faces) {
        const QString windowsName = QString::fromUtf16(f.windowsName);
        if (has(windowsName))
            continue;
        const auto it = std::find_if(f.japanese.begin(), f.japanese.end(), has);
        if (it != f.japanese.end())
            QPlatformFontDatabase::registerAliasToFontFamily(*it, windowsName);
        else
            QFont::insertSubstitutions(windowsName, f.japanese);
    }
#else
    // Windows has the faces; the substitutes serve where it has not (Wine).
    for (const FaceStandIns &f : faces)
        QFont::insertSubstitutions(QString::fromUtf16(f.windowsName), f.japanese);
#endif
}

void useFaceAsDefault([[maybe_unused]] const QString &windowsName) {
#ifndef _WIN32
    QFont font = QGuiApplication::font();
    font.setFamilies({windowsName});
    QGuiApplication::setFont(font);
#endif
}

} // namespace sys
