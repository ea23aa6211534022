// The content of a rich-text view: a list of items (text runs, pictures, hot pictures, hotspots, tables),
// each starting a paragraph or continuing the one before it, with a style sheet and the view's settings.
// The hidden views of the main window are plain RichDocuments; the widgets show one through Qt.
#pragma once

#include "platform/richtext/RichStyleSheet.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lf
{

// Style numbers of the items that are not text runs (a text run has its text style number, >= 0).
inline constexpr int kRichStylePicture = -3;
inline constexpr int kRichStyleHotspot = -4;     // a picture of the window's image list, clickable
inline constexpr int kRichStyleHotPicture = -10; // a picture that is a hyperlink
inline constexpr int kRichStyleTable = -60;

enum class RichPictureAlign
{
    Baseline,
    Middle,
    Top,
    Bottom,
};

enum class RichCellVAlign
{
    Default,
    Top,
    Center,
    Bottom,
};

// A picture as its file bytes and their format ("png", "jpeg", "gif", "bmp", "ico", "svg", ...).
struct SRichPicture
{
    std::string data;
    std::string format;

    bool Empty() const { return data.empty(); }
    friend bool operator==(const SRichPicture&, const SRichPicture&) = default;
};

class RichTable;

struct SRichItem
{
    SRichItem();
    ~SRichItem();
    SRichItem(const SRichItem& other);
    SRichItem(SRichItem&&) noexcept;
    SRichItem& operator=(const SRichItem& other);
    SRichItem& operator=(SRichItem&&) noexcept;

    int styleNo = 0;
    int paraNo = 0;
    bool newParagraph = true; // false: continues the paragraph of the item before
    bool lineBreak = false;   // continues the paragraph on a new line
    std::string text;         // text runs
    std::string tag;          // a hyperlink's target, or a caller's mark ("Answer")
    std::string name;         // item name of pictures, hotspots and tables
    // Pictures and hot pictures.
    SRichPicture picture;
    std::string source; // where the picture came from (file or address), for exports
    int width = 0;      // display size in pixels; below 1 means the picture's own size
    int height = 0;
    RichPictureAlign vAlign = RichPictureAlign::Baseline;
    // Hotspots: the picture number in the window's image list.
    int imageIndex = 0;
    // Tables.
    std::unique_ptr<RichTable> table;

    bool IsText() const { return styleNo >= 0; }
    bool IsPicture() const { return styleNo == kRichStylePicture || styleNo == kRichStyleHotPicture; }
    bool IsTable() const { return styleNo == kRichStyleTable && table != nullptr; }
    // Starts a new line, as a paragraph or as a line break.
    bool StartsLine() const { return newParagraph || lineBreak; }

    friend bool operator==(const SRichItem& a, const SRichItem& b);
};

// A place in a list of items. Text runs count offsets in bytes from 1 (before the first byte) to
// size + 1 (after the last); any other item has 0 (before it) and 1 (after it).
struct SRichPosition
{
    int item = 0;
    int offset = 0;
    friend auto operator<=>(const SRichPosition&, const SRichPosition&) = default;
};

struct SRichSelection
{
    SRichPosition start;
    SRichPosition end;
    friend bool operator==(const SRichSelection&, const SRichSelection&) = default;
};

// A list of items: the body of a document, or the content of one table cell.
class RichContent
{
public:
    std::vector<SRichItem> items;

    int Count() const { return static_cast<int>(items.size()); }
    bool Empty() const { return items.empty(); }
    void Clear() { items.clear(); }

    // Adds a text as paragraphs: every CR LF, LF or CR starts a new paragraph in the same styles.
    // The first line starts a paragraph when newParagraph is set, else continues the last one.
    void AddTextLines(const std::string& text, int styleNo, int paraNo, bool newParagraph = true);
    // Adds one text run (no line breaks inside).
    SRichItem& AddText(const std::string& text, int styleNo, int paraNo, bool newParagraph = true);
    SRichItem& AddPicture(SRichPicture picture, int width, int height, int paraNo, bool newParagraph,
                          bool hot = false);
    SRichItem& AddHotspot(int imageIndex, int paraNo, bool newParagraph);
    SRichItem& AddTable(RichTable table, const std::string& name, int paraNo);

    // Copies the items between two positions, cutting text runs; the copy starts a paragraph.
    RichContent CopyRange(SRichPosition start, SRichPosition end) const;
    // Appends another list of items, renumbering their styles through the maps (old number -> new
    // number; a number outside a map becomes 0). The first appended item starts a paragraph, in
    // paragraph style firstParaNo when that is 0 or more.
    void Append(const RichContent& other, const std::vector<int>& textMap, const std::vector<int>& paraMap,
                int firstParaNo = -1);

    // Marks the styles that items use, table cells included (vectors grow as needed).
    void MarkUsedStyles(std::vector<bool>& textUsed, std::vector<bool>& paraUsed) const;
    // Renumbers styles through the maps; an unmapped number becomes 0.
    void RemapStyles(const std::vector<int>& textMap, const std::vector<int>& paraMap);
    // Gives every item a style that exists in a sheet of that many styles (0 otherwise).
    void ClampStyles(int textCount, int paraCount);

    friend bool operator==(const RichContent&, const RichContent&) = default;
};

struct SRichCell
{
    RichContent content;
    RichColor color = kNoColor;
    std::string hint; // the answer tables keep the answer's index here
    RichCellVAlign vAlign = RichCellVAlign::Default;
    int bestWidth = 0; // > 0 pixels, < 0 percent of the table, 0 automatic

    friend bool operator==(const SRichCell&, const SRichCell&) = default;
};

enum class RichTableBorder
{
    Raised,
    Lowered,
    Color,
    Flat,
};

// The most cells a table may have, counted as rows times its widest row (a ragged table is filled up
// to that). Answer tables and score reports stay far below (a hundred rows of a few columns); 100 x 100
// still takes a pasted spreadsheet page. Readers of outside data flatten a larger table to its cells'
// text, so the work of reading stays in proportion to the input: one row of N cells followed by N short
// rows would otherwise cost N x N cells.
inline constexpr std::size_t kMaxRichTableCells = 10000;

// Whether a table of these rows, the widest of them this many cells, stays within kMaxRichTableCells.
constexpr bool RichTableFits(std::size_t rows, std::size_t widestRow)
{
    return rows == 0 || widestRow <= kMaxRichTableCells / rows;
}

class RichTable
{
public:
    RichTable() = default;
    RichTable(int rowCount, int colCount);

    std::vector<std::vector<SRichCell>> rows;
    int bestWidth = 0; // > 0 pixels, < 0 percent of the view, 0 automatic
    int borderWidth = 1;
    int cellBorderWidth = 1;
    int cellPadding = 1;
    int borderVSpacing = 2;
    int borderHSpacing = 2;
    RichTableBorder borderStyle = RichTableBorder::Raised;
    RichTableBorder cellBorderStyle = RichTableBorder::Lowered;
    RichColor color = kNoColor;

    int RowCount() const { return static_cast<int>(rows.size()); }
    int ColCount() const { return rows.empty() ? 0 : static_cast<int>(rows.front().size()); }
    SRichCell& Cell(int row, int col) { return rows.at(row).at(col); }
    const SRichCell& Cell(int row, int col) const { return rows.at(row).at(col); }
    void AddRow();
    void DeleteLastRow();

    friend bool operator==(const RichTable&, const RichTable&) = default;
};

enum class RichBackground
{
    None,
    Color,
};

struct SRichViewSettings
{
    int leftMargin = 5;
    int rightMargin = 5;
    int topMargin = 5;
    int bottomMargin = 5;
    RichColor color = kNoColor;
    RichBackground background = RichBackground::None;

    friend bool operator==(const SRichViewSettings&, const SRichViewSettings&) = default;
};

class RichDocument
{
public:
    RichDocument();
    explicit RichDocument(RichStyleSheet sheet);

    RichStyleSheet styles;
    RichContent content;
    SRichViewSettings view;
    std::optional<SRichSelection> selection; // over the top-level items

    int ItemCount() const { return content.Count(); }
    bool Empty() const { return content.Empty(); }

    // Appends another document's content. Its text and paragraph styles are mapped into this sheet:
    // each takes the number of an equal style here, or is appended as a new one, so the content keeps
    // its look. The first appended item starts a paragraph (in firstParaNo when that is 0 or more).
    void AppendDocument(const RichDocument& other, int firstParaNo = -1);
    // The selected items as a document with this sheet; empty without a selection.
    RichDocument CopySelection() const;
    // Removes the text and paragraph styles that no item uses (standard ones and number 0 stay) and
    // renumbers the items.
    void PurgeUnusedStyles();

    friend bool operator==(const RichDocument&, const RichDocument&) = default;
};

} // namespace lf
