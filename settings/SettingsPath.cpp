#include "settings/SettingsPath.h"

#include "platform/System.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString startupSettingsFile(const QString &executablePath) {
    const QFileInfo exe(executablePath);
    QString name = exe.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    name += QStringLiteral(".ini");
    const QString folder = exe.absolutePath();
    if (sys::folderIsWritable(folder) && !sys::isInstalledProgramsFolder(folder))
        return QDir(folder).filePath(name);
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(config);
    return QDir(config).filePath(name);
}
