// The read-only rich-text view: shows a RichDocument in its style sheet, answers hit tests with the
// item under a point and the list that holds it, and gives the scroll figures the answer tables need.
// The document stays the source of truth; after changing it the caller asks for Format (or, for one
// table cell, RepaintCell).
#pragma once

#include "platform/qt/RichTextConvert.h"
#include "platform/richtext/RichDocument.h"

#include <QTextEdit>
#include <QTextTable>

#include <string>
#include <vector>

namespace lf::qt
{

// What lies under a point of a view.
struct SRichHit
{
    int item = -1;  // the item in its list (the document's, or the cell's); -1: none under the point
    int table = -1; // the table item whose cell holds the point (in its own list); -1: the document
    int row = -1;
    int col = -1;
    std::string tag;   // the item's tag
    bool link = false; // the item is a hyperlink: a jump-style run or a hot picture

    bool InCell() const { return table >= 0; }
};

// Pixels of one vertical scroll step.
inline constexpr int kRichScrollStep = 10;

class RichView : public QTextEdit
{
    Q_OBJECT

public:
    explicit RichView(QWidget* parent = nullptr);
    ~RichView() override;

    // The document shown: the view's own, or the one bound to it.
    RichDocument& Document();
    // Shows another document (borrowed; it must outlive the binding); nullptr: the view's own again.
    void Bind(RichDocument* doc);
    // Draws with another style sheet than the document's own (borrowed); nullptr: the document's own.
    void UseStyleSheet(const RichStyleSheet* sheet);
    // Redraws the whole document from the model and lays it out again (an editor keeps its edits).
    void Format();
    // Redraws one table cell of a top-level table item (colour, hint, content) from the model.
    void RepaintCell(int table, int row, int col);

    // Text sizes are drawn at the stored size plus this step (at least 1 point); the sheet is not touched.
    void SetZoomStep(int step);
    int ZoomStep() const { return m_Options.zoomStep; }
    // The pictures hotspots show, by image number.
    void SetHotspotImages(std::vector<QImage> images);

    // The item under a point of the viewport (a mouse position), and its list.
    SRichHit HitTest(QPoint viewportPos) const;
    // Rectangle of a top-level item in document coordinates; empty for an unknown item.
    QRect ItemRect(int item) const;
    // Rectangle of a cell of a top-level table item in document coordinates; empty when there is none.
    QRect CellRect(int table, int row, int col) const;

    // Scrolling, in steps of kRichScrollStep pixels.
    // True when the content is taller than the viewport (the vertical scroll bar shows).
    bool IsVScrollBarVisible() const;
    // The scroll position in steps; at the very bottom it is VScrollMax().
    int VScrollPos() const;
    // Scrolls to a position in steps, kept between 0 and the maximum.
    void SetVScrollPos(int steps);
    // The largest position in steps: the content height less the client height, rounded up.
    int VScrollMax() const;
    // Pixels of one step.
    int VSmallStep() const { return kRichScrollStep; }
    // Height of the visible part of the view in pixels.
    int ClientHeight() const;
    // Height of the laid-out document in pixels.
    int DocumentHeight() const;

signals:
    // A mouse button went down or up over the viewport (position in viewport coordinates).
    void RVMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    void RVMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint pos);
    // A hyperlink was clicked: its tag.
    void Jump(const QString& tag);

protected:
    // Brings the model up to date with the drawn document (the editor reads its edits back here).
    virtual void SyncModel() {}
    // The index in its list of the item a drawn character belongs to.
    virtual int ItemIndexAt(int position, const QTextCharFormat& format) const;
    // The index in its list of a drawn table.
    virtual int TableIndexOf(const QTextTable& table) const;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;

    struct SCharHit
    {
        int position = -1; // the character under the point
        QTextCharFormat format;
    };
    SCharHit CharAt(QPoint viewportPos, bool nearestInCell) const;
    // The caret position nearest to a viewport point; -1 for an empty view.
    int NearestPosition(QPoint viewportPos) const;
    // The innermost table cell under a viewport point (invalid outside tables).
    QTextTableCell CellAt(QPoint viewportPos) const;
    // Draws the model into the Qt document, without reading edits back first.
    void Redraw();
    // The drawn table of a top-level table item.
    QTextTable* TopLevelTable(int item) const;
    void SetHover(const SCharHit& hit);

    RichDocument m_OwnDoc;
    RichDocument* m_Doc = &m_OwnDoc;
    const RichStyleSheet* m_Sheet = nullptr;
    SRichRenderOptions m_Options;
    std::vector<SRichItemSpan> m_Spans;
    bool m_Formatting = false;
    int m_DrawCount = 0;       // whole redraws so far
    bool m_SpansStale = false; // the drawn document no longer matches the spans (the editor changed it)
    int m_HoverStart = -1;
    QString m_PressedLink;
};

} // namespace lf::qt
