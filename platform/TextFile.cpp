#include "platform/TextFile.h"

namespace textfile {

QString folderOf(const QString &typed) {
#ifdef _WIN32
    const QString path = QString(typed).replace(QLatin1Char('\\'), QLatin1Char('/'));
#else
    const QString &path = typed;
#endif
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return {};
    // The root keeps its separator: "/" here, "C:/" on Windows.
    if (slash == 0 || (slash == 2 && path.at(1) == QLatin1Char(':')))
        return path.left(slash + 1);
    return path.left(slash);
}

} // namespace textfile
