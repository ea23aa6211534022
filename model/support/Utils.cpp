// Small utilities shared by many units.
#include "model/support/Utils.h"
#include "model/support/Prefs.h"
#include "model/support/SearchText.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/TextLines.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace
{

// Days from 1970-01-01 to a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// Days from 1899-12-30 (day 0 of date-time values) to 1970-01-01.
constexpr std::int64_t kDaysTo1970 = 25569;
constexpr double kMillisecondsPerDay = 86400000.0;

int ClampToInt(std::int64_t value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

TDateTime EncodeDateTime(const lf::sys::LocalDateTime& when)
{
    const std::int64_t days = DaysFromCivil(when.year, when.month, when.day) + kDaysTo1970;
    const double fraction =
        ((when.hour * 60.0 + when.minute) * 60.0 + when.second) * 1000.0 + when.millisecond;
    // Before day 0 the time of day still counts away from midnight: -1.25 is 1899-12-29 06:00.
    const double timePart = fraction / kMillisecondsPerDay;
    return days >= 0 ? static_cast<double>(days) + timePart : static_cast<double>(days) - timePart;
}

lf::sys::LocalDateTime DecodeDateTime(TDateTime value)
{
    lf::sys::LocalDateTime result;
    if (!std::isfinite(value))
        return result;
    const double whole = std::trunc(value);
    auto milliseconds =
        static_cast<std::int64_t>(std::llround(std::fabs(value - whole) * kMillisecondsPerDay));
    auto days = static_cast<std::int64_t>(whole);
    if (milliseconds >= 86400000)
    {
        milliseconds -= 86400000;
        days += value >= 0 ? 1 : -1;
    }
    CivilFromDays(days - kDaysTo1970, result.year, result.month, result.day);
    result.hour = static_cast<int>(milliseconds / 3600000);
    result.minute = static_cast<int>(milliseconds / 60000 % 60);
    result.second = static_cast<int>(milliseconds / 1000 % 60);
    result.millisecond = static_cast<int>(milliseconds % 1000);
    return result;
}

std::int64_t TimeNow()
{
    return lf::sys::Services().UtcSeconds();
}

std::string SecondsToTimeText(std::int64_t seconds)
{
    std::string text;
    // The magnitude as unsigned, so the most negative count has one too.
    std::uint64_t magnitude = static_cast<std::uint64_t>(seconds);
    if (seconds < 0)
    {
        text += '-';
        magnitude = 0 - magnitude;
    }
    text += lf::sys::NumberText(magnitude / 3600);
    text += ':';
    text += lf::sys::NumberText(static_cast<std::int64_t>(magnitude / 60 % 60), 2);
    text += ':';
    text += lf::sys::NumberText(static_cast<std::int64_t>(magnitude % 60), 2);
    return text;
}

std::string MakeBackupTimeStamp(std::int64_t utcSeconds)
{
    const lf::sys::LocalDateTime local = lf::sys::Services().ToLocal(utcSeconds);
    const bool valid = local.year >= 0 && local.year <= 9999 && local.month >= 1 && local.month <= 12 &&
                       local.day >= 1 && local.day <= 31 && local.hour >= 0 && local.hour <= 23 &&
                       local.minute >= 0 && local.minute <= 59 && local.second >= 0 && local.second <= 60;
    if (!valid)
        return "xxxx_xx_xx_xx_xx_xx";
    std::string stamp;
    stamp += lf::sys::NumberText(local.year);
    for (const int part : {local.month, local.day, local.hour, local.minute, local.second})
    {
        stamp += '_';
        stamp += lf::sys::NumberText(part, 2);
    }
    return stamp;
}

int GetLayerDepth(std::string_view text)
{
    int depth = 1;
    for (const char c : text)
        if (c == '.')
            ++depth;
    return depth;
}

int GetLayerNumberPart(std::string_view text, int k)
{
    if (k < 1)
        return -1;
    std::size_t pos = 0;
    for (int part = 1; part < k; ++part)
    {
        const std::size_t dot = text.find('.', pos);
        if (dot == std::string_view::npos)
            return -1;
        pos = dot + 1;
    }
    std::int64_t number = 0;
    bool anyDigit = false;
    for (; pos < text.size() && text[pos] != '.'; ++pos)
    {
        const char c = text[pos];
        if (c < '0' || c > '9')
            continue;
        anyDigit = true;
        if (number < INT_MAX)
            number = std::min<std::int64_t>(number * 10 + (c - '0'), INT_MAX);
    }
    return anyDigit ? static_cast<int>(number) : -1;
}

int CompareLayerNumbers(std::string_view a, std::string_view b, bool emptyLast)
{
    if (emptyLast && (a.empty() || b.empty()))
    {
        if (a.empty() && b.empty())
            return 0;
        return a.empty() ? 1 : -1;
    }
    const int depthA = GetLayerDepth(a);
    const int depthB = GetLayerDepth(b);
    const int depth = std::min(depthA, depthB);
    for (int k = 1; k <= depth; ++k)
    {
        const std::int64_t difference =
            static_cast<std::int64_t>(GetLayerNumberPart(a, k)) - GetLayerNumberPart(b, k);
        if (difference != 0)
            return ClampToInt(difference);
    }
    return depthA - depthB;
}

int CompareTexts(std::string_view a, std::string_view b)
{
    const int result = a.compare(b);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CompareDateTimes(TDateTime a, TDateTime b)
{
    if (b > a)
        return 1;
    if (b < a)
        return -1;
    return 0;
}

bool IsDigitChar(char c, bool allowPoint)
{
    return (c >= '0' && c <= '9') || (allowPoint && c == '.');
}

std::string NormalizeSearchText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (!IsIgnoredInSearch(c))
            out += c;
    return out;
}

std::string DecodePercentEscapes(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (text[i] == '%' && i + 2 < text.size())
        {
            const int high = lf::sys::HexDigitValue(text[i + 1]);
            const int low = lf::sys::HexDigitValue(text[i + 2]);
            if (high >= 0 && low >= 0)
            {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string GetAnswerNumberLabel(int n, int numberingType, int numberingFormat)
{
    std::string label;
    if (numberingType == 0)
        label += lf::sys::NumberText(n);
    else if (n >= 1 && n < 25)
        label = static_cast<char>(96 + n);
    else
        return "Error.";
    switch (numberingFormat)
    {
    case 0:
        return label + ".";
    case 1:
        return label + ")";
    case 2:
        return "(" + label + ")";
    default:
        return label;
    }
}

std::string GetAnswerNumberLabel(int n)
{
    const CPrefs* prefs = CPrefs::GetPrefs();
    if (!prefs)
        return GetAnswerNumberLabel(n, CPrefs::kDefaultParserNumberingType,
                                    CPrefs::kDefaultParserNumberingFormat);
    return GetAnswerNumberLabel(n, prefs->GetParserNumberingType(), prefs->GetParserNumberingFormat());
}

CStringArray SplitTextLines(std::string_view text)
{
    std::vector<std::string_view> lines = lf::sys::SplitLines(text);
    if (lines.back().empty())
        lines.pop_back();
    CStringArray result;
    result.SetSize(static_cast<std::int32_t>(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i)
        result[static_cast<std::int32_t>(i)] = lines[i];
    return result;
}
