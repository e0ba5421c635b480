#pragma once

#include <cstdint>

// The program's pseudo-random generator: one 32-bit state word, advanced as
// s := s * 134775813 + 1 (mod 2^32) at every draw.
namespace rng {

void seed(std::uint32_t s);
std::uint32_t state();
// A number from 0 to range - 1 (0 when range is 0 or less).
std::int32_t randomIndex(std::int32_t range);

} // namespace rng
