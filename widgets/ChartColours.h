#pragma once

#include <QColor>

// The seat chart's cells carry their highlight as a colour number in the
// 0x00BBGGRR form; 0 is no highlight.
namespace chartcolours {

constexpr int none = 0;
constexpr int highlightRed = 255;

inline QColor fromBgr(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace chartcolours
