#include "platform/richtext/RichXml.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/ProblemLog.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextLines.h"
#include "platform/sys/TextTrim.h"
#include "platform/sys/Utf8Text.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace lf
{

namespace
{

// --- small conversions ---

int IntValue(const char* text, int fallback, int low = -1000000, int high = 1000000)
{
    long long value = 0;
    if (!lf::sys::ReadNumberLenient(text, value))
        return fallback;
    return static_cast<int>(std::clamp<long long>(value, low, high));
}

int AttrInt(const pugi::xml_node& node, const char* name, int fallback, int low = -1000000,
            int high = 1000000)
{
    const pugi::xml_attribute attr = node.attribute(name);
    return attr ? IntValue(attr.value(), fallback, low, high) : fallback;
}

bool FlagValue(const char* text, bool fallback)
{
    const std::string_view v = lf::sys::TrimView(text);
    if (v == "1" || lf::sys::SameTextAsciiNoCase(v, "true") || lf::sys::SameTextAsciiNoCase(v, "yes"))
        return true;
    if (v == "0" || lf::sys::SameTextAsciiNoCase(v, "false") || lf::sys::SameTextAsciiNoCase(v, "no"))
        return false;
    return fallback;
}

struct NamedColor
{
    const char* name;
    RichColor value;
};

constexpr NamedColor kNamedColors[] = {
    {"clblack", 0x000000},  {"clmaroon", 0x000080},     {"clgreen", 0x008000},  {"clolive", 0x008080},
    {"clnavy", 0x800000},   {"clpurple", 0x800080},     {"clteal", 0x808000},   {"clgray", 0x808080},
    {"clsilver", 0xC0C0C0}, {"clred", 0x0000FF},        {"cllime", 0x00FF00},   {"clyellow", 0x00FFFF},
    {"clblue", 0xFF0000},   {"clfuchsia", 0xFF00FF},    {"claqua", 0xFFFF00},   {"clwhite", 0xFFFFFF},
    {"clnone", kNoColor},   {"clwindowtext", 0x000000}, {"clwindow", 0xFFFFFF}, {"none", kNoColor},
};

bool ParseHex(std::string_view s, unsigned long long& value)
{
    const auto res = std::from_chars(s.data(), s.data() + s.size(), value, 16);
    return res.ec == std::errc{} && res.ptr == s.data() + s.size() && !s.empty();
}

RichColor ColorValue(const char* text, RichColor fallback)
{
    const std::string_view v = lf::sys::TrimView(text);
    unsigned long long hex = 0;
    if (!v.empty() && v.front() == '#')
    {
        // HTML order RRGGBB.
        if (v.size() == 7 && ParseHex(v.substr(1), hex))
            return static_cast<RichColor>(((hex & 0xFF) << 16) | (hex & 0xFF00) | ((hex >> 16) & 0xFF));
        return fallback;
    }
    if (!v.empty() && v.front() == '$')
        return ParseHex(v.substr(1), hex) ? static_cast<RichColor>(hex) : fallback;
    if (v.size() > 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X'))
        return ParseHex(v.substr(2), hex) ? static_cast<RichColor>(hex) : fallback;
    for (const NamedColor& c : kNamedColors)
        if (lf::sys::SameTextAsciiNoCase(v, c.name))
            return c.value;
    long long number = 0;
    if (lf::sys::ReadNumberLenient(v, number))
        return static_cast<RichColor>(number);
    return fallback;
}

RichColor AttrColor(const pugi::xml_node& node, const char* name, RichColor fallback)
{
    const pugi::xml_attribute attr = node.attribute(name);
    return attr ? ColorValue(attr.value(), fallback) : fallback;
}

template <class Enum, std::size_t N>
Enum EnumValue(const char* text, const std::array<const char*, N>& names, Enum fallback)
{
    const std::string_view v = lf::sys::TrimView(text);
    for (std::size_t i = 0; i < N; ++i)
        if (lf::sys::SameTextAsciiNoCase(v, names[i]))
            return static_cast<Enum>(i);
    long long number = 0;
    if (lf::sys::ReadNumberLenient(v, number) && number >= 0 && number < static_cast<long long>(N))
        return static_cast<Enum>(number);
    return fallback;
}

template <class Enum, std::size_t N>
Enum AttrEnum(const pugi::xml_node& node, const char* name, const std::array<const char*, N>& names,
              Enum fallback)
{
    const pugi::xml_attribute attr = node.attribute(name);
    return attr ? EnumValue(attr.value(), names, fallback) : fallback;
}

constexpr std::array<const char*, 4> kAlignNames{"left", "right", "center", "justify"};
constexpr std::array<const char*, 3> kBorderNames{"none", "single", "double"};
constexpr std::array<const char*, 3> kSubSuperNames{"normal", "super", "sub"};
constexpr std::array<const char*, 4> kPictureAlignNames{"baseline", "middle", "top", "bottom"};
constexpr std::array<const char*, 4> kCellAlignNames{"default", "top", "center", "bottom"};
constexpr std::array<const char*, 4> kTableBorderNames{"raised", "lowered", "color", "flat"};
constexpr std::array<const char*, 2> kBackgroundNames{"none", "color"};

// --- base64 for picture bytes ---

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string EncodeBase64(const std::string& bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3)
    {
        const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                           (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += kBase64[(v >> 6) & 63];
        out += kBase64[v & 63];
    }
    if (i < bytes.size())
    {
        unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kBase64[(v >> 18) & 63];
        out += kBase64[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kBase64[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

// Skips whitespace and anything outside the alphabet; stops at '='.
std::string DecodeBase64(std::string_view text)
{
    std::string out;
    out.reserve(text.size() / 4 * 3);
    unsigned v = 0;
    int bits = 0;
    for (char ch : text)
    {
        int d = -1;
        if (ch >= 'A' && ch <= 'Z')
            d = ch - 'A';
        else if (ch >= 'a' && ch <= 'z')
            d = ch - 'a' + 26;
        else if (ch >= '0' && ch <= '9')
            d = ch - '0' + 52;
        else if (ch == '+')
            d = 62;
        else if (ch == '/')
            d = 63;
        else if (ch == '=')
            break;
        if (d < 0)
            continue;
        v = (v << 6) | static_cast<unsigned>(d);
        bits += 6;
        if (bits >= 8)
        {
            bits -= 8;
            out += static_cast<char>((v >> bits) & 0xFF);
        }
    }
    return out;
}

// --- writing ---

void SetAttr(pugi::xml_node& node, const char* name, const std::string& value)
{
    node.append_attribute(name).set_value(value.c_str());
}

void SetAttr(pugi::xml_node& node, const char* name, long long value)
{
    SetAttr(node, name, lf::sys::NumberText(value));
}

void SetFlag(pugi::xml_node& node, const char* name, bool value)
{
    node.append_attribute(name).set_value(value ? "1" : "0");
}

void WriteStyles(pugi::xml_node& root, const RichStyleSheet& sheet)
{
    pugi::xml_node style = root.append_child("style");
    for (const SRichTextStyle& s : sheet.textStyles)
    {
        pugi::xml_node font = style.append_child("font");
        SetAttr(font, "name", s.name);
        SetAttr(font, "fontname", s.fontName);
        SetAttr(font, "size", s.size);
        SetAttr(font, "charset", s.charSet);
        SetFlag(font, "bold", s.bold);
        SetFlag(font, "italic", s.italic);
        SetFlag(font, "underline", s.underline);
        SetFlag(font, "strikeout", s.strikeOut);
        SetAttr(font, "color", s.color);
        SetAttr(font, "backcolor", s.backColor);
        SetFlag(font, "jump", s.jump);
        SetAttr(font, "subsuperscripttype", kSubSuperNames[static_cast<std::size_t>(s.subSuper)]);
        SetFlag(font, "standard", s.standard);
    }
    for (const SRichParaStyle& p : sheet.paraStyles)
    {
        pugi::xml_node para = style.append_child("para");
        SetAttr(para, "name", p.name);
        SetAttr(para, "align", kAlignNames[static_cast<std::size_t>(p.align)]);
        SetAttr(para, "border", kBorderNames[static_cast<std::size_t>(p.border)]);
        SetAttr(para, "borderwidth", p.borderWidth);
        SetAttr(para, "bordercolor", p.borderColor);
        SetAttr(para, "backcolor", p.backColor);
        SetFlag(para, "standard", p.standard);
    }
}

void WriteContent(pugi::xml_node& parent, const RichContent& content);

void WriteCommon(pugi::xml_node& node, const SRichItem& item)
{
    SetAttr(node, "parastyleno", item.paraNo);
    SetFlag(node, "newpara", item.newParagraph);
    SetFlag(node, "br", item.lineBreak);
    if (!item.tag.empty())
        SetAttr(node, "tag", item.tag);
    if (!item.name.empty())
        SetAttr(node, "name", item.name);
}

void WriteItem(pugi::xml_node& parent, const SRichItem& item)
{
    if (item.IsText())
    {
        pugi::xml_node node = parent.append_child("text");
        SetAttr(node, "textstyleno", item.styleNo);
        SetAttr(node, "parastyleno", item.paraNo);
        SetFlag(node, "newpara", item.newParagraph);
        SetFlag(node, "br", item.lineBreak);
        if (!item.tag.empty())
            SetAttr(node, "tag", item.tag);
        if (!item.text.empty())
            node.append_child(pugi::node_pcdata).set_value(item.text.c_str());
        return;
    }
    if (item.IsPicture())
    {
        pugi::xml_node node =
            parent.append_child(item.styleNo == kRichStyleHotPicture ? "hotpicture" : "picture");
        WriteCommon(node, item);
        SetAttr(node, "format", item.picture.format);
        SetAttr(node, "source", item.source);
        SetAttr(node, "width", item.width);
        SetAttr(node, "height", item.height);
        SetAttr(node, "valign", kPictureAlignNames[static_cast<std::size_t>(item.vAlign)]);
        if (!item.picture.data.empty())
            node.append_child(pugi::node_pcdata).set_value(EncodeBase64(item.picture.data).c_str());
        return;
    }
    if (item.styleNo == kRichStyleHotspot)
    {
        pugi::xml_node node = parent.append_child("hotspot");
        WriteCommon(node, item);
        SetAttr(node, "imageindex", item.imageIndex);
        return;
    }
    if (item.IsTable())
    {
        const RichTable& table = *item.table;
        pugi::xml_node node = parent.append_child("table");
        WriteCommon(node, item);
        SetAttr(node, "rows", table.RowCount());
        SetAttr(node, "cols", table.ColCount());
        SetAttr(node, "bestwidth", table.bestWidth);
        SetAttr(node, "borderwidth", table.borderWidth);
        SetAttr(node, "cellborderwidth", table.cellBorderWidth);
        SetAttr(node, "cellpadding", table.cellPadding);
        SetAttr(node, "bordervspacing", table.borderVSpacing);
        SetAttr(node, "borderhspacing", table.borderHSpacing);
        SetAttr(node, "borderstyle", kTableBorderNames[static_cast<std::size_t>(table.borderStyle)]);
        SetAttr(node, "cellborderstyle", kTableBorderNames[static_cast<std::size_t>(table.cellBorderStyle)]);
        SetAttr(node, "color", table.color);
        for (const auto& row : table.rows)
        {
            pugi::xml_node rowNode = node.append_child("row");
            for (const SRichCell& cell : row)
            {
                pugi::xml_node cellNode = rowNode.append_child("cell");
                SetAttr(cellNode, "color", cell.color);
                SetAttr(cellNode, "hint", cell.hint);
                SetAttr(cellNode, "valign", kCellAlignNames[static_cast<std::size_t>(cell.vAlign)]);
                SetAttr(cellNode, "bestwidth", cell.bestWidth);
                WriteContent(cellNode, cell.content);
            }
        }
    }
}

void WriteContent(pugi::xml_node& parent, const RichContent& content)
{
    for (const SRichItem& item : content.items)
        WriteItem(parent, item);
}

struct StringWriter : pugi::xml_writer
{
    std::string out;
    void write(const void* data, std::size_t size) override
    {
        out.append(static_cast<const char*>(data), size);
    }
};

std::string WriteXml(const RichDocument& doc, bool withStyles)
{
    pugi::xml_document xml;
    pugi::xml_node root = xml.append_child(kRichXmlRoot);
    if (withStyles)
        WriteStyles(root, doc.styles);
    pugi::xml_node document = root.append_child("document");
    SetAttr(document, "leftmargin", doc.view.leftMargin);
    SetAttr(document, "rightmargin", doc.view.rightMargin);
    SetAttr(document, "topmargin", doc.view.topMargin);
    SetAttr(document, "bottommargin", doc.view.bottomMargin);
    SetAttr(document, "color", doc.view.color);
    SetAttr(document, "background", kBackgroundNames[static_cast<std::size_t>(doc.view.background)]);
    SetFlag(document, "stringtags", true);
    WriteContent(document, doc.content);

    StringWriter writer;
    xml.save(writer, "\t", pugi::format_default, pugi::encoding_utf8);
    // Text content has '>' escaped already; attribute values do not, so a "]]>" there would end
    // the CDATA section a book file keeps the text in.
    std::string& out = writer.out;
    for (std::size_t pos = out.find("]]>"); pos != std::string::npos; pos = out.find("]]>", pos))
    {
        out.replace(pos + 2, 1, "&gt;");
        pos += 2;
    }
    return std::move(out);
}

// --- reading ---

constexpr int kMaxNesting = kRichXmlMaxNesting;

SRichTextStyle ReadFont(const pugi::xml_node& node)
{
    // One pass over the attributes: stored texts carry a dozen per font and are read by the thousand.
    SRichTextStyle s;
    for (pugi::xml_attribute attr = node.first_attribute(); attr; attr = attr.next_attribute())
    {
        const std::string_view n = attr.name();
        const char* v = attr.value();
        if (n == "name")
            s.name = v;
        else if (n == "fontname")
            s.fontName = v;
        else if (n == "size")
            s.size = IntValue(v, s.size, 1, 1638);
        else if (n == "charset")
            s.charSet = IntValue(v, 0, 0, 255);
        else if (n == "bold")
            s.bold = FlagValue(v, false);
        else if (n == "italic")
            s.italic = FlagValue(v, false);
        else if (n == "underline")
            s.underline = FlagValue(v, false);
        else if (n == "strikeout")
            s.strikeOut = FlagValue(v, false);
        else if (n == "color")
            s.color = ColorValue(v, 0x000000);
        else if (n == "backcolor")
            s.backColor = ColorValue(v, kNoColor);
        else if (n == "jump")
            s.jump = FlagValue(v, false);
        else if (n == "subsuperscripttype")
            s.subSuper = EnumValue(v, kSubSuperNames, RichSubSuper::Normal);
        else if (n == "standard")
            s.standard = FlagValue(v, true);
    }
    return s;
}

SRichParaStyle ReadPara(const pugi::xml_node& node)
{
    SRichParaStyle p;
    for (pugi::xml_attribute attr = node.first_attribute(); attr; attr = attr.next_attribute())
    {
        const std::string_view n = attr.name();
        const char* v = attr.value();
        if (n == "name")
            p.name = v;
        else if (n == "align")
            p.align = EnumValue(v, kAlignNames, RichAlign::Left);
        else if (n == "border")
            p.border = EnumValue(v, kBorderNames, RichBorderStyle::None);
        else if (n == "borderwidth")
            p.borderWidth = IntValue(v, 1, 0, 1000);
        else if (n == "bordercolor")
            p.borderColor = ColorValue(v, 0x000000);
        else if (n == "backcolor")
            p.backColor = ColorValue(v, kNoColor);
        else if (n == "standard")
            p.standard = FlagValue(v, true);
    }
    return p;
}

// The text of an element: all its text and CDATA children.
std::string NodeText(const pugi::xml_node& node)
{
    std::string text;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return text;
}

// The attributes every item has; textstyleno too, which only text runs use.
void ReadCommon(const pugi::xml_node& node, SRichItem& item)
{
    bool br = false;
    for (pugi::xml_attribute attr = node.first_attribute(); attr; attr = attr.next_attribute())
    {
        const std::string_view n = attr.name();
        const char* v = attr.value();
        if (n == "textstyleno")
            item.styleNo = IntValue(v, 0, 0);
        else if (n == "parastyleno")
            item.paraNo = IntValue(v, 0, 0);
        else if (n == "newpara")
            item.newParagraph = FlagValue(v, true);
        else if (n == "br")
            br = FlagValue(v, false);
        else if (n == "tag")
            item.tag = v;
        else if (n == "name")
            item.name = v;
    }
    item.lineBreak = !item.newParagraph && br;
}

void ReadContent(const pugi::xml_node& parent, RichContent& content, int depth);

void AddTextItem(RichContent& content, SRichItem item, const std::string& text)
{
    // A run never holds a line break: a foreign writer's line breaks start paragraphs.
    bool first = true;
    for (const std::string_view line : lf::sys::SplitLines(text))
    {
        SRichItem part = item;
        part.text = line;
        if (!first)
        {
            part.newParagraph = true;
            part.lineBreak = false;
        }
        if (content.items.empty())
            part.newParagraph = true;
        if (part.newParagraph)
            part.lineBreak = false;
        content.items.push_back(std::move(part));
        first = false;
    }
}

// True when the table element, filled up to its widest row, stays within the cell limit.
bool TableFitsLimit(const pugi::xml_node& node)
{
    std::size_t rows = 0;
    std::size_t cols = 0;
    for (pugi::xml_node rowNode = node.child("row"); rowNode; rowNode = rowNode.next_sibling("row"))
    {
        ++rows;
        std::size_t cells = 0;
        for (pugi::xml_node cellNode = rowNode.child("cell"); cellNode;
             cellNode = cellNode.next_sibling("cell"))
            ++cells;
        cols = std::max(cols, cells);
        if (!RichTableFits(rows, cols))
            return false;
    }
    return true;
}

void ReadItem(const pugi::xml_node& node, RichContent& content, int depth)
{
    const char* name = node.name();
    if (std::strcmp(name, "text") == 0)
    {
        SRichItem item;
        ReadCommon(node, item);
        item.name.clear();
        AddTextItem(content, std::move(item), NodeText(node));
        return;
    }
    const bool hot = std::strcmp(name, "hotpicture") == 0;
    if (hot || std::strcmp(name, "picture") == 0)
    {
        SRichItem item;
        ReadCommon(node, item);
        item.styleNo = hot ? kRichStyleHotPicture : kRichStylePicture;
        item.picture.format = node.attribute("format").value();
        item.picture.data = DecodeBase64(NodeText(node));
        item.source = node.attribute("source").value();
        item.width = AttrInt(node, "width", 0, 0, 100000);
        item.height = AttrInt(node, "height", 0, 0, 100000);
        item.vAlign = AttrEnum(node, "valign", kPictureAlignNames, RichPictureAlign::Baseline);
        content.items.push_back(std::move(item));
        return;
    }
    if (std::strcmp(name, "hotspot") == 0)
    {
        SRichItem item;
        ReadCommon(node, item);
        item.styleNo = kRichStyleHotspot;
        item.imageIndex = AttrInt(node, "imageindex", 0, 0);
        content.items.push_back(std::move(item));
        return;
    }
    if (std::strcmp(name, "table") == 0)
    {
        if (depth >= kMaxNesting)
            return;
        RichTable table;
        table.bestWidth = AttrInt(node, "bestwidth", 0);
        table.borderWidth = AttrInt(node, "borderwidth", 1, 0, 1000);
        table.cellBorderWidth = AttrInt(node, "cellborderwidth", 1, 0, 1000);
        table.cellPadding = AttrInt(node, "cellpadding", 1, 0, 1000);
        table.borderVSpacing = AttrInt(node, "bordervspacing", 2, 0, 1000);
        table.borderHSpacing = AttrInt(node, "borderhspacing", 2, 0, 1000);
        table.borderStyle = AttrEnum(node, "borderstyle", kTableBorderNames, RichTableBorder::Raised);
        table.cellBorderStyle =
            AttrEnum(node, "cellborderstyle", kTableBorderNames, RichTableBorder::Lowered);
        table.color = AttrColor(node, "color", kNoColor);
        if (!TableFitsLimit(node))
        {
            // Too many cells to build: the words of every cell stay, one paragraph per cell.
            lf::sys::ReportProblem("Stored text: a table of more than " +
                                   lf::sys::NumberText(kMaxRichTableCells) +
                                   " cells was read as plain paragraphs");
            for (pugi::xml_node rowNode = node.child("row"); rowNode; rowNode = rowNode.next_sibling("row"))
                for (pugi::xml_node cellNode = rowNode.child("cell"); cellNode;
                     cellNode = cellNode.next_sibling("cell"))
                {
                    const std::size_t first = content.items.size();
                    ReadContent(cellNode, content, depth + 1);
                    if (content.items.size() > first)
                    {
                        content.items[first].newParagraph = true;
                        content.items[first].lineBreak = false;
                    }
                }
            return;
        }
        std::size_t cols = 0;
        for (pugi::xml_node rowNode = node.child("row"); rowNode; rowNode = rowNode.next_sibling("row"))
        {
            auto& row = table.rows.emplace_back();
            for (pugi::xml_node cellNode = rowNode.child("cell"); cellNode;
                 cellNode = cellNode.next_sibling("cell"))
            {
                SRichCell& cell = row.emplace_back();
                cell.color = AttrColor(cellNode, "color", kNoColor);
                cell.hint = cellNode.attribute("hint").value();
                cell.vAlign = AttrEnum(cellNode, "valign", kCellAlignNames, RichCellVAlign::Default);
                cell.bestWidth = AttrInt(cellNode, "bestwidth", 0);
                ReadContent(cellNode, cell.content, depth + 1);
            }
            cols = std::max(cols, row.size());
        }
        if (cols == 0)
            return;
        for (auto& row : table.rows)
            row.resize(cols); // ragged rows are filled with empty cells
        SRichItem item;
        ReadCommon(node, item);
        item.styleNo = kRichStyleTable;
        item.newParagraph = true;
        item.lineBreak = false;
        item.table = std::make_unique<RichTable>(std::move(table));
        content.items.push_back(std::move(item));
        return;
    }
    // An element of another writer: look through it so its words stay.
    if (depth < kMaxNesting)
        ReadContent(node, content, depth + 1);
}

void ReadContent(const pugi::xml_node& parent, RichContent& content, int depth)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling())
    {
        if (child.type() == pugi::node_element)
            ReadItem(child, content, depth);
        else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
        {
            if (lf::sys::TrimView(child.value()).empty())
                continue;
            SRichItem item;
            item.newParagraph = false;
            AddTextItem(content, std::move(item), child.value());
        }
    }
}

void ReadDocument(const pugi::xml_node& root, RichDocument& doc)
{
    if (pugi::xml_node style = root.child("style"))
    {
        std::vector<SRichTextStyle> fonts;
        std::vector<SRichParaStyle> paras;
        for (pugi::xml_node n = style.child("font"); n; n = n.next_sibling("font"))
            fonts.push_back(ReadFont(n));
        for (pugi::xml_node n = style.child("para"); n; n = n.next_sibling("para"))
            paras.push_back(ReadPara(n));
        if (!fonts.empty())
            doc.styles.textStyles = std::move(fonts);
        if (!paras.empty())
            doc.styles.paraStyles = std::move(paras);
    }
    if (doc.styles.textStyles.empty())
        doc.styles.textStyles.emplace_back();
    if (doc.styles.paraStyles.empty())
        doc.styles.paraStyles.emplace_back();

    doc.content.Clear();
    doc.view = SRichViewSettings{};
    if (pugi::xml_node document = root.child("document"))
    {
        doc.view.leftMargin = AttrInt(document, "leftmargin", 5, 0, 10000);
        doc.view.rightMargin = AttrInt(document, "rightmargin", 5, 0, 10000);
        doc.view.topMargin = AttrInt(document, "topmargin", 5, 0, 10000);
        doc.view.bottomMargin = AttrInt(document, "bottommargin", 5, 0, 10000);
        doc.view.color = AttrColor(document, "color", kNoColor);
        doc.view.background = AttrEnum(document, "background", kBackgroundNames, RichBackground::None);
        ReadContent(document, doc.content, 0);
    }
    doc.content.ClampStyles(doc.styles.TextStyleCount(), doc.styles.ParaStyleCount());
}

pugi::xml_node FindRoot(const pugi::xml_document& xml)
{
    for (pugi::xml_node n = xml.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && std::strcmp(n.name(), kRichXmlRoot) == 0)
            return n;
    return {};
}

constexpr unsigned kReadOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

} // namespace

const unsigned kRichXmlReadOptions = kReadOptions;

std::string WriteRichXml(const RichDocument& doc)
{
    return WriteXml(doc, true);
}

RichXmlResult ReadRichXml(const std::string& text, RichDocument& doc,
                          const std::function<void(RichDocument&)>& beforeLoad)
{
    pugi::xml_document xml;
    if (!xml.load_buffer(text.data(), text.size(), kReadOptions, pugi::encoding_utf8))
        return RichXmlResult::NotXml;
    lf::sys::MakeXmlTextsValidUtf8(xml);
    const pugi::xml_node root = FindRoot(xml);
    if (!root)
        return RichXmlResult::NoRoot;
    if (beforeLoad)
        beforeLoad(doc);
    ReadDocument(root, doc);
    return RichXmlResult::Loaded;
}

std::string SaveRichStream(const RichDocument& doc, bool withStyles)
{
    return WriteXml(doc, withStyles);
}

bool InsertRichStream(RichDocument& target, const std::string& stream, int firstParaNo)
{
    pugi::xml_document xml;
    if (!xml.load_buffer(stream.data(), stream.size(), kReadOptions, pugi::encoding_utf8))
        return false;
    lf::sys::MakeXmlTextsValidUtf8(xml);
    const pugi::xml_node root = FindRoot(xml);
    if (!root)
        return false;
    if (root.child("style"))
    {
        RichDocument source(RichStyleSheet{});
        ReadDocument(root, source);
        target.AppendDocument(source, firstParaNo);
        return true;
    }
    // Numbers are already the target's.
    RichDocument source(target.styles);
    ReadDocument(root, source);
    std::vector<int> textMap(source.styles.textStyles.size());
    std::vector<int> paraMap(source.styles.paraStyles.size());
    for (std::size_t i = 0; i < textMap.size(); ++i)
        textMap[i] = static_cast<int>(i);
    for (std::size_t i = 0; i < paraMap.size(); ++i)
        paraMap[i] = static_cast<int>(i);
    target.content.Append(source.content, textMap, paraMap, firstParaNo);
    return true;
}

} // namespace lf

bool XMLTextHasRoot(const std::string& text, const std::string& elementName)
{
    pugi::xml_document xml;
    if (!xml.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_auto))
        return false;
    for (pugi::xml_node n = xml.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_element && elementName == n.name())
            return true;
    return false;
}
