#include "platform/SjisText.h"

#include <QList>

#ifdef _WIN32
#include <windows.h>

#include <array>
#include <vector>
#else
#include "platform/SjisTable.h"
#endif

namespace {

constexpr char16_t noChar = 0xFFFF;

// Reads the bytes character by character through a table of what each single
// byte and each pair starting with a lead byte shows as (noChar where it is
// no character). Each invalid byte shows as one replacement character and the
// valid text around it stays readable: a lead byte whose pair is no character
// is taken alone, and the byte after it is read again as the start of the
// next character. ok tells whether every byte was part of a character.
template <class Table>
QString readByTable(const QByteArray &bytes, const Table &table, bool &ok) {
    ok = true;
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype k = 0;
    for (qsizetype i = 0; i < n;) {
        if (isSjisLeadByte(p[i]) && i + 1 < n) {
            const char16_t c = table.pair(p[i], p[i + 1]);
            if (c != noChar) {
                o[k++] = c;
                i += 2;
                continue;
            }
        }
        const char16_t c = table.one(p[i]);
        if (c == noChar)
            ok = false;
        o[k++] = c == noChar ? u'\uFFFD' : c;
        ++i;
    }
    out.truncate(k);
    return out;
}

// The code page's converters: the system's on Windows, the program's own
// table elsewhere. Both answer whether every character converted exactly.
#ifdef _WIN32
constexpr UINT codePage = 932;

QString decodeStrict(const QByteArray &bytes, bool &ok) {
    ok = true;
    if (bytes.isEmpty())
        return {};
    const int size = static_cast<int>(bytes.size());
    int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.constData(), size, nullptr, 0);
    DWORD flags = MB_ERR_INVALID_CHARS;
    if (n == 0) {
        ok = false;
        flags = 0;
        n = MultiByteToWideChar(codePage, 0, bytes.constData(), size, nullptr, 0);
    }
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.constData(), size, out.data(), n);
    return QString::fromStdWString(out);
}

QByteArray encodeStrict(const QString &s, bool &ok) {
    ok = true;
    if (s.isEmpty())
        return {};
    const auto *wide = reinterpret_cast<const wchar_t *>(s.utf16());
    const int size = static_cast<int>(s.size());
    BOOL defaultUsed = FALSE;
    const int n = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0, nullptr, &defaultUsed);
    QByteArray out(n, Qt::Uninitialized);
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, size, out.data(), n, nullptr, &defaultUsed);
    ok = n > 0 && !defaultUsed;
    return out;
}
#else
struct OwnTable {
    static_assert(sjistable::noChar == noChar);
    char16_t one(unsigned char c) const { return sjistable::single(c); }
    char16_t pair(unsigned char lead, unsigned char trail) const { return sjistable::pair(lead, trail); }
};

QString decodeStrict(const QByteArray &bytes, bool &ok) {
    return readByTable(bytes, OwnTable{}, ok);
}

QByteArray encodeStrict(const QString &s, bool &ok) {
    ok = true;
    QByteArray out;
    out.reserve(s.size() * 2);
    for (const QChar ch : s) {
        std::uint16_t code = 0;
        if (!sjistable::code(ch.unicode(), code)) {
            ok = false;
            out += '?';
        } else if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    return out;
}
#endif

// Encodes, and refuses characters that map to bytes meaning another
// character, so that what is stored is what was typed. The program's own
// table holds only characters whose bytes read back as them; the system's
// converter is asked to read its bytes back.
QByteArray encodeExact(const QString &s, bool &ok) {
    QByteArray bytes = encodeStrict(s, ok);
#ifdef _WIN32
    if (ok) {
        bool decodedOk = false;
        ok = decodeStrict(bytes, decodedOk) == s && decodedOk;
    }
#endif
    return bytes;
}

} // namespace

SjisText SjisText::lit(const char *utf8) {
    SjisText t;
    tryFromUnicode(QString::fromUtf8(utf8), t);
    return t;
}

bool SjisText::tryFromUnicode(const QString &s, SjisText &out, QString *badChar) {
    bool ok = false;
    QByteArray bytes = encodeExact(s, ok);
    if (ok) {
        out = SjisText(std::move(bytes));
        return true;
    }
    if (badChar) {
        badChar->clear();
        for (qsizetype i = 0; i < s.size(); ++i) {
            const qsizetype n = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
            const QString ch = s.mid(i, n);
            bool one = false;
            encodeExact(ch, one);
            if (!one) {
                *badChar = ch;
                break;
            }
            i += n - 1;
        }
    }
    return false;
}

#ifdef _WIN32
namespace {

// What each character's bytes show as, taken once from the system's code
// page: every single byte, and every pair that starts with a lead byte.
class CharTable {
public:
    CharTable() {
        // A decoder of its own for each, as a decoder that met an error may
        // keep a trace of it.
        auto decode = [](const char *bytes, qsizetype n) {
            bool ok = false;
            const QString s = decodeStrict(QByteArray(bytes, n), ok);
            // The code page has no character beyond the BMP, nor one that
            // shows as two units.
            return !ok || s.size() != 1 ? noChar : s.front().unicode();
        };
        leadIndex.fill(-1);
        int lead = 0;
        for (int c = 0; c < 256; ++c) {
            const char byte = static_cast<char>(c);
            single[static_cast<size_t>(c)] = decode(&byte, 1);
            if (isSjisLeadByte(static_cast<unsigned char>(c)))
                leadIndex[static_cast<size_t>(c)] = lead++;
        }
        pairs.resize(static_cast<size_t>(lead) * 256);
        for (int c = 0; c < 256; ++c) {
            if (leadIndex[static_cast<size_t>(c)] < 0)
                continue;
            for (int t = 0; t < 256; ++t) {
                const char bytes[2] = {static_cast<char>(c), static_cast<char>(t)};
                pairs[static_cast<size_t>(leadIndex[static_cast<size_t>(c)]) * 256 + static_cast<size_t>(t)] =
                    decode(bytes, 2);
            }
        }
    }

    char16_t one(unsigned char c) const { return single[c]; }
    char16_t pair(unsigned char lead, unsigned char trail) const {
        return pairs[static_cast<size_t>(leadIndex[lead]) * 256 + trail];
    }

private:
    std::array<char16_t, 256> single;
    std::array<int, 256> leadIndex;
    std::vector<char16_t> pairs;
};

} // namespace

// Valid text, nearly all text, goes through the system's decoder at once;
// the table is built only when invalid bytes first show up, not at start-up.
// The valid characters show as the system's decoder shows them, since each
// decodes on its own.
QString SjisText::toUnicode() const {
    bool ok = false;
    QString whole = decodeStrict(b, ok);
    if (ok)
        return whole;
    static const CharTable table;
    return readByTable(b, table, ok);
}
#else
QString SjisText::toUnicode() const {
    bool ok = false;
    return decodeStrict(b, ok);
}
#endif

QString codePointText(const QString &character) {
    return QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}
