// The visible sequence: membership by phase, view, chapter, style and search; the book order; the moves in
// the modes Normal, Random, Cycle and Depth; the filter snapshot.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using lf::test::BookBuilder;
using lf::test::BookOrderNames;
using lf::test::CurrentName;
using lf::test::FindByName;
using lf::test::SequenceNames;

namespace
{

using lf::test::PrintTo;

class SequenceTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    // Rebuilds for a phase and view over all chapters.
    std::string Build(EActionMode phase, int view, std::int32_t chapter = kAllCategoriesID)
    {
        items.SetCurrentMode(static_cast<std::uint8_t>(phase), false);
        items.SetCurrentView(static_cast<std::uint8_t>(view), false);
        items.SetActiveCategory(chapter, false);
        EXPECT_TRUE(items.SetFilterQuestion(true));
        return SequenceNames(items);
    }

    // A book of every answered state, kinds 9 and 10, a second chapter and two questions in the Trash.
    void BuildMixedBook()
    {
        BookBuilder(items)
            .chapter("Bio")
            .multipleChoice("mc_right", {"a", "b"}, 0)
            .layer("1")
            .answered(true)
            .multipleChoice("mc_wrong", {"a", "b"}, 0)
            .layer("2")
            .answered(false)
            .marked()
            .trueFalse("tf_open", true)
            .layer("3")
            .essay("essay_ungraded")
            .layer("4")
            .essayAnswer("my essay", "")
            .description("desc")
            .layer("5")
            .item(qtRandomShortAnswerMatching, "random9")
            .layer("6")
            .item(qtEmbedded, "cloze10")
            .layer("7")
            .chapter("Chem")
            .multipleChoice("chem_mc", {"a"}, 0)
            .layer("1")
            .multipleChoice("binned", {"a"}, 0)
            .trashed()
            .item(qtRandomShortAnswerMatching, "binned9")
            .trashed();
    }
};

// --- Membership -------------------------------------------------------------------------------------------

struct PhaseCase
{
    const char* name;
    EActionMode phase;
    int view;
    const char* expected;
};

class PhaseTest : public SequenceTest, public ::testing::WithParamInterface<PhaseCase>
{
};

TEST_P(PhaseTest, MembersOfTheMixedBook)
{
    BuildMixedBook();
    const PhaseCase& c = GetParam();
    EXPECT_EQ(Build(c.phase, c.view), c.expected);
    EXPECT_EQ(items.GetSequenceCount(), items.GetGridCount());
    for (std::int32_t row = 0; row < items.GetGridCount(); ++row)
        EXPECT_TRUE(items.GetGridListItem(row)->IsInSequence());
}

INSTANTIATE_TEST_SUITE_P(
    Phases, PhaseTest,
    ::testing::Values(
        PhaseCase{"TestAll", eamTestMode, 0, "mc_right,mc_wrong,tf_open,essay_ungraded,desc,chem_mc"},
        PhaseCase{"TestMarked", eamTestMode, 1, "mc_wrong"},
        PhaseCase{"TestAnswered", eamTestMode, 2, "mc_right,mc_wrong,essay_ungraded"},
        PhaseCase{"TestUnanswered", eamTestMode, 3, "tf_open,desc,chem_mc"},
        PhaseCase{"ReviewAll", eamReviewMode, 0, "mc_right,mc_wrong,tf_open,essay_ungraded,desc,chem_mc"},
        PhaseCase{"ReviewCorrect", eamReviewMode, 2, "mc_right,essay_ungraded"},
        PhaseCase{"ReviewIncorrect", eamReviewMode, 3, "mc_wrong"},
        PhaseCase{"FlashCorrect", eamLearnMode, 2, "mc_right,essay_ungraded"},
        PhaseCase{"FlashIncorrect", eamLearnMode, 3, "mc_wrong"},
        PhaseCase{"TestNoView", eamTestMode, -1, ""},
        PhaseCase{"EditIgnoresTheView", eamEditMode, 1,
                  "mc_right,mc_wrong,tf_open,essay_ungraded,desc,random9,cloze10,chem_mc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SequenceTest, KindsNineAndTenOnlyEverInEdit)
{
    BuildMixedBook();
    for (EActionMode phase : {eamTestMode, eamReviewMode, eamLearnMode})
    {
        for (int view = 0; view <= 3; ++view)
        {
            const std::string names = Build(phase, view);
            EXPECT_EQ(names.find("random9"), std::string::npos) << phase << "/" << view;
            EXPECT_EQ(names.find("cloze10"), std::string::npos) << phase << "/" << view;
        }
    }
}

TEST_F(SequenceTest, FlashcardStyleTakesOnlyMultipleChoiceInEveryPhase)
{
    BuildMixedBook();
    items.SetQuestionStyle(0); // the Flashcard style of the options
    for (EActionMode phase : {eamTestMode, eamReviewMode, eamLearnMode, eamEditMode})
        EXPECT_EQ(Build(phase, 0), "mc_right,mc_wrong,chem_mc") << phase;
}

TEST_F(SequenceTest, ChapterFilterAndTheTrash)
{
    BuildMixedBook();
    const std::int32_t chem = items.GetCategoryIDAt(items.FindCategoryIndexByName("Chem"));
    EXPECT_EQ(Build(eamTestMode, 0, chem), "chem_mc");
    EXPECT_EQ(Build(eamEditMode, 0, kTrashCategoryID), "binned,binned9") << "whatever kind or phase";
    items.SetQuestionStyle(0); // the Flashcard style of the options
    EXPECT_EQ(Build(eamEditMode, 0, kTrashCategoryID), "binned,binned9") << "whatever style";
    EXPECT_EQ(Build(eamTestMode, 0, kTrashCategoryID), "");
}

TEST_F(SequenceTest, UnknownChapterIsRefused)
{
    BuildMixedBook();
    EXPECT_TRUE(items.SetActiveCategory(0, false));
    EXPECT_FALSE(items.SetActiveCategory(77, true));
    EXPECT_EQ(items.GetActiveCategory(), 0);
    EXPECT_NE(env.LogText().find("CItemsArray::SetActiveCategory - Unknown category"), std::string::npos);
}

TEST_F(SequenceTest, NoPhaseRefusesTheRebuildAndKeepsTheRows)
{
    BuildMixedBook();
    Build(eamTestMode, 1);
    items.SetCurrentMode(255, false);
    EXPECT_EQ(items.GetCurrentMode(), eamNone);
    EXPECT_FALSE(items.SetFilterQuestion(false));
    EXPECT_EQ(items.GetGridCount(), 1);
    EXPECT_NE(env.LogText().find("CItemsArray::SetFilterQuestion() - m_Preferences.currentMode == eamNone"),
              std::string::npos);
}

TEST_F(SequenceTest, ViewByteTwoFiftyFiveIsNoView)
{
    BuildMixedBook();
    items.SetCurrentView(255, false);
    EXPECT_EQ(items.GetCurrentView(), -1);
}

TEST_F(SequenceTest, MarkedOnlyAndCountQueries)
{
    BuildMixedBook();
    Build(eamEditMode, 0);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.markedOnly = 1;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "mc_wrong");

    options.markedOnly = 0;
    options.problemKind = 5; // number of answer choices = 2
    options.problemNumber = 2;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "mc_right,mc_wrong");

    options.problemKind = 7; // more than 0 answer choices
    options.problemNumber = 0;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "mc_right,mc_wrong,tf_open,essay_ungraded,chem_mc");
}

TEST_F(SequenceTest, MarkedOnlySearchStillNeedsItsText)
{
    BookBuilder(items)
        .multipleChoice("marked_hit", {"a"}, 0)
        .searchText("capitalparis")
        .marked()
        .multipleChoice("marked_miss", {"a"}, 0)
        .searchText("capitalrome")
        .marked()
        .multipleChoice("unmarked_hit", {"a"}, 0)
        .searchText("capitalparis");
    Build(eamEditMode, 0);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.markedOnly = 1;
    options.searchInKeywords = 1;
    options.searchText = "paris";
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "marked_hit");
}

TEST_F(SequenceTest, TextSearchUsesTheBuiltSearchTexts)
{
    BookBuilder(items)
        .multipleChoice("paris", {"a"}, 0)
        .searchText("capitalparis")
        .multipleChoice("rome", {"a"}, 0)
        .searchText("capitalrome")
        .multipleChoice("unbuilt", {"a"}, 0);
    Build(eamEditMode, 0);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.searchText = " Paris ";
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "paris,rome,unbuilt") << "without a scope the text search is off";
    options.searchInKeywords = 1;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "paris");
}

TEST_F(SequenceTest, DuplicateQueryGroupsThreeCopiesTogether)
{
    BookBuilder(items)
        .multipleChoice("s1", {"a"}, 0)
        .searchText("same")
        .multipleChoice("x", {"a"}, 0)
        .searchText("x")
        .multipleChoice("s2", {"a"}, 0)
        .searchText("same")
        .multipleChoice("y", {"a"}, 0)
        .searchText("y")
        .multipleChoice("s3", {"a"}, 0)
        .searchText("same");
    Build(eamEditMode, 0);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.problemKind = 9;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "s1,s2,s3");
    EXPECT_EQ(BookOrderNames(items), "x,y,s1,s2,s3");
    EXPECT_EQ(FindByName(items, "s3")->GetDuplicateGroup(), FindByName(items, "s1")->GetDuplicateGroup());
}

TEST_F(SequenceTest, DuplicateQueryLeavesASinglePairWhereItStands)
{
    BookBuilder(items)
        .multipleChoice("p1", {"a"}, 0)
        .searchText("pair")
        .multipleChoice("x", {"a"}, 0)
        .searchText("x")
        .multipleChoice("p2", {"a"}, 0)
        .searchText("pair");
    Build(eamEditMode, 0);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.problemKind = 9;
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "p1,p2");
    EXPECT_EQ(BookOrderNames(items), "p1,x,p2");
}

TEST_F(SequenceTest, ResetKeepsPhaseViewAndQuery)
{
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.currentMode = eamReviewMode;
    options.currentView = 3;
    options.problemKind = 4;
    options.markedOnly = 1;
    options.randomMode = options.cycleMode = options.depthMode = 1;
    options.searchInAnswers = 1;
    options.searchText = "t";
    options.currentCategory = 0;
    items.SetFilterOptions(options);
    items.ResetFilterOptions();
    items.GetFilterOptions(options);
    EXPECT_EQ(options.currentMode, eamReviewMode);
    EXPECT_EQ(options.currentView, 3);
    EXPECT_EQ(options.problemKind, 4);
    EXPECT_EQ(options.markedOnly + options.randomMode + options.cycleMode + options.depthMode +
                  options.searchInAnswers,
              0);
    EXPECT_EQ(options.searchText, "");
    EXPECT_EQ(options.currentCategory, kAllCategoriesID);
}

TEST_F(SequenceTest, GridRowsAndSelection)
{
    BuildMixedBook();
    Build(eamTestMode, 3);
    ASSERT_EQ(items.GetGridCount(), 3);
    EXPECT_EQ(items.GetItem(items.GetItemIndexOfGridRow(2))->GetName(), "chem_mc");
    EXPECT_EQ(items.GetItemIndexOfGridRow(3), -1);
    EXPECT_EQ(items.GetGridListItem(-1), nullptr);
    EXPECT_FALSE(items.HasSelectedGridItems());
    FindByName(items, "mc_right")->SetStatus(qsSelected, true); // not a row
    EXPECT_FALSE(items.HasSelectedGridItems());
    items.GetGridListItem(1)->SetStatus(qsSelected, true);
    EXPECT_TRUE(items.HasSelectedGridItems());
}

// --- Book order -------------------------------------------------------------------------------------------

TEST_F(SequenceTest, StudyRebuildSortsTheBookEditRebuildDoesNot)
{
    BookBuilder(items)
        .chapter("Chem")
        .multipleChoice("c1", {"a"}, 0)
        .layer("1")
        .chapter("Bio")
        .multipleChoice("b10", {"a"}, 0)
        .layer("10")
        .multipleChoice("b_empty", {"a"}, 0)
        .layer("")
        .multipleChoice("b2", {"a"}, 0)
        .layer("2")
        .created(5000)
        .multipleChoice("b2_old", {"a"}, 0)
        .layer("2")
        .created(4000)
        .unfiled()
        .multipleChoice("u", {"a"}, 0)
        .layer("9")
        .multipleChoice("binned", {"a"}, 0)
        .trashed();
    const std::string inserted = BookOrderNames(items);
    Build(eamEditMode, 0);
    EXPECT_EQ(BookOrderNames(items), inserted);
    Build(eamReviewMode, 1); // no member, the whole book is sorted all the same
    EXPECT_EQ(BookOrderNames(items), "binned,u,c1,b2_old,b2,b10,b_empty");
}

TEST_F(SequenceTest, SortingKeepsThePositionOnItsQuestionAndRenumbersIt)
{
    BookBuilder(items)
        .multipleChoice("q3", {"a"}, 0)
        .layer("3")
        .multipleChoice("q1", {"a"}, 0)
        .layer("1")
        .multipleChoice("q2", {"a"}, 0)
        .layer("2");
    Build(eamEditMode, 0);
    ASSERT_TRUE(items.First());
    ASSERT_EQ(CurrentName(items), "q3");
    items.SortItems();
    EXPECT_EQ(BookOrderNames(items), "q1,q2,q3");
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetCurrentNumber(), 3);
    EXPECT_FALSE(items.Next()) << "the last member has no next";
    ASSERT_TRUE(items.Prev());
    EXPECT_EQ(CurrentName(items), "q2");
    EXPECT_EQ(items.GetCurrentNumber(), 2);
}

TEST_F(SequenceTest, RandomModeShufflesTheWholeBookReproduciblyWithTheSeed)
{
    BookBuilder b(items);
    for (const char* name : {"q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8"})
        b.multipleChoice(name, {"a"}, 0).layer(std::string(name + 1));
    const std::string sorted = BookOrderNames(items);
    items.SetRandomMode(1);

    std::set<std::string> orders;
    for (std::uint32_t seed : {1u, 2u, 3u})
    {
        items.SortItems();
        lf::sys::SeedRandom(seed);
        Build(eamTestMode, 0);
        const std::string first = BookOrderNames(items);
        items.SortItems();
        lf::sys::SeedRandom(seed);
        Build(eamTestMode, 0);
        EXPECT_EQ(BookOrderNames(items), first) << "seed " << seed;
        EXPECT_EQ(items.GetSequenceCount(), 8);
        std::multiset<std::string> names;
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
            names.insert(items.GetItem(i)->GetName());
        EXPECT_EQ(names, (std::multiset<std::string>{"q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8"}))
            << "a permutation of the book";
        orders.insert(first);
    }
    EXPECT_GT(orders.size(), 1u) << "different seeds, different orders";
}

// --- Normal walk ------------------------------------------------------------------------------------------

TEST_F(SequenceTest, NormalWalkFirstNextPrevLast)
{
    BookBuilder(items)
        .multipleChoice("q1", {"a"}, 0)
        .layer("1")
        .multipleChoice("skip", {"a"}, 0)
        .layer("2")
        .answered(true)
        .multipleChoice("q2", {"a"}, 0)
        .layer("3")
        .multipleChoice("q3", {"a"}, 0)
        .layer("4");
    ASSERT_EQ(Build(eamTestMode, 3), "q1,q2,q3");
    EXPECT_EQ(items.GetCurrentNumber(), 0);
    ASSERT_TRUE(items.First());
    EXPECT_EQ(CurrentName(items), "q1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_FALSE(items.Prev());
    EXPECT_EQ(CurrentName(items), "q1");

    std::int32_t index = -5;
    EXPECT_TRUE(items.Next(true, &index));
    EXPECT_EQ(items.GetItem(index)->GetName(), "q2");
    EXPECT_EQ(CurrentName(items), "q1") << "a peek does not move";
    EXPECT_EQ(items.GetCurrentNumber(), 1);

    EXPECT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "q2");
    EXPECT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetCurrentNumber(), 3);
    EXPECT_FALSE(items.Next(true, &index));
    EXPECT_EQ(index, -1);
    EXPECT_FALSE(items.Next());
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetCurrentNumber(), 3);

    EXPECT_TRUE(items.Prev());
    EXPECT_EQ(CurrentName(items), "q2");
    EXPECT_EQ(items.GetCurrentNumber(), 2);
    ASSERT_TRUE(items.Last());
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetCurrentNumber(), 3);

    EXPECT_TRUE(items.SetCurrentItem(FindByName(items, "q2")));
    EXPECT_EQ(items.GetCurrentNumber(), 2);
    EXPECT_FALSE(items.SetCurrentItem(FindByName(items, "skip")));
    EXPECT_FALSE(items.SetCurrentItem(nullptr));
    EXPECT_EQ(CurrentName(items), "q2");
}

TEST_F(SequenceTest, EmptySequenceHasNoPosition)
{
    BookBuilder(items).multipleChoice("q", {"a"}, 0);
    ASSERT_EQ(Build(eamTestMode, 1), "");
    EXPECT_FALSE(items.First());
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_EQ(items.GetCurrentIndex(), -1);
    EXPECT_FALSE(items.Last());
    EXPECT_EQ(items.GetCurrentItem(), nullptr);
    EXPECT_FALSE(items.Next());
    EXPECT_FALSE(items.Prev());
}

TEST_F(SequenceTest, NextWithoutACurrentItemStartsAtTheFirstAndCountsFromOne)
{
    BookBuilder(items)
        .multipleChoice("q1", {"a"}, 0)
        .layer("1")
        .multipleChoice("q2", {"a"}, 0)
        .layer("2")
        .multipleChoice("q3", {"a"}, 0)
        .layer("3");
    items.SetCycleMode(1);
    ASSERT_EQ(Build(eamTestMode, 0), "q1,q2,q3");
    ASSERT_TRUE(items.Last());
    items.ClearPosition();

    std::int32_t index = -5;
    ASSERT_TRUE(items.Next(true, &index));
    EXPECT_EQ(items.GetItem(index)->GetName(), "q1");
    EXPECT_EQ(items.GetCurrentItem(), nullptr) << "a peek does not move";
    ASSERT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "q1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_EQ(items.GetSequenceCount(), 3);
    for (const char* name : {"q1", "q2", "q3"})
        EXPECT_EQ(FindByName(items, name)->GetCycleCounter(), 0) << name << ": no new pass was started";
}

TEST_F(SequenceTest, RebuildKeepsTheCurrentItemToReturnTo)
{
    BookBuilder(items).multipleChoice("q1", {"a"}, 0).layer("1").multipleChoice("q2", {"a"}, 0).layer("2");
    Build(eamTestMode, 0);
    items.Last();
    items.SetFilterQuestion(false);
    EXPECT_EQ(items.GetCurrentItem(), nullptr);
    ASSERT_TRUE(items.RestoreCurrentItem());
    EXPECT_EQ(CurrentName(items), "q2");
    EXPECT_EQ(items.GetCurrentNumber(), 2);
}

// --- Cycle mode -------------------------------------------------------------------------------------------

TEST_F(SequenceTest, TestCycleRepeatsTheQuestionsNotYetRight)
{
    BookBuilder(items)
        .multipleChoice("q1", {"r", "w"}, 0)
        .layer("1")
        .multipleChoice("q2", {"r", "w"}, 0)
        .layer("2")
        .multipleChoice("q3", {"r", "w"}, 0)
        .layer("3");
    items.SetCycleMode(1);
    Build(eamTestMode, 0);
    ASSERT_TRUE(items.First());
    auto answerItem = [&](const char* name, bool right)
    {
        auto* mc = dynamic_cast<CMultipleChoiceItem*>(FindByName(items, name));
        SAnswerItem* a = nullptr;
        mc->ToggleUserChoice(right ? 0 : 1, a, true);
    };
    answerItem("q1", true);
    answerItem("q2", false);
    ASSERT_TRUE(items.Next());
    ASSERT_TRUE(items.Next());
    ASSERT_EQ(CurrentName(items), "q3");

    ASSERT_TRUE(items.Next()) << "the end starts the next pass";
    EXPECT_EQ(SequenceNames(items), "q2,q3");
    EXPECT_EQ(CurrentName(items), "q2");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_EQ(FindByName(items, "q1")->GetCycleCounter(), 0);
    EXPECT_EQ(FindByName(items, "q2")->GetCycleCounter(), 1);
    EXPECT_EQ(FindByName(items, "q3")->GetCycleCounter(), 1);

    answerItem("q2", true); // the right choice replaces the wrong one
    ASSERT_EQ(FindByName(items, "q2")->GetResult(), 1);
    answerItem("q3", true);
    ASSERT_TRUE(items.Next());
    EXPECT_FALSE(items.Next()) << "every question right: the Test is over";
    EXPECT_EQ(items.GetSequenceCount(), 0);
}

TEST_F(SequenceTest, ReviewCycleWidensPassByPass)
{
    BookBuilder(items)
        .multipleChoice("a0", {"r"}, 0)
        .layer("1")
        .cycles(0)
        .multipleChoice("b2", {"r"}, 0)
        .layer("2")
        .cycles(2)
        .multipleChoice("c2", {"r"}, 0)
        .layer("3")
        .cycles(2)
        .multipleChoice("d1", {"r"}, 0)
        .layer("4")
        .cycles(1);
    items.SetCycleMode(1);
    ASSERT_EQ(Build(eamReviewMode, 0), "b2,c2");
    EXPECT_EQ(items.GetMaxCycle(), 2);
    std::vector<std::string> visited;
    ASSERT_TRUE(items.First());
    do
        visited.push_back(CurrentName(items));
    while (items.Next());
    EXPECT_EQ(visited, (std::vector<std::string>{"b2", "c2", "b2", "c2", "d1", "a0", "b2", "c2", "d1"}));
    EXPECT_EQ(items.GetMaxCycle(), -1);
}

// --- Depth mode -------------------------------------------------------------------------------------------

class DepthTest : public SequenceTest
{
protected:
    void BuildLayers(std::initializer_list<const char*> layers)
    {
        BookBuilder b(items);
        for (const char* layer : layers)
            b.multipleChoice(layer, {"r", "w"}, 0).layer(layer);
        items.SetDepthMode(1);
        Build(eamTestMode, 0);
        ASSERT_TRUE(items.First());
    }
    void Answer(const char* name, bool right)
    {
        auto* mc = dynamic_cast<CMultipleChoiceItem*>(FindByName(items, name));
        SAnswerItem* a = nullptr;
        mc->ToggleUserChoice(right ? 0 : 1, a, true);
    }
};

TEST_F(DepthTest, WrongAnswerSkipsTheQuestionsBelow)
{
    BuildLayers({"1", "1.1", "1.2", "2"});
    Answer("1", false);
    std::int32_t index = -5;
    ASSERT_TRUE(items.Next(true, &index));
    EXPECT_EQ(items.GetItem(index)->GetName(), "2");
    EXPECT_EQ(CurrentName(items), "1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    ASSERT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "2");
    EXPECT_EQ(items.GetCurrentNumber(), 4);
    ASSERT_TRUE(items.Prev());
    EXPECT_EQ(CurrentName(items), "1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
}

TEST_F(DepthTest, RightAnswerOpensTheQuestionsBelowAndPrevRetracesThePath)
{
    BuildLayers({"1", "1.1", "1.2", "2"});
    Answer("1", true);
    ASSERT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "1.1");
    EXPECT_EQ(items.GetCurrentNumber(), 2);
    Answer("1.1", false);
    ASSERT_TRUE(items.Next()) << "1.2 is not deeper than 1.1";
    EXPECT_EQ(CurrentName(items), "1.2");
    ASSERT_TRUE(items.Prev());
    EXPECT_EQ(CurrentName(items), "1.1") << "the question left behind is the way back";
    EXPECT_EQ(items.GetCurrentNumber(), 2);
}

TEST_F(DepthTest, NextThatCannotMoveLeavesTheCounter)
{
    BuildLayers({"1", "1.1", "1.2"});
    Answer("1", false);
    EXPECT_FALSE(items.Next());
    EXPECT_EQ(CurrentName(items), "1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
}

TEST_F(DepthTest, PrevWithoutAWayBackLeavesTheCounter)
{
    BuildLayers({"1.1", "1.2"});
    Answer("1.1", true);
    ASSERT_TRUE(items.Next());
    items.GetItem(0)->SetStatus(qsDepthWalk, false);
    EXPECT_FALSE(items.Prev());
    EXPECT_EQ(CurrentName(items), "1.2");
    EXPECT_EQ(items.GetCurrentNumber(), 2);
}

TEST_F(DepthTest, NextWithoutACurrentItemStartsAtTheFirst)
{
    BuildLayers({"1", "2"});
    items.ClearPosition();
    ASSERT_TRUE(items.Next());
    EXPECT_EQ(CurrentName(items), "1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
}

// --- Snapshot ---------------------------------------------------------------------------------------------

TEST_F(SequenceTest, RestoreFilterWithoutSnapshotFails)
{
    EXPECT_FALSE(items.RestoreFilter(true));
    items.SaveFilter();
    EXPECT_TRUE(items.RestoreFilter(false));
    EXPECT_FALSE(items.RestoreFilter(false)) << "a snapshot is restored once";
}

TEST_F(SequenceTest, RestoreFilterAfterAReshuffleReturnsToTheSavedQuestion)
{
    BookBuilder b(items);
    for (const char* name : {"q1", "q2", "q3", "q4", "q5", "q6"})
        b.multipleChoice(name, {"a"}, 0);
    items.SetRandomMode(1);
    lf::sys::SeedRandom(2);
    Build(eamTestMode, 0);
    items.First();
    items.Next();
    items.Next();
    const CBaseItem* saved = items.GetCurrentItem();
    const std::int32_t savedIndex = items.GetCurrentIndex();
    items.SaveFilter();

    items.SetCurrentView(1, true);          // a temporary filter, reshuffled
    ASSERT_TRUE(items.RestoreFilter(true)); // reshuffled again, same size
    ASSERT_NE(items.GetItem(savedIndex), saved) << "the seed must move the saved question";
    EXPECT_EQ(items.GetCurrentItem(), saved);
    EXPECT_EQ(items.GetCurrentIndex(), items.IndexOfItem(saved));
    EXPECT_EQ(items.GetCurrentNumber(), items.GetCurrentIndex() + 1);
    EXPECT_EQ(items.GetCurrentView(), 0);
}

TEST_F(SequenceTest, RestoreFilterGoesToTheFirstMemberWhenTheSavedOneLeft)
{
    BookBuilder(items).item(qtEssay, "e1").item(qtEssay, "e2").item(qtEssay, "e3");
    Build(eamEditMode, 0);
    items.Last();
    items.SaveFilter();
    CBaseItem* saved = items.GetCurrentItem();
    saved->SetStatus(qsInTrash, true);
    ASSERT_TRUE(items.RestoreFilter(true));
    EXPECT_EQ(CurrentName(items), "e1");
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_NE(env.LogText().find("CItemsArray::RestoreFilter() - It must not happen!"), std::string::npos);
}

TEST_F(SequenceTest, RestoreFilterIntoAnEmptySequenceFails)
{
    BookBuilder(items).item(qtEssay, "e1");
    Build(eamEditMode, 0);
    items.First();
    items.SaveFilter();
    items.GetItem(0)->SetStatus(qsDeleted, true);
    EXPECT_FALSE(items.RestoreFilter(true));
    EXPECT_EQ(items.GetCurrentItem(), nullptr);
}

} // namespace

namespace
{

// The view filter of the Review phase follows the grading of typed answers: a penalty answer is
// incorrect, partial credit is not.
TEST_F(SequenceTest, TypedAnswersMeetTheViewFilterByTheirGrade)
{
    BookBuilder(items)
        .chapter("Geo")
        .shortAnswer("Capital of France?", {{"Paris", "1"}, {"Par*", "0.5"}, {"Lyon", "-0.5"}})
        .name("penalty")
        .typed("Lyon")
        .shortAnswer("Capital of France?", {{"Paris", "1"}, {"Par*", "0.5"}, {"Lyon", "-0.5"}})
        .name("partly")
        .typed("Parisse")
        .numerical("Water boils at?", {{"100", "1", "0.5"}}, {SUnitItem{"1", "C"}})
        .name("right")
        .typed("100.2");
    EXPECT_EQ(Build(eamReviewMode, ToNumber(EViewFilter::UnansweredOrIncorrect)), "penalty");
    EXPECT_EQ(Build(eamReviewMode, ToNumber(EViewFilter::AnsweredOrCorrect)), "partly,right");
}

} // namespace
