#pragma once

#include <cstdint>

// The Shift-JIS code page (932) as a table of the program's own, where the
// system has no converter of it: reading it through the toolkit would load
// ICU's converter, its code and its tables, for a few thousand characters.
// The table was made from that very converter and a test holds it to it.
namespace sjistable {

constexpr char16_t noChar = 0xFFFF;

// What a single byte shows as, or noChar.
char16_t single(unsigned char byte);
// What a lead byte and the byte after it show as, or noChar.
char16_t pair(unsigned char lead, unsigned char trail);
// The bytes of a character, one (below 0x100) or two (lead byte in the high
// half); false when the code page has no character that reads back as it.
bool code(char16_t character, std::uint16_t &bytes);

} // namespace sjistable
