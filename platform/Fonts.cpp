#include "platform/Fonts.h"

#include <QFont>
#include <QStringList>

namespace sys {

void installFontSubstitutes() {
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                             QStringLiteral("Noto Sans CJK JP")};
    const QStringList pgothic{QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                              QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), pgothic);
    QFont::insertSubstitutions(QStringLiteral("MSゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
}

} // namespace sys
