#include "platform/TextFile.h"

#include "platform/Errors.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace textfile {

namespace {

[[noreturn]] void fail(int code) {
    throw InOutError(code);
}

// Closes a descriptor when it goes out of scope, unless released.
class Fd {
public:
    explicit Fd(int fd) : fd(fd) {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
    int get() const { return fd; }
    int release() { return std::exchange(fd, -1); }
    // Closes now and reports the error close gives.
    void close() {
        const int f = fd;
        fd = -1;
        if (::close(f) != 0 && errno != EINTR)
            fail(errno);
    }

private:
    int fd;
};

// Removes a file when it goes out of scope, unless kept.
class TempName {
public:
    explicit TempName(QByteArray path) : path(std::move(path)) {}
    TempName(const TempName &) = delete;
    TempName &operator=(const TempName &) = delete;
    ~TempName() {
        if (!path.isEmpty())
            ::unlink(path.constData());
    }
    const QByteArray &name() const { return path; }
    void keep() { path.clear(); }

private:
    QByteArray path;
};

QByteArray dirOf(const QByteArray &path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    if (slash == 0)
        return "/";
    return path.left(slash);
}

bool isFolder(const QByteArray &path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A missing file in a missing folder gives ENOENT here, where the user needs
// to hear that the name itself is wrong, as for a file used as a folder.
int pathError(int code, const QByteArray &path) {
    if (code == ENOENT && !path.isEmpty() && !isFolder(dirOf(path)))
        return ENOTDIR;
    return code;
}

// Takes a lock on the whole file, of the kind given, and raises the error
// when another program's lock is in the way. Open-file-description locks
// conflict with every other open of the file, also within this process, and
// with other programs' POSIX locks. Locks are advisory: on a file system that
// keeps none, the file is used without one.
void lockWhole(int fd, short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0)
        return;
    if (errno == EAGAIN || errno == EACCES)
        fail(errno);
}

void writeAll(int fd, const QByteArray &content) {
    const char *p = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(std::min<qsizetype>(left, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        p += n;
        left -= n;
    }
}

// Where a save must write: a symbolic link is followed to its target, which
// need not exist yet.
QByteArray resolveLinks(QByteArray path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return path;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.constData(), target.data(), static_cast<size_t>(target.size()));
        if (n < 0)
            fail(errno);
        target.truncate(n);
        path = target.startsWith('/') ? target : dirOf(path) + '/' + target;
    }
    fail(ELOOP);
}

// A device or a pipe is written as it is: it cannot be replaced.
void writeDevice(const QByteArray &path, const QByteArray &content) {
    Fd fd(::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        fail(errno);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        fail(errno);
    writeAll(fd.get(), content);
    fd.close();
}

// Refuses a file another program holds locked for writing, and keeps any
// other program from locking it for writing while the lock lasts. A file we
// may write but not read cannot be locked this way; the rename still works.
int lockAgainstWriters(const QByteArray &path) {
    Fd fd(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() >= 0)
        lockWhole(fd.get(), F_RDLCK);
    return fd.release();
}

// Creates a new file beside the target under a name nobody else uses.
int createTemp(const QByteArray &target, QByteArray &name) {
    const qsizetype slash = target.lastIndexOf('/');
    // Hidden, and short enough for any name the target may have.
    const QByteArray prefix = target.left(slash + 1) + ".~" + target.mid(slash + 1).left(100) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            fail(pathError(errno, target));
    }
    fail(EEXIST);
}

} // namespace

QByteArray readAll(const QString &path) {
    const QByteArray name = QFile::encodeName(path);
    // Not blocking: opening a pipe without a writer must not hang the window.
    Fd fd(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (fd.get() < 0)
        fail(pathError(errno, name));
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        fail(errno);
    if (S_ISDIR(st.st_mode))
        fail(EISDIR);
    // A device or a pipe chosen by mistake could block or run on without end.
    if (!S_ISREG(st.st_mode))
        fail(EINVAL);
    lockWhole(fd.get(), F_RDLCK);
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        fail(errno);

    // Read in one go; one byte more shows the end.
    QByteArray content(static_cast<qsizetype>(st.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == content.size())
            content.resize(content.size() * 2);
        const ssize_t n = ::read(fd.get(), content.data() + used, static_cast<size_t>(content.size() - used));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
        }
        if (n == 0)
            break;
        used += n;
    }
    content.truncate(used);
    fd.close();
    return content;
}

void save(const QString &path, const QByteArray &content) {
    const QByteArray target = resolveLinks(QFile::encodeName(path));
    struct stat st {};
    const bool exists = ::stat(target.constData(), &st) == 0;
    if (!exists && errno != ENOENT)
        fail(errno);
    if (!exists && !isFolder(dirOf(target)))
        fail(ENOTDIR);
    if (exists) {
        if (S_ISDIR(st.st_mode))
            fail(EISDIR);
        if (!S_ISREG(st.st_mode)) {
            writeDevice(target, content);
            return;
        }
        // The rename below would replace a file nobody may write, and root
        // may write any file: the permission bits alone decide, as the
        // read-only attribute does elsewhere.
        if (::access(target.constData(), W_OK) != 0)
            fail(errno);
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            fail(EACCES);
    }
    // Held until the new content is in place.
    Fd oldFile(exists ? lockAgainstWriters(target) : -1);

    QByteArray tempName;
    Fd fd(createTemp(target, tempName));
    TempName temp(tempName);
    lockWhole(fd.get(), F_WRLCK);
    if (exists) {
        if (::fchmod(fd.get(), st.st_mode & 07777) != 0)
            fail(errno);
        // Only root may give a file away; for anyone else the new file
        // stays theirs, as the old one was.
        if (::geteuid() == 0 && (st.st_uid != 0 || st.st_gid != ::getegid())
            && ::fchown(fd.get(), st.st_uid, st.st_gid) != 0)
            fail(errno);
    }
    writeAll(fd.get(), content);
    if (::fsync(fd.get()) != 0)
        fail(errno);
    fd.close();
    if (::rename(temp.name().constData(), target.constData()) != 0)
        fail(errno);
    temp.keep();
    // Makes the rename itself durable; the file is already in place, so a
    // folder that cannot be flushed does not undo a save.
    Fd folder(::open(dirOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

} // namespace textfile
