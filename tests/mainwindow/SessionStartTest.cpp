// Start Session as a rule on a small book: the checks of the book and the chapter, the panel's choices
// taken into the collection and the options, an empty Edit chapter, an empty sequence and the Cycle
// mode's question whether to clear the answers.
#include "mainwindow/rules/SessionStart.h"

#include "model/collection/Itemsarray.h"
#include "model/support/Prefs.h"
#include "tests/model/BookBuilder.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace
{

using lf::test::BookBuilder;

constexpr int kHintBar = 7;
constexpr int kDelayBar = 4;

struct StartCase
{
    const char* name;
    EPhase phase = EPhase::Test;
    bool bookLoaded = true;
    bool panelShown = true;
    bool bookNameEmpty = false;
    const char* chapter = "Planets";  // chosen in the chapter list; null for none
    int mode = 0;                     // the mode list's position: 1 Random, 3 Cycle
    const char* filterBefore = "All"; // the collection's chapter filter before the start
    ESessionStart outcome = ESessionStart::Started;
    const char* filterAfter = "Planets";
    std::int32_t members = 3; // in the sequence afterwards
    bool cycle = false;       // the Cycle mode afterwards
    bool hintTimes = false;   // the options took the Flash bars
    std::int32_t questions = 5;
};

void PrintTo(const StartCase& c, std::ostream* os)
{
    *os << c.name;
}

// Chapter Planets with three questions, Moons with none, Done with two answered right.
class SessionStart : public lf::test::BookSession
{
protected:
    SessionStart()
    {
        BookBuilder(items)
            .chapter("Planets")
            .multipleChoice("q1", {"right", "wrong"}, 0)
            .multipleChoice("q2", {"right", "wrong"}, 0)
            .multipleChoice("q3", {"right", "wrong"}, 0)
            .chapter("Moons")
            .chapter("Done")
            .multipleChoice("d1", {"right", "wrong"}, 0)
            .answered(true)
            .multipleChoice("d2", {"right", "wrong"}, 0)
            .answered(true);
    }

    std::int32_t Chapter(const char* name) const
    {
        if (std::string(name) == "All")
            return kAllCategoriesID;
        return items.GetCategoryIDAt(items.FindCategoryIndexByName(name));
    }
    // A start in the phase on the chapter, with the panel's bars at 7 and 4.
    SSessionStartInputs Inputs(EPhase phase, const char* chapter, int mode)
    {
        items.SetCurrentMode(phase, false);
        SSessionStartInputs inputs;
        inputs.phase = phase;
        inputs.bookLoaded = true;
        inputs.panelShown = true;
        inputs.chapterChosen = chapter != nullptr;
        inputs.chapterID = chapter ? Chapter(chapter) : 0;
        inputs.modePosition = mode;
        inputs.hintTime = kHintBar;
        inputs.delayBeforeHint = kDelayBar;
        return inputs;
    }
    int AnsweredInDone()
    {
        int answered = 0;
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
            if (items.GetItem(i)->GetCategoryID() == Chapter("Done") && items.GetItem(i)->IsAnswered())
                ++answered;
        return answered;
    }

    CPrefs prefs;
};

class SessionStartCases : public SessionStart, public testing::TestWithParam<StartCase>
{
};

TEST_P(SessionStartCases, DecidesAndPreparesTheSequence)
{
    const StartCase& c = GetParam();
    ASSERT_TRUE(items.SetActiveCategory(Chapter(c.filterBefore), false));
    SSessionStartInputs inputs = Inputs(c.phase, c.chapter, c.mode);
    inputs.bookLoaded = c.bookLoaded;
    inputs.panelShown = c.panelShown;
    inputs.bookNameEmpty = c.bookNameEmpty;
    const CPrefs defaults;

    EXPECT_EQ(StartSession(inputs, items, prefs), c.outcome);

    EXPECT_EQ(items.GetActiveCategory(), Chapter(c.filterAfter));
    EXPECT_EQ(items.GetSequenceCount(), c.members);
    EXPECT_EQ(items.GetCycleMode() != 0, c.cycle);
    EXPECT_EQ(prefs.m_HintDelayForLearnMode, c.hintTimes ? kHintBar : defaults.m_HintDelayForLearnMode);
    EXPECT_EQ(prefs.m_DelayBeforeHintDelayForLearnMode,
              c.hintTimes ? kDelayBar : defaults.m_DelayBeforeHintDelayForLearnMode);
    EXPECT_EQ(items.GetCount(), c.questions);
    if (c.outcome == ESessionStart::Started)
    {
        ASSERT_NE(items.GetCurrentItem(), nullptr);
        EXPECT_EQ(items.GetCurrentNumber(), 1);
        EXPECT_EQ(items.GetCurrentItem()->GetCategoryID(), Chapter(c.filterAfter));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Starts, SessionStartCases,
    testing::Values(StartCase{.name = "NoBookLoaded",
                              .phase = EPhase::Flash,
                              .bookLoaded = false,
                              .mode = 3,
                              .outcome = ESessionStart::NoBook,
                              .filterAfter = "All",
                              .members = 0},
                    StartCase{.name = "PanelShowsNoBookName",
                              .phase = EPhase::Flash,
                              .bookNameEmpty = true,
                              .outcome = ESessionStart::NoBook,
                              .filterAfter = "All",
                              .members = 0},
                    StartCase{
                        .name = "HiddenPanelNeedsNoBookName", .panelShown = false, .bookNameEmpty = true},
                    StartCase{.name = "StudyWithoutChapter",
                              .phase = EPhase::Review,
                              .chapter = nullptr,
                              .mode = 3,
                              .outcome = ESessionStart::NoChapter,
                              .filterAfter = "All",
                              .members = 0},
                    StartCase{.name = "TestOnAChapter"},
                    StartCase{.name = "FlashTakesTheHintBars", .phase = EPhase::Flash, .hintTimes = true},
                    StartCase{.name = "EditKeepsItsChapterFilter",
                              .phase = EPhase::Edit,
                              .chapter = "Done",
                              .filterBefore = "Planets"},
                    StartCase{.name = "EditWithoutChapterStarts",
                              .phase = EPhase::Edit,
                              .chapter = nullptr,
                              .filterBefore = "Planets"},
                    // The question an empty Edit sequence gets goes into chapter 0, so it shows only where
                    // that chapter is filtered.
                    StartCase{.name = "EditOnAnEmptyUnfiledChapterAddsAQuestion",
                              .phase = EPhase::Edit,
                              .filterBefore = "Unfiled",
                              .filterAfter = "Unfiled",
                              .members = 1,
                              .questions = 6},
                    StartCase{.name = "EditOnAnotherEmptyChapterAddsAQuestionItDoesNotShow",
                              .phase = EPhase::Edit,
                              .filterBefore = "Moons",
                              .outcome = ESessionStart::TooStrict,
                              .filterAfter = "Moons",
                              .members = 0,
                              .questions = 6},
                    StartCase{.name = "EmptyChapterIsTooStrict",
                              .chapter = "Moons",
                              .mode = 1,
                              .outcome = ESessionStart::TooStrict,
                              .filterAfter = "Moons",
                              .members = 0},
                    StartCase{.name = "CycleWithQuestionsLeftStarts", .mode = 3, .cycle = true},
                    StartCase{.name = "CycleWithEverythingRightAsksToClear",
                              .chapter = "Done",
                              .mode = 3,
                              .outcome = ESessionStart::AskToClear,
                              .filterAfter = "Done",
                              .members = 2},
                    StartCase{.name = "CycleOnAnEmptyChapterIsTooStrictWithTheModesOff",
                              .chapter = "Moons",
                              .mode = 3,
                              .outcome = ESessionStart::TooStrict,
                              .filterAfter = "Moons",
                              .members = 0}),
    [](const testing::TestParamInfo<StartCase>& info) { return info.param.name; });

// ---------------------------------------------------------------------------------------------------------
// The answer to the question whether to clear the answers

class ClearQuestion : public SessionStart, public testing::Test
{
protected:
    ClearQuestion() : inputs(Inputs(EPhase::Test, "Done", 3))
    {
        EXPECT_EQ(StartSession(inputs, items, prefs), ESessionStart::AskToClear);
        EXPECT_EQ(AnsweredInDone(), 2);
    }

    SSessionStartInputs inputs;
};

TEST_F(ClearQuestion, YesClearsTheAnswersAndTheNextTryStartsTheCycle)
{
    EXPECT_TRUE(AnswerClearQuestion(inputs, /*clear=*/true, /*bookLoaded=*/true, items));
    EXPECT_EQ(AnsweredInDone(), 0);
    EXPECT_TRUE(items.IsModified());

    EXPECT_EQ(StartSession(inputs, items, prefs), ESessionStart::Started);
    EXPECT_TRUE(items.GetCycleMode());
    EXPECT_EQ(items.GetSequenceCount(), 2);
}

TEST_F(ClearQuestion, YesWithTheBookGoneClearsNothing)
{
    EXPECT_TRUE(AnswerClearQuestion(inputs, /*clear=*/true, /*bookLoaded=*/false, items));
    EXPECT_EQ(AnsweredInDone(), 2);
}

TEST_F(ClearQuestion, NoGivesThePanelsModesBackAndKeepsTheAnswers)
{
    ASSERT_FALSE(items.GetCycleMode());
    EXPECT_FALSE(AnswerClearQuestion(inputs, /*clear=*/false, /*bookLoaded=*/true, items));
    EXPECT_TRUE(items.GetCycleMode());
    EXPECT_EQ(AnsweredInDone(), 2);
}

} // namespace
