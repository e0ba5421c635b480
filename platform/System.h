#pragma once

#include <QString>

#include <cstdint>

namespace sys {

// The full path of the running executable. Tests point it into a temporary
// folder so that the start-up settings file lands there.
QString executablePath();
void setExecutablePathForTesting(const QString &path);

// The lower 32 bits of the high-resolution clock, for seeding the generator.
std::uint32_t clockSeed();

// Maps the Windows face names the window asks for onto installed Japanese
// faces, so that Japanese text never shows as boxes.
void installFontSubstitutes();

} // namespace sys
