#include "platform/IntText.h"

#include "platform/Errors.h"

namespace inttext {

bool tryParse(const QByteArray &text, std::int32_t &value) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return false;
    std::uint64_t acc = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        acc = acc * (hex ? 16 : 10) + static_cast<std::uint64_t>(digit);
        if (hex ? acc > 0xFFFFFFFFull : acc > 0x80000000ull)
            return false;
    }
    if (hex) {
        auto pattern = static_cast<std::uint32_t>(acc);
        if (negative)
            pattern = 0u - pattern;
        value = static_cast<std::int32_t>(pattern);
        return true;
    }
    if (!negative && acc > 0x7FFFFFFFull)
        return false;
    value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(acc))
                     : static_cast<std::int32_t>(acc);
    return true;
}

std::int32_t parse(const SjisText &text) {
    std::int32_t v = 0;
    if (!tryParse(text.bytes(), v))
        throw ConversionError(text);
    return v;
}

SjisText format(std::int32_t value) {
    return SjisText(QByteArray::number(value));
}

SjisText formatTwoDigits(std::int32_t value) {
    const auto magnitude = value < 0 ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    QByteArray digits = QByteArray::number(magnitude);
    if (digits.size() < 2)
        digits.prepend('0');
    return SjisText(value < 0 ? "-" + digits : digits);
}

} // namespace inttext
