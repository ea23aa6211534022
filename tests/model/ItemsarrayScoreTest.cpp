// Score rows of a session (per chapter, the view filter's row, the all-questions row) and the clock of a
// timed Test driven by the scripted tick count.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using lf::test::BookBuilder;
using lf::test::FindByName;

namespace
{

using lf::test::PrintTo;

// A row as "name:correct/partly/incorrect/unanswered" with its flags: T total, F filter, C current.
std::string RowText(const SScoreInfo& row)
{
    std::string text = row.Name + ":" + std::to_string(row.Correct) + "/" +
                       std::to_string(row.PartiallyCorrect) + "/" + std::to_string(row.Incorrect) + "/" +
                       std::to_string(row.Unanswered);
    if (row.isTotalRow)
        text += " T";
    if (row.isFilterRow)
        text += " F";
    if (row.isCurrent)
        text += " C";
    return text;
}

class ScoreTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    // Chapter Bio: right, partly right, wrong (marked), unanswered. Chapter Chem: right, an essay answered
    // but not graded, a description (not counted), unanswered; and a question in the Trash.
    void BuildSession()
    {
        BookBuilder(items)
            .chapter("Bio")
            .multipleChoice("bio_right", {"a", "b"}, 0)
            .answered(true)
            .item(qtMultipleChoice, "bio_partly")
            .multipleChoice("bio_wrong", {"a", "b"}, 0)
            .answered(false)
            .marked()
            .multipleChoice("bio_open", {"a", "b"}, 0)
            .chapter("Chem")
            .trueFalse("chem_right", true)
            .answered(true)
            .essay("chem_essay")
            .essayAnswer("my essay", "")
            .description("chem_desc")
            .multipleChoice("chem_open", {"a", "b"}, 0)
            .multipleChoice("binned", {"a"}, 0)
            .answered(true)
            .trashed();
        // Two right choices of which the user took one: partly right.
        CBaseItem* partly = FindByName(items, "bio_partly");
        for (const char* grade : {"1", "1", "0"})
        {
            SAnswerItem a;
            a.ID = partly->GetAnswerCount() + 1;
            a.AnswerText = "choice";
            a.Correct = grade;
            partly->AddAnswer(a);
        }
        SAnswerItem* first = nullptr;
        static_cast<CMultipleChoiceItem*>(partly)->ToggleUserChoice(0, first, true);
        ASSERT_EQ(partly->GetResult(), 2);
    }

    void Session(EActionMode phase, int view, std::int32_t chapter)
    {
        items.SetCurrentMode(static_cast<std::uint8_t>(phase), false);
        items.SetCurrentView(static_cast<std::uint8_t>(view), false);
        items.SetActiveCategory(chapter, false);
        items.SetFilterQuestion(true);
    }

    std::int32_t ChapterID(const std::string& name) const
    {
        return items.GetCategoryIDAt(items.FindCategoryIndexByName(name));
    }

    std::string Rows() const
    {
        std::string all;
        for (std::int32_t i = 0; i < items.GetScoreCount(); ++i)
        {
            SScoreInfo row;
            EXPECT_TRUE(items.GetScoreItem(i, row));
            all += (i ? " | " : "") + RowText(row);
        }
        return all;
    }
};

struct ScoreCase
{
    const char* name;
    EActionMode phase;
    int view;
    const char* chapter; // nullptr: all chapters
    bool allChapters;
    const char* rows;
};

class ScoreRowsTest : public ScoreTest, public ::testing::WithParamInterface<ScoreCase>
{
};

TEST_P(ScoreRowsTest, RowsOfTheSession)
{
    const ScoreCase& c = GetParam();
    BuildSession();
    Session(c.phase, c.view, c.chapter ? ChapterID(c.chapter) : kAllCategoriesID);
    EXPECT_TRUE(items.RefreshScoreData(c.allChapters));
    EXPECT_EQ(Rows(), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, ScoreRowsTest,
    ::testing::Values(ScoreCase{"TestAllChaptersNoView", eamTestMode, 0, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Total:2/1/1/2 T C"},
                      ScoreCase{"TestUnansweredFilterCountsOnlyMembers", eamTestMode, 3, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Unanswered:0/0/0/2 F | Total:2/1/1/2 T C"},
                      ScoreCase{"TestAnsweredFilter", eamTestMode, 2, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Answered:2/1/1/0 F | Total:2/1/1/2 T C"},
                      ScoreCase{"OneChapterWithoutTotal", eamTestMode, 0, "Chem", false, "Chem:1/0/0/1 C"},
                      ScoreCase{"OneChapterAskingForAll", eamTestMode, 0, "Chem", true,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 C | Total:2/1/1/2 T"},
                      ScoreCase{"ReviewIncorrectFilter", eamReviewMode, 3, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Incorrect:0/0/1/0 F | Total:2/1/1/2 T C"},
                      ScoreCase{"FlashIncorrectFilterOfOneChapter", eamLearnMode, 3, "Bio", false,
                                "Bio:1/1/1/1 C | Incorrect:0/0/1/0 F"},
                      ScoreCase{"ReviewCorrectFilterCountsPartlyRight", eamReviewMode, 2, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Correct:2/1/0/0 F | Total:2/1/1/2 T C"},
                      ScoreCase{"TestMarkedFilter", eamTestMode, 1, nullptr, false,
                                "Bio:1/1/1/1 | Chem:1/0/0/1 | Marked:0/0/1/0 F | Total:2/1/1/2 T C"}),
    [](const ::testing::TestParamInfo<ScoreCase>& info) { return std::string(info.param.name); });

TEST_F(ScoreTest, AnsweredAndFilterViewsOutsideAStudyPhaseMakeNoFilterRow)
{
    BuildSession();
    Session(eamEditMode, 2, kAllCategoriesID);
    EXPECT_TRUE(items.RefreshScoreData(false));
    EXPECT_EQ(Rows(), "Bio:1/1/1/1 | Chem:1/0/0/1 | Total:2/1/1/2 T C");
    EXPECT_NE(env.LogText().find("Score work for Test/Review/Learn modes only."), std::string::npos);
}

TEST_F(ScoreTest, UnknownViewMakesNoFilterRow)
{
    BuildSession();
    Session(eamTestMode, 0, kAllCategoriesID);
    items.SetCurrentView(7, false);
    EXPECT_TRUE(items.RefreshScoreData(false));
    EXPECT_EQ(Rows(), "Bio:1/1/1/1 | Chem:1/0/0/1 | Total:2/1/1/2 T C");
    EXPECT_NE(env.LogText().find(
                  "CItemsArray::RefreshScoreData() - ERROR: wrong 'm_Preferences.currentView' value"),
              std::string::npos);
}

TEST_F(ScoreTest, UngradedEssayStillGivesItsChapterARow)
{
    BookBuilder(items).chapter("Essays").essay("e").essayAnswer("text", "");
    Session(eamTestMode, 0, kAllCategoriesID);
    EXPECT_TRUE(items.RefreshScoreData(false));
    EXPECT_EQ(Rows(), "Essays:0/0/0/0 | Total:0/0/0/0 T C");
}

TEST_F(ScoreTest, BookOfDescriptionsGivesNoRows)
{
    BuildSession();
    ASSERT_TRUE(items.RefreshScoreData(true));
    BookBuilder(items).chapter("Intro").description("d1");
    Session(eamTestMode, 0, ChapterID("Intro"));
    EXPECT_FALSE(items.RefreshScoreData(false));
    EXPECT_EQ(items.GetScoreCount(), 0) << "the rows of the previous computation are gone";
}

TEST_F(ScoreTest, ChapterWithoutRecordLosesItsRowButCountsInTheTotal)
{
    BookBuilder(items)
        .chapter("Bio")
        .multipleChoice("known", {"a"}, 0)
        .answered(true)
        .multipleChoice("lost", {"a"}, 0);
    FindByName(items, "lost")->SetCategoryID(77);
    Session(eamTestMode, 0, kAllCategoriesID);
    EXPECT_TRUE(items.RefreshScoreData(false));
    EXPECT_EQ(Rows(), "Bio:1/0/0/0 | Total:1/0/0/1 T C");
    EXPECT_NE(env.LogText().find("AddScoreToArray (CItemsArray) - worng categoty number - 77"),
              std::string::npos);
}

TEST_F(ScoreTest, RowOutsideTheListLeavesTheCallersRow)
{
    BuildSession();
    Session(eamTestMode, 0, kAllCategoriesID);
    ASSERT_TRUE(items.RefreshScoreData(false));
    SScoreInfo row;
    row.Name = "untouched";
    EXPECT_FALSE(items.GetScoreItem(-1, row));
    EXPECT_FALSE(items.GetScoreItem(items.GetScoreCount(), row));
    EXPECT_EQ(row.Name, "untouched");
}

TEST_F(ScoreTest, RowsSurviveClearingTheBook)
{
    BuildSession();
    Session(eamTestMode, 0, kAllCategoriesID);
    ASSERT_TRUE(items.RefreshScoreData(false));
    items.Clear();
    EXPECT_EQ(items.GetScoreCount(), 3);
}

// --- The Test clock
// -------------------------------------------------------------------------------------------

class ClockTest : public ScoreTest
{
protected:
    ClockTest() { items.SetCurrentMode(eamTestMode, false); }

    void Elapse(std::uint32_t milliseconds) { env.system.tick += milliseconds; }
};

TEST_F(ClockTest, CountsDownAndRunsOutAtTheLimit)
{
    items.SetTimer(true, false, env.system.tick, 600);
    EXPECT_EQ(items.GetTimerLimitText(), "0:10:00");
    Elapse(1999);
    EXPECT_EQ(items.GetTimerText(false), "0:09:59");
    Elapse(598'000);
    EXPECT_EQ(items.GetTimerText(false), "0:00:01");
    EXPECT_FALSE(items.IsTimeUp());
    Elapse(1'001);
    EXPECT_FALSE(items.IsTimeUp()) << "the time left changes only when a clock text is asked for";
    EXPECT_EQ(items.GetTimerText(false), "0:00:00");
    EXPECT_TRUE(items.IsTimeUp());
    Elapse(60'000);
    EXPECT_EQ(items.GetTimerText(false), "0:00:00");
}

TEST_F(ClockTest, ShowsTheTimeUsedCappedAtTheLimit)
{
    items.SetTimer(true, true, env.system.tick, 600);
    Elapse(65'000);
    EXPECT_EQ(items.GetTimerText(false), "0:01:05");
    EXPECT_EQ(items.GetTimerText(true), "0:08:55");
    Elapse(536'000);
    EXPECT_EQ(items.GetTimerText(false), "0:10:00");
    EXPECT_TRUE(items.IsTimeUp());
}

TEST_F(ClockTest, TimeUsedStaysRightAcrossAWrapOfTheTickCounter)
{
    env.system.tick = 0xFFFFFFFFu - 4'999u; // five seconds before the wrap
    items.SetTimer(true, true, env.system.tick, 3'600);
    Elapse(10'000);
    EXPECT_EQ(items.GetTimerText(false), "0:00:10");
}

TEST_F(ClockTest, PauseShiftsTheStart)
{
    items.SetTimer(true, false, env.system.tick, 60);
    Elapse(30'000);
    items.ShiftTimerStart(20'000);
    EXPECT_EQ(items.GetTimerText(false), "0:00:50");
}

TEST_F(ClockTest, NoTextOutsideTestOrWithTheClockOff)
{
    items.SetTimer(true, false, env.system.tick, 600);
    items.SetCurrentMode(eamReviewMode, false);
    EXPECT_EQ(items.GetTimerText(false), "");
    items.SetCurrentMode(eamTestMode, false);
    EXPECT_EQ(items.GetTimerText(false), "0:10:00");
    items.StopTimer();
    EXPECT_FALSE(items.IsTimerOn());
    EXPECT_EQ(items.GetTimerText(false), "");
}

TEST_F(ClockTest, RestoreBringsBackTheSavedClock)
{
    items.SetTimer(true, false, env.system.tick, 600);
    items.SaveTimerState();
    items.SetTimer(false, true, 0, 30);
    items.RestoreTimerState();
    EXPECT_TRUE(items.IsTimerOn());
    EXPECT_FALSE(items.IsTimerShowingElapsed());
    EXPECT_EQ(items.GetTimerLimitText(), "0:10:00");
    EXPECT_EQ(items.GetTimerText(false), "0:10:00");
}

} // namespace
