#include "journal/DrawJournal.h"

#include "platform/Errors.h"
#include "platform/System.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <algorithm>
#include <cerrno>

namespace {
const QString suffix = QStringLiteral(".journal");
const QString lockSuffix = QStringLiteral(".lock");
} // namespace

DrawJournal::DrawJournal() = default;

QString DrawJournal::folder() {
    return QDir(sys::userDataFolder()).filePath(QStringLiteral("journal"));
}

DrawJournal::~DrawJournal() = default;

void DrawJournal::begin(const journal::Contents &contents) {
    if (out.isOpen())
        out.close();
    if (file.isEmpty()) {
        const QString folder = DrawJournal::folder();
        if (!QDir().mkpath(folder))
            throw InOutError(syserr::deviceFailed);
        // A name of this program's own: its start and its process.
        const QString name = QStringLiteral("draw-%1-%2")
                                 .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")))
                                 .arg(QCoreApplication::applicationPid());
        const QString candidate = QDir(folder).filePath(name + suffix);
        auto held = std::make_unique<QLockFile>(candidate + lockSuffix);
        held->setStaleLockTime(0);
        if (!held->tryLock(0))
            throw InOutError(held->error() == QLockFile::PermissionError ? EACCES : syserr::deviceFailed);
        file = candidate;
        lock = std::move(held);
    }
    textfile::save(file, journal::beginning(contents));
    out.open(file);
}

void DrawJournal::append(const drawrecord::Event &e) {
    if (!out.isOpen())
        return;
    try {
        out.append(journal::line(e));
    } catch (...) {
        out.close();
        throw;
    }
}

void DrawJournal::end() {
    if (file.isEmpty())
        return;
    try {
        out.close();
    } catch (const InOutError &) {
        // Every line already reached the disk; the file goes anyway.
    }
    QFile::remove(file);
    lock.reset();
    file.clear();
}

std::vector<DrawJournal::Left> DrawJournal::leftBehind() {
    std::vector<Left> found;
    const QFileInfoList files =
        QDir(folder()).entryInfoList({QStringLiteral("*") + suffix}, QDir::Files | QDir::Hidden, QDir::Time);
    for (const QFileInfo &f : files) {
        auto held = std::make_shared<QLockFile>(f.filePath() + lockSuffix);
        // A lock whose program is no longer running is stale at once; one a
        // running program holds is never taken.
        held->setStaleLockTime(0);
        if (held->tryLock(0))
            found.push_back({f.filePath(), held});
    }
    return found;
}

QString DrawJournal::setAside(const Left &left) {
    const QString base = left.path.chopped(suffix.size());
    QString aside = base + QStringLiteral(".kept");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = base + QStringLiteral(".kept%1").arg(n);
    if (!QFile::rename(left.path, aside))
        return {};
    return aside;
}

void DrawJournal::remove(const Left &left) {
    QFile::remove(left.path);
}
