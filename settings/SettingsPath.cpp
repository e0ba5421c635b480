#include "settings/SettingsPath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

QString startupSettingsFile(const QString &executablePath) {
    const QFileInfo exe(executablePath);
    QString name = exe.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    name += QStringLiteral(".ini");
    const QString folder = exe.absolutePath();
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return QDir(folder).filePath(name);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return QDir(config).filePath(name);
}
