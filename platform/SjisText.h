#pragma once

#include <QByteArray>
#include <QString>

// Text as the program stores it: Shift-JIS (code page 932) bytes. A type of its
// own keeps UTF-8 literals and stored bytes from being mixed by accident; the
// bytes are converted only where text is shown or taken from an editor.
class SjisText {
public:
    SjisText() = default;
    explicit SjisText(QByteArray bytes) : b(std::move(bytes)) {}

    // A literal written in UTF-8 in the source, converted once. Every literal
    // the program uses is representable in Shift-JIS.
    static SjisText lit(const char *utf8);
    // Text from an editor or the toolkit. Answers false, and names the first
    // character Shift-JIS cannot hold in badChar, instead of replacing it.
    static bool tryFromUnicode(const QString &s, SjisText &out, QString *badChar = nullptr);

    // For display: bytes that are not valid Shift-JIS show as U+FFFD, while
    // the stored bytes stay as they are.
    QString toUnicode() const;

    const QByteArray &bytes() const { return b; }
    bool isEmpty() const { return b.isEmpty(); }
    qsizetype size() const { return b.size(); }

    SjisText operator+(const SjisText &o) const { return SjisText(b + o.b); }
    SjisText &operator+=(const SjisText &o) { b += o.b; return *this; }
    bool operator==(const SjisText &o) const { return b == o.b; }
    bool operator!=(const SjisText &o) const { return b != o.b; }
    // Byte order, for sets and maps.
    bool operator<(const SjisText &o) const { return b < o.b; }

private:
    QByteArray b;
};

// The code point of a character as messages name it: "1F600" for U+1F600.
QString codePointText(const QString &character);

// True when the byte starts a double-byte Shift-JIS character.
inline bool isSjisLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
