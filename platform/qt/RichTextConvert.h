// The one conversion between a RichDocument and the QTextDocument that the rich-text widgets draw.
// Every piece of the drawn document carries where it came from in user properties of its formats
// (item index, styles, tag, picture bytes, table and cell settings), so the widgets can answer hit
// tests and an edited QTextDocument can be read back into items. Needs QtGui only.
#pragma once

#include "platform/qt/QtFormat.h"
#include "platform/richtext/RichDocument.h"

#include <QImage>
#include <QTextFormat>

#include <vector>

class QTextCursor;
class QTextDocument;
class QTextTable;

namespace lf::qt
{

// User properties of the formats of a drawn document.
namespace richprop
{
enum : int
{
    ItemIndex = QTextFormat::UserProperty + 1, // index of the item in its list (document or cell)
    TextStyle, // char formats of text runs; block char formats of empty paragraphs
    ParaStyle, // block formats of the paragraphs that items start (filler blocks have none)
    Tag,
    ItemKind, // style number of pictures, hot pictures and hotspots
    PictureData,
    PictureFormat,
    PictureSource,
    ItemName,
    PictureWidth,
    PictureHeight,
    PictureVAlign,
    ImageIndex,
    TableSettings, // list of the table's own settings, in RichTable member order
    CellColor,
    CellHint,
    CellVAlign,
    CellWidth,
    BorderFrame, // a frame drawing the border of paragraphs of one bordered style
    ItemPara,    // paragraph style of an item that continues a paragraph
    ViewColor,   // root frame: the view's colour and background kind
    ViewBackground,
};
}

// How a document is drawn: the zoom step added to every text size (never below 1 point) and the
// pictures of hotspots (the window's image list; a missing number draws an empty square).
struct SRichRenderOptions
{
    int zoomStep = 0;
    std::vector<QImage> hotspotImages;
};

// Where each item of the top-level list stands in the drawn document: [start, end) in positions.
struct SRichItemSpan
{
    int start = 0;
    int end = 0;
};

// Where an item of any list (the document's or a cell's) stands, with its index in that list, in
// document order (a table comes before the items of its cells).
struct SRichItemPlace
{
    int start = 0;
    int end = 0;
    int item = 0;
    bool table = false;
};

// Replaces the QTextDocument's content with the document's content drawn in the sheet (the
// document's own sheet unless another is given), with its margins. Returns the item spans.
std::vector<SRichItemSpan> RichToTextDocument(const RichDocument& doc, QTextDocument& out,
                                              const SRichRenderOptions& options,
                                              const RichStyleSheet* sheet = nullptr);

// Inserts items at a cursor in the sheet's styles; the first item continues the cursor's block
// unless that block already has text and the item starts a paragraph. Pictures are registered as
// resources of the cursor's document.
void InsertRichContent(QTextCursor& cursor, const RichContent& content, const RichStyleSheet& sheet,
                       const SRichRenderOptions& options);

// Redraws one cell of a drawn table from the model's cell: colour, alignment, hint and content.
void RedrawCell(QTextTable& table, int row, int col, const SRichCell& cell, const RichStyleSheet& sheet,
                const SRichRenderOptions& options);

// Reads a drawn (and possibly edited) QTextDocument back into the document's content and margins.
// Runs keep the style they were drawn in while they look like it; any other look is found in the
// document's sheet or added to it. Returns the item spans of the top-level list; places, when given,
// receives the places of the items of every list.
std::vector<SRichItemSpan> TextDocumentToRich(const QTextDocument& in, RichDocument& doc, int zoomStep,
                                              std::vector<SRichItemPlace>* places = nullptr);

} // namespace lf::qt
