#include "platform/OneLine.h"

#include <gtest/gtest.h>

namespace {

TEST(OneLine, EachControlCharacterBecomesABlank) {
    const struct {
        const char *what;
        QString text;
        QString line;
    } cases[] = {
        {"text of one line stays", QStringLiteral("山田　花子 \"A\",B"), QStringLiteral("山田　花子 \"A\",B")},
        {"a tab", QStringLiteral("山田\t花子"), QStringLiteral("山田 花子")},
        {"CR LF, LF and CR, one blank each", QStringLiteral("a\r\nb\nc\rd"), QStringLiteral("a  b c d")},
        {"NUL, Ctrl-Z and escape", QString::fromUtf16(u"a\u0000b\u001Ac\u001B", 6), QStringLiteral("a b c ")},
        {"DEL and a C1 control", QString::fromUtf16(u"a\u007Fb\u0085"), QStringLiteral("a b ")},
        {"nothing", QString(), QString()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(oneLine(c.text), c.line) << c.what;
}

} // namespace
