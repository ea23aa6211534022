// The formula of one calculated answer: validation, substitution, evaluation, tolerance and display.
#include "model/formulas/Formulamanager.h"

#include "model/formulas/Mathexpression.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace
{

constexpr std::int32_t kMaxAnswerLength = 100;

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty())
        return;
    std::string out;
    std::size_t last = 0;
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, last))
    {
        out.append(text, last, pos - last);
        out += to;
        last = pos + from.size();
    }
    if (last == 0)
        return;
    out.append(text, last, std::string::npos);
    text = std::move(out);
}

std::string Braced(const std::string& name)
{
    return "{" + name + "}";
}

bool IsValidVariableName(const std::string& name)
{
    if (name.empty())
        return false;
    const char first = name.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z')))
        return false;
    return name.find_first_of(" '\"") == std::string::npos;
}

long double RoundHalfEven(long double value)
{
    const long double lower = std::floor(value);
    const long double fraction = value - lower;
    if (fraction > 0.5L)
        return lower + 1;
    if (fraction < 0.5L)
        return lower;
    return std::fmod(lower, 2.0L) == 0 ? lower : lower + 1;
}

// Number of decimal digits of a non-negative whole number; 0 has one.
int IntegerDigitCount(long double whole)
{
    if (whole < 10)
        return 1;
    // A long double reaches about 4933 integer digits.
    std::string buffer(5000, '\0');
    const auto written =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), whole, std::chars_format::fixed, 0);
    return static_cast<int>(written.ptr - buffer.data());
}

// Drops up to two leading zeros of the exponent; a zero exponent goes with its "E": "1.5E+003" becomes
// "1.5E+3", "1.5E+000" becomes "1.5".
std::string TrimExponent(std::string text)
{
    const std::size_t e = text.find('E');
    if (e == std::string::npos)
        return text;
    std::size_t i = e + 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    for (int removed = 0; removed < 2 && i < text.size() && text[i] == '0'; ++removed)
        text.erase(i, 1);
    if (i < text.size() && text[i] == '0')
        text.erase(e);
    return text;
}

bool BeginsWithZeroPointZero(const std::string& fixed)
{
    const std::string_view text(fixed);
    return text.starts_with("0.0") || text.starts_with("-0.0");
}

} // namespace

bool CFormulaManager::SetFormula(const std::string& formula, const SFormulaParams& params)
{
    m_Formula = formula;
    m_Tolerance = params.Tolerance;
    m_ToleranceType = params.ToleranceType;
    m_AnswerLength = params.CorrectAnswerLength;
    m_AnswerFormat = params.CorrectAnswerFormat;

    if (m_Formula.empty() || !TestBrackets(m_Formula))
        return false;
    if (!FindVariables())
        return false;

    std::string expression;
    if (!Substitute(ESubstitution::TestValues, expression))
        return false;
    // Lenient mode: test values may leave a function's domain (sqrt({a}-2) with a = 1).
    std::string result = "test1";
    return CalcExpression(expression, result) == CALC_NO_ERROR;
}

bool CFormulaManager::FindVariables()
{
    m_Variables.RemoveAll();
    std::size_t pos = 0;
    for (;;)
    {
        const std::size_t open = m_Formula.find('{', pos);
        const std::size_t close = m_Formula.find('}', pos);
        if (open == std::string::npos)
            return close == std::string::npos && m_Variables.GetSize() > 0;
        if (close == std::string::npos || close < open || close == open + 1)
            return false;
        const std::string name = m_Formula.substr(open + 1, close - open - 1);
        if (!IsValidVariableName(name))
            return false;
        bool known = false;
        for (const SFormulaVariableItem& variable : m_Variables)
            known = known || variable.Name == name;
        if (!known)
            m_Variables.Add(SFormulaVariableItem{name, {}});
        pos = close + 1;
    }
}

std::string CFormulaManager::GetVariableName(std::int32_t i) const
{
    if (i < 0 || i >= m_Variables.GetSize())
        return {};
    return m_Variables[i].Name;
}

bool CFormulaManager::SetVariableValue(const std::string& name, const std::string& value)
{
    for (SFormulaVariableItem& variable : m_Variables)
    {
        if (variable.Name == name)
        {
            variable.Value = value;
            return true;
        }
    }
    return false;
}

bool CFormulaManager::Substitute(ESubstitution kind, std::string& out) const
{
    if (m_Formula.empty())
        return false;
    out = m_Formula;
    for (const SFormulaVariableItem& variable : m_Variables)
    {
        std::string value = kind == ESubstitution::TestValues ? std::string("1") : variable.Value;
        if (value.empty())
            return false;
        // A negative value goes in brackets: "2*-3" is no product, "2*(-3)" is.
        const std::size_t first = value.find_first_not_of(' ');
        if (kind == ESubstitution::Values && first != std::string::npos && value[first] == '-')
            value = "(" + value + ")";
        ReplaceAll(out, Braced(variable.Name), value);
    }
    return true;
}

bool CFormulaManager::Calculate(std::string* result, std::string* lowerBound, std::string* upperBound,
                                std::string* substitutedFormula, std::string* formattedAnswer) const
{
    std::string expression;
    if (!Substitute(ESubstitution::Values, expression))
        return false;
    std::string value; // empty: strict mode
    if (CalcExpression(expression, value) != CALC_NO_ERROR)
        return false;

    std::string lower;
    std::string upper;
    if (lowerBound || upperBound)
    {
        long double a = 0;
        long double t = 0;
        if (!CalcTextToFloat(value, a) || !CalcTextToFloat(m_Tolerance, t))
            return false;
        t = std::fabs(t);
        const long double size = std::fabs(a);
        long double low = 0;
        long double high = 0;
        switch (m_ToleranceType)
        {
        case 0: // relative
            low = a - t * size;
            high = a + t * size;
            break;
        case 2: // geometric; mirrored below zero so that the result stays inside
            if (a >= 0)
            {
                low = a / (1 + t);
                high = a + size * t;
            }
            else
            {
                low = a - size * t;
                high = a / (1 + t);
            }
            break;
        default: // nominal, also for types the editors do not offer
            low = a - t;
            high = a + t;
            break;
        }
        if (!std::isfinite(low) || !std::isfinite(high))
            return false;
        lower = FloatToCalcText(low);
        upper = FloatToCalcText(high);
    }

    std::string formatted;
    if (formattedAnswer)
    {
        formatted = FormatAnswer(value, m_AnswerLength, m_AnswerFormat == 1);
        if (formatted.empty())
            return false;
    }

    if (substitutedFormula)
        *substitutedFormula = expression;
    if (lowerBound)
        *lowerBound = lower;
    if (upperBound)
        *upperBound = upper;
    if (formattedAnswer)
        *formattedAnswer = formatted;
    if (result)
        *result = value;
    return true;
}

bool CFormulaManager::CheckAnswer(const std::string& typedAnswer, bool& inside) const
{
    inside = false;
    std::string lowerText;
    std::string upperText;
    if (!Calculate(nullptr, &lowerText, &upperText))
        return false;
    long double lower = 0;
    long double typed = 0;
    long double upper = 0;
    if (!CalcTextToFloat(lowerText, lower) || !CalcTextToFloat(typedAnswer, typed) ||
        !CalcTextToFloat(upperText, upper))
        return false;
    inside = lower <= typed && typed <= upper;
    return true;
}

void CFormulaManager::InsertValuesInText(std::string& text) const
{
    for (const SFormulaVariableItem& variable : m_Variables)
        if (!variable.Value.empty())
            ReplaceAll(text, Braced(variable.Name), variable.Value);
}

std::string FormatAnswer(const std::string& resultText, std::int32_t length, bool significant)
{
    long double v = 0;
    if (!CalcTextToFloat(resultText, v))
        return {};
    // Decimals: a length of 0 (or less) shows the whole number without a decimal point. Significant
    // figures: 0 figures has no meaning, so a length of 0 or less shows one. A length from a damaged book
    // is held to a sane width instead of asking for a text of billions of zeros.
    const int n = significant ? std::clamp<std::int32_t>(length, 1, kMaxAnswerLength)
                              : std::clamp<std::int32_t>(length, 0, kMaxAnswerLength);
    std::string sign;
    if (v < 0)
    {
        v = -v;
        sign = "-";
    }
    const int k = IntegerDigitCount(RoundHalfEven(v));

    if (significant)
    {
        if (k >= n)
        {
            const long double scale = std::pow(10.0L, static_cast<long double>(k - n));
            return sign + FloatToCalcText(RoundHalfEven(v / scale) * scale);
        }
        const std::string fixed = sign + FloatToFixedText(v, n - k);
        if (BeginsWithZeroPointZero(fixed))
            return sign + TrimExponent(FloatToScientificText(v, n - k));
        return fixed;
    }

    if (resultText.find_first_of("Ee") != std::string::npos)
        return sign + TrimExponent(FloatToScientificText(v, n));
    const std::string fixed = sign + FloatToFixedText(v, n);
    if (BeginsWithZeroPointZero(fixed))
        return sign + TrimExponent(FloatToScientificText(v, n));
    return fixed;
}
