#include "editing/parsers/PasteDocument.h"

#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>

namespace lf::parsers::detail
{

namespace
{

bool IsBlankChar(char ch)
{
    return static_cast<unsigned char>(ch) <= ' ';
}

bool HasVisible(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char ch) { return !IsBlankChar(ch); });
}

} // namespace

std::string_view SPasteParagraph::Trimmed() const
{
    return lf::sys::TrimView(text);
}

std::size_t SPasteParagraph::FirstVisible() const
{
    return SkipBlanks(text, 0);
}

CPasteDocument::CPasteDocument(lf::RichDocument& view) : m_View(view), m_KeptSelection(view.selection)
{
    const auto& items = view.content.items;
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
    {
        const lf::SRichItem& item = items[static_cast<std::size_t>(i)];
        if (m_Paragraphs.empty() || item.newParagraph)
        {
            m_Paragraphs.emplace_back();
            m_Paragraphs.back().first = i;
        }
        SPasteParagraph& paragraph = m_Paragraphs.back();
        paragraph.last = i;
        if (item.IsText())
        {
            if (!item.text.empty())
                paragraph.runs.emplace_back(i, paragraph.text.size());
            paragraph.text += item.text;
            if (paragraph.contentItem < 0 && HasVisible(item.text))
                paragraph.contentItem = i;
        }
        else
        {
            paragraph.hasOther = true;
            if (paragraph.contentItem < 0)
                paragraph.contentItem = i;
        }
    }
}

CPasteDocument::~CPasteDocument()
{
    m_View.selection = m_KeptSelection;
}

lf::SRichPosition CPasteDocument::PositionAt(const SPasteParagraph& paragraph, std::size_t at) const
{
    if (paragraph.runs.empty())
        return StartOf(paragraph);
    for (const auto& [item, begin] : paragraph.runs)
    {
        const std::size_t size = m_View.content.items[static_cast<std::size_t>(item)].text.size();
        if (at < begin + size)
            return {item, static_cast<int>(at - begin) + 1};
    }
    const int lastRun = paragraph.runs.back().first;
    return {lastRun,
            static_cast<int>(m_View.content.items[static_cast<std::size_t>(lastRun)].text.size()) + 1};
}

lf::SRichPosition CPasteDocument::After(const SPasteParagraph& paragraph) const
{
    if (paragraph.last + 1 < m_View.ItemCount())
        return {paragraph.last + 1, 0};
    return End();
}

lf::SRichPosition CPasteDocument::End() const
{
    if (m_View.content.Empty())
        return {0, 0};
    const int last = m_View.ItemCount() - 1;
    const lf::SRichItem& item = m_View.content.items[static_cast<std::size_t>(last)];
    return {last, item.IsText() ? static_cast<int>(item.text.size()) + 1 : 1};
}

lf::SRichPosition CPasteDocument::SkipBlankRuns(lf::SRichPosition at) const
{
    const auto& items = m_View.content.items;
    int i = at.item;
    while (i + 1 < m_View.ItemCount() && items[static_cast<std::size_t>(i)].IsText() &&
           !HasVisible(items[static_cast<std::size_t>(i)].text))
        ++i;
    return i == at.item ? at : lf::SRichPosition{i, 0};
}

bool CPasteDocument::HasContent(lf::SRichPosition start, lf::SRichPosition end) const
{
    if (end <= start || m_View.content.Empty())
        return false;
    const auto& items = m_View.content.items;
    const int from = std::max(start.item, 0);
    const int to = std::min(end.item, m_View.ItemCount() - 1);
    for (int i = from; i <= to; ++i)
    {
        const lf::SRichItem& item = items[static_cast<std::size_t>(i)];
        if (item.IsText())
        {
            const int size = static_cast<int>(item.text.size());
            const int a = i == start.item ? std::clamp(start.offset, 1, size + 1) : 1;
            const int b = i == end.item ? std::clamp(end.offset, 1, size + 1) : size + 1;
            if (b > a && HasVisible(std::string_view(item.text).substr(a - 1, b - a)))
                return true;
        }
        else
        {
            const bool before = i == start.item && start.offset >= 1;
            const bool after = i == end.item && end.offset <= 0;
            if (!before && !after)
                return true;
        }
    }
    return false;
}

bool CPasteDocument::ToXML(lf::SRichPosition start, lf::SRichPosition end, bool removeBold, std::string& xml)
{
    m_View.selection = lf::SRichSelection{start, end};
    return RichSelectionToXML(m_View, xml, removeBold, true);
}

bool CPasteDocument::IsBold(int item) const
{
    if (item < 0 || item >= m_View.ItemCount())
        return false;
    const lf::SRichItem& run = m_View.content.items[static_cast<std::size_t>(item)];
    return run.IsText() && m_View.styles.HasTextStyle(run.styleNo) &&
           m_View.styles.textStyles[static_cast<std::size_t>(run.styleNo)].bold;
}

bool CPasteDocument::IsItalic(int item) const
{
    if (item < 0 || item >= m_View.ItemCount())
        return false;
    const lf::SRichItem& run = m_View.content.items[static_cast<std::size_t>(item)];
    return run.IsText() && m_View.styles.HasTextStyle(run.styleNo) &&
           m_View.styles.textStyles[static_cast<std::size_t>(run.styleNo)].italic;
}

bool CPasteDocument::EndsBold(const SPasteParagraph& paragraph) const
{
    for (auto run = paragraph.runs.rbegin(); run != paragraph.runs.rend(); ++run)
    {
        if (HasVisible(m_View.content.items[static_cast<std::size_t>(run->first)].text))
            return IsBold(run->first);
    }
    return false;
}

std::string_view LeadingNumber(std::string_view trimmed)
{
    std::size_t n = 0;
    while (n < trimmed.size() && ((trimmed[n] >= '0' && trimmed[n] <= '9') || trimmed[n] == '.'))
        ++n;
    return trimmed.substr(0, n);
}

std::string StoredNumber(std::string_view number)
{
    if (!number.empty() && number.back() == '.')
        number.remove_suffix(1);
    return std::string(number);
}

std::size_t SkipBlanks(std::string_view text, std::size_t at)
{
    while (at < text.size() && IsBlankChar(text[at]))
        ++at;
    return std::min(at, text.size());
}

bool StartsWithLabel(std::string_view trimmed, std::string_view label)
{
    return trimmed.size() >= label.size() && lf::sys::AsciiLower(trimmed.substr(0, label.size())) == label;
}

} // namespace lf::parsers::detail
