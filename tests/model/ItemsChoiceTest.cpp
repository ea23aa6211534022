// Multiple-choice and true/false items: grading, marking, the answer list and copies.
#include "model/items/Datatypes.h"
#include "platform/sys/SystemServices.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

using lf::test::MultipleChoice;
using lf::test::TrueFalse;
using lf::test::UserAnswers;

// --- Multiple-choice grading ---

struct McGradingCase
{
    const char* name;
    std::vector<std::string> grades;
    std::vector<std::string> marks; // "1" marked, "0" or "" not
    int expected;
};

class MultipleChoiceGrading : public testing::TestWithParam<McGradingCase>
{
};

TEST_P(MultipleChoiceGrading, GradesOnWhichChoicesAreMarked)
{
    const auto& c = GetParam();
    auto builder = MultipleChoice();
    for (std::size_t i = 0; i < c.grades.size(); ++i)
        builder.answer("choice " + std::to_string(i), c.grades[i], c.marks[i]);
    auto item = builder.build();
    EXPECT_EQ(item->GetResult(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MultipleChoiceGrading,
    testing::Values(McGradingCase{"OnlyTheRightChoiceIsCorrect", {"1", "0", "0"}, {"1", "0", "0"}, 1},
                    McGradingCase{"RightAndWrongChoiceIsPartlyCorrect", {"1", "0", "0"}, {"1", "1", "0"}, 2},
                    McGradingCase{"OnlyAWrongChoiceIsIncorrect", {"1", "0", "0"}, {"0", "1", "0"}, 0},
                    McGradingCase{"NothingMarkedIsNotGraded", {"1", "0", "0"}, {"0", "0", "0"}, -1},
                    McGradingCase{"EmptyMarksAreNotMarks", {"1", "0"}, {"", ""}, -1},
                    McGradingCase{"BothHalvesAreCorrect", {"0.5", "0.5", "0"}, {"1", "1", "0"}, 1},
                    McGradingCase{"OneHalfMissedIsPartlyCorrect", {"0.5", "0.5", "0"}, {"1", "0", "0"}, 2},
                    McGradingCase{"EmptyGradeIsCredited", {"", "0"}, {"1", "0"}, 1},
                    McGradingCase{"PenaltyChoiceAloneIsIncorrect", {"-0.5", "0"}, {"1", "0"}, 0},
                    McGradingCase{"PenaltyChoiceBesideRightOneIsPartlyCorrect", {"1", "-0.5"}, {"1", "1"}, 2},
                    McGradingCase{"UnmarkedPenaltyChoiceDecidesNothing", {"1", "-0.5"}, {"1", "0"}, 1},
                    McGradingCase{"ZeroWrittenWithDecimalsIsNotCredited", {"1", "0.0"}, {"1", "1"}, 2},
                    McGradingCase{"GradeThatIsNoNumberIsNotCredited", {"1", "x"}, {"1", "1"}, 2},
                    McGradingCase{
                        "WrongChoiceAfterTheRightOneIsPartlyCorrect", {"0", "1", "0"}, {"1", "1", "0"}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The credited answer of a question ---

struct CreditedCase
{
    const char* name;
    std::vector<std::pair<std::string, std::string>> answers; // text, grade
    int first;
    int shown;
};

class CreditedAnswerTest : public testing::TestWithParam<CreditedCase>
{
};

TEST_P(CreditedAnswerTest, FindsTheRightAnswerAndNeverAPenalty)
{
    const CreditedCase& c = GetParam();
    auto builder = MultipleChoice();
    for (const auto& [text, grade] : c.answers)
        builder.answer(text, grade);
    auto item = builder.build();
    EXPECT_EQ(FindFirstCreditedAnswer(*item), c.first);
    EXPECT_EQ(FindShownCreditedAnswer(*item), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Items, CreditedAnswerTest,
    testing::Values(CreditedCase{"PenaltyBeforeTheRightOne", {{"Rome", "-0.5"}, {"Paris", "1"}}, 1, 1},
                    CreditedCase{"OnlyPenaltyAndZero", {{"Rome", "-0.5"}, {"Lyon", "0"}}, -1, -1},
                    CreditedCase{"EmptyGradeIsTheRightOne", {{"Lyon", "0"}, {"Paris", ""}}, 1, 1},
                    CreditedCase{"PartialCreditCounts", {{"Lyon", "0"}, {"Paris", "0.5"}}, 1, 1},
                    CreditedCase{"ShownOneHasAText", {{"", "1"}, {"Rome", "-1"}, {"Paris", "0.5"}}, 0, 2},
                    CreditedCase{"CreditedWithoutTextWhenNoneHasOne", {{"", "-1"}, {"", "1"}}, 1, 1},
                    CreditedCase{"NoAnswers", {}, -1, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MultipleChoiceItem, WithoutChoicesIsBlankUnansweredAndUngraded)
{
    CMultipleChoiceItem item;
    EXPECT_TRUE(item.IsAllAnswerBlanksIsEmpty());
    EXPECT_EQ(item.GetCorrectAnswerCount(), 0);
    EXPECT_FALSE(item.IsAnswered());
    EXPECT_EQ(item.GetResult(), -1);
}

TEST(MultipleChoiceItem, CountsOnlyChoicesWithANonZeroGradeAsCorrect)
{
    auto item = MultipleChoice().answer("a", "1").answer("b", "").answer("c", "0").answer("d", "0.5").build();
    EXPECT_EQ(item->GetAnswerCount(), 4);
    EXPECT_EQ(item->GetCorrectAnswerCount(), 2);
}

TEST(MultipleChoiceItem, BlankTestIgnoresSurroundingWhitespaceButNotGradesOrFeedback)
{
    auto blank = MultipleChoice().answer(" \t\r\n", "0").answer("", "").build();
    EXPECT_TRUE(blank->IsAllAnswerBlanksIsEmpty());

    auto graded = MultipleChoice().answer("", "0").answer("", "1").build();
    EXPECT_FALSE(graded->IsAllAnswerBlanksIsEmpty());

    auto withFeedback = MultipleChoice().answer("", "0").feedbackOfLast(" see page 4 ").build();
    EXPECT_FALSE(withFeedback->IsAllAnswerBlanksIsEmpty());
}

// --- Marking ---

struct ToggleCase
{
    const char* name;
    std::int32_t letMultiple;
    bool force;
    const char* before;
    std::int32_t click;
    const char* after;
};

class MultipleChoiceToggle : public testing::TestWithParam<ToggleCase>
{
};

TEST_P(MultipleChoiceToggle, MarksTheClickedChoice)
{
    const auto& c = GetParam();
    std::vector<std::string> marks;
    for (const char* p = c.before; *p; ++p)
        if (*p != ',')
            marks.emplace_back(1, *p);
    auto builder = MultipleChoice();
    builder.with([&](CMultipleChoiceItem& i) { i.SetLetMultipleAnswers(c.letMultiple); });
    for (const auto& m : marks)
        builder.answer("x", "0", m);
    auto item = builder.build();

    SAnswerItem* choice = nullptr;
    ASSERT_TRUE(item->ToggleUserChoice(c.click, choice, c.force));
    ASSERT_NE(choice, nullptr);
    SAnswerItem* clicked = nullptr;
    ASSERT_TRUE(item->GetAnswer(c.click, clicked));
    EXPECT_EQ(choice, clicked);
    EXPECT_EQ(UserAnswers(*item), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MultipleChoiceToggle,
    testing::Values(ToggleCase{"OneAnswerQuestionMovesTheMark", 0, false, "0,0,1", 0, "1,0,0"},
                    ToggleCase{"OneAnswerQuestionSecondClickUnmarks", 0, false, "1,0,0", 0, "0,0,0"},
                    ToggleCase{"ForceOnMultipleAnswerQuestionMovesTheMark", 1, true, "0,0,1", 0, "1,0,0"},
                    ToggleCase{"MultipleAnswerQuestionAddsAMark", 1, false, "0,0,1", 0, "1,0,1"},
                    ToggleCase{"MultipleAnswerQuestionRemovesAMark", 1, false, "1,0,1", 2, "1,0,0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MultipleChoiceItem, ToggleOutsideTheChoicesChangesNothing)
{
    auto item = MultipleChoice().answer("a", "1", "1").answer("b", "0", "0").build();
    SAnswerItem* choice = nullptr;
    EXPECT_FALSE(item->ToggleUserChoice(2, choice, false));
    EXPECT_FALSE(item->ToggleUserChoice(-1, choice, true));
    EXPECT_EQ(choice, nullptr);
    EXPECT_EQ(UserAnswers(*item), "1,0");
}

TEST(MultipleChoiceItem, ClearUserAnswerForgetsMarksAndTheCommonAnswer)
{
    auto item = MultipleChoice().answer("a", "1", "1").answer("b", "0", "1").typed("x").build();
    item->SetCommonUserAnswerInfo({123, "typed", "info"});
    item->ClearUserAnswer();
    EXPECT_EQ(UserAnswers(*item), ",");
    const SCommonUserAnswerInfo info = item->GetCommonUserAnswerInfo();
    EXPECT_EQ(info.TimeAnswer, 0);
    EXPECT_EQ(info.UserAnswer, "");
    EXPECT_EQ(info.UserAnswerAdditionalInfo, "");
    EXPECT_FALSE(item->IsAnswered());
}

// --- The answer list ---

TEST(MultipleChoiceItem, AnswerListOperationsCheckIndexesAndIds)
{
    auto item = MultipleChoice().answer("a", "1").answer("b", "0").answer("c", "0").build();

    SAnswerItem* a = nullptr;
    EXPECT_FALSE(item->GetAnswer(3, a));
    EXPECT_FALSE(item->GetAnswer(-1, a));
    ASSERT_TRUE(item->GetAnswer(1, a));
    EXPECT_EQ(a->AnswerText, "b");
    a->Feedback = "changed in place";

    SAnswerItem copy;
    std::int32_t index = -1;
    ASSERT_TRUE(item->FindAnswerById(2, &copy, &index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(copy.Feedback, "changed in place");
    EXPECT_TRUE(item->FindAnswerById(3, nullptr, nullptr));
    EXPECT_FALSE(item->FindAnswerById(9, &copy, &index));
    EXPECT_EQ(index, 1);

    SAnswerItem update;
    update.ID = 3;
    update.AnswerText = "C";
    update.Correct = "0.5";
    EXPECT_TRUE(item->UpdateAnswer(update));
    update.ID = 42;
    EXPECT_FALSE(item->UpdateAnswer(update));
    ASSERT_TRUE(item->GetAnswer(2, a));
    EXPECT_EQ(a->AnswerText, "C");
    EXPECT_EQ(a->Correct, "0.5");

    EXPECT_FALSE(item->DeleteAnswer(3));
    EXPECT_TRUE(item->DeleteAnswer(0));
    ASSERT_EQ(item->GetAnswerCount(), 2);
    ASSERT_TRUE(item->GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "b");

    item->ClearAnswers();
    EXPECT_EQ(item->GetAnswerCount(), 0);
}

TEST(MultipleChoiceItem, ShuffleKeepsEveryChoiceWithItsMarkInTheGeneratorsOrder)
{
    lf::sys::SeedRandom(7);
    CStringArray expected;
    for (const char* t : {"a", "b", "c", "d", "e"})
        expected.Add(t);
    ShuffleStringArray(expected);

    lf::sys::SeedRandom(7);
    auto item = MultipleChoice()
                    .answer("a", "1", "1")
                    .answer("b", "0")
                    .answer("c", "0", "1")
                    .answer("d", "0")
                    .answer("e", "0")
                    .build();
    item->ShuffleAnswers();

    ASSERT_EQ(item->GetAnswerCount(), 5);
    std::string order;
    std::string identity;
    for (std::int32_t i = 0; i < 5; ++i)
    {
        SAnswerItem* a = nullptr;
        ASSERT_TRUE(item->GetAnswer(i, a));
        EXPECT_EQ(a->AnswerText, expected[i]);
        order += a->AnswerText;
        // The mark and the grade travel with their choice.
        EXPECT_EQ(a->UserAnswer, a->AnswerText == "a" || a->AnswerText == "c" ? "1" : "");
        EXPECT_EQ(a->Correct, a->AnswerText == "a" ? "1" : "0");
        EXPECT_EQ(a->ID, a->AnswerText[0] - 'a' + 1);
    }
    std::string sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, "abcde");
}

TEST(MultipleChoiceItem, ShufflingOneChoiceDrawsNoRandomNumber)
{
    lf::sys::SeedRandom(3);
    const int first = lf::sys::Random(1000);
    lf::sys::SeedRandom(3);
    auto item = MultipleChoice().answer("only", "1").build();
    item->ShuffleAnswers();
    EXPECT_EQ(lf::sys::Random(1000), first);
}

// --- Copies, comparison, clearing ---

std::unique_ptr<CMultipleChoiceItem> SampleChoiceQuestion()
{
    return MultipleChoice()
        .name("Capital")
        .question("Capital of France?")
        .answer("Paris", "1", "1")
        .feedbackOfLast("Right")
        .answer("Rome", "0")
        .with(
            [](CMultipleChoiceItem& i)
            {
                i.SetFeedbackForAnyCorrectResponse("well done");
                i.SetLetMultipleAnswers(0);
                i.SetNumberAnswerType(2);
                i.SetShuffle(1);
            })
        .build();
}

TEST(MultipleChoiceItem, CopyFromAnotherChoiceQuestionTakesChoicesMarksAndSettings)
{
    // Both questions are made in the same second, so their times compare equal however slow the run.
    lf::test::FakeSystem system;
    auto source = SampleChoiceQuestion();
    auto target = MultipleChoice().answer("old", "1").build();
    target->SetID(77);

    ASSERT_TRUE(target->CopyFrom(source.get()));
    EXPECT_EQ(target->GetID(), 77);
    EXPECT_EQ(target->GetName(), "Capital");
    EXPECT_EQ(target->GetFeedbackForAnyCorrectResponse(), "well done");
    EXPECT_EQ(target->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(target->GetNumberAnswerType(), 2);
    EXPECT_EQ(target->GetShuffle(), 1);
    ASSERT_EQ(target->GetAnswerCount(), 2);
    EXPECT_EQ(UserAnswers(*target), "1,");
    EXPECT_TRUE(target->IsEqual(source.get(), true, true, true, true, true, true));
    EXPECT_EQ(target->GetResult(), 1);

    // The copy is independent of its source.
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(source->GetAnswer(0, a));
    a->AnswerText = "Lyon";
    EXPECT_FALSE(target->IsEqual(source.get(), false, false, false, true, false, false));
}

TEST(MultipleChoiceItem, EqualityComparesChoicesButNotMarksOrSettings)
{
    // One clock for both questions, so the times compared below cannot differ by a second that passed.
    lf::test::FakeSystem clock;
    auto a = SampleChoiceQuestion();
    auto b = SampleChoiceQuestion();
    SAnswerItem* toggled = nullptr;
    ASSERT_TRUE(b->ToggleUserChoice(1, toggled, true));
    b->SetLetMultipleAnswers(1);
    b->SetFeedbackForAnyCorrectResponse("other");
    EXPECT_TRUE(a->IsEqual(b.get(), true, true, true, true, true, true));

    SAnswerItem* choice = nullptr;
    ASSERT_TRUE(b->GetAnswer(1, choice));
    choice->Correct = "0.5";
    EXPECT_FALSE(a->IsEqual(b.get(), false, false, false, true, false, false));
    EXPECT_TRUE(a->IsEqual(b.get(), false, false, false, false, false, false));

    b->DeleteAnswer(1);
    EXPECT_FALSE(a->IsEqual(b.get(), false, false, false, false, false, false));
}

TEST(MultipleChoiceItem, ClearEmptiesContentButKeepsIdentity)
{
    auto item = SampleChoiceQuestion();
    item->SetID(5);
    ASSERT_TRUE(item->Clear());
    EXPECT_EQ(item->GetAnswerCount(), 0);
    EXPECT_EQ(item->GetFeedbackForAnyCorrectResponse(), "");
    EXPECT_EQ(item->GetQuestionText(), "");
    EXPECT_EQ(item->GetName(), "Capital");
    EXPECT_EQ(item->GetID(), 5);
}

// --- True/false ---

struct TrueFalseCase
{
    const char* name;
    const char* correct;
    const char* user;
    int expected;
};

class TrueFalseGrading : public testing::TestWithParam<TrueFalseCase>
{
};

TEST_P(TrueFalseGrading, GradesTheChoiceAgainstTheStatement)
{
    auto item = TrueFalse(GetParam().correct, GetParam().user);
    EXPECT_EQ(item->GetResult(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Items, TrueFalseGrading,
                         testing::Values(TrueFalseCase{"TrueChosenForTrue", "1", "1", 1},
                                         TrueFalseCase{"FalseChosenForFalse", "0", "0", 1},
                                         TrueFalseCase{"FalseChosenForTrue", "1", "0", 0},
                                         TrueFalseCase{"UnansweredGradesZero", "1", "", 0},
                                         TrueFalseCase{"UnsetStatementCountsAsFalse", "", "0", 1},
                                         TrueFalseCase{"UnsetStatementAndNoChoice", "", "", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TrueFalseItem, GradingAnUnsetStatementSetsItFalse)
{
    auto item = TrueFalse("", "0");
    EXPECT_EQ(item->GetResult(), 1);
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(item->GetAnswer(0, a));
    EXPECT_EQ(a->Correct, "0");
}

TEST(TrueFalseItem, HasExactlyOneAnswerWhateverTheIndex)
{
    auto item = TrueFalse("1");
    EXPECT_EQ(item->GetAnswerCount(), 1);
    EXPECT_EQ(item->GetCorrectAnswerCount(), 1);
    EXPECT_EQ(item->GetPenaltyFactor(), "1");
    SAnswerItem* first = nullptr;
    SAnswerItem* fifth = nullptr;
    ASSERT_TRUE(item->GetAnswer(0, first));
    ASSERT_TRUE(item->GetAnswer(5, fifth));
    EXPECT_EQ(first, fifth);
    EXPECT_FALSE(item->DeleteAnswer(0));

    std::int32_t index = -1;
    EXPECT_FALSE(item->FindAnswerById(99, nullptr, &index));
    SAnswerItem copy;
    EXPECT_TRUE(item->FindAnswerById(99, &copy, &index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(copy.Correct, "1");
}

TEST(TrueFalseItem, RecordsClearsAndCopiesTheChoice)
{
    auto item = TrueFalse("1");
    EXPECT_FALSE(item->IsAnswered());
    EXPECT_TRUE(item->SetUserAnswer("1"));
    EXPECT_TRUE(item->IsAnswered());

    auto copy = std::make_unique<CTrueFalseItem>();
    copy->SetFeedbackForTheResponseTrue("ignored");
    item->SetFeedbackForTheResponseTrue("yes");
    ASSERT_TRUE(copy->CopyFrom(item.get()));
    EXPECT_EQ(copy->GetFeedbackForTheResponseTrue(), "yes");
    EXPECT_EQ(copy->GetResult(), 1);

    ASSERT_TRUE(item->Clear());
    EXPECT_FALSE(item->IsAnswered());
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(item->GetAnswer(0, a));
    EXPECT_EQ(a->Correct, "1");
}

TEST(TrueFalseItem, EqualityComparesTheStatementNotTheChoice)
{
    auto a = TrueFalse("1", "1");
    auto b = TrueFalse("1", "0");
    EXPECT_TRUE(a->IsEqual(b.get(), true, true, true, true, true, true));
    auto c = TrueFalse("0");
    EXPECT_FALSE(a->IsEqual(c.get(), false, false, false, true, false, false));
    EXPECT_TRUE(a->IsEqual(c.get(), false, false, false, false, false, false));
}

} // namespace
