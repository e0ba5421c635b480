// The class history's reader on any bytes: no crash, no hang; a history it
// takes is written into bytes that read back into the same rounds, and
// those bytes are written again unchanged.
#include "history/ClassHistory.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    QString problem;
    const std::optional<ClassHistory> first = ClassHistory::parse(bytes, problem);
    if (!first)
        return problem.isEmpty() ? (std::abort(), 0) : 0;
    const QByteArray written = first->bytes();
    const std::optional<ClassHistory> second = ClassHistory::parse(written, problem);
    if (!second || second->rounds() != first->rounds() || second->bytes() != written)
        std::abort();
    return 0;
}
