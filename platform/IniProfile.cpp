#include "platform/IniProfile.h"

#include "platform/Errors.h"
#include "platform/IntText.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cerrno>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmed(const QByteArray &s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// ASCII letters folded to lower case; a double-byte character is left as it
// is, since its second byte may look like a letter.
QByteArray folded(const QByteArray &name) {
    QByteArray out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (isSjisLeadByte(c) && i + 1 < out.size())
            ++i;
        else if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The last "]" that is a character of its own, not the second byte of a
// double-byte character; -1 when there is none.
qsizetype lastClosingBracket(const QByteArray &s) {
    qsizetype found = -1;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (isSjisLeadByte(c) && i + 1 < s.size())
            ++i;
        else if (c == ']')
            found = i;
    }
    return found;
}

// True when the last byte starts a double-byte character: a reader that goes
// by characters takes the "]" or "=" written after the name as its second
// byte.
bool endsInLeadByte(const QByteArray &s) {
    for (qsizetype i = 0; i < s.size(); ++i)
        if (isSjisLeadByte(static_cast<unsigned char>(s[i]))) {
            if (i + 1 == s.size())
                return true;
            ++i;
        }
    return false;
}

bool hasQuotePair(const QByteArray &v) {
    return v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
}

QByteArray unquoted(const QByteArray &v) {
    return hasQuotePair(v) ? v.mid(1, v.size() - 2) : v;
}

// What one line means.
struct Parsed {
    enum Kind { Other, Header, Key } kind = Other;
    QByteArray name;    // section or key name, trimmed
    qsizetype eq = -1;  // a key line's "="
    QByteArray value;   // a key line's value, trimmed and unquoted, not cut
};

Parsed parseLine(const QByteArray &text) {
    Parsed p;
    const QByteArray t = trimmed(text);
    if (t.isEmpty() || t.front() == ';')
        return p;
    if (t.front() == '[') {
        const qsizetype close = lastClosingBracket(t);
        if (close > 0) {
            p.kind = Parsed::Header;
            p.name = trimmed(t.mid(1, close - 1));
        }
        return p;
    }
    p.eq = text.indexOf('=');
    if (p.eq < 0)
        return p;
    p.kind = Parsed::Key;
    p.name = trimmed(text.left(p.eq));
    p.value = unquoted(trimmed(text.mid(p.eq + 1)));
    return p;
}

const QByteArray utf8Bom("\xEF\xBB\xBF");

// The first line of a file saved by an editor that adds a byte-order mark
// still starts its first section.
Parsed parseLineAt(const QByteArray &text, bool first) {
    if (first && text.startsWith(utf8Bom))
        return parseLine(text.mid(utf8Bom.size()));
    return parseLine(text);
}

QByteArray encodedValue(const QByteArray &v) {
    const bool needsQuotes =
        !v.isEmpty() && (isBlank(v.front()) || isBlank(v.back()) || hasQuotePair(v));
    return needsQuotes ? '"' + v + '"' : v;
}

bool hasLineBreak(const QByteArray &s) {
    return s.contains('\n') || s.contains('\r');
}

} // namespace

IniProfile::IniProfile(const QString &path) : file(path) {
    QByteArray bytes;
    if (path.isEmpty()) {
        error = ENOENT;
    } else {
        try {
            bytes = textfile::readAll(path);
        } catch (const InOutError &e) {
            // A missing file reads as defaults; the caller decides what the
            // other errors mean.
            error = e.code();
        }
    }
    parse(bytes);
}

IniProfile::~IniProfile() {
    if (!dirty)
        return;
    // A destructor must not throw: only an error already on its way ends
    // the routine here, and that one is what the user is shown.
    try {
        flush();
    } catch (...) {
    }
}

void IniProfile::parse(const QByteArray &bytes) {
    sections.clear();
    sectionIndex.clear();
    sections.emplace_back();
    qsizetype pos = 0;
    bool first = true;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        Line line;
        if (end < 0) {
            line.text = bytes.mid(pos);
            pos = bytes.size();
        } else {
            line.text = bytes.mid(pos, end - pos);
            line.eol = "\n";
            pos = end + 1;
        }
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.eol.prepend('\r');
        }
        const Parsed p = parseLineAt(line.text, first);
        first = false;
        if (p.kind == Parsed::Header) {
            Section s;
            s.folded = folded(p.name);
            if (!sectionIndex.contains(s.folded))
                sectionIndex.insert(s.folded, sections.size());
            sections.push_back(std::move(s));
        }
        Section &s = sections.back();
        if (p.kind == Parsed::Key) {
            const QByteArray k = folded(p.name);
            if (!s.keys.contains(k))
                s.keys.insert(k, s.lines.size());
            s.lastKeyLine = s.lines.size();
        }
        s.lines.push_back(std::move(line));
    }
}

const IniProfile::Line *IniProfile::findKey(const QByteArray &section, const QByteArray &key) const {
    const auto si = sectionIndex.constFind(folded(section));
    if (si == sectionIndex.cend())
        return nullptr;
    const Section &s = sections[*si];
    const auto ki = s.keys.constFind(folded(key));
    return ki == s.keys.cend() ? nullptr : &s.lines[*ki];
}

SjisText IniProfile::readString(const SjisText &section, const SjisText &key, const SjisText &def) const {
    const Line *line = findKey(section.bytes(), key.bytes());
    if (!line)
        return def;
    return SjisText(parseLine(line->text).value.left(maxValueBytes));
}

std::int32_t IniProfile::readInteger(const SjisText &section, const SjisText &key, std::int32_t def) const {
    std::int32_t v = 0;
    return inttext::tryParse(readString(section, key, SjisText()).bytes(), v) ? v : def;
}

// Only a file's last line can lack a line feed: it may have no line end at
// all or a lone CR, which no reader takes as the end of a line, so a line
// written after it would be read as part of it.
void IniProfile::endLine(Line &line) {
    if (!line.eol.endsWith('\n'))
        line.eol = "\r\n";
}

void IniProfile::ensureLastLineEnds() {
    for (auto s = sections.rbegin(); s != sections.rend(); ++s)
        if (!s->lines.empty()) {
            endLine(s->lines.back());
            return;
        }
}

void IniProfile::writeString(const SjisText &section, const SjisText &key, const SjisText &value) {
    const QByteArray &sec = section.bytes();
    const QByteArray &k = key.bytes();
    const QByteArray &v = value.bytes();
    const QByteArray secName = trimmed(sec);
    const QByteArray keyName = trimmed(k);
    if (hasLineBreak(v) || hasLineBreak(sec) || hasLineBreak(k) || secName != sec || keyName != k
        || lastClosingBracket(sec) >= 0 || k.contains('=') || k.startsWith('[') || k.startsWith(';')
        || endsInLeadByte(sec) || endsInLeadByte(k))
        throw SettingsWriteError(file);
    dirty = true;

    const QByteArray sf = folded(sec);
    auto si = sectionIndex.constFind(sf);
    if (si == sectionIndex.cend()) {
        ensureLastLineEnds();
        Section s;
        s.folded = sf;
        s.lines.push_back({'[' + sec + ']', "\r\n"});
        s.lines.push_back({k + '=' + encodedValue(v), "\r\n"});
        s.keys.insert(folded(k), 1);
        s.lastKeyLine = 1;
        sectionIndex.insert(sf, sections.size());
        sections.push_back(std::move(s));
        return;
    }

    Section &s = sections[*si];
    const QByteArray kf = folded(k);
    const auto ki = s.keys.constFind(kf);
    if (ki != s.keys.cend()) {
        Line &line = s.lines[*ki];
        const Parsed p = parseLine(line.text);
        if (p.value == v)
            return;
        // The key and the spacing around "=" stay as the file had them.
        qsizetype start = p.eq + 1;
        while (start < line.text.size() && isBlank(line.text[start]))
            ++start;
        line.text = line.text.left(start) + encodedValue(v);
        return;
    }

    const std::size_t at = s.lastKeyLine + 1;
    endLine(s.lines[at - 1]);
    s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(at), Line{k + '=' + encodedValue(v), "\r\n"});
    s.keys.insert(kf, at);
    s.lastKeyLine = at;
}

void IniProfile::writeInteger(const SjisText &section, const SjisText &key, std::int32_t value) {
    writeString(section, key, SjisText(QByteArray::number(value)));
}

bool IniProfile::hasSection(const SjisText &section) const {
    return sectionIndex.contains(folded(section.bytes()));
}

void IniProfile::removeSection(const SjisText &section) {
    const QByteArray sf = folded(section.bytes());
    if (!sectionIndex.contains(sf))
        return;
    dirty = true;
    // A second section of the name would otherwise be read in the first's
    // place. The lines before any section are no section.
    sections.erase(
        std::remove_if(sections.begin() + 1, sections.end(), [&sf](const Section &s) { return s.folded == sf; }),
        sections.end());
    sectionIndex.clear();
    for (std::size_t i = 1; i < sections.size(); ++i)
        if (!sectionIndex.contains(sections[i].folded))
            sectionIndex.insert(sections[i].folded, i);
}

QByteArray IniProfile::content() const {
    qsizetype size = 0;
    for (const Section &s : sections)
        for (const Line &l : s.lines)
            size += l.text.size() + l.eol.size();
    QByteArray out;
    out.reserve(size);
    for (const Section &s : sections)
        for (const Line &l : s.lines)
            out += l.text + l.eol;
    return out;
}

void IniProfile::flush() {
    if (!dirty)
        return;
    dirty = false;
    // A file that is there but could not be read is not replaced by the few
    // keys written into it.
    if (error != 0 && error != ENOENT)
        throw SettingsWriteError(file);
    try {
        textfile::save(file, content());
    } catch (const InOutError &) {
        throw SettingsWriteError(file);
    }
    error = 0;
}
