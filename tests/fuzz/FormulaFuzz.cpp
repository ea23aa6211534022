// The formula manager of calculated questions: the first line is the formula, the second the tolerance,
// the rest the typed answer.
#include "model/formulas/Formulamanager.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t first = text.find('\n');
    const std::size_t second = first == std::string::npos ? std::string::npos : text.find('\n', first + 1);
    const std::string formula = text.substr(0, first);
    SFormulaParams params;
    if (first != std::string::npos)
        params.Tolerance =
            text.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    params.ToleranceType = static_cast<std::uint8_t>(size % 3);
    params.CorrectAnswerLength = static_cast<std::int32_t>(size % 7);
    params.CorrectAnswerFormat = static_cast<std::uint8_t>(size % 2);
    const std::string typed = second == std::string::npos ? std::string() : text.substr(second + 1);

    CFormulaManager manager;
    if (!manager.SetFormula(formula, params))
        return 0;
    for (std::int32_t i = 0; i < manager.GetVariableCount(); ++i)
        manager.SetVariableValue(manager.GetVariableName(i), i % 2 ? "2.5" : "-3");
    bool inside = false;
    manager.CheckAnswer(typed, inside);
    std::string shown = typed;
    manager.InsertValuesInText(shown);
    return 0;
}
