#include "platform/AppendFile.h"

#include "platform/Errors.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace {

std::function<void()> &midWriteHook() {
    static std::function<void()> hook;
    return hook;
}

void writeAll(int fd, const char *p, qsizetype left) {
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(std::min<qsizetype>(left, 1 << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw InOutError(errno);
        }
        p += n;
        left -= n;
    }
}

} // namespace

AppendFile::~AppendFile() {
    if (fd >= 0)
        ::close(fd);
}

void AppendFile::open(const QString &path) {
    if (fd >= 0)
        close();
    const int f = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY);
    if (f < 0)
        throw InOutError(errno);
    fd = f;
}

bool AppendFile::isOpen() const {
    return fd >= 0;
}

void AppendFile::append(const QByteArray &bytes) {
    if (fd < 0)
        throw InOutError(EBADF);
    // A test's hook runs once, between the two halves of this write.
    const std::function<void()> hook = std::exchange(midWriteHook(), {});
    const qsizetype first = hook ? bytes.size() / 2 : bytes.size();
    writeAll(fd, bytes.constData(), first);
    if (hook)
        hook();
    writeAll(fd, bytes.constData() + first, bytes.size() - first);
    if (::fdatasync(fd) != 0)
        throw InOutError(errno);
}

void AppendFile::close() {
    const int f = std::exchange(fd, -1);
    if (f >= 0 && ::close(f) != 0 && errno != EINTR)
        throw InOutError(errno);
}

void AppendFile::setMidWriteForTesting(std::function<void()> midWrite) {
    midWriteHook() = std::move(midWrite);
}
