#include "platform/SjisText.h"

#include <gtest/gtest.h>

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
