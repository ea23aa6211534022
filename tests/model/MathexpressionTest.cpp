#include "model/formulas/Mathexpression.h"

#include "platform/sys/SystemServices.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

// Evaluates in strict mode ("") or lenient mode ("test1").
struct SEvaluation
{
    int code;
    std::string result;
};

SEvaluation Evaluate(const std::string& expression, const std::string& mode = "")
{
    SEvaluation e;
    e.result = mode;
    e.code = CalcExpression(expression, e.result);
    return e;
}

struct ExpressionCase
{
    const char* name;
    const char* expression;
    int code;
    const char* result; // compared only when code is 0
    bool lenient = false;
};

void PrintTo(const ExpressionCase& c, std::ostream* os)
{
    *os << c.expression;
}

class ExpressionEvaluation : public ::testing::TestWithParam<ExpressionCase>
{
};

TEST_P(ExpressionEvaluation, GivesCodeAndValue)
{
    const ExpressionCase& c = GetParam();
    const SEvaluation e = Evaluate(c.expression, c.lenient ? "Test1" : "");
    ASSERT_EQ(e.code, c.code) << c.expression << " gave \"" << e.result << "\"";
    if (c.code == CALC_NO_ERROR)
    {
        EXPECT_EQ(e.result, c.result) << c.expression;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExpressionEvaluation,
    ::testing::Values(
        // Priorities and signs.
        ExpressionCase{"ProductBeforeSum", "1+2*3", 0, "7"}, ExpressionCase{"Brackets", "2*(3+4)", 0, "14"},
        ExpressionCase{"IntermediateCutTo15Digits", "1/3*3", 0, "0.999999999999999"},
        ExpressionCase{"DecimalSum", "0.1+0.2", 0, "0.3"}, ExpressionCase{"LeadingMinus", "-3+5", 0, "2"},
        ExpressionCase{"DoubleMinus", "5--3", 0, "8"}, ExpressionCase{"PlusMinus", "5+-3", 0, "2"},
        ExpressionCase{"ColonDivides", "4:2", 0, "2"}, ExpressionCase{"BlanksIgnored", " 1 + 2 ", 0, "3"},
        ExpressionCase{"UpperCaseNames", "SQRT(16)", 0, "4"},
        ExpressionCase{"SignAfterOperatorIsNoNumber", "2*-3", CALC_NUMBER, ""},
        ExpressionCase{"BracketedNegative", "2*(-3)", 0, "-6"},
        ExpressionCase{"NegativeMinusBracketedNegative", "5-(-3)", 0, "8"},
        // Division and remainder.
        ExpressionCase{"DivisionByZero", "10/0", CALC_DIVISION_BY_ZERO, ""},
        ExpressionCase{"RemainderByZeroKeepsLeft", "7%0", 0, "7"},
        ExpressionCase{"RemainderOfSubtraction", "-7%3", 0, "-1"},
        ExpressionCase{"RemainderOfNegativeOperand", "(-7)%3", 0, "-1"},
        ExpressionCase{"RemainderFloorsOperands", "7.9%3.5", 0, "1"},
        ExpressionCase{"RemainderByFractionKeepsLeft", "7%0.5", 0, "7"},
        // Factorial.
        ExpressionCase{"Factorial", "3!", 0, "6"}, ExpressionCase{"FactorialOfZero", "0!", 0, "1"},
        ExpressionCase{"FactorialOfIntegerPart", "4.7!", 0, "24"},
        ExpressionCase{"FactorialPast32Bits", "13!", 0, "6227020800"},
        ExpressionCase{"LargestFactorial", "170!", 0, "7.257415615308E306"},
        ExpressionCase{"FactorialTooLarge", "171!", CALC_EXPRESSION, ""},
        ExpressionCase{"FactorialHuge", "(10^300)!", CALC_EXPRESSION, ""},
        ExpressionCase{"FactorialOfNegative", "(-3)!", CALC_EXPRESSION, ""},
        ExpressionCase{"DoubleFactorialIsNoOperator", "3!!", CALC_EXPRESSION, ""},
        ExpressionCase{"DoubleSlashIsNoOperator", "2//3", CALC_EXPRESSION, ""},
        // Powers.
        ExpressionCase{"Power", "2^3", 0, "8"}, ExpressionCase{"StarStarIsPower", "2**3", 0, "8"},
        ExpressionCase{"PowerChainFromLeft", "2^3^2", 0, "64"},
        ExpressionCase{"PowerBeforeProduct", "2*3^2", 0, "18"},
        ExpressionCase{"PowerBeforeLeadingMinus", "-2^2", 0, "-4"},
        ExpressionCase{"PowerWithoutRealValue", "(-8)^0.5", CALC_EXPRESSION, ""},
        ExpressionCase{"ZeroToNegativePower", "0^(-1)", CALC_EXPRESSION, ""},
        ExpressionCase{"ProductPastRange", "10^4000*10^4000", CALC_EXPRESSION, ""},
        // Number texts.
        ExpressionCase{"LargeIsScientific", "10^20", 0, "1E20"},
        ExpressionCase{"FifteenDigitsStayFixed", "10^14", 0, "100000000000000"},
        ExpressionCase{"SixteenDigitsAreScientific", "10^15", 0, "1E15"},
        ExpressionCase{"SmallIsScientific", "1/1000000", 0, "1E-6"},
        ExpressionCase{"FromOneHundredThousandthFixed", "1/100000", 0, "0.00001"},
        ExpressionCase{"NegativeSmall", "0-1/4000000", 0, "-2.5E-7"},
        ExpressionCase{"ScientificValueInBrackets", "(10^20)/(1/1000000)", 0, "1E26"},
        // Functions.
        ExpressionCase{"NestedMinMax", "max(1,min(2,3))", 0, "2"},
        ExpressionCase{"ArgumentsEvaluated", "max(1,2+3)", 0, "5"},
        ExpressionCase{"MaxOfList", "max(1,2,3)", 0, "3"},
        ExpressionCase{"MinOfNegatives", "min(-1,-5,2)", 0, "-5"},
        ExpressionCase{"EmptyMaxIsZero", "max()", 0, "0"}, ExpressionCase{"EmptyPowIsZero", "pow()", 0, "0"},
        ExpressionCase{"Pow", "pow(2,3)", 0, "8"},
        ExpressionCase{"PowNegativeExponent", "pow(2,-3)", 0, "0.125"},
        ExpressionCase{"PowThreeArguments", "pow(2,3,4)", CALC_FUNCTION, ""},
        ExpressionCase{"PowPole", "pow(0,-1)", CALC_FUNCTION, ""},
        ExpressionCase{"PowWithoutRealValue", "pow(-8,1/3)", CALC_FUNCTION, ""},
        ExpressionCase{"Atan2", "atan2(1,1)*4", 0, "3.14159265358979"},
        ExpressionCase{"Pi", "pi()", 0, "3.14159265358979"},
        ExpressionCase{"PiTimesTwo", "pi()*2", 0, "6.28318530717958"},
        ExpressionCase{"PiWithoutArgument", "2*pi", CALC_NUMBER, ""},
        ExpressionCase{"PiEatsOperator", "pi*2", CALC_EXPRESSION, ""},
        ExpressionCase{"SqrtNegative", "sqrt(-1)", CALC_FUNCTION, ""},
        ExpressionCase{"SqrtNegativeLenient", "sqrt(-1)", 0, "1", true},
        ExpressionCase{"LnZero", "ln(0)", CALC_FUNCTION, ""},
        ExpressionCase{"LnZeroLenient", "ln(0)", 0, "0", true},
        ExpressionCase{"AsinOutsideLenient", "asin(2)", 0, "1.5707963267949", true},
        ExpressionCase{"CtgOfZeroLenient", "ctg(0)", 0, "0.5", true},
        ExpressionCase{"Log1pNegativeLenient", "log1p(-1)", 0, "0.693147180559945", true},
        ExpressionCase{"Log10", "log10(1000)", 0, "3"},
        ExpressionCase{"Exp", "exp(1)", 0, "2.71828182845905"},
        ExpressionCase{"ExpOverflow", "exp(100000)", CALC_FUNCTION, ""},
        ExpressionCase{"Deg2rad", "deg2rad(180)", 0, "3.14159265358979"},
        ExpressionCase{"CeilFloor", "ceil(1.2)+floor(-1.2)", 0, "0"},
        ExpressionCase{"CeilPast32Bits", "ceil(3000000000)", CALC_FUNCTION, ""},
        ExpressionCase{"RoundHalfToEvenDown", "round(2.5)", 0, "2"},
        ExpressionCase{"RoundHalfToEvenUp", "round(3.5)", 0, "4"},
        ExpressionCase{"RoundNegativeHalf", "round(-2.5)", 0, "-2"},
        ExpressionCase{"UnknownFunction", "foo(1)", CALC_UNKNOWN_FUNCTION, ""},
        ExpressionCase{"TwoArgumentsForOne", "sin(1,2)", CALC_FUNCTION, ""},
        ExpressionCase{"LetterEIsAFunction", "1e-5", CALC_FUNCTION, ""},
        ExpressionCase{"LetterEAfterDigits", "2e5", CALC_EXPRESSION, ""},
        // Lists, brackets and empty texts.
        ExpressionCase{"ListPassesThrough", "1,2", 0, "1,2"}, ExpressionCase{"EmptyBrackets", "()", 0, ""},
        ExpressionCase{"UnclosedBracket", "(1+2", CALC_BRACKETS, ""},
        ExpressionCase{"ClosedBeforeOpened", ")1+2(", CALC_BRACKETS, ""},
        ExpressionCase{"Empty", "", CALC_EMPTY, ""}, ExpressionCase{"BlanksOnly", "   ", CALC_EMPTY, ""},
        ExpressionCase{"OperatorFirst", "*5", CALC_NUMBER, ""},
        ExpressionCase{"OperatorLast", "5*", CALC_NUMBER, ""}),
    [](const ::testing::TestParamInfo<ExpressionCase>& info) { return std::string(info.param.name); });

TEST(ExpressionEvaluator, LenientModeIsChosenByTheIncomingResultText)
{
    EXPECT_EQ(Evaluate("sqrt(-4)", "xxTEST1xx").code, CALC_NO_ERROR);
    EXPECT_EQ(Evaluate("sqrt(-4)", "test").code, CALC_FUNCTION);
    // The mode belongs to one evaluation: the result text is cleared and read afresh every time.
    std::string result = "test1";
    ASSERT_EQ(CalcExpression("sqrt(-4)", result), CALC_NO_ERROR);
    EXPECT_EQ(result, "1");
    EXPECT_EQ(CalcExpression("sqrt(-4)", result), CALC_FUNCTION);
}

TEST(ExpressionEvaluator, NestingIsAcceptedUpToTheLimitAndRefusedBeyond)
{
    auto nested = [](int depth) { return std::string(depth, '(') + "1+1" + std::string(depth, ')'); };
    EXPECT_EQ(Evaluate(nested(kMaxBracketDepth)).result, "2");
    EXPECT_EQ(Evaluate(nested(kMaxBracketDepth + 1)).code, CALC_BRACKETS);
    EXPECT_EQ(Evaluate(nested(100000)).code, CALC_BRACKETS);
}

TEST(ExpressionEvaluator, NumbersIgnoreTheProcessLocale)
{
    const char* old = std::setlocale(LC_ALL, nullptr);
    const std::string saved = old ? old : "C";
    // A comma-decimal locale, when the system has one; the evaluator must not notice either way.
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    const SEvaluation e = Evaluate("1.5*2.25");
    const std::string text = FloatToCalcText(0.25L);
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(e.result, "3.375");
    EXPECT_EQ(text, "0.25");
    if (!switched)
        GTEST_LOG_(INFO) << "no comma-decimal locale installed; checked in the current locale only";
}

TEST(ExpressionEvaluator, ErrorTextsMatchTheCodes)
{
    const std::vector<std::string> texts = {"No error",
                                            "Could not parse brackets",
                                            "Empty expression",
                                            "Unknown function",
                                            "Error while evaluating function",
                                            "Division by sezo",
                                            "Error while evaluating expression",
                                            "Incorrect number"};
    for (int code = 0; code < static_cast<int>(texts.size()); ++code)
        EXPECT_EQ(CalcErrorToStr(code), texts[static_cast<std::size_t>(code)]) << code;
    EXPECT_EQ(CalcErrorToStr(8), "Unknown error");
    EXPECT_EQ(CalcErrorToStr(-1), "Unknown error");
}

struct BracketCase
{
    const char* text;
    bool paired;
};

class BracketTest : public ::testing::TestWithParam<BracketCase>
{
};

TEST_P(BracketTest, PairsRoundBracketsOnly)
{
    EXPECT_EQ(TestBrackets(GetParam().text), GetParam().paired) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, BracketTest,
                         ::testing::Values(BracketCase{"", true}, BracketCase{"a(b(c)d)(e)", true},
                                           BracketCase{"(()", false}, BracketCase{"())(", false},
                                           BracketCase{")(", false}, BracketCase{"[(])", true},
                                           BracketCase{"{[", true}));

struct ExtractCase
{
    const char* text;
    int mode;
    int code;
    int count;
    long double first;
    long double second;
};

class ExtractFloats : public ::testing::TestWithParam<ExtractCase>
{
};

TEST_P(ExtractFloats, ReadsTheList)
{
    const ExtractCase& c = GetParam();
    long double first = -99;
    long double second = -99;
    int count = c.mode;
    EXPECT_EQ(ExtractFloatsFromStr(c.text, first, second, count), c.code) << c.text;
    EXPECT_EQ(count, c.count) << c.text;
    if (c.count > 0)
    {
        EXPECT_EQ(first, c.first) << c.text;
        EXPECT_EQ(second, c.second) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ExtractFloats,
    ::testing::Values(ExtractCase{"  ", 0, CALC_EMPTY, 0, 0, 0}, ExtractCase{" 2.5 ", 0, 0, 1, 2.5L, 2.5L},
                      ExtractCase{"x", 0, CALC_FUNCTION, 0, 0, 0}, ExtractCase{"3, -1 ,7,2", 0, 0, 4, -1, 7},
                      ExtractCase{"3,-1,7,2", 1, 0, 4, 3, -1}, ExtractCase{"4,5,", 1, 0, 2, 4, 5},
                      ExtractCase{"4,x,5", 0, CALC_EMPTY, 1, 4, 4},
                      ExtractCase{"4,,5", 1, CALC_EMPTY, 1, 4, 4}));

struct TextCase
{
    long double value;
    const char* general;
};

class FloatText : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(FloatText, WritesFifteenSignificantDigits)
{
    EXPECT_EQ(FloatToCalcText(GetParam().value), GetParam().general);
    // The text reads back to the value it shows.
    long double back = 0;
    ASSERT_TRUE(CalcTextToFloat(GetParam().general, back));
    EXPECT_EQ(FloatToCalcText(back), GetParam().general);
}

INSTANTIATE_TEST_SUITE_P(Table, FloatText,
                         ::testing::Values(TextCase{0, "0"}, TextCase{-0.0L, "0"}, TextCase{1.5L, "1.5"},
                                           TextCase{-2.25L, "-2.25"}, TextCase{1e20L, "1E20"},
                                           TextCase{1.25e-6L, "1.25E-6"}, TextCase{0.00001L, "0.00001"},
                                           TextCase{123456789012345.4L, "123456789012345"},
                                           TextCase{999999999999999.9L, "1E15"},
                                           TextCase{0.1234567890123456L, "0.123456789012346"},
                                           TextCase{1e-300L, "1E-300"}, TextCase{-1e4000L, "-1E4000"}));

TEST(NumberText, ReadingAcceptsOnlyWholeFiniteNumbers)
{
    long double v = 7;
    EXPECT_TRUE(CalcTextToFloat(" +1.5 ", v));
    EXPECT_EQ(v, 1.5L);
    EXPECT_TRUE(CalcTextToFloat("-1E-3", v));
    EXPECT_EQ(v, -0.001L);
    EXPECT_TRUE(CalcTextToFloat(".5", v));
    EXPECT_EQ(v, 0.5L);
    for (const char* bad : {"", "+", "+-1", "1,5", "1.5x", "inf", "nan", "-INF", "1E99999", "0x10"})
        EXPECT_FALSE(CalcTextToFloat(bad, v)) << bad;
}

TEST(NumberText, FixedAndScientificRoundHalfAwayFromZero)
{
    EXPECT_EQ(FloatToFixedText(0.125L, 2), "0.13");
    EXPECT_EQ(FloatToFixedText(9.996L, 2), "10.00");
    EXPECT_EQ(FloatToFixedText(2.5L, 0), "3");
    EXPECT_EQ(FloatToFixedText(0.006L, 2), "0.01");
    EXPECT_EQ(FloatToFixedText(0.004L, 2), "0.00");
    EXPECT_EQ(FloatToFixedText(-3.14159L, 3), "3.142");
    EXPECT_EQ(FloatToScientificText(1500, 2), "1.5E+003");
    EXPECT_EQ(FloatToScientificText(0.004L, 1), "4E-003");
    EXPECT_EQ(FloatToScientificText(9.96L, 2), "1.0E+001");
    EXPECT_EQ(FloatToScientificText(0, 2), "0.0E+000");
    EXPECT_EQ(FloatToScientificText(1e1234L, 1), "1E+1234");
}

TEST(ExpressionEvaluator, GraphExpressionPutsTheValueInBrackets)
{
    std::string result;
    ASSERT_EQ(CalcGraphExpression("x^2+x", -3, result), CALC_NO_ERROR);
    EXPECT_EQ(result, "6");
}

// Random and hostile texts: every one must come back with a code from the table. Hangs are ruled out by the
// evaluator's work budget, which the long list below runs into.
TEST(ExpressionEvaluator, SurvivesGarbage)
{
    lf::sys::SeedRandom(20240305);
    static const std::vector<std::string> kPieces = {
        "(",   ")",   "(",   ")",      ",",     "+",   "-",   "*",     "/",    "%",       "^",     "!",
        ":",   "**",  "[",   "]",      ".",     "E",   "e",   " ",     "0",    "1",       "9",     "12",
        "0.5", "170", "171", "999999", "pi",    "max", "min", "pow",   "sqrt", "ln",      "round", "ceil",
        "foo", "x",   "sin", "atan2",  "log1p", "!",   "!",   "1E400", "\x01", "\xC3\xA4"};
    auto pick = [](std::uint32_t n)
    { return static_cast<std::size_t>(lf::sys::Random(static_cast<int>(n))); };

    std::vector<std::string> inputs;
    for (int i = 0; i < 400; ++i)
    {
        std::string text;
        const std::size_t length = 1 + pick(40);
        for (std::size_t k = 0; k < length; ++k)
            text += kPieces[pick(static_cast<std::uint32_t>(kPieces.size()))];
        inputs.push_back(std::move(text));
    }
    // Hand-made extremes.
    inputs.push_back(std::string(300, '(') + std::string(300, ')'));
    inputs.push_back(std::string(200, '(') + "1," + std::string(200, ')'));
    inputs.push_back("(" + std::string(5000, '9') + ")!");
    inputs.push_back(std::string(5000, '9') + "!");
    inputs.push_back("99999999999!");
    inputs.push_back(std::string(3000, '1') + "*" + std::string(3000, '1'));
    inputs.push_back(std::string(2000, '-') + "1");
    inputs.push_back("max(" + std::string(1000, ',') + ")");
    std::string list = "max(";
    for (int i = 0; i < 500; ++i)
        list += "1+" + std::to_string(i) + ",";
    inputs.push_back(list + "0)");
    inputs.push_back(std::string("1+2\0+3", 6));

    for (const std::string& input : inputs)
    {
        std::string result;
        const int code = CalcExpression(input, result);
        EXPECT_GE(code, CALC_NO_ERROR) << input;
        EXPECT_LE(code, CALC_NUMBER) << input;
        // Whatever comes back is the same on a second run: no state survives an evaluation.
        std::string again;
        EXPECT_EQ(CalcExpression(input, again), code) << input;
        if (code == CALC_NO_ERROR)
        {
            EXPECT_EQ(again, result) << input;
        }
    }

    std::string result;
    EXPECT_EQ(CalcExpression("max(" + std::string(1000, ',') + ")", result), CALC_NO_ERROR);
    // Every comma evaluates the whole tail again; a list built to take minutes is refused instead.
    EXPECT_EQ(CalcExpression("max(" + std::string(20000, ',') + ")", result), CALC_EXPRESSION);
    EXPECT_EQ(CalcExpression(std::string(5000, '9') + "!", result), CALC_EXPRESSION);
    EXPECT_EQ(CalcExpression(std::string("1+2\0+3", 6), result), CALC_NO_ERROR);
    EXPECT_EQ(result, "3");
}

} // namespace
