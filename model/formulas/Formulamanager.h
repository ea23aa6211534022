// The formula of one calculated answer: its variables in braces, their values, the evaluated result, the
// accepted interval around it and the answer as shown.
#pragma once

#include "model/items/Records.h"

#include <cstdint>
#include <string>

class CFormulaManager
{
public:
    // Stores the formula and the checking parameters, then validates: the formula is not empty, its round
    // brackets pair off, it names at least one variable in braces and every name is valid (a letter first,
    // no blank, no quotation mark), and it evaluates with every variable set to 1 (lenient mode).
    // False when the formula is not usable; after a failure of the first two checks the previous
    // variables remain.
    bool SetFormula(const std::string& formula, const SFormulaParams& params);

    std::int32_t GetVariableCount() const { return m_Variables.GetSize(); }
    // The name of variable i, empty outside 0..count-1.
    std::string GetVariableName(std::int32_t i) const;
    // Gives the value to the first variable with exactly that name; false when there is none.
    bool SetVariableValue(const std::string& name, const std::string& value);

    // Substitutes the values and evaluates. Every output is optional. False when a variable has no value,
    // the evaluation fails, or a bound or the formatted answer is asked for and the result or the
    // tolerance is not a number; the outputs are written only on success.
    bool Calculate(std::string* result = nullptr, std::string* lowerBound = nullptr,
                   std::string* upperBound = nullptr, std::string* substitutedFormula = nullptr,
                   std::string* formattedAnswer = nullptr) const;

    // Evaluates with the current values and tells whether the typed number lies within the bounds, both
    // ends included. False (with inside false) when the formula fails or a number cannot be read.
    bool CheckAnswer(const std::string& typedAnswer, bool& inside) const;

    // Replaces "{name}" by the value of every variable that has one; the others stay as written.
    void InsertValuesInText(std::string& text) const;

private:
    enum class ESubstitution
    {
        TestValues, // every variable is 1
        Values,     // the values set; a negative one goes in brackets
    };
    bool Substitute(ESubstitution kind, std::string& out) const;
    bool FindVariables();

    std::string m_Formula;
    CFormulaVariableArray m_Variables;
    std::string m_Tolerance;
    std::uint8_t m_ToleranceType = 0; // 0 relative, 1 nominal, 2 geometric; any other value nominal
    std::int32_t m_AnswerLength = 0;  // decimals or significant figures
    std::uint8_t m_AnswerFormat = 0;  // 1 significant figures, any other value decimals
};

// The answer as shown: resultText with length significant figures (significant) or length decimals.
// A length of 0 or less counts as 1. Values whose fixed form would begin with "0.0" are written in
// scientific notation with a trimmed exponent ("4.0E-3"). Empty when resultText is not a number.
std::string FormatAnswer(const std::string& resultText, std::int32_t length, bool significant);
