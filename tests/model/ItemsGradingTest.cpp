// One grading rule for every kind graded on a typed answer: the same answers graded "1", "0.5" and
// "-0.5" give the same results whether the question is calculated, short answer or numerical.
#include "model/items/Datatypes_Kinds.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{

using lf::test::PrintTo;

using namespace lf::test;

// The three answers of every kind: 12, 20 and 30, graded "1", "0.5" and "-0.5" (a penalty).
// A calculated question reaches the same values through formulas over {x}, which is 6 in its one data set.
struct GradedAnswer
{
    const char* value;
    const char* formula;
    const char* grade;
};
constexpr GradedAnswer kAnswers[] = {{"12", "{x}*2", "1"}, {"20", "{x}+14", "0.5"}, {"30", "{x}*5", "-0.5"}};

std::unique_ptr<CBaseItem> MakeCalculated()
{
    auto item = std::make_unique<CCalculatedItem>();
    std::int32_t id = 0;
    for (const GradedAnswer& a : kAnswers)
    {
        SCalculatedAnswerItem answer;
        answer.ID = ++id;
        answer.AnswerFormula = a.formula;
        answer.FormulaParams.Tolerance = "0.01";
        answer.FormulaParams.ToleranceType = 1;
        answer.Correct = a.grade;
        SetVariableRange(answer, "x", "1", "10");
        answer.Variables[0].Values.Add("6");
        item->AddCalculatedAnswer(answer);
    }
    return item;
}

std::unique_ptr<CBaseItem> MakeShortAnswer()
{
    auto builder = ShortAnswer();
    for (const GradedAnswer& a : kAnswers)
        builder.answer(a.value, a.grade);
    return builder.build();
}

std::unique_ptr<CBaseItem> MakeNumerical()
{
    auto builder = Numerical();
    for (const GradedAnswer& a : kAnswers)
        builder.value(a.value, a.grade, "0.1");
    return builder.build();
}

struct KindCase
{
    const char* name;
    std::unique_ptr<CBaseItem> (*make)();
};

class TypedAnswerGrading : public testing::TestWithParam<KindCase>
{
};

TEST_P(TypedAnswerGrading, PenaltyGradesWrongAndPartialCreditGradesPartlyRight)
{
    struct
    {
        const char* typed;
        int result;
    } const cases[] = {{"12", 1}, {"20", 2}, {"30", 0}, {"99", 0}};
    for (const auto& c : cases)
    {
        std::unique_ptr<CBaseItem> item = GetParam().make();
        SCommonUserAnswerInfo info;
        info.UserAnswer = c.typed;
        info.UserAnswerAdditionalInfo = "0"; // the data set row of a calculated question
        item->SetCommonUserAnswerInfo(info);
        EXPECT_EQ(item->GetResult(), c.result) << "typed " << c.typed;
    }
}

INSTANTIATE_TEST_SUITE_P(Items, TypedAnswerGrading,
                         testing::Values(KindCase{"Calculated", MakeCalculated},
                                         KindCase{"ShortAnswer", MakeShortAnswer},
                                         KindCase{"Numerical", MakeNumerical}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
