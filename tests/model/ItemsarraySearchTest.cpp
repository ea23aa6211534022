// The search box of the question list: how a typed text becomes filter settings, the problem queries on a
// book with known counts, duplicates and empty choices, and the text search over built search texts.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/storage/Datastorage.h"
#include "platform/richtext/RichDocument.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using lf::test::BookBuilder;
using lf::test::BookOrderNames;
using lf::test::CurrentName;
using lf::test::FindByName;
using lf::test::SequenceNames;

namespace
{

using lf::test::PrintTo;

using Choices = std::vector<std::pair<std::string, std::string>>; // text, grade

class SearchTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    SearchTest() { items.SetSearchView(&view); }

    // A multiple-choice question named as its text, with choices and their grades.
    void AddChoice(BookBuilder& book, const std::string& question, const Choices& choices)
    {
        book.item(qtMultipleChoice, question);
        std::int32_t id = 0;
        for (const auto& [text, grade] : choices)
        {
            SAnswerItem a;
            a.ID = ++id;
            a.AnswerText = text;
            a.Correct = grade;
            book.last()->AddAnswer(a);
        }
    }

    // Counts of correct answers / choices: france 1/3, cities 2/4, france (a second copy) 1/3, blanks
    // 0/2, planets 2/3, tf 1/1, desc -1/0. A copy has its name too, since the name is searched.
    void BuildFixtureBook()
    {
        BookBuilder book(items);
        book.chapter("Geo");
        AddChoice(book, "Capital of France?", {{"Paris", "1"}, {"Lyon", "0"}, {"Nice", "0"}});
        book.name("france");
        AddChoice(book, "Big cities?", {{"Paris", "1"}, {"Rome", "1"}, {"Oslo", "0"}, {"Bern", "0"}});
        book.name("cities");
        AddChoice(book, "Capital of France?", {{"Paris", "1"}, {"Lyon", "0"}, {"Nice", "0"}});
        book.name("france");
        AddChoice(book, "Fill me in", {{"", "0"}, {" ", "0"}});
        book.name("blanks");
        book.chapter("Sky");
        AddChoice(book, "Planets?", {{"Mars", "1"}, {"Venus", "1"}, {"Moon", "0"}});
        book.name("planets");
        book.trueFalse("The sky is blue", true).name("tf");
        book.description("Read this first").name("desc");
        PrepareAll();
        StartEdit();
    }

    // What the book storage does after a load: every item gets its search text.
    void PrepareAll()
    {
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
            PrepareItemSearchInfo(items.GetItem(i), &view, /*force=*/false, /*question=*/true,
                                  /*answers=*/true, /*feedback=*/true, /*keywords=*/true);
    }

    void StartEdit()
    {
        items.SetCurrentMode(eamEditMode, false);
        items.SetActiveCategory(kAllCategoriesID, false);
        items.SetFilterQuestion(true);
        items.First();
    }

    bool Find(const std::string& text, bool markedOnly = false)
    {
        return items.Search(text, markedOnly, true, true, true, true, true);
    }

    SFilterOptions Options() const
    {
        SFilterOptions options;
        items.GetFilterOptions(options);
        return options;
    }

    lf::RichDocument view;
};

// --- Reading the typed text
// ---------------------------------------------------------------------------------

struct ParseCase
{
    const char* name;
    const char* typed;
    int kind;
    int number;
    const char* searchText;
};

class SearchParseTest : public SearchTest, public ::testing::WithParamInterface<ParseCase>
{
};

TEST_P(SearchParseTest, SettingsFromTheTypedText)
{
    const ParseCase& c = GetParam();
    BuildFixtureBook();
    ASSERT_TRUE(items.Search(c.typed, false, false, true, true, true, true));
    const SFilterOptions options = Options();
    EXPECT_EQ(options.problemKind, c.kind);
    EXPECT_EQ(options.problemNumber, c.number);
    EXPECT_EQ(options.searchText, c.searchText);
}

INSTANTIATE_TEST_SUITE_P(
    Queries, SearchParseTest,
    ::testing::Values(
        ParseCase{"CorrectEquals", "?#correct=2", 1, 2, ""},
        ParseCase{"CorrectDiffers", "?#correct ! 3", 2, 3, ""},
        ParseCase{"LongFormGreaterWithTail", "? Number of correct answers > 1 ?paris", 3, 1, "paris"},
        ParseCase{"CorrectLess", "?#correct<2", 4, 2, ""},
        ParseCase{"CorrectGreaterClosedWithoutTail", "?#correct>1?", 3, 1, ""},
        ParseCase{"GreaterThenNotANumberIsZero", "?#correct>=2", 3, 0, ""},
        ParseCase{"AnswersEqual", "?#answer=4", 5, 4, ""}, ParseCase{"AnswersDiffer", "?#answer!4", 6, 4, ""},
        ParseCase{"LongFormAnswersGreater", "?number of answer choices>2", 7, 2, ""},
        ParseCase{"AnswersLess", "?#answer<2", 8, 2, ""},
        ParseCase{"DuplicatesTestedFirst", "?#=#", 9, 0, ""},
        ParseCase{"DuplicatesWithOneLetterTail", "?#=#?a", 9, 0, "a"},
        ParseCase{"DuplicatesLongForm", "?Duplicate Questions", 9, 0, ""},
        ParseCase{"SpecialCharacters", "?#=@", 10, 0, ""}, ParseCase{"EmptyChoices", "?#=", 11, 0, ""},
        ParseCase{"EmptyChoicesLongFormEmptyTail", "?empty answer choices?", 11, 0, ""},
        ParseCase{"CountWithoutOperatorSearchesTheText", "?#correct", 0, 0, "?#correct"},
        ParseCase{"KeywordNotAtTheStartGivesNoCode", "?x #correct 2", 0, 0, "?x #correct 2"},
        ParseCase{"PlainTextStaysUntrimmed", "  Paris ", 0, 0, "  Paris "}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST_F(SearchTest, UnknownQueryIsRefusedAndLeavesTheSettings)
{
    BuildFixtureBook();
    ASSERT_TRUE(items.Search("?#answer=3", true, false, true, false, false, false));
    const SFilterOptions before = Options();
    EXPECT_FALSE(Find("?hello"));
    EXPECT_FALSE(Find("?nonsense?"));
    const SFilterOptions after = Options();
    EXPECT_EQ(after.problemKind, before.problemKind);
    EXPECT_EQ(after.problemNumber, before.problemNumber);
    EXPECT_EQ(after.markedOnly, before.markedOnly);
    EXPECT_EQ(after.searchInAnswers, before.searchInAnswers);
    EXPECT_NE(env.LogText().find("CItemsArray2::Search - ERROR 1"), std::string::npos);
}

// --- Queries on the fixture book
// ------------------------------------------------------------------------------

struct QueryCase
{
    const char* name;
    const char* typed;
    const char* members;
};

class SearchQueryTest : public SearchTest, public ::testing::WithParamInterface<QueryCase>
{
};

TEST_P(SearchQueryTest, KeepsTheQuestionsWithTheProperty)
{
    BuildFixtureBook();
    ASSERT_TRUE(Find(GetParam().typed));
    EXPECT_EQ(SequenceNames(items), GetParam().members);
    EXPECT_EQ(items.GetGridCount(), items.GetSequenceCount());
}

INSTANTIATE_TEST_SUITE_P(
    FixtureBook, SearchQueryTest,
    ::testing::Values(
        QueryCase{"ExactlyTwoCorrect", "?#correct=2", "cities,planets"},
        QueryCase{"MoreThanOneCorrect", "?#correct>1?", "cities,planets"},
        QueryCase{"MoreThanOneCorrectContainingParis", "? number of correct answers > 1 ?paris", "cities"},
        QueryCase{"GreaterOrEqualReadsAsGreaterThanZero", "?#correct>=2", "france,cities,france,planets,tf"},
        QueryCase{"CorrectCountOtherThanOne", "?#correct!1", "cities,blanks,planets,desc"},
        QueryCase{"FewerThanOneCorrect", "?#correct<1", "blanks,desc"},
        QueryCase{"FourChoices", "?#answer=4", "cities"},
        QueryCase{"NotThreeChoices", "?#answer!3", "cities,blanks,tf,desc"},
        QueryCase{"MoreThanThreeChoices", "?#answer>3", "cities"},
        QueryCase{"FewerThanTwoChoices", "?#answer<2", "tf,desc"}, QueryCase{"EmptyChoices", "?#=", "blanks"},
        QueryCase{"DuplicatePair", "?#=#", "france,france"},
        QueryCase{"DuplicatesWhoseTextHasTheTail", "?#=#?nice", "france,france"},
        QueryCase{"PlainTextIsFoundInAnswers", "Paris", "france,cities,france"},
        QueryCase{"PlainTextWithBlanksAroundIt", "  Sky is ", "tf"}),
    [](const ::testing::TestParamInfo<QueryCase>& info) { return std::string(info.param.name); });

TEST_F(SearchTest, DuplicateTailThatNoCopyHasLeavesNothingAndRestores)
{
    BuildFixtureBook();
    EXPECT_FALSE(Find("?#=#?venus"));
    EXPECT_EQ(SequenceNames(items), "france,cities,france,blanks,planets,tf,desc");
    EXPECT_EQ(Options().problemKind, 0);
}

TEST_F(SearchTest, SearchWithoutMatchBringsBackTheSequenceAndThePosition)
{
    BuildFixtureBook();
    ASSERT_TRUE(Find("?#correct=2"));
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "planets")));
    EXPECT_FALSE(Find("zanzibar"));
    EXPECT_EQ(SequenceNames(items), "cities,planets");
    EXPECT_EQ(CurrentName(items), "planets");
    EXPECT_EQ(Options().problemKind, 1);
}

TEST_F(SearchTest, PositionStaysOnTheCurrentQuestionWhenItIsStillAMember)
{
    BuildFixtureBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "cities")));
    ASSERT_TRUE(Find("paris"));
    EXPECT_EQ(CurrentName(items), "cities");
    ASSERT_TRUE(Find("?#=#"));
    EXPECT_EQ(CurrentName(items), "france") << "the current one left the sequence: the first member";
}

TEST_F(SearchTest, MarkedOnlyWithoutTextKeepsTheMarkedMembers)
{
    BuildFixtureBook();
    FindByName(items, "cities")->SetStatus(qsMarked, true);
    FindByName(items, "tf")->SetStatus(qsMarked, true);
    ASSERT_TRUE(Find("", true));
    EXPECT_EQ(SequenceNames(items), "cities,tf");
}

TEST_F(SearchTest, MarkedOnlyWithTextKeepsTheMarkedMembersThatHaveTheText)
{
    BuildFixtureBook();
    FindByName(items, "cities")->SetStatus(qsMarked, true);
    FindByName(items, "tf")->SetStatus(qsMarked, true);
    ASSERT_TRUE(Find("paris", true));
    EXPECT_EQ(SequenceNames(items), "cities");
}

TEST_F(SearchTest, ClearingTheSearchWithoutRefilterLeavesTheSequenceForTheNextRebuild)
{
    BuildFixtureBook();
    ASSERT_TRUE(Find("?#=#"));
    ASSERT_TRUE(items.Search("", false, false, true, true, true, true));
    EXPECT_EQ(SequenceNames(items), "france,france");
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "france,cities,france,blanks,planets,tf,desc");
}

TEST_F(SearchTest, ThreeCopiesStandTogetherAfterTheDuplicateQuery)
{
    BookBuilder book(items);
    AddChoice(book, "Same?", {{"yes", "1"}});
    AddChoice(book, "Other?", {{"no", "1"}});
    AddChoice(book, "Same?", {{"yes", "1"}});
    AddChoice(book, "Last?", {{"no", "1"}});
    AddChoice(book, "Same?", {{"yes", "1"}});
    PrepareAll();
    StartEdit();
    ASSERT_TRUE(Find("?#=#"));
    EXPECT_EQ(SequenceNames(items), "Same?,Same?,Same?");
    EXPECT_EQ(BookOrderNames(items), "Other?,Last?,Same?,Same?,Same?");
}

TEST_F(SearchTest, DuplicateQueryBuildsMissingSearchTextsWithoutALineForEveryPair)
{
    // No search view and no search texts: the collection builds them itself.
    CItemsArray2 fresh;
    fresh.Clear();
    BookBuilder book(fresh);
    for (int copy = 0; copy < 4; ++copy)
        book.multipleChoice("Same question", {"yes", "no"}, 0);
    book.multipleChoice("Different question", {"yes", "no"}, 0);
    fresh.SetCurrentMode(eamEditMode, false);
    fresh.SetFilterQuestion(true);
    ASSERT_TRUE(fresh.Search("?#=#", false, true, true, true, true, true));
    EXPECT_EQ(SequenceNames(fresh), "Same question,Same question,Same question,Same question");
    EXPECT_TRUE(FindByName(fresh, "Different question")->IsSearchTextFilled());
    const std::string log = env.LogText();
    EXPECT_EQ(log.find("CBaseItem::Compare2"), std::string::npos) << log;
    EXPECT_EQ(log.find("PrepareItemSearchInfo"), std::string::npos) << log;
}

TEST_F(SearchTest, CopyMadeByAConversionIsFoundByTheTextSearch)
{
    BuildFixtureBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "planets")));
    ASSERT_TRUE(items.ConvertCurrentItemTo(qtShortAnswer, false));
    const CBaseItem* made = items.GetItem(items.GetCount() - 1);
    ASSERT_EQ(made->GetQuestionType(), qtShortAnswer);
    EXPECT_TRUE(made->IsSearchTextFilled());
    EXPECT_NE(made->GetSearchText().find("planets?"), std::string::npos) << made->GetSearchText();
}

// --- Search texts of items
// ---------------------------------------------------------------------------------------------

TEST_F(SearchTest, SearchTextJoinsNameQuestionAnswersExplanationAndKeywordsInOrder)
{
    BookBuilder book(items);
    AddChoice(book, "What Is Red?", {{"Blood", "1"}, {"Grass", "0"}});
    book.name("Colour Quiz");
    SAnswerItem* first = nullptr;
    ASSERT_TRUE(book.last()->GetAnswer(0, first));
    first->Feedback = "Iron Oxide";
    book.last()->SetGeneralFeedback("Light Waves");
    book.last()->SetKeywords("Physics");
    PrepareItemSearchInfo(book.last(), &view, /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    EXPECT_TRUE(book.last()->IsSearchTextFilled());
    EXPECT_EQ(book.last()->GetSearchText(), "colourquizwhatisred?bloodironoxidegrasslightwavesphysics");
}

TEST_F(SearchTest, SearchTextTakesOnlyTheAskedParts)
{
    BookBuilder book(items);
    AddChoice(book, "Question", {{"Answer", "1"}});
    book.name("N");
    book.last()->SetGeneralFeedback("Explained");
    book.last()->SetKeywords("Tag");
    PrepareItemSearchInfo(book.last(), &view, /*force=*/false, /*question=*/false, /*answers=*/true,
                          /*feedback=*/false, /*keywords=*/false);
    EXPECT_EQ(book.last()->GetSearchText(), "nanswer");
    EXPECT_FALSE(book.last()->IsSearchTextFilled()) << "the answers alone do not count as a built text";
    PrepareItemSearchInfo(book.last(), &view, /*force=*/false, /*question=*/false, /*answers=*/false,
                          /*feedback=*/false, /*keywords=*/true);
    EXPECT_EQ(book.last()->GetSearchText(), "ntag");
    EXPECT_TRUE(book.last()->IsSearchTextFilled());
}

TEST_F(SearchTest, SearchTextOfMatchingAndCalculatedItems)
{
    BookBuilder book(items);
    book.matching("Pair them", {{"Cat", "Meow"}, {"Dog", "Woof"}}).name("M");
    CBaseItem* matching = book.last();
    book.item(qtCalculated, "Compute").name("C");
    CBaseItem* calculated = book.last();
    SAnswerItem formula;
    formula.ID = 1;
    formula.AnswerText = "Secret";
    formula.Correct = "100";
    calculated->AddAnswer(formula);
    PrepareItemSearchInfo(matching, &view, /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    PrepareItemSearchInfo(calculated, &view, /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    EXPECT_EQ(matching->GetSearchText(), "mpairthemcatmeowdogwoof");
    EXPECT_EQ(calculated->GetSearchText(), "ccompute") << "a calculated item's answers are not searched";
}

TEST_F(SearchTest, BuiltSearchTextIsKeptUntilAForcedRebuild)
{
    BookBuilder book(items);
    AddChoice(book, "Old text", {{"One", "1"}});
    book.name("Q");
    PrepareItemSearchInfo(book.last(), &view, /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    ASSERT_EQ(book.last()->GetSearchText(), "qoldtextone");
    book.last()->SetQuestionText("New text");
    PrepareItemSearchInfo(book.last(), &view, /*force=*/false, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    EXPECT_EQ(book.last()->GetSearchText(), "qoldtextone");
    PrepareItemSearchInfo(book.last(), &view, /*force=*/true, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    EXPECT_EQ(book.last()->GetSearchText(), "qnewtextone");
}

TEST_F(SearchTest, SearchTextWithoutViewOrItemIsLoggedAndNotBuilt)
{
    BookBuilder book(items);
    AddChoice(book, "Question", {{"Answer", "1"}});
    PrepareItemSearchInfo(book.last(), nullptr, /*force=*/true, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    PrepareItemSearchInfo(nullptr, &view, /*force=*/true, /*question=*/true, /*answers=*/true,
                          /*feedback=*/true, /*keywords=*/true);
    EXPECT_FALSE(book.last()->IsSearchTextFilled());
    EXPECT_EQ(book.last()->GetSearchText(), "");
    const std::string log = env.LogText();
    EXPECT_NE(log.find("PrepareItemSearchInfo - pRichViewVoid == NULL"), std::string::npos) << log;
    EXPECT_NE(log.find("PrepareItemSearchInfo - pBaseItem == NULL"), std::string::npos) << log;
}

} // namespace

namespace
{

// A question added after the load has no built search text yet; the search builds it instead of
// silently passing the question over.
TEST_F(SearchTest, TextSearchBuildsAMissingSearchText)
{
    BuildFixtureBook();
    BookBuilder book(items);
    AddChoice(book, "Largest ocean?", {{"Pacific", "1"}, {"Atlantic", "0"}});
    book.name("ocean");
    ASSERT_FALSE(book.last()->IsSearchTextFilled());
    ASSERT_TRUE(Find("pacific"));
    EXPECT_EQ(SequenceNames(items), "ocean");
    EXPECT_TRUE(book.last()->IsSearchTextFilled());
}

} // namespace
