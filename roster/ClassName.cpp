#include "roster/ClassName.h"

#include <QFileInfo>
#include <QStringList>

namespace classname {

QString ofRoster(const QString &rosterPath) {
    return rosterPath.isEmpty() ? QString() : QFileInfo(rosterPath).completeBaseName();
}

QString newClass() {
    return QStringLiteral("新しい名簿");
}

QString forFileName(const QString &text) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text)
        out += ch.unicode() < 0x20 || forbidden.contains(ch) ? QLatin1Char('_') : ch;
    qsizetype begin = 0;
    qsizetype end = out.size();
    auto trimmedAway = [](QChar ch) { return ch == QLatin1Char(' ') || ch == QLatin1Char('.') || ch == u'\u3000'; };
    while (begin < end && trimmedAway(out[begin]))
        ++begin;
    while (end > begin && trimmedAway(out[end - 1]))
        --end;
    out = out.mid(begin, end - begin);

    static const QStringList devices = [] {
        QStringList d{QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
        for (int n = 1; n <= 9; ++n)
            d << QStringLiteral("COM%1").arg(n) << QStringLiteral("LPT%1").arg(n);
        return d;
    }();
    if (devices.contains(out, Qt::CaseInsensitive))
        out += QLatin1Char('_');
    return out;
}

QString chartPdf(const QString &className, const QString &title) {
    QStringList parts;
    // A title that names the class already says it once.
    const bool named = !className.isEmpty() && title.contains(className);
    for (const QString &part : {named ? QString() : className, title})
        if (const QString fit = forFileName(part); !fit.isEmpty())
            parts << fit;
    if (parts.isEmpty())
        parts << QStringLiteral("座席表");
    return parts.join(QLatin1Char('_')) + QStringLiteral(".pdf");
}

} // namespace classname
