// The integer text conversion against a plain reading of its rules: leading
// spaces, a sign, decimal digits that fit 32 bits signed, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X" taken as a 32-bit pattern, and
// nothing after. A decimal value also survives formatting and parsing again.
#include "platform/IntText.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool reference(const std::string &s, std::int32_t &value) {
    std::size_t i = s.find_first_not_of(' ');
    if (i == std::string::npos)
        return false;
    bool negative = false;
    if (s[i] == '+' || s[i] == '-')
        negative = s[i++] == '-';
    bool hex = false;
    if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
        hex = true;
        i += 2;
    } else if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    }
    const std::string digits = s.substr(i);
    const char *allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (digits.empty() || digits.find_first_not_of(allowed) != std::string::npos)
        return false;
    const std::size_t first = digits.find_first_not_of('0');
    const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
    if (significant.size() > (hex ? 8u : 10u))
        return false;
    const long long magnitude = std::stoll(significant, nullptr, hex ? 16 : 10);
    if (hex) {
        const auto pattern = static_cast<std::uint32_t>(magnitude);
        value = static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
        return true;
    }
    const long long v = negative ? -magnitude : magnitude;
    if (v < INT32_MIN || v > INT32_MAX)
        return false;
    value = static_cast<std::int32_t>(v);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    std::int32_t got = 0;
    std::int32_t want = 0;
    const bool ok = inttext::tryParse(text, got);
    if (ok != reference(text.toStdString(), want) || (ok && got != want))
        std::abort();
    if (ok) {
        std::int32_t again = 0;
        if (!inttext::tryParse(inttext::format(got).bytes(), again) || again != got)
            std::abort();
    }
    return 0;
}
