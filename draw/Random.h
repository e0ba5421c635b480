#pragma once

#include <cstdint>

// The program's pseudo-random generator: one 32-bit state word, advanced as
// s := s * 134775813 + 1 (mod 2^32) at every draw.
namespace rng {

void seed(std::uint32_t s);
std::uint32_t state();
// A number from 0 to range - 1 (0 when range is 0 or less).
std::int32_t randomIndex(std::int32_t range);

// What a record of the draw names so that the draw can be replayed: the
// value last given to seed, and the number of draws made since.
std::uint32_t seedValue();
std::uint64_t drawsSinceSeed();

} // namespace rng
