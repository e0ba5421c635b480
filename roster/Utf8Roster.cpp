#include "roster/Utf8Roster.h"

#include "platform/SjisText.h"

#include <QStringDecoder>

#include <algorithm>

namespace utf8roster {

namespace {
const QByteArrayView byteOrderMark("\xEF\xBB\xBF");
}

bool hasByteOrderMark(QByteArrayView file) {
    return file.startsWith(byteOrderMark);
}

// Overlong forms, surrogates, numbers beyond Unicode and a sequence cut off
// at the end are all errors to the decoder.
bool isUtf8(QByteArrayView bytes) {
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    [[maybe_unused]] const QString text = decode.decode(bytes);
    return !decode.hasError();
}

bool isShiftJis(QByteArrayView bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80 || (c >= 0xA1 && c <= 0xDF))
            continue;
        if (!isSjisLeadByte(c) || i + 1 == bytes.size())
            return false;
        const auto t = static_cast<unsigned char>(bytes[++i]);
        if (t < 0x40 || t == 0x7F || t > 0xFC)
            return false;
    }
    return true;
}

bool looksLikeUtf8(QByteArrayView file) {
    if (hasByteOrderMark(file))
        return true;
    const bool beyondAscii = std::any_of(file.begin(), file.end(), [](char c) { return (c & 0x80) != 0; });
    return beyondAscii && isUtf8(file) && !isShiftJis(file);
}

bool toShiftJis(QByteArrayView file, QByteArray &out, QString &badChar) {
    if (hasByteOrderMark(file))
        file = file.sliced(byteOrderMark.size());
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode.decode(file);
    SjisText sjis;
    if (!SjisText::tryFromUnicode(text, sjis, &badChar))
        return false;
    out = sjis.bytes();
    return true;
}

} // namespace utf8roster
