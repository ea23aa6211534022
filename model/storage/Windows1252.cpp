#include "model/storage/Windows1252.h"

#include <array>
#include <cstdint>

namespace
{

// Code points of the bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80)
    {
        out += static_cast<char>(cp);
    }
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else
    {
        // Every code point of the table lies below 0x10000.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 character at pos; false (pos moved by one byte) for a byte that starts no valid
// sequence, an overlong form, a surrogate or a value past U+10FFFF.
bool DecodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80)
    {
        cp = lead;
        ++pos;
        return true;
    }
    if ((lead & 0xE0) == 0xC0)
    {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    }
    else
    {
        ++pos;
        return false;
    }
    if (text.size() - pos < length)
    {
        ++pos;
        return false;
    }
    for (std::size_t k = 1; k < length; ++k)
    {
        const auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80)
        {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    {
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

char ToWindows1252(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControlRange.size(); ++i)
        if (kHighControlRange[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
    {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            AppendUtf8(out, kHighControlRange[b - 0x80]);
        else
            AppendUtf8(out, b);
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
    {
        char32_t cp = 0;
        out += DecodeUtf8(text, pos, cp) ? ToWindows1252(cp) : '?';
    }
    return out;
}
