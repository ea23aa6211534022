// Builds pasted documents paragraph by paragraph for the parser tests, and reads stored texts back.
#pragma once

#include "editing/parsers/PasteParsers.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "tests/model/BookBuilder.h"

#include <string>

namespace lf::test
{

class PasteBuilder
{
public:
    PasteBuilder& line(const std::string& text) { return add(text, 0); }
    PasteBuilder& bold(const std::string& text) { return add(text, style(true, false)); }
    PasteBuilder& italic(const std::string& text) { return add(text, style(false, true)); }
    PasteBuilder& empty() { return add("", 0); }
    // A run that continues the last paragraph.
    PasteBuilder& more(const std::string& text, bool isBold = false)
    {
        doc.content.AddText(text, isBold ? style(true, false) : 0, 0, false);
        return *this;
    }
    lf::RichDocument doc;

private:
    int style(bool b, bool i)
    {
        lf::SRichTextStyle s = doc.styles.textStyles.at(0);
        s.bold = b;
        s.italic = i;
        return doc.styles.FindOrAddTextStyle(s);
    }
    PasteBuilder& add(const std::string& text, int styleNo)
    {
        doc.content.AddText(text, styleNo, 0, true);
        return *this;
    }
};

// The plain text of a stored text, paragraphs joined by "|".
inline std::string Plain(const std::string& xml)
{
    lf::RichDocument view;
    std::string out;
    GetPlainTextFromXML(xml, view, out, false);
    std::string joined;
    for (std::size_t i = 0; i < out.size(); ++i)
    {
        if (out.compare(i, 2, "\r\n") == 0)
        {
            joined += '|';
            ++i;
        }
        else
            joined += out[i];
    }
    return joined;
}

// Whether any run of a stored text is bold.
inline bool AnyBold(const std::string& xml)
{
    lf::RichDocument view;
    SetXMLToRE(xml, view, true, false, false);
    for (const auto& item : view.content.items)
        if (item.IsText() && view.styles.HasTextStyle(item.styleNo) &&
            view.styles.textStyles[item.styleNo].bold && !item.text.empty())
            return true;
    return false;
}

// An Edit-phase book for the parsers to work in.
struct ParserBook
{
    ParserBook() { items.SetCurrentMode(eamEditMode, true); }
    SPasteParseContext Context(SParserOptions options = {})
    {
        return SPasteParseContext{items, options, [this](const std::string& m) { messages.push_back(m); }};
    }
    CBaseItem* Item(int index) { return items.GetItem(index); }
    BookSession session;
    CItemsArray2& items = session.items;
    std::vector<std::string> messages;
};

inline SParserOptions Letters(bool explanation = false, int separator = 0)
{
    SParserOptions o;
    o.numberingType = 1;
    o.numberingFormat = 0;
    o.feedbackExist = explanation;
    o.feedbackSeparator = separator;
    return o;
}

} // namespace lf::test
