// The words of a stored rich text without building its document: the text runs of the stored XML form,
// read by one parser kept for all the texts of a book. Searching needs the words of every question when a
// book opens, and a whole document per stored text would cost several times the parse.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lf
{

class RichTextRuns
{
public:
    RichTextRuns();
    ~RichTextRuns();
    RichTextRuns(const RichTextRuns&) = delete;
    RichTextRuns& operator=(const RichTextRuns&) = delete;

    // Hands each text run of a stored text in the XML form to sink, in document order (table cells row by
    // row), each one valid UTF-8. Their concatenation is the document's plain text without the line breaks
    // and cell tabs between items and lines. False, with sink never called, when the text is not in that
    // form (not XML, or no "LFDRoot"): such a text is plain text or HTML and needs its document built.
    bool ForEachRun(std::string_view stored, const std::function<void(std::string_view)>& sink);

private:
    struct SParser;
    std::unique_ptr<SParser> m_Parser;
};

} // namespace lf
