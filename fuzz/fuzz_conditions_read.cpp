// The conditions' reader on any bytes: no crash, no hang; conditions it
// takes are written into bytes that read back into the same conditions, and
// those bytes are written again unchanged.
#include "conditions/SeatConditions.h"

#include <cstdint>
#include <cstdlib>

namespace {
bool same(const SeatConditions &a, const SeatConditions &b) {
    return a.front == b.front && a.apart == b.apart;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString problem;
    const std::optional<SeatConditions> first = SeatConditions::parse(bytes, problem);
    if (!first)
        return problem.isEmpty() ? (std::abort(), 0) : 0;
    const QByteArray written = first->bytes();
    const std::optional<SeatConditions> second = SeatConditions::parse(written, problem);
    if (!second || !same(*second, *first) || second->bytes() != written)
        std::abort();
    return 0;
}
