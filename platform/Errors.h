#pragma once

#include "platform/SjisText.h"

#include <QString>

#include <cerrno>
#include <exception>

// The errors that end a handler and reach the user through the error box.
// Handlers do not catch them; the guard in the event wiring shows them.
class KiraboError : public std::exception {
public:
    explicit KiraboError(QString message) : msg(std::move(message)) {}
    const QString &message() const { return msg; }
    const char *what() const noexcept override { return "KiraboError"; }

private:
    QString msg;
};

// Text that is not integer text: "'%s' は整数ではありません".
class ConversionError : public KiraboError {
public:
    explicit ConversionError(const SjisText &text);
};

// A file that could not be opened, read, created or written, with the
// system's error code (errno; on Windows the code GetLastError gives).
class InOutError : public KiraboError {
public:
    explicit InOutError(int code);
    int code() const { return err; }

private:
    int err;
};

// A settings file the file system refused to write: "%s に書き込めません".
class SettingsWriteError : public KiraboError {
public:
    explicit SettingsWriteError(const QString &path);
};

// The codes the program raises itself, in the system's own numbering, so that
// on Windows a failed printer is not read as a denied access (EIO is 5 there).
namespace syserr {
#ifdef _WIN32
constexpr int deviceFailed = 31;   // ERROR_GEN_FAILURE
constexpr int noSuchDevice = 1801; // ERROR_INVALID_PRINTER_NAME
constexpr int fileTooLarge = 223;  // ERROR_FILE_TOO_LARGE
#else
constexpr int deviceFailed = EIO;
constexpr int noSuchDevice = ENODEV;
constexpr int fileTooLarge = EFBIG;
#endif
} // namespace syserr

// The message that belongs to a system error code.
QString ioErrorMessage(int code);
