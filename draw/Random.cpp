#include "draw/Random.h"

namespace rng {

namespace {
std::uint32_t s = 0;
}

void seed(std::uint32_t value) {
    s = value;
}

std::uint32_t state() {
    return s;
}

std::int32_t randomIndex(std::int32_t range) {
    s = s * 134775813u + 1u;
    if (range <= 0)
        return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(s) * static_cast<std::uint32_t>(range)) >> 32);
}

} // namespace rng
