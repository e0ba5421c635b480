#pragma once

#include <QString>

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

// A short fingerprint of a seed, shown before the draw so that anyone can
// check, once the record reveals the seed, that it was fixed beforehand: the
// first eight hexadecimal digits of the SHA-256 of the seed's decimal text,
// as "1a2b-3c4d" (printf 12345 | sha256sum gives them).
QString fingerprint(std::uint32_t seed);

} // namespace rng
