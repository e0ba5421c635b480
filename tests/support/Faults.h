#pragma once

#include <QString>

#ifndef _WIN32
#include <sys/resource.h>
#endif

// Faults a test puts in place for as long as it holds them: each one takes
// effect in its constructor, says with inPlace() whether it could, and is
// lifted again by its destructor.

#ifdef _WIN32
// Holds a file open as another program would: for writing, with the sharing
// flags of CreateFileW given (FILE_SHARE_READ: others may read, as an editor
// keeps a file; 0: no sharing at all).
class HeldOpen {
public:
    HeldOpen(const QString &path, unsigned long share);
    ~HeldOpen();
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

    bool inPlace() const;

private:
    void *h; // the file's HANDLE
};
#else
// Lowers the size this process may give a file, as a full disk would stop
// its writes: a write beyond it fails with EFBIG, with SIGXFSZ ignored
// rather than ending the process. The old limit and handler come back after.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

    bool inPlace() const { return set; }

private:
    void (*oldHandler)(int);
    rlimit old{};
    bool set = false;
};

// Holds a write lock on the whole of a file, as another program editing it
// would. The lock belongs to its own open file, so it stands against this
// process too.
class WriteLock {
public:
    explicit WriteLock(const QString &path);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool inPlace() const { return locked; }

private:
    int fd;
    bool locked = false;
};
#endif
