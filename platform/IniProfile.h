#pragma once

#include "platform/SjisText.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

// One INI file, read and written one key at a time on Shift-JIS bytes, in
// the syntax the same program's settings have on Windows:
// - "[name]" starts a section, "key=value" is a key line, a line starting
//   with ";" is a comment; any other line is kept but means nothing;
// - names compare without regard to ASCII letter case (double-byte
//   characters are compared as they are); the first of two equal sections,
//   and within it the first of two equal keys, is the one read and written;
// - blanks and tabs around names and values are not part of them, and one
//   pair of matching outer quotes ("..." or '...') is taken off a value;
// - LF and CR LF line ends both end a line; new lines get CR LF.
// Writes change only the line of the key written (a new key goes after the
// last key line of its section, a new section at the end of the file) and
// stay in memory until flush(), which replaces the file in one step.
class IniProfile {
public:
    // Reads the file now; a file that is missing or cannot be read reads as
    // empty (see readError()).
    explicit IniProfile(const QString &path);
    // Flushes pending writes that flush() has not, as when an error ends the
    // routine that made them.
    ~IniProfile();
    IniProfile(const IniProfile &) = delete;
    IniProfile &operator=(const IniProfile &) = delete;

    // A value read is cut to this many bytes.
    static constexpr qsizetype maxValueBytes = 2047;

    // The system error code met reading the file: 0 when it was read,
    // ENOENT when it does not exist.
    int readError() const { return error; }

    SjisText readString(const SjisText &section, const SjisText &key, const SjisText &def) const;
    // The value as integer text (inttext::tryParse); def when it is not.
    std::int32_t readInteger(const SjisText &section, const SjisText &key, std::int32_t def) const;

    // A value that would not read back as it is (blanks or tabs at an end,
    // or a pair of matching outer quotes) is written inside double quotes.
    // A value holding a line break cannot be stored and is refused with
    // SettingsWriteError, as are names the syntax cannot hold.
    void writeString(const SjisText &section, const SjisText &key, const SjisText &value);
    void writeInteger(const SjisText &section, const SjisText &key, std::int32_t value);

    bool hasSection(const SjisText &section) const;
    // Takes every section of this name out of the file, with all its lines.
    void removeSection(const SjisText &section);

    // Writes the file if anything was written to it: the new content goes
    // into a file beside it, is synced and renamed over it, so a refused
    // write leaves the old file whole. Raises SettingsWriteError(path).
    void flush();

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray eol;  // "\r\n", "\n", "\r", or empty for a last line without one
    };
    struct Section {
        QByteArray folded; // the name as compared; empty for the lines before any section
        std::vector<Line> lines; // the header line first, except for the lines before any section
        QHash<QByteArray, std::size_t> keys; // folded key -> its first line
        std::size_t lastKeyLine = 0; // where a new key goes after
    };

    void parse(const QByteArray &content);
    const Line *findKey(const QByteArray &section, const QByteArray &key) const;
    static void endLine(Line &line);
    void ensureLastLineEnds();
    QByteArray content() const;

    QString file;
    int error = 0;
    bool dirty = false;
    std::vector<Section> sections;
    QHash<QByteArray, std::size_t> sectionIndex; // folded name -> first section
};
