// The orders and groups the collection hands out, pinned on one book: the duplicate query's groups and the
// book order it leaves, the Random mode's order for a seed, the book-order sort with dotted chapter numbers,
// empty numbers and equal keys, and the text search. The faster ways of building them must not move a
// single question.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "platform/richtext/RichDocument.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using lf::test::BookBuilder;
using lf::test::BookOrderNames;
using lf::test::CurrentName;
using lf::test::FindByName;
using lf::test::SequenceNames;

namespace
{

class OrderTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    OrderTest() { items.SetSearchView(&view); }

    // Three chapters, numbers that sort as numbers ("1.2" < "1.10"), numbers without digits, empty
    // numbers, items outside the chapter table, and questions whose whole key is equal (same chapter,
    // number, times and ID) so only the stability of the sort orders them. Search texts give four groups
    // of duplicates: "alpha" three times, "beta" twice, "gamma" twice (one copy in the Trash, so only a
    // pair among the members), and two items without a built text whose content is the same.
    void BuildFixtureBook()
    {
        BookBuilder b(items);
        b.chapter("Bio");
        b.multipleChoice("b_1.10", {"a"}, 0).layer("1.10").created(300).searchText("alpha");
        b.multipleChoice("b_1.2", {"a"}, 0).layer("1.2").created(300).searchText("u1");
        b.multipleChoice("b_empty1", {"a"}, 0).layer("").created(100).searchText("beta");
        b.multipleChoice("b_2", {"a"}, 0).layer("2").created(200).searchText("u2");
        b.multipleChoice("b_1.2_old", {"a"}, 0).layer("1.2").created(50).searchText("alpha");
        b.multipleChoice("b_nodigit", {"a"}, 0).layer("x").created(500).searchText("u3");
        b.multipleChoice("b_1.2.0", {"a"}, 0).layer("1.2.0").created(10).searchText("gamma");
        b.multipleChoice("b_empty2", {"a"}, 0).layer("").created(90).searchText("u4");
        b.chapter("Chem");
        b.multipleChoice("c_tie_a", {"a"}, 0).layer("3").created(70).searchText("u5");
        b.last()->SetID(900);
        b.multipleChoice("c_1", {"a"}, 0).layer("1").created(80).searchText("beta");
        b.multipleChoice("c_tie_b", {"a"}, 0).layer("3").created(70).searchText("u6");
        b.last()->SetID(900);
        b.multipleChoice("c_01", {"a"}, 0).layer("01").created(60).searchText("alpha");
        b.multipleChoice("c_same", {"yes", "no"}, 0).layer("4").created(40);
        b.multipleChoice("c_same", {"yes", "no"}, 0).layer("4").created(40);
        b.multipleChoice("c_tie_c", {"a"}, 0).layer("3").created(70).searchText("u7");
        b.last()->SetID(900);
        b.unfiled();
        b.multipleChoice("u_9", {"a"}, 0).layer("9").created(20).searchText("gamma");
        b.multipleChoice("u_10", {"a"}, 0).layer("10").created(20).searchText("u8");
        b.multipleChoice("binned", {"a"}, 0).layer("1").created(20).searchText("gamma").trashed();
        b.multipleChoice("orphan", {"a"}, 0).layer("2").created(20).searchText("u9");
        b.last()->SetCategoryID(77);
    }

    void Rebuild(EActionMode phase)
    {
        items.SetCurrentMode(static_cast<std::uint8_t>(phase), false);
        items.SetCurrentView(static_cast<std::uint8_t>(0), false);
        items.SetActiveCategory(kAllCategoriesID, false);
        items.SetFilterQuestion(true);
    }

    // The duplicate group of every member, in book order.
    std::string Groups() const
    {
        std::string groups;
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
        {
            const CBaseItem* item = items.GetItem(i);
            if (item->IsInSequence())
                groups += (groups.empty() ? "" : ",") + std::to_string(item->GetDuplicateGroup());
        }
        return groups;
    }

    lf::RichDocument view;
};

TEST_F(OrderTest, BookOrderSortsChaptersNumbersTimesAndKeepsEqualKeysInPlace)
{
    BuildFixtureBook();
    Rebuild(eamReviewMode);
    EXPECT_EQ(BookOrderNames(items), "binned,orphan,u_9,u_10,b_nodigit,b_1.2_old,b_1.2,b_1.2.0,b_1.10,b_2,"
                                     "b_empty2,b_empty1,c_01,c_1,c_tie_a,c_tie_b,c_tie_c,c_same,c_same");
    // Sorting again changes nothing.
    const std::string sorted = BookOrderNames(items);
    items.SortItems();
    EXPECT_EQ(BookOrderNames(items), sorted);
}

TEST_F(OrderTest, RefreshingTheListRowsSortsTheBookInEditAndStartsAtTheFirstQuestion)
{
    BuildFixtureBook();
    Rebuild(eamEditMode); // the Edit phase's rebuild keeps the book order as it is
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "c_same")));
    items.SetModified(false);

    ASSERT_TRUE(items.SortBookAndRestart());
    EXPECT_EQ(BookOrderNames(items), "binned,orphan,u_9,u_10,b_nodigit,b_1.2_old,b_1.2,b_1.2.0,b_1.10,b_2,"
                                     "b_empty2,b_empty1,c_01,c_1,c_tie_a,c_tie_b,c_tie_c,c_same,c_same");
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(CurrentName(items), "orphan"); // the Trash is no member of the sequence
    EXPECT_EQ(items.GetCurrentNumber(), 1);
    EXPECT_EQ(SequenceNames(items).substr(0, 17), "orphan,u_9,u_10,b");
}

TEST_F(OrderTest, DuplicateQueryGroupsAndOrderInEdit)
{
    BuildFixtureBook();
    Rebuild(eamEditMode);
    ASSERT_TRUE(items.Search("?#=#", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "b_1.2_old,b_1.10,c_01,b_empty1,c_1,u_9,b_1.2.0,c_same,c_same");
    // A group is named by the book-order index of its first copy before the sort.
    EXPECT_EQ(Groups(), "0,0,0,2,2,6,6,12,12");
    // The whole book is sorted: the questions without a copy first, then group by group.
    EXPECT_EQ(BookOrderNames(items),
              "binned,orphan,u_10,b_nodigit,b_1.2,b_2,b_empty2,c_tie_a,c_tie_b,c_tie_c,"
              "b_1.2_old,b_1.10,c_01,b_empty1,c_1,u_9,b_1.2.0,c_same,c_same");
    EXPECT_EQ(CurrentName(items), "b_1.2_old");
}

TEST_F(OrderTest, DuplicateQueryGroupsAndOrderAfterAStudySort)
{
    BuildFixtureBook();
    Rebuild(eamReviewMode);
    SFilterOptions options;
    items.GetFilterOptions(options);
    options.problemKind = ToNumber(EProblemQuery::Duplicates);
    items.SetFilterOptions(options);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "u_9,b_1.2.0,b_1.2_old,b_1.10,c_01,b_empty1,c_1,c_same,c_same");
    EXPECT_EQ(Groups(), "2,2,5,5,5,11,11,17,17");
    EXPECT_EQ(BookOrderNames(items),
              "binned,orphan,u_10,b_nodigit,b_1.2,b_2,b_empty2,c_tie_a,c_tie_b,c_tie_c,"
              "u_9,b_1.2.0,b_1.2_old,b_1.10,c_01,b_empty1,c_1,c_same,c_same");
}

TEST_F(OrderTest, DuplicateQueryWithOnePairLeavesTheOrder)
{
    BookBuilder b(items);
    b.multipleChoice("p1", {"a"}, 0).searchText("same");
    b.multipleChoice("x", {"a"}, 0).searchText("x");
    b.multipleChoice("p2", {"a"}, 0).searchText("same");
    b.multipleChoice("y", {"a"}, 0).searchText("y");
    Rebuild(eamEditMode);
    ASSERT_TRUE(items.Search("?#=#", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "p1,p2");
    EXPECT_EQ(Groups(), "0,0");
    EXPECT_EQ(BookOrderNames(items), "p1,x,p2,y");
}

TEST_F(OrderTest, DuplicateQueryWithASingleMemberBuildsNothing)
{
    BookBuilder b(items);
    b.chapter("One").multipleChoice("alone", {"a"}, 0);
    b.chapter("Two").multipleChoice("other", {"a"}, 0).searchText("other");
    items.SetCurrentMode(static_cast<std::uint8_t>(eamEditMode), false);
    ASSERT_TRUE(items.SetActiveCategory(FindByName(items, "alone")->GetCategoryID(), false));
    items.SetFilterQuestion(true);
    EXPECT_FALSE(items.Search("?#=#", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "alone");
    EXPECT_FALSE(FindByName(items, "alone")->IsSearchTextFilled()) << "nothing to compare it with";
}

TEST_F(OrderTest, RandomModeOrderForASeed)
{
    const char* expected[] = {
        "b_1.2.0,b_empty1,c_tie_c,c_same,c_tie_a,b_empty2,c_01,orphan,b_2,b_1.10,binned,c_1,"
        "b_1.2_old,u_9,b_nodigit,c_tie_b,b_1.2,c_same,u_10",
        "u_9,b_nodigit,c_same,c_1,b_1.2_old,c_same,b_empty1,u_10,binned,c_tie_b,c_01,b_1.10,"
        "orphan,c_tie_c,b_empty2,c_tie_a,b_1.2.0,b_2,b_1.2"};
    const std::uint32_t seeds[] = {7, 20260101};
    for (int k = 0; k < 2; ++k)
    {
        items.Clear();
        BuildFixtureBook();
        items.SetRandomMode(1);
        lf::sys::SeedRandom(seeds[k]);
        Rebuild(eamTestMode);
        EXPECT_EQ(BookOrderNames(items), expected[k]) << "seed " << seeds[k];
        EXPECT_EQ(items.GetSequenceCount(), 18);
    }
}

// A search that finds nothing puts the settings before it back: the sequence must be exactly the one a
// rebuild with those settings gives, whatever the phase, the chapter, the modes and the search before.
struct RestoreCase
{
    const char* name;
    EActionMode phase;
    std::int32_t chapter;
    bool cycle;
    const char* searchBefore; // null: none
    bool markedOnlyBefore;
};

class EmptySearchTest : public OrderTest, public ::testing::WithParamInterface<RestoreCase>
{
};

TEST_P(EmptySearchTest, LeavesWhatARebuildOfTheKeptSettingsGives)
{
    const RestoreCase& c = GetParam();
    BuildFixtureBook();
    FindByName(items, "b_2")->SetStatus(qsMarked, true);
    FindByName(items, "c_1")->SetStatus(qsMarked, true);
    items.SetCurrentMode(static_cast<std::uint8_t>(c.phase), false);
    items.SetActiveCategory(c.chapter, false);
    items.SetCycleMode(c.cycle ? 1 : 0);
    items.SetFilterQuestion(true);
    if (c.searchBefore)
    {
        ASSERT_TRUE(items.Search(c.searchBefore, c.markedOnlyBefore, true, true, true, true, true));
    }
    items.First();
    items.Next();
    const std::string current = CurrentName(items);

    EXPECT_FALSE(items.Search("giraffe", false, true, true, true, true, true));
    const std::string members = SequenceNames(items);
    const std::string order = BookOrderNames(items);
    EXPECT_EQ(CurrentName(items), current);
    EXPECT_EQ(items.GetGridCount(), items.GetSequenceCount());

    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), members);
    EXPECT_EQ(BookOrderNames(items), order);
    EXPECT_EQ(items.GetGridCount(), items.GetSequenceCount());
}

INSTANTIATE_TEST_SUITE_P(
    FixtureBook, EmptySearchTest,
    ::testing::Values(
        RestoreCase{"EditAllChapters", eamEditMode, kAllCategoriesID, false, nullptr, false},
        RestoreCase{"EditAfterACountQuery", eamEditMode, kAllCategoriesID, false, "?#answer=2", false},
        RestoreCase{"EditAfterTheDuplicateQuery", eamEditMode, kAllCategoriesID, false, "?#=#", false},
        RestoreCase{"EditInTheTrash", eamEditMode, kTrashCategoryID, false, nullptr, false},
        RestoreCase{"TestOneChapterAfterMarkedOnly", eamTestMode, 1, false, "", true},
        RestoreCase{"TestCycle", eamTestMode, kAllCategoriesID, true, nullptr, false},
        RestoreCase{"ReviewCycleAfterATextSearch", eamReviewMode, kAllCategoriesID, true, "u", false}),
    [](const ::testing::TestParamInfo<RestoreCase>& info) { return std::string(info.param.name); });

struct SearchCase
{
    const char* name;
    const char* typed;
    bool found;
    const char* members;
};

class OrderSearchTest : public OrderTest, public ::testing::WithParamInterface<SearchCase>
{
protected:
    // Plain questions whose search texts are built from their content.
    void BuildTextBook()
    {
        BookBuilder b(items);
        b.chapter("Lang");
        b.multipleChoice("L'école est fermée", {"oui", "non"}, 0).name("t1");
        b.multipleChoice("Die Straße ist lang", {"ja", "nein"}, 0).name("t2");
        b.multipleChoice("Zebra crossing rules", {"stop", "go"}, 1).name("t3");
        b.multipleChoice("Crossing the street", {"look left", "look right"}, 0).name("t4");
        b.multipleChoice("ÉCOLE NORMALE", {"x"}, 0).name("t5");
        b.multipleChoice("Well-known facts", {"a, b"}, 0).name("t6");
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
            PrepareItemSearchInfo(items.GetItem(i), &view, false, true, true, true, true);
        Rebuild(eamEditMode);
        items.First();
    }
};

TEST_P(OrderSearchTest, FindsTheQuestionsWithTheText)
{
    BuildTextBook();
    const std::string before = SequenceNames(items);
    EXPECT_EQ(items.Search(GetParam().typed, false, true, true, true, true, true), GetParam().found);
    EXPECT_EQ(SequenceNames(items), GetParam().found ? GetParam().members : before);
    EXPECT_EQ(items.GetGridCount(), items.GetSequenceCount());
}

INSTANTIATE_TEST_SUITE_P(TextBook, OrderSearchTest,
                         ::testing::Values(SearchCase{"WordInSome", "crossing", true, "t3,t4"},
                                           SearchCase{"WordInNone", "giraffe", false, ""},
                                           SearchCase{"UpperCaseQuery", "ZEBRA", true, "t3"},
                                           SearchCase{"AccentedLetterAnyCase", "École", true, "t1,t5"},
                                           SearchCase{"AccentIsNotDropped", "ecole", false, ""},
                                           SearchCase{"SharpSIsNotSpelledOut", "STRASSE", false, ""},
                                           SearchCase{"BlanksAndPunctuationAreIgnored", "well known", true,
                                                      "t6"},
                                           SearchCase{"AnswerText", "look right", true, "t4"}),
                         [](const ::testing::TestParamInfo<SearchCase>& info)
                         { return std::string(info.param.name); });

TEST_F(OrderSearchTest, SearchAfterEditingAQuestionFindsTheNewText)
{
    BuildTextBook();
    CBaseItem* zebra = FindByName(items, "t3");
    zebra->SetQuestionText("Giraffe crossing rules");
    PrepareItemSearchInfo(zebra, &view, true, true, true, true, true);
    EXPECT_TRUE(items.Search("giraffe", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "t3");
    EXPECT_FALSE(items.Search("zebra", false, true, true, true, true, true));
    // An item added afterwards is searched as well, and one moved to the Trash no longer.
    BookBuilder(items).multipleChoice("Another giraffe", {"a"}, 0).name("added");
    PrepareItemSearchInfo(FindByName(items, "added"), &view, false, true, true, true, true);
    items.ResetFilterOptions();
    items.SetFilterQuestion(false);
    EXPECT_TRUE(items.Search("giraffe", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "t3,added");
    ASSERT_TRUE(items.ChangeItemCategory(zebra, kTrashCategoryID));
    items.ResetFilterOptions();
    items.SetFilterQuestion(false);
    EXPECT_TRUE(items.Search("giraffe", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "added");
}

} // namespace
