#include "platform/qt/RichViewEdit.h"

#include "platform/qt/Pictures.h"
#include "platform/qt/QtText.h"
#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"

#include <QImage>
#include <QMimeData>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace lf::qt
{

RichViewEdit::RichViewEdit(QWidget* parent) : RichView(parent)
{
    setReadOnly(false);
    setTextInteractionFlags(Qt::TextEditorInteraction);
    setUndoRedoEnabled(true);
    viewport()->setCursor(Qt::IBeamCursor);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int, int removed, int added)
            {
                if (!m_Formatting && (removed > 0 || added > 0))
                {
                    m_ModelStale = true;
                    m_SpansStale = true;
                }
            });
}

RichViewEdit::~RichViewEdit() = default;

void RichViewEdit::SyncModel()
{
    if (m_ModelStale)
    {
        m_Spans = TextDocumentToRich(*document(), *m_Doc, ZoomStep(), &m_Places);
        m_ModelStale = false;
        m_SpansStale = false;
        m_PlacesDraw = m_DrawCount;
    }
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection() && !m_Spans.empty())
        m_Doc->selection = SRichSelection{ToRichPosition(cursor.selectionStart(), false),
                                          ToRichPosition(cursor.selectionEnd(), true)};
    else
        m_Doc->selection.reset();
}

// Edits renumber items in the model only: hit tests take the numbers of the last reading of the edits.
const SRichItemPlace* RichViewEdit::PlaceStartingBefore(int position, bool table) const
{
    const_cast<RichViewEdit*>(this)->SyncModel();
    if (m_PlacesDraw != m_DrawCount)
        return nullptr; // nothing edited since the drawing: its numbers hold
    auto it = std::upper_bound(m_Places.begin(), m_Places.end(), position,
                               [](int pos, const SRichItemPlace& place) { return pos < place.start; });
    while (it != m_Places.begin())
    {
        --it;
        if (it->table == table)
            return &*it;
    }
    return nullptr;
}

int RichViewEdit::ItemIndexAt(int position, const QTextCharFormat& format) const
{
    if (m_PlacesDraw != m_DrawCount && !m_ModelStale)
        return RichView::ItemIndexAt(position, format);
    const SRichItemPlace* place = PlaceStartingBefore(position, false);
    return place && position < place->end ? place->item : -1;
}

int RichViewEdit::TableIndexOf(const QTextTable& table) const
{
    if (m_PlacesDraw != m_DrawCount && !m_ModelStale)
        return RichView::TableIndexOf(table);
    const SRichItemPlace* place = PlaceStartingBefore(table.firstPosition() - 1, true);
    return place && place->start == table.firstPosition() - 1 ? place->item : -1;
}

SRichPosition RichViewEdit::ToRichPosition(int position, bool end) const
{
    if (m_Spans.empty())
        return {};
    // The last item starting at or before the position.
    auto it = std::upper_bound(m_Spans.begin(), m_Spans.end(), position,
                               [](int pos, const SRichItemSpan& span) { return pos < span.start; });
    const int index = it == m_Spans.begin() ? 0 : static_cast<int>(it - m_Spans.begin()) - 1;
    const SRichItem& item = m_Doc->content.items[index];
    const SRichItemSpan span = m_Spans[index];
    if (item.IsText())
    {
        const int count = std::clamp(position - span.start, 0, span.end - span.start);
        return {index, static_cast<int>(ToStdString(ToQString(item.text).left(count)).size()) + 1};
    }
    if (item.IsTable() && position > span.start && position < span.end)
        return {index, end ? 1 : 0};
    return {index, position >= span.end && position > span.start ? 1 : 0};
}

int RichViewEdit::ToTextPosition(SRichPosition position) const
{
    if (m_Spans.empty())
        return 0;
    const int index = std::clamp(position.item, 0, static_cast<int>(m_Spans.size()) - 1);
    const SRichItem& item = m_Doc->content.items[index];
    const SRichItemSpan span = m_Spans[index];
    if (item.IsText())
    {
        const std::size_t bytes = static_cast<std::size_t>(std::max(position.offset - 1, 0));
        const int count = static_cast<int>(ToQString(std::string_view(item.text).substr(0, bytes)).size());
        return std::min(span.start + count, span.end);
    }
    return position.offset <= 0 ? span.start : span.end;
}

void RichViewEdit::SetCaret(SRichPosition position)
{
    SyncModel();
    QTextCursor cursor = textCursor();
    const int at = ToTextPosition(position);
    cursor.setPosition(at);
    const int index = std::clamp(position.item, 0, static_cast<int>(m_Spans.size()) - 1);
    if (!m_Spans.empty() && m_Doc->content.items[index].IsText() && at == m_Spans[index].start &&
        m_Spans[index].end > at)
    {
        // At the start of a run, typing takes that run's style, not the one of the run before.
        QTextCursor next(document());
        next.setPosition(at + 1);
        cursor.setCharFormat(next.charFormat());
    }
    setTextCursor(cursor);
}

SRichPosition RichViewEdit::Caret()
{
    SyncModel();
    return ToRichPosition(textCursor().position(), false);
}

bool RichViewEdit::HasSelection() const
{
    return textCursor().hasSelection();
}

RichDocument RichViewEdit::SelectionDocument()
{
    SyncModel();
    return m_Doc->CopySelection();
}

void RichViewEdit::InsertText(const std::string& text)
{
    QString lines = ToQString(text);
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextCursor cursor = textCursor();
    cursor.insertText(lines);
    setTextCursor(cursor);
}

void RichViewEdit::InsertDocument(const RichDocument& fragment)
{
    SyncModel();
    // The fragment's styles are mapped into the editor's sheet, which only grows by new ones.
    RichDocument mapped(m_Doc->styles);
    mapped.AppendDocument(fragment);
    if (mapped.Empty())
        return;
    m_Doc->styles = mapped.styles;
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertRichContent(cursor, mapped.content, m_Doc->styles, m_Options);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void RichViewEdit::SelectAll()
{
    selectAll();
}

void RichViewEdit::ClearContent()
{
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

bool RichViewEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(QString::fromLatin1(kRichMimeType)) || RichView::canInsertFromMimeData(source);
}

void RichViewEdit::insertFromMimeData(const QMimeData* source)
{
    // Our own content first, then HTML through the program's importer, a picture, plain text.
    if (source->hasFormat(QString::fromLatin1(kRichMimeType)))
    {
        const QByteArray bytes = source->data(QString::fromLatin1(kRichMimeType));
        RichDocument fragment;
        if (ReadRichXml(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), fragment) ==
            RichXmlResult::Loaded)
        {
            InsertDocument(fragment);
            return;
        }
    }
    if (source->hasHtml())
    {
        RichDocument fragment(m_Doc->styles);
        ImportHtml(ToStdString(source->html()), fragment, {});
        if (!IsRichViewEmpty(fragment))
        {
            InsertDocument(fragment);
            return;
        }
    }
    if (source->hasImage())
    {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        SRichPicture picture = image.isNull() ? SRichPicture{} : ToPng(image);
        if (!picture.data.empty())
        {
            RichDocument fragment(m_Doc->styles);
            fragment.content.AddPicture(std::move(picture), 0, 0, 0, true);
            InsertDocument(fragment);
            return;
        }
    }
    if (source->hasText())
        InsertText(ToStdString(source->text()));
}

QMimeData* RichViewEdit::createMimeDataFromSelection() const
{
    QMimeData* data = RichView::createMimeDataFromSelection();
    // Reading the edits back only refreshes the model this editor keeps of its own text.
    const RichDocument selected = const_cast<RichViewEdit*>(this)->SelectionDocument();
    if (!selected.Empty())
    {
        const std::string xml = WriteRichXml(selected);
        data->setData(QString::fromLatin1(kRichMimeType),
                      QByteArray(xml.data(), static_cast<qsizetype>(xml.size())));
    }
    return data;
}

} // namespace lf::qt
