// Text and paragraph styles of a rich-text view. Items refer to styles by number, so a sheet only ever
// grows at the end, except when unused styles are purged together with the renumbering of the items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lf
{

// Colours are Windows colour values: bytes blue-green-red (0xFF0000 is blue, 0x0000FF red).
using RichColor = std::uint32_t;
inline constexpr RichColor kNoColor = 0x1FFFFFFF;

enum class RichSubSuper
{
    Normal,
    Super,
    Sub,
};

struct SRichTextStyle
{
    std::string name = "Normal text";
    std::string fontName = "Arial";
    int size = 10; // points
    int charSet = 0;
    RichColor color = 0x000000;
    RichColor backColor = kNoColor;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool jump = false; // a hyperlink style: its runs carry their target as the item tag
    RichSubSuper subSuper = RichSubSuper::Normal;
    // Standard styles survive a purge of unused styles; styles added on the fly are not standard.
    bool standard = true;

    // Equal in every font property (name and the standard mark do not count).
    bool SameFont(const SRichTextStyle& other) const;
    friend bool operator==(const SRichTextStyle&, const SRichTextStyle&) = default;
};

enum class RichAlign
{
    Left,
    Right,
    Center,
    Justify,
};

enum class RichBorderStyle
{
    None,
    Single,
    Double,
};

struct SRichParaStyle
{
    std::string name = "Paragraph Style";
    RichAlign align = RichAlign::Left;
    RichBorderStyle border = RichBorderStyle::None;
    int borderWidth = 1;
    RichColor borderColor = 0x000000;
    RichColor backColor = kNoColor;
    bool standard = true;

    // Equal in every layout property (name and the standard mark do not count).
    bool SameLayout(const SRichParaStyle& other) const;
    friend bool operator==(const SRichParaStyle&, const SRichParaStyle&) = default;
};

class RichStyleSheet
{
public:
    // The sheet of the main window's views: text styles "Normal text" (Arial), "Heading" (bold, blue),
    // "Subheading" (bold, navy), "Keywords" (italic, maroon), "Jump 1" and "Jump 2" (underlined, green,
    // hyperlink); paragraph styles "Paragraph Style" and "Centered".
    static RichStyleSheet Default();
    // The read-only display view's sheet: the default one plus a bordered paragraph style on red.
    static RichStyleSheet Display();

    std::vector<SRichTextStyle> textStyles;
    std::vector<SRichParaStyle> paraStyles;

    int TextStyleCount() const { return static_cast<int>(textStyles.size()); }
    int ParaStyleCount() const { return static_cast<int>(paraStyles.size()); }
    bool HasTextStyle(int no) const { return no >= 0 && no < TextStyleCount(); }
    bool HasParaStyle(int no) const { return no >= 0 && no < ParaStyleCount(); }

    // Number of a text style equal in every font property to the given one; otherwise the style is
    // appended, marked non-standard, and its new number returned.
    int FindOrAddTextStyle(const SRichTextStyle& style);
    int FindOrAddParaStyle(const SRichParaStyle& style);
    int FindTextStyle(const SRichTextStyle& style) const; // -1 when none is equal
    int FindParaStyle(const SRichParaStyle& style) const;

    // Adds delta points to every text style; a size never drops below 1 point.
    void ShiftFontSizes(int delta);
    // Smallest size among the text styles; -1 for a sheet without text styles.
    int GetMinFontSize() const;

    // Removes the styles whose flags are false, except standard styles and style 0 of each kind.
    // The maps give, for every old number, the new number (-1 for a removed style).
    void Purge(const std::vector<bool>& textUsed, const std::vector<bool>& paraUsed,
               std::vector<int>& textMap, std::vector<int>& paraMap);

    friend bool operator==(const RichStyleSheet&, const RichStyleSheet&) = default;
};

} // namespace lf
