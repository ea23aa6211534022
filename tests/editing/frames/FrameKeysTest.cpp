// The keys each edit frame takes, the grade lists and the toggles of the grade keys.
#include "editing/frames/FrameKeys.h"

#include "model/items/Grades.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

using lf::test::PrintTo;
using C = EFrameCommand;

SShortcutKey Alt(int key)
{
    return {1, 0, 0, static_cast<std::uint16_t>(key)};
}
SShortcutKey Ctrl(int key)
{
    return {0, 1, 0, static_cast<std::uint16_t>(key)};
}
SShortcutKey AltCtrl(int key)
{
    return {1, 1, 0, static_cast<std::uint16_t>(key)};
}

struct KeyCase
{
    const char* name;
    EEditFrame frame;
    SShortcutKey key;
    SFrameKeyAction expected;
};

class FrameKeyTable : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P(FrameKeyTable, GivesTheFramesAction)
{
    const KeyCase& row = GetParam();
    const SFrameKeyAction action = FrameKeyAction(row.frame, row.key);
    EXPECT_EQ(action.focus, row.expected.focus);
    EXPECT_EQ(action.command, row.expected.command);
    EXPECT_EQ(action.slot, row.expected.slot);
    EXPECT_EQ(action.Taken(), row.expected.Taken());
}

constexpr int k1 = 0x31;
constexpr int kNumpad1 = 0x61;

INSTANTIATE_TEST_SUITE_P(
    EveryFrame, FrameKeyTable,
    ::testing::Values(
        KeyCase{"TrueFalseAlt1FocusesTheCombo", EEditFrame::TrueFalseAnswer, Alt(k1), {1, C::None, 0}},
        KeyCase{"TrueFalseCtrl1Switches", EEditFrame::TrueFalseAnswer, Ctrl(k1), {0, C::SwitchTrueFalse, 1}},
        KeyCase{"TrueFalseStopsAfterItsAltAction", EEditFrame::TrueFalseAnswer, AltCtrl(k1), {1, C::None, 0}},
        KeyCase{"TrueFalseAlt2IsNotTaken", EEditFrame::TrueFalseAnswer, Alt(0x32), {}},
        KeyCase{"EssayFeedbackStartsAtAlt2", EEditFrame::EssayFeedback, Alt(0x32), {2, C::None, 0}},
        KeyCase{"EssayFeedbackLeavesAlt1ToTheEditor", EEditFrame::EssayFeedback, Alt(k1), {}},
        KeyCase{"EssayFeedbackHasNoCtrlKeys", EEditFrame::EssayFeedback, Ctrl(0x32), {}},
        KeyCase{"ShortAnswerAlt5", EEditFrame::ShortAnswer, Alt(0x35), {5, C::None, 0}},
        KeyCase{"ShortAnswerAlt6IsNotTaken", EEditFrame::ShortAnswer, Alt(0x36), {}},
        KeyCase{"ShortAnswerCtrl3TogglesSlot3", EEditFrame::ShortAnswer, Ctrl(0x33), {0, C::GradeToggle, 3}},
        KeyCase{
            "MatchingCtrl2FocusesAnswerText", EEditFrame::Matching, Ctrl(0x32), {0, C::FocusAnswerText, 2}},
        KeyCase{"MultiChoiceRunsBothColumns", EEditFrame::MultiChoice, AltCtrl(0x33), {3, C::GradeToggle, 3}},
        KeyCase{"MultiChoiceCtrl6IsNotTaken", EEditFrame::MultiChoice, Ctrl(0x36), {}},
        KeyCase{"NumericalAlt6IsTheUnit", EEditFrame::Numerical, Alt(0x36), {6, C::None, 0}},
        KeyCase{"NumericalAlt7IsTheMultiplier", EEditFrame::Numerical, Alt(0x37), {7, C::None, 0}},
        KeyCase{"NumericalAlt8IsNotTaken", EEditFrame::Numerical, Alt(0x38), {}},
        KeyCase{"NumericalCtrl6IsNotTaken", EEditFrame::Numerical, Ctrl(0x36), {}},
        KeyCase{"RandomMatchingAlt1", EEditFrame::RandomShortAnswerMatching, Alt(k1), {1, C::None, 0}},
        KeyCase{"CalculatedAlt9", EEditFrame::Calculated, Alt(0x39), {9, C::None, 0}},
        KeyCase{"CalculatedCtrl1GradeNone", EEditFrame::Calculated, Ctrl(k1), {0, C::GradeNone, 1}},
        KeyCase{"CalculatedCtrl2Grade100", EEditFrame::Calculated, Ctrl(0x32), {0, C::Grade100, 2}},
        KeyCase{"CalculatedCtrl3IsNotTaken", EEditFrame::Calculated, Ctrl(0x33), {}},
        KeyCase{"HeaderCtrl1Picture", EEditFrame::Header, Ctrl(k1), {0, C::PictureChoice, 1}},
        KeyCase{"HeaderCtrl2Recording", EEditFrame::Header, Ctrl(0x32), {0, C::VoiceRecording, 2}},
        KeyCase{"HeaderCtrl3MediaFile", EEditFrame::Header, Ctrl(0x33), {0, C::MediaFileChoice, 3}},
        KeyCase{"HeaderAlt6IsNotTaken", EEditFrame::Header, Alt(0x36), {}},
        KeyCase{"MultiChoiceFeedbackAlt4", EEditFrame::MultiChoiceFeedback, Alt(0x34), {4, C::None, 0}},
        KeyCase{"MultiChoiceFeedbackAlt5IsNotTaken", EEditFrame::MultiChoiceFeedback, Alt(0x35), {}},
        KeyCase{"TrueFalseFeedbackAlt3", EEditFrame::TrueFalseFeedback, Alt(0x33), {3, C::None, 0}},
        KeyCase{"TrueFalseFeedbackAlt1IsNotTaken", EEditFrame::TrueFalseFeedback, Alt(k1), {}},
        KeyCase{"PlainChoiceCtrl4Flips", EEditFrame::MultiChoiceV3, Ctrl(0x34), {0, C::FlipCorrect, 4}},
        KeyCase{"PlayerTakesNothing", EEditFrame::Player, AltCtrl(k1), {}},
        KeyCase{"DigitWithoutAltOrCtrlIsNotTaken", EEditFrame::MultiChoice, {0, 0, 0, k1}, {}},
        KeyCase{"LetterIsNotTaken", EEditFrame::Header, Ctrl('N'), {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Alt+0 and the numeric keypad's digits belong to no frame.
TEST(FrameKeys, ZeroAndKeypadDigitsAreNeverTaken)
{
    for (EEditFrame frame : {EEditFrame::TrueFalseAnswer, EEditFrame::EssayFeedback, EEditFrame::ShortAnswer,
                             EEditFrame::Matching, EEditFrame::MultiChoice, EEditFrame::Numerical,
                             EEditFrame::RandomShortAnswerMatching, EEditFrame::Calculated,
                             EEditFrame::Header, EEditFrame::MultiChoiceFeedback,
                             EEditFrame::TrueFalseFeedback, EEditFrame::MultiChoiceV3, EEditFrame::Player})
    {
        for (int key : {0x30, kNumpad1, kNumpad1 + 1, 0x60, 0x69})
        {
            EXPECT_FALSE(FrameKeyAction(frame, AltCtrl(key)).Taken())
                << static_cast<int>(frame) << " key " << key;
        }
    }
    EXPECT_EQ(FrameKeyDigit(Alt(0x30)), 0);
    EXPECT_EQ(FrameKeyDigit(Alt(0x39)), 9);
    EXPECT_EQ(FrameKeyDigit(Alt(kNumpad1)), 0);
}

TEST(FrameKeys, GradeListsFollowTheGradeTable)
{
    const auto& credits = GradeComboTexts(false);
    const auto& all = GradeComboTexts(true);
    ASSERT_EQ(credits.size(), 21u);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(kGradeCount));
    EXPECT_EQ(credits[0], "100 %");
    EXPECT_EQ(credits[2], "83.333 % ");
    EXPECT_EQ(credits[20], "0%");
    EXPECT_EQ(all[21], "-5 %");
    EXPECT_EQ(all[40], "-100 %");
    // Entry i shows grade i of the table: the number before " %" is its percent text.
    for (int i = 0; i < kGradeCount; ++i)
    {
        std::string text = all[static_cast<std::size_t>(i)];
        text = text.substr(0, text.find_first_of(" %"));
        EXPECT_EQ(text, GradeIndexToPercent(i)) << i;
        if (i <= 20)
        {
            EXPECT_EQ(all[static_cast<std::size_t>(i)], credits[static_cast<std::size_t>(i)]);
        }
    }
}

TEST(FrameKeys, GradeKeyTogglesBetweenNoneAndFullAndClearsPenalties)
{
    EXPECT_EQ(ToggledGradeIndex(kGradeIndexNone), kGradeIndex100);
    EXPECT_EQ(ToggledGradeIndex(kGradeIndex100), kGradeIndexNone);
    EXPECT_EQ(ToggledGradeIndex(8), kGradeIndexNone);  // "50 %"
    EXPECT_EQ(ToggledGradeIndex(32), kGradeIndexNone); // "-50 %"
    EXPECT_EQ(SwitchedTrueFalseIndex(0), 1);
    EXPECT_EQ(SwitchedTrueFalseIndex(1), 0);
    EXPECT_EQ(SwitchedTrueFalseIndex(-1), 0);
}

} // namespace
