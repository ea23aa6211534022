// The pasted text as the clipboard parsers read it: paragraphs of the scratch view with their joined
// text, the mapping from a place in that text back to an item and offset, and the conversion of a range
// into a stored text. Internal to the parsers; tests reach it through this header.
#pragma once

#include "platform/richtext/RichDocument.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CBaseItem;
class CItemsArray2;

namespace lf::parsers::detail
{

// A new multiple-choice question after the current one (appended when there is none or it is the last
// of the book) in the chapter, with its record-added undo entry; null when none could be made.
CBaseItem* MakeParsedQuestion(CItemsArray2& items, std::int32_t chapter);
// The chapter new questions go into: the active chapter filter when it names a chapter above 0, else 0.
std::int32_t ChapterForNewQuestions(const CItemsArray2& items);
// The parsers' log line (level 1, kind 1).
void LogParserStep(const std::string& text);
// The widest range of question numbers a passage instruction may name.
inline constexpr std::int32_t kMaxPassageQuestions = 10000;

// One paragraph: the items from one that starts a paragraph up to the next such item. Text runs give
// its text; pictures, tables and the other items add nothing to it but count as content.
struct SPasteParagraph
{
    int first = 0; // index of its first item
    int last = 0;  // index of its last item
    std::string text;
    // The text runs that hold text: item index and where its text begins in `text`.
    std::vector<std::pair<int, std::size_t>> runs;
    int contentItem = -1;  // the first item with visible content: a non-blank run or any other item
    bool hasOther = false; // holds an item that is not a text run

    std::string_view Trimmed() const;
    // Where the first non-blank character stands in the text (its size when there is none).
    std::size_t FirstVisible() const;
    // No text at all and no other item (blanks count as text).
    bool IsEmpty() const { return text.empty() && !hasOther; }
};

class CPasteDocument
{
public:
    // Reads the view's paragraphs. The view's selection is used for the conversions and put back when
    // this object goes.
    explicit CPasteDocument(lf::RichDocument& view);
    ~CPasteDocument();
    CPasteDocument(const CPasteDocument&) = delete;
    CPasteDocument& operator=(const CPasteDocument&) = delete;

    const std::vector<SPasteParagraph>& Paragraphs() const { return m_Paragraphs; }
    const lf::RichDocument& View() const { return m_View; }
    bool Empty() const { return m_View.content.Empty(); }

    // The place before the character at index `at` of the paragraph's text; at the size of the text (or
    // beyond), the end of its last text run (its start when it has none).
    lf::SRichPosition PositionAt(const SPasteParagraph& paragraph, std::size_t at) const;
    // Before the paragraph's first item.
    static lf::SRichPosition StartOf(const SPasteParagraph& paragraph) { return {paragraph.first, 0}; }
    // Before the item that follows the paragraph; the end of the document after the last one.
    lf::SRichPosition After(const SPasteParagraph& paragraph) const;
    lf::SRichPosition End() const;

    // The start of the first item at or after the place that is not a blank text run (the place itself
    // when it lies in such an item's text, or when no later item is left).
    lf::SRichPosition SkipBlankRuns(lf::SRichPosition at) const;
    // True when the range holds a character that is not blank, or an item that is not a text run.
    bool HasContent(lf::SRichPosition start, lf::SRichPosition end) const;
    // The range as a stored text (RichSelectionToXML with trailing blank runs dropped).
    bool ToXML(lf::SRichPosition start, lf::SRichPosition end, bool removeBold, std::string& xml);

    // The text style of the item is bold / italic; false for an item that is not a text run.
    bool IsBold(int item) const;
    bool IsItalic(int item) const;
    // The last run of the paragraph with visible text is bold.
    bool EndsBold(const SPasteParagraph& paragraph) const;

private:
    lf::RichDocument& m_View;
    std::optional<lf::SRichSelection> m_KeptSelection;
    std::vector<SPasteParagraph> m_Paragraphs;
};

// The leading question number of a trimmed paragraph text: every digit and "." from its start.
std::string_view LeadingNumber(std::string_view trimmed);
// The number as stored: without a final ".".
std::string StoredNumber(std::string_view number);
// The index of the first character at or after `at` that is not blank (the size when there is none).
std::size_t SkipBlanks(std::string_view text, std::size_t at);
// The lower-cased trimmed text begins with the label (labels are ASCII, so ASCII case folding of the
// text's first characters is exact).
bool StartsWithLabel(std::string_view trimmed, std::string_view label);

} // namespace lf::parsers::detail
