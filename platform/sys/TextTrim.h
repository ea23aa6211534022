// Trimming texts: the one place that says what counts as the blank edge of a text (blanks, tabs, line
// breaks and the other control characters).
#pragma once

#include <string>
#include <string_view>

namespace lf::sys
{

// The text without the blanks and control characters around it, as a view into the same characters.
constexpr std::string_view TrimView(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    return text;
}

// The text without the blanks and control characters around it.
inline std::string Trim(std::string_view text)
{
    return std::string(TrimView(text));
}

} // namespace lf::sys
