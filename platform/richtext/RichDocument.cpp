#include "platform/richtext/RichDocument.h"
#include "platform/sys/TextLines.h"

#include <algorithm>

namespace lf
{

SRichItem::SRichItem() = default;
SRichItem::~SRichItem() = default;
SRichItem::SRichItem(SRichItem&&) noexcept = default;
SRichItem& SRichItem::operator=(SRichItem&&) noexcept = default;

SRichItem::SRichItem(const SRichItem& o)
    : styleNo(o.styleNo), paraNo(o.paraNo), newParagraph(o.newParagraph), lineBreak(o.lineBreak),
      text(o.text), tag(o.tag), name(o.name), picture(o.picture), source(o.source), width(o.width),
      height(o.height), vAlign(o.vAlign), imageIndex(o.imageIndex),
      table(o.table ? std::make_unique<RichTable>(*o.table) : nullptr)
{
}

SRichItem& SRichItem::operator=(const SRichItem& o)
{
    if (this != &o)
    {
        SRichItem copy(o);
        *this = std::move(copy);
    }
    return *this;
}

bool operator==(const SRichItem& a, const SRichItem& b)
{
    if (a.styleNo != b.styleNo || a.paraNo != b.paraNo || a.newParagraph != b.newParagraph ||
        a.lineBreak != b.lineBreak || a.text != b.text || a.tag != b.tag || a.name != b.name ||
        !(a.picture == b.picture) || a.source != b.source || a.width != b.width || a.height != b.height ||
        a.vAlign != b.vAlign || a.imageIndex != b.imageIndex)
        return false;
    if (!a.table || !b.table)
        return !a.table && !b.table;
    return *a.table == *b.table;
}

// --- RichContent ---

void RichContent::AddTextLines(const std::string& text, int styleNo, int paraNo, bool newParagraph)
{
    bool first = true;
    for (const std::string_view line : lf::sys::SplitLines(text))
    {
        AddText(std::string(line), styleNo, paraNo, first ? (newParagraph || items.empty()) : true);
        first = false;
    }
}

SRichItem& RichContent::AddText(const std::string& text, int styleNo, int paraNo, bool newParagraph)
{
    SRichItem& item = items.emplace_back();
    item.styleNo = styleNo;
    item.paraNo = paraNo;
    item.newParagraph = newParagraph || items.size() == 1;
    item.text = text;
    return item;
}

SRichItem& RichContent::AddPicture(SRichPicture picture, int width, int height, int paraNo, bool newParagraph,
                                   bool hot)
{
    SRichItem& item = items.emplace_back();
    item.styleNo = hot ? kRichStyleHotPicture : kRichStylePicture;
    item.paraNo = paraNo;
    item.newParagraph = newParagraph || items.size() == 1;
    item.picture = std::move(picture);
    item.width = width;
    item.height = height;
    return item;
}

SRichItem& RichContent::AddHotspot(int imageIndex, int paraNo, bool newParagraph)
{
    SRichItem& item = items.emplace_back();
    item.styleNo = kRichStyleHotspot;
    item.paraNo = paraNo;
    item.newParagraph = newParagraph || items.size() == 1;
    item.imageIndex = imageIndex;
    return item;
}

SRichItem& RichContent::AddTable(RichTable table, const std::string& name, int paraNo)
{
    SRichItem& item = items.emplace_back();
    item.styleNo = kRichStyleTable;
    item.paraNo = paraNo;
    item.newParagraph = true; // a table always stands in a paragraph of its own
    item.name = name;
    item.table = std::make_unique<RichTable>(std::move(table));
    return item;
}

RichContent RichContent::CopyRange(SRichPosition start, SRichPosition end) const
{
    RichContent copy;
    if (end < start)
        std::swap(start, end);
    start.item = std::max(start.item, 0);
    end.item = std::min(end.item, Count() - 1);
    for (int i = start.item; i <= end.item; ++i)
    {
        const SRichItem& item = items[i];
        if (item.IsText())
        {
            const int size = static_cast<int>(item.text.size());
            const int from = i == start.item ? std::clamp(start.offset, 1, size + 1) : 1;
            const int to = i == end.item ? std::clamp(end.offset, 1, size + 1) : size + 1;
            if (to <= from && !(size == 0 && start.item != end.item))
                continue;
            SRichItem part = item;
            part.text = item.text.substr(from - 1, std::max(0, to - from));
            copy.items.push_back(std::move(part));
        }
        else
        {
            // A picture or table is taken when the range covers it.
            const bool before = i == start.item && start.offset >= 1;
            const bool after = i == end.item && end.offset <= 0;
            if (before || after)
                continue;
            copy.items.push_back(item);
        }
    }
    if (!copy.items.empty())
    {
        copy.items.front().newParagraph = true;
        copy.items.front().lineBreak = false;
    }
    return copy;
}

namespace
{

int MapNo(const std::vector<int>& map, int no)
{
    if (no < 0 || no >= static_cast<int>(map.size()) || map[no] < 0)
        return 0;
    return map[no];
}

} // namespace

void RichContent::RemapStyles(const std::vector<int>& textMap, const std::vector<int>& paraMap)
{
    for (auto& item : items)
    {
        if (item.IsText())
            item.styleNo = MapNo(textMap, item.styleNo);
        item.paraNo = MapNo(paraMap, item.paraNo);
        if (item.table)
            for (auto& row : item.table->rows)
                for (auto& cell : row)
                    cell.content.RemapStyles(textMap, paraMap);
    }
}

void RichContent::Append(const RichContent& other, const std::vector<int>& textMap,
                         const std::vector<int>& paraMap, int firstParaNo)
{
    RichContent added = other;
    added.RemapStyles(textMap, paraMap);
    if (!added.items.empty())
    {
        SRichItem& head = added.items.front();
        head.newParagraph = true;
        head.lineBreak = false;
        if (firstParaNo >= 0)
        {
            // The whole first paragraph takes the requested style.
            for (std::size_t i = 0; i < added.items.size(); ++i)
            {
                if (i > 0 && added.items[i].newParagraph)
                    break;
                added.items[i].paraNo = firstParaNo;
            }
        }
    }
    for (auto& item : added.items)
        items.push_back(std::move(item));
}

void RichContent::MarkUsedStyles(std::vector<bool>& textUsed, std::vector<bool>& paraUsed) const
{
    auto mark = [](std::vector<bool>& used, int no)
    {
        if (no < 0)
            return;
        if (static_cast<int>(used.size()) <= no)
            used.resize(static_cast<std::size_t>(no) + 1, false);
        used[static_cast<std::size_t>(no)] = true;
    };
    for (const auto& item : items)
    {
        if (item.IsText())
            mark(textUsed, item.styleNo);
        mark(paraUsed, item.paraNo);
        if (item.table)
            for (const auto& row : item.table->rows)
                for (const auto& cell : row)
                    cell.content.MarkUsedStyles(textUsed, paraUsed);
    }
}

void RichContent::ClampStyles(int textCount, int paraCount)
{
    for (auto& item : items)
    {
        if (item.IsText() && item.styleNo >= textCount)
            item.styleNo = 0;
        if (item.paraNo < 0 || item.paraNo >= paraCount)
            item.paraNo = 0;
        if (item.table)
            for (auto& row : item.table->rows)
                for (auto& cell : row)
                    cell.content.ClampStyles(textCount, paraCount);
    }
}

// --- RichTable ---

RichTable::RichTable(int rowCount, int colCount)
{
    rows.assign(static_cast<std::size_t>(std::max(rowCount, 0)),
                std::vector<SRichCell>(static_cast<std::size_t>(std::max(colCount, 0))));
}

void RichTable::AddRow()
{
    rows.emplace_back(static_cast<std::size_t>(ColCount()));
}

void RichTable::DeleteLastRow()
{
    if (!rows.empty())
        rows.pop_back();
}

// --- RichDocument ---

RichDocument::RichDocument() : styles(RichStyleSheet::Default()) {}

RichDocument::RichDocument(RichStyleSheet sheet) : styles(std::move(sheet)) {}

void RichDocument::AppendDocument(const RichDocument& other, int firstParaNo)
{
    std::vector<int> textMap(other.styles.textStyles.size());
    std::vector<int> paraMap(other.styles.paraStyles.size());
    std::vector<bool> textUsed, paraUsed;
    other.content.MarkUsedStyles(textUsed, paraUsed);
    // Only styles the content uses are brought over, so appending never bloats the sheet.
    for (std::size_t i = 0; i < textMap.size(); ++i)
        textMap[i] =
            i < textUsed.size() && textUsed[i] ? styles.FindOrAddTextStyle(other.styles.textStyles[i]) : 0;
    for (std::size_t i = 0; i < paraMap.size(); ++i)
        paraMap[i] =
            i < paraUsed.size() && paraUsed[i] ? styles.FindOrAddParaStyle(other.styles.paraStyles[i]) : 0;
    content.Append(other.content, textMap, paraMap, firstParaNo);
}

RichDocument RichDocument::CopySelection() const
{
    RichDocument copy(styles);
    copy.view = view;
    if (selection && !content.Empty())
        copy.content = content.CopyRange(selection->start, selection->end);
    return copy;
}

void RichDocument::PurgeUnusedStyles()
{
    std::vector<bool> textUsed, paraUsed;
    content.MarkUsedStyles(textUsed, paraUsed);
    std::vector<int> textMap, paraMap;
    styles.Purge(textUsed, paraUsed, textMap, paraMap);
    content.RemapStyles(textMap, paraMap);
}

} // namespace lf
