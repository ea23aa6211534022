#include "platform/qt/RichView.h"

#include "platform/qt/QtText.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextTable>
#include <QToolTip>

#include <algorithm>

namespace lf::qt
{

namespace
{

// Cell and table rectangles in document coordinates, taken from the laid-out blocks inside them
// (Qt's frame rectangle of a table is off by the position of its first cell).
QRectF FrameRect(QAbstractTextDocumentLayout* layout, QTextFrame* frame);

QRectF CellContentRect(QAbstractTextDocumentLayout* layout, const QTextTableCell& cell)
{
    QRectF rect;
    for (auto it = cell.begin(); !it.atEnd(); ++it)
    {
        const QRectF part = it.currentFrame() ? FrameRect(layout, it.currentFrame())
                                              : layout->blockBoundingRect(it.currentBlock());
        rect = rect.isNull() ? part : rect.united(part);
    }
    return rect;
}

QRectF CellRectOf(QAbstractTextDocumentLayout* layout, const QTextTable& table, int row, int col)
{
    const qreal padding = table.format().cellPadding();
    qreal top = 0, bottom = 0;
    for (int c = 0; c < table.columns(); ++c)
    {
        const QRectF rect = CellContentRect(layout, table.cellAt(row, c));
        top = c == 0 ? rect.top() : std::min(top, rect.top());
        bottom = c == 0 ? rect.bottom() : std::max(bottom, rect.bottom());
    }
    const QRectF own = CellContentRect(layout, table.cellAt(row, col));
    return QRectF(QPointF(own.left() - padding, top - padding),
                  QPointF(own.right() + padding, bottom + padding));
}

QRectF FrameRect(QAbstractTextDocumentLayout* layout, QTextFrame* frame)
{
    auto* table = qobject_cast<QTextTable*>(frame);
    if (!table)
        return layout->frameBoundingRect(frame);
    QRectF rect;
    for (int row = 0; row < table->rows(); ++row)
        for (int col = 0; col < table->columns(); ++col)
            rect = rect.united(CellRectOf(layout, *table, row, col));
    const QTextTableFormat format = table->format();
    const qreal edge = format.border() + format.cellSpacing();
    return rect.adjusted(-edge, -edge, edge, edge);
}

} // namespace

RichView::RichView(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setUndoRedoEnabled(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(kRichScrollStep);
    m_Doc->styles = RichStyleSheet::Default();
    Redraw();
}

RichView::~RichView() = default;

RichDocument& RichView::Document()
{
    SyncModel();
    return *m_Doc;
}

void RichView::Bind(RichDocument* doc)
{
    SyncModel();
    m_Doc = doc ? doc : &m_OwnDoc;
    Redraw();
}

void RichView::UseStyleSheet(const RichStyleSheet* sheet)
{
    SyncModel();
    m_Sheet = sheet;
    Redraw();
}

void RichView::Format()
{
    SyncModel();
    Redraw();
}

void RichView::Redraw()
{
    ++m_DrawCount;
    m_Formatting = true;
    m_HoverStart = -1;
    setExtraSelections({});
    const int scroll = verticalScrollBar()->value();
    const bool undo = document()->isUndoRedoEnabled();
    document()->setUndoRedoEnabled(false); // a new content starts a new history
    m_Spans = RichToTextDocument(*m_Doc, *document(), m_Options, m_Sheet);
    document()->setUndoRedoEnabled(undo);
    m_SpansStale = false;
    QPalette colours = viewport()->palette();
    const bool coloured = m_Doc->view.background == RichBackground::Color && m_Doc->view.color != kNoColor;
    const QColor base = coloured ? ToQColor(m_Doc->view.color) : QColor(255, 255, 255);
    if (colours.color(QPalette::Base) != base || colours.color(QPalette::Text) != QColor(0, 0, 0))
    {
        colours.setColor(QPalette::Base, base);
        colours.setColor(QPalette::Text, QColor(0, 0, 0));
        viewport()->setPalette(colours);
    }
    verticalScrollBar()->setValue(std::min(scroll, verticalScrollBar()->maximum()));
    m_Formatting = false;
}

QTextTable* RichView::TopLevelTable(int item) const
{
    // An editor reads its edits back first, so item numbers are those of the document now.
    const_cast<RichView*>(this)->SyncModel();
    if (m_SpansStale || item < 0 || item >= static_cast<int>(m_Spans.size()))
        return nullptr;
    const int start = m_Spans[item].start;
    QTextCursor cursor(document());
    cursor.setPosition(std::min(start + 1, document()->characterCount() - 1));
    for (QTextTable* table = cursor.currentTable(); table;)
    {
        if (table->firstPosition() - 1 == start)
            return table;
        QTextFrame* parent = table->parentFrame();
        table = nullptr;
        for (; parent && !table; parent = parent->parentFrame())
            table = qobject_cast<QTextTable*>(parent);
    }
    return nullptr;
}

void RichView::RepaintCell(int table, int row, int col)
{
    SyncModel();
    QTextTable* drawn = TopLevelTable(table);
    if (!drawn || table >= m_Doc->ItemCount() || !m_Doc->content.items[table].IsTable())
        return;
    const RichTable& model = *m_Doc->content.items[table].table;
    if (row < 0 || col < 0 || row >= model.RowCount() || col >= model.ColCount() || row >= drawn->rows() ||
        col >= drawn->columns())
        return;
    m_Formatting = true;
    const int before = document()->characterCount();
    RedrawCell(*drawn, row, col, model.Cell(row, col), m_Sheet ? *m_Sheet : m_Doc->styles, m_Options);
    const int delta = document()->characterCount() - before;
    if (delta != 0)
    {
        m_Spans[table].end += delta;
        for (std::size_t i = static_cast<std::size_t>(table) + 1; i < m_Spans.size(); ++i)
        {
            m_Spans[i].start += delta;
            m_Spans[i].end += delta;
        }
    }
    document()->clearUndoRedoStacks();
    m_Formatting = false;
    viewport()->update();
}

void RichView::SetZoomStep(int step)
{
    if (step == m_Options.zoomStep)
        return;
    SyncModel();
    m_Options.zoomStep = step;
    Redraw();
}

void RichView::SetHotspotImages(std::vector<QImage> images)
{
    SyncModel();
    m_Options.hotspotImages = std::move(images);
    Redraw();
}

int RichView::NearestPosition(QPoint viewportPos) const
{
    const QPointF docPos =
        QPointF(viewportPos) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(docPos, Qt::FuzzyHit);
}

QTextTableCell RichView::CellAt(QPoint viewportPos) const
{
    const int fuzzy = NearestPosition(viewportPos);
    if (fuzzy < 0)
        return {};
    QTextCursor probe(document());
    probe.setPosition(fuzzy);
    QTextTable* table = probe.currentTable();
    const QPointF docPos =
        QPointF(viewportPos) + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    if (!table || !FrameRect(document()->documentLayout(), table).contains(docPos))
        return {};
    return table->cellAt(fuzzy);
}

RichView::SCharHit RichView::CharAt(QPoint viewportPos, bool nearestInCell) const
{
    SCharHit hit;
    const int fuzzy = NearestPosition(viewportPos);
    if (fuzzy < 0)
        return hit;
    QTextCursor probe(document());
    // The character under the point is the one after or the one before the nearest caret position.
    for (const int position : {fuzzy, fuzzy - 1})
    {
        if (position < 0 || position >= document()->characterCount() - 1)
            continue;
        const QTextBlock block = document()->findBlock(position);
        if (position >= block.position() + block.length() - 1)
            continue; // the block's end
        probe.setPosition(position);
        const QRect caret = cursorRect(probe);
        probe.setPosition(position + 1);
        const QTextCharFormat format = probe.charFormat(); // of the character before the cursor
        const QRect next = cursorRect(probe);
        qreal right = next.left();
        if (next.top() != caret.top() || right <= caret.left())
        {
            const QChar ch = document()->characterAt(position);
            right =
                caret.left() + (format.isImageFormat() ? format.toImageFormat().width()
                                                       : QFontMetricsF(format.font()).horizontalAdvance(ch));
        }
        const QRectF box(QPointF(caret.left(), caret.top()), QPointF(right, caret.bottom() + 1));
        if (box.contains(viewportPos))
        {
            hit.position = position;
            hit.format = format;
            return hit;
        }
    }
    if (nearestInCell)
    {
        // Within a cell the nearest item counts, so a click anywhere in a cell names one.
        probe.setPosition(fuzzy);
        QTextTable* table = probe.currentTable();
        for (const int position : {fuzzy, fuzzy - 1})
        {
            if (!table || position < 0)
                continue;
            QTextCursor other(document());
            other.setPosition(position);
            if (other.currentTable() != table || table->cellAt(position) != table->cellAt(fuzzy))
                continue;
            const QTextBlock block = document()->findBlock(position);
            if (position >= block.position() + block.length() - 1)
                continue;
            other.setPosition(position + 1);
            hit.position = position;
            hit.format = other.charFormat();
            return hit;
        }
    }
    return hit;
}

int RichView::ItemIndexAt(int, const QTextCharFormat& format) const
{
    return format.intProperty(richprop::ItemIndex);
}

int RichView::TableIndexOf(const QTextTable& table) const
{
    return table.format().intProperty(richprop::ItemIndex);
}

SRichHit RichView::HitTest(QPoint viewportPos) const
{
    SRichHit hit;
    const QTextTableCell cell = CellAt(viewportPos);
    if (cell.isValid())
    {
        QTextCursor probe(document());
        probe.setPosition(cell.firstPosition());
        hit.table = TableIndexOf(*probe.currentTable());
        hit.row = cell.row();
        hit.col = cell.column();
    }
    const SCharHit ch = CharAt(viewportPos, hit.InCell());
    if (ch.position < 0 || !ch.format.hasProperty(richprop::ItemIndex))
        return hit;
    hit.item = ItemIndexAt(ch.position, ch.format);
    hit.tag = ToStdString(ch.format.property(richprop::Tag).toString());
    hit.link = ch.format.isAnchor();
    return hit;
}

QRect RichView::ItemRect(int item) const
{
    const_cast<RichView*>(this)->SyncModel();
    if (m_SpansStale || item < 0 || item >= static_cast<int>(m_Spans.size()))
        return {};
    const QPoint scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
    if (QTextTable* table = TopLevelTable(item))
        return FrameRect(document()->documentLayout(), table).toAlignedRect();
    const SRichItemSpan span = m_Spans[item];
    QTextCursor cursor(document());
    cursor.setPosition(span.start);
    const QRect first = cursorRect(cursor);
    cursor.setPosition(span.end);
    const QRect last = cursorRect(cursor);
    const QRect rect(
        QPoint(std::min(first.left(), last.left()), std::min(first.top(), last.top())),
        QPoint(std::max(first.left(), last.left()) - 1, std::max(first.bottom(), last.bottom())));
    return rect.translated(scroll);
}

QRect RichView::CellRect(int table, int row, int col) const
{
    QTextTable* drawn = TopLevelTable(table);
    if (!drawn || row < 0 || col < 0 || row >= drawn->rows() || col >= drawn->columns())
        return {};
    return CellRectOf(document()->documentLayout(), *drawn, row, col).toAlignedRect();
}

bool RichView::IsVScrollBarVisible() const
{
    return verticalScrollBar()->isVisible() || (verticalScrollBar()->maximum() > 0 && !isVisible());
}

int RichView::VScrollPos() const
{
    // The last step may be a part step: at the bottom the position is the maximum.
    const QScrollBar* bar = verticalScrollBar();
    return bar->value() >= bar->maximum() ? VScrollMax() : bar->value() / kRichScrollStep;
}

void RichView::SetVScrollPos(int steps)
{
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(std::min(std::max(steps, 0) * kRichScrollStep, bar->maximum()));
}

int RichView::VScrollMax() const
{
    return (verticalScrollBar()->maximum() + kRichScrollStep - 1) / kRichScrollStep;
}

int RichView::ClientHeight() const
{
    return viewport()->height();
}

int RichView::DocumentHeight() const
{
    return static_cast<int>(document()->documentLayout()->documentSize().height());
}

void RichView::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit RVMouseDown(event->button(), event->modifiers(), pos);
    const SCharHit hit = CharAt(pos, false);
    m_PressedLink = hit.position >= 0 && hit.format.isAnchor() ? hit.format.anchorHref() : QString();
    QTextEdit::mousePressEvent(event);
}

void RichView::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    emit RVMouseUp(event->button(), event->modifiers(), pos);
    QTextEdit::mouseReleaseEvent(event);
    const SCharHit hit = CharAt(pos, false);
    const QString link = hit.position >= 0 && hit.format.isAnchor() ? hit.format.anchorHref() : QString();
    if (event->button() == Qt::LeftButton && !link.isEmpty() && link == m_PressedLink && isReadOnly())
        emit Jump(link);
    m_PressedLink.clear();
}

void RichView::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        SetHover(CharAt(event->position().toPoint(), false));
}

void RichView::leaveEvent(QEvent* event)
{
    SetHover({});
    QTextEdit::leaveEvent(event);
}

void RichView::SetHover(const SCharHit& hit)
{
    // The hover look: a hyperlink run or hot picture under the mouse is drawn highlighted.
    int start = -1, end = -1;
    if (hit.position >= 0 && hit.format.isAnchor())
    {
        const QTextBlock block = document()->findBlock(hit.position);
        const QVariant index = hit.format.property(richprop::ItemIndex);
        for (auto it = block.begin(); !it.atEnd(); ++it)
        {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().property(richprop::ItemIndex) != index ||
                !fragment.charFormat().isAnchor())
                continue;
            start = start < 0 ? fragment.position() : std::min(start, fragment.position());
            end = std::max(end, fragment.position() + fragment.length());
        }
    }
    if (start == m_HoverStart)
        return;
    m_HoverStart = start;
    if (start < 0)
    {
        viewport()->setCursor(isReadOnly() ? Qt::ArrowCursor : Qt::IBeamCursor);
        setExtraSelections({});
        return;
    }
    viewport()->setCursor(Qt::PointingHandCursor);
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document());
    selection.cursor.setPosition(start);
    selection.cursor.setPosition(end, QTextCursor::KeepAnchor);
    if (hit.format.isImageFormat())
        selection.format.setBackground(QColor(0x66, 0x99, 0xFF, 90));
    else
    {
        selection.format.setForeground(QColor(0xD0, 0x00, 0x00));
        selection.format.setFontUnderline(true);
    }
    setExtraSelections({selection});
}

bool RichView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip)
    {
        // Hints: a hyperlink's target, else the hint of the cell under the mouse.
        auto* help = static_cast<QHelpEvent*>(event);
        const SCharHit hit = CharAt(help->pos(), false);
        QString text;
        if (hit.position >= 0 && hit.format.isAnchor())
            text = hit.format.anchorHref();
        if (const QTextTableCell cell = CellAt(help->pos()); text.isEmpty() && cell.isValid())
            text = cell.format().property(richprop::CellHint).toString();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, viewport());
        return true;
    }
    return QTextEdit::viewportEvent(event);
}

} // namespace lf::qt
