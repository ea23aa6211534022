#include "model/support/Utils.h"
#include "model/support/Prefs.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace
{

using lf::test::PrintTo;

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// --- Chapter numbers ---

struct LayerCase
{
    const char* name;
    const char* a;
    const char* b;
    bool emptyLast;
    int expectedSign;
};

class CompareLayerNumbersTest : public ::testing::TestWithParam<LayerCase>
{
};

TEST_P(CompareLayerNumbersTest, OrdersAsChapterNumbers)
{
    const LayerCase& c = GetParam();
    EXPECT_EQ(Sign(CompareLayerNumbers(c.a, c.b, c.emptyLast)), c.expectedSign) << c.a << " vs " << c.b;
    // The order is the same read the other way round.
    EXPECT_EQ(Sign(CompareLayerNumbers(c.b, c.a, c.emptyLast)), -c.expectedSign) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareLayerNumbersTest,
    ::testing::Values(LayerCase{"NumbersNotText", "1.2", "1.10", false, -1},
                      LayerCase{"ShallowBeforeDeeper", "2", "2.1", false, -1},
                      LayerCase{"SubChapterAfterParent", "1.2", "1.2.1", false, -1},
                      LayerCase{"TenAfterNine", "10", "9", false, 1},
                      LayerCase{"EqualNumbers", "3.04", "3.4", false, 0},
                      LayerCase{"EmptyLastWhenAsked", "", "1", true, 1},
                      LayerCase{"EmptyFirstOtherwise", "", "1", false, -1},
                      LayerCase{"BothEmptyEqual", "", "", true, 0},
                      LayerCase{"MissingNumberFirst", "1.x", "1.0", false, -1},
                      LayerCase{"HugeNumbersStayOrdered", "99999999999999999999", "5", false, 1},
                      LayerCase{"HugeAgainstMissing", "1.99999999999999999999", "1.", false, 1}),
    [](const ::testing::TestParamInfo<LayerCase>& info) { return std::string(info.param.name); });

TEST(LayerNumbers, PartsSkipNonDigitsAndSaturate)
{
    EXPECT_EQ(GetLayerDepth(""), 1);
    EXPECT_EQ(GetLayerDepth("1.2.3"), 3);
    EXPECT_EQ(GetLayerNumberPart("12.3a4.x", 1), 12);
    EXPECT_EQ(GetLayerNumberPart("12.3a4.x", 2), 34);
    EXPECT_EQ(GetLayerNumberPart("12.3a4.x", 3), -1);
    EXPECT_EQ(GetLayerNumberPart("12.3a4.x", 4), -1);
    EXPECT_EQ(GetLayerNumberPart(" (7).1", 1), 7);
    EXPECT_EQ(GetLayerNumberPart("", 1), -1);
    EXPECT_EQ(GetLayerNumberPart("123456789012345678901234567890", 1), INT_MAX);
}

// --- Time ---

struct TimeTextCase
{
    std::int64_t seconds;
    const char* text;
};

class SecondsToTimeTextTest : public ::testing::TestWithParam<TimeTextCase>
{
};

TEST_P(SecondsToTimeTextTest, WritesHoursMinutesSeconds)
{
    EXPECT_EQ(SecondsToTimeText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, SecondsToTimeTextTest,
                         ::testing::Values(TimeTextCase{0, "0:00:00"}, TimeTextCase{59, "0:00:59"},
                                           TimeTextCase{65, "0:01:05"}, TimeTextCase{3600, "1:00:00"},
                                           TimeTextCase{3661, "1:01:01"}, TimeTextCase{40000, "11:06:40"},
                                           TimeTextCase{360000, "100:00:00"}, TimeTextCase{-65, "-0:01:05"}));

TEST(BackupTimeStamp, IsLocalTimeWithTwoDigitParts)
{
    lf::test::FakeSystem system; // local time is UTC
    // 2013-01-22 09:05:07 UTC
    EXPECT_EQ(MakeBackupTimeStamp(1358845507), "2013_01_22_09_05_07");
}

TEST(BackupTimeStamp, InvalidLocalTimeGivesPlaceholder)
{
    struct BrokenClock : lf::test::FakeSystem
    {
        lf::sys::LocalDateTime ToLocal(std::int64_t) override { return {1900, 0, 0, 0, 0, 0, 0}; }
    } system;
    EXPECT_EQ(MakeBackupTimeStamp(0), "xxxx_xx_xx_xx_xx_xx");
}

TEST(DateTimeValues, EncodeAndDecodeAgree)
{
    EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({1970, 1, 1, 0, 0, 0, 0}), 25569.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({2000, 1, 1, 18, 0, 0, 0}), 36526.75);
    EXPECT_DOUBLE_EQ(EncodeDateTime({1899, 12, 29, 6, 0, 0, 0}), -1.25);
    for (const lf::sys::LocalDateTime when :
         {lf::sys::LocalDateTime{2024, 2, 29, 23, 59, 59, 999},
          lf::sys::LocalDateTime{1899, 12, 29, 6, 0, 0, 0}, lf::sys::LocalDateTime{2013, 1, 22, 9, 5, 7, 0}})
        EXPECT_EQ(DecodeDateTime(EncodeDateTime(when)), when);
}

TEST(DateTimeValues, TimeNowComesFromTheClock)
{
    lf::test::FakeSystem system;
    system.utcSeconds = 1234567;
    EXPECT_EQ(TimeNow(), 1234567);
}

TEST(Comparisons, TextsByteWiseAndDatesByLaterSecond)
{
    EXPECT_LT(CompareTexts("B", "a"), 0); // bytes, not letters
    EXPECT_GT(CompareTexts("ab", "a"), 0);
    EXPECT_EQ(CompareTexts("a", "a"), 0);
    EXPECT_EQ(CompareDateTimes(1.0, 2.0), 1);
    EXPECT_EQ(CompareDateTimes(2.0, 1.0), -1);
    EXPECT_EQ(CompareDateTimes(1.5, 1.5), 0);
}

// --- Text helpers ---

TEST(TextHelpers, DigitCharsWithAndWithoutPoint)
{
    EXPECT_TRUE(IsDigitChar('0', false));
    EXPECT_TRUE(IsDigitChar('9', false));
    EXPECT_FALSE(IsDigitChar('.', false));
    EXPECT_TRUE(IsDigitChar('.', true));
    EXPECT_FALSE(IsDigitChar('a', true));
}

TEST(TextHelpers, NormalizeSearchTextDropsPunctuationAndSpace)
{
    EXPECT_EQ(NormalizeSearchText("It's a \"well-known\",\r\n\tfact."), "Itsawellknownfact");
    EXPECT_EQ(NormalizeSearchText("äö;:!"), "äö;:!");
}

TEST(TextHelpers, DecodePercentEscapesKeepsWhatIsNotAnEscape)
{
    EXPECT_EQ(DecodePercentEscapes("My%20Pictures%2fa.png"), "My Pictures/a.png");
    EXPECT_EQ(DecodePercentEscapes("100%"), "100%");
    EXPECT_EQ(DecodePercentEscapes("a%2"), "a%2");
    EXPECT_EQ(DecodePercentEscapes("%zz%41"), "%zzA");
}

struct LabelCase
{
    const char* name;
    int type;
    int format;
    int n;
    const char* label;
};

class AnswerNumberLabelTest : public ::testing::TestWithParam<LabelCase>
{
};

TEST_P(AnswerNumberLabelTest, FollowsTheParserOptions)
{
    const LabelCase& c = GetParam();
    CPrefs prefs;
    prefs.m_ParserNumberingType = static_cast<std::int8_t>(c.type);
    prefs.m_ParserNumberingFormat = static_cast<std::int8_t>(c.format);
    EXPECT_EQ(GetAnswerNumberLabel(c.n, prefs.GetParserNumberingType(), prefs.GetParserNumberingFormat()),
              c.label);
    // The parsers' form reads the same options from the options object.
    EXPECT_EQ(GetAnswerNumberLabel(c.n), c.label);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AnswerNumberLabelTest,
    ::testing::Values(
        LabelCase{"LetterPoint", 1, 0, 1, "a."}, LabelCase{"LetterBracket", 1, 1, 24, "x)"},
        LabelCase{"DigitsInBrackets", 0, 2, 3, "(3)"}, LabelCase{"DigitsTwoPlaces", 0, 0, 12, "12."},
        LabelCase{"LetterInBrackets", 1, 2, 1, "(a)"}, LabelCase{"DigitsBracket", 0, 1, 10, "10)"},
        LabelCase{"DigitsPastTheLetters", 0, 0, 25, "25."}, LabelCase{"LetterPastX", 1, 0, 25, "Error."},
        LabelCase{"LetterBelowA", 1, 0, 0, "Error."},
        // Stored values out of range count as the defaults (letters, a point).
        LabelCase{"UnknownTypeIsLetters", 56, 0, 2, "b."}, LabelCase{"UnknownFormatIsPoint", 0, -3, 7, "7."}),
    [](const ::testing::TestParamInfo<LabelCase>& info) { return std::string(info.param.name); });

TEST(TextHelpers, AnswerLabelWithoutOptionsUsesDefaults)
{
    ASSERT_EQ(CPrefs::GetPrefs(), nullptr);
    EXPECT_EQ(
        GetAnswerNumberLabel(3, CPrefs::kDefaultParserNumberingType, CPrefs::kDefaultParserNumberingFormat),
        "c.");
    EXPECT_EQ(GetAnswerNumberLabel(3), "c.");
    EXPECT_EQ(GetAnswerNumberLabel(25), "Error.");
    // A format the options never hold leaves the mark bare.
    EXPECT_EQ(GetAnswerNumberLabel(4, 1, 7), "d");
}

} // namespace
