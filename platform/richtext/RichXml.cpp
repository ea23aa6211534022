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

// The stored form is written straight into a string, as the XML library writes the same tree (one tab
// per level, " />" closing an empty element, the declaration first): stored texts are written by the
// thousand, and building a tree for each one costs more than the text itself.
class XmlOut
{
public:
    // depth: the level of the elements written first (a tab each).
    explicit XmlOut(std::string& out, int depth = 0) : m_out(out), m_depth(depth) {}

    // Starts an element; its attributes follow, then Close (no children), Text or Open.
    void Start(const char* name)
    {
        m_out.append(static_cast<std::size_t>(m_depth), '\t');
        m_out += '<';
        m_out += name;
    }
    // Values are written up to their first NUL, as the library takes them.
    void Attr(const char* name, const char* value)
    {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
        Escaped(value, true);
        m_out += '"';
    }
    void Attr(const char* name, const std::string& value) { Attr(name, value.c_str()); }
    void Attr(const char* name, long long value)
    {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
        m_out += lf::sys::NumberText(value);
        m_out += '"';
    }
    void Flag(const char* name, bool value)
    {
        m_out += ' ';
        m_out += name;
        m_out += value ? "=\"1\"" : "=\"0\"";
    }
    // Ends an element without children.
    void Close() { m_out += " />\n"; }
    // Ends an element holding only text.
    void Text(const char* name, const char* text)
    {
        m_out += '>';
        Escaped(text, false);
        m_out += "</";
        m_out += name;
        m_out += ">\n";
    }
    // Ends the start tag of an element with child elements.
    void Open()
    {
        m_out += ">\n";
        ++m_depth;
    }
    void End(const char* name)
    {
        --m_depth;
        m_out.append(static_cast<std::size_t>(m_depth), '\t');
        m_out += "</";
        m_out += name;
        m_out += ">\n";
    }

private:
    // The library's escapes: in attributes &, <, " and every control character; in text &, <, > and
    // the control characters other than tab, line feed and carriage return (as "&#NN;").
    void Escaped(const char* text, bool attribute)
    {
        const char* run = text;
        for (const char* p = text;; ++p)
        {
            const auto ch = static_cast<unsigned char>(*p);
            const char* escape = nullptr;
            if (ch == 0)
                break;
            if (ch == '&')
                escape = "&amp;";
            else if (ch == '<')
                escape = "&lt;";
            else if (ch == '>' && !attribute)
                escape = "&gt;";
            else if (ch == '"' && attribute)
                escape = "&quot;";
            else if (ch < 32 && (attribute || (ch != '\t' && ch != '\n' && ch != '\r')))
                escape = "";
            else
                continue;
            m_out.append(run, static_cast<std::size_t>(p - run));
            run = p + 1;
            if (*escape)
                m_out += escape;
            else
            {
                const char code[] = {'&', '#', static_cast<char>('0' + ch / 10),
                                     static_cast<char>('0' + ch % 10), ';'};
                m_out.append(code, sizeof code);
            }
        }
        m_out += run;
    }

    std::string& m_out;
    int m_depth;
};

void WriteStyles(XmlOut& xml, const RichStyleSheet& sheet)
{
    xml.Start("style");
    if (sheet.textStyles.empty() && sheet.paraStyles.empty())
    {
        xml.Close();
        return;
    }
    xml.Open();
    for (const SRichTextStyle& s : sheet.textStyles)
    {
        xml.Start("font");
        xml.Attr("name", s.name);
        xml.Attr("fontname", s.fontName);
        xml.Attr("size", s.size);
        xml.Attr("charset", s.charSet);
        xml.Flag("bold", s.bold);
        xml.Flag("italic", s.italic);
        xml.Flag("underline", s.underline);
        xml.Flag("strikeout", s.strikeOut);
        xml.Attr("color", s.color);
        xml.Attr("backcolor", s.backColor);
        xml.Flag("jump", s.jump);
        xml.Attr("subsuperscripttype", kSubSuperNames[static_cast<std::size_t>(s.subSuper)]);
        xml.Flag("standard", s.standard);
        xml.Close();
    }
    for (const SRichParaStyle& p : sheet.paraStyles)
    {
        xml.Start("para");
        xml.Attr("name", p.name);
        xml.Attr("align", kAlignNames[static_cast<std::size_t>(p.align)]);
        xml.Attr("border", kBorderNames[static_cast<std::size_t>(p.border)]);
        xml.Attr("borderwidth", p.borderWidth);
        xml.Attr("bordercolor", p.borderColor);
        xml.Attr("backcolor", p.backColor);
        xml.Flag("standard", p.standard);
        xml.Close();
    }
    xml.End("style");
}

void WriteContent(XmlOut& xml, const RichContent& content);

void WriteCommon(XmlOut& xml, const SRichItem& item)
{
    xml.Attr("parastyleno", item.paraNo);
    xml.Flag("newpara", item.newParagraph);
    xml.Flag("br", item.lineBreak);
    if (!item.tag.empty())
        xml.Attr("tag", item.tag);
    if (!item.name.empty())
        xml.Attr("name", item.name);
}

// True when the item is written as an element (items of no known kind are left out).
bool WritesElement(const SRichItem& item)
{
    return item.IsText() || item.IsPicture() || item.styleNo == kRichStyleHotspot || item.IsTable();
}

bool WritesElements(const RichContent& content)
{
    return std::any_of(content.items.begin(), content.items.end(), WritesElement);
}

// Ends an element that holds a text child when the value is not empty, none otherwise.
void EndWithText(XmlOut& xml, const char* name, const std::string& value)
{
    if (value.empty())
        xml.Close();
    else
        xml.Text(name, value.c_str());
}

void WriteItem(XmlOut& xml, const SRichItem& item)
{
    if (item.IsText())
    {
        xml.Start("text");
        xml.Attr("textstyleno", item.styleNo);
        xml.Attr("parastyleno", item.paraNo);
        xml.Flag("newpara", item.newParagraph);
        xml.Flag("br", item.lineBreak);
        if (!item.tag.empty())
            xml.Attr("tag", item.tag);
        EndWithText(xml, "text", item.text);
        return;
    }
    if (item.IsPicture())
    {
        const char* name = item.styleNo == kRichStyleHotPicture ? "hotpicture" : "picture";
        xml.Start(name);
        WriteCommon(xml, item);
        xml.Attr("format", item.picture.format);
        xml.Attr("source", item.source);
        xml.Attr("width", item.width);
        xml.Attr("height", item.height);
        xml.Attr("valign", kPictureAlignNames[static_cast<std::size_t>(item.vAlign)]);
        EndWithText(xml, name, EncodeBase64(item.picture.data));
        return;
    }
    if (item.styleNo == kRichStyleHotspot)
    {
        xml.Start("hotspot");
        WriteCommon(xml, item);
        xml.Attr("imageindex", item.imageIndex);
        xml.Close();
        return;
    }
    if (item.IsTable())
    {
        const RichTable& table = *item.table;
        xml.Start("table");
        WriteCommon(xml, item);
        xml.Attr("rows", table.RowCount());
        xml.Attr("cols", table.ColCount());
        xml.Attr("bestwidth", table.bestWidth);
        xml.Attr("borderwidth", table.borderWidth);
        xml.Attr("cellborderwidth", table.cellBorderWidth);
        xml.Attr("cellpadding", table.cellPadding);
        xml.Attr("bordervspacing", table.borderVSpacing);
        xml.Attr("borderhspacing", table.borderHSpacing);
        xml.Attr("borderstyle", kTableBorderNames[static_cast<std::size_t>(table.borderStyle)]);
        xml.Attr("cellborderstyle", kTableBorderNames[static_cast<std::size_t>(table.cellBorderStyle)]);
        xml.Attr("color", table.color);
        if (table.rows.empty())
        {
            xml.Close();
            return;
        }
        xml.Open();
        for (const auto& row : table.rows)
        {
            xml.Start("row");
            if (row.empty())
            {
                xml.Close();
                continue;
            }
            xml.Open();
            for (const SRichCell& cell : row)
            {
                xml.Start("cell");
                xml.Attr("color", cell.color);
                xml.Attr("hint", cell.hint);
                xml.Attr("valign", kCellAlignNames[static_cast<std::size_t>(cell.vAlign)]);
                xml.Attr("bestwidth", cell.bestWidth);
                if (!WritesElements(cell.content))
                {
                    xml.Close();
                    continue;
                }
                xml.Open();
                WriteContent(xml, cell.content);
                xml.End("cell");
            }
            xml.End("row");
        }
        xml.End("table");
    }
}

void WriteContent(XmlOut& xml, const RichContent& content)
{
    for (const SRichItem& item : content.items)
        WriteItem(xml, item);
}

std::string WriteXml(const RichDocument& doc, bool withStyles)
{
    // Written into a buffer the thread keeps, then copied once into a string of the exact size: the text
    // is kept by its item, and growing it step by step costs more than the copy.
    thread_local std::string buffer;
    std::string& out = buffer;
    out.clear();
    out += "<?xml version=\"1.0\"?>\n";
    XmlOut xml(out);
    xml.Start(kRichXmlRoot);
    xml.Open();
    if (withStyles)
    {
        // Nearly every text carries the sheet of the text before: its XML is kept for the next one.
        thread_local RichStyleSheet lastSheet;
        thread_local std::string lastStyles;
        if (lastStyles.empty() || !(doc.styles == lastSheet))
        {
            lastStyles.clear();
            XmlOut styles(lastStyles, 1);
            WriteStyles(styles, doc.styles);
            lastSheet = doc.styles;
        }
        out += lastStyles;
    }
    xml.Start("document");
    xml.Attr("leftmargin", doc.view.leftMargin);
    xml.Attr("rightmargin", doc.view.rightMargin);
    xml.Attr("topmargin", doc.view.topMargin);
    xml.Attr("bottommargin", doc.view.bottomMargin);
    xml.Attr("color", doc.view.color);
    xml.Attr("background", kBackgroundNames[static_cast<std::size_t>(doc.view.background)]);
    xml.Flag("stringtags", true);
    if (WritesElements(doc.content))
    {
        xml.Open();
        WriteContent(xml, doc.content);
        xml.End("document");
    }
    else
        xml.Close();
    xml.End(kRichXmlRoot);
    // Text content has '>' escaped already; attribute values do not, so a "]]>" there would end
    // the CDATA section a book file keeps the text in.
    for (std::size_t pos = out.find("]]>"); pos != std::string::npos; pos = out.find("]]>", pos))
    {
        out.replace(pos + 2, 1, "&gt;");
        pos += 2;
    }
    return std::string(out);
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

// Mends the names and values of a parsed text that are not UTF-8. When the text itself is UTF-8 and has
// no numeric character reference, every name and value is a piece of it cut at ASCII characters or an
// ASCII replacement, so none needs mending and the walk over the tree is left out.
void MendUtf8(const std::string& text, pugi::xml_document& xml)
{
    if (text.find("&#") != std::string::npos || !lf::sys::IsValidUtf8(text))
        lf::sys::MakeXmlTextsValidUtf8(xml);
}

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
    MendUtf8(text, xml);
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
    MendUtf8(stream, xml);
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
