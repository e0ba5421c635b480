// The journal's reader on any bytes: no crash, no hang; a journal it reads
// as sound is written again by the writer into bytes that read the same.
#include "journal/Journal.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const journal::Read first = journal::read(bytes);
    if (first.reading != journal::Reading::Sound)
        return 0;
    const QByteArray again = journal::beginning(first.contents);
    const journal::Read second = journal::read(again);
    if (second.reading != journal::Reading::Sound || second.cutOff || !(second.contents == first.contents))
        std::abort();
    if (journal::beginning(second.contents) != again)
        std::abort();
    return 0;
}
