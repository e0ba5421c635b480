#include "platform/AppendFile.h"

#include "platform/Errors.h"

#include <QDir>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

namespace {

std::function<void()> &midWriteHook() {
    static std::function<void()> hook;
    return hook;
}

void writeAll(HANDLE h, const char *p, qsizetype left) {
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(left, 1 << 30));
        if (!WriteFile(h, p, chunk, &written, nullptr))
            throw InOutError(static_cast<int>(GetLastError()));
        p += written;
        left -= written;
    }
}

} // namespace

AppendFile::~AppendFile() {
    if (handle)
        CloseHandle(static_cast<HANDLE>(handle));
}

void AppendFile::open(const QString &path) {
    if (handle)
        close();
    const std::wstring name = QDir::toNativeSeparators(path).toStdWString();
    // Others may read the file, and rename or remove it: the file is only
    // ever replaced whole or removed by this program after closing it.
    const HANDLE h = CreateFileW(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        throw InOutError(static_cast<int>(GetLastError()));
    handle = h;
}

bool AppendFile::isOpen() const {
    return handle != nullptr;
}

void AppendFile::append(const QByteArray &bytes) {
    if (!handle)
        throw InOutError(ERROR_INVALID_HANDLE);
    const HANDLE h = static_cast<HANDLE>(handle);
    // A test's hook runs once, between the two halves of this write.
    const std::function<void()> hook = std::exchange(midWriteHook(), {});
    const qsizetype first = hook ? bytes.size() / 2 : bytes.size();
    writeAll(h, bytes.constData(), first);
    if (hook)
        hook();
    writeAll(h, bytes.constData() + first, bytes.size() - first);
    if (!FlushFileBuffers(h))
        throw InOutError(static_cast<int>(GetLastError()));
}

void AppendFile::close() {
    const HANDLE h = static_cast<HANDLE>(std::exchange(handle, nullptr));
    if (h && !CloseHandle(h))
        throw InOutError(static_cast<int>(GetLastError()));
}

void AppendFile::setMidWriteForTesting(std::function<void()> midWrite) {
    midWriteHook() = std::move(midWrite);
}
