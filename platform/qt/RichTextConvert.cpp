#include "platform/qt/RichTextConvert.h"

#include "platform/qt/Pictures.h"
#include "platform/qt/QtText.h"

#include <QCryptographicHash>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <algorithm>
#include <set>

namespace lf::qt
{

namespace
{

RichColor FromQColor(const QColor& color)
{
    return static_cast<RichColor>(color.red()) | (static_cast<RichColor>(color.green()) << 8) |
           (static_cast<RichColor>(color.blue()) << 16);
}

const SRichParaStyle& ParaStyleAt(const RichStyleSheet& sheet, int no)
{
    static const SRichParaStyle fallback;
    if (sheet.HasParaStyle(no))
        return sheet.paraStyles[no];
    return sheet.paraStyles.empty() ? fallback : sheet.paraStyles.front();
}

// The look of a text style as Qt draws it, zoom included.
struct STextLook
{
    QString family;
    qreal size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QColor color;
    QColor back; // invalid: none
    RichSubSuper subSuper = RichSubSuper::Normal;
    bool jump = false;
};

STextLook LookOf(const SRichTextStyle& style, int zoomStep)
{
    STextLook look;
    look.family = ToQString(style.fontName);
    look.size = std::max(1, style.size + zoomStep);
    look.bold = style.bold;
    look.italic = style.italic;
    look.underline = style.underline;
    look.strikeOut = style.strikeOut;
    look.color = ToQColor(style.color);
    if (style.backColor != kNoColor)
        look.back = ToQColor(style.backColor);
    look.subSuper = style.subSuper;
    look.jump = style.jump;
    return look;
}

QTextCharFormat CharFormatOf(const STextLook& look)
{
    QTextCharFormat format;
    format.setFontFamilies(QStringList{look.family});
    format.setFontPointSize(look.size);
    format.setFontWeight(look.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(look.italic);
    format.setFontUnderline(look.underline);
    format.setFontStrikeOut(look.strikeOut);
    format.setForeground(look.color);
    if (look.back.isValid())
        format.setBackground(look.back);
    if (look.subSuper == RichSubSuper::Super)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (look.subSuper == RichSubSuper::Sub)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (look.jump)
        format.setAnchor(true);
    return format;
}

// The look a run shows in a Qt format; what the format does not say stays as in the base look.
STextLook LookOf(const QTextCharFormat& format, const STextLook& base)
{
    STextLook look = base;
    if (format.hasProperty(QTextFormat::FontFamilies))
    {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty())
            look.family = families.front();
    }
    else if (format.hasProperty(QTextFormat::FontFamily))
        look.family = format.font().family();
    if (format.hasProperty(QTextFormat::FontPointSize))
        look.size = format.fontPointSize();
    if (format.hasProperty(QTextFormat::FontWeight))
        look.bold = format.fontWeight() > QFont::Medium;
    if (format.hasProperty(QTextFormat::FontItalic))
        look.italic = format.fontItalic();
    if (format.hasProperty(QTextFormat::FontUnderline) || format.hasProperty(QTextFormat::TextUnderlineStyle))
        look.underline = format.fontUnderline();
    if (format.hasProperty(QTextFormat::FontStrikeOut))
        look.strikeOut = format.fontStrikeOut();
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        look.color = format.foreground().color();
    if (format.hasProperty(QTextFormat::BackgroundBrush))
        look.back = format.background().style() == Qt::NoBrush ? QColor() : format.background().color();
    if (format.hasProperty(QTextFormat::TextVerticalAlignment))
    {
        const auto align = format.verticalAlignment();
        look.subSuper = align == QTextCharFormat::AlignSuperScript ? RichSubSuper::Super
                        : align == QTextCharFormat::AlignSubScript ? RichSubSuper::Sub
                                                                   : RichSubSuper::Normal;
    }
    if (format.hasProperty(QTextFormat::IsAnchor))
        look.jump = format.isAnchor();
    return look;
}

Qt::Alignment AlignmentOf(RichAlign align)
{
    switch (align)
    {
    case RichAlign::Right:
        return Qt::AlignRight | Qt::AlignAbsolute;
    case RichAlign::Center:
        return Qt::AlignHCenter;
    case RichAlign::Justify:
        return Qt::AlignJustify;
    case RichAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignAbsolute;
}

RichAlign RichAlignOf(Qt::Alignment align)
{
    if (align & Qt::AlignHCenter)
        return RichAlign::Center;
    if (align & Qt::AlignJustify)
        return RichAlign::Justify;
    if (align & Qt::AlignRight)
        return RichAlign::Right;
    return RichAlign::Left;
}

QTextLength LengthOf(int bestWidth)
{
    if (bestWidth > 0)
        return QTextLength(QTextLength::FixedLength, bestWidth);
    if (bestWidth < 0)
        return QTextLength(QTextLength::PercentageLength, -bestWidth);
    return QTextLength(QTextLength::VariableLength, 0);
}

QTextFrameFormat::BorderStyle BorderStyleOf(RichTableBorder border)
{
    switch (border)
    {
    case RichTableBorder::Raised:
        return QTextFrameFormat::BorderStyle_Outset;
    case RichTableBorder::Lowered:
        return QTextFrameFormat::BorderStyle_Inset;
    case RichTableBorder::Color:
    case RichTableBorder::Flat:
        break;
    }
    return QTextFrameFormat::BorderStyle_Solid;
}

QImage Placeholder(int width, int height)
{
    QImage image(std::max(width, 8), std::max(height, 8), QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(255, 255, 255));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(200, 0, 0), 1));
    painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
    painter.drawLine(0, 0, image.width() - 1, image.height() - 1);
    painter.drawLine(0, image.height() - 1, image.width() - 1, 0);
    return image;
}

// Builds drawn content at a cursor.
// A fixed-width column is at least as wide as the widest picture in it: a picture never spills into the
// next cell, as with the cells' own minimum width. Text still wraps inside the fixed width.
void FitFixedColumnsToPictures(QTextTable& table)
{
    QTextTableFormat format = table.format();
    QList<QTextLength> columns = format.columnWidthConstraints();
    bool changed = false;
    for (int col = 0; col < columns.size() && col < table.columns(); ++col)
    {
        if (columns[col].type() != QTextLength::FixedLength)
            continue;
        qreal widest = 0;
        for (int row = 0; row < table.rows(); ++row)
        {
            const QTextTableCell cell = table.cellAt(row, col);
            for (QTextFrame::iterator it = cell.begin(); !it.atEnd(); ++it)
            {
                const QTextBlock block = it.currentBlock();
                for (QTextBlock::iterator part = block.begin(); block.isValid() && !part.atEnd(); ++part)
                {
                    const QTextCharFormat chars = part.fragment().charFormat();
                    if (chars.isImageFormat())
                        widest = std::max(widest, chars.toImageFormat().width());
                }
            }
        }
        if (widest > columns[col].rawValue())
        {
            columns[col] = QTextLength(QTextLength::FixedLength, widest);
            changed = true;
        }
    }
    if (changed)
    {
        format.setColumnWidthConstraints(columns);
        table.setFormat(format);
    }
}

class Builder
{
public:
    Builder(const RichStyleSheet& sheet, const SRichRenderOptions& options, QTextDocument& target)
        : m_Sheet(sheet), m_Options(options), m_Target(target)
    {
        m_TextFormats.reserve(sheet.textStyles.size());
        for (int no = 0; no < sheet.TextStyleCount(); ++no)
        {
            QTextCharFormat format = CharFormatOf(LookOf(sheet.textStyles[no], options.zoomStep));
            format.setProperty(richprop::TextStyle, no);
            m_TextFormats.push_back(format);
        }
    }

    // claim: the cursor's empty block belongs to no item yet and takes the first paragraph.
    void Insert(QTextCursor& cursor, const RichContent& content, bool claim,
                std::vector<SRichItemSpan>* spans)
    {
        bool fresh = claim;
        bool afterTable = false;
        QTextFrame* border = nullptr;
        int borderPara = -1;
        for (int i = 0; i < content.Count(); ++i)
        {
            const SRichItem& item = content.items[i];
            const bool startsParagraph = i == 0 || item.newParagraph || item.IsTable() || afterTable;
            afterTable = false;
            if (startsParagraph)
            {
                const SRichParaStyle& para = ParaStyleAt(m_Sheet, item.paraNo);
                const bool wantBorder = para.border != RichBorderStyle::None && (i > 0 || claim);
                if (border && (!wantBorder || borderPara != item.paraNo))
                {
                    cursor.setPosition(border->lastPosition() + 1);
                    border = nullptr;
                    fresh = true;
                }
                if (wantBorder && !border)
                {
                    if (fresh)
                        MakeFiller(cursor);
                    border = cursor.insertFrame(BorderFormat(para, item.paraNo));
                    borderPara = item.paraNo;
                    fresh = true;
                }
            }
            if (item.styleNo == kRichStyleTable)
            {
                const int start = cursor.position();
                if (item.IsTable() && item.table->RowCount() > 0 && item.table->ColCount() > 0)
                {
                    if (fresh)
                        MakeFiller(cursor);
                    QTextTable* table = InsertTable(cursor, item, i);
                    if (spans)
                        spans->push_back({table->firstPosition() - 1, table->lastPosition() + 1});
                    cursor.setPosition(table->lastPosition() + 1);
                    fresh = true;
                    afterTable = true;
                }
                else if (spans)
                    spans->push_back({start, start});
                continue;
            }
            if (startsParagraph)
            {
                if (fresh)
                {
                    cursor.setBlockFormat(BlockFormat(item.paraNo));
                    cursor.setBlockCharFormat(TextFormat(item, i));
                }
                else if (i > 0)
                    cursor.insertBlock(BlockFormat(item.paraNo), TextFormat(item, i));
                fresh = false;
            }
            else if (item.lineBreak)
                cursor.insertText(QString(QChar::LineSeparator), TextFormat(item, i));
            const int start = cursor.position();
            if (item.IsText())
            {
                QString text = ToQString(item.text);
                text.replace(QLatin1Char('\r'), QLatin1Char(' '))
                    .replace(QLatin1Char('\n'), QLatin1Char(' '));
                cursor.insertText(text, TextFormat(item, i));
            }
            else
                cursor.insertImage(ImageFormat(item, i));
            if (spans)
                spans->push_back({start, cursor.position()});
        }
    }

private:
    QTextCharFormat TextFormat(const SRichItem& item, int index) const
    {
        QTextCharFormat format;
        if (item.IsText() && item.styleNo < static_cast<int>(m_TextFormats.size()))
            format = m_TextFormats[item.styleNo];
        else if (!m_TextFormats.empty())
            format = m_TextFormats.front();
        format.setProperty(richprop::ItemIndex, index);
        format.setProperty(richprop::ItemPara, item.paraNo);
        if (!item.tag.empty())
        {
            format.setProperty(richprop::Tag, ToQString(item.tag));
            if (format.isAnchor())
                format.setAnchorHref(ToQString(item.tag));
        }
        return format;
    }

    QTextBlockFormat BlockFormat(int paraNo) const
    {
        const SRichParaStyle& para = ParaStyleAt(m_Sheet, paraNo);
        QTextBlockFormat format;
        format.setAlignment(AlignmentOf(para.align));
        if (para.backColor != kNoColor)
            format.setBackground(ToQColor(para.backColor));
        format.setProperty(richprop::ParaStyle, paraNo);
        return format;
    }

    static QTextFrameFormat BorderFormat(const SRichParaStyle& para, int paraNo)
    {
        QTextFrameFormat format;
        format.setBorder(std::max(para.borderWidth, 1));
        format.setBorderStyle(para.border == RichBorderStyle::Double ? QTextFrameFormat::BorderStyle_Double
                                                                     : QTextFrameFormat::BorderStyle_Solid);
        format.setBorderBrush(ToQColor(para.borderColor));
        if (para.backColor != kNoColor)
            format.setBackground(ToQColor(para.backColor));
        format.setPadding(2);
        format.setProperty(richprop::BorderFrame, paraNo);
        return format;
    }

    // An empty block that Qt keeps in front of a table or frame: it takes no room.
    static void MakeFiller(QTextCursor& cursor)
    {
        QTextBlockFormat format;
        format.setLineHeight(0, QTextBlockFormat::FixedHeight);
        cursor.setBlockFormat(format);
    }

    QTextImageFormat ImageFormat(const SRichItem& item, int index)
    {
        QTextImageFormat format;
        format.setProperty(richprop::ItemIndex, index);
        format.setProperty(richprop::ItemPara, item.paraNo);
        format.setProperty(richprop::ItemKind, item.styleNo);
        if (!item.tag.empty())
            format.setProperty(richprop::Tag, ToQString(item.tag));
        if (!item.name.empty())
            format.setProperty(richprop::ItemName, ToQString(item.name));
        format.setProperty(richprop::PictureVAlign, static_cast<int>(item.vAlign));
        switch (item.vAlign)
        {
        case RichPictureAlign::Middle:
            format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
            break;
        case RichPictureAlign::Top:
            format.setVerticalAlignment(QTextCharFormat::AlignTop);
            break;
        case RichPictureAlign::Bottom:
            format.setVerticalAlignment(QTextCharFormat::AlignBottom);
            break;
        case RichPictureAlign::Baseline:
            break;
        }
        if (item.styleNo == kRichStyleHotspot)
        {
            format.setProperty(richprop::ImageIndex, item.imageIndex);
            const QString name = QStringLiteral("lfimg:%1").arg(item.imageIndex);
            const auto& images = m_Options.hotspotImages;
            const bool known = item.imageIndex >= 0 && item.imageIndex < static_cast<int>(images.size()) &&
                               !images[item.imageIndex].isNull();
            const QSize size = known ? images[item.imageIndex].size() : QSize(32, 32);
            if (m_HotspotsAdded.insert(item.imageIndex).second)
                m_Target.addResource(QTextDocument::ImageResource, QUrl(name),
                                     known ? images[item.imageIndex] : Placeholder(32, 32));
            format.setName(name);
            format.setWidth(size.width());
            format.setHeight(size.height());
            return format;
        }
        const QByteArray bytes(item.picture.data.data(), static_cast<qsizetype>(item.picture.data.size()));
        format.setProperty(richprop::PictureData, bytes);
        format.setProperty(richprop::PictureFormat, ToQString(item.picture.format));
        if (!item.source.empty())
            format.setProperty(richprop::PictureSource, ToQString(item.source));
        format.setProperty(richprop::PictureWidth, item.width);
        format.setProperty(richprop::PictureHeight, item.height);
        if (item.styleNo == kRichStyleHotPicture)
        {
            format.setAnchor(true);
            format.setAnchorHref(ToQString(item.tag));
        }
        // One resource per picture and display size, shared by equal pictures.
        const QByteArray key = QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
        const QString name =
            QStringLiteral("lfpic:%1:%2x%3").arg(QString::fromLatin1(key)).arg(item.width).arg(item.height);
        QImage image = m_Target.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>();
        if (image.isNull())
        {
            image = QImage::fromData(bytes);
            if (image.isNull())
                image = Placeholder(item.width > 0 ? item.width : 32, item.height > 0 ? item.height : 32);
            QSize size = image.size();
            if (item.width > 0 && item.height > 0)
                size = QSize(item.width, item.height);
            else if (item.width > 0)
                size =
                    QSize(item.width, std::max(1, image.height() * item.width / std::max(1, image.width())));
            else if (item.height > 0)
                size = QSize(std::max(1, image.width() * item.height / std::max(1, image.height())),
                             item.height);
            if (size != image.size())
                image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            m_Target.addResource(QTextDocument::ImageResource, QUrl(name), image);
        }
        format.setName(name);
        format.setWidth(image.width());
        format.setHeight(image.height());
        return format;
    }

    QTextTable* InsertTable(QTextCursor& cursor, const SRichItem& item, int index)
    {
        const RichTable& table = *item.table;
        QTextTableFormat format;
        // Qt draws the outer border and the cell borders with one width and has one cell spacing.
        format.setBorder(std::max(table.borderWidth, table.cellBorderWidth));
        format.setBorderStyle(
            BorderStyleOf(table.borderWidth > 0 ? table.borderStyle : table.cellBorderStyle));
        format.setBorderBrush(QColor(160, 160, 160));
        format.setCellSpacing(table.borderHSpacing);
        format.setCellPadding(table.cellPadding);
        format.setMargin(0);
        if (table.color != kNoColor)
            format.setBackground(ToQColor(table.color));
        if (table.bestWidth != 0)
            format.setWidth(LengthOf(table.bestWidth));
        QList<QTextLength> columns;
        bool anyColumn = false;
        for (int col = 0; col < table.ColCount(); ++col)
        {
            int width = 0;
            for (int row = 0; row < table.RowCount() && width == 0; ++row)
                width = table.Cell(row, col).bestWidth;
            anyColumn = anyColumn || width != 0;
            columns.push_back(LengthOf(width));
        }
        if (anyColumn)
            format.setColumnWidthConstraints(columns);
        format.setProperty(richprop::ItemIndex, index);
        format.setProperty(richprop::ParaStyle, item.paraNo);
        if (!item.tag.empty())
            format.setProperty(richprop::Tag, ToQString(item.tag));
        if (!item.name.empty())
            format.setProperty(richprop::ItemName, ToQString(item.name));
        format.setProperty(
            richprop::TableSettings,
            QVariantList{table.bestWidth, table.borderWidth, table.cellBorderWidth, table.cellPadding,
                         table.borderVSpacing, table.borderHSpacing, static_cast<int>(table.borderStyle),
                         static_cast<int>(table.cellBorderStyle), static_cast<qlonglong>(table.color)});
        QTextTable* drawn = cursor.insertTable(table.RowCount(), table.ColCount(), format);
        for (int row = 0; row < table.RowCount(); ++row)
        {
            const auto& cells = table.rows[row];
            for (int col = 0; col < table.ColCount() && col < static_cast<int>(cells.size()); ++col)
            {
                QTextCursor inner = drawn->cellAt(row, col).firstCursorPosition();
                Insert(inner, cells[col].content, true, nullptr);
                ApplyCellFormat(*drawn, row, col, cells[col]);
            }
        }
        FitFixedColumnsToPictures(*drawn);
        return drawn;
    }

public:
    // Qt keeps a cell's format in the character format of its first block, which also holds the
    // style of an empty first paragraph: the two are merged.
    static void ApplyCellFormat(QTextTable& table, int row, int col, const SRichCell& cell)
    {
        QTextTableCell drawn = table.cellAt(row, col);
        QTextCharFormat format = drawn.firstCursorPosition().blockCharFormat();
        format.clearProperty(QTextFormat::BackgroundBrush);
        format.clearProperty(richprop::CellHint);
        format.merge(CellFormat(cell));
        drawn.setFormat(format.toTableCellFormat());
    }

    static QTextTableCellFormat CellFormat(const SRichCell& cell)
    {
        QTextTableCellFormat format;
        if (cell.color != kNoColor)
            format.setBackground(ToQColor(cell.color));
        switch (cell.vAlign)
        {
        case RichCellVAlign::Center:
            format.setVerticalAlignment(QTextCharFormat::AlignMiddle);
            break;
        case RichCellVAlign::Bottom:
            format.setVerticalAlignment(QTextCharFormat::AlignBottom);
            break;
        case RichCellVAlign::Default:
        case RichCellVAlign::Top:
            format.setVerticalAlignment(QTextCharFormat::AlignTop);
            break;
        }
        format.setProperty(richprop::CellColor, static_cast<qlonglong>(cell.color));
        format.setProperty(richprop::CellVAlign, static_cast<int>(cell.vAlign));
        format.setProperty(richprop::CellWidth, cell.bestWidth);
        if (!cell.hint.empty())
            format.setProperty(richprop::CellHint, ToQString(cell.hint));
        return format;
    }

private:
    const RichStyleSheet& m_Sheet;
    const SRichRenderOptions& m_Options;
    QTextDocument& m_Target;
    std::vector<QTextCharFormat> m_TextFormats;
    std::set<int> m_HotspotsAdded; // image numbers whose picture the target document holds
};

// Reads drawn content back into items.
class Reader
{
public:
    Reader(const QTextDocument& in, RichStyleSheet& sheet, int zoomStep, std::vector<SRichItemPlace>* places)
        : m_In(in), m_Sheet(sheet), m_Zoom(zoomStep), m_Places(places)
    {
    }

    void ReadChildren(QTextFrame::iterator it, RichContent& out, std::vector<SRichItemSpan>* spans)
    {
        for (; !it.atEnd(); ++it)
        {
            if (QTextFrame* frame = it.currentFrame())
            {
                if (auto* table = qobject_cast<QTextTable*>(frame))
                {
                    if (m_Places)
                        m_Places->push_back(
                            {table->firstPosition() - 1, table->lastPosition() + 1, out.Count(), true});
                    out.items.push_back(ReadTable(*table));
                    if (spans)
                        spans->push_back({table->firstPosition() - 1, table->lastPosition() + 1});
                }
                else
                    ReadChildren(frame->begin(), out, spans);
            }
            else if (it.currentBlock().isValid())
                ReadBlock(it.currentBlock(), out, spans);
        }
    }

private:
    void ReadBlock(const QTextBlock& block, RichContent& out, std::vector<SRichItemSpan>* spans)
    {
        const QTextBlockFormat blockFormat = block.blockFormat();
        const bool claimed = blockFormat.hasProperty(richprop::ParaStyle);
        if (block.length() <= 1)
        {
            if (!claimed)
                return; // a filler block around a table or frame
            SRichItem& item = out.items.emplace_back();
            item.paraNo = ParaStyleOf(blockFormat);
            QTextCharFormat format = block.charFormat();
            if (format.objectType() == QTextFormat::TableCellObject)
            {
                // The first block of a cell: the cell's colour and alignment are not the text's.
                format.clearProperty(QTextFormat::BackgroundBrush);
                format.clearProperty(QTextFormat::TextVerticalAlignment);
            }
            item.styleNo = TextStyleOf(format);
            item.tag = ToStdString(format.property(richprop::Tag).toString());
            if (spans)
                spans->push_back({block.position(), block.position()});
            if (m_Places)
                m_Places->push_back({block.position(), block.position(), out.Count() - 1});
            return;
        }
        const int paraNo = ParaStyleOf(blockFormat);
        bool first = true;
        bool pendingBreak = false;
        SRichItem* run = nullptr; // the text run being extended
        QVariant runIndex;
        auto startItem = [&](int position, const QTextCharFormat& format) -> SRichItem&
        {
            SRichItem& item = out.items.emplace_back();
            item.paraNo = paraNo;
            if (!first && format.hasProperty(richprop::ItemPara) &&
                m_Sheet.HasParaStyle(format.intProperty(richprop::ItemPara)))
                item.paraNo = format.intProperty(richprop::ItemPara);
            item.newParagraph = first;
            item.lineBreak = pendingBreak && !first;
            first = false;
            pendingBreak = false;
            if (spans)
                spans->push_back({position, position});
            if (m_Places)
                m_Places->push_back({position, position, out.Count() - 1});
            return item;
        };
        auto endItem = [&](int position)
        {
            if (spans)
                spans->back().end = position;
            if (m_Places)
                m_Places->back().end = position;
        };
        for (auto fi = block.begin(); !fi.atEnd(); ++fi)
        {
            const QTextFragment fragment = fi.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            const QString text = fragment.text();
            if (format.isImageFormat())
            {
                for (int k = 0; k < text.size(); ++k)
                {
                    if (text[k] != QChar::ObjectReplacementCharacter)
                        continue;
                    SRichItem& item = startItem(fragment.position() + k, format);
                    ReadPicture(format.toImageFormat(), item);
                    endItem(fragment.position() + k + 1);
                    run = nullptr;
                }
                continue;
            }
            const int styleNo = TextStyleOf(format);
            const std::string tag = ToStdString(format.property(richprop::Tag).toString());
            const QVariant index = format.property(richprop::ItemIndex);
            qsizetype from = 0;
            while (from <= text.size())
            {
                qsizetype to = from;
                while (to < text.size() && text[to] != QChar::LineSeparator &&
                       text[to] != QChar::ObjectReplacementCharacter)
                    ++to;
                if (to > from)
                {
                    const int position = fragment.position() + static_cast<int>(from);
                    if (!(run && run->styleNo == styleNo && run->tag == tag && runIndex == index))
                    {
                        run = &startItem(position, format);
                        run->styleNo = styleNo;
                        run->tag = tag;
                        runIndex = index;
                    }
                    run->text += ToStdString(text.mid(from, to - from));
                    endItem(fragment.position() + static_cast<int>(to));
                }
                if (to >= text.size())
                    break;
                if (text[to] == QChar::LineSeparator)
                    pendingBreak = true;
                run = nullptr;
                from = to + 1;
            }
        }
        if (pendingBreak)
        {
            // A line break closing the paragraph: an empty run on the new line.
            SRichItem& item = startItem(block.position() + block.length() - 1, QTextCharFormat());
            item.styleNo = out.items.size() > 1 ? out.items[out.items.size() - 2].styleNo : 0;
        }
    }

    void ReadPicture(const QTextImageFormat& format, SRichItem& item)
    {
        item.styleNo = format.hasProperty(richprop::ItemKind) ? format.intProperty(richprop::ItemKind)
                                                              : kRichStylePicture;
        item.tag = ToStdString(format.property(richprop::Tag).toString());
        if (item.tag.empty() && format.isAnchor())
            item.tag = ToStdString(format.anchorHref());
        item.name = ToStdString(format.property(richprop::ItemName).toString());
        item.vAlign = static_cast<RichPictureAlign>(format.intProperty(richprop::PictureVAlign));
        if (item.styleNo == kRichStyleHotspot)
        {
            item.imageIndex = format.intProperty(richprop::ImageIndex);
            return;
        }
        if (item.styleNo != kRichStyleHotPicture)
            item.styleNo = kRichStylePicture;
        if (format.hasProperty(richprop::PictureData))
        {
            const QByteArray bytes = format.property(richprop::PictureData).toByteArray();
            item.picture.data.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
            item.picture.format = ToStdString(format.property(richprop::PictureFormat).toString());
            item.source = ToStdString(format.property(richprop::PictureSource).toString());
            item.width = format.intProperty(richprop::PictureWidth);
            item.height = format.intProperty(richprop::PictureHeight);
            return;
        }
        // A picture that came in through Qt (a paste): its resource, kept as PNG.
        const QVariant resource = m_In.resource(QTextDocument::ImageResource, QUrl(format.name()));
        QImage image = resource.value<QImage>();
        if (image.isNull())
            image = resource.value<QPixmap>().toImage();
        if (!image.isNull())
            item.picture = ToPng(image);
        item.width = format.width() > 0 ? static_cast<int>(format.width()) : 0;
        item.height = format.height() > 0 ? static_cast<int>(format.height()) : 0;
    }

    SRichItem ReadTable(QTextTable& drawn)
    {
        const QTextTableFormat format = drawn.format();
        SRichItem item;
        item.styleNo = kRichStyleTable;
        item.newParagraph = true;
        item.paraNo = std::max(0, format.intProperty(richprop::ParaStyle));
        item.tag = ToStdString(format.property(richprop::Tag).toString());
        item.name = ToStdString(format.property(richprop::ItemName).toString());
        RichTable table(drawn.rows(), drawn.columns());
        const QVariantList settings = format.property(richprop::TableSettings).toList();
        if (settings.size() == 9)
        {
            table.bestWidth = settings[0].toInt();
            table.borderWidth = settings[1].toInt();
            table.cellBorderWidth = settings[2].toInt();
            table.cellPadding = settings[3].toInt();
            table.borderVSpacing = settings[4].toInt();
            table.borderHSpacing = settings[5].toInt();
            table.borderStyle = static_cast<RichTableBorder>(settings[6].toInt());
            table.cellBorderStyle = static_cast<RichTableBorder>(settings[7].toInt());
            table.color = static_cast<RichColor>(settings[8].toLongLong());
        }
        for (int row = 0; row < drawn.rows(); ++row)
        {
            for (int col = 0; col < drawn.columns(); ++col)
            {
                const QTextTableCell cell = drawn.cellAt(row, col);
                SRichCell& target = table.Cell(row, col);
                const QTextCharFormat cellFormat = cell.format();
                if (cellFormat.hasProperty(richprop::CellColor))
                    target.color =
                        static_cast<RichColor>(cellFormat.property(richprop::CellColor).toLongLong());
                else if (cellFormat.background().style() != Qt::NoBrush)
                    target.color = FromQColor(cellFormat.background().color());
                target.hint = ToStdString(cellFormat.property(richprop::CellHint).toString());
                target.vAlign = static_cast<RichCellVAlign>(cellFormat.intProperty(richprop::CellVAlign));
                target.bestWidth = cellFormat.intProperty(richprop::CellWidth);
                if (cell.row() == row && cell.column() == col)
                    ReadChildren(cell.begin(), target.content, nullptr);
            }
        }
        item.table = std::make_unique<RichTable>(std::move(table));
        return item;
    }

    int TextStyleOf(const QTextCharFormat& format)
    {
        int no = format.hasProperty(richprop::TextStyle) ? format.intProperty(richprop::TextStyle) : 0;
        if (!m_Sheet.HasTextStyle(no))
            no = 0;
        if (m_Sheet.textStyles.empty())
            m_Sheet.textStyles.emplace_back();
        const SRichTextStyle& base = m_Sheet.textStyles[no];
        const STextLook drawn = LookOf(base, m_Zoom);
        const STextLook seen = LookOf(format, drawn);
        SRichTextStyle style = base;
        if (seen.family != drawn.family)
            style.fontName = ToStdString(seen.family);
        if (seen.size != drawn.size)
            style.size = std::max(1, static_cast<int>(seen.size + 0.5) - m_Zoom);
        style.bold = seen.bold;
        style.italic = seen.italic;
        style.underline = seen.underline;
        style.strikeOut = seen.strikeOut;
        if (seen.color != drawn.color)
            style.color = FromQColor(seen.color);
        if (seen.back != drawn.back)
            style.backColor = seen.back.isValid() ? FromQColor(seen.back) : kNoColor;
        style.subSuper = seen.subSuper;
        style.jump = seen.jump;
        if (style.SameFont(base))
            return no;
        return m_Sheet.FindOrAddTextStyle(style);
    }

    int ParaStyleOf(const QTextBlockFormat& format)
    {
        int no = format.hasProperty(richprop::ParaStyle) ? format.intProperty(richprop::ParaStyle) : 0;
        if (!m_Sheet.HasParaStyle(no))
            no = 0;
        if (m_Sheet.paraStyles.empty())
            m_Sheet.paraStyles.emplace_back();
        const SRichParaStyle& base = m_Sheet.paraStyles[no];
        SRichParaStyle style = base;
        if (format.hasProperty(QTextFormat::BlockAlignment))
            style.align = RichAlignOf(format.alignment());
        if (format.hasProperty(QTextFormat::BackgroundBrush))
        {
            const QColor back =
                format.background().style() == Qt::NoBrush ? QColor() : format.background().color();
            const QColor drawn = base.backColor == kNoColor ? QColor() : ToQColor(base.backColor);
            if (back != drawn)
                style.backColor = back.isValid() ? FromQColor(back) : kNoColor;
        }
        if (style.SameLayout(base))
            return no;
        return m_Sheet.FindOrAddParaStyle(style);
    }

    const QTextDocument& m_In;
    RichStyleSheet& m_Sheet;
    int m_Zoom;
    std::vector<SRichItemPlace>* m_Places;
};

} // namespace

std::vector<SRichItemSpan> RichToTextDocument(const RichDocument& doc, QTextDocument& out,
                                              const SRichRenderOptions& options, const RichStyleSheet* sheet)
{
    const RichStyleSheet& styles = sheet ? *sheet : doc.styles;
    out.clear();
    out.setDocumentMargin(0);
    QTextFrameFormat root = out.rootFrame()->frameFormat();
    root.setLeftMargin(doc.view.leftMargin);
    root.setRightMargin(doc.view.rightMargin);
    root.setTopMargin(doc.view.topMargin);
    root.setBottomMargin(doc.view.bottomMargin);
    root.setProperty(richprop::ViewColor, static_cast<qlonglong>(doc.view.color));
    root.setProperty(richprop::ViewBackground, static_cast<int>(doc.view.background));
    out.rootFrame()->setFrameFormat(root);
    if (!styles.textStyles.empty())
        out.setDefaultFont(CharFormatOf(LookOf(styles.textStyles.front(), options.zoomStep)).font());
    std::vector<SRichItemSpan> spans;
    spans.reserve(doc.content.items.size());
    QTextCursor cursor(&out);
    cursor.beginEditBlock();
    Builder(styles, options, out).Insert(cursor, doc.content, true, &spans);
    cursor.endEditBlock();
    return spans;
}

void InsertRichContent(QTextCursor& cursor, const RichContent& content, const RichStyleSheet& sheet,
                       const SRichRenderOptions& options)
{
    cursor.beginEditBlock();
    Builder(sheet, options, *cursor.document()).Insert(cursor, content, false, nullptr);
    cursor.endEditBlock();
}

void RedrawCell(QTextTable& table, int row, int col, const SRichCell& cell, const RichStyleSheet& sheet,
                const SRichRenderOptions& options)
{
    QTextCursor cursor = table.cellAt(row, col).firstCursorPosition();
    cursor.beginEditBlock();
    cursor.setPosition(table.cellAt(row, col).lastCursorPosition().position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    Builder(sheet, options, *table.document()).Insert(cursor, cell.content, true, nullptr);
    Builder::ApplyCellFormat(table, row, col, cell);
    FitFixedColumnsToPictures(table);
    cursor.endEditBlock();
}

std::vector<SRichItemSpan> TextDocumentToRich(const QTextDocument& in, RichDocument& doc, int zoomStep,
                                              std::vector<SRichItemPlace>* places)
{
    if (places)
        places->clear();
    const QTextFrameFormat root = in.rootFrame()->frameFormat();
    doc.view.leftMargin = static_cast<int>(root.leftMargin());
    doc.view.rightMargin = static_cast<int>(root.rightMargin());
    doc.view.topMargin = static_cast<int>(root.topMargin());
    doc.view.bottomMargin = static_cast<int>(root.bottomMargin());
    if (root.hasProperty(richprop::ViewColor))
    {
        doc.view.color = static_cast<RichColor>(root.property(richprop::ViewColor).toLongLong());
        doc.view.background = static_cast<RichBackground>(root.intProperty(richprop::ViewBackground));
    }
    RichContent content;
    std::vector<SRichItemSpan> spans;
    Reader(in, doc.styles, zoomStep, places).ReadChildren(in.rootFrame()->begin(), content, &spans);
    doc.content = std::move(content);
    return spans;
}

} // namespace lf::qt
