#pragma once

#include <QString>

#include <cstdint>

namespace sys {

// The full path of the running executable. Tests point it into a temporary
// folder so that the start-up settings file lands there.
QString executablePath();
void setExecutablePathForTesting(const QString &path);

// The user's own folder for the program's data (on Linux under
// ~/.local/share, on Windows under %LOCALAPPDATA%), which may not exist yet.
// Tests point it into a temporary folder.
QString userDataFolder();
void setUserDataFolderForTesting(const QString &folder);

// The user's documents folder (Windows asks the system for it, whatever
// HOME says). Tests point it into a temporary folder.
QString documentsFolder();
void setDocumentsFolderForTesting(const QString &folder);

// The lower 32 bits of the high-resolution clock (on Windows the performance
// counter, or the millisecond tick count without one), for seeding the
// generator.
std::uint32_t clockSeed();

// False where the program has no screen to show on: on Linux, started with
// no display named (and no Qt platform asked for). Windows always has one.
bool hasDisplay();

// True when this user may create files in the folder.
bool folderIsWritable(const QString &folder);

// True for a folder inside the system's folder of installed programs (on
// Windows, Program Files): a program installed there keeps each user's
// settings in the user's own folder, writable or not. Never on Linux, whose
// installed programs' folders are not writable anyway.
bool isInstalledProgramsFolder(const QString &folder);

} // namespace sys
