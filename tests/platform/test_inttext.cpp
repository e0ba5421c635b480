#include "platform/Errors.h"
#include "platform/IntText.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
    const char *what;
    const char *text;
    bool ok;
    std::int32_t value;
};

const IntCase cases[] = {
    {"Empty", "", false, 0},
    {"OnlyASpace", " ", false, 0},
    {"OneDigit", "5", true, 5},
    {"LeadingSpace", " 5", true, 5},
    {"LeadingSpaces", "   42", true, 42},
    {"TrailingSpace", "5 ", false, 0},
    {"PlusSign", "+5", true, 5},
    {"MinusSign", "-5", true, -5},
    {"LeadingZero", "05", true, 5},
    {"HexWithDollarSign", "$A", true, 10},
    {"HexWithDollarSignLowerCase", "$a", true, 10},
    {"HexWithX", "x1F", true, 31},
    {"HexWithCapitalX", "X1f", true, 31},
    {"HexWithZeroAndCapitalX", "0X1f", true, 31},
    {"HexWithZeroAndX", "0x10", true, 16},
    {"NegativeHex", "-$A", true, -10},
    {"DollarSignAlone", "$", false, 0},
    {"ZeroAndXAlone", "0x", false, 0},
    {"XAlone", "x", false, 0},
    {"PlusSignAlone", "+", false, 0},
    {"MinusSignAlone", "-", false, 0},
    {"SpaceAndMinusSignAlone", " -", false, 0},
    {"Largest", "2147483647", true, 2147483647},
    {"OneAboveTheLargest", "2147483648", false, 0},
    {"Smallest", "-2147483648", true, INT32_MIN},
    {"OneBelowTheSmallest", "-2147483649", false, 0},
    {"BeyondSixtyFourBits", "99999999999999999999", false, 0},
    {"HexAllOnesIsMinusOne", "$FFFFFFFF", true, -1},
    {"HexTopBitIsTheSmallest", "$80000000", true, INT32_MIN},
    {"HexOfThirtyThreeBits", "$100000000", false, 0},
    {"HexWithManyLeadingZeros", "$000000000001", true, 1},
    {"Exponent", "1e3", false, 0},
    {"FullWidthDigit", "\xEF\xBC\x95", false, 0}, // full-width digit five
    {"LeadingTab", "\t5", false, 0},
    {"TrailingTab", "5\t", false, 0},
    {"TwoSigns", "+-5", false, 0},
    {"SpaceAfterTheSign", "- 5", false, 0},
    {"Zero", "0", true, 0},
    {"MinusZero", "-0", true, 0},
    {"TrailingLetter", "12a", false, 0},
    {"HexWithALetterBeyondF", "$G", false, 0},
    {"SignAfterTheHexPrefix", "0x-1", false, 0},
};

void PrintTo(const IntCase &c, std::ostream *os) {
    *os << '"' << c.text << '"';
}

class IntTextTable : public ::testing::TestWithParam<IntCase> {};

TEST_P(IntTextTable, ParsesExactlyTheIntegerTexts) {
    const IntCase &c = GetParam();
    const SjisText text = SjisText::lit(c.text);
    std::int32_t v = 12345;
    EXPECT_EQ(inttext::tryParse(text.bytes(), v), c.ok) << c.text;
    if (c.ok) {
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_EQ(inttext::parse(text), c.value);
    } else {
        try {
            inttext::parse(text);
            ADD_FAILURE() << "no error for '" << c.text << "'";
        } catch (const ConversionError &e) {
            EXPECT_EQ(e.message(), QStringLiteral("'") + QString::fromUtf8(c.text)
                                       + QStringLiteral("' は整数ではありません"));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, IntTextTable, ::testing::ValuesIn(cases), ByWhat());

TEST(IntText, FormatsDecimalAndTwoDigitForms) {
    EXPECT_EQ(inttext::format(0).bytes(), "0");
    EXPECT_EQ(inttext::format(-17).bytes(), "-17");
    EXPECT_EQ(inttext::format(INT32_MIN).bytes(), "-2147483648");
    EXPECT_EQ(inttext::formatTwoDigits(0).bytes(), "00");
    EXPECT_EQ(inttext::formatTwoDigits(7).bytes(), "07");
    EXPECT_EQ(inttext::formatTwoDigits(48).bytes(), "48");
    EXPECT_EQ(inttext::formatTwoDigits(123).bytes(), "123");
    EXPECT_EQ(inttext::formatTwoDigits(-5).bytes(), "-05");
    EXPECT_EQ(inttext::formatTwoDigits(INT32_MIN).bytes(), "-2147483648");
}

} // namespace
