// The print engine of the rich-text views: lays a document out on the printer's pages within margins and
// draws the pages, into the print preview and onto the printer alike, so both show the same pages. The
// layout is made at screen resolution and scaled to the device, as the views draw it.
#pragma once

#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RtfExport.h"

#include <QImage>
#include <QRectF>

#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QTextDocument;

namespace lf::qt
{

class RichPrint
{
public:
    RichPrint();
    ~RichPrint();
    RichPrint(const RichPrint&) = delete;
    RichPrint& operator=(const RichPrint&) = delete;

    // Margins on all four sides, in millimetres (20 unless set).
    void SetMargins(double millimetres);
    double Margins() const { return m_Margins; }

    // The document to print (borrowed; it must outlive the formatting) and the pictures its hotspots show.
    void AssignSource(const RichDocument* doc, std::vector<QImage> hotspotImages = {});
    const RichDocument* Source() const { return m_Source; }

    // Lays the source out on the printer's paper; the number of pages, 0 without a source or content.
    // The printer is set to draw on the whole paper (the margins are the engine's).
    int FormatPages(QPrinter& printer);
    int PagesCount() const { return m_Pages; }

    // Prints pages from to to (1-based, kept within the pages) with the title as the job's name, in the
    // copies and collation the printer was given. False when nothing could be printed (no page, or the
    // printer refused to start).
    bool PrintPages(QPrinter& printer, int from, int to, const std::string& title);
    bool Print(QPrinter& printer, const std::string& title) { return PrintPages(printer, 1, m_Pages, title); }

    // Draws every page into the preview's printer, the margins shown dotted.
    void RenderPreview(QPrinter& printer);

private:
    // Draws one page (1-based) with the painter on the printer.
    void DrawPage(QPainter& painter, QPrinter& printer, int page, bool showMargins);
    QRectF BodyRect(QPrinter& printer) const; // in device pixels

    const RichDocument* m_Source = nullptr;
    std::vector<QImage> m_HotspotImages;
    std::unique_ptr<QTextDocument> m_Layout;
    double m_Margins = 20.0;
    double m_LayoutDpi = 96.0;
    double m_Fit = 1.0; // the scale that brings content wider than the page within the margins
    int m_Pages = 0;
};

// The pictures of a view for an RTF file: hotspots from the image list given, every picture format
// turned into PNG at the size the view draws it.
lf::RtfPictureSource RtfPicturesOf(std::vector<QImage> hotspotImages);

} // namespace lf::qt
