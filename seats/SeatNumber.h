#pragma once

#include "platform/IntText.h"
#include "platform/SjisText.h"
#include "seats/Classroom.h"

#include <compare>
#include <cstdint>

// A seat's number: 1 to 48 for a seat of the layout, 0 for none. The same
// type carries a seat from the spin's tick to the roster's seat cell; it
// becomes text only where text is shown or stored.
class SeatNumber {
public:
    constexpr SeatNumber() = default;
    constexpr explicit SeatNumber(std::int32_t n) : n(n) {}

    constexpr std::int32_t value() const { return n; }
    constexpr bool isNone() const { return n == 0; }
    // A number some seat of a layout can have.
    constexpr bool isSeat() const { return n >= 1 && n <= layout::maxSeats; }

    // Plain decimal text, as the program writes seat numbers.
    SjisText text() const { return inttext::format(n); }
    // The number in integer text; raises ConversionError for other text.
    static SeatNumber parse(const SjisText &text) { return SeatNumber(inttext::parse(text)); }

    constexpr auto operator<=>(const SeatNumber &) const = default;

private:
    std::int32_t n = 0;
};
