#include "support/Faults.h"

#ifdef _WIN32
#include <QDir>

#include <type_traits>

#include <windows.h>

// The header keeps <windows.h> out of the tests with these plain types.
static_assert(std::is_same_v<DWORD, unsigned long> && std::is_same_v<HANDLE, void *>);

HeldOpen::HeldOpen(const QString &path, unsigned long share)
    : h(CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_READ | GENERIC_WRITE, share,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldOpen::~HeldOpen() {
    if (inPlace())
        CloseHandle(h);
}

bool HeldOpen::inPlace() const {
    return h != INVALID_HANDLE_VALUE;
}
#else
#include <QFile>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

FileSizeLimit::FileSizeLimit(rlim_t bytes) : oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    if (::getrlimit(RLIMIT_FSIZE, &old) != 0)
        return;
    rlimit small = old;
    small.rlim_cur = bytes;
    set = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (set)
        ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
}

WriteLock::WriteLock(const QString &path) : fd(::open(QFile::encodeName(path).constData(), O_RDWR)) {
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    locked = fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

WriteLock::~WriteLock() {
    if (fd >= 0)
        ::close(fd);
}
#endif
