// The search form of question texts: lower case, without the blanks, line breaks and punctuation that a
// search ignores (the same as NormalizeSearchText(LowerCase(...)), built in one pass), and the words of
// stored rich texts taken straight from their text runs.
#pragma once

#include "platform/richtext/RichTextRuns.h"

#include <string>
#include <string_view>

namespace lf
{
class RichDocument;
}

// True for the characters a search leaves out of both the searched text and the query.
constexpr bool IsIgnoredInSearch(char c)
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

// Appends the search form of a plain text.
void AppendSearchForm(std::string& out, std::string_view text);

// Builds search forms of stored texts; one reader serves every text of a book.
class CSearchTextReader
{
public:
    // Appends the search form of a stored text's plain text. A text in the rich XML form is read from its
    // runs; a plain text is used as it stands; any other (HTML) is loaded into view, which is only used
    // as scratch.
    void AppendStoredText(std::string& out, const std::string& stored, lf::RichDocument& view);

private:
    lf::RichTextRuns m_Runs;
};
