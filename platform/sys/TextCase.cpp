// Case folding over utf8proc. Every function walks the text one code point at a time; a byte that does not
// start a valid UTF-8 sequence is copied unchanged, so damaged text is never lost or made longer.
#include "platform/sys/TextCase.h"

#include <utf8proc.h>

#include <cstdint>

namespace lf::sys
{

namespace
{

enum class Mapping
{
    Lower,
    Upper,
    Fold,
};

void AppendCodePoint(std::string& out, utf8proc_int32_t codePoint)
{
    utf8proc_uint8_t buffer[4];
    const utf8proc_ssize_t length = utf8proc_encode_char(codePoint, buffer);
    out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(length));
}

std::string MapText(std::string_view text, Mapping mapping)
{
    std::string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    const auto size = static_cast<utf8proc_ssize_t>(text.size());
    utf8proc_ssize_t pos = 0;
    while (pos < size)
    {
        const unsigned char byte = bytes[pos];
        if (byte < 0x80)
        {
            // ASCII needs no table look-up.
            const char c = static_cast<char>(byte);
            out.push_back(mapping == Mapping::Upper ? AsciiUpper(c) : AsciiLower(c));
            ++pos;
            continue;
        }
        utf8proc_int32_t codePoint = -1;
        const utf8proc_ssize_t length = utf8proc_iterate(bytes + pos, size - pos, &codePoint);
        if (length <= 0 || codePoint < 0)
        {
            out.push_back(static_cast<char>(byte));
            ++pos;
            continue;
        }
        switch (mapping)
        {
        case Mapping::Lower:
            AppendCodePoint(out, utf8proc_tolower(codePoint));
            break;
        case Mapping::Upper:
            AppendCodePoint(out, utf8proc_toupper(codePoint));
            break;
        case Mapping::Fold:
        {
            utf8proc_int32_t folded[8];
            int boundClass = 0;
            const utf8proc_ssize_t count =
                utf8proc_decompose_char(codePoint, folded, 8, UTF8PROC_CASEFOLD, &boundClass);
            if (count <= 0 || count > 8)
            {
                AppendCodePoint(out, utf8proc_tolower(codePoint));
            }
            else
            {
                for (utf8proc_ssize_t i = 0; i < count; ++i)
                    AppendCodePoint(out, folded[i]);
            }
            break;
        }
        }
        pos += length;
    }
    return out;
}

} // namespace

std::string LowerCase(std::string_view text)
{
    return MapText(text, Mapping::Lower);
}

std::string UpperCase(std::string_view text)
{
    return MapText(text, Mapping::Upper);
}

std::string FoldCase(std::string_view text)
{
    return MapText(text, Mapping::Fold);
}

int CompareTextNoCase(std::string_view a, std::string_view b)
{
    // UTF-8 byte order is code point order, so comparing the folded bytes orders by folded code points.
    const std::string foldedA = FoldCase(a);
    const std::string foldedB = FoldCase(b);
    const int result = foldedA.compare(foldedB);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

bool SameTextNoCase(std::string_view a, std::string_view b)
{
    return FoldCase(a) == FoldCase(b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    const std::string foldedText = FoldCase(text);
    const std::string foldedPrefix = FoldCase(prefix);
    return foldedText.starts_with(foldedPrefix);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix)
{
    const std::string foldedText = FoldCase(text);
    const std::string foldedSuffix = FoldCase(suffix);
    return foldedText.ends_with(foldedSuffix);
}

std::string AsciiLower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiLower(c);
    return out;
}

std::string AsciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = AsciiUpper(c);
    return out;
}

bool SameTextAsciiNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

} // namespace lf::sys
