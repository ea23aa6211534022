#include "model/storage/Windows1252.h"

#include "platform/sys/Utf8Text.h"

#include <array>
#include <cstdint>

namespace
{

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
    for (unsigned byte = 0x80; byte < 0xA0; ++byte)
        if (lf::sys::Windows1252CodePoint(static_cast<unsigned char>(byte)) == cp)
            return static_cast<char>(byte);
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
        else
            lf::sys::AppendUtf8(out, lf::sys::Windows1252CodePoint(b));
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
