#include "platform/SjisTable.h"

#include "platform/SjisText.h"

#include <algorithm>
#include <iterator>

namespace {

struct CharCode {
    char16_t character;
    std::uint16_t bytes;
};

// The lead bytes in order, each with the trail bytes 0x40 to 0xFC.
constexpr unsigned firstTrail = 0x40;
constexpr unsigned trailCount = 0xFC - 0x40 + 1;

#include "platform/SjisTableData.inc"

int leadIndex(unsigned char lead) {
    return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
}

} // namespace

namespace sjistable {

char16_t single(unsigned char byte) {
    return singles[byte];
}

char16_t pair(unsigned char lead, unsigned char trail) {
    if (!isSjisLeadByte(lead) || trail < firstTrail || trail - firstTrail >= trailCount)
        return noChar;
    return pairs[static_cast<unsigned>(leadIndex(lead)) * trailCount + (trail - firstTrail)];
}

bool code(char16_t character, std::uint16_t &bytes) {
    const auto *end = std::end(codes);
    const auto *it = std::lower_bound(std::begin(codes), end, character,
                                      [](const CharCode &c, char16_t ch) { return c.character < ch; });
    if (it == end || it->character != character)
        return false;
    bytes = it->bytes;
    return true;
}

} // namespace sjistable
