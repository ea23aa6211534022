// Calculated questions: answers with a formula over variables whose values come from data sets, graded by
// evaluating the formula at the row shown with the user's answer; and the data-set operations of one answer.
#include "model/items/Datatypes_Kinds.h"

#include "model/items/Datatypes_Lists.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <string_view>
#include <system_error>

using namespace lf::items;

namespace
{

double NumberOr(const std::string& text, double fallback)
{
    double value = 0.0;
    return ReadNumber(text, value) ? value : fallback;
}

// The whole text as a 32-bit whole number, or fallback.
std::int32_t WholeNumberOr(const std::string& text, std::int32_t fallback)
{
    std::int32_t value = 0;
    return lf::sys::ReadNumber(text, value) ? value : fallback;
}

// A uniform value in [0, 1) with 60 random bits, drawn from the program's one generator.
double RandomFraction()
{
    constexpr int kHalf = 1 << 30;
    const double high = lf::sys::Random(kHalf);
    const double low = lf::sys::Random(kHalf);
    return (high * kHalf + low) / (static_cast<double>(kHalf) * kHalf);
}

// A random value from lo upward over the width of the range, below lo + |hi - lo|, on the grid of 1/scale
// steps: lo + k / scale for a random k in 0..steps-1, where steps is the whole part of |scale × (hi - lo)|.
// Small ranges draw k with random(n) as stored books expect; a range whose step count does not fit an int
// is drawn in floating point on the same grid.
double RandomValueOnGrid(double lo, double hi, double scale)
{
    const double steps = std::trunc(scale * (hi - lo));
    if (std::fabs(steps) <= static_cast<double>(INT_MAX))
        return lo + lf::sys::Random(static_cast<int>(steps)) / scale;

    const double u = RandomFraction();
    if (std::isfinite(steps))
    {
        const double count = std::fabs(steps);
        const double k = std::min(std::floor(u * count), count - 1.0);
        return lo + k / scale;
    }
    // The bounds lie so far apart that their difference overflows; the grid is far below the resolution
    // of a double there. The offset is added in two halves so that no step overflows on the way.
    const double half = u * std::fabs(hi / 2.0 - lo / 2.0);
    const double value = lo + half + half;
    return std::isfinite(value) ? value : std::copysign(DBL_MAX, value);
}

std::string FormatFixed(double value, int decimals)
{
    std::string buffer(400, '\0');
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return std::string();
    buffer.resize(static_cast<std::size_t>(end - buffer.data()));
    return buffer;
}

const SCalculatedVariableItem* FindVariableItem(const SCalculatedAnswerItem& answer, const std::string& name)
{
    std::int32_t index = -1;
    return FindVariable(answer, name, index) ? &answer.Variables.ElementAt(index) : nullptr;
}

SCalculatedVariableItem* FindVariableItem(SCalculatedAnswerItem& answer, const std::string& name)
{
    std::int32_t index = -1;
    return FindVariable(answer, name, index) ? &answer.Variables.ElementAt(index) : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Data sets of one answer

std::int32_t GetVariableCount(const SCalculatedAnswerItem& answer)
{
    return answer.Variables.GetSize();
}

bool FindVariable(const SCalculatedAnswerItem& answer, const std::string& name, std::int32_t& index)
{
    for (std::int32_t i = 0; i < answer.Variables.GetSize(); ++i)
    {
        if (answer.Variables.ElementAt(i).Name == name)
        {
            index = i;
            return true;
        }
    }
    return false;
}

bool SetVariableRange(SCalculatedAnswerItem& answer, const std::string& name, const std::string& minValue,
                      const std::string& maxValue)
{
    if (SCalculatedVariableItem* variable = FindVariableItem(answer, name))
    {
        variable->MinValue = minValue;
        variable->MaxValue = maxValue;
        return true;
    }
    SCalculatedVariableItem variable;
    variable.Name = name;
    variable.MinValue = minValue;
    variable.MaxValue = maxValue;
    answer.Variables.Add(variable);
    return true;
}

bool GetVariableRange(SCalculatedAnswerItem& answer, const std::string& name, std::string& minValue,
                      std::string& maxValue)
{
    const SCalculatedVariableItem* variable = FindVariableItem(answer, name);
    if (!variable)
    {
        SetVariableRange(answer, name, "1", "10");
        variable = FindVariableItem(answer, name);
    }
    minValue = variable->MinValue;
    maxValue = variable->MaxValue;
    return true;
}

std::int32_t GetDatasetSize(const SCalculatedAnswerItem& answer)
{
    if (answer.Variables.GetSize() == 0)
        return 0;
    std::int32_t rows = INT32_MAX;
    for (const auto& variable : answer.Variables)
        rows = std::min(rows, variable.Values.GetSize());
    return rows;
}

void ClearDatasets(SCalculatedAnswerItem& answer)
{
    for (auto& variable : answer.Variables)
        variable.Values.RemoveAll();
}

bool GenerateDatasets(SCalculatedAnswerItem& answer, std::int32_t n)
{
    // Values beyond the complete rows would pair with the new ones in the wrong rows: start afresh.
    if (GetDatasetSize(answer) == 0)
        ClearDatasets(answer);
    for (auto& variable : answer.Variables)
    {
        for (std::int32_t i = 0; i < n; ++i)
            variable.Values.Add(MakeRandomValue(variable.MinValue, variable.MaxValue, 1));
    }
    return true;
}

bool RegenerateOutOfRangeValues(SCalculatedAnswerItem& answer)
{
    const std::int32_t rows = GetDatasetSize(answer);
    for (auto& variable : answer.Variables)
    {
        for (std::int32_t k = 0; k < rows; ++k)
        {
            std::string& value = variable.Values.ElementAt(k);
            if (!IsValueInRange(variable.MinValue, variable.MaxValue, value))
                value = MakeRandomValue(variable.MinValue, variable.MaxValue, 1);
        }
    }
    return true;
}

bool GetDatasetValue(const SCalculatedAnswerItem& answer, const std::string& name, std::string& value,
                     std::int32_t k)
{
    const SCalculatedVariableItem* variable = FindVariableItem(answer, name);
    if (!variable || k < 0 || k >= variable->Values.GetSize())
        return false;
    value = variable->Values.ElementAt(k);
    return true;
}

bool SetDatasetValue(SCalculatedAnswerItem& answer, const std::string& name, const std::string& value,
                     std::int32_t k)
{
    SCalculatedVariableItem* variable = FindVariableItem(answer, name);
    if (!variable || k < 0 || k >= variable->Values.GetSize())
        return false;
    variable->Values.ElementAt(k) = value;
    return true;
}

bool DeleteLastDatasets(SCalculatedAnswerItem& answer, std::int32_t n)
{
    const std::int32_t rows = GetDatasetSize(answer);
    if (rows - n < 1)
        n = rows - 1; // at least one complete row remains
    if (n <= 0)
        return true;
    for (auto& variable : answer.Variables)
        variable.Values.RemoveAt(variable.Values.GetSize() - n, n);
    return true;
}

std::string MakeRandomValue(const std::string& minValue, const std::string& maxValue, int decimals)
{
    decimals = std::clamp(decimals, 0, 30);
    const double lo = NumberOr(minValue, 1.0);
    const double hi = NumberOr(maxValue, 10.0);
    return FormatFixed(RandomValueOnGrid(lo, hi, std::pow(10.0, decimals)), decimals);
}

bool IsValueInRange(const std::string& minValue, const std::string& maxValue, const std::string& value)
{
    const double v = NumberOr(value, 0.0);
    return NumberOr(minValue, 0.0) <= v && v <= NumberOr(maxValue, 0.0);
}

// ---------------------------------------------------------------------------------------------------------
// CCalculatedItem

CCalculatedItem::CCalculatedItem() : CBaseItem(qtCalculated) {}

CCalculatedItem::~CCalculatedItem() = default;

std::int32_t CCalculatedItem::GetAnswerCount() const
{
    return m_Answers.GetSize();
}

std::int32_t CCalculatedItem::GetCorrectAnswerCount() const
{
    std::int32_t count = 0;
    for (const auto& answer : m_Answers)
    {
        if (IsNonZeroGrade(answer.Correct))
            ++count;
    }
    return count;
}

void CCalculatedItem::ClearAnswers()
{
    m_Answers.RemoveAll();
}

bool CCalculatedItem::IsAnswered() const
{
    return !CommonAnswer.UserAnswer.empty();
}

int CCalculatedItem::GetResult()
{
    SCalculatedAnswerItem* match = nullptr;
    if (FindMatchingCalculatedAnswer(match, true) < 0)
        match = nullptr;
    return GradeOfTypedMatch(match ? &match->Correct : nullptr);
}

bool CCalculatedItem::IsAllAnswerBlanksIsEmpty() const
{
    for (const auto& answer : m_Answers)
    {
        if (IsNonZeroGrade(answer.Correct))
            return false;
        if (!lf::sys::Trim(answer.AnswerFormula).empty() || !lf::sys::Trim(answer.Feedback).empty())
            return false;
    }
    return true;
}

bool CCalculatedItem::CopyFrom(const CBaseItem* other)
{
    if (!CBaseItem::CopyFrom(other))
        return false;
    const auto* source = dynamic_cast<const CCalculatedItem*>(other);
    if (!source || source == this)
        return true;
    ClearAnswers();
    for (const auto& from : source->m_Answers)
    {
        SCalculatedAnswerItem answer;
        answer.ID = from.ID;
        answer.AnswerFormula = from.AnswerFormula;
        answer.FormulaParams = from.FormulaParams;
        answer.Correct = from.Correct;
        answer.Feedback = from.Feedback;
        // Only the complete rows are worth carrying over.
        const std::int32_t rows = GetDatasetSize(from);
        for (const auto& fromVariable : from.Variables)
        {
            SCalculatedVariableItem variable;
            variable.Name = fromVariable.Name;
            variable.MinValue = fromVariable.MinValue;
            variable.MaxValue = fromVariable.MaxValue;
            for (std::int32_t k = 0; k < rows; ++k)
                variable.Values.Add(fromVariable.Values.ElementAt(k));
            answer.Variables.Add(variable);
        }
        m_Answers.Add(answer);
    }
    // The collection copies only into new items, whose unit list is empty: the units are appended.
    for (const auto& unit : source->m_Units)
        m_Units.Add(unit);
    return true;
}

bool CCalculatedItem::Clear()
{
    if (!ClearWithAnswers())
        return false;
    m_Units.RemoveAll();
    return true;
}

bool CCalculatedItem::IsEqual(const CBaseItem* other, bool compareTimes, bool compareLayers,
                              bool compareCategory, bool compareAnswers, bool compareFeedback,
                              bool compareOwner) const
{
    if (!CBaseItem::IsEqual(other, compareTimes, compareLayers, compareCategory, compareAnswers,
                            compareFeedback, compareOwner))
        return false;
    const auto* o = dynamic_cast<const CCalculatedItem*>(other);
    if (!o || m_Answers.GetSize() != o->m_Answers.GetSize())
        return false;
    if (!compareAnswers)
        return true;
    for (std::int32_t i = 0; i < m_Answers.GetSize(); ++i)
    {
        const SCalculatedAnswerItem& a = m_Answers.ElementAt(i);
        const SCalculatedAnswerItem& b = o->m_Answers.ElementAt(i);
        if (a.ID != b.ID || a.AnswerFormula != b.AnswerFormula || a.Correct != b.Correct ||
            a.Feedback != b.Feedback)
            return false;
    }
    return true;
}

std::int32_t CCalculatedItem::FindMatchingCalculatedAnswer(SCalculatedAnswerItem*& answer, bool check)
{
    if (check && !IsAnswered())
        return -1;
    for (std::int32_t i = 0; i < m_Answers.GetSize(); ++i)
    {
        SCalculatedAnswerItem& candidate = m_Answers.ElementAt(i);
        if (!IsNonZeroGrade(candidate.Correct))
            continue;
        if (check)
        {
            // A formula that does not validate or a row without values makes this answer miss; the
            // next candidate is tried.
            bool inside = false;
            if (!PrepareFormulaManager(&candidate, m_FormulaManager, false) ||
                !m_FormulaManager.CheckAnswer(CommonAnswer.UserAnswer, inside) || !inside)
                continue;
        }
        answer = &candidate;
        return i;
    }
    return -1;
}

bool CCalculatedItem::GetCalculatedAnswer(std::int32_t i, SCalculatedAnswerItem*& answer)
{
    if (i < 0 || i >= m_Answers.GetSize())
        return false;
    answer = &m_Answers.ElementAt(i);
    return true;
}

bool CCalculatedItem::AddCalculatedAnswer(const SCalculatedAnswerItem& answer)
{
    m_Answers.Add(answer);
    return true;
}

bool CCalculatedItem::PrepareFormulaManager(const SCalculatedAnswerItem* answer, CFormulaManager& manager,
                                            bool useCurrentRow) const
{
    if (!answer || !manager.SetFormula(answer->AnswerFormula, answer->FormulaParams))
        return false;
    const std::int32_t row =
        useCurrentRow ? m_CurrentDataset : WholeNumberOr(CommonAnswer.UserAnswerAdditionalInfo, -1);
    if (row < 0 || row >= GetDatasetSize(*answer))
        return false;
    bool allSet = true;
    for (std::int32_t i = 0; i < manager.GetVariableCount(); ++i)
    {
        const std::string name = manager.GetVariableName(i);
        std::string value;
        if (GetDatasetValue(*answer, name, value, row))
            manager.SetVariableValue(name, value);
        else
            allSet = false;
    }
    return allSet;
}
