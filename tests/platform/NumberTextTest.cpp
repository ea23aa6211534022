#include "platform/sys/NumberText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace
{

using lf::test::PrintTo;
using namespace lf::sys;

TEST(NumberText, WritesDecimalDigitsAndPadsWithZeros)
{
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-12), "-12");
    EXPECT_EQ(NumberText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(NumberText(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(NumberText(std::uint8_t{200}), "200"); // a byte is a number, not a character
    EXPECT_EQ(NumberText(7, 3), "007");
    EXPECT_EQ(NumberText(1234, 2), "1234"); // never cut
    EXPECT_EQ(NumberText(-5, 3), "0-5");    // the width counts the sign, as the date fields always did
}

struct ReadCase
{
    const char* name;
    std::string_view text;
    bool strictOk;
    bool lenientOk;
    std::int32_t value; // the value read where a reader succeeds
    std::string_view rest;
};

class ReadNumberTest : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(ReadNumberTest, StrictAndLenientReadersAgreeWithTheirContracts)
{
    const ReadCase& row = GetParam();
    std::int32_t strict = -777;
    EXPECT_EQ(ReadNumber(row.text, strict), row.strictOk);
    EXPECT_EQ(strict, row.strictOk ? row.value : -777); // untouched on failure

    std::int32_t lenient = -777;
    std::string_view rest = "unset";
    EXPECT_EQ(ReadNumberLenient(row.text, lenient, &rest), row.lenientOk);
    EXPECT_EQ(lenient, row.lenientOk ? row.value : -777);
    if (row.lenientOk)
    {
        EXPECT_EQ(rest, row.rest);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadNumberTest,
                         ::testing::Values(ReadCase{"Plain", "42", true, true, 42, ""},
                                           ReadCase{"Negative", "-42", true, true, -42, ""},
                                           ReadCase{"Empty", "", false, false, 0, ""},
                                           ReadCase{"OnlyBlanks", "  ", false, false, 0, ""},
                                           ReadCase{"LeadingBlanks", " \t42", false, true, 42, ""},
                                           ReadCase{"TrailingBlanks", "42 ", false, true, 42, " "},
                                           ReadCase{"Plus", "+42", false, true, 42, ""},
                                           ReadCase{"PlusBeforeMinus", "+-42", false, false, 0, ""},
                                           ReadCase{"DoublePlus", "++42", false, false, 0, ""},
                                           ReadCase{"TrailingText", "12px", false, true, 12, "px"},
                                           ReadCase{"Fraction", "1.5", false, true, 1, ".5"},
                                           ReadCase{"LeadingText", "x12", false, false, 0, ""},
                                           ReadCase{"LargestInt", "2147483647", true, true, 2147483647, ""},
                                           ReadCase{"Overflow", "2147483648", false, false, 0, ""},
                                           ReadCase{"Underflow", "-2147483649", false, false, 0, ""},
                                           ReadCase{"OverflowWithText", "99999999999px", false, false, 0, ""},
                                           ReadCase{"LeadingZeros", "007", true, true, 7, ""}),
                         [](const ::testing::TestParamInfo<ReadCase>& info)
                         { return std::string(info.param.name); });

TEST(ReadNumber, UnsignedTypesRefuseASign)
{
    std::uint32_t value = 9;
    EXPECT_FALSE(ReadNumber("-1", value));
    EXPECT_TRUE(ReadNumber("4294967295", value));
    EXPECT_EQ(value, 4294967295u);
    EXPECT_FALSE(ReadNumber("4294967296", value));
}

TEST(ReadNumber, FloatingValuesUseThePointAndMustBeFinite)
{
    double value = 0;
    EXPECT_TRUE(ReadNumber("1.5e3", value));
    EXPECT_DOUBLE_EQ(value, 1500.0);
    EXPECT_TRUE(ReadNumber("-0.25", value));
    EXPECT_DOUBLE_EQ(value, -0.25);
    EXPECT_FALSE(ReadNumber("1,5", value)); // never the locale's comma
    EXPECT_FALSE(ReadNumber("inf", value));
    EXPECT_FALSE(ReadNumber("nan", value));
    EXPECT_FALSE(ReadNumber("1e999", value));
    EXPECT_FALSE(ReadNumber(".", value));

    std::string_view rest;
    EXPECT_TRUE(ReadNumberLenient(" +2.5pt", value, &rest));
    EXPECT_DOUBLE_EQ(value, 2.5);
    EXPECT_EQ(rest, "pt");
    EXPECT_FALSE(ReadNumberLenient("-inf", value));
}

TEST(HexDigits, WriteUpperCaseAndReadEitherCase)
{
    std::string out;
    for (const unsigned char byte : {0x00, 0x0F, 0xA5, 0xFF})
        AppendHexByte(out, byte);
    EXPECT_EQ(out, "000FA5FF");
    EXPECT_EQ(HexDigit(0x1B), 'B'); // only the low four bits count

    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    for (const char c : {'g', 'G', '/', ':', '@', '`', ' ', '\0'})
        EXPECT_EQ(HexDigitValue(c), -1) << c;
}

} // namespace
