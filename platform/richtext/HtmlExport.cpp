#include "platform/richtext/HtmlExport.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"

#include <array>
#include <filesystem>

namespace lf
{

namespace
{

void AppendEscaped(std::string& out, char ch)
{
    switch (ch)
    {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    default:
        out += ch;
        break;
    }
}

std::string Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text)
        AppendEscaped(out, ch);
    return out;
}

std::string CssColor(RichColor c)
{
    const unsigned rgb = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    std::string out = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        out += lf::sys::HexDigit(rgb >> shift);
    return out;
}

std::string Extension(const std::string& format)
{
    if (format == "jpeg" || format == "jpg")
        return ".jpg";
    if (format.empty())
        return ".bin";
    return "." + format;
}

class Exporter
{
public:
    Exporter(const RichDocument& doc, const SHtmlExportOptions& options, std::vector<std::string>* written)
        : m_doc(doc), m_options(options), m_written(written)
    {
    }

    bool ok = true;

    void Content(const RichContent& content, std::string& out)
    {
        bool open = false;
        for (const SRichItem& item : content.items)
        {
            if (item.IsTable())
            {
                if (open)
                    out += "</p>\n";
                open = false;
                Table(*item.table, out);
                continue;
            }
            if (item.newParagraph || !open)
            {
                if (open)
                    out += "</p>\n";
                out += "<p style=\"margin:0";
                if (m_doc.styles.HasParaStyle(item.paraNo))
                    ParaCss(m_doc.styles.paraStyles[item.paraNo], out);
                out += "\">";
                open = true;
                StartLine();
            }
            else if (item.lineBreak)
            {
                out += "<br>";
                StartLine();
            }
            Item(item, out);
        }
        if (open)
            out += "</p>\n";
    }

private:
    static void ParaCss(const SRichParaStyle& p, std::string& out)
    {
        static constexpr const char* kAlign[] = {"left", "right", "center", "justify"};
        if (p.align != RichAlign::Left)
            out += std::string(";text-align:") + kAlign[static_cast<int>(p.align)];
        if (p.backColor != kNoColor)
            out += ";background-color:" + CssColor(p.backColor);
        if (p.border != RichBorderStyle::None)
            out += ";border:" + lf::sys::NumberText(p.borderWidth) + "px " +
                   (p.border == RichBorderStyle::Double ? "double " : "solid ") + CssColor(p.borderColor);
    }

    static std::string TextCss(const SRichTextStyle& s)
    {
        std::string css = "font-family:'" + Escape(s.fontName) +
                          "';font-size:" + lf::sys::NumberText(s.size) + "pt;color:" + CssColor(s.color);
        if (s.backColor != kNoColor)
            css += ";background-color:" + CssColor(s.backColor);
        if (s.bold)
            css += ";font-weight:bold";
        if (s.italic)
            css += ";font-style:italic";
        if (s.underline || s.strikeOut)
            css += std::string(";text-decoration:") + (s.underline ? "underline" : "") +
                   (s.underline && s.strikeOut ? " " : "") + (s.strikeOut ? "line-through" : "");
        if (s.subSuper == RichSubSuper::Super)
            css += ";vertical-align:super";
        else if (s.subSuper == RichSubSuper::Sub)
            css += ";vertical-align:sub";
        return css;
    }

    void Item(const SRichItem& item, std::string& out)
    {
        const bool link = !item.tag.empty() && (item.styleNo == kRichStyleHotPicture ||
                                                (item.IsText() && m_doc.styles.HasTextStyle(item.styleNo) &&
                                                 m_doc.styles.textStyles[item.styleNo].jump));
        if (link)
            out += "<a href=\"" + Escape(item.tag) + "\">";
        if (item.IsText())
        {
            const SRichTextStyle style = m_doc.styles.HasTextStyle(item.styleNo)
                                             ? m_doc.styles.textStyles[item.styleNo]
                                             : SRichTextStyle{};
            out += "<span style=\"" + TextCss(style) + "\">";
            Text(item.text, out);
            out += "</span>";
        }
        else if (item.IsPicture())
        {
            Picture(item, out);
            m_lineStart = m_blankBefore = false;
        }
        if (link)
            out += "</a>";
    }

    void StartLine()
    {
        m_lineStart = true;
        m_blankBefore = false;
    }

    // The text escaped, its blanks written so that a browser (and our importer) keeps them: a blank at
    // the start of a line or right after another blank is a no-break space, as quiz editors write them,
    // so a run of blanks alternates between the two and never collapses. The line state runs on over the
    // spans of one line.
    void Text(const std::string& text, std::string& out)
    {
        for (const char ch : text)
        {
            if (ch == ' ')
            {
                const bool keep = m_lineStart || m_blankBefore;
                out += keep ? "&nbsp;" : " ";
                m_blankBefore = !keep;
            }
            else
            {
                AppendEscaped(out, ch);
                m_blankBefore = false;
            }
            m_lineStart = false;
        }
    }

    void Picture(const SRichItem& item, std::string& out)
    {
        if (item.picture.Empty())
            return;
        const std::filesystem::path folder = m_options.pictureFolder.empty()
                                                 ? std::filesystem::path(".")
                                                 : std::filesystem::path(m_options.pictureFolder);
        const std::string ext = Extension(item.picture.format);
        std::string name;
        std::error_code ec;
        for (;;)
        {
            name = m_options.picturePrefix + lf::sys::NumberText(++m_counter) + ext;
            if (!std::filesystem::exists(folder / name, ec))
                break;
        }
        if (lf::sys::WriteFileAtomically((folder / name).string(), item.picture.data))
        {
            if (m_written)
                m_written->push_back((folder / name).string());
        }
        else
            ok = false;
        out += "<img src=\"" + Escape(name) + "\"";
        if (item.width > 0)
            out += " width=\"" + lf::sys::NumberText(item.width) + "\"";
        if (item.height > 0)
            out += " height=\"" + lf::sys::NumberText(item.height) + "\"";
        out += " alt=\"\">";
    }

    void Table(const RichTable& table, std::string& out)
    {
        out += "<table border=\"" + lf::sys::NumberText(table.borderWidth) + "\" cellpadding=\"" +
               lf::sys::NumberText(table.cellPadding) + "\" cellspacing=\"" +
               lf::sys::NumberText(table.borderHSpacing) + "\"";
        if (table.bestWidth < 0)
            out += " width=\"" + lf::sys::NumberText(-table.bestWidth) + "%\"";
        else if (table.bestWidth > 0)
            out += " width=\"" + lf::sys::NumberText(table.bestWidth) + "\"";
        if (table.color != kNoColor)
            out += " bgcolor=\"" + CssColor(table.color) + "\"";
        out += ">\n";
        for (const auto& row : table.rows)
        {
            out += "<tr>";
            for (const SRichCell& cell : row)
            {
                out += "<td";
                if (cell.color != kNoColor)
                    out += " bgcolor=\"" + CssColor(cell.color) + "\"";
                if (cell.vAlign == RichCellVAlign::Top)
                    out += " valign=\"top\"";
                else if (cell.vAlign == RichCellVAlign::Center)
                    out += " valign=\"middle\"";
                else if (cell.vAlign == RichCellVAlign::Bottom)
                    out += " valign=\"bottom\"";
                if (cell.bestWidth > 0)
                    out += " width=\"" + lf::sys::NumberText(cell.bestWidth) + "\"";
                else if (cell.bestWidth < 0)
                    out += " width=\"" + lf::sys::NumberText(-cell.bestWidth) + "%\"";
                out += ">";
                Content(cell.content, out);
                out += "</td>";
            }
            out += "</tr>\n";
        }
        out += "</table>\n";
    }

    const RichDocument& m_doc;
    const SHtmlExportOptions& m_options;
    std::vector<std::string>* m_written;
    int m_counter = 0;
    bool m_lineStart = true;    // nothing written yet on the current line
    bool m_blankBefore = false; // the last character written was a blank that HTML collapses
};

} // namespace

bool ExportHtml(const RichDocument& doc, const SHtmlExportOptions& options, std::string& html,
                std::vector<std::string>* written)
{
    Exporter exporter(doc, options, written);
    std::string body;
    exporter.Content(doc.content, body);
    html = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escape(options.title) +
           "</title>\n</head>\n<body>\n" + body + "</body>\n</html>\n";
    return exporter.ok;
}

} // namespace lf
