#pragma once

namespace sys {

// Maps the Windows face names the window asks for onto installed Japanese
// faces, so that Japanese text never shows as boxes.
void installFontSubstitutes();

} // namespace sys
