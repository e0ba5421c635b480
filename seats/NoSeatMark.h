#pragma once

#include "platform/SjisText.h"

// The no-seat mark "×" (bytes 0x81 0x7E): a layout cell is no seat only when
// its text is exactly this.
inline const SjisText &noSeatMark() {
    static const SjisText mark = SjisText::lit("×");
    return mark;
}
