#pragma once

#include "platform/SjisText.h"

#include <QString>

class SeatLayout;

// A settings file: the layout in sections "0" to "5" (a key per row) and the
// options in section "設定".
namespace settings {

// The options as the window shows them.
struct Options {
    QString title;
    QString folder;  // where the roster dialogs start
    QString folder2; // where the settings dialogs start
    bool neighbourRule = false;
    // How many past seat changes the neighbour rule looks at, 1 to 10.
    int rounds = 1;
};

// The bytes the file held for the title and the two folders. While the text
// shown is unchanged they go back to the file as they came, also where
// Shift-JIS decoding cannot show them exactly (bytes that are no character,
// codes that share a character).
struct StoredBytes {
    SjisText title;
    SjisText folder;
    SjisText folder2;
};

// Reads the layout's cells and the options; a missing file or key reads as
// its default.
Options load(const QString &path, SeatLayout &layout, StoredBytes &stored);

// Writes the layout and the options key by key, keeping the rest of the
// file. A title that Shift-JIS cannot hold on one line raises KiraboError,
// with the layout already written; a folder it cannot hold is not
// remembered.
void save(const QString &path, const SeatLayout &layout, const Options &options, const StoredBytes &stored);

} // namespace settings
