#include "platform/SjisText.h"

#include <gtest/gtest.h>

#include <string>

// The two single bytes on which the code page's tables differ: ICU's shows
// 0x7F as U+001A and has no character for 0x80; the system's on Windows
// shows them as U+007F and U+0080.
#ifdef _WIN32
#define DEL u"\u007F"
#define X80 u"\u0080"
#else
#define DEL u"\u001A"
#define X80 u"\uFFFD"
#endif

TEST(SjisText, LiteralsBecomeShiftJisBytes) {
    EXPECT_EQ(SjisText::lit("×").bytes(), QByteArray("\x81\x7E"));
    EXPECT_EQ(SjisText::lit("座席表").bytes(), QByteArray("\x8D\xC0\x90\xC8\x95\x5C"));
    EXPECT_EQ(SjisText::lit("ｱ").bytes(), QByteArray("\xB1"));
}

TEST(SjisText, InvalidBytesShowAsReplacementCharactersAndStayStored) {
    const QByteArray bytes("A\x82\xA0\xFF\xA0" "B\x82", 7);
    const SjisText t(bytes);
    EXPECT_EQ(t.toUnicode(), QStringLiteral("Aあ\uFFFD\uFFFDB\uFFFD"));
    EXPECT_EQ(t.bytes(), bytes);
}

// A lead byte whose pair is no character shows as one replacement character
// and its second byte is read again on its own; any other byte that is no
// character shows as one replacement character.
TEST(SjisText, EachInvalidByteOrPairShowsAsOneReplacementCharacter) {
    const struct {
        QByteArray bytes;
        std::u16string shown;
    } cases[] = {
        {"\x81", u"\uFFFD"},
        {"\x80", X80},
        {"\xA0", u"\uFFFD"},
        {"\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"\x81\x20", u"\uFFFD "},
        {"\x81\x0A", u"\uFFFD\n"},
        {QByteArray("\x81\0", 2), std::u16string(u"\uFFFD\0", 2)},
        {"\x81\x7F", u"\uFFFD" DEL},
        {"\x7F\x80", DEL X80},
        {"\x81\xFD", u"\uFFFD\uFFFD"},
        // Unassigned rows: the second byte is a character of its own.
        {"\x85\x40", u"\uFFFD@"},
        {"\xEB\x40", u"\uFFFD@"},
        {"\x84\xBF", u"\uFFFD\uFF7F"},
        {"\x81\x81\x81", u"\uFF1D\uFFFD"},
        {"\x82\xA0\x82", u"\u3042\uFFFD"},
        {"\x9F\xFC\xE0", u"\u6ECC\uFFFD"},
        {"\xFC\x4B\xFC\xFC", u"\u9ED1\uFFFD\uFFFD"},
        // NEC and IBM extensions and the user-defined area are characters.
        {"\xFA\x40\xFF", u"\u2170\uFFFD"},
        {"\xED\x40\xFF", u"\u7E8A\uFFFD"},
        {"\x87\x40\x80", u"\u2460" X80},
        {"\xF0\x40\x80", u"\uE000" X80},
        {"\x81\x5C\x5C\x80", u"\u2015\\" X80},
        {"a\xC3\xAB\x80", u"a\uFF83\uFF6B" X80},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SjisText(c.bytes).toUnicode(), QString::fromStdU16String(c.shown)) << c.bytes.toHex().constData();
}

TEST(SjisText, EditorTextThatShiftJisCannotHoldIsRefusedAndNamed) {
    SjisText out(QByteArray("old"));
    QString bad;
    EXPECT_FALSE(SjisText::tryFromUnicode(QStringLiteral("山田😀花子"), out, &bad));
    EXPECT_EQ(bad, QStringLiteral("😀"));
    EXPECT_EQ(out.bytes(), QByteArray("old"));
    EXPECT_FALSE(SjisText::tryFromUnicode(QStringLiteral("a\u00E9"), out, &bad));
    EXPECT_EQ(bad, QStringLiteral("\u00E9"));
    EXPECT_TRUE(SjisText::tryFromUnicode(QStringLiteral("髙橋　ﾀﾛｳ①"), out, &bad));
    EXPECT_EQ(out.toUnicode(), QStringLiteral("髙橋　ﾀﾛｳ①"));
}

#ifndef _WIN32
#include "platform/SjisTable.h"
#include "support/CodePageReference.h"

// The program reads and writes the code page through a table of its own;
// it must read every byte and pair, and write every character, exactly as
// the converter it was made from does.
TEST(SjisTable, AgreesWithTheConverterItWasMadeFrom) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(sjistable::single(static_cast<unsigned char>(b)),
                  codepage::reference(QByteArray(1, static_cast<char>(b))).value_or(sjistable::noChar))
            << "byte " << b;
    int characters = 0;
    for (int lead = 0; lead < 256; ++lead) {
        for (int trail = 0; trail < 256; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const auto expected = isSjisLeadByte(static_cast<unsigned char>(lead))
                                      ? codepage::reference(QByteArray(bytes, 2)).value_or(sjistable::noChar)
                                      : sjistable::noChar;
            ASSERT_EQ(sjistable::pair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)),
                      expected)
                << "bytes " << lead << ' ' << trail;
            characters += expected != sjistable::noChar;
        }
    }
    EXPECT_GT(characters, 7000); // the JIS rows and the vendors' extensions
    for (unsigned c = 0; c < 0x10000; ++c) {
        std::uint16_t code = 0;
        const bool known = sjistable::code(static_cast<char16_t>(c), code);
        const auto expected = codepage::referenceCode(static_cast<char16_t>(c));
        ASSERT_EQ(known, expected.has_value()) << "U+" << std::hex << c;
        if (known) {
            ASSERT_EQ(code, *expected) << "U+" << std::hex << c;
        }
    }
}
#endif
