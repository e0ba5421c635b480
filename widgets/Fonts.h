#pragma once

#include <QString>

namespace sys {

// Maps the Windows face names the window asks for onto installed Japanese
// faces, so that Japanese text never shows as boxes.
void installFontSubstitutes();

// Where the Windows faces stand in for others, the toolkit's own dialogs, the
// message boxes and every widget that keeps the default face write in the
// window's face too, in the default size. Windows keeps its own default.
void useFaceAsDefault(const QString &windowsName);

} // namespace sys
