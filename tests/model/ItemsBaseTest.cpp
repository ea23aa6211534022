// What every kind of question shares: defaults, IDs, status, search and filter, comparison, copies.
#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace
{

using lf::test::PrintTo;

using lf::test::FakeSystem;
using lf::test::MultipleChoice;

// --- New items ---

struct KindCase
{
    const char* name;
    std::function<std::unique_ptr<CBaseItem>()> make;
    int code;
    const char* typeName;
    const char* penaltyFactor;
    bool typed;
};

class NewItem : public testing::TestWithParam<KindCase>
{
};

TEST_P(NewItem, StartsWithTheDefaultsOfItsKind)
{
    FakeSystem system;
    system.utcSeconds = 1'600'000'000;
    const auto& c = GetParam();
    auto item = c.make();
    EXPECT_EQ(item->GetQuestionType(), c.code);
    EXPECT_EQ(item->GetQuestionTypeName(), c.typeName);
    EXPECT_EQ(item->GetID(), -1);
    EXPECT_EQ(item->GetCategoryID(), 0);
    EXPECT_EQ(item->GetDefaultQuestionGrade(), "1");
    EXPECT_EQ(item->GetPenaltyFactor(), c.penaltyFactor);
    EXPECT_EQ(item->GetQuestionStatus(), 0u);
    EXPECT_EQ(item->GetDuplicateGroup(), -1);
    EXPECT_FALSE(item->IsSearchTextFilled());
    EXPECT_EQ(item->GetWhenCreated(), 1'600'000'000);
    EXPECT_EQ(item->GetLastModified(), 1'600'000'000);
    EXPECT_TRUE(item->HasAnswerList());
    EXPECT_EQ(item->IsTypedAnswer(), c.typed);
    EXPECT_FALSE(item->IsAnswered());
}

TEST_P(NewItem, IsAvailableAndAnswerableInTheFourPhasesOnly)
{
    auto item = GetParam().make();
    for (int phase = 0; phase <= 3; ++phase)
    {
        EXPECT_TRUE(item->IsAvailableInPhase(phase)) << phase;
        EXPECT_TRUE(item->IsAnswerableInPhase(phase)) << phase;
    }
    for (int phase : {-1, 4, 100})
    {
        EXPECT_FALSE(item->IsAvailableInPhase(phase)) << phase;
        EXPECT_FALSE(item->IsAnswerableInPhase(phase)) << phase;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Items, NewItem,
    testing::Values(
        KindCase{"MultipleChoice", [] { return std::make_unique<CMultipleChoiceItem>(); }, 1,
                 "Multiple Choice", "0.1", false},
        KindCase{"TrueFalse", [] { return std::make_unique<CTrueFalseItem>(); }, 2, "True/False", "1", false},
        KindCase{"ShortAnswer", [] { return std::make_unique<CShortAnswerItem>(); }, 5, "Short Answer", "0.1",
                 true},
        KindCase{"Matching", [] { return std::make_unique<CMatchingItem>(); }, 6, "Matching", "0.1", false},
        KindCase{"Numerical", [] { return std::make_unique<CNumericalItem>(); }, 8, "Numerical", "0.1",
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(QuestionTypeName, NamesTheTenKindsAndNothingElse)
{
    const char* names[] = {"",
                           "Multiple Choice",
                           "True/False",
                           "Description",
                           "Essay",
                           "Short Answer",
                           "Matching",
                           "Calculated",
                           "Numerical",
                           "Random Short-Answer Matching",
                           "Embedded answers (Cloze)",
                           ""};
    for (int code = 0; code <= 11; ++code)
        EXPECT_EQ(CBaseItem::GetQuestionTypeName(code), names[code]) << code;
    EXPECT_EQ(CBaseItem::GetQuestionTypeName(-1), "");
}

// --- IDs ---

TEST(NewItemID, CountsSecondsSince2005AndStrictlyIncreases)
{
    FakeSystem system;
    system.utcSeconds = kItemIdEpochSeconds + 500;
    std::uint32_t last = 0;
    EXPECT_EQ(MakeNewItemID(last), 500u);
    EXPECT_EQ(last, 500u);
    // Several items within one second, and a clock that went back, still get new IDs.
    EXPECT_EQ(MakeNewItemID(last), 501u);
    system.utcSeconds = kItemIdEpochSeconds + 100;
    EXPECT_EQ(MakeNewItemID(last), 502u);
    system.utcSeconds = kItemIdEpochSeconds + 10'000;
    EXPECT_EQ(MakeNewItemID(last), 10'000u);
    EXPECT_EQ(last, 10'000u);
}

TEST(NewItemID, EachCollectionKeepsItsOwnLastID)
{
    FakeSystem system;
    system.utcSeconds = kItemIdEpochSeconds + 7;
    std::uint32_t first = 0;
    std::uint32_t second = 0;
    EXPECT_EQ(MakeNewItemID(first), 7u);
    EXPECT_EQ(MakeNewItemID(first), 8u);
    EXPECT_EQ(MakeNewItemID(second), 7u);
}

// --- Status, chapter, modifier ---

TEST(BaseItem, StatusBitsAreSetAndClearedIndependently)
{
    CMultipleChoiceItem item;
    item.SetStatus(qsMarked | qsInTrash, true);
    EXPECT_TRUE(item.IsMarked());
    EXPECT_TRUE(item.IsMarkedInEdit());
    EXPECT_TRUE(item.TestStatus(qsInTrash | qsDeleted));
    EXPECT_FALSE(item.TestStatus(qsDeleted));
    item.SetInSequence(true);
    EXPECT_TRUE(item.IsInSequence());
    item.SetStatus(qsInTrash, false);
    EXPECT_EQ(item.GetQuestionStatus(), qsMarked | qsInSequence);
    EXPECT_EQ(item.SetStatus800(), &item);
    EXPECT_TRUE(item.TestStatus(0x800));
}

TEST(BaseItem, IsInTheFilteredChapterOrInAll)
{
    CMultipleChoiceItem item;
    item.SetCategoryID(4);
    EXPECT_TRUE(item.IsInCategory(4));
    EXPECT_TRUE(item.IsInCategory(-2));
    EXPECT_FALSE(item.IsInCategory(0));
    EXPECT_FALSE(item.IsInCategory(-10));
}

TEST(BaseItem, ModifierStampsTheTimeOnlyWhenAsked)
{
    FakeSystem system;
    system.utcSeconds = 1000;
    CMultipleChoiceItem item;
    system.utcSeconds = 2000;
    item.SetModifier("Ana", false);
    EXPECT_EQ(item.GetModifierStr(), "Ana");
    EXPECT_EQ(item.GetLastModified(), 1000);
    item.SetModifier("Ben", true);
    EXPECT_EQ(item.GetModifierStr(), "Ben");
    EXPECT_EQ(item.GetLastModified(), 2000);
    EXPECT_EQ(item.GetWhenCreated(), 1000);
}

// --- Search ---

SFilterOptions SearchFor(const std::string& text, bool question, bool answers, bool feedback, bool keywords)
{
    SFilterOptions o;
    o.searchText = text;
    o.searchInQuestion = question;
    o.searchInAnswers = answers;
    o.searchInFeedback = feedback;
    o.searchInKeywords = keywords;
    return o;
}

// A stored rich text holding one run of words.
std::string RichText(const std::string& words)
{
    return "<LFDRoot><style><font name=\"Normal text\" fontname=\"Arial\" size=\"10\"/></style>"
           "<document><text textstyleno=\"0\" parastyleno=\"0\" newpara=\"1\">" +
           words + "</text></document></LFDRoot>";
}

TEST(BaseItemSearch, FindsTheNameEvenWhenTheQuestionTextLacksTheWords)
{
    auto item = MultipleChoice().name("Capital of FRANCE").question("Which city?").build();
    EXPECT_TRUE(item->MatchesSearch(SearchFor("france", true, false, false, false)));
    EXPECT_FALSE(item->MatchesSearch(SearchFor("france", false, true, true, true)));
}

TEST(BaseItemSearch, AnEmptySearchTextMatchesNothing)
{
    auto item = MultipleChoice().name("Capital").question("Capital").answer("Capital", "1").build();
    EXPECT_FALSE(item->MatchesSearch(SearchFor("", true, true, true, true)));
}

TEST(BaseItemSearch, EachScopeSearchesItsOwnField)
{
    auto item = MultipleChoice()
                    .question(RichText("Which river?"))
                    .feedback(RichText("It flows through Paris."))
                    .keywords(RichText("geography"))
                    .answer(RichText("The Seine"), "1")
                    .feedbackOfLast(RichText("Long river"))
                    .build();
    EXPECT_TRUE(item->MatchesSearch(SearchFor("RIVER?", true, false, false, false)));
    EXPECT_TRUE(item->MatchesSearch(SearchFor("flows", false, false, true, false)));
    EXPECT_FALSE(item->MatchesSearch(SearchFor("flows", true, true, false, true)));
    EXPECT_TRUE(item->MatchesSearch(SearchFor("geog", false, false, false, true)));
    EXPECT_TRUE(item->MatchesSearch(SearchFor("seine", false, true, false, false)));
    EXPECT_TRUE(item->MatchesSearch(SearchFor("long", false, true, false, false)));
    EXPECT_FALSE(item->MatchesSearch(SearchFor("seine", true, false, true, true)));
}

TEST(BaseItemSearch, SearchesTheWordsOfRichTextNotItsMarkup)
{
    auto item = MultipleChoice().question(RichText("Capital city")).answer(RichText("Paris"), "1").build();
    for (const char* markup : {"lfdroot", "textstyleno", "font", "arial", "document"})
        EXPECT_FALSE(item->MatchesSearch(SearchFor(markup, true, true, true, true))) << markup;
    EXPECT_TRUE(item->MatchesSearch(SearchFor("capital c", true, false, false, false)));
}

TEST(BaseItemSearch, TypedAnswerPatternsAreSearchedAsTheyStand)
{
    auto item = lf::test::ShortAnswer().answer("<b>*", "1").build();
    EXPECT_TRUE(item->MatchesSearch(SearchFor("<b>", false, true, false, false)));
}

// --- Filter ---

struct ProblemCase
{
    const char* name;
    int kind;
    int number;
    bool kept; // for an item with 3 credited answers out of 4
};

class ProblemQuery : public testing::TestWithParam<ProblemCase>
{
};

TEST_P(ProblemQuery, ComparesTheAnswerCounts)
{
    auto item = MultipleChoice()
                    .answer("a", "1")
                    .answer("b", "0.5")
                    .answer("c", "")
                    .answer("d", "0.25")
                    .answer("e", "0")
                    .build();
    // 5 answers, 3 of them credited.
    SFilterOptions o;
    o.problemKind = static_cast<std::uint8_t>(GetParam().kind);
    o.problemNumber = GetParam().number;
    EXPECT_EQ(item->MatchesFilter(o), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Items, ProblemQuery,
    testing::Values(ProblemCase{"CorrectEquals", 1, 3, true}, ProblemCase{"CorrectEqualsOther", 1, 2, false},
                    ProblemCase{"CorrectDiffers", 2, 2, true}, ProblemCase{"CorrectDiffersNot", 2, 3, false},
                    ProblemCase{"CorrectAbove2", 3, 2, true}, ProblemCase{"CorrectAbove3", 3, 3, false},
                    ProblemCase{"CorrectBelow4", 4, 4, true}, ProblemCase{"CorrectBelow3", 4, 3, false},
                    ProblemCase{"AnswersEqual", 5, 5, true}, ProblemCase{"AnswersDiffer", 6, 5, false},
                    ProblemCase{"AnswersAbove", 7, 4, true}, ProblemCase{"AnswersBelow", 8, 5, false},
                    ProblemCase{"EmptyAnswerChoices", 11, 0, false},
                    ProblemCase{"NoQueryAndNoText", 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BaseItemFilter, MoreThanTwoCorrectKeepsThreeAndDropsTwo)
{
    SFilterOptions o;
    o.problemKind = 3;
    o.problemNumber = 2;
    auto three = MultipleChoice().answer("a", "1").answer("b", "1").answer("c", "1").build();
    auto two = MultipleChoice().answer("a", "1").answer("b", "1").answer("c", "0").build();
    EXPECT_TRUE(three->MatchesFilter(o));
    EXPECT_FALSE(two->MatchesFilter(o));
}

TEST(BaseItemFilter, SearchesTheBuiltSearchTextNormalised)
{
    auto item = MultipleChoice().answer("a", "1").build();
    SFilterOptions o;
    o.searchText = "Cap-ital, CITY";
    // Not built yet: only a query can let the item through.
    EXPECT_FALSE(item->MatchesFilter(o));

    item->SetSearchText("thecapitalcityoffrance");
    item->SetSearchTextFilled(true);
    EXPECT_TRUE(item->MatchesFilter(o));
    o.searchText = "capital town";
    EXPECT_FALSE(item->MatchesFilter(o));

    // Text and query must both hold.
    o.searchText = "capital";
    o.problemKind = 1;
    o.problemNumber = 1;
    EXPECT_TRUE(item->MatchesFilter(o));
    o.problemNumber = 2;
    EXPECT_FALSE(item->MatchesFilter(o));
}

TEST(BaseItemFilter, EmptyAnswerChoicesQueryKeepsBlankQuestions)
{
    SFilterOptions o;
    o.problemKind = 11;
    auto blank = MultipleChoice().answer(" ", "0").build();
    auto filled = MultipleChoice().answer("x", "0").build();
    EXPECT_TRUE(blank->MatchesFilter(o));
    EXPECT_FALSE(filled->MatchesFilter(o));
    // A true/false question never counts as blank.
    EXPECT_FALSE(lf::test::TrueFalse("")->MatchesFilter(o));
}

// --- Comparison ---

TEST(BaseItemCompare2, ComparesBuiltSearchTextsAndLogsWhenOneIsMissing)
{
    lf::test::TempDir dir;
    SetLogBooksDirectory(dir.folder());
    FakeSystem system;
    auto a = MultipleChoice().build();
    auto b = lf::test::ShortAnswer().build();
    a->SetSearchText("same");
    b->SetSearchText("same");
    a->SetSearchTextFilled(true);
    EXPECT_FALSE(a->Compare2(b.get(), true, true, true, true, true, true));
    EXPECT_NE(lf::test::ReadFile(dir.file("Lernfold.log"))
                  .find("CBaseItem::Compare2 - m_bSearchTextFilled == false"),
              std::string::npos);
    b->SetSearchTextFilled(true);
    EXPECT_TRUE(a->Compare2(b.get(), false, false, false, false, false, false));
    b->SetSearchText("other");
    EXPECT_FALSE(a->Compare2(b.get(), true, true, true, true, true, true));
    EXPECT_FALSE(a->Compare2(nullptr, true, true, true, true, true, true));
    SetLogBooksDirectory("");
}

struct SwitchCase
{
    const char* name;
    std::function<void(CBaseItem&)> change;
    int switchIndex; // the switch that makes the change matter; -1 always, -2 never
};

class EqualitySwitch : public testing::TestWithParam<SwitchCase>
{
};

TEST_P(EqualitySwitch, DecidesWhetherAChangeMatters)
{
    FakeSystem system;
    auto a = MultipleChoice().name("n").question("q").answer("x", "1").build();
    auto b = MultipleChoice().name("n").question("q").answer("x", "1").build();
    GetParam().change(*b);
    for (int off = -1; off < 6; ++off)
    {
        bool on[6] = {true, true, true, true, true, true};
        if (off >= 0)
            on[off] = false;
        const bool equal = a->IsEqual(b.get(), on[0], on[1], on[2], on[3], on[4], on[5]);
        const int index = GetParam().switchIndex;
        const bool expected = index == -2 || (index >= 0 && off == index);
        EXPECT_EQ(equal, expected) << "switch off: " << off;
    }
}

// Switch order: times, layers, category, answers, feedback, owner.
INSTANTIATE_TEST_SUITE_P(
    Items, EqualitySwitch,
    testing::Values(
        SwitchCase{"Times", [](CBaseItem& i) { i.SetLastModified(5); }, 0},
        SwitchCase{"Layers", [](CBaseItem& i) { i.SetLayersStr("2.1"); }, 1},
        SwitchCase{"Category", [](CBaseItem& i) { i.SetCategoryID(3); }, 2},
        SwitchCase{"Answers",
                   [](CBaseItem& i)
                   {
                       SAnswerItem* a = nullptr;
                       i.GetAnswer(0, a);
                       a->Feedback = "changed";
                   },
                   3},
        SwitchCase{"Feedback", [](CBaseItem& i) { i.SetGeneralFeedback("why"); }, 4},
        SwitchCase{"Owner", [](CBaseItem& i) { i.SetOwnerStr("someone"); }, 5},
        SwitchCase{"Modifier", [](CBaseItem& i) { i.SetModifierStr("someone"); }, 5},
        SwitchCase{"IdText", [](CBaseItem& i) { i.SetID_Str("Q7"); }, -1},
        SwitchCase{"Keywords", [](CBaseItem& i) { i.SetKeywords("k"); }, -1},
        SwitchCase{"Picture", [](CBaseItem& i) { i.SetImageToDisplay("a.png"); }, -1},
        SwitchCase{"Sound", [](CBaseItem& i) { i.SetAudioFileName("a.wav"); }, -1},
        SwitchCase{"DefaultGrade", [](CBaseItem& i) { i.SetDefaultQuestionGrade("2"); }, -1},
        SwitchCase{"Penalty", [](CBaseItem& i) { i.SetPenaltyFactor("0.5"); }, -1},
        SwitchCase{"QuestionTextIsNotCompared", [](CBaseItem& i) { i.SetQuestionText("other"); }, -2},
        SwitchCase{"NameIsNotCompared", [](CBaseItem& i) { i.SetName("other"); }, -2},
        SwitchCase{"IdIsNotCompared", [](CBaseItem& i) { i.SetID(9); }, -2},
        SwitchCase{"StatusIsNotCompared", [](CBaseItem& i) { i.SetQuestionStatus(qsMarked); }, -2},
        SwitchCase{"UserAnswerIsNotCompared",
                   [](CBaseItem& i) {
                       i.SetCommonUserAnswerInfo({1, "x", "y"});
                   },
                   -2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BaseItemEquality, OtherKindsAndNullAreNeverEqual)
{
    CMultipleChoiceItem choice;
    CMatchingItem matching;
    EXPECT_FALSE(choice.IsEqual(&matching, false, false, false, false, false, false));
    EXPECT_FALSE(choice.IsEqual(nullptr, false, false, false, false, false, false));
}

// --- Copy and clear ---

TEST(BaseItemCopy, FromAnotherKindCopiesTheCommonFieldsAndKeepsIdentity)
{
    FakeSystem system;
    system.utcSeconds = 1000;
    auto source = lf::test::ShortAnswer().answer("Paris", "1").typed("Paris").build();
    source->SetCategoryID(3);
    source->SetName("Capital");
    source->SetQuestionText("q");
    source->SetGeneralFeedback("f");
    source->SetKeywords("k");
    source->SetOwnerStr("owner");
    source->SetModifierStr("source modifier");
    source->SetLayersStr("1.2");
    source->SetQuestionStatus(qsMarked);
    source->SetCycleCounter(4);
    source->SetFormatQAXData(1);
    source->SetEncryptionMethod(2);
    source->SetImageToDisplay("a.png");
    source->SetAudioFileName("a.wav");
    source->SetDefaultQuestionGrade("2");
    source->SetPenaltyFactor("0.5");
    source->SetID(11);
    source->SetID_Str("S11");

    system.utcSeconds = 2000;
    auto target = MultipleChoice().answer("own", "1", "1").build();
    target->SetID(22);
    target->SetID_Str("T22");
    target->SetModifierStr("target modifier");

    ASSERT_TRUE(target->CopyFrom(source.get()));
    EXPECT_EQ(target->GetCategoryID(), 3);
    EXPECT_EQ(target->GetName(), "Capital");
    EXPECT_EQ(target->GetQuestionText(), "q");
    EXPECT_EQ(target->GetGeneralFeedback(), "f");
    EXPECT_EQ(target->GetKeywords(), "k");
    EXPECT_EQ(target->GetOwnerStr(), "owner");
    EXPECT_EQ(target->GetLayersStr(), "1.2");
    EXPECT_EQ(target->GetQuestionStatus(), qsMarked);
    EXPECT_EQ(target->GetCycleCounter(), 4);
    EXPECT_EQ(target->GetFormatQAXData(), 1);
    EXPECT_EQ(target->GetEncryptionMethod(), 2);
    EXPECT_EQ(target->GetImageToDisplay(), "a.png");
    EXPECT_EQ(target->GetAudioFileName(), "a.wav");
    EXPECT_EQ(target->GetDefaultQuestionGrade(), "2");
    EXPECT_EQ(target->GetPenaltyFactor(), "0.5");
    // Its own identity, answers and user answer stay.
    EXPECT_EQ(target->GetID(), 22);
    EXPECT_EQ(target->GetID_Str(), "T22");
    EXPECT_EQ(target->GetModifierStr(), "target modifier");
    EXPECT_EQ(target->GetWhenCreated(), 2000);
    EXPECT_EQ(target->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(target->GetAnswerCount(), 1);
    EXPECT_EQ(target->GetCommonUserAnswerInfo().UserAnswer, "");
    EXPECT_EQ(target->GetResult(), 1);

    EXPECT_FALSE(target->CopyFrom(nullptr));
}

TEST(BaseItemClear, EmptiesContentAndKeepsIdentityAndAnswer)
{
    auto item = lf::test::ShortAnswer()
                    .name("n")
                    .question("q")
                    .feedback("f")
                    .keywords("k")
                    .answer("a", "1")
                    .typed("a")
                    .build();
    item->SetLayersStr("1");
    item->SetImageToDisplay("p.png");
    item->SetAudioFileName("s.wav");
    item->SetID(3);
    item->SetOwnerStr("o");
    item->SetQuestionStatus(qsMarked);
    item->SetCycleCounter(2);
    ASSERT_TRUE(item->Clear());
    for (const std::string* text :
         {&item->GetQuestionText(), &item->GetGeneralFeedback(), &item->GetKeywords(), &item->GetLayersStr(),
          &item->GetImageToDisplay(), &item->GetAudioFileName(), &item->GetDefaultQuestionGrade(),
          &item->GetPenaltyFactor()})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(item->GetName(), "n");
    EXPECT_EQ(item->GetID(), 3);
    EXPECT_EQ(item->GetOwnerStr(), "o");
    EXPECT_EQ(item->GetQuestionStatus(), qsMarked);
    EXPECT_EQ(item->GetCycleCounter(), 2);
    // The short-answer kind also drops its answers and the typed answer.
    EXPECT_EQ(item->GetAnswerCount(), 0);
    EXPECT_FALSE(item->IsAnswered());
    item->ResetCycleCounter();
    EXPECT_EQ(item->GetCycleCounter(), 0);
}

// --- Special rendering ---

// A stored rich text with one run; superscript puts it in a font that needs special rendering.
std::string RichRun(const std::string& words, bool superscript)
{
    return std::string("<LFDRoot><style><font name=\"Normal text\" fontname=\"Arial\"/>"
                       "<font name=\"Up\" fontname=\"Arial\" subsuperscripttype=\"super\"/></style>"
                       "<document><text textstyleno=\"") +
           (superscript ? "1" : "0") + "\" parastyleno=\"0\" newpara=\"1\">" + words +
           "</text></document></LFDRoot>";
}

TEST(SpecialRendering, LooksAtQuestionExplanationAndAnswers)
{
    EXPECT_FALSE(MultipleChoice()
                     .question(RichRun("x", false))
                     .answer(RichRun("a", false), "1")
                     .build()
                     ->NeedsSpecialRendering());
    EXPECT_TRUE(MultipleChoice().question(RichRun("x2", true)).build()->NeedsSpecialRendering());
    EXPECT_TRUE(MultipleChoice().feedback(RichRun("n", true)).build()->NeedsSpecialRendering());
    EXPECT_TRUE(
        MultipleChoice().answer("a", "1").answer(RichRun("m2", true), "0").build()->NeedsSpecialRendering());
    EXPECT_TRUE(lf::test::Matching()
                    .answer("a", "b")
                    .feedbackOfLast(RichRun("n", true))
                    .build()
                    ->NeedsSpecialRendering());
    auto trueFalse = lf::test::TrueFalse("1");
    EXPECT_FALSE(trueFalse->NeedsSpecialRendering());
    SAnswerItem* statement = nullptr;
    ASSERT_TRUE(trueFalse->GetAnswer(0, statement));
    statement->Feedback = RichRun("n", true);
    EXPECT_TRUE(trueFalse->NeedsSpecialRendering());
}

} // namespace
