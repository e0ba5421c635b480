#include "settings/RecentRosters.h"

#include "platform/IniProfile.h"
#include "platform/SjisText.h"

#include <QDir>

namespace {

const SjisText &section() {
    static const SjisText s = SjisText::lit("最近の名簿");
    return s;
}

SjisText key(int n) {
    return SjisText(QByteArray::number(n));
}

// Windows does not tell file names apart by letter case.
bool samePath(const QString &a, const QString &b) {
#ifdef _WIN32
    constexpr Qt::CaseSensitivity cs = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity cs = Qt::CaseSensitive;
#endif
    return QDir::cleanPath(a).compare(QDir::cleanPath(b), cs) == 0;
}

} // namespace

void RecentRosters::add(const QString &path) {
    // A line break in a name would end the settings file's line.
    SjisText stored;
    if (path.isEmpty() || path.contains(QLatin1Char('\n')) || path.contains(QLatin1Char('\r'))
        || !SjisText::tryFromUnicode(path, stored))
        return;
    remove(path);
    list.prepend(path);
    while (list.size() > most)
        list.removeLast();
}

void RecentRosters::remove(const QString &path) {
    list.removeIf([&path](const QString &p) { return samePath(p, path); });
}

void RecentRosters::load(const QString &iniPath) {
    list.clear();
    const IniProfile ini(iniPath);
    for (int n = most; n >= 1; --n) {
        const QString path = ini.readString(section(), key(n), SjisText()).toUnicode();
        if (!path.isEmpty())
            add(path);
    }
}

void RecentRosters::save(const QString &iniPath) const {
    IniProfile ini(iniPath);
    if (list.isEmpty() && !ini.hasSection(section()))
        return;
    ini.removeSection(section());
    int n = 0;
    for (const QString &path : list) {
        SjisText stored;
        SjisText::tryFromUnicode(path, stored);
        ini.writeString(section(), key(++n), stored);
    }
    ini.flush();
}
