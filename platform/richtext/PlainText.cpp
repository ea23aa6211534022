#include "platform/richtext/PlainText.h"

#include "platform/sys/TextTrim.h"

namespace lf
{

void AppendRichPlainText(const RichContent& content, std::string& out)
{
    bool first = true;
    for (const SRichItem& item : content.items)
    {
        if (!first && item.StartsLine())
            out += "\r\n";
        first = false;
        if (item.IsText())
            out += item.text;
        else if (item.IsTable())
        {
            bool firstRow = true;
            for (const auto& row : item.table->rows)
            {
                if (!firstRow)
                    out += "\r\n";
                firstRow = false;
                bool firstCell = true;
                for (const SRichCell& cell : row)
                {
                    if (!firstCell)
                        out += '\t';
                    firstCell = false;
                    AppendRichPlainText(cell.content, out);
                }
            }
        }
    }
}

std::string RichPlainText(const RichContent& content)
{
    std::string out;
    AppendRichPlainText(content, out);
    return out;
}

} // namespace lf

void FlattenTabsAndLineBreaks(std::string& text, bool trim)
{
    std::string flat;
    flat.reserve(text.size());
    for (char ch : text)
    {
        if (ch == '\t')
            flat += "    ";
        else if (ch == '\r' || ch == '\n')
            flat += ' ';
        else
            flat += ch;
    }
    text = trim ? lf::sys::Trim(flat) : std::move(flat);
}
