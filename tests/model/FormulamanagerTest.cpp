#include "model/formulas/Formulamanager.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

SFormulaParams Params(const std::string& tolerance = "0.01", std::uint8_t type = 0, std::int32_t length = 2,
                      std::uint8_t format = 0)
{
    SFormulaParams p;
    p.Tolerance = tolerance;
    p.ToleranceType = type;
    p.CorrectAnswerLength = length;
    p.CorrectAnswerFormat = format;
    return p;
}

std::vector<std::string> Names(const CFormulaManager& m)
{
    std::vector<std::string> names;
    for (std::int32_t i = 0; i < m.GetVariableCount(); ++i)
        names.push_back(m.GetVariableName(i));
    return names;
}

struct ValidationCase
{
    const char* name;
    const char* formula;
    bool valid;
    std::vector<std::string> variables; // checked when valid
};

class FormulaValidation : public ::testing::TestWithParam<ValidationCase>
{
};

TEST_P(FormulaValidation, AcceptsOnlyUsableFormulas)
{
    const ValidationCase& c = GetParam();
    CFormulaManager m;
    EXPECT_EQ(m.SetFormula(c.formula, Params()), c.valid) << c.formula;
    if (c.valid)
    {
        EXPECT_EQ(Names(m), c.variables) << c.formula;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormulaValidation,
    ::testing::Values(
        ValidationCase{"NoVariable", "2+3", false, {}}, ValidationCase{"Empty", "", false, {}},
        ValidationCase{"RepeatedVariableListedOnce", "{a}+{a}*{b}", true, {"a", "b"}},
        ValidationCase{"LetterCaseCounts", "{A}+{a}", true, {"A", "a"}},
        ValidationCase{"DigitsAndUnderscoreFollow", "{x_1}*{Y2}", true, {"x_1", "Y2"}},
        ValidationCase{"BraceInsideName", "{a{b}+1", true, {"a{b"}},
        ValidationCase{"BlankInName", "{a b}+1", false, {}},
        ValidationCase{"DigitFirst", "{1x}+1", false, {}}, ValidationCase{"QuoteInName", "{a'}+1", false, {}},
        ValidationCase{"EmptyName", "{}+1", false, {}}, ValidationCase{"CloseBeforeOpen", "}{a}", false, {}},
        ValidationCase{"Unclosed", "{a+1", false, {}}, ValidationCase{"StrayClose", "{a}}", false, {}},
        ValidationCase{"Brackets", "({a}+1", false, {}},
        ValidationCase{"TestValueOutsideDomainPasses", "sqrt({a}-2)", true, {"a"}},
        ValidationCase{"DoesNotEvaluate", "{a}+", false, {}},
        ValidationCase{"DivisionByZeroAtTestValues", "1/({a}-1)", false, {}}),
    [](const ::testing::TestParamInfo<ValidationCase>& info) { return std::string(info.param.name); });

TEST(FormulaManager, EarlyRefusalKeepsThePreviousVariables)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}+{b}", Params()));
    EXPECT_FALSE(m.SetFormula("({c}", Params()));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"a", "b"}));
    // A refusal found while listing the variables starts the list anew.
    EXPECT_FALSE(m.SetFormula("{c}+{1}", Params()));
    EXPECT_EQ(Names(m), (std::vector<std::string>{"c"}));
    EXPECT_EQ(m.GetVariableName(1), "");
    EXPECT_EQ(m.GetVariableName(-1), "");
}

TEST(FormulaManager, CalculatesOnlyWithEveryValueSet)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("sqrt({a}-2)+{b}", Params()));
    EXPECT_FALSE(m.SetVariableValue("c", "1"));
    ASSERT_TRUE(m.SetVariableValue("a", "6"));
    std::string result = "unchanged";
    EXPECT_FALSE(m.Calculate(&result));
    EXPECT_EQ(result, "unchanged");
    ASSERT_TRUE(m.SetVariableValue("b", "0.5"));
    std::string substituted;
    ASSERT_TRUE(m.Calculate(&result, nullptr, nullptr, &substituted));
    EXPECT_EQ(result, "2.5");
    EXPECT_EQ(substituted, "sqrt(6-2)+0.5");
    // Strict mode when calculating: the square root of -1 fails.
    ASSERT_TRUE(m.SetVariableValue("a", "1"));
    EXPECT_FALSE(m.Calculate(&result));
}

TEST(FormulaManager, NegativeValuesAreSubstitutedInBrackets)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}*{b}", Params()));
    m.SetVariableValue("a", "2");
    m.SetVariableValue("b", "-3");
    std::string result;
    std::string substituted;
    ASSERT_TRUE(m.Calculate(&result, nullptr, nullptr, &substituted));
    EXPECT_EQ(result, "-6");
    EXPECT_EQ(substituted, "2*(-3)");

    ASSERT_TRUE(m.SetFormula("{a}*({b})-{b}^2", Params()));
    m.SetVariableValue("a", "2");
    m.SetVariableValue("b", "-3");
    ASSERT_TRUE(m.Calculate(&result));
    EXPECT_EQ(result, "-15");
}

struct ToleranceCase
{
    const char* name;
    const char* value; // a in the formula {a}*2
    const char* tolerance;
    std::uint8_t type;
    const char* lower;
    const char* upper;
};

class ToleranceBounds : public ::testing::TestWithParam<ToleranceCase>
{
};

TEST_P(ToleranceBounds, SurroundTheResult)
{
    const ToleranceCase& c = GetParam();
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}*2", Params(c.tolerance, c.type)));
    ASSERT_TRUE(m.SetVariableValue("a", c.value));
    std::string result;
    std::string lower;
    std::string upper;
    ASSERT_TRUE(m.Calculate(&result, &lower, &upper));
    EXPECT_EQ(lower, c.lower);
    EXPECT_EQ(upper, c.upper);
    // The right answer itself is always accepted.
    bool inside = false;
    ASSERT_TRUE(m.CheckAnswer(result, inside));
    EXPECT_TRUE(inside) << result;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ToleranceBounds,
    ::testing::Values(ToleranceCase{"Relative", "100", "0.01", 0, "198", "202"},
                      ToleranceCase{"RelativeNegativeTolerance", "100", "-0.01", 0, "198", "202"},
                      ToleranceCase{"RelativeNegativeResult", "-100", "0.01", 0, "-202", "-198"},
                      ToleranceCase{"Nominal", "100", "0.5", 1, "199.5", "200.5"},
                      ToleranceCase{"Geometric", "100", "1", 2, "100", "400"},
                      ToleranceCase{"GeometricNegativeTolerance", "100", "-1", 2, "100", "400"},
                      ToleranceCase{"GeometricNegativeResultMirrored", "-100", "1", 2, "-400", "-100"},
                      ToleranceCase{"GeometricZero", "0", "1", 2, "0", "0"},
                      ToleranceCase{"UnknownTypeIsNominal", "100", "0.5", 7, "199.5", "200.5"},
                      ToleranceCase{"ZeroTolerance", "0.5", "0", 0, "1", "1"}),
    [](const ::testing::TestParamInfo<ToleranceCase>& info) { return std::string(info.param.name); });

TEST(FormulaManager, CheckAnswerIncludesBothEnds)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}*2", Params("0.01", 0)));
    ASSERT_TRUE(m.SetVariableValue("a", "100"));
    struct
    {
        const char* typed;
        bool ok;
        bool inside;
    } const cases[] = {{"198", true, true},       {"202", true, true},       {"200.5", true, true},
                       {"202.0001", true, false}, {"197.9999", true, false}, {" 200 ", true, true},
                       {"abc", false, false},     {"", false, false},        {"200,0", false, false}};
    for (const auto& c : cases)
    {
        bool inside = !c.inside;
        EXPECT_EQ(m.CheckAnswer(c.typed, inside), c.ok) << c.typed;
        EXPECT_EQ(inside, c.inside) << c.typed;
    }
}

TEST(FormulaManager, NeedsNumbersOnlyWhenBoundsAreAskedFor)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}*2", Params("wide", 0)));
    ASSERT_TRUE(m.SetVariableValue("a", "3"));
    std::string result;
    std::string lower;
    EXPECT_TRUE(m.Calculate(&result));
    EXPECT_EQ(result, "6");
    EXPECT_FALSE(m.Calculate(&result, &lower));
    bool inside = true;
    EXPECT_FALSE(m.CheckAnswer("6", inside));
    EXPECT_FALSE(inside);

    // An argument list left at the top level is a result text, but no number.
    ASSERT_TRUE(m.SetFormula("{a},2", Params("0.1", 0)));
    ASSERT_TRUE(m.SetVariableValue("a", "3"));
    ASSERT_TRUE(m.Calculate(&result));
    EXPECT_EQ(result, "3,2");
    EXPECT_FALSE(m.Calculate(&result, &lower));
    std::string formatted;
    EXPECT_FALSE(m.Calculate(nullptr, nullptr, nullptr, nullptr, &formatted));
}

TEST(FormulaManager, FormattedAnswerFollowsTheParameters)
{
    CFormulaManager m;
    std::string formatted;
    ASSERT_TRUE(m.SetFormula("{a}/3", Params("0.01", 0, 3, 1)));
    ASSERT_TRUE(m.SetVariableValue("a", "1000"));
    ASSERT_TRUE(m.Calculate(nullptr, nullptr, nullptr, nullptr, &formatted));
    EXPECT_EQ(formatted, "333");
    ASSERT_TRUE(m.SetFormula("{a}/3", Params("0.01", 0, 3, 0)));
    ASSERT_TRUE(m.SetVariableValue("a", "1000"));
    ASSERT_TRUE(m.Calculate(nullptr, nullptr, nullptr, nullptr, &formatted));
    EXPECT_EQ(formatted, "333.333");
}

struct FormatCase
{
    const char* name;
    const char* result;
    std::int32_t length;
    bool significant;
    const char* shown;
};

class AnswerFormat : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(AnswerFormat, ShowsTheResult)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatAnswer(c.result, c.length, c.significant), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AnswerFormat,
    ::testing::Values(FormatCase{"SignificantFewerThanIntegerDigits", "1234.5", 3, true, "1230"},
                      FormatCase{"SignificantWithDecimals", "12.345", 3, true, "12.3"},
                      FormatCase{"SignificantKeepsTrailingZero", "0.5", 3, true, "0.50"},
                      FormatCase{"SignificantNegative", "-1234.5", 2, true, "-1200"},
                      FormatCase{"SignificantRoundsUpAcrossDigits", "99.96", 3, true, "100"},
                      FormatCase{"SignificantSmallIsScientific", "-0.004", 2, true, "-4E-3"},
                      FormatCase{"SignificantLargeIsGeneral", "1.23456E20", 3, true, "1.23E20"},
                      FormatCase{"DecimalsCut", "3.14159", 2, false, "3.14"},
                      FormatCase{"DecimalsPadded", "50", 2, false, "50.00"},
                      FormatCase{"DecimalsRoundHalfUp", "0.125", 2, false, "0.13"},
                      FormatCase{"DecimalsSmallIsScientific", "0.004", 2, false, "4.0E-3"},
                      FormatCase{"DecimalsSmallNegative", "-0.004", 2, false, "-4.0E-3"},
                      FormatCase{"DecimalsOfScientificResult", "1E-7", 2, false, "1.0E-7"},
                      FormatCase{"DecimalsOfLargeResult", "1.5E20", 3, false, "1.50E+20"},
                      // A zero fixed text begins with "0.0" too; its scientific form loses the zero exponent.
                      FormatCase{"DecimalsOfZero", "0", 2, false, "0.0"},
                      // No decimals: the whole number, rounded, without a decimal point.
                      FormatCase{"NoDecimalsOfWhole", "7", 0, false, "7"},
                      FormatCase{"NoDecimalsRoundsDown", "7.4", 0, false, "7"},
                      FormatCase{"NoDecimalsRoundsUp", "7.5", 0, false, "8"},
                      FormatCase{"NoDecimalsOfNegative", "-3.2", 0, false, "-3"},
                      FormatCase{"NegativeDecimalsAreNone", "12.3", -2, false, "12"},
                      // Zero significant figures has no meaning: it shows what one figure shows.
                      FormatCase{"ZeroFiguresIsOne", "1234.5", 0, true, "1000"},
                      FormatCase{"NegativeLengthIsOne", "1234.5", -4, true, "1000"},
                      FormatCase{"NotANumber", "1,2", 2, false, ""}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return std::string(info.param.name); });

TEST(FormulaManager, HugeAnswerLengthIsHeldToASaneWidth)
{
    const std::string shown = FormatAnswer("1.5", 2'000'000'000, false);
    ASSERT_EQ(shown.size(), 102u);
    EXPECT_EQ(shown.substr(0, 4), "1.50");
}

TEST(FormulaManager, InsertValuesInTextReplacesOnlySetVariables)
{
    CFormulaManager m;
    ASSERT_TRUE(m.SetFormula("{a}+{b}", Params()));
    ASSERT_TRUE(m.SetVariableValue("a", "-2"));
    std::string text = "Take {a} and {b}; then {a} again, not {A}.";
    m.InsertValuesInText(text);
    // Values go into question texts as they are: no brackets around a negative one.
    EXPECT_EQ(text, "Take -2 and {b}; then -2 again, not {A}.");
}

} // namespace
