#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// A file that grows by whole records, each one on the disk before append
// returns: a power cut afterwards keeps it. Every failure raises InOutError
// with the system's error code.
class AppendFile {
public:
    AppendFile() = default;
    AppendFile(const AppendFile &) = delete;
    AppendFile &operator=(const AppendFile &) = delete;
    ~AppendFile();

    // Opens an existing file for appending at its end.
    void open(const QString &path);
    bool isOpen() const;
    // Writes the bytes at the end and waits until the disk holds them.
    void append(const QByteArray &bytes);
    // Closes the file; nothing is lost, every append is already on the disk.
    void close();

    // Tests stand between the two halves of the next append here, to see
    // what a program that dies in the middle of a write leaves behind.
    static void setMidWriteForTesting(std::function<void()> midWrite);

private:
#ifdef _WIN32
    void *handle = nullptr;
#else
    int fd = -1;
#endif
};
