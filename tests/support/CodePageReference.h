#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cstdint>
#include <optional>

// Code page 932 as ICU's converter reads it, through the toolkit: what the
// program's own table was made from, and what a test holds it to.
namespace codepage {

inline constexpr const char *icuName = "windows-31j";

// The one character the bytes show as, or nothing.
inline std::optional<char16_t> reference(const QByteArray &bytes) {
    QStringDecoder d(icuName, QStringConverter::Flag::Stateless);
    const QString s = d(bytes);
    if (d.hasError() || s.size() != 1)
        return std::nullopt;
    return s.front().unicode();
}

// The bytes of a character, when they read back as it.
inline std::optional<std::uint16_t> referenceCode(char16_t character) {
    if (QChar::isSurrogate(character))
        return std::nullopt;
    const QString s(QChar{character});
    QStringEncoder e(icuName, QStringConverter::Flag::Stateless);
    const QByteArray bytes = e(s);
    if (e.hasError() || bytes.isEmpty() || bytes.size() > 2 || reference(bytes) != character)
        return std::nullopt;
    return bytes.size() == 1 ? std::uint16_t(static_cast<unsigned char>(bytes[0]))
                             : std::uint16_t(static_cast<unsigned char>(bytes[0]) << 8 |
                                             static_cast<unsigned char>(bytes[1]));
}

} // namespace codepage
