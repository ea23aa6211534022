#include "model/support/SearchText.h"

#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace
{

// What each ASCII byte becomes in a search form, in the low byte: itself or its lower-case letter; in the
// high byte, 1 when it is kept and 0 when a search leaves it out. The NUL byte is kept.
constexpr std::array<std::uint16_t, 128> MakeAsciiSearchTable()
{
    std::array<std::uint16_t, 128> table{};
    for (int c = 0; c < 128; ++c)
    {
        const char ch = static_cast<char>(c);
        const int lower = ch >= 'A' && ch <= 'Z' ? c - 'A' + 'a' : c;
        table[static_cast<std::size_t>(c)] =
            static_cast<std::uint16_t>(IsIgnoredInSearch(ch) ? 0 : 0x100 | lower);
    }
    return table;
}

constexpr std::array<std::uint16_t, 128> kAsciiSearchTable = MakeAsciiSearchTable();

// Writes the search form of one ASCII byte at write (even a left-out one, which the next byte overwrites)
// and returns where the next byte goes.
inline char* PutAsciiSearchForm(char* write, unsigned char ascii)
{
    const std::uint16_t form = kAsciiSearchTable[ascii];
    *write = static_cast<char>(form);
    return write + (form >> 8);
}

} // namespace

void AppendSearchForm(std::string& out, std::string_view text)
{
    // Written through a pointer into room made up front, which the ASCII bytes never outgrow.
    const std::size_t start = out.size();
    out.resize(start + text.size());
    char* write = out.data() + start;
    const char* read = text.data();
    const char* end = read + text.size();
    while (read < end)
    {
        // Eight ASCII bytes in a row, nearly all of any text, go without a test per byte for its kind.
        std::uint64_t word = 0;
        if (end - read >= 8 && (std::memcpy(&word, read, sizeof word), (word & 0x8080808080808080u) == 0))
        {
            for (int k = 0; k < 8; ++k)
                write = PutAsciiSearchForm(write, static_cast<unsigned char>(read[k]));
            read += 8;
            continue;
        }
        const auto byte = static_cast<unsigned char>(*read);
        if (byte < 0x80)
        {
            write = PutAsciiSearchForm(write, byte);
            ++read;
            continue;
        }
        // A stretch without ASCII goes through the one case helper. No UTF-8 sequence holds an ASCII byte,
        // so cutting the text at ASCII bytes maps every character, and every stray byte, as a whole text
        // would; and nothing left out of a search is ever a lower-cased letter.
        const char* stretchEnd = read + 1;
        while (stretchEnd < end && static_cast<unsigned char>(*stretchEnd) >= 0x80)
            ++stretchEnd;
        const std::string lower =
            lf::sys::LowerCase(std::string_view(read, static_cast<std::size_t>(stretchEnd - read)));
        // A lower-case letter can take more bytes than its capital.
        std::size_t used = static_cast<std::size_t>(write - out.data());
        const std::size_t room = used + lower.size() + static_cast<std::size_t>(end - stretchEnd);
        if (room > out.size())
            out.resize(room);
        out.replace(used, lower.size(), lower);
        used += lower.size();
        write = out.data() + used;
        read = stretchEnd;
    }
    out.resize(static_cast<std::size_t>(write - out.data()));
}

void CSearchTextReader::AppendStoredText(std::string& out, const std::string& stored, lf::RichDocument& view)
{
    if (stored.empty())
        return;
    // A text that holds neither markup nor a reference reads as plain text: its lines, whose breaks a
    // search leaves out anyway.
    if (stored.find_first_of("<&") == std::string::npos)
    {
        AppendSearchForm(out, stored);
        return;
    }
    if (m_Runs.ForEachRun(stored, [&out](std::string_view run) { AppendSearchForm(out, run); }))
        return;
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, false);
    AppendSearchForm(out, plain);
}
