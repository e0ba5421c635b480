#pragma once

#include "platform/SjisText.h"

#include <QByteArray>

#include <fuzzer/FuzzedDataProvider.h>

// Bytes as a roster cell can hold them: a line of the class's files is one
// line, and the readers refuse a file holding a NUL or a Ctrl-Z.
inline QByteArray cellBytes(FuzzedDataProvider &in, std::size_t most = 24) {
    QByteArray b = QByteArray::fromStdString(in.ConsumeRandomLengthString(most));
    b.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\x1a' || c == '\0'; });
    return b;
}

inline SjisText cellText(FuzzedDataProvider &in, std::size_t most = 24) {
    return SjisText(cellBytes(in, most));
}
