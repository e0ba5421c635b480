#pragma once

#include "platform/SjisText.h"

#include <cstdint>

// The one conversion of text to an integer: optional leading spaces, an
// optional sign, then decimal digits, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X"; nothing may follow. Decimal values must fit 32 bits
// signed; hexadecimal values are 32-bit patterns.
namespace inttext {

bool tryParse(const QByteArray &text, std::int32_t &value);

// Raises ConversionError for text that is not integer text.
std::int32_t parse(const SjisText &text);

// Decimal text of a value, as the program writes numbers into cells.
SjisText format(std::int32_t value);

// At least two digits, zero-filled on the left ("%.2d").
SjisText formatTwoDigits(std::int32_t value);

} // namespace inttext
