#include "platform/System.h"

#include <QCoreApplication>
#include <QFont>
#include <QStringList>

#include <ctime>

namespace sys {

namespace {
QString &exeOverride() {
    static QString path;
    return path;
}
} // namespace

QString executablePath() {
    if (!exeOverride().isEmpty())
        return exeOverride();
    return QCoreApplication::applicationFilePath();
}

void setExecutablePathForTesting(const QString &path) {
    exeOverride() = path;
}

std::uint32_t clockSeed() {
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) == 0)
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull
                                          + static_cast<std::uint64_t>(ts.tv_nsec));
    return static_cast<std::uint32_t>(std::clock());
}

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
