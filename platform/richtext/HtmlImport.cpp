#include "platform/richtext/HtmlImport.h"

#include "platform/richtext/SimpleHtml.h"

#include "platform/sys/NumberText.h"
#include "platform/sys/ProblemLog.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextLines.h"
#include "platform/sys/TextTrim.h"
#include "platform/sys/Utf8Text.h"

#include <gumbo.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace lf
{

namespace
{

constexpr int kMaxDepth = 200; // deeper markup is read as flat text, never by deeper recursion
constexpr int kMaxTableNesting = 16;
// Element nesting handed to the HTML library; real pages stay far below, and it keeps the importer's
// own depth (which also counts the table parts the library adds) well inside kMaxDepth.
constexpr int kMaxHtmlNesting = 64;

bool IsHtmlSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f';
}

int ParseIntPrefix(std::string_view s, int fallback)
{
    int value = fallback;
    lf::sys::ReadNumberLenient(s, value);
    return value;
}

// A length attribute in pixels ("120", "120px"); percentages and junk give 0.
int ParsePixels(std::string_view s)
{
    int value = 0;
    std::string_view rest;
    if (!lf::sys::ReadNumberLenient(s, value, &rest) || value < 0)
        return 0;
    rest = lf::sys::TrimView(rest);
    if (!rest.empty() && rest != "px")
        return 0;
    return std::min(value, 100000);
}

struct NamedHtmlColor
{
    const char* name;
    unsigned rgb;
};

constexpr NamedHtmlColor kHtmlColors[] = {
    {"black", 0x000000},     {"silver", 0xC0C0C0},    {"gray", 0x808080},      {"grey", 0x808080},
    {"white", 0xFFFFFF},     {"maroon", 0x800000},    {"red", 0xFF0000},       {"purple", 0x800080},
    {"fuchsia", 0xFF00FF},   {"magenta", 0xFF00FF},   {"green", 0x008000},     {"lime", 0x00FF00},
    {"olive", 0x808000},     {"yellow", 0xFFFF00},    {"navy", 0x000080},      {"blue", 0x0000FF},
    {"teal", 0x008080},      {"aqua", 0x00FFFF},      {"cyan", 0x00FFFF},      {"orange", 0xFFA500},
    {"brown", 0xA52A2A},     {"pink", 0xFFC0CB},      {"darkred", 0x8B0000},   {"darkblue", 0x00008B},
    {"darkgreen", 0x006400}, {"lightgray", 0xD3D3D3}, {"lightgrey", 0xD3D3D3}, {"gold", 0xFFD700},
};

RichColor FromRgb(unsigned rgb)
{
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// An HTML/CSS colour as a Windows colour value; false when it is not one.
bool ParseHtmlColor(std::string_view text, RichColor& color)
{
    const std::string s = lf::sys::AsciiLower(lf::sys::TrimView(text));
    if (s.empty())
        return false;
    if (s[0] == '#')
    {
        std::string hex = s.substr(1);
        if (hex.size() == 3)
            hex = {hex[0], hex[0], hex[1], hex[1], hex[2], hex[2]};
        unsigned value = 0;
        const auto res = std::from_chars(hex.data(), hex.data() + hex.size(), value, 16);
        if (hex.size() != 6 || res.ec != std::errc{} || res.ptr != hex.data() + hex.size())
            return false;
        color = FromRgb(value);
        return true;
    }
    if (s.rfind("rgb(", 0) == 0)
    {
        unsigned parts[3] = {0, 0, 0};
        std::string_view rest(s);
        rest.remove_prefix(4);
        for (unsigned& part : parts)
        {
            rest = lf::sys::TrimView(rest);
            const int v = ParseIntPrefix(rest, -1);
            if (v < 0)
                return false;
            part = static_cast<unsigned>(std::min(v, 255));
            const std::size_t comma = rest.find_first_of(",)");
            if (comma == std::string_view::npos)
                return false;
            rest.remove_prefix(comma + 1);
        }
        color = parts[0] | (parts[1] << 8) | (parts[2] << 16);
        return true;
    }
    for (const auto& named : kHtmlColors)
        if (s == named.name)
        {
            color = FromRgb(named.rgb);
            return true;
        }
    return false;
}

// A CSS font size in points; 0 when it cannot be read.
int ParseCssFontSize(std::string_view text, int current)
{
    const std::string s = lf::sys::AsciiLower(lf::sys::TrimView(text));
    static constexpr std::pair<const char*, int> kKeywords[] = {
        {"xx-small", 7}, {"x-small", 8},  {"small", 10},    {"medium", 12},
        {"large", 14},   {"x-large", 18}, {"xx-large", 24},
    };
    for (const auto& [name, size] : kKeywords)
        if (s == name)
            return size;
    if (s == "smaller")
        return std::max(1, current - 2);
    if (s == "larger")
        return current + 2;
    double value = 0;
    std::string_view unit;
    if (!lf::sys::ReadNumberLenient(s, value, &unit) || !(value > 0))
        return 0;
    unit = lf::sys::TrimView(unit);
    double points = value;
    if (unit == "px")
        points = value * 3 / 4;
    else if (unit == "em" || unit == "rem")
        points = value * current;
    else if (unit == "%")
        points = value * current / 100;
    else if (unit != "pt" && !unit.empty())
        return 0;
    // Clamped before the conversion: a huge size ("1e300pt") has no int value.
    return static_cast<int>(std::clamp(points + 0.5, 1.0, 1638.0));
}

// The size of <font size="..">: 1..7, or relative to 3 with a sign.
int FontTagSize(std::string_view text)
{
    static constexpr int kSizes[] = {8, 10, 12, 14, 18, 24, 36};
    text = lf::sys::TrimView(text);
    if (text.empty())
        return 0;
    int n = 0;
    if (text.front() == '+' || text.front() == '-')
    {
        const int delta = ParseIntPrefix(text.substr(1), 0);
        n = 3 + (text.front() == '+' ? delta : -delta);
    }
    else
        n = ParseIntPrefix(text, 0);
    if (n == 0 && text.front() != '+' && text.front() != '-')
        return 0;
    return kSizes[std::clamp(n, 1, 7) - 1];
}

// Formatting in force at a point of the page.
struct SFormat
{
    SRichTextStyle style;
    std::string link;
    bool pre = false;
    RichAlign align = RichAlign::Left;
};

std::string FirstFontFamily(std::string_view value)
{
    const std::size_t comma = value.find(',');
    std::string_view first = lf::sys::TrimView(value.substr(0, comma));
    if (first.size() >= 2 && (first.front() == '\'' || first.front() == '"'))
        first = first.substr(1, first.size() - 2);
    return std::string(lf::sys::TrimView(first));
}

bool ParseAlign(std::string_view value, RichAlign& align)
{
    const std::string v = lf::sys::AsciiLower(lf::sys::TrimView(value));
    if (v == "left")
        align = RichAlign::Left;
    else if (v == "right")
        align = RichAlign::Right;
    else if (v == "center" || v == "middle")
        align = RichAlign::Center;
    else if (v == "justify")
        align = RichAlign::Justify;
    else
        return false;
    return true;
}

void ApplyCss(std::string_view css, SFormat& f, RichColor* cellColor = nullptr)
{
    while (!css.empty())
    {
        const std::size_t semi = css.find(';');
        const std::string_view decl = css.substr(0, semi);
        css = semi == std::string_view::npos ? std::string_view{} : css.substr(semi + 1);
        const std::size_t colon = decl.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string prop = lf::sys::AsciiLower(lf::sys::TrimView(decl.substr(0, colon)));
        std::string_view value = lf::sys::TrimView(decl.substr(colon + 1));
        const std::size_t important = value.find('!');
        if (important != std::string_view::npos)
            value = lf::sys::TrimView(value.substr(0, important));
        const std::string v = lf::sys::AsciiLower(value);
        if (prop == "font-weight")
        {
            const int weight = ParseIntPrefix(v, 0);
            f.style.bold = v == "bold" || v == "bolder" || weight >= 600;
        }
        else if (prop == "font-style")
            f.style.italic = v == "italic" || v == "oblique";
        else if (prop == "text-decoration" || prop == "text-decoration-line")
        {
            if (v.find("none") != std::string::npos)
                f.style.underline = f.style.strikeOut = false;
            if (v.find("underline") != std::string::npos)
                f.style.underline = true;
            if (v.find("line-through") != std::string::npos)
                f.style.strikeOut = true;
        }
        else if (prop == "vertical-align")
        {
            if (v == "super")
                f.style.subSuper = RichSubSuper::Super;
            else if (v == "sub")
                f.style.subSuper = RichSubSuper::Sub;
            else if (v == "baseline")
                f.style.subSuper = RichSubSuper::Normal;
        }
        else if (prop == "font-family")
        {
            const std::string family = FirstFontFamily(value);
            if (!family.empty())
                f.style.fontName = family;
        }
        else if (prop == "font-size")
        {
            const int size = ParseCssFontSize(v, f.style.size);
            if (size > 0)
                f.style.size = size;
        }
        else if (prop == "color")
        {
            RichColor c = 0;
            if (ParseHtmlColor(v, c))
                f.style.color = c;
        }
        else if (prop == "background-color" || prop == "background")
        {
            RichColor c = 0;
            if (ParseHtmlColor(v, c))
            {
                if (cellColor)
                    *cellColor = c;
                else
                    f.style.backColor = c;
            }
        }
        else if (prop == "text-align")
            ParseAlign(v, f.align);
    }
}

const char* Attr(const GumboElement& element, const char* name)
{
    const GumboAttribute* attr = gumbo_get_attribute(&element.attributes, name);
    return attr ? attr->value : nullptr;
}

bool IsBlock(GumboTag tag)
{
    switch (tag)
    {
    case GUMBO_TAG_P:
    case GUMBO_TAG_DIV:
    case GUMBO_TAG_H1:
    case GUMBO_TAG_H2:
    case GUMBO_TAG_H3:
    case GUMBO_TAG_H4:
    case GUMBO_TAG_H5:
    case GUMBO_TAG_H6:
    case GUMBO_TAG_UL:
    case GUMBO_TAG_OL:
    case GUMBO_TAG_LI:
    case GUMBO_TAG_DL:
    case GUMBO_TAG_DT:
    case GUMBO_TAG_DD:
    case GUMBO_TAG_BLOCKQUOTE:
    case GUMBO_TAG_PRE:
    case GUMBO_TAG_ADDRESS:
    case GUMBO_TAG_CENTER:
    case GUMBO_TAG_FORM:
    case GUMBO_TAG_FIELDSET:
    case GUMBO_TAG_SECTION:
    case GUMBO_TAG_ARTICLE:
    case GUMBO_TAG_HEADER:
    case GUMBO_TAG_FOOTER:
    case GUMBO_TAG_NAV:
    case GUMBO_TAG_ASIDE:
    case GUMBO_TAG_MAIN:
    case GUMBO_TAG_FIGURE:
    case GUMBO_TAG_FIGCAPTION:
    case GUMBO_TAG_DETAILS:
    case GUMBO_TAG_SUMMARY:
    case GUMBO_TAG_TR:
    case GUMBO_TAG_CAPTION:
    case GUMBO_TAG_BODY:
        return true;
    default:
        return false;
    }
}

bool IsIgnored(GumboTag tag)
{
    switch (tag)
    {
    case GUMBO_TAG_HEAD:
    case GUMBO_TAG_TITLE:
    case GUMBO_TAG_SCRIPT:
    case GUMBO_TAG_STYLE:
    case GUMBO_TAG_TEMPLATE:
    case GUMBO_TAG_NOSCRIPT:
    case GUMBO_TAG_META:
    case GUMBO_TAG_LINK:
        return true;
    default:
        return false;
    }
}

class Builder
{
public:
    Builder(RichDocument& doc, RichContent& out, const SHtmlImportOptions& options, int tableNesting)
        : m_doc(doc), m_out(out), m_options(options), m_tableNesting(tableNesting)
    {
    }

    void Node(const GumboNode* node, const SFormat& f, int depth)
    {
        switch (node->type)
        {
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_WHITESPACE:
        case GUMBO_NODE_CDATA:
            Text(node->v.text.text, f);
            return;
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE:
            Element(node, f, depth);
            return;
        case GUMBO_NODE_DOCUMENT:
            Children(node->v.document.children, f, depth);
            return;
        default:
            return; // comments
        }
    }

    void Finish() { EndParagraph(); }

private:
    void Children(const GumboVector& children, const SFormat& f, int depth)
    {
        for (unsigned i = 0; i < children.length; ++i)
            Node(static_cast<const GumboNode*>(children.data[i]), f, depth + 1);
    }

    int HeadingStyle(const char* name) const
    {
        for (int i = 0; i < m_doc.styles.TextStyleCount(); ++i)
            if (m_doc.styles.textStyles[i].name == name)
                return i;
        return -1;
    }

    void Element(const GumboNode* node, const SFormat& parent, int depth)
    {
        const GumboElement& el = node->v.element;
        const GumboTag tag = el.tag;
        if (IsIgnored(tag))
            return;
        SFormat f = parent;
        SRichTextStyle& s = f.style;
        switch (tag)
        {
        case GUMBO_TAG_B:
        case GUMBO_TAG_STRONG:
        case GUMBO_TAG_TH:
            s.bold = true;
            break;
        case GUMBO_TAG_I:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_CITE:
        case GUMBO_TAG_VAR:
        case GUMBO_TAG_DFN:
            s.italic = true;
            break;
        case GUMBO_TAG_U:
        case GUMBO_TAG_INS:
            s.underline = true;
            break;
        case GUMBO_TAG_S:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_DEL:
            s.strikeOut = true;
            break;
        case GUMBO_TAG_SUP:
            s.subSuper = RichSubSuper::Super;
            break;
        case GUMBO_TAG_SUB:
            s.subSuper = RichSubSuper::Sub;
            break;
        case GUMBO_TAG_BIG:
            s.size += 2;
            break;
        case GUMBO_TAG_SMALL:
            s.size = std::max(1, s.size - 2);
            break;
        case GUMBO_TAG_MARK:
            s.backColor = 0x00FFFF;
            break;
        case GUMBO_TAG_CODE:
        case GUMBO_TAG_TT:
        case GUMBO_TAG_KBD:
        case GUMBO_TAG_SAMP:
            s.fontName = m_options.codeFontName;
            break;
        case GUMBO_TAG_PRE:
            s.fontName = m_options.codeFontName;
            f.pre = true;
            break;
        case GUMBO_TAG_CENTER:
            f.align = RichAlign::Center;
            break;
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        {
            const bool major = tag == GUMBO_TAG_H1 || tag == GUMBO_TAG_H2;
            const int no = HeadingStyle(major ? "Heading" : "Subheading");
            if (no >= 0)
            {
                s = m_doc.styles.textStyles[no];
            }
            else
            {
                s.bold = true;
                s.color = major ? 0xFF0000 : 0x800000;
            }
            break;
        }
        case GUMBO_TAG_FONT:
            if (const char* face = Attr(el, "face"))
            {
                const std::string family = FirstFontFamily(face);
                if (!family.empty())
                    s.fontName = family;
            }
            if (const char* size = Attr(el, "size"))
                if (const int pt = FontTagSize(size); pt > 0)
                    s.size = pt;
            if (const char* color = Attr(el, "color"))
                ParseHtmlColor(color, s.color);
            break;
        case GUMBO_TAG_A:
            if (const char* href = Attr(el, "href"))
                f.link = href;
            break;
        default:
            break;
        }
        if (const char* align = Attr(el, "align"); align && IsBlock(tag))
            ParseAlign(align, f.align);
        if (const char* style = Attr(el, "style"))
            ApplyCss(style, f);

        switch (tag)
        {
        case GUMBO_TAG_BR:
            LineBreak(f);
            return;
        case GUMBO_TAG_HR:
            EndParagraph();
            return;
        case GUMBO_TAG_IMG:
            Image(el, f);
            return;
        case GUMBO_TAG_TABLE:
            Table(node, f, depth);
            return;
        default:
            break;
        }

        const bool block = IsBlock(tag) || tag == GUMBO_TAG_TD;
        if (block)
            EndParagraph();
        if (depth < kMaxDepth)
            Children(el.children, f, depth);
        else
            FlatText(node, f);
        if (block)
            EndParagraph();
    }

    // The words of markup nested too deeply to follow, in document order, without recursion.
    void FlatText(const GumboNode* node, const SFormat& f)
    {
        std::vector<const GumboNode*> pending{node};
        while (!pending.empty())
        {
            const GumboNode* next = pending.back();
            pending.pop_back();
            if (next->type == GUMBO_NODE_TEXT || next->type == GUMBO_NODE_WHITESPACE ||
                next->type == GUMBO_NODE_CDATA)
            {
                Text(next->v.text.text, f);
                continue;
            }
            if (next->type != GUMBO_NODE_ELEMENT || IsIgnored(next->v.element.tag))
                continue;
            const GumboVector& children = next->v.element.children;
            for (unsigned i = children.length; i > 0; --i)
                pending.push_back(static_cast<const GumboNode*>(children.data[i - 1]));
        }
    }

    int TextStyleNo(const SFormat& f)
    {
        SRichTextStyle s = f.style;
        if (!f.link.empty())
        {
            s.jump = true;
            s.underline = true;
            if (s.color == 0x000000)
                s.color = 0x008000;
        }
        if (m_lastStyleNo >= 0 && m_lastStyle.SameFont(s))
            return m_lastStyleNo;
        m_lastStyle = s;
        m_lastStyleNo = m_doc.styles.FindOrAddTextStyle(s);
        return m_lastStyleNo;
    }

    int ParaStyleNo(RichAlign align)
    {
        SRichParaStyle p = m_doc.styles.paraStyles.empty() ? SRichParaStyle{} : m_doc.styles.paraStyles[0];
        if (p.align == align)
            return 0;
        p.align = align;
        p.name = align == RichAlign::Center ? "Centered" : "Paragraph Style";
        return m_doc.styles.FindOrAddParaStyle(p);
    }

    // A new item starts where the pending paragraph or line break says.
    SRichItem& NewItem(const SFormat& f)
    {
        SRichItem& item = m_out.items.emplace_back();
        if (m_pendingParagraph || m_out.items.size() == 1)
        {
            item.newParagraph = true;
            item.paraNo = ParaStyleNo(f.align);
            m_paraNo = item.paraNo;
            m_paragraphStart = m_out.items.size() - 1;
        }
        else
        {
            item.newParagraph = false;
            item.lineBreak = m_pendingBreak;
            item.paraNo = m_paraNo;
        }
        m_pendingParagraph = false;
        m_pendingBreak = false;
        return item;
    }

    void AddRun(const std::string& text, const SFormat& f)
    {
        if (text.empty())
            return;
        const int styleNo = TextStyleNo(f);
        if (!m_pendingParagraph && !m_pendingBreak && !m_out.items.empty())
        {
            SRichItem& last = m_out.items.back();
            if (last.IsText() && last.styleNo == styleNo && last.tag == f.link)
            {
                last.text += text;
                return;
            }
        }
        SRichItem& item = NewItem(f);
        item.styleNo = styleNo;
        item.text = text;
        item.tag = f.link;
    }

    void Text(const char* raw, const SFormat& f)
    {
        std::string text;
        if (f.pre)
        {
            // Preformatted: every line break starts a line, blanks stay.
            // CR LF, a lone CR and a lone LF each end a line; a run never holds one.
            bool first = true;
            for (const std::string_view line : lf::sys::SplitLines(raw))
            {
                if (!first)
                    LineBreak(f);
                first = false;
                AddRun(ReplaceNbsp(std::string(line)), f);
            }
            m_lastSpace = false;
            return;
        }
        for (const char* p = raw; *p; ++p)
        {
            if (IsHtmlSpace(*p))
            {
                if (!m_lastSpace)
                    text += ' ';
                m_lastSpace = true;
            }
            else
            {
                text += *p;
                m_lastSpace = false;
            }
        }
        AddRun(ReplaceNbsp(text), f);
    }

    // A no-break space is kept as a blank that does not collapse.
    static std::string ReplaceNbsp(const std::string& text)
    {
        if (text.find("\xC2\xA0") == std::string::npos)
            return text;
        std::string out;
        out.reserve(text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
        {
            if (text[i] == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0')
            {
                out += ' ';
                ++i;
            }
            else
                out += text[i];
        }
        return out;
    }

    void TrimLineEnd()
    {
        while (!m_out.items.empty())
        {
            SRichItem& last = m_out.items.back();
            if (!last.IsText() || m_out.items.size() - 1 < m_paragraphStart)
                return;
            while (!last.text.empty() && last.text.back() == ' ')
                last.text.pop_back();
            if (!last.text.empty() || last.StartsLine())
                return;
            m_out.items.pop_back();
        }
    }

    void EndParagraph()
    {
        if (!m_pendingParagraph)
            TrimLineEnd();
        m_pendingParagraph = true;
        m_pendingBreak = false;
        m_lastSpace = true;
    }

    void LineBreak(const SFormat& f)
    {
        TrimLineEnd();
        if (m_pendingParagraph || m_pendingBreak)
        {
            // An empty line: keep it as an empty run.
            SRichItem& item = NewItem(f);
            item.styleNo = TextStyleNo(f);
        }
        m_pendingBreak = true;
        m_lastSpace = true;
    }

    void Image(const GumboElement& el, const SFormat& f)
    {
        const char* src = Attr(el, "src");
        const int width = Attr(el, "width") ? ParsePixels(Attr(el, "width")) : 0;
        const int height = Attr(el, "height") ? ParsePixels(Attr(el, "height")) : 0;
        const std::string source = src ? src : "";
        SRichPicture picture = m_options.requestPicture
                                   ? m_options.requestPicture(source, width, height, m_options.fetchPictures)
                                   : MakePlaceholderPicture(width, height);
        if (picture.Empty())
            return;
        SRichItem& item = NewItem(f);
        item.styleNo = f.link.empty() ? kRichStylePicture : kRichStyleHotPicture;
        item.picture = std::move(picture);
        item.source = source;
        item.width = width;
        item.height = height;
        item.tag = f.link;
        m_lastSpace = false;
    }

    void CollectRows(const GumboNode* node, std::vector<const GumboNode*>& rows, int depth)
    {
        if (node->type != GUMBO_NODE_ELEMENT || depth > 4)
            return;
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i)
        {
            const auto* child = static_cast<const GumboNode*>(children.data[i]);
            if (child->type != GUMBO_NODE_ELEMENT)
                continue;
            const GumboTag tag = child->v.element.tag;
            if (tag == GUMBO_TAG_TR)
                rows.push_back(child);
            else if (tag == GUMBO_TAG_THEAD || tag == GUMBO_TAG_TBODY || tag == GUMBO_TAG_TFOOT)
                CollectRows(child, rows, depth + 1);
        }
    }

    static bool IsCell(const GumboNode* node)
    {
        return node->type == GUMBO_NODE_ELEMENT &&
               (node->v.element.tag == GUMBO_TAG_TD || node->v.element.tag == GUMBO_TAG_TH);
    }

    // True when the rows, filled up to the widest, stay within the cell limit.
    static bool TableFitsLimit(const std::vector<const GumboNode*>& rowNodes)
    {
        const std::size_t rows = rowNodes.size();
        std::size_t cols = 0;
        for (const GumboNode* row : rowNodes)
        {
            const GumboVector& cells = row->v.element.children;
            std::size_t count = 0;
            for (unsigned i = 0; i < cells.length; ++i)
                count += IsCell(static_cast<const GumboNode*>(cells.data[i])) ? 1 : 0;
            cols = std::max(cols, count);
        }
        return RichTableFits(rows, cols);
    }

    void Table(const GumboNode* node, const SFormat& f, int depth)
    {
        EndParagraph();
        std::vector<const GumboNode*> rowNodes;
        CollectRows(node, rowNodes, 0);
        const bool tooLarge = !TableFitsLimit(rowNodes);
        if (tooLarge)
            lf::sys::ReportProblem("HTML import: a table of more than " +
                                   lf::sys::NumberText(kMaxRichTableCells) +
                                   " cells was read as plain paragraphs");
        if (tooLarge || m_tableNesting >= kMaxTableNesting || depth >= kMaxDepth)
        {
            // Too large or too deeply nested: keep the words as paragraphs.
            for (const GumboNode* row : rowNodes)
                Element(row, f, depth + 1);
            return;
        }
        RichTable table;
        std::size_t cols = 0;
        SFormat cellBase = f;
        cellBase.align = RichAlign::Left;
        cellBase.pre = false;
        for (const GumboNode* rowNode : rowNodes)
        {
            auto& row = table.rows.emplace_back();
            const GumboVector& cells = rowNode->v.element.children;
            for (unsigned i = 0; i < cells.length; ++i)
            {
                const auto* cellNode = static_cast<const GumboNode*>(cells.data[i]);
                if (!IsCell(cellNode))
                    continue;
                const GumboElement& el = cellNode->v.element;
                SRichCell& cell = row.emplace_back();
                SFormat cf = cellBase;
                if (el.tag == GUMBO_TAG_TH)
                    cf.style.bold = true;
                if (const char* align = Attr(el, "align"))
                    ParseAlign(align, cf.align);
                if (const char* bg = Attr(el, "bgcolor"))
                    ParseHtmlColor(bg, cell.color);
                if (const char* style = Attr(el, "style"))
                    ApplyCss(style, cf, &cell.color);
                if (const char* valign = Attr(el, "valign"))
                {
                    const std::string v = lf::sys::AsciiLower(lf::sys::TrimView(valign));
                    cell.vAlign = v == "top"      ? RichCellVAlign::Top
                                  : v == "middle" ? RichCellVAlign::Center
                                  : v == "bottom" ? RichCellVAlign::Bottom
                                                  : RichCellVAlign::Default;
                }
                if (const char* width = Attr(el, "width"))
                    cell.bestWidth = ParsePixels(width);
                Builder inner(m_doc, cell.content, m_options, m_tableNesting + 1);
                for (unsigned k = 0; k < el.children.length; ++k)
                    inner.Node(static_cast<const GumboNode*>(el.children.data[k]), cf, depth + 2);
                inner.Finish();
            }
            cols = std::max(cols, row.size());
        }
        if (cols == 0)
            return;
        for (auto& row : table.rows)
            row.resize(cols);
        const GumboElement& el = node->v.element;
        if (const char* border = Attr(el, "border"))
            table.borderWidth = table.cellBorderWidth = std::clamp(ParseIntPrefix(border, 1), 0, 100);
        if (const char* padding = Attr(el, "cellpadding"))
            table.cellPadding = std::clamp(ParseIntPrefix(padding, 1), 0, 100);
        if (const char* spacing = Attr(el, "cellspacing"))
            table.borderHSpacing = table.borderVSpacing = std::clamp(ParseIntPrefix(spacing, 2), 0, 100);
        if (const char* bg = Attr(el, "bgcolor"))
            ParseHtmlColor(bg, table.color);
        if (const char* width = Attr(el, "width"))
        {
            const std::string_view w = lf::sys::TrimView(width);
            if (!w.empty() && w.back() == '%')
                table.bestWidth = -std::clamp(ParseIntPrefix(w, 100), 1, 100);
            else
                table.bestWidth = ParsePixels(w);
        }
        SRichItem& item = m_out.items.emplace_back();
        item.styleNo = kRichStyleTable;
        item.newParagraph = true;
        item.paraNo = 0;
        item.table = std::make_unique<RichTable>(std::move(table));
        m_paragraphStart = m_out.items.size();
        m_pendingParagraph = true;
        m_pendingBreak = false;
        m_lastSpace = true;
    }

    RichDocument& m_doc;
    RichContent& m_out;
    const SHtmlImportOptions& m_options;
    int m_tableNesting = 0;
    bool m_pendingParagraph = true;
    bool m_pendingBreak = false;
    bool m_lastSpace = true;
    int m_paraNo = 0;
    std::size_t m_paragraphStart = 0;
    SRichTextStyle m_lastStyle;
    int m_lastStyleNo = -1;
};

// The HTML library reads the number of a character reference into an int without a bound: past 32 bits
// it wraps round, giving a raw byte that is no UTF-8 ("&#xaaaaaaaaaa;"), another character
// ("&#4294967361;" is "A") or the loss of the text after it ("&#x80000000;"). Every reference past the
// last character (U+10FFFF) is rewritten as the one to U+FFFD it stands for before the page is parsed;
// the others stay byte for byte. Empty when the page holds no such reference.
std::string ReplaceReferencesPastTheLastCharacter(std::string_view html)
{
    constexpr char32_t kLastCharacter = 0x10FFFF;
    std::string out;
    std::size_t copied = 0;
    for (std::size_t amp = html.find("&#"); amp != std::string_view::npos; amp = html.find("&#", amp + 1))
    {
        std::size_t at = amp + 2;
        const bool hex = at < html.size() && (html[at] == 'x' || html[at] == 'X');
        if (hex)
            ++at;
        const std::size_t digits = at;
        char32_t value = 0;
        at = lf::sys::ReadCharacterReferenceNumber(html, at, hex, value);
        if (at == digits || value <= kLastCharacter)
            continue;
        if (at < html.size() && html[at] == ';')
            ++at;
        if (out.empty())
            out.reserve(html.size());
        out.append(html.substr(copied, amp - copied));
        out += "&#xFFFD;";
        copied = at;
    }
    if (!out.empty())
        out.append(html.substr(copied));
    return out;
}

// The HTML library's memory for one parse. The library makes hundreds of small allocations per page and
// frees each one again; short texts are imported by the thousand, so the allocations are taken in
// turn from large blocks that all go at once when the parse is done. Blocks are kept for the next
// parse of the thread.
class ParseArena
{
public:
    ParseArena()
    {
        if (!Spare().empty())
        {
            m_blocks.push_back(std::move(Spare().back()));
            Spare().pop_back();
            m_free = kBlockSize;
        }
    }
    ~ParseArena()
    {
        // Only blocks of the standard size are kept, and a few of them.
        for (SBlock& block : m_blocks)
            if (block.size == kBlockSize && Spare().size() < 4)
                Spare().push_back(std::move(block));
    }
    ParseArena(const ParseArena&) = delete;
    ParseArena& operator=(const ParseArena&) = delete;

    GumboOptions Options()
    {
        GumboOptions options = kGumboDefaultOptions;
        options.allocator = &Allocate;
        options.deallocator = &Deallocate;
        options.userdata = this;
        return options;
    }

private:
    struct SBlock
    {
        std::unique_ptr<std::max_align_t[]> memory;
        std::size_t size = 0; // in bytes
    };
    static constexpr std::size_t kAlign = alignof(std::max_align_t);
    static constexpr std::size_t kBlockSize = 64 * 1024;

    static std::vector<SBlock>& Spare()
    {
        thread_local std::vector<SBlock> spare;
        return spare;
    }

    static void* Allocate(void* userdata, std::size_t size)
    {
        return static_cast<ParseArena*>(userdata)->Take(size);
    }
    static void Deallocate(void*, void*) {}

    void* Take(std::size_t size)
    {
        size = (std::max<std::size_t>(size, 1) + kAlign - 1) / kAlign * kAlign;
        if (size > m_free)
        {
            const std::size_t blockSize = std::max(size, kBlockSize);
            SBlock block{std::make_unique_for_overwrite<std::max_align_t[]>(blockSize / kAlign), blockSize};
            // A large allocation gets a block of its own, and the current block stays in use.
            if (blockSize > kBlockSize && !m_blocks.empty())
            {
                m_blocks.insert(m_blocks.end() - 1, std::move(block));
                return (m_blocks.end() - 2)->memory.get();
            }
            m_blocks.push_back(std::move(block));
            m_free = blockSize;
        }
        const SBlock& current = m_blocks.back();
        void* at = reinterpret_cast<char*>(current.memory.get()) + (current.size - m_free);
        m_free -= size;
        return at;
    }

    std::vector<SBlock> m_blocks; // the last one is the one being filled
    std::size_t m_free = 0;       // bytes left in the last block
};

} // namespace

void ImportHtml(const std::string& html, RichDocument& doc, const SHtmlImportOptions& options)
{
    if (doc.styles.textStyles.empty())
        doc.styles.textStyles.emplace_back();
    if (doc.styles.paraStyles.empty())
        doc.styles.paraStyles.emplace_back();
    SFormat base;
    base.style = doc.styles.textStyles[0];
    RichContent added;
    Builder builder(doc, added, options, 0);
    // Pages of the plain shape the program writes itself are laid out without the library.
    // The tree's storage is kept for the thread's next page; a page imported while one is being laid
    // out (a picture loader may import) gets storage of its own.
    thread_local SimpleHtmlTree kept;
    thread_local bool keptInUse = false;
    std::optional<SimpleHtmlTree> own;
    SimpleHtmlTree& simple = keptInUse ? own.emplace() : kept;
    const bool usesKept = !keptInUse;
    keptInUse = true;
    const GumboNode* root = simple.Parse(html);
    struct SRelease
    {
        bool release;
        ~SRelease()
        {
            if (release)
                keptInUse = false;
        }
    } releaseKept{usesKept};
    if (root)
        builder.Node(root, base, 0);
    else
    {
        const std::string mended = ReplaceReferencesPastTheLastCharacter(html);
        const std::string flat =
            FlattenDeepHtml(mended.empty() ? std::string_view(html) : mended, kMaxHtmlNesting);
        ParseArena arena;
        const GumboOptions parseOptions = arena.Options();
        GumboOutput* output = gumbo_parse_with_options(&parseOptions, flat.data(), flat.size());
        if (!output)
            return;
        builder.Node(output->root, base, 0);
        gumbo_destroy_output(&parseOptions, output);
    }
    builder.Finish();
    if (added.Empty())
        return;
    added.items.front().newParagraph = true;
    added.items.front().lineBreak = false;
    for (auto& item : added.items)
        doc.content.items.push_back(std::move(item));
}

namespace
{

bool IsTagNameChar(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' ||
           ch == ':' || ch == '_';
}

bool IsAsciiLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

// Elements that never hold others, or that the next sibling of their kind closes.
bool NestsNothing(std::string_view name)
{
    static constexpr std::string_view kNames[] = {
        "area",  "base",   "br",    "col",   "embed",    "hr",      "img",    "input",   "link", "meta",
        "param", "source", "track", "wbr",   "p",        "li",      "dt",     "dd",      "tr",   "td",
        "th",    "tbody",  "thead", "tfoot", "colgroup", "caption", "option", "optgroup"};
    for (const std::string_view known : kNames)
        if (name == known)
            return true;
    return false;
}

// Elements whose content is text up to their own end tag.
bool HoldsRawText(std::string_view name)
{
    return name == "script" || name == "style" || name == "textarea" || name == "title" || name == "xmp" ||
           name == "iframe" || name == "noembed" || name == "noframes" || name == "plaintext";
}

} // namespace

std::string FlattenDeepHtml(std::string_view html, int maxDepth)
{
    std::string out;
    out.reserve(html.size());
    int depth = 0;
    std::size_t pos = 0;
    while (pos < html.size())
    {
        const std::size_t open = html.find('<', pos);
        if (open == std::string_view::npos)
        {
            out.append(html.substr(pos));
            break;
        }
        out.append(html.substr(pos, open - pos));
        pos = open;
        const std::string_view rest = html.substr(pos);
        if (rest.substr(0, 4) == "<!--")
        {
            const std::size_t end = rest.find("-->", 4);
            const std::size_t length = end == std::string_view::npos ? rest.size() : end + 3;
            out.append(rest.substr(0, length));
            pos += length;
            continue;
        }
        const bool closing = rest.size() > 1 && rest[1] == '/';
        const std::size_t nameStart = closing ? 2 : 1;
        if (rest.size() <= nameStart || !IsAsciiLetter(rest[nameStart]))
        {
            // "<!DOCTYPE", "<?...", or a "<" that starts no tag: passed on as it stands.
            out += '<';
            ++pos;
            continue;
        }
        std::size_t nameEnd = nameStart;
        while (nameEnd < rest.size() && IsTagNameChar(rest[nameEnd]))
            ++nameEnd;
        const std::string name = lf::sys::AsciiLower(rest.substr(nameStart, nameEnd - nameStart));
        // The end of the tag: the first ">" outside a quoted attribute value.
        std::size_t end = nameEnd;
        char quote = 0;
        for (; end < rest.size(); ++end)
        {
            const char ch = rest[end];
            if (quote != 0)
            {
                if (ch == quote)
                    quote = 0;
            }
            else if (ch == '"' || ch == '\'')
                quote = ch;
            else if (ch == '>')
                break;
        }
        const std::size_t length = end < rest.size() ? end + 1 : rest.size();
        const std::string_view tag = rest.substr(0, length);
        pos += length;
        // "<div/>" opens a div in HTML like "<div>" does, so a trailing "/" changes nothing here.
        if (NestsNothing(name))
        {
            out.append(tag);
            continue;
        }
        if (closing)
        {
            if (depth <= maxDepth)
                out.append(tag);
            if (depth > 0)
                --depth;
            continue;
        }
        ++depth;
        if (depth <= maxDepth)
            out.append(tag);
        if (HoldsRawText(name))
        {
            // Its text up to the end tag is no markup; the end tag itself is read by the loop.
            const std::string endTag = "</" + name;
            std::size_t found = pos;
            for (;;)
            {
                found = html.find("</", found);
                if (found == std::string_view::npos ||
                    lf::sys::AsciiLower(html.substr(found, endTag.size())) == endTag)
                    break;
                found += 2;
            }
            const std::size_t stop = found == std::string_view::npos ? html.size() : found;
            // The text of a dropped script or style is no text to show: it goes with its tag.
            if (depth <= maxDepth)
                out.append(html.substr(pos, stop - pos));
            pos = stop;
        }
    }
    return out;
}

SRichPicture MakePlaceholderPicture(int width, int height)
{
    const std::string w = lf::sys::NumberText(width > 0 ? width : 23);
    const std::string h = lf::sys::NumberText(height > 0 ? height : 22);
    SRichPicture picture;
    picture.format = "svg";
    picture.data =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
        "\"><g stroke=\"#FF0000\" stroke-width=\"1\" fill=\"none\"><rect x=\"0\" y=\"0\" width=\"" + w +
        "\" height=\"" + h + "\"/><line x1=\"0\" y1=\"0\" x2=\"" + w + "\" y2=\"" + h +
        "\"/><line x1=\"0\" y1=\"" + h + "\" x2=\"" + w + "\" y2=\"0\"/></g></svg>";
    return picture;
}

SRichPicture RichPictureCache::Get(const std::string& source, int width, int height, bool fetching,
                                   const std::function<SRichPicture(const std::string&)>& fetch)
{
    if (!fetching)
        return MakePlaceholderPicture(width, height);
    const std::string key = lf::sys::FoldCase(source);
    if (const auto it = m_pictures.find(key); it != m_pictures.end())
        return it->second;
    SRichPicture picture = fetch ? fetch(source) : SRichPicture{};
    if (picture.Empty())
        picture = MakePlaceholderPicture(width, height);
    m_pictures.emplace(key, picture);
    return picture;
}

} // namespace lf
