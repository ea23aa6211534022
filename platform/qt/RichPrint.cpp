#include "platform/qt/RichPrint.h"

#include "platform/qt/QtText.h"
#include "platform/qt/RichTextConvert.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QScreen>
#include <QTextDocument>

#include <algorithm>

namespace lf::qt
{

namespace
{

constexpr double kMillimetresPerInch = 25.4;

double ScreenDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchY() : 96.0;
}

std::string PngOf(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

} // namespace

RichPrint::RichPrint() = default;
RichPrint::~RichPrint() = default;

void RichPrint::SetMargins(double millimetres)
{
    m_Margins = std::max(0.0, millimetres);
}

void RichPrint::AssignSource(const RichDocument* doc, std::vector<QImage> hotspotImages)
{
    m_Source = doc;
    m_HotspotImages = std::move(hotspotImages);
    m_Layout.reset();
    m_Pages = 0;
}

QRectF RichPrint::BodyRect(QPrinter& printer) const
{
    const double dpi = printer.resolution();
    const QRectF paper = printer.pageLayout().fullRectPixels(printer.resolution());
    const double margin = m_Margins / kMillimetresPerInch * dpi;
    return paper.adjusted(margin, margin, -margin, -margin);
}

int RichPrint::FormatPages(QPrinter& printer)
{
    m_Layout.reset();
    m_Pages = 0;
    if (!m_Source || m_Source->Empty())
        return 0;
    printer.setFullPage(true);
    m_LayoutDpi = ScreenDpi();
    const QRectF body = BodyRect(printer);
    const double scale = m_LayoutDpi / printer.resolution();
    m_Layout = std::make_unique<QTextDocument>();
    SRichRenderOptions options;
    options.hotspotImages = m_HotspotImages;
    RichToTextDocument(*m_Source, *m_Layout, options);
    const QSizeF page(body.width() * scale, body.height() * scale);
    m_Layout->setPageSize(page);
    // Content wider than the page (a chart drawn at its screen size) is printed smaller, so that it fits
    // between the margins instead of being cut off.
    m_Fit = 1.0;
    const double wide = m_Layout->documentLayout()->documentSize().width();
    if (wide > page.width() + 0.5)
    {
        m_Fit = page.width() / wide;
        m_Layout->setPageSize(QSizeF(wide, page.height() / m_Fit));
    }
    m_Pages = m_Layout->pageCount();
    return m_Pages;
}

void RichPrint::DrawPage(QPainter& painter, QPrinter& printer, int page, bool showMargins)
{
    const QRectF body = BodyRect(printer);
    if (showMargins)
    {
        painter.save();
        QPen pen(Qt::gray);
        pen.setStyle(Qt::DotLine);
        pen.setWidthF(0);
        painter.setPen(pen);
        painter.drawRect(body);
        painter.restore();
    }
    if (!m_Layout || page < 1 || page > m_Pages)
        return;
    const double scale = printer.resolution() / m_LayoutDpi * m_Fit;
    const QSizeF pageSize = m_Layout->pageSize();
    const QRectF view(0, (page - 1) * pageSize.height(), pageSize.width(), pageSize.height());
    painter.save();
    painter.translate(body.topLeft());
    painter.scale(scale, scale);
    painter.translate(0, -view.top());
    painter.setClipRect(view);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = view;
    context.palette.setColor(QPalette::Text, Qt::black);
    m_Layout->documentLayout()->draw(&painter, context);
    painter.restore();
}

bool RichPrint::PrintPages(QPrinter& printer, int from, int to, const std::string& title)
{
    if (m_Pages < 1)
        return false;
    from = std::clamp(from, 1, m_Pages);
    to = std::clamp(to, from, m_Pages);
    printer.setDocName(ToQString(title));
    printer.setFullPage(true);
    // The printer makes the copies itself where it can; otherwise each copy is printed here.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    const bool collate = printer.collateCopies();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    bool first = true;
    const auto printOne = [&](int page)
    {
        if (!first && !printer.newPage())
            return false;
        first = false;
        DrawPage(painter, printer, page, false);
        return true;
    };
    bool ok = true;
    if (collate)
    {
        for (int c = 0; c < copies && ok; ++c)
            for (int page = from; page <= to && ok; ++page)
                ok = printOne(page);
    }
    else
    {
        for (int page = from; page <= to && ok; ++page)
            for (int c = 0; c < copies && ok; ++c)
                ok = printOne(page);
    }
    return painter.end() && ok;
}

void RichPrint::RenderPreview(QPrinter& printer)
{
    QPainter painter(&printer);
    for (int page = 1; page <= m_Pages; ++page)
    {
        if (page > 1)
            printer.newPage();
        DrawPage(painter, printer, page, true);
    }
}

lf::RtfPictureSource RtfPicturesOf(std::vector<QImage> hotspotImages)
{
    return [images = std::move(hotspotImages)](const SRichItem& item)
    {
        SRtfPicture picture;
        QImage image;
        if (item.styleNo == kRichStyleHotspot)
        {
            if (item.imageIndex >= 0 && item.imageIndex < static_cast<int>(images.size()))
                image = images[static_cast<std::size_t>(item.imageIndex)];
        }
        else if (item.IsPicture())
        {
            image.loadFromData(reinterpret_cast<const uchar*>(item.picture.data.data()),
                               static_cast<int>(item.picture.data.size()));
        }
        if (image.isNull())
            return picture;
        picture.png = PngOf(image);
        picture.width = item.width > 0 && item.height > 0 ? item.width : image.width();
        picture.height = item.width > 0 && item.height > 0 ? item.height : image.height();
        return picture;
    };
}

} // namespace lf::qt
