#include "model/support/SearchText.h"

#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"

bool IsIgnoredInSearch(char c)
{
    switch (c)
    {
    case ' ':
    case '-':
    case '\'':
    case '.':
    case ',':
    case '\r':
    case '\n':
    case '\t':
    case '"':
        return true;
    default:
        return false;
    }
}

void AppendSearchForm(std::string& out, std::string_view text)
{
    out.reserve(out.size() + text.size());
    std::size_t pos = 0;
    while (pos < text.size())
    {
        const char c = text[pos];
        if (static_cast<unsigned char>(c) < 0x80)
        {
            if (!IsIgnoredInSearch(c))
                out += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            ++pos;
            continue;
        }
        // A stretch without ASCII goes through the one case helper. No UTF-8 sequence holds an ASCII byte,
        // so cutting the text at ASCII bytes maps every character, and every stray byte, as a whole text
        // would; and nothing left out of a search is ever a lower-cased letter.
        std::size_t end = pos + 1;
        while (end < text.size() && static_cast<unsigned char>(text[end]) >= 0x80)
            ++end;
        out += lf::sys::LowerCase(text.substr(pos, end - pos));
        pos = end;
    }
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
