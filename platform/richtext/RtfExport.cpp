#include "platform/richtext/RtfExport.h"

#include "platform/richtext/PlainText.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <vector>

namespace lf
{

namespace
{

// The page the document is laid out on: A4 with margins of 2 cm, in twips (1/1440 inch).
constexpr int kPageWidth = 11906;
constexpr int kPageHeight = 16838;
constexpr int kPageMargin = 1134;
constexpr int kTextWidth = kPageWidth - 2 * kPageMargin;
// A screen pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
// The system colour of window text, which the views draw black.
constexpr RichColor kWindowTextColour = 0x80000008;

std::string Num(long long value)
{
    return lf::sys::NumberText(value);
}

// Next code point of UTF-8 text; a byte that starts no valid sequence counts as U+FFFD.
char32_t NextCodePoint(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || at + length > text.size())
    {
        ++at;
        return 0xFFFD;
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i)
    {
        const unsigned char next = byte(at + i);
        if ((next & 0xC0) != 0x80)
        {
            ++at;
            return 0xFFFD;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    at += length;
    return cp;
}

void AppendUnicodeEscape(std::string& out, char32_t unit)
{
    // RTF numbers are signed 16-bit values.
    const int value = unit > 0x7FFF ? static_cast<int>(unit) - 0x10000 : static_cast<int>(unit);
    out += "\\u" + Num(value) + "?";
}

// Text as RTF: the three special characters escaped, tabs as \tab, everything beyond ASCII as \u.
void AppendRtfText(std::string& out, std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size())
    {
        const char32_t cp = NextCodePoint(text, at);
        if (cp == '\\' || cp == '{' || cp == '}')
        {
            out += '\\';
            out += static_cast<char>(cp);
        }
        else if (cp == '\t')
            out += "\\tab ";
        else if (cp == '\r' || cp == '\n')
            out += "\\line ";
        else if (cp < 0x20)
            continue;
        else if (cp < 0x80)
            out += static_cast<char>(cp);
        else if (cp > 0xFFFF)
        {
            const char32_t v = cp - 0x10000;
            AppendUnicodeEscape(out, 0xD800 + (v >> 10));
            AppendUnicodeEscape(out, 0xDC00 + (v & 0x3FF));
        }
        else
            AppendUnicodeEscape(out, cp);
    }
}

int ToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}

class CRtfWriter
{
public:
    CRtfWriter(const RichDocument& doc, const RtfPictureSource& pictures) : m_Doc(doc), m_Pictures(pictures)
    {
        for (const SRichTextStyle& style : doc.styles.textStyles)
            FontIndex(style.fontName);
    }

    std::string Write()
    {
        std::string body;
        WriteContent(body, m_Doc.content, false);
        std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
        for (std::size_t i = 0; i < m_Fonts.size(); ++i)
        {
            out += "{\\f" + Num(static_cast<long long>(i)) + "\\fnil ";
            AppendRtfText(out, m_Fonts[i]);
            out += ";}";
        }
        out += "}\n{\\colortbl ;";
        for (const RichColor colour : m_Colours)
            out += "\\red" + Num(colour & 0xFF) + "\\green" + Num((colour >> 8) & 0xFF) + "\\blue" +
                   Num((colour >> 16) & 0xFF) + ";";
        out += "}\n\\paperw" + Num(kPageWidth) + "\\paperh" + Num(kPageHeight) + "\\margl" +
               Num(kPageMargin) + "\\margr" + Num(kPageMargin) + "\\margt" + Num(kPageMargin) + "\\margb" +
               Num(kPageMargin) + "\n";
        out += body;
        out += "}\n";
        return out;
    }

private:
    int FontIndex(const std::string& name)
    {
        const std::string font = name.empty() ? "Arial" : name;
        const auto found = std::find(m_Fonts.begin(), m_Fonts.end(), font);
        if (found != m_Fonts.end())
            return static_cast<int>(found - m_Fonts.begin());
        m_Fonts.push_back(font);
        return static_cast<int>(m_Fonts.size()) - 1;
    }

    // Index in the colour table (from 1); 0, the automatic colour, for no colour.
    int ColourIndex(RichColor colour)
    {
        if (colour == kNoColor)
            return 0;
        if (colour == kWindowTextColour || (colour & 0xFF000000) != 0)
            colour = 0x000000;
        const auto found = std::find(m_Colours.begin(), m_Colours.end(), colour);
        if (found != m_Colours.end())
            return static_cast<int>(found - m_Colours.begin()) + 1;
        m_Colours.push_back(colour);
        return static_cast<int>(m_Colours.size());
    }

    const SRichTextStyle& TextStyle(int no) const
    {
        static const SRichTextStyle fallback;
        return m_Doc.styles.HasTextStyle(no) ? m_Doc.styles.textStyles[static_cast<std::size_t>(no)]
                                             : fallback;
    }

    std::string ParagraphStart(int paraNo, bool inTable)
    {
        std::string out = "\\pard\\plain";
        if (inTable)
            out += "\\intbl";
        const RichAlign align = m_Doc.styles.HasParaStyle(paraNo)
                                    ? m_Doc.styles.paraStyles[static_cast<std::size_t>(paraNo)].align
                                    : RichAlign::Left;
        switch (align)
        {
        case RichAlign::Left:
            out += "\\ql";
            break;
        case RichAlign::Right:
            out += "\\qr";
            break;
        case RichAlign::Center:
            out += "\\qc";
            break;
        case RichAlign::Justify:
            out += "\\qj";
            break;
        }
        return out + " ";
    }

    void WriteRun(std::string& out, const SRichItem& item)
    {
        const SRichTextStyle& style = TextStyle(item.styleNo);
        out += "{\\f" + Num(FontIndex(style.fontName)) + "\\fs" + Num(std::max(1, style.size) * 2);
        if (style.bold)
            out += "\\b";
        if (style.italic)
            out += "\\i";
        if (style.underline)
            out += "\\ul";
        if (style.strikeOut)
            out += "\\strike";
        if (style.subSuper == RichSubSuper::Super)
            out += "\\super";
        else if (style.subSuper == RichSubSuper::Sub)
            out += "\\sub";
        if (const int colour = ColourIndex(style.color))
            out += "\\cf" + Num(colour);
        if (style.backColor != kNoColor)
            out += "\\highlight" + Num(ColourIndex(style.backColor));
        out += " ";
        AppendRtfText(out, item.text);
        out += "}";
    }

    // The PNG and drawn size of a picture or hotspot item; hotspots repeat, so each image is made once.
    const SRtfPicture& PictureOf(const SRichItem& item)
    {
        const bool hotspot = item.styleNo == kRichStyleHotspot;
        if (hotspot)
        {
            const auto found = m_Hotspots.find(item.imageIndex);
            if (found != m_Hotspots.end())
                return found->second;
        }
        SRtfPicture picture;
        if (m_Pictures)
            picture = m_Pictures(item);
        else if (item.IsPicture() && item.picture.format == "png" &&
                 PngSize(item.picture.data, picture.width, picture.height))
        {
            picture.png = item.picture.data;
            if (item.width > 0 && item.height > 0)
            {
                picture.width = item.width;
                picture.height = item.height;
            }
        }
        if (!picture.png.empty() && (picture.width <= 0 || picture.height <= 0))
            PngSize(picture.png, picture.width, picture.height);
        if (hotspot)
            return m_Hotspots[item.imageIndex] = std::move(picture);
        m_Last = std::move(picture);
        return m_Last;
    }

    void WritePicture(std::string& out, const SRichItem& item)
    {
        const SRtfPicture& picture = PictureOf(item);
        if (picture.png.empty())
            return;
        const int width = picture.width;
        const int height = picture.height;
        out += "{\\pict\\pngblip\\picw" + Num(width) + "\\pich" + Num(height) + "\\picwgoal" +
               Num(ToTwips(width)) + "\\pichgoal" + Num(ToTwips(height)) + "\n";
        static const char* const kHex = "0123456789abcdef";
        for (std::size_t i = 0; i < picture.png.size(); ++i)
        {
            const auto b = static_cast<unsigned char>(picture.png[i]);
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
            if (i % 64 == 63)
                out += '\n';
        }
        out += "}";
    }

    // The widest picture among the items of a cell, in pixels.
    int WidestPicture(const RichContent& content)
    {
        int widest = 0;
        for (const SRichItem& item : content.items)
            if (item.IsPicture() || item.styleNo == kRichStyleHotspot)
                widest = std::max(widest, PictureOf(item).width);
        return widest;
    }

    // The column edges of a table, in twips from the left margin: the widths the cells of its first row
    // ask for, each at least as wide as the pictures its cells hold.
    std::vector<int> ColumnEdges(const RichTable& table)
    {
        const int tableWidth = table.bestWidth < 0   ? kTextWidth * std::min(-table.bestWidth, 100) / 100
                               : table.bestWidth > 0 ? std::min(ToTwips(table.bestWidth), kTextWidth)
                                                     : kTextWidth;
        std::size_t columns = 0;
        for (const auto& row : table.rows)
            columns = std::max(columns, row.size());
        const int padding = 2 * ToTwips(table.cellPadding);
        std::vector<int> least(columns, 2 * kTwipsPerPixel);
        for (const auto& row : table.rows)
            for (std::size_t c = 0; c < row.size(); ++c)
                least[c] = std::max(least[c], ToTwips(WidestPicture(row[c].content)) + padding);
        std::vector<int> widths(columns, 0);
        int fixed = 0;
        int automatic = 0;
        const auto& first = table.rows.front();
        for (std::size_t c = 0; c < columns; ++c)
        {
            const int best = c < first.size() ? first[c].bestWidth : 0;
            widths[c] = best > 0 ? ToTwips(best) : best < 0 ? tableWidth * std::min(-best, 100) / 100 : 0;
            if (best == 0)
                ++automatic;
            else
                widths[c] = std::max(widths[c], least[c]);
            fixed += widths[c];
        }
        const int rest = std::max(0, tableWidth - fixed);
        std::vector<int> edges;
        int x = 0;
        for (std::size_t c = 0; c < columns; ++c)
        {
            const bool isAutomatic = (c < first.size() ? first[c].bestWidth : 0) == 0;
            x += isAutomatic ? std::max(automatic > 0 ? rest / automatic : 0, least[c]) : widths[c];
            edges.push_back(x);
        }
        return edges;
    }

    void WriteTable(std::string& out, const RichTable& table)
    {
        const int padding = ToTwips(table.cellPadding);
        const int border =
            table.cellBorderWidth > 0 ? std::max(1, table.cellBorderWidth) * kTwipsPerPixel : 0;
        // Rows stand apart as the table's spacing sets them apart on screen.
        const int spacing = ToTwips(table.borderVSpacing) / 2 + padding;
        const std::vector<int> edges = ColumnEdges(table);
        for (int r = 0; r < table.RowCount(); ++r)
        {
            const auto& cells = table.rows[static_cast<std::size_t>(r)];
            out += "\\trowd\\trgaph" + Num(padding) + "\\trleft0\\trpaddt" + Num(spacing) + "\\trpaddb" +
                   Num(spacing) + "\\trpaddft3\\trpaddfb3";
            for (std::size_t c = 0; c < cells.size(); ++c)
            {
                const SRichCell& cell = cells[c];
                if (cell.vAlign == RichCellVAlign::Center)
                    out += "\\clvertalc";
                else if (cell.vAlign == RichCellVAlign::Bottom)
                    out += "\\clvertalb";
                if (border > 0)
                    for (const char* side : {"t", "l", "b", "r"})
                        out += std::string("\\clbrdr") + side + "\\brdrs\\brdrw" + Num(border);
                const RichColor colour = cell.color != kNoColor ? cell.color : table.color;
                if (const int index = ColourIndex(colour))
                    out += "\\clcbpat" + Num(index);
                out += "\\cellx" + Num(edges[c]);
            }
            out += "\n";
            for (const SRichCell& cell : cells)
            {
                WriteContent(out, cell.content, true);
                out += "\\cell\n";
            }
            out += "\\row\n";
        }
    }

    // The items as paragraphs. In a table cell the last paragraph is closed by the caller's \cell, and a
    // table inside a cell gives its cells' contents as paragraphs of that cell.
    void WriteContent(std::string& out, const RichContent& content, bool inTable)
    {
        bool open = false;
        for (const SRichItem& item : content.items)
        {
            if (item.IsTable())
            {
                if (open)
                    out += "\\par\n";
                open = false;
                if (!inTable)
                {
                    WriteTable(out, *item.table);
                    continue;
                }
                bool first = true;
                for (const auto& row : item.table->rows)
                    for (const SRichCell& cell : row)
                    {
                        if (!first)
                            out += "\\par\n";
                        first = false;
                        WriteContent(out, cell.content, true);
                    }
                open = !first;
                continue;
            }
            if (!open || item.newParagraph)
            {
                if (open)
                    out += "\\par\n";
                out += ParagraphStart(item.paraNo, inTable);
                open = true;
            }
            else if (item.lineBreak)
                out += "\\line ";
            if (item.IsText())
                WriteRun(out, item);
            else
                WritePicture(out, item);
        }
        if (!open)
            out += ParagraphStart(0, inTable);
        else if (!inTable)
            out += "\\par\n";
    }

    const RichDocument& m_Doc;
    const RtfPictureSource& m_Pictures;
    std::map<int, SRtfPicture> m_Hotspots;
    SRtfPicture m_Last;
    std::vector<std::string> m_Fonts;
    std::vector<RichColor> m_Colours;
};

// Breaks one line into pieces of at most width characters, at the last blank where there is one.
void AppendWrapped(std::string& out, std::string_view line, int width)
{
    while (true)
    {
        // Byte offsets of the first width + 1 characters.
        std::vector<std::size_t> starts;
        std::size_t at = 0;
        while (at < line.size() && static_cast<int>(starts.size()) <= width)
        {
            starts.push_back(at);
            NextCodePoint(line, at);
        }
        if (width < 1 || static_cast<int>(starts.size()) <= width)
        {
            out.append(line);
            out += '\n';
            return;
        }
        std::size_t cut = starts[static_cast<std::size_t>(width)];
        const std::size_t blank = line.substr(0, cut + 1).find_last_of(' ');
        std::size_t next = cut;
        if (blank != std::string_view::npos && blank > 0)
        {
            cut = blank;
            next = blank + 1;
        }
        out.append(line.substr(0, cut));
        out += '\n';
        line.remove_prefix(next);
    }
}

bool SaveBytes(const std::string& path, const std::string& bytes, std::string* error)
{
    lf::sys::AtomicFileWriter writer(path);
    if (!writer.Open(error))
        return false;
    if (!writer.Write(bytes))
    {
        if (error)
            *error = "cannot write " + path;
        return false;
    }
    return writer.Commit(error);
}

} // namespace

bool PngSize(const std::string& png, int& width, int& height)
{
    static constexpr std::string_view kSignature = "\x89PNG\r\n\x1a\n";
    if (png.size() < 24 || std::string_view(png).substr(0, 8) != kSignature ||
        png.compare(12, 4, "IHDR") != 0)
        return false;
    const auto field = [&](std::size_t at)
    {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < 4; ++i)
            v = (v << 8) | static_cast<unsigned char>(png[at + i]);
        return v;
    };
    const std::uint32_t w = field(16);
    const std::uint32_t h = field(20);
    if (w == 0 || h == 0 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

std::string WriteRtf(const RichDocument& doc, const RtfPictureSource& pictures)
{
    return CRtfWriter(doc, pictures).Write();
}

std::string WriteRichText(const RichDocument& doc, int lineWidth)
{
    const std::string plain = RichPlainText(doc.content);
    std::string out;
    std::size_t start = 0;
    while (start <= plain.size())
    {
        std::size_t end = plain.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = plain.size();
        AppendWrapped(out, std::string_view(plain).substr(start, end - start), lineWidth);
        if (end == plain.size())
            break;
        start = end + (plain.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return out;
}

bool SaveRtfFile(const std::string& path, const RichDocument& doc, const RtfPictureSource& pictures,
                 std::string* error)
{
    return SaveBytes(path, WriteRtf(doc, pictures), error);
}

bool SaveTextFile(const std::string& path, const RichDocument& doc, int lineWidth, std::string* error)
{
    return SaveBytes(path, WriteRichText(doc, lineWidth), error);
}

} // namespace lf
