#include "platform/TextFile.h"

#include "platform/Errors.h"

#include <QDir>
#include <QRandomGenerator>

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

namespace textfile {

namespace {

[[noreturn]] void fail(DWORD code) {
    throw InOutError(static_cast<int>(code));
}

[[noreturn]] void failLast() {
    fail(GetLastError());
}

std::wstring nativeName(const QString &path) {
    return QDir::toNativeSeparators(path).toStdWString();
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h(h) {}
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() {
        if (valid())
            CloseHandle(h);
    }
    bool valid() const { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    HANDLE get() const { return h; }
    // Closes now and reports the error closing gives.
    void close() {
        const HANDLE c = std::exchange(h, INVALID_HANDLE_VALUE);
        if (!CloseHandle(c))
            failLast();
    }

private:
    HANDLE h;
};

// Removes a file when it goes out of scope, unless kept.
class TempName {
public:
    explicit TempName(std::wstring path) : path(std::move(path)) {}
    TempName(const TempName &) = delete;
    TempName &operator=(const TempName &) = delete;
    ~TempName() {
        if (!path.empty())
            DeleteFileW(path.c_str());
    }
    const std::wstring &name() const { return path; }
    void keep() { path.clear(); }

private:
    std::wstring path;
};

void writeAll(HANDLE h, const QByteArray &content) {
    const char *p = content.constData();
    qsizetype left = content.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<qsizetype>(left, 1 << 30));
        if (!WriteFile(h, p, chunk, &written, nullptr))
            failLast();
        p += written;
        left -= written;
    }
}

// Creates a new file beside the target under a name nobody else uses, shared
// for reading only while it is written.
HANDLE createTemp(const QString &target, std::wstring &name) {
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    const QString prefix = target.left(slash + 1) + QStringLiteral("~") + target.mid(slash + 1).left(100)
                           + QLatin1Char('.');
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = nativeName(prefix + QString::number(QRandomGenerator::global()->generate(), 36)
                          + QStringLiteral(".tmp"));
        const HANDLE h = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            return h;
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS)
            fail(code);
    }
    fail(ERROR_FILE_EXISTS);
}

} // namespace

QByteArray readAll(const QString &path) {
    const std::wstring name = nativeName(QDir::fromNativeSeparators(path));
    // Others may go on reading; a file another program holds open for
    // writing is refused with the sharing violation.
    Handle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid())
        failLast();
    // A device or a pipe chosen by mistake could block or run on without end.
    if (GetFileType(file.get()) != FILE_TYPE_DISK)
        fail(ERROR_BAD_FILE_TYPE);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size))
        failLast();

    // Read in one go; one byte more shows the end.
    QByteArray content(static_cast<qsizetype>(size.QuadPart) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == content.size())
            content.resize(content.size() * 2);
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<qsizetype>(content.size() - used, 1 << 30));
        if (!ReadFile(file.get(), content.data() + used, want, &got, nullptr))
            failLast();
        if (got == 0)
            break;
        used += got;
    }
    content.truncate(used);
    file.close();
    return content;
}

void save(const QString &typed, const QByteArray &content) {
    // A name typed with Windows' own separators is the same name.
    const QString path = QDir::fromNativeSeparators(typed);
    const std::wstring target = nativeName(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        failLast();
    if (exists) {
        // What creating the file in its place would answer.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
            fail(ERROR_ACCESS_DENIED);
        // A file another program holds open for writing, or without sharing,
        // is refused before anything is written.
        Handle probe(CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!probe.valid())
            failLast();
        if (GetFileType(probe.get()) != FILE_TYPE_DISK) {
            writeAll(probe.get(), content);
            probe.close();
            return;
        }
    }

    std::wstring tempName;
    Handle file(createTemp(path, tempName));
    TempName temp(tempName);
    writeAll(file.get(), content);
    if (!FlushFileBuffers(file.get()))
        failLast();
    file.close();
    // One step: the old file stays whole until the new one takes its name.
    if (!MoveFileExW(temp.name().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        failLast();
    temp.keep();
}

} // namespace textfile
