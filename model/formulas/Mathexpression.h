// Evaluator of the arithmetic expressions of calculated questions: text in, text out and an error code.
// Every intermediate value travels as text with at most 15 significant digits and "." as the point.
#pragma once

#include <string>

// Codes of CalcExpression; CalcErrorToStr gives their texts.
enum ECalcError : int
{
    CALC_NO_ERROR = 0,
    CALC_BRACKETS = 1,         // the round brackets do not pair off, or nest deeper than kMaxBracketDepth
    CALC_EMPTY = 2,            // nothing to evaluate
    CALC_UNKNOWN_FUNCTION = 3, // a name outside the function table
    CALC_FUNCTION = 4,         // a function argument is unreadable, outside the domain or the wrong count
    CALC_DIVISION_BY_ZERO = 5, // "/" by 0
    CALC_EXPRESSION = 6,       // tokens left over, a bad factorial, a result without a finite value, or a
                               // text that would take unreasonably long (thousands of list arguments)
    CALC_NUMBER = 7,           // an operand is not a number
};

// Deepest nesting of round brackets the evaluator accepts.
inline constexpr int kMaxBracketDepth = 256;

// True when the "(" and ")" of the text pair off in order; other bracket kinds are not looked at.
bool TestBrackets(const std::string& text);

// Evaluates the expression. The incoming result text selects the mode: when it holds "test1" (any letter
// case) a function argument outside its domain gives the function's substitute value instead of code 4.
// The result is cleared, then holds the value's text when the code is CALC_NO_ERROR (undefined otherwise).
int CalcExpression(const std::string& expression, std::string& result);

// Evaluates the expression with every "x" replaced by "(" x ")"; the result works as for CalcExpression.
int CalcGraphExpression(const std::string& expression, long double x, std::string& result);

// The text of an error code: "No error", ..., "Unknown error" for a code outside the table.
std::string CalcErrorToStr(int code);

// Reads a comma-separated list of numbers. The incoming count is the mode: 0 gives the smallest and the
// largest number as first and second, any other value the first and the second item. Answers 0 with the
// number of items read in count; 2 for an empty text or an unreadable item in a list; 4 for a single
// unreadable number.
int ExtractFloatsFromStr(const std::string& text, long double& first, long double& second, int& count);

// The evaluator's number text: at most 15 significant digits, no trailing zeros; fixed notation for
// absolute values from 0.00001 with at most 15 integer digits, otherwise "1E20" / "1.5E-6".
std::string FloatToCalcText(long double value);

// Reads a number written with "." as the point, optionally signed and with an exponent; blanks around it
// are ignored. False for anything else, and for values without a finite long double.
bool CalcTextToFloat(const std::string& text, long double& value);

// |value| with the given number of digits after the point ("0.13" for 0.125 and 2), rounded half away from
// zero on its 18-digit decimal form; no point when decimals is 0. The caller adds any sign.
std::string FloatToFixedText(long double value, int decimals);

// |value| in scientific notation with the given number of significant digits (at least 1): one digit, a
// point and the further digits, "E", the exponent's sign and at least three exponent digits
// ("1.5E+003", "4E-003"). The caller adds any sign.
std::string FloatToScientificText(long double value, int digits);
