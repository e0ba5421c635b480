#include "platform/System.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QStringList>

#ifdef _WIN32
#include <QDir>
#include <QRandomGenerator>
#include <windows.h>
#else
#include <QFile>
#include <ctime>
#include <unistd.h>
#endif

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

namespace {
QString &dataOverride() {
    static QString path;
    return path;
}
} // namespace

QString userDataFolder() {
    if (!dataOverride().isEmpty())
        return dataOverride();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void setUserDataFolderForTesting(const QString &folder) {
    dataOverride() = folder;
}

namespace {
QString &documentsOverride() {
    static QString path;
    return path;
}
} // namespace

QString documentsFolder() {
    if (!documentsOverride().isEmpty())
        return documentsOverride();
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void setDocumentsFolderForTesting(const QString &folder) {
    documentsOverride() = folder;
}

std::uint32_t clockSeed() {
#ifdef _WIN32
    LARGE_INTEGER counter{};
    if (QueryPerformanceCounter(&counter))
        return static_cast<std::uint32_t>(counter.QuadPart);
    return static_cast<std::uint32_t>(GetTickCount());
#else
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) == 0)
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull
                                          + static_cast<std::uint64_t>(ts.tv_nsec));
    return static_cast<std::uint32_t>(std::clock());
#endif
}

bool hasDisplay() {
#ifdef _WIN32
    return true;
#else
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#endif
}

bool folderIsWritable(const QString &folder) {
#ifdef _WIN32
    // The read-only attribute of a folder says nothing on Windows, and its
    // permissions are not what they seem to a test for them: only creating a
    // file there tells. The file goes when its handle closes.
    const QString probe = QDir(folder).filePath(
        QStringLiteral("~kirabo-%1.tmp").arg(QRandomGenerator::global()->generate(), 0, 36));
    const HANDLE h = CreateFileW(QDir::toNativeSeparators(probe).toStdWString().c_str(), GENERIC_WRITE, 0,
                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
#else
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
#endif
}

bool isInstalledProgramsFolder(const QString &folder) {
#ifdef _WIN32
    const QString inside = QDir::cleanPath(QDir::fromNativeSeparators(folder)) + QLatin1Char('/');
    for (const char *name : {"ProgramW6432", "ProgramFiles", "ProgramFiles(x86)"}) {
        const QString programs = qEnvironmentVariable(name);
        if (!programs.isEmpty()
            && inside.startsWith(QDir::cleanPath(QDir::fromNativeSeparators(programs)) + QLatin1Char('/'),
                                 Qt::CaseInsensitive))
            return true;
    }
    return false;
#else
    Q_UNUSED(folder);
    return false;
#endif
}

} // namespace sys
