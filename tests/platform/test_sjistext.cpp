#include "platform/SjisText.h"

#include <gtest/gtest.h>

#include <string>

TEST(SjisText, LiteralsBecomeShiftJisBytes) {
    EXPECT_EQ(SjisText::lit("×").bytes(), QByteArray("\x81\x7E"));
    EXPECT_EQ(SjisText::lit("座席表").bytes(), QByteArray("\x8D\xC0\x90\xC8\x95\x5C"));
    EXPECT_EQ(SjisText::lit("ｱ").bytes(), QByteArray("\xB1"));
}

TEST(SjisText, InvalidBytesShowAsReplacementCharactersAndStayStored) {
    const QByteArray bytes("A\x82\xA0\xFF\x80" "B\x82", 7);
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
        {"\x80", u"\uFFFD"},
        {"\xA0", u"\uFFFD"},
        {"\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"\x81\x20", u"\uFFFD "},
        {"\x81\x0A", u"\uFFFD\n"},
        {QByteArray("\x81\0", 2), std::u16string(u"\uFFFD\0", 2)},
        // 0x7F is the one byte the code page shows as U+001A.
        {"\x81\x7F", u"\uFFFD\u001A"},
        {"\x7F\x80", u"\u001A\uFFFD"},
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
        {"\x87\x40\x80", u"\u2460\uFFFD"},
        {"\xF0\x40\x80", u"\uE000\uFFFD"},
        {"\x81\x5C\x5C\x80", u"\u2015\\\uFFFD"},
        {"a\xC3\xAB\x80", u"a\uFF83\uFF6B\uFFFD"},
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
