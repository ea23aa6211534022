// Evaluator of the arithmetic expressions of calculated questions. The work is textual throughout: bracket
// groups are evaluated innermost first and written back as "[value]", the rest is cut into short text tokens,
// and the token list is reduced by passes of falling priority, every intermediate value going back to text.
#include "model/formulas/Mathexpression.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>
#include <list>
#include <numbers>
#include <string_view>
#include <utility>
#include <vector>

namespace
{

using Real = long double;
using CTokenList = std::list<std::string>;

constexpr std::size_t kMaxTokenLength = 255;
// The largest integer part whose factorial has a finite value in every supported floating-point width.
constexpr Real kMaxFactorialArgument = 170;
// Work allowed to one evaluation, in characters tokenised plus tokens swept. Formulas need a few hundred;
// the limit only stops texts built to take minutes (thousands of arguments in one list, whose tails are
// evaluated again for every comma).
constexpr std::int64_t kWorkBudget = 20'000'000;

// State of one evaluation.
struct SEvaluation
{
    bool Lenient = false;
    std::int64_t WorkLeft = kWorkBudget;

    // Charges work; false once the budget is spent.
    bool Spend(std::size_t units)
    {
        WorkLeft -= static_cast<std::int64_t>(units);
        return WorkLeft >= 0;
    }
};

// A decimal form of a non-negative value: Digits[0].Digits[1..] times 10 to the power Exponent.
struct SDecimal
{
    std::string Digits;
    int Exponent = 0;
};

// |value| as 18 significant digits, the precision the evaluator's numbers are shown from.
SDecimal ToDecimal18(Real value)
{
    SDecimal d;
    value = std::fabs(value);
    if (value == 0 || !std::isfinite(value))
    {
        d.Digits = "0";
        return d;
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 17);
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.Digits += text[i];
    lf::sys::ReadNumberLenient(text.substr(e + 1), d.Exponent);
    return d;
}

// Rounds the digits half away from zero to count significant digits (count >= 1), padding with zeros.
SDecimal RoundDecimal(SDecimal d, int count)
{
    const auto n = static_cast<std::size_t>(count);
    if (d.Digits.size() <= n)
    {
        d.Digits.append(n - d.Digits.size(), '0');
        return d;
    }
    const bool up = d.Digits[n] >= '5';
    d.Digits.resize(n);
    if (!up)
        return d;
    for (std::size_t i = n; i-- > 0;)
    {
        if (d.Digits[i] != '9')
        {
            ++d.Digits[i];
            return d;
        }
        d.Digits[i] = '0';
    }
    d.Digits.insert(d.Digits.begin(), '1');
    d.Digits.pop_back();
    ++d.Exponent;
    return d;
}

bool IsZeroDigits(const std::string& digits)
{
    return std::all_of(digits.begin(), digits.end(), [](char c) { return c == '0'; });
}

std::string ExponentDigits(int exponent, std::size_t minDigits)
{
    return lf::sys::NumberText(exponent < 0 ? -exponent : exponent, static_cast<int>(minDigits));
}

// --- Reading numbers -------------------------------------------------------------------------------------

// The number test of the operators: a signed text of two or more characters, or one that begins with
// ",", "." or a digit. Anything else is not even tried.
bool LooksLikeNumber(const std::string& token)
{
    if (token.empty())
        return false;
    const char c = token.front();
    if (c == '+' || c == '-')
        return token.size() >= 2;
    return c == ',' || c == '.' || (c >= '0' && c <= '9');
}

bool ReadOperand(const std::string& token, Real& value)
{
    return LooksLikeNumber(token) && CalcTextToFloat(token, value);
}

// --- Rewriting and tokenising ----------------------------------------------------------------------------

void ReplaceAll(std::string& text, std::string_view from, std::string_view to)
{
    std::size_t pos = text.find(from);
    if (pos == std::string::npos)
        return;
    std::string out;
    out.reserve(text.size());
    std::size_t last = 0;
    while (pos != std::string::npos)
    {
        out.append(text, last, pos - last);
        out += to;
        last = pos + from.size();
        pos = text.find(from, last);
    }
    out.append(text, last, std::string::npos);
    text = std::move(out);
}

void RewriteOperators(std::string& text)
{
    static constexpr std::pair<std::string_view, std::string_view> kRules[] = {
        {"+-", "-"}, {"-+", "-"}, {"--", "+"}, {"++", "+"}, {"[[", "["}, {"]]", "]"}, {":", "/"}, {"**", "^"},
    };
    for (;;)
    {
        const std::size_t before = text.size();
        const std::string copy = text;
        for (const auto& [from, to] : kRules)
            ReplaceAll(text, from, to);
        if (text.size() == before && text == copy)
            return;
    }
}

enum class ETokenClass
{
    None,
    Bracket,
    Factorial,
    Percent,
    Multiply,
    Divide,
    Power,
    Plus,
    Minus,
    Comma,
    Number,
    Name,
};

void Emit(CTokenList& tokens, std::string token)
{
    if (token.size() > kMaxTokenLength)
        token.resize(kMaxTokenLength);
    tokens.push_back(std::move(token));
}

CTokenList Tokenise(std::string text)
{
    RewriteOperators(text);

    CTokenList tokens;
    std::string token;
    ETokenClass cls = ETokenClass::None;
    char previous = 0;
    bool signExpected = true; // at the start and after a comma a sign works on an implied 0

    for (const char c : text)
    {
        if (c == 0)
            break;
        if (cls == ETokenClass::Bracket)
        {
            // The value of a reduced bracket group is one token, even when it is empty.
            if (c == ']')
            {
                Emit(tokens, std::move(token));
                token.clear();
                cls = ETokenClass::None;
            }
            else
                token += c;
            previous = c;
            continue;
        }

        ETokenClass next = cls;
        bool keep = true;
        switch (c)
        {
        case '!':
            next = ETokenClass::Factorial;
            signExpected = false;
            break;
        case '%':
            next = ETokenClass::Percent;
            signExpected = false;
            break;
        case '*':
            next = ETokenClass::Multiply;
            signExpected = false;
            break;
        case '/':
            next = ETokenClass::Divide;
            signExpected = false;
            break;
        case '^':
            next = ETokenClass::Power;
            signExpected = false;
            break;
        case '+':
        case '-':
            if (previous == 'E')
            {
                // The sign of an exponent ("1E-6") stays in its number.
                token += c;
                previous = c;
                continue;
            }
            if (signExpected)
            {
                if (!token.empty())
                {
                    Emit(tokens, std::move(token));
                    token.clear();
                }
                Emit(tokens, "0");
            }
            next = c == '+' ? ETokenClass::Plus : ETokenClass::Minus;
            signExpected = false;
            break;
        case ',':
            next = ETokenClass::Comma;
            keep = false;
            break;
        case '[':
            next = ETokenClass::Bracket;
            signExpected = false;
            keep = false;
            break;
        default:
            if (c >= '0' && c <= '9')
            {
                signExpected = false;
                if (cls != ETokenClass::Name)
                    next = ETokenClass::Number;
            }
            else if (c >= 'a' && c <= 'z')
            {
                signExpected = false;
                next = ETokenClass::Name;
            }
            break;
        }

        if (next != cls && !token.empty())
        {
            Emit(tokens, std::move(token));
            token.clear();
        }
        cls = next;
        if (c == ',')
        {
            signExpected = true;
            Emit(tokens, ",");
        }
        if (keep)
            token += c;
        previous = c;
    }
    if (!token.empty())
        Emit(tokens, std::move(token));
    return tokens;
}

// --- Functions -------------------------------------------------------------------------------------------

// The integer functions convert to fixed-width integers; a value outside that width has no result.
bool FitsInteger(Real value, Real low, Real high)
{
    return value >= low && value <= high;
}

Real RoundHalfEven(Real value)
{
    const Real lower = std::floor(value);
    const Real fraction = value - lower;
    if (fraction > 0.5L)
        return lower + 1;
    if (fraction < 0.5L)
        return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

int ListFunction(const std::string& name, const std::string& argument, Real& value)
{
    Real first = 0;
    Real second = 0;
    const bool twoArguments = name == "pow" || name == "atan2";
    int count = twoArguments ? 1 : 0;
    if (ExtractFloatsFromStr(argument, first, second, count) != CALC_NO_ERROR)
    {
        value = 0;
        return CALC_NO_ERROR;
    }
    if (!twoArguments)
    {
        value = name == "min" ? first : second;
        return CALC_NO_ERROR;
    }
    if (count != 2)
        return CALC_FUNCTION;
    value = name == "pow" ? std::pow(first, second) : std::atan2(first, second);
    return CALC_NO_ERROR;
}

int SingleFunction(const std::string& name, Real x, bool lenient, Real& value)
{
    constexpr Real pi = std::numbers::pi_v<Real>;
    // Outside the domain: the substitute value in lenient mode, code 4 otherwise.
    auto outside = [&](Real substitute) -> int
    {
        value = substitute;
        return lenient ? CALC_NO_ERROR : CALC_FUNCTION;
    };
    auto ok = [&](Real result) -> int
    {
        value = result;
        return CALC_NO_ERROR;
    };

    if (name == "ln" || name == "log")
        return x > 0 ? ok(std::log(x)) : outside(0);
    if (name == "log1p")
        return x >= 0 ? ok(std::log1p(x)) : outside(std::log(2.0L));
    if (name == "log10")
        return x > 0 ? ok(std::log10(x)) : outside(0);
    if (name == "sin")
        return ok(std::sin(x));
    if (name == "cos")
        return ok(std::cos(x));
    if (name == "tan")
        return std::cos(x) != 0 ? ok(std::sin(x) / std::cos(x)) : outside(1);
    if (name == "ctg")
        return std::sin(x) != 0 ? ok(std::cos(x) / std::sin(x)) : outside(0.5L);
    if (name == "sinh")
        return ok(std::sinh(x));
    if (name == "cosh")
        return ok(std::cosh(x));
    if (name == "tanh")
        return ok(std::tanh(x));
    if (name == "asin" || name == "arcsin")
        return std::fabs(x) <= 1 ? ok(std::asin(x)) : outside(pi / 2);
    if (name == "acos" || name == "arccos")
        return std::fabs(x) <= 1 ? ok(std::acos(x)) : outside(0);
    if (name == "atan" || name == "arctan")
        return ok(std::atan(x));
    if (name == "asinh" || name == "arcsinh")
        return ok(std::asinh(x));
    if (name == "acosh" || name == "arccosh")
        return x >= 1 ? ok(std::acosh(x)) : outside(0);
    if (name == "atanh" || name == "arctanh")
        return std::fabs(x) < 1 ? ok(std::atanh(x)) : outside(0);
    if (name == "abs")
        return ok(std::fabs(x));
    if (name == "exp")
        return ok(std::exp(x));
    if (name == "expm1")
        return ok(std::expm1(x));
    if (name == "sqrt")
        return x >= 0 ? ok(std::sqrt(x)) : outside(1);
    if (name == "ceil" || name == "floor")
    {
        value = name == "ceil" ? std::ceil(x) : std::floor(x);
        return FitsInteger(value, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max())
                   ? CALC_NO_ERROR
                   : CALC_FUNCTION;
    }
    if (name == "round")
    {
        value = RoundHalfEven(x);
        // 2^63 is the first value past the 64-bit range.
        return FitsInteger(value, -0x1p63L, 0x1p63L) && value != 0x1p63L ? CALC_NO_ERROR : CALC_FUNCTION;
    }
    if (name == "deg2rad")
        return ok(x * pi / 180);
    if (name == "rad2deg")
        return ok(x * 180 / pi);
    return CALC_UNKNOWN_FUNCTION;
}

int ApplyFunction(const std::string& name, const std::string& argument, bool lenient, std::string& out)
{
    Real value = 0;
    int code = CALC_NO_ERROR;
    if (name == "min" || name == "max" || name == "pow" || name == "atan2")
        code = ListFunction(name, argument, value);
    else
    {
        Real x = 0;
        if (!CalcTextToFloat(argument, x))
            return CALC_FUNCTION;
        code = SingleFunction(name, x, lenient, value);
    }
    if (code != CALC_NO_ERROR)
        return code;
    // Overflow, an invalid operation or a pole inside a function.
    if (!std::isfinite(value))
        return CALC_FUNCTION;
    out = FloatToCalcText(value);
    return CALC_NO_ERROR;
}

// --- Passes over the token list --------------------------------------------------------------------------

bool IsFunctionName(const std::string& token)
{
    return !token.empty() && token.front() >= 'a' && token.front() <= 'z';
}

// Applies every function name to the token after it.
int FunctionSweep(CTokenList& tokens, bool lenient, bool& changed)
{
    for (auto it = tokens.begin(); it != tokens.end(); ++it)
    {
        const auto argument = std::next(it);
        if (!IsFunctionName(*it) || argument == tokens.end())
            continue;
        if (*it == "pi")
            *it = FloatToCalcText(std::numbers::pi_v<Real>);
        else
        {
            std::string value;
            const int code = ApplyFunction(*it, *argument, lenient, value);
            if (code != CALC_NO_ERROR)
                return code;
            *it = std::move(value);
        }
        tokens.erase(argument);
        changed = true;
    }
    return CALC_NO_ERROR;
}

int FactorialSweep(CTokenList& tokens, bool& changed)
{
    for (auto it = tokens.begin(); it != tokens.end(); ++it)
    {
        const auto mark = std::next(it);
        if (mark == tokens.end() || *mark != "!")
            continue;
        Real x = 0;
        if (!ReadOperand(*it, x))
            return CALC_NUMBER;
        if (x < 0)
            return CALC_EXPRESSION;
        const Real n = std::trunc(x);
        // Past 170 the product has no finite value: refuse at once rather than multiply it out.
        if (n > kMaxFactorialArgument)
            return CALC_EXPRESSION;
        Real product = 1;
        for (Real k = 2; k <= n; ++k)
            product *= k;
        *it = FloatToCalcText(product);
        tokens.erase(mark);
        changed = true;
    }
    return CALC_NO_ERROR;
}

int ApplyOperator(char op, Real left, Real right, Real& value)
{
    switch (op)
    {
    case '^':
        value = std::pow(left, right);
        break;
    case '*':
        value = left * right;
        break;
    case '/':
        if (right == 0)
            return CALC_DIVISION_BY_ZERO;
        value = left / right;
        break;
    case '%':
    {
        const Real divisor = std::fabs(std::floor(right));
        // A right operand of 0, or one that floors to 0, leaves the left operand.
        value = right == 0 || divisor == 0 ? left : std::fmod(std::floor(left), divisor);
        break;
    }
    case '+':
        value = left + right;
        break;
    default:
        value = left - right;
        break;
    }
    // A power without a real value, or a result past the floating-point range.
    return std::isfinite(value) ? CALC_NO_ERROR : CALC_EXPRESSION;
}

// Evaluates, left to right, every token that is exactly one of the operators.
int OperatorSweep(CTokenList& tokens, std::string_view operators, bool& changed)
{
    for (auto it = tokens.begin(); it != tokens.end(); ++it)
    {
        if (it->size() != 1 || operators.find(it->front()) == std::string_view::npos)
            continue;
        // The first token is its own left operand, and an operator is never a number.
        if (it == tokens.begin())
            return CALC_NUMBER;
        const auto left = std::prev(it);
        const auto right = std::next(it);
        Real a = 0;
        Real b = 0;
        if (!ReadOperand(*left, a) || right == tokens.end() || !ReadOperand(*right, b))
            return CALC_NUMBER;
        Real value = 0;
        const int code = ApplyOperator(it->front(), a, b, value);
        if (code != CALC_NO_ERROR)
            return code;
        *it = FloatToCalcText(value);
        tokens.erase(left);
        tokens.erase(right);
        changed = true;
    }
    return CALC_NO_ERROR;
}

// Tokenises a text without round brackets and reduces it to one value text.
int EvaluateText(const std::string& text, SEvaluation& evaluation, std::string& result)
{
    if (!evaluation.Spend(text.size() + 1))
        return CALC_EXPRESSION;
    CTokenList tokens = Tokenise(text);

    enum class EPass
    {
        Functions,
        Factorial,
        Power,
        Product,
        Sum
    };
    for (const EPass pass : {EPass::Functions, EPass::Factorial, EPass::Power, EPass::Product, EPass::Sum})
    {
        for (bool changed = true; changed;)
        {
            if (tokens.size() == 1)
            {
                result = std::move(tokens.front());
                return CALC_NO_ERROR;
            }
            changed = false;
            if (!evaluation.Spend(tokens.size()))
                return CALC_EXPRESSION;
            int code = CALC_NO_ERROR;
            switch (pass)
            {
            case EPass::Functions:
                code = FunctionSweep(tokens, evaluation.Lenient, changed);
                break;
            case EPass::Factorial:
                code = FactorialSweep(tokens, changed);
                break;
            case EPass::Power:
                code = OperatorSweep(tokens, "^", changed);
                break;
            case EPass::Product:
                code = OperatorSweep(tokens, "*/%", changed);
                break;
            case EPass::Sum:
                code = OperatorSweep(tokens, "+-", changed);
                break;
            }
            if (code != CALC_NO_ERROR)
                return code;
        }
    }
    if (tokens.size() == 1)
    {
        result = std::move(tokens.front());
        return CALC_NO_ERROR;
    }
    // An argument list ("1,2") passes through as one text.
    if (std::find(tokens.begin(), tokens.end(), ",") != tokens.end())
    {
        result.clear();
        for (const std::string& token : tokens)
            result += token;
        return CALC_NO_ERROR;
    }
    if (tokens.size() > 1)
        return CALC_EXPRESSION;
    result.clear();
    return CALC_NO_ERROR;
}

// Reduces the text from pos on: up to the ")" that closes the current group, or to the end at the top
// level. Every group inside is evaluated and written back as "[value]". The arguments after the first
// comma are evaluated from the last one back, each joined with the value of those after it, so
// "max(1,2+3)" becomes "max[1,5]". Recursion happens only for "(", whose depth the caller has bounded.
int ReduceGroup(const std::string& text, std::size_t& pos, bool topLevel, SEvaluation& evaluation,
                std::string& out)
{
    std::vector<std::string> arguments(1);
    while (pos < text.size())
    {
        const char c = text[pos++];
        if (c == '(')
        {
            std::string inner;
            int code = ReduceGroup(text, pos, false, evaluation, inner);
            if (code != CALC_NO_ERROR)
                return code;
            std::string value;
            code = EvaluateText(inner, evaluation, value);
            if (code != CALC_NO_ERROR)
                return code;
            arguments.back() += '[';
            arguments.back() += value;
            arguments.back() += ']';
        }
        else if (c == ')' && !topLevel)
            break;
        else if (c == ',')
            arguments.emplace_back();
        else
            arguments.back() += c;
    }

    if (arguments.size() == 1)
    {
        out = std::move(arguments.front());
        return CALC_NO_ERROR;
    }
    std::string tail;
    int code = EvaluateText(arguments.back(), evaluation, tail);
    if (code != CALC_NO_ERROR)
        return code;
    for (std::size_t i = arguments.size() - 2; i >= 1; --i)
    {
        std::string value;
        code = EvaluateText(arguments[i] + "," + tail, evaluation, value);
        if (code != CALC_NO_ERROR)
            return code;
        tail = std::move(value);
    }
    out = std::move(arguments.front());
    out += ',';
    out += tail;
    return CALC_NO_ERROR;
}

int MaxBracketDepth(const std::string& text)
{
    int depth = 0;
    int deepest = 0;
    for (const char c : text)
    {
        if (c == '(')
            deepest = std::max(deepest, ++depth);
        else if (c == ')')
            --depth;
    }
    return deepest;
}

} // namespace

bool TestBrackets(const std::string& text)
{
    // Removing adjacent "()" pairs until none is left empties the bracket sequence exactly when no ")"
    // comes before its "(" and the counts agree.
    long long open = 0;
    for (const char c : text)
    {
        if (c == '(')
            ++open;
        else if (c == ')' && --open < 0)
            return false;
    }
    return open == 0;
}

int CalcExpression(const std::string& expression, std::string& result)
{
    const std::string mode = lf::sys::AsciiLower(result);
    SEvaluation evaluation;
    evaluation.Lenient = mode.find("test1") != std::string::npos;
    result.clear();

    if (expression.empty())
        return CALC_EMPTY;
    if (!TestBrackets(expression) || MaxBracketDepth(expression) > kMaxBracketDepth)
        return CALC_BRACKETS;

    std::string text;
    text.reserve(expression.size());
    for (const char c : expression)
        if (c != ' ')
            text += c;
    if (text.empty())
        return CALC_EMPTY;
    text = lf::sys::AsciiLower(text);

    std::size_t pos = 0;
    std::string reduced;
    const int code = ReduceGroup(text, pos, true, evaluation, reduced);
    if (code != CALC_NO_ERROR)
        return code;
    return EvaluateText(reduced, evaluation, result);
}

int CalcGraphExpression(const std::string& expression, long double x, std::string& result)
{
    const std::string value = "(" + FloatToCalcText(x) + ")";
    std::string text;
    for (const char c : expression)
    {
        if (c == 'x')
            text += value;
        else
            text += c;
    }
    return CalcExpression(text, result);
}

std::string CalcErrorToStr(int code)
{
    switch (code)
    {
    case CALC_NO_ERROR:
        return "No error";
    case CALC_BRACKETS:
        return "Could not parse brackets";
    case CALC_EMPTY:
        return "Empty expression";
    case CALC_UNKNOWN_FUNCTION:
        return "Unknown function";
    case CALC_FUNCTION:
        return "Error while evaluating function";
    case CALC_DIVISION_BY_ZERO:
        return "Division by sezo";
    case CALC_EXPRESSION:
        return "Error while evaluating expression";
    case CALC_NUMBER:
        return "Incorrect number";
    default:
        return "Unknown error";
    }
}

int ExtractFloatsFromStr(const std::string& text, long double& first, long double& second, int& count)
{
    const int mode = count;
    const std::string_view list = lf::sys::TrimView(text);
    count = 0;
    if (list.empty())
        return CALC_EMPTY;
    if (list.find(',') == std::string_view::npos)
    {
        long double value = 0;
        if (!CalcTextToFloat(std::string(list), value))
            return CALC_FUNCTION;
        first = second = value;
        count = 1;
        return CALC_NO_ERROR;
    }

    int code = CALC_NO_ERROR;
    std::size_t pos = 0;
    for (;;)
    {
        const std::size_t comma = list.find(',', pos);
        const std::string_view item = lf::sys::TrimView(
            list.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        long double value = 0;
        if (!CalcTextToFloat(std::string(item), value))
        {
            code = CALC_EMPTY;
            break;
        }
        ++count;
        if (count == 1)
            first = second = value;
        else if (mode == 0)
        {
            first = std::min(first, value);
            second = std::max(second, value);
        }
        else if (count == 2)
            second = value;
        // A comma at the very end closes the list.
        if (comma == std::string_view::npos || comma + 1 == list.size())
            break;
        pos = comma + 1;
    }
    return code;
}

std::string FloatToCalcText(long double value)
{
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";

    SDecimal d = RoundDecimal(ToDecimal18(value), 15);
    while (d.Digits.size() > 1 && d.Digits.back() == '0')
        d.Digits.pop_back();
    std::string text = value < 0 ? "-" : "";
    const int e = d.Exponent;
    if (e >= -5 && e <= 14)
    {
        if (e >= 0)
        {
            const auto integerDigits = static_cast<std::size_t>(e) + 1;
            if (d.Digits.size() <= integerDigits)
                text += d.Digits + std::string(integerDigits - d.Digits.size(), '0');
            else
                text += d.Digits.substr(0, integerDigits) + "." + d.Digits.substr(integerDigits);
        }
        else
            text += "0." + std::string(static_cast<std::size_t>(-e - 1), '0') + d.Digits;
        return text;
    }
    text += d.Digits.front();
    if (d.Digits.size() > 1)
        text += "." + d.Digits.substr(1);
    text += 'E';
    if (e < 0)
        text += '-';
    text += ExponentDigits(e, 1);
    return text;
}

bool CalcTextToFloat(const std::string& text, long double& value)
{
    // Blanks around the number and a "+" in front of it are allowed.
    std::string_view rest;
    long double read = 0;
    if (!lf::sys::ReadNumberLenient(text, read, &rest) || !lf::sys::TrimView(rest).empty())
        return false;
    value = read;
    return true;
}

std::string FloatToFixedText(long double value, int decimals)
{
    decimals = std::max(decimals, 0);
    SDecimal d = ToDecimal18(value);
    const bool zero = IsZeroDigits(d.Digits);
    const int significant = d.Exponent + 1 + decimals;
    if (zero || significant < 0)
        d = SDecimal{"0", 0};
    else if (significant == 0)
        d = d.Digits.front() >= '5' ? SDecimal{"1", -decimals} : SDecimal{"0", 0};
    else
        d = RoundDecimal(d, significant);

    std::string integer;
    std::string fraction;
    if (d.Exponent >= 0)
    {
        const auto integerDigits = static_cast<std::size_t>(d.Exponent) + 1;
        integer = d.Digits.substr(0, std::min(integerDigits, d.Digits.size()));
        integer.append(integerDigits - integer.size(), '0');
        if (d.Digits.size() > integerDigits)
            fraction = d.Digits.substr(integerDigits);
    }
    else
    {
        integer = "0";
        fraction = std::string(static_cast<std::size_t>(-d.Exponent - 1), '0') + d.Digits;
    }
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    return decimals == 0 ? integer : integer + "." + fraction;
}

std::string FloatToScientificText(long double value, int digits)
{
    digits = std::max(digits, 1);
    SDecimal d = ToDecimal18(value);
    if (IsZeroDigits(d.Digits))
        d = SDecimal{"0", 0};
    d = RoundDecimal(d, digits);
    std::string text(1, d.Digits.front());
    if (digits > 1)
        text += "." + d.Digits.substr(1);
    text += d.Exponent < 0 ? "E-" : "E+";
    text += ExponentDigits(d.Exponent, 3);
    return text;
}
