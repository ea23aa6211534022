// Numbers to and from text: the one place that turns numbers into decimal or hexadecimal text and reads
// them back, always with "." as the decimal point and never after the process locale.
#pragma once

#include <charconv>
#include <cmath>
#include <concepts>
#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace lf::sys
{

// The value in decimal digits, "-" in front of a negative one ("-12", "0").
template <std::integral T> std::string NumberText(T value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// As NumberText, with "0"s in front until the text has at least minDigits characters (7, 3 -> "007").
template <std::integral T> std::string NumberText(T value, int minDigits)
{
    std::string digits = NumberText(value);
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return digits;
}

namespace detail
{

template <class T> std::from_chars_result FromChars(const char* first, const char* last, T& value)
{
    if constexpr (std::floating_point<T>)
        return std::from_chars(first, last, value, std::chars_format::general);
    else
        return std::from_chars(first, last, value);
}

template <class T> bool InRange(T value)
{
    if constexpr (std::floating_point<T>)
        return std::isfinite(value);
    else
        return true;
}

} // namespace detail

// The strict reader: the whole text is one number and nothing else. An optional "-", then digits (for
// floating types also a fraction and an exponent, "1.5e3"); no blanks, no "+", nothing after it, and the
// value fits the type (a floating value is finite: "inf" and "nan" are refused). False for anything else,
// the empty text included; value is changed only on success.
template <class T> bool ReadNumber(std::string_view text, T& value)
{
    if (text.empty())
        return false;
    const char* last = text.data() + text.size();
    T read{};
    const auto [end, ec] = detail::FromChars(text.data(), last, read);
    if (ec != std::errc() || end != last || !detail::InRange(read))
        return false;
    value = read;
    return true;
}

// The lenient reader, for texts typed or written by other programs: blanks and control characters in
// front are skipped, then one "+" or "-" may stand before the number, which is read as far as it goes;
// what follows it is left alone ("  +12px" gives 12). False when no number starts there (a sign after
// "+" included) or it does not fit the type; value is changed only on success. When rest is given it
// receives the text after the number, so a caller that wants nothing but blanks there can check it.
template <class T> bool ReadNumberLenient(std::string_view text, T& value, std::string_view* rest = nullptr)
{
    std::size_t at = 0;
    while (at < text.size() && static_cast<unsigned char>(text[at]) <= ' ')
        ++at;
    if (at < text.size() && text[at] == '+')
    {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            return false;
    }
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    T read{};
    const auto [end, ec] = detail::FromChars(first, last, read);
    if (ec != std::errc() || end == first || !detail::InRange(read))
        return false;
    value = read;
    if (rest)
        *rest = text.substr(static_cast<std::size_t>(end - text.data()));
    return true;
}

// The upper-case hexadecimal digit of the low four bits ("0" to "9", "A" to "F").
constexpr char HexDigit(unsigned value)
{
    return "0123456789ABCDEF"[value & 0xF];
}

// The value of a hexadecimal digit of either case, or -1 for any other character.
constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Appends the byte as two upper-case hexadecimal digits, the high one first.
inline void AppendHexByte(std::string& out, unsigned char byte)
{
    out += HexDigit(byte >> 4);
    out += HexDigit(byte);
}

} // namespace lf::sys
