#include "platform/richtext/RichStyleSheet.h"

#include <algorithm>

namespace lf
{

bool SRichTextStyle::SameFont(const SRichTextStyle& o) const
{
    return fontName == o.fontName && size == o.size && charSet == o.charSet && color == o.color &&
           backColor == o.backColor && bold == o.bold && italic == o.italic && underline == o.underline &&
           strikeOut == o.strikeOut && jump == o.jump && subSuper == o.subSuper;
}

bool SRichParaStyle::SameLayout(const SRichParaStyle& o) const
{
    return align == o.align && border == o.border && borderWidth == o.borderWidth &&
           borderColor == o.borderColor && backColor == o.backColor;
}

namespace
{

SRichTextStyle MakeText(const char* name, RichColor color, bool bold, bool italic, bool underline, bool jump)
{
    SRichTextStyle s;
    s.name = name;
    s.color = color;
    s.bold = bold;
    s.italic = italic;
    s.underline = underline;
    s.jump = jump;
    return s;
}

} // namespace

RichStyleSheet RichStyleSheet::Default()
{
    RichStyleSheet sheet;
    sheet.textStyles = {
        MakeText("Normal text", 0x000000, false, false, false, false),
        MakeText("Heading", 0xFF0000, true, false, false, false),
        MakeText("Subheading", 0x800000, true, false, false, false),
        MakeText("Keywords", 0x000080, false, true, false, false),
        MakeText("Jump 1", 0x008000, false, false, true, true),
        MakeText("Jump 2", 0x008000, false, false, true, true),
    };
    SRichParaStyle centered;
    centered.name = "Centered";
    centered.align = RichAlign::Center;
    sheet.paraStyles = {SRichParaStyle{}, centered};
    return sheet;
}

RichStyleSheet RichStyleSheet::Display()
{
    RichStyleSheet sheet = Default();
    SRichParaStyle framed;
    framed.name = "Framed";
    framed.border = RichBorderStyle::Single;
    framed.borderWidth = 5;
    framed.backColor = 0x0000FF;
    sheet.paraStyles.push_back(framed);
    return sheet;
}

int RichStyleSheet::FindTextStyle(const SRichTextStyle& style) const
{
    for (int i = 0; i < TextStyleCount(); ++i)
        if (textStyles[i].SameFont(style))
            return i;
    return -1;
}

int RichStyleSheet::FindParaStyle(const SRichParaStyle& style) const
{
    for (int i = 0; i < ParaStyleCount(); ++i)
        if (paraStyles[i].SameLayout(style))
            return i;
    return -1;
}

int RichStyleSheet::FindOrAddTextStyle(const SRichTextStyle& style)
{
    const int found = FindTextStyle(style);
    if (found >= 0)
        return found;
    textStyles.push_back(style);
    textStyles.back().standard = false;
    return TextStyleCount() - 1;
}

int RichStyleSheet::FindOrAddParaStyle(const SRichParaStyle& style)
{
    const int found = FindParaStyle(style);
    if (found >= 0)
        return found;
    paraStyles.push_back(style);
    paraStyles.back().standard = false;
    return ParaStyleCount() - 1;
}

void RichStyleSheet::ShiftFontSizes(int delta)
{
    for (auto& s : textStyles)
        s.size = std::max(1, s.size + delta);
}

int RichStyleSheet::GetMinFontSize() const
{
    if (textStyles.empty())
        return -1;
    int smallest = textStyles.front().size;
    for (const auto& s : textStyles)
        smallest = std::min(smallest, s.size);
    return smallest;
}

namespace
{

template <class Style>
void PurgeList(std::vector<Style>& styles, const std::vector<bool>& used, std::vector<int>& map)
{
    map.assign(styles.size(), -1);
    std::vector<Style> kept;
    for (std::size_t i = 0; i < styles.size(); ++i)
    {
        const bool isUsed = i < used.size() && used[i];
        if (i == 0 || isUsed || styles[i].standard)
        {
            map[i] = static_cast<int>(kept.size());
            kept.push_back(std::move(styles[i]));
        }
    }
    styles = std::move(kept);
}

} // namespace

void RichStyleSheet::Purge(const std::vector<bool>& textUsed, const std::vector<bool>& paraUsed,
                           std::vector<int>& textMap, std::vector<int>& paraMap)
{
    PurgeList(textStyles, textUsed, textMap);
    PurgeList(paraStyles, paraUsed, paraMap);
}

} // namespace lf
