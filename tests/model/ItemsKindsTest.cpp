// Description, essay, random short-answer matching and embedded-answers items, and which kinds take part
// in which phase.
#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <typeinfo>

namespace
{

using lf::test::PrintTo;

void SetTyped(CBaseItem& item, const std::string& text)
{
    SCommonUserAnswerInfo info = item.GetCommonUserAnswerInfo();
    info.UserAnswer = text;
    item.SetCommonUserAnswerInfo(info);
}

// --- The factory: the class of each kind, stated here apart from the factory's own switch ---

template <class T> bool Is(const std::unique_ptr<CBaseItem>& item)
{
    return item && typeid(*item) == typeid(T);
}

TEST(ItemFactory, MakesTheClassOfEachKindAndNothingForOtherCodes)
{
    EXPECT_TRUE(Is<CMultipleChoiceItem>(MakeItemOfKind(qtMultipleChoice)));
    EXPECT_TRUE(Is<CTrueFalseItem>(MakeItemOfKind(qtTrueFalse)));
    EXPECT_TRUE(Is<CDescriptionItem>(MakeItemOfKind(qtDescription)));
    EXPECT_TRUE(Is<CEssayItem>(MakeItemOfKind(qtEssay)));
    EXPECT_TRUE(Is<CShortAnswerItem>(MakeItemOfKind(qtShortAnswer)));
    EXPECT_TRUE(Is<CMatchingItem>(MakeItemOfKind(qtMatching)));
    EXPECT_TRUE(Is<CCalculatedItem>(MakeItemOfKind(qtCalculated)));
    EXPECT_TRUE(Is<CNumericalItem>(MakeItemOfKind(qtNumerical)));
    EXPECT_TRUE(Is<CRandomShortAnswerMatchingItem>(MakeItemOfKind(qtRandomShortAnswerMatching)));
    EXPECT_TRUE(Is<CEmbeddedItem>(MakeItemOfKind(qtEmbedded)));
    for (const int code : {-1, 0, 11, 255})
        EXPECT_EQ(MakeItemOfKind(code), nullptr) << code;
}

// --- Availability per phase, over all ten kinds ---

struct AvailabilityCase
{
    const char* name;
    int kind;
    // Phases -1, 0 Test, 1 Review, 2 Flash, 3 Edit, 4, as a string of '1' (yes) and '0' (no).
    const char* available;
    const char* answerable;
};

class KindAvailability : public testing::TestWithParam<AvailabilityCase>
{
};

TEST_P(KindAvailability, FollowsThePhaseTable)
{
    const auto& c = GetParam();
    auto item = MakeItemOfKind(c.kind);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->GetQuestionType(), c.kind);
    for (int phase = -1; phase <= 4; ++phase)
    {
        SCOPED_TRACE("phase " + std::to_string(phase));
        EXPECT_EQ(item->IsAvailableInPhase(phase), c.available[phase + 1] == '1');
        EXPECT_EQ(item->IsAnswerableInPhase(phase), c.answerable[phase + 1] == '1');
    }
}

INSTANTIATE_TEST_SUITE_P(
    Items, KindAvailability,
    testing::Values(AvailabilityCase{"MultipleChoice", qtMultipleChoice, "011110", "011110"},
                    AvailabilityCase{"TrueFalse", qtTrueFalse, "011110", "011110"},
                    AvailabilityCase{"Description", qtDescription, "011110", "011110"},
                    AvailabilityCase{"Essay", qtEssay, "011110", "011110"},
                    AvailabilityCase{"ShortAnswer", qtShortAnswer, "011110", "011110"},
                    AvailabilityCase{"Matching", qtMatching, "011110", "011110"},
                    AvailabilityCase{"Calculated", qtCalculated, "011110", "011110"},
                    AvailabilityCase{"Numerical", qtNumerical, "011110", "011110"},
                    AvailabilityCase{"RandomMatchingOnlyInEditAndNeverAnswered", qtRandomShortAnswerMatching,
                                     "000010", "000000"},
                    AvailabilityCase{"EmbeddedOnlyInEdit", qtEmbedded, "000010", "000010"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- What the simple kinds report about themselves ---

struct SimpleKindCase
{
    const char* name;
    int kind;
    int result;
    bool hasAnswerList;
    bool typed;
    int answerCount;
    int correctCount;
    const char* typeName;
};

class SimpleKind : public testing::TestWithParam<SimpleKindCase>
{
};

TEST_P(SimpleKind, ReportsItsGradeAndAnswerShape)
{
    const auto& c = GetParam();
    auto item = MakeItemOfKind(c.kind);
    ASSERT_TRUE(item);
    // Something typed makes no difference to kinds that take no answer.
    if (c.kind != qtEssay)
        SetTyped(*item, "typed anyway");
    EXPECT_EQ(item->IsAnswered(), false);
    EXPECT_EQ(item->GetResult(), c.result);
    EXPECT_EQ(item->HasAnswerList(), c.hasAnswerList);
    EXPECT_EQ(item->IsTypedAnswer(), c.typed);
    EXPECT_EQ(item->GetAnswerCount(), c.answerCount);
    EXPECT_EQ(item->GetCorrectAnswerCount(), c.correctCount);
    EXPECT_FALSE(item->IsAllAnswerBlanksIsEmpty());
    EXPECT_FALSE(item->HasUnits());
    EXPECT_EQ(item->GetQuestionTypeName(), c.typeName);
}

INSTANTIATE_TEST_SUITE_P(
    Items, SimpleKind,
    testing::Values(
        SimpleKindCase{"DescriptionGradesZero", qtDescription, 0, false, false, 0, -1, "Description"},
        SimpleKindCase{"EssayUngraded", qtEssay, -1, true, true, 1, 1, "Essay"},
        SimpleKindCase{"RandomMatchingNotGraded", qtRandomShortAnswerMatching, -1, false, false, 0, -1,
                       "Random Short-Answer Matching"},
        SimpleKindCase{"EmbeddedNotGraded", qtEmbedded, -1, false, false, 0, -1, "Embedded answers (Cloze)"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Essay ---

struct EssayGradeCase
{
    const char* name;
    const char* correct;
    int result;
};

class EssayGrade : public testing::TestWithParam<EssayGradeCase>
{
};

TEST_P(EssayGrade, IsTheWholeNumberGivenByHand)
{
    CEssayItem essay;
    SAnswerItem answer;
    answer.Correct = GetParam().correct;
    essay.AddAnswer(answer);
    EXPECT_EQ(essay.GetResult(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Items, EssayGrade,
                         testing::Values(EssayGradeCase{"Incorrect", "0", 0},
                                         EssayGradeCase{"Correct", "1", 1},
                                         EssayGradeCase{"PartlyCorrect", "2", 2},
                                         EssayGradeCase{"EmptyIsNotGraded", "", -1},
                                         EssayGradeCase{"WordIsNotGraded", "abc", -1},
                                         EssayGradeCase{"FractionIsNotGraded", "1.5", -1},
                                         EssayGradeCase{"TrailingTextIsNotGraded", "1x", -1},
                                         EssayGradeCase{"AboveScaleClampedToTwo", "5", 2},
                                         EssayGradeCase{"HugeClampedToTwo", "99999999999", 2},
                                         EssayGradeCase{"NegativeClampedToZero", "-3", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EssayItem, StartsWithoutPenaltyAndCountsTheTypedEssayAsAnswer)
{
    CEssayItem essay;
    EXPECT_EQ(essay.GetPenaltyFactor(), "");
    EXPECT_EQ(essay.GetDefaultQuestionGrade(), "1");
    EXPECT_FALSE(essay.IsAnswered());
    SetTyped(essay, "My essay");
    EXPECT_TRUE(essay.IsAnswered());
}

TEST(EssayItem, HasExactlyOneAnswerReachedByAnyIndexOrId)
{
    CEssayItem essay;
    SAnswerItem model;
    model.ID = 7;
    model.AnswerText = "Model answer";
    model.Correct = "1";
    model.Feedback = "Well argued";
    ASSERT_TRUE(essay.AddAnswer(model));

    SAnswerItem* inPlace = nullptr;
    ASSERT_TRUE(essay.GetAnswer(5, inPlace));
    EXPECT_EQ(inPlace->AnswerText, "Model answer");
    inPlace->Feedback = "changed in place";

    SAnswerItem copy;
    std::int32_t index = -1;
    EXPECT_FALSE(essay.FindAnswerById(7, nullptr, &index));
    ASSERT_TRUE(essay.FindAnswerById(12345, &copy, &index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(copy.Feedback, "changed in place");

    SAnswerItem replacement;
    replacement.ID = 9;
    replacement.AnswerText = "Other";
    ASSERT_TRUE(essay.UpdateAnswer(replacement));
    ASSERT_TRUE(essay.GetAnswer(0, inPlace));
    EXPECT_EQ(inPlace->ID, 9);
    EXPECT_EQ(inPlace->Correct, ""); // every field is overwritten
    EXPECT_FALSE(essay.DeleteAnswer(0));
    EXPECT_EQ(essay.GetAnswerCount(), 1);
}

TEST(EssayItem, ClearEmptiesAnswerGradeAndEssay)
{
    CEssayItem essay;
    SAnswerItem model;
    model.ID = 3;
    model.AnswerText = "Model";
    model.Correct = "2";
    model.Feedback = "f";
    model.Tolerance = "t";
    model.UserAnswer = "u";
    essay.AddAnswer(model);
    essay.SetName("Keep me");
    essay.SetQuestionText("Discuss.");
    SetTyped(essay, "essay text");

    ASSERT_TRUE(essay.Clear());
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(essay.GetAnswer(0, a));
    EXPECT_EQ(a->ID, 0);
    EXPECT_EQ(a->AnswerText + a->Correct + a->Feedback + a->Tolerance + a->UserAnswer, "");
    EXPECT_FALSE(essay.IsAnswered());
    EXPECT_EQ(essay.GetResult(), -1);
    EXPECT_EQ(essay.GetQuestionText(), "");
    EXPECT_EQ(essay.GetName(), "Keep me");
}

TEST(EssayItem, CopiesTheOtherEssaysAnswerAndOnlyTheCommonPartOfOtherKinds)
{
    CEssayItem source;
    source.SetName("Source");
    SAnswerItem model;
    model.ID = 4;
    model.AnswerText = "Model";
    model.Correct = "1";
    source.AddAnswer(model);

    CEssayItem target;
    ASSERT_TRUE(target.CopyFrom(&source));
    EXPECT_EQ(target.GetName(), "Source");
    EXPECT_EQ(target.GetResult(), 1);
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(target.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "Model");

    // Copying an essay onto itself keeps its answer.
    ASSERT_TRUE(target.CopyFrom(&target));
    ASSERT_TRUE(target.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "Model");

    auto shortAnswer = lf::test::ShortAnswer().name("Short").answer("Paris", "1").build();
    ASSERT_TRUE(target.CopyFrom(shortAnswer.get()));
    EXPECT_EQ(target.GetName(), "Short");
    ASSERT_TRUE(target.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "Model");
    EXPECT_FALSE(target.CopyFrom(nullptr));
}

// True/false and essay both hold exactly one answer; neither takes the other's.
TEST(EssayItem, OneAnswerKindsDoNotTakeEachOthersAnswer)
{
    CTrueFalseItem statement;
    statement.SetName("Statement");
    SAnswerItem truth;
    truth.Correct = "1";
    truth.AnswerText = "True";
    statement.AddAnswer(truth);
    statement.SetUserAnswer("1");

    CEssayItem essay;
    SAnswerItem model;
    model.AnswerText = "Model";
    model.Correct = "2";
    essay.AddAnswer(model);

    ASSERT_TRUE(essay.CopyFrom(&statement));
    EXPECT_EQ(essay.GetName(), "Statement");
    SAnswerItem* a = nullptr;
    ASSERT_TRUE(essay.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "Model");
    EXPECT_EQ(essay.GetResult(), 2);

    ASSERT_TRUE(statement.CopyFrom(&essay));
    ASSERT_TRUE(statement.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "True");
    EXPECT_EQ(statement.GetResult(), 1);

    // Clearing empties the essay's answer but keeps the statement's, whose user choice goes.
    ASSERT_TRUE(essay.Clear());
    ASSERT_TRUE(essay.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "");
    ASSERT_TRUE(statement.Clear());
    ASSERT_TRUE(statement.GetAnswer(0, a));
    EXPECT_EQ(a->AnswerText, "True");
    EXPECT_FALSE(statement.IsAnswered());
}

// --- Random short-answer matching ---

TEST(RandomShortAnswerMatchingItem, CopiesItsCountAndKeepsItOnClear)
{
    CRandomShortAnswerMatchingItem source;
    EXPECT_EQ(source.GetNumberOfQuestionsToSelect(), 2);
    source.SetNumberOfQuestionsToSelect(5);
    source.SetQuestionText("Draw five");

    CRandomShortAnswerMatchingItem target;
    ASSERT_TRUE(target.CopyFrom(&source));
    EXPECT_EQ(target.GetNumberOfQuestionsToSelect(), 5);
    EXPECT_EQ(target.GetQuestionText(), "Draw five");

    ASSERT_TRUE(target.Clear());
    EXPECT_EQ(target.GetQuestionText(), "");
    EXPECT_EQ(target.GetNumberOfQuestionsToSelect(), 5);
}

TEST(RandomShortAnswerMatchingItem, TakesOnlyTheCommonPartFromAnotherKind)
{
    CEssayItem essay;
    essay.SetName("Essay");
    CRandomShortAnswerMatchingItem target;
    target.SetNumberOfQuestionsToSelect(7);
    ASSERT_TRUE(target.CopyFrom(&essay));
    EXPECT_EQ(target.GetName(), "Essay");
    EXPECT_EQ(target.GetNumberOfQuestionsToSelect(), 7);
}

// --- Embedded answers ---

TEST(EmbeddedItem, ConvertedFromMultipleChoiceKeepsTheQuestionAsExplanation)
{
    auto choice = lf::test::MultipleChoice()
                      .name("Capital")
                      .question("<LFDRoot>Capital of France?</LFDRoot>")
                      .feedback("old explanation")
                      .answer("Paris", "1")
                      .answer("Rome", "0")
                      .build();
    CEmbeddedItem embedded;
    ASSERT_TRUE(embedded.CopyFrom(choice.get()));
    EXPECT_EQ(embedded.GetName(), "Capital _copy");
    EXPECT_EQ(embedded.GetQuestionText(), "<LFDRoot>Capital of France?</LFDRoot>");
    EXPECT_EQ(embedded.GetGeneralFeedback(), "<LFDRoot>Capital of France?</LFDRoot>");
    EXPECT_EQ(embedded.GetQuestionType(), qtEmbedded);
}

TEST(EmbeddedItem, FromOtherKindsCopiesOnlyTheCommonPart)
{
    auto shortAnswer = lf::test::ShortAnswer().name("Capital").question("Q").feedback("Why").build();
    CEmbeddedItem embedded;
    ASSERT_TRUE(embedded.CopyFrom(shortAnswer.get()));
    EXPECT_EQ(embedded.GetName(), "Capital");
    EXPECT_EQ(embedded.GetGeneralFeedback(), "Why");
    EXPECT_FALSE(embedded.CopyFrom(nullptr));
}

TEST(EmbeddedItem, ClearKeepsTheNameAndEmptiesTheText)
{
    CEmbeddedItem embedded;
    embedded.SetName("Cloze");
    embedded.SetQuestionText("{1:SHORTANSWER:=Paris}");
    ASSERT_TRUE(embedded.Clear());
    EXPECT_EQ(embedded.GetName(), "Cloze");
    EXPECT_EQ(embedded.GetQuestionText(), "");
}

// --- Description ---

TEST(DescriptionItem, CopiesTheCommonPartOfAnyKind)
{
    auto choice = lf::test::MultipleChoice().name("Intro").question("Read this").answer("a", "1").build();
    CDescriptionItem description;
    ASSERT_TRUE(description.CopyFrom(choice.get()));
    EXPECT_EQ(description.GetName(), "Intro");
    EXPECT_EQ(description.GetQuestionText(), "Read this");
    EXPECT_EQ(description.GetAnswerCount(), 0);
    EXPECT_EQ(description.GetResult(), 0);
}

} // namespace
