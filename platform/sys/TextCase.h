// Case folding for UTF-8 text: the one place where the program compares texts without regard to case or
// turns them to lower or upper case. Folding follows Unicode (through utf8proc), so "Ä" and "ä" are one
// letter; bytes that are not valid UTF-8 are kept as they stand.
#pragma once

#include <string>
#include <string_view>

namespace lf::sys
{

// The text in lower case.
std::string LowerCase(std::string_view text);
// The text in upper case.
std::string UpperCase(std::string_view text);
// The text case-folded for comparisons (a full Unicode fold: "Straße" and "STRASSE" fold alike).
std::string FoldCase(std::string_view text);

// Compares two texts without regard to case: negative, 0 or positive, ordered by the folded code points.
int CompareTextNoCase(std::string_view a, std::string_view b);
// True when the two texts are equal without regard to case.
bool SameTextNoCase(std::string_view a, std::string_view b);
// True when text starts with prefix, without regard to case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// True when text ends with suffix, without regard to case.
bool EndsWithNoCase(std::string_view text, std::string_view suffix);

// ASCII case: only "A" to "Z" and "a" to "z" change and every other byte stays where it is, so lengths and
// positions carry over. For keywords, tag and attribute names, extensions and other program-made texts;
// the user's texts go through the Unicode functions above.
constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
// True when the two texts are equal once ASCII letters are lower-cased.
bool SameTextAsciiNoCase(std::string_view a, std::string_view b);

} // namespace lf::sys
