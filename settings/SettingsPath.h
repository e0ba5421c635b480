#pragma once

#include <QString>

// The start-up settings file for an executable: its path with ".ini" in place
// of the extension. Where the executable's folder is not writable (an
// installed program, or one under Windows' Program Files), the same file name
// in the user's configuration folder.
QString startupSettingsFile(const QString &executablePath);
