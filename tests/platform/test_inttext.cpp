#include "platform/Errors.h"
#include "platform/IntText.h"

#include <gtest/gtest.h>

namespace {

struct IntCase {
    const char *text;
    bool ok;
    std::int32_t value;
};

const IntCase cases[] = {
    {"", false, 0},
    {" ", false, 0},
    {"5", true, 5},
    {" 5", true, 5},
    {"   42", true, 42},
    {"5 ", false, 0},
    {"+5", true, 5},
    {"-5", true, -5},
    {"05", true, 5},
    {"$A", true, 10},
    {"$a", true, 10},
    {"x1F", true, 31},
    {"X1f", true, 31},
    {"0X1f", true, 31},
    {"0x10", true, 16},
    {"-$A", true, -10},
    {"$", false, 0},
    {"0x", false, 0},
    {"x", false, 0},
    {"+", false, 0},
    {"-", false, 0},
    {" -", false, 0},
    {"2147483647", true, 2147483647},
    {"2147483648", false, 0},
    {"-2147483648", true, INT32_MIN},
    {"-2147483649", false, 0},
    {"99999999999999999999", false, 0},
    {"$FFFFFFFF", true, -1},
    {"$80000000", true, INT32_MIN},
    {"$100000000", false, 0},
    {"$000000000001", true, 1},
    {"1e3", false, 0},
    {"\xEF\xBC\x95", false, 0}, // full-width digit five
    {"\t5", false, 0},
    {"5\t", false, 0},
    {"+-5", false, 0},
    {"- 5", false, 0},
    {"0", true, 0},
    {"-0", true, 0},
    {"12a", false, 0},
    {"$G", false, 0},
    {"0x-1", false, 0},
};

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

INSTANTIATE_TEST_SUITE_P(Cases, IntTextTable, ::testing::ValuesIn(cases));

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
