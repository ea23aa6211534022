// Calculated items: the data sets of an answer, random values on their grid, and grading a typed number
// against the formula at the row shown with it.
#include "model/items/Datatypes_Kinds.h"
#include "platform/sys/SystemServices.h"
#include "tests/model/ItemBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

using lf::test::PrintTo;

SCalculatedVariableItem Variable(std::string name, std::string min, std::string max,
                                 std::initializer_list<const char*> values)
{
    SCalculatedVariableItem v;
    v.Name = std::move(name);
    v.MinValue = std::move(min);
    v.MaxValue = std::move(max);
    for (const char* value : values)
        v.Values.Add(value);
    return v;
}

SCalculatedAnswerItem Answer(std::initializer_list<SCalculatedVariableItem> variables)
{
    SCalculatedAnswerItem a;
    for (const auto& v : variables)
        a.Variables.Add(v);
    return a;
}

std::int32_t ValueCount(const SCalculatedAnswerItem& answer, const std::string& name)
{
    std::int32_t index = -1;
    return FindVariable(answer, name, index) ? answer.Variables[index].Values.GetSize() : -1;
}

std::vector<std::string> Values(const SCalculatedAnswerItem& answer, const std::string& name)
{
    std::vector<std::string> out;
    std::int32_t index = -1;
    if (FindVariable(answer, name, index))
        for (const auto& v : answer.Variables[index].Values)
            out.push_back(v);
    return out;
}

double ToNumber(const std::string& text)
{
    double value = NAN;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Digits after the decimal point; -1 without a point.
int DecimalsOf(const std::string& text)
{
    const auto point = text.find('.');
    return point == std::string::npos ? -1 : static_cast<int>(text.size() - point - 1);
}

// --- Rows of the data sets ---

TEST(CalculatedDatasets, CompleteRowsAreTheShortestValueList)
{
    EXPECT_EQ(GetDatasetSize(Answer({})), 0);
    EXPECT_EQ(GetDatasetSize(Answer({Variable("x", "1", "10", {"1", "2", "3"}),
                                     Variable("y", "1", "10", {"1", "2", "3", "4", "5"})})),
              3);
    EXPECT_EQ(
        GetDatasetSize(Answer({Variable("x", "1", "10", {"1", "2", "3"}), Variable("y", "1", "10", {})})), 0);
}

TEST(CalculatedDatasets, GenerateAppendsToEveryVariable)
{
    lf::sys::SeedRandom(7);
    auto answer = Answer({Variable("x", "1", "10", {"1.0", "2.0", "3.0"}),
                          Variable("y", "1", "10", {"1.0", "2.0", "3.0", "4.0", "5.0"})});
    ASSERT_TRUE(GenerateDatasets(answer, 2));
    EXPECT_EQ(ValueCount(answer, "x"), 5);
    EXPECT_EQ(ValueCount(answer, "y"), 7);
    EXPECT_EQ(GetDatasetSize(answer), 5);
    // The old values stay in front; the new ones lie in the range with one decimal.
    EXPECT_EQ(Values(answer, "x")[0], "1.0");
    for (const auto& v : Values(answer, "x"))
    {
        EXPECT_EQ(DecimalsOf(v), 1) << v;
        EXPECT_TRUE(IsValueInRange("1", "10", v)) << v;
    }
}

TEST(CalculatedDatasets, GenerateWithoutCompleteRowStartsAfresh)
{
    auto answer = Answer({Variable("x", "1", "10", {"1.0", "2.0", "3.0"}), Variable("y", "20", "30", {})});
    ASSERT_TRUE(GenerateDatasets(answer, 2));
    EXPECT_EQ(ValueCount(answer, "x"), 2);
    EXPECT_EQ(ValueCount(answer, "y"), 2);
    for (const auto& v : Values(answer, "y"))
        EXPECT_TRUE(IsValueInRange("20", "30", v)) << v;

    ASSERT_TRUE(GenerateDatasets(answer, 0));
    ASSERT_TRUE(GenerateDatasets(answer, -3));
    EXPECT_EQ(GetDatasetSize(answer), 2);
}

TEST(CalculatedDatasets, VariableRangeIsSetOrAddedByName)
{
    SCalculatedAnswerItem answer;
    std::string min, max;
    ASSERT_TRUE(GetVariableRange(answer, "x", min, max));
    EXPECT_EQ(min, "1");
    EXPECT_EQ(max, "10");
    ASSERT_EQ(GetVariableCount(answer), 1);
    EXPECT_EQ(answer.Variables[0].Name, "x");
    EXPECT_EQ(answer.Variables[0].MinValue, "1");
    EXPECT_EQ(answer.Variables[0].MaxValue, "10");

    ASSERT_TRUE(SetVariableRange(answer, "x", "-5", "5"));
    ASSERT_TRUE(SetVariableRange(answer, "X", "0", "1")); // names are case-sensitive
    EXPECT_EQ(GetVariableCount(answer), 2);
    ASSERT_TRUE(GetVariableRange(answer, "x", min, max));
    EXPECT_EQ(min + ".." + max, "-5..5");
    EXPECT_EQ(GetVariableCount(answer), 2);
}

TEST(CalculatedDatasets, ValueAccessIsBoundedByTheVariablesOwnList)
{
    auto answer = Answer({Variable("x", "1", "10", {"1.0", "2.0"}), Variable("y", "1", "10", {"5.0"})});
    std::string value;
    EXPECT_TRUE(GetDatasetValue(answer, "x", value, 1)); // beyond the complete rows, within x's list
    EXPECT_EQ(value, "2.0");
    EXPECT_FALSE(GetDatasetValue(answer, "x", value, 2));
    EXPECT_FALSE(GetDatasetValue(answer, "x", value, -1));
    EXPECT_FALSE(GetDatasetValue(answer, "z", value, 0));

    EXPECT_TRUE(SetDatasetValue(answer, "y", "6.5", 0));
    EXPECT_TRUE(GetDatasetValue(answer, "y", value, 0));
    EXPECT_EQ(value, "6.5");
    EXPECT_FALSE(SetDatasetValue(answer, "y", "7", 1));
    EXPECT_FALSE(SetDatasetValue(answer, "z", "7", 0));

    ClearDatasets(answer);
    EXPECT_EQ(ValueCount(answer, "x"), 0);
    EXPECT_EQ(GetVariableCount(answer), 2);
}

struct DeleteCase
{
    const char* name;
    int xValues;
    int yValues;
    int deleteCount;
    int xLeft;
    int yLeft;
};

class DeleteLastDatasetsTable : public testing::TestWithParam<DeleteCase>
{
};

TEST_P(DeleteLastDatasetsTable, LeavesAtLeastOneCompleteRow)
{
    const auto& c = GetParam();
    SCalculatedAnswerItem answer;
    SetVariableRange(answer, "x", "1", "10");
    SetVariableRange(answer, "y", "1", "10");
    for (int i = 0; i < c.xValues; ++i)
        answer.Variables[0].Values.Add(std::to_string(i));
    for (int i = 0; i < c.yValues; ++i)
        answer.Variables[1].Values.Add(std::to_string(i));
    ASSERT_TRUE(DeleteLastDatasets(answer, c.deleteCount));
    EXPECT_EQ(ValueCount(answer, "x"), c.xLeft);
    EXPECT_EQ(ValueCount(answer, "y"), c.yLeft);
    if (c.yLeft > 0)
    {
        EXPECT_EQ(Values(answer, "y").front(), "0"); // the first values stay
    }
}

INSTANTIATE_TEST_SUITE_P(Items, DeleteLastDatasetsTable,
                         testing::Values(DeleteCase{"TwoOfFour", 4, 4, 2, 2, 2},
                                         DeleteCase{"TooManyLeavesOneRow", 4, 4, 10, 1, 1},
                                         DeleteCase{"ExactlyAllLeavesOneRow", 4, 4, 4, 1, 1},
                                         DeleteCase{"EachListLosesItsOwnLast", 4, 6, 2, 2, 4},
                                         DeleteCase{"NoCompleteRowRemovesNothing", 3, 0, 2, 3, 0},
                                         DeleteCase{"ZeroRemovesNothing", 4, 4, 0, 4, 4},
                                         DeleteCase{"NegativeRemovesNothing", 4, 4, -2, 4, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalculatedDatasets, RegenerateReplacesOnlyValuesOutsideTheRangeInCompleteRows)
{
    lf::sys::SeedRandom(11);
    auto answer = Answer({Variable("x", "1", "10", {"1.5", "2.5", "9.9", "4.0"}),
                          Variable("y", "1", "10", {"3.0", "12.0", "5.0"})});
    SetVariableRange(answer, "x", "20", "30");
    ASSERT_TRUE(RegenerateOutOfRangeValues(answer));

    const auto x = Values(answer, "x");
    ASSERT_EQ(x.size(), 4U);
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(IsValueInRange("20", "30", x[k])) << x[k];
    EXPECT_EQ(x[3], "4.0"); // beyond the complete rows
    const auto y = Values(answer, "y");
    EXPECT_EQ(y[0], "3.0");
    EXPECT_TRUE(IsValueInRange("1", "10", y[1])) << y[1];
    EXPECT_EQ(y[2], "5.0");
}

struct RangeCase
{
    const char* name;
    const char* min;
    const char* max;
    const char* value;
    bool inRange;
};

class ValueInRange : public testing::TestWithParam<RangeCase>
{
};

TEST_P(ValueInRange, IncludesBothEnds)
{
    const auto& c = GetParam();
    EXPECT_EQ(IsValueInRange(c.min, c.max, c.value), c.inRange);
}

INSTANTIATE_TEST_SUITE_P(Items, ValueInRange,
                         testing::Values(RangeCase{"Inside", "1", "10", "5.5", true},
                                         RangeCase{"LowerEnd", "1", "10", "1", true},
                                         RangeCase{"UpperEnd", "1", "10", "10.0", true},
                                         RangeCase{"Below", "1", "10", "0.9", false},
                                         RangeCase{"Above", "1", "10", "10.1", false},
                                         RangeCase{"NotANumberCountsAsZero", "-1", "1", "abc", true},
                                         RangeCase{"NotANumberOutsidePositiveRange", "1", "10", "", false},
                                         RangeCase{"BoundNotANumberCountsAsZero", "x", "10", "0", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Random values ---

TEST(MakeRandomValue, StepsByOneTenthFromTheMinimumNeverReachingTheMaximum)
{
    lf::sys::SeedRandom(2024);
    std::set<std::string> seen;
    for (int i = 0; i < 3000; ++i)
        seen.insert(MakeRandomValue("1", "10", 1));
    std::set<std::string> grid;
    for (int k = 10; k < 100; ++k)
        grid.insert(std::to_string(k / 10) + "." + std::to_string(k % 10));
    EXPECT_EQ(seen, grid); // every value 1.0 .. 9.9 and nothing else; 10.0 never
}

TEST(MakeRandomValue, IsReproducibleFromTheSeed)
{
    lf::sys::SeedRandom(99);
    std::vector<std::string> first;
    for (int i = 0; i < 20; ++i)
        first.push_back(MakeRandomValue("0", "100", 1));
    lf::sys::SeedRandom(99);
    std::vector<std::string> second;
    for (int i = 0; i < 20; ++i)
        second.push_back(MakeRandomValue("0", "100", 1));
    EXPECT_EQ(first, second);
}

struct RandomRangeCase
{
    const char* name;
    const char* min;
    const char* max;
    int decimals;
    double low;  // every value lies in [low, high)
    double high; // or equals low when low == high
};

class MakeRandomValueRange : public testing::TestWithParam<RandomRangeCase>
{
};

TEST_P(MakeRandomValueRange, StaysOnTheGridWithinTheRange)
{
    const auto& c = GetParam();
    lf::sys::SeedRandom(5);
    std::set<std::string> seen;
    double smallest = INFINITY;
    double largest = -INFINITY;
    for (int i = 0; i < 200; ++i)
    {
        const std::string text = MakeRandomValue(c.min, c.max, c.decimals);
        seen.insert(text);
        EXPECT_EQ(DecimalsOf(text), c.decimals == 0 ? -1 : c.decimals) << text;
        const double v = ToNumber(text);
        ASSERT_TRUE(std::isfinite(v)) << text;
        smallest = std::min(smallest, v);
        largest = std::max(largest, v);
        if (c.low == c.high)
        {
            EXPECT_EQ(v, c.low) << text;
        }
        else
        {
            EXPECT_GE(v, c.low) << text;
            EXPECT_LT(v, c.high) << text;
        }
    }
    if (c.low != c.high)
    {
        // A real spread over the whole range, not one value or a corner of it.
        EXPECT_GT(seen.size(), 50U);
        const double middle = c.low / 2 + c.high / 2;
        EXPECT_LT(smallest, middle);
        EXPECT_GT(largest, middle);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Items, MakeRandomValueRange,
    testing::Values(RandomRangeCase{"EqualBoundsGiveTheMinimum", "5", "5", 1, 5.0, 5.0},
                    RandomRangeCase{"MinimumAboveMaximumGoesUpFromTheMinimum", "10", "0", 1, 10.0, 20.0},
                    RandomRangeCase{"BoundsNotNumbersAreOneAndTen", "low", "high", 1, 1.0, 10.0},
                    RandomRangeCase{"NegativeRange", "-50", "-10", 1, -50.0, -10.0},
                    RandomRangeCase{"TwoDecimals", "0", "1", 2, 0.0, 1.0},
                    RandomRangeCase{"NoDecimals", "0", "1000", 0, 0.0, 1000.0},
                    // Step counts beyond the int range are drawn in floating point, not overflowed.
                    RandomRangeCase{"WidthBeyondIntRange", "0", "1e12", 1, 0.0, 1e12},
                    RandomRangeCase{"HugeSymmetricRange", "-1e300", "1e300", 1, -1e300, 1e300},
                    RandomRangeCase{"WidthOverflowingDouble", "-1.7e308", "1.7e308", 1, -1.7e308, 1.7e308}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MakeRandomValue, WideRangeKeepsTheOneTenthGrid)
{
    lf::sys::SeedRandom(3);
    for (int i = 0; i < 100; ++i)
    {
        const std::string text = MakeRandomValue("0.5", "5e9", 1);
        const double v = ToNumber(text);
        EXPECT_GE(v, 0.5) << text;
        EXPECT_LT(v, 5e9) << text;
        // On the grid from the minimum: (v - 0.5) is a whole number of tenths.
        const double tenths = (v - 0.5) * 10.0;
        EXPECT_NEAR(tenths, std::round(tenths), 1e-3) << text;
    }
}

// --- Grading ---

// A question asking for x + y with two rows: (1, 3) and (2, 4), a nominal tolerance of 0.01.
class CalculatedGrading : public testing::Test
{
protected:
    void SetUp() override
    {
        SCalculatedAnswerItem sum;
        sum.ID = 1;
        sum.AnswerFormula = "{x}+{y}";
        sum.FormulaParams.Tolerance = "0.01";
        sum.FormulaParams.ToleranceType = 1;
        sum.Correct = "1";
        item.AddCalculatedAnswer(sum);
        FillRows(0);
    }

    // Gives answer i the two rows of x and y.
    void FillRows(std::int32_t i)
    {
        SCalculatedAnswerItem* answer = nullptr;
        ASSERT_TRUE(item.GetCalculatedAnswer(i, answer));
        SetVariableRange(*answer, "x", "1", "10");
        SetVariableRange(*answer, "y", "1", "10");
        answer->Variables[0].Values.Add("1.0");
        answer->Variables[0].Values.Add("2.0");
        answer->Variables[1].Values.Add("3.0");
        answer->Variables[1].Values.Add("4.0");
    }

    void AddAnswer(const char* formula, const char* correct)
    {
        SCalculatedAnswerItem a;
        a.ID = item.GetAnswerCount() + 1;
        a.AnswerFormula = formula;
        a.FormulaParams.Tolerance = "0.01";
        a.FormulaParams.ToleranceType = 1;
        a.Correct = correct;
        item.AddCalculatedAnswer(a);
        FillRows(item.GetAnswerCount() - 1);
    }

    void Answer(const std::string& typed, const std::string& row)
    {
        SCommonUserAnswerInfo info;
        info.UserAnswer = typed;
        info.UserAnswerAdditionalInfo = row;
        item.SetCommonUserAnswerInfo(info);
    }

    CCalculatedItem item;
};

struct GradeCase
{
    const char* name;
    const char* typed;
    const char* row;
    int result;
};

class CalculatedGradeTable : public CalculatedGrading, public testing::WithParamInterface<GradeCase>
{
};

TEST_P(CalculatedGradeTable, GradesAgainstTheStoredRow)
{
    // A second, partly credited answer: x * y.
    AddAnswer("{x}*{y}", "0.5");
    const auto& c = GetParam();
    Answer(c.typed, c.row);
    item.SetCurrentDataset(c.row == std::string("0") ? 1 : 0); // never consulted by grading
    EXPECT_EQ(item.IsAnswered(), std::string(c.typed) != "");
    EXPECT_EQ(item.GetResult(), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Items, CalculatedGradeTable,
    testing::Values(GradeCase{"RightAtRowZero", "4", "0", 1}, GradeCase{"RightAtRowOne", "6", "1", 1},
                    GradeCase{"WithinTolerance", "4.005", "0", 1},
                    GradeCase{"JustOutsideTolerance", "4.02", "0", 0},
                    GradeCase{"RightForAnotherRowIsWrong", "6", "0", 0},
                    GradeCase{"PartlyCreditedFormula", "3", "0", 2},
                    GradeCase{"PartlyCreditedAtRowOne", "8", "1", 2}, GradeCase{"Wrong", "5", "0", 0},
                    GradeCase{"NotANumber", "four", "0", 0}, GradeCase{"Unanswered", "", "0", 0},
                    GradeCase{"RowEmpty", "4", "", 0}, GradeCase{"RowBeyondDatasets", "4", "2", 0},
                    GradeCase{"RowNegative", "4", "-1", 0}, GradeCase{"RowNotANumber", "4", "first", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CalculatedGrading, AnswerGradedZeroIsNeverAMatch)
{
    AddAnswer("{x}*{y}", "0");
    Answer("3", "0");
    EXPECT_EQ(item.GetResult(), 0);
    SCalculatedAnswerItem* match = nullptr;
    EXPECT_EQ(item.FindMatchingCalculatedAnswer(match, false), 0); // the first credited one
    EXPECT_EQ(item.GetCorrectAnswerCount(), 1);
}

TEST_F(CalculatedGrading, UnusableFormulaIsSkippedForTheNextCandidate)
{
    SCalculatedAnswerItem* first = nullptr;
    ASSERT_TRUE(item.GetCalculatedAnswer(0, first));
    first->AnswerFormula = "{x}+"; // does not validate
    AddAnswer("{x}-{y}", "1");
    Answer("-2", "0");
    SCalculatedAnswerItem* match = nullptr;
    EXPECT_EQ(item.FindMatchingCalculatedAnswer(match, true), 1);
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(match->ID, 2);
    EXPECT_EQ(item.GetResult(), 1);
}

TEST_F(CalculatedGrading, FormulaVariableWithoutValuesDoesNotMatch)
{
    SCalculatedAnswerItem* first = nullptr;
    ASSERT_TRUE(item.GetCalculatedAnswer(0, first));
    first->AnswerFormula = "{x}+{z}";
    Answer("4", "0");
    EXPECT_EQ(item.GetResult(), 0);
    CFormulaManager manager;
    EXPECT_FALSE(item.PrepareFormulaManager(first, manager, false));
    EXPECT_FALSE(item.PrepareFormulaManager(nullptr, manager, false));
}

TEST_F(CalculatedGrading, PreparedManagerUsesTheRequestedRow)
{
    SCalculatedAnswerItem* sum = nullptr;
    ASSERT_TRUE(item.GetCalculatedAnswer(0, sum));
    Answer("", "0");
    item.SetCurrentDataset(1);
    CFormulaManager manager;
    std::string result;

    ASSERT_TRUE(item.PrepareFormulaManager(sum, manager, true));
    ASSERT_TRUE(manager.Calculate(&result));
    EXPECT_EQ(ToNumber(result), 6.0);

    ASSERT_TRUE(item.PrepareFormulaManager(sum, manager, false));
    ASSERT_TRUE(manager.Calculate(&result));
    EXPECT_EQ(ToNumber(result), 4.0);

    item.SetCurrentDataset(-1);
    EXPECT_FALSE(item.PrepareFormulaManager(sum, manager, true));
}

TEST_F(CalculatedGrading, UnansweredFindsNothingWithCheck)
{
    SCalculatedAnswerItem* match = nullptr;
    EXPECT_EQ(item.FindMatchingCalculatedAnswer(match, true), -1);
    EXPECT_EQ(item.FindMatchingCalculatedAnswer(match, false), 0);
}

// --- The item's answers, units and copies ---

TEST(CalculatedItem, AnswerAndUnitAccessIsBounded)
{
    CCalculatedItem item;
    SCalculatedAnswerItem* answer = nullptr;
    EXPECT_FALSE(item.GetCalculatedAnswer(0, answer));
    EXPECT_FALSE(item.GetCalculatedAnswer(-1, answer));
    // The generic answer slots are not the way to calculated answers.
    SAnswerItem plain;
    EXPECT_FALSE(item.AddAnswer(plain));
    EXPECT_EQ(item.GetAnswerCount(), 0);

    SUnitItem unit{"1000", "m"};
    ASSERT_TRUE(item.AddUnit(unit));
    EXPECT_EQ(item.GetUnitCount(), 1);
    SUnitItem* inPlace = nullptr;
    ASSERT_TRUE(item.GetUnit(0, inPlace));
    EXPECT_EQ(inPlace->Description, "m");
    EXPECT_TRUE(item.SetUnit(0, SUnitItem{"1", "km"}));
    EXPECT_EQ(inPlace->Description, "km");
    EXPECT_FALSE(item.GetUnit(1, inPlace));
    EXPECT_FALSE(item.SetUnit(-1, unit));
    EXPECT_FALSE(item.DeleteUnit(1));
    EXPECT_TRUE(item.DeleteUnit(0));
    EXPECT_EQ(item.GetUnitCount(), 0);
    EXPECT_TRUE(item.HasUnits());
    EXPECT_TRUE(item.IsTypedAnswer());
    EXPECT_TRUE(item.HasAnswerList());
}

struct BlankCase
{
    const char* name;
    const char* formula;
    const char* correct;
    const char* feedback;
    bool blank;
};

class CalculatedBlanks : public testing::TestWithParam<BlankCase>
{
};

TEST_P(CalculatedBlanks, OnlyEmptyAnswersAreBlank)
{
    const auto& c = GetParam();
    CCalculatedItem item;
    SCalculatedAnswerItem empty;
    item.AddCalculatedAnswer(empty);
    SCalculatedAnswerItem a;
    a.AnswerFormula = c.formula;
    a.Correct = c.correct;
    a.Feedback = c.feedback;
    item.AddCalculatedAnswer(a);
    EXPECT_EQ(item.IsAllAnswerBlanksIsEmpty(), c.blank);
}

INSTANTIATE_TEST_SUITE_P(Items, CalculatedBlanks,
                         testing::Values(BlankCase{"AllEmpty", "", "", "", true},
                                         BlankCase{"BlanksAndZeroGrade", "  \t", "0", " \r\n", true},
                                         BlankCase{"Formula", "{a}", "", "", false},
                                         BlankCase{"Grade", "", "0.5", "", false},
                                         BlankCase{"Feedback", "", "", "Good", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CalculatedItem, CopyCarriesOnlyTheCompleteRows)
{
    CCalculatedItem source;
    source.SetName("Area");
    SCalculatedAnswerItem a;
    a.ID = 5;
    a.AnswerFormula = "{w}*{h}";
    a.FormulaParams.Tolerance = "0.05";
    a.FormulaParams.ToleranceType = 2;
    a.FormulaParams.CorrectAnswerLength = 3;
    a.FormulaParams.CorrectAnswerFormat = 1;
    a.Correct = "1";
    a.Feedback = "w times h";
    a.Variables.Add(Variable("w", "1", "5", {"1.0", "2.0", "3.0"}));
    a.Variables.Add(Variable("h", "2", "6", {"4.0", "5.0"}));
    source.AddCalculatedAnswer(a);
    source.AddUnit(SUnitItem{"1", "m2"});
    source.SetCurrentDataset(1);

    CCalculatedItem target;
    target.AddCalculatedAnswer(SCalculatedAnswerItem{});
    target.AddUnit(SUnitItem{"1", "own"});
    ASSERT_TRUE(target.CopyFrom(&source));

    EXPECT_EQ(target.GetName(), "Area");
    ASSERT_EQ(target.GetAnswerCount(), 1);
    SCalculatedAnswerItem* copy = nullptr;
    ASSERT_TRUE(target.GetCalculatedAnswer(0, copy));
    EXPECT_EQ(copy->ID, 5);
    EXPECT_EQ(copy->AnswerFormula, "{w}*{h}");
    EXPECT_EQ(copy->FormulaParams.Tolerance, "0.05");
    EXPECT_EQ(copy->FormulaParams.ToleranceType, 2);
    EXPECT_EQ(copy->FormulaParams.CorrectAnswerLength, 3);
    EXPECT_EQ(copy->FormulaParams.CorrectAnswerFormat, 1);
    EXPECT_EQ(copy->Correct, "1");
    EXPECT_EQ(copy->Feedback, "w times h");
    EXPECT_EQ(Values(*copy, "w"), (std::vector<std::string>{"1.0", "2.0"}));
    EXPECT_EQ(Values(*copy, "h"), (std::vector<std::string>{"4.0", "5.0"}));
    EXPECT_EQ(copy->Variables[0].MinValue + ".." + copy->Variables[0].MaxValue, "1..5");
    EXPECT_EQ(target.GetUnitCount(), 2); // appended to the own ones
    EXPECT_EQ(target.GetCurrentDataset(), -1);

    // Copying onto itself loses nothing.
    ASSERT_TRUE(source.CopyFrom(&source));
    EXPECT_EQ(source.GetAnswerCount(), 1);
    EXPECT_FALSE(target.CopyFrom(nullptr));
}

TEST(CalculatedItem, EqualityComparesFormulaGradeAndFeedbackButNotDatasets)
{
    auto make = [](const char* formula, const char* value)
    {
        auto item = std::make_unique<CCalculatedItem>();
        SCalculatedAnswerItem a;
        a.ID = 1;
        a.AnswerFormula = formula;
        a.Correct = "1";
        a.Variables.Add(Variable("x", "1", "10", {value}));
        item->AddCalculatedAnswer(a);
        return item;
    };
    auto a = make("{x}*2", "1.0");
    auto sameButData = make("{x}*2", "7.0");
    auto otherFormula = make("{x}*3", "1.0");
    EXPECT_TRUE(a->IsEqual(sameButData.get(), true, true, true, true, true, true));
    EXPECT_FALSE(a->IsEqual(otherFormula.get(), true, true, true, true, true, true));
    EXPECT_TRUE(a->IsEqual(otherFormula.get(), true, true, true, false, true, true));
    otherFormula->AddCalculatedAnswer(SCalculatedAnswerItem{});
    EXPECT_FALSE(a->IsEqual(otherFormula.get(), true, true, true, false, true, true));
    auto numerical = lf::test::Numerical().build();
    EXPECT_FALSE(a->IsEqual(numerical.get(), true, true, true, true, true, true));
}

TEST(CalculatedItem, ClearRemovesAnswersUnitsAndTheUserAnswer)
{
    CCalculatedItem item;
    item.SetName("Keep");
    item.SetQuestionText("What is {x}+1?");
    item.AddCalculatedAnswer(SCalculatedAnswerItem{});
    item.AddUnit(SUnitItem{"1", "m"});
    SCommonUserAnswerInfo info;
    info.UserAnswer = "3";
    info.UserAnswerAdditionalInfo = "0";
    item.SetCommonUserAnswerInfo(info);

    ASSERT_TRUE(item.Clear());
    EXPECT_EQ(item.GetAnswerCount(), 0);
    EXPECT_EQ(item.GetUnitCount(), 0);
    EXPECT_FALSE(item.IsAnswered());
    EXPECT_EQ(item.GetCommonUserAnswerInfo().UserAnswerAdditionalInfo, "");
    EXPECT_EQ(item.GetQuestionText(), "");
    EXPECT_EQ(item.GetName(), "Keep");
}

} // namespace
