#include "draw/Random.h"

#include <QCryptographicHash>

namespace rng {

namespace {
std::uint32_t s = 0;
std::uint32_t seeded = 0;
std::uint64_t draws = 0;
} // namespace

void seed(std::uint32_t value) {
    s = value;
    seeded = value;
    draws = 0;
}

std::uint32_t state() {
    return s;
}

std::int32_t randomIndex(std::int32_t range) {
    s = s * 134775813u + 1u;
    ++draws;
    if (range <= 0)
        return 0;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(s) * static_cast<std::uint32_t>(range)) >> 32);
}

std::uint32_t seedValue() {
    return seeded;
}

std::uint64_t drawsSinceSeed() {
    return draws;
}

QString fingerprint(std::uint32_t seed) {
    // Asked for at every tick of the spin: worked out once per seed.
    static std::uint32_t lastSeed = 0;
    static QString last;
    if (!last.isEmpty() && seed == lastSeed)
        return last;
    const QByteArray hex =
        QCryptographicHash::hash(QByteArray::number(seed), QCryptographicHash::Sha256).toHex().left(8);
    lastSeed = seed;
    last = QString::fromLatin1(hex.left(4) + '-' + hex.mid(4));
    return last;
}

} // namespace rng
