#pragma once

#include "draw/Record.h"
#include "platform/SjisText.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

// The journal of a draw: what a seat change has decided so far, written to
// the disk before the class is told, so that a program or a machine that
// dies mid-draw loses nothing. This part is the file's content; DrawJournal
// keeps the file.
//
// The file is plain ASCII, one record per line ending in CR LF, each line
// ending in its own checksum, so that a line the writer was cut off in is
// told from a whole one. Texts are written as the hex of their bytes.
namespace journal {

struct Contents {
    QString rosterPath;      // the roster file the draw belongs to
    QByteArray fileHash;     // SHA-256 of that file's bytes when the journal began; empty where unreadable
    QByteArray rosterBytes;  // the roster as the window held it then (it may hold unsaved edits)
    std::uint32_t seed = 0;  // the generator's seed then
    // The seat layout's cells then, column by column: the seat numbers the
    // draw gave belong to it.
    std::vector<SjisText> layout;
    // The seats the roster held when the journal began, by roster row.
    std::map<std::int32_t, SjisText> held;
    // The draw's record, oldest first. Events before firstNew were recorded
    // before the journal began: what they decided is in held already.
    std::vector<drawrecord::Event> events;
    std::size_t firstNew = 0;

    bool operator==(const Contents &) const = default;
};

// The lines that begin a journal: everything in the contents.
QByteArray beginning(const Contents &c);
// The line one more event adds.
QByteArray line(const drawrecord::Event &e);

enum class Reading {
    Sound,      // read whole; a last line cut off in the middle is left out
    Empty,      // nothing was ever written
    Unreadable, // not a journal, or damaged before its last line
};
struct Read {
    Reading reading = Reading::Empty;
    Contents contents;
    bool cutOff = false; // the last line was cut off and left out
};
Read read(const QByteArray &bytes);

// The seats the draw had given, by roster row: those held when the journal
// began, then every stop accepted since.
std::map<std::int32_t, SjisText> seats(const Contents &c);

// The SHA-256 of a file's bytes, as the journal keeps it.
QByteArray hashOf(const QByteArray &fileBytes);

} // namespace journal
