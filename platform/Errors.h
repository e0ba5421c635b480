#pragma once

#include "platform/SjisText.h"

#include <QString>
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

// The message that belongs to a system error code.
QString ioErrorMessage(int code);
