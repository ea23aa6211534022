#include "platform/sys/Utf8Text.h"

#include "platform/sys/NumberText.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace lf::sys
{

namespace
{

constexpr char32_t kLastCharacter = 0x10FFFF;

// Code points of the Windows-1252 bytes 0x80 to 0x9F; the undefined ones keep their own number.
constexpr std::array<char32_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98..9F
};

enum class Sequence
{
    Valid,
    BadValue, // the right shape, but a surrogate, a value past U+10FFFF or an overlong form
    BadByte,  // the byte at the start begins no sequence, or its continuation bytes are missing
};

// Classifies the sequence at p and gives its length in bytes (1 for a bad byte).
Sequence Classify(const unsigned char* p, const unsigned char* end, std::size_t& length)
{
    const unsigned char lead = *p;
    length = 1;
    if (lead < 0x80)
        return Sequence::Valid;
    std::uint32_t value = 0;
    std::uint32_t min = 0;
    std::size_t size = 0;
    if ((lead & 0xE0) == 0xC0)
    {
        size = 2;
        value = lead & 0x1Fu;
        min = 0x80;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        size = 3;
        value = lead & 0x0Fu;
        min = 0x800;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        size = 4;
        value = lead & 0x07u;
        min = 0x10000;
    }
    else
    {
        return Sequence::BadByte;
    }
    if (static_cast<std::size_t>(end - p) < size)
        return Sequence::BadByte;
    for (std::size_t k = 1; k < size; ++k)
    {
        if ((p[k] & 0xC0u) != 0x80u)
            return Sequence::BadByte;
        value = (value << 6) | (p[k] & 0x3Fu);
    }
    // Overlong two-byte forms (C0, C1) are stray bytes of a Windows-1252 text far more often than
    // anything else; longer overlong forms and out-of-range values come from broken encoders and
    // character references.
    if (size == 2 && value < min)
        return Sequence::BadByte;
    length = size;
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return Sequence::BadValue;
    return Sequence::Valid;
}

} // namespace

bool IsValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end)
    {
        // Plain ASCII, nearly all of a book file, is passed over 32 bytes and then 8 bytes at a time.
        constexpr std::uint64_t kHighBits = 0x8080808080808080u;
        while (end - p >= 32)
        {
            std::uint64_t words[4];
            std::memcpy(words, p, sizeof words);
            if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) != 0)
                break;
            p += 32;
        }
        while (end - p >= 8)
        {
            std::uint64_t word = 0;
            std::memcpy(&word, p, sizeof word);
            if ((word & kHighBits) != 0)
                break;
            p += 8;
        }
        if (p == end)
            break;
        std::size_t length = 0;
        if (Classify(p, end, length) != Sequence::Valid)
            return false;
        p += length;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80)
    {
        out += static_cast<char>(cp);
    }
    else if (cp < 0x800)
    {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else if (cp < 0x10000)
    {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Windows1252CodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return kHighControlRange[byte - 0x80];
    return byte;
}

bool MakeValidUtf8(std::string& text)
{
    if (IsValidUtf8(text))
        return false;
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = p + text.size();
    while (p < end)
    {
        std::size_t length = 0;
        switch (Classify(p, end, length))
        {
        case Sequence::Valid:
            out.append(reinterpret_cast<const char*>(p), length);
            break;
        case Sequence::BadValue:
            AppendUtf8(out, 0xFFFD);
            break;
        case Sequence::BadByte:
            AppendUtf8(out, Windows1252CodePoint(*p));
            break;
        }
        p += length;
    }
    text = std::move(out);
    return true;
}

namespace
{

// Replaces a name or value of the tree when it is not valid UTF-8; true when it did.
template <class Node> bool Mend(const char* current, Node& node, bool (Node::*set)(const char*))
{
    // Checked where it stands: copying every name and value of a book only to find it valid costs more
    // than the check.
    if (IsValidUtf8(current))
        return false;
    std::string text = current;
    MakeValidUtf8(text);
    (node.*set)(text.c_str());
    return true;
}

} // namespace

bool MakeXmlTextsValidUtf8(pugi::xml_node root)
{
    bool changed = false;
    pugi::xml_node node = root;
    while (node)
    {
        changed |= Mend(node.name(), node, &pugi::xml_node::set_name);
        changed |= Mend(node.value(), node, &pugi::xml_node::set_value);
        for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
             attribute = attribute.next_attribute())
        {
            changed |= Mend(attribute.name(), attribute, &pugi::xml_attribute::set_name);
            changed |= Mend(attribute.value(), attribute, &pugi::xml_attribute::set_value);
        }
        // Next node in document order, never leaving the subtree of root.
        if (pugi::xml_node child = node.first_child())
        {
            node = child;
            continue;
        }
        while (node && node != root && !node.next_sibling())
            node = node.parent();
        if (!node || node == root)
            break;
        node = node.next_sibling();
    }
    return changed;
}

namespace
{

// The end of the markup that starts at pos and holds no references to decode (a CDATA section, a comment
// or a processing instruction), or pos itself when none starts there.
std::size_t SkipUndecodedMarkup(std::string_view xml, std::size_t pos)
{
    constexpr std::pair<std::string_view, std::string_view> kSections[] = {
        {"<![CDATA[", "]]>"}, {"<!--", "-->"}, {"<?", "?>"}};
    for (const auto& [open, close] : kSections)
    {
        if (xml.substr(pos, open.size()) != open)
            continue;
        const std::size_t end = xml.find(close, pos + open.size());
        return end == std::string_view::npos ? xml.size() : end + close.size();
    }
    return pos;
}

} // namespace

std::size_t ReadCharacterReferenceNumber(std::string_view text, std::size_t at, bool hex, char32_t& number)
{
    number = 0;
    for (; at < text.size(); ++at)
    {
        const char ch = text[at];
        const int digit = hex ? HexDigitValue(ch) : (ch >= '0' && ch <= '9' ? ch - '0' : -1);
        if (digit < 0)
            break;
        if (number <= kLastCharacter)
            number = number * (hex ? 16u : 10u) + static_cast<char32_t>(digit);
    }
    return at;
}

std::string ReplaceXmlReferencesToNoCharacter(std::string_view xml)
{
    std::string out;
    std::size_t copied = 0;
    std::size_t pos = xml.find_first_of("<&");
    while (pos != std::string_view::npos)
    {
        if (xml[pos] == '<')
        {
            const std::size_t end = SkipUndecodedMarkup(xml, pos);
            pos = xml.find_first_of("<&", end == pos ? pos + 1 : end);
            continue;
        }
        // The forms the XML library decodes: "&#" and decimal digits, or "&#x" and hexadecimal digits
        // (a capital X is no reference to it), each ended by ";".
        std::size_t at = pos + 1;
        const bool reference = at < xml.size() && xml[at] == '#';
        const bool hex = reference && at + 1 < xml.size() && xml[at + 1] == 'x';
        at += hex ? 2 : 1;
        const std::size_t digits = at;
        char32_t value = 0;
        if (reference)
            at = ReadCharacterReferenceNumber(xml, at, hex, value);
        if (reference && at > digits && at < xml.size() && xml[at] == ';' &&
            (value == 0 || value > kLastCharacter))
        {
            if (out.empty())
                out.reserve(xml.size() + 8);
            out.append(xml.substr(copied, pos - copied));
            out += "&#xFFFD;";
            copied = at + 1;
        }
        pos = xml.find_first_of("<&", pos + 1);
    }
    if (!out.empty())
        out.append(xml.substr(copied));
    return out;
}

} // namespace lf::sys
