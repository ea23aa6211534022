#include "model/items/Grades.h"

#include "model/items/Datatypes_Lists.h"
#include "platform/sys/TextTrim.h"

#include <array>
#include <string_view>

namespace
{

// Indexes 0..20; 21..40 mirror them negated (index 20 + k is index 20 - k with a leading "-").
constexpr std::array<std::string_view, 21> kPercent = {
    "100", "90", "83.333", "80",     "75",      "70",   "66.666", "60", "50", "40", "33.333",
    "30",  "25", "20",     "16.666", "14.2857", "12.5", "11.111", "10", "5",  "0"};
constexpr std::array<std::string_view, 21> kFraction = {
    "1",   "0.9",  "0.83333", "0.8",     "0.75",     "0.7",   "0.66666", "0.6", "0.5",  "0.4", "0.33333",
    "0.3", "0.25", "0.2",     "0.16666", "0.142857", "0.125", "0.11111", "0.1", "0.05", "0"};

std::string At(const std::array<std::string_view, 21>& table, int index)
{
    if (index < 0 || index >= kGradeCount)
        return "0";
    if (index <= kNeutralGradeIndex)
        return std::string(table[static_cast<std::size_t>(index)]);
    return "-" + std::string(table[static_cast<std::size_t>(2 * kNeutralGradeIndex - index)]);
}

int Find(const std::array<std::string_view, 21>& table, const std::string& text)
{
    for (int i = 0; i < kGradeCount; ++i)
        if (At(table, i) == text)
            return i;
    return -1;
}

} // namespace

std::string GradePercentToFraction(const std::string& percent)
{
    const int index = Find(kPercent, percent);
    return index < 0 ? "0" : At(kFraction, index);
}

std::string GradeFractionToPercent(const std::string& fraction)
{
    const int index = Find(kFraction, fraction);
    return index < 0 ? "0" : At(kPercent, index);
}

int GradeFractionToIndex(const std::string& fraction)
{
    const int index = Find(kFraction, fraction);
    return index < 0 ? kNeutralGradeIndex : index;
}

std::string GradeIndexToFraction(int index)
{
    return At(kFraction, index);
}

std::string GradeIndexToPercent(int index)
{
    return At(kPercent, index);
}

bool IsCreditedGrade(const std::string& grade)
{
    if (lf::sys::TrimView(grade).empty())
        return true;
    double value = 0.0;
    return lf::items::ReadNumber(grade, value) && value > 0.0;
}
