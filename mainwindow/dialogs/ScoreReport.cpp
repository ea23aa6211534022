#include "mainwindow/dialogs/ScoreReport.h"

#include "model/collection/Itemsarray.h"
#include "model/support/Log.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtText.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

using lf::qt::ToQString;

namespace
{

QFont ChartFont(bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

std::int32_t MeasureChartText(const std::string& text, bool bold)
{
    return QFontMetrics(ChartFont(bold)).horizontalAdvance(ToQString(text));
}

struct SSegmentColours
{
    QColor upper;
    QColor lower;
    QColor label;
};

SSegmentColours ColoursOf(std::int32_t kind)
{
    switch (kind)
    {
    case ssCorrect:
        return {QColor(0, 187, 0), QColor(0, 170, 0), Qt::white};
    case ssPartiallyCorrect:
        return {QColor(255, 255, 102), QColor(255, 255, 0), Qt::black};
    case ssIncorrect:
        return {QColor(204, 0, 0), QColor(187, 0, 0), Qt::white};
    default:
        return {QColor(170, 170, 170), QColor(150, 150, 150), Qt::white};
    }
}

void AddCentred(lf::RichContent& content, const std::string& text, int styleNo, bool newParagraph)
{
    content.AddText(text, styleNo, ScoreReport::kParaCentered, newParagraph);
}

void AddEmptyLeft(lf::RichContent& content)
{
    content.AddText("", ScoreReport::kNormalText, ScoreReport::kParaLeft);
}

// The table of the rows the collection holds now: a header row, then one row per score row.
lf::RichTable BuildScoreTable(const CItemsArray2& items)
{
    using namespace ScoreReport;
    const std::int32_t n = items.GetScoreCount();
    lf::RichTable table(n + 1, 5);
    table.bestWidth = 500;
    table.borderWidth = 1;
    table.cellBorderWidth = 1;
    table.borderStyle = lf::RichTableBorder::Color;
    table.cellBorderStyle = lf::RichTableBorder::Color;
    table.borderHSpacing = 2;
    table.borderVSpacing = 2;
    table.cellPadding = 2;

    table.Cell(0, 0).content.AddText("", kNormalText, kParaLeft);
    const char* headings[] = {"Correct", "Part. correct", "Incorrect", "Unanswered"};
    for (int col = 1; col <= 4; ++col)
        table.Cell(0, col).content.AddText(headings[col - 1], kSubheading, kParaCentered);

    for (std::int32_t r = 1; r <= n; ++r)
    {
        SScoreInfo row;
        if (!items.GetScoreItem(r - 1, row))
        {
            WriteLog("Tm_ScoreDlg::BuildScoreView - ERROR: GetItemsPtr2->GetScoreItem(RowN - 1, ScoreInfo)!",
                     1, 1);
            for (int col = 0; col < 5; ++col)
                table.Cell(r, col).content.AddText("", kNormalText, kParaLeft);
            continue;
        }
        table.Cell(r, 0).content.AddText(row.Name, row.isCurrent ? kSubheading : kNormalText, kParaLeft);
        const std::int32_t counts[] = {row.Correct, row.PartiallyCorrect, row.Incorrect, row.Unanswered};
        for (int col = 1; col <= 4; ++col)
            table.Cell(r, col).content.AddText(lf::sys::NumberText(counts[col - 1]), kNormalText,
                                               kParaCentered);
        if (row.isTotalRow)
        {
            for (int col = 0; col < 5; ++col)
                table.Cell(r, col).color = kTotalRowColor;
        }
    }
    return table;
}

// Chart and table of the rows the collection holds now.
void AddSection(const CItemsArray2& items, lf::RichContent& content)
{
    const QImage chart = DrawScoreChart(ReadScoreRows(items));
    if (!chart.isNull())
        content.AddPicture(lf::qt::ToPng(chart), chart.width(), chart.height(), ScoreReport::kParaLeft, true);
    AddEmptyLeft(content);
    content.AddTable(BuildScoreTable(items), "", ScoreReport::kParaLeft);
}

} // namespace

lf::RichStyleSheet ScoreReportStyles()
{
    lf::RichStyleSheet sheet = lf::RichStyleSheet::Default();
    sheet.textStyles[ScoreReport::kHeading].size = 12;
    sheet.textStyles[ScoreReport::kSubheading].color = 0x000000;
    lf::SRichTextStyle error;
    error.name = "ErrorText";
    error.bold = true;
    error.color = 0x0000FF;
    sheet.textStyles.push_back(error);

    lf::SRichParaStyle right;
    right.name = "RightAlign";
    right.align = lf::RichAlign::Right;
    lf::SRichParaStyle bordered;
    bordered.name = "BorderStile";
    bordered.align = lf::RichAlign::Center;
    bordered.border = lf::RichBorderStyle::Single;
    sheet.paraStyles.push_back(right);
    sheet.paraStyles.push_back(bordered);
    return sheet;
}

void DrawBarSegment(QImage& image, const SOneBarInfo& segment)
{
    const SSegmentColours colours = ColoursOf(segment.kind);
    const SChartRect& r = segment.rect;
    const std::int32_t middle = r.top + r.Height() / 2;
    QPainter painter(&image);
    painter.fillRect(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, middle - 1)), colours.upper);
    painter.fillRect(QRect(QPoint(r.left, middle), QPoint(r.right - 1, r.bottom - 1)), colours.lower);

    const QString label = ToQString(lf::sys::NumberText(segment.percentage) + "%");
    painter.setFont(ChartFont(false));
    const QFontMetrics metrics(painter.font());
    const int textWidth = metrics.horizontalAdvance(label);
    if (r.Width() > textWidth)
    {
        painter.setPen(colours.label);
        const int x = r.left + r.Width() / 2 - textWidth / 2;
        const int y = r.top + r.Height() / 2 - metrics.height() / 2;
        painter.drawText(x, y + metrics.ascent(), label);
    }
}

QImage DrawScoreChart(const std::vector<SScoreInfo>& rows)
{
    const std::int32_t textHeight = QFontMetrics(ChartFont(false)).height();
    const SScoreChartLayout chart = LayoutScoreChart(rows, MeasureChartText, textHeight);
    QImage image(chart.width, chart.height, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        const SChartRect& plot = chart.plot;
        painter.setPen(QColor(224, 224, 224));
        painter.drawRect(0, 0, chart.width - 1, chart.height - 1);
        painter.fillRect(QRect(QPoint(plot.left, plot.top), QPoint(plot.right - 1, plot.bottom - 1)),
                         QColor(247, 247, 247));
        painter.setPen(QColor(160, 160, 160));
        painter.drawLine(plot.right, plot.bottom, plot.right, plot.top);
        painter.drawLine(plot.right, plot.top, plot.left, plot.top);
        painter.setPen(Qt::black);
        painter.drawLine(plot.left, plot.top, plot.left, plot.bottom);
        painter.drawLine(plot.left, plot.bottom, plot.right, plot.bottom);

        painter.setFont(ChartFont(false));
        const QFontMetrics metrics(painter.font());
        for (const SScoreChartAxisLabel& tick : chart.xLabels)
        {
            painter.setPen(Qt::black);
            painter.drawLine(tick.x, plot.bottom, tick.x, plot.bottom + ScoreChart::kTickLength);
            if (tick.x > plot.left)
            {
                painter.setPen(QColor(224, 224, 224));
                painter.drawLine(tick.x, plot.bottom - 1, tick.x, plot.top);
            }
            painter.setPen(Qt::black);
            const QString text = ToQString(tick.text);
            const int x = tick.x - metrics.horizontalAdvance(text) / 2;
            painter.drawText(x, plot.bottom + 6 + metrics.ascent(), text);
        }
        for (std::int32_t y : chart.yTicks)
            painter.drawLine(plot.left, y, plot.left - ScoreChart::kTickLength, y);

        for (const SScoreChartRow& row : chart.rows)
        {
            painter.setFont(ChartFont(row.bold));
            painter.setPen(Qt::black);
            painter.drawText(row.labelX, row.labelY + QFontMetrics(painter.font()).ascent(),
                             ToQString(row.label));
        }
    }
    for (const SScoreChartRow& row : chart.rows)
    {
        for (const SOneBarInfo& segment : row.segments)
            DrawBarSegment(image, segment);
    }
    return image;
}

std::vector<SScoreInfo> ReadScoreRows(const CItemsArray2& items)
{
    std::vector<SScoreInfo> rows;
    for (std::int32_t i = 0; i < items.GetScoreCount(); ++i)
    {
        SScoreInfo row;
        items.GetScoreItem(i, row);
        rows.push_back(row);
    }
    return rows;
}

bool BuildScoreReport(CItemsArray2& items, const std::string& bookFileName, const std::string& dateText,
                      lf::RichDocument& document)
{
    using namespace ScoreReport;
    document.styles = ScoreReportStyles();
    lf::RichContent& content = document.content;
    content.Clear();
    if (!items.RefreshScoreData(false))
    {
        content.AddText("Error. Can't calculate the score, please contact support.", kErrorText, kParaLeft);
        content.AddText("", kErrorText, kParaLeft);
        content.AddText("Thanks.", kErrorText, kParaLeft);
        return false;
    }

    AddCentred(content, "Score Results", kHeading, true);
    AddCentred(content, "Test name: " + lf::sys::StoredNamePart(bookFileName), kSubheading, true);
    AddCentred(content, "", kHeading, true);
    AddCentred(content, "", kHeading, true);
    const char* legend[] = {"Correct", "Part. correct", "Incorrect", "Unanswered"};
    for (int square = 0; square < 4; ++square)
    {
        if (square > 0)
            AddCentred(content, "    ", kHeading, false);
        content.AddHotspot(square, kParaCentered, false);
        AddCentred(content, " ", kHeading, false);
        AddCentred(content, legend[square], kSubheading, false);
    }
    AddEmptyLeft(content);

    AddSection(items, content);
    if (items.GetActiveCategory() != kAllCategoriesID && items.RefreshScoreData(true))
    {
        AddEmptyLeft(content);
        AddSection(items, content);
    }

    AddEmptyLeft(content);
    AddEmptyLeft(content);
    content.AddText("Date: ", kNormalText, kParaRight, true);
    content.AddText(dateText, kNormalText, kParaRight, false);
    return true;
}

SScoreButtons ScoreButtonsFor(CItemsArray2& items, EPhase phase)
{
    SScoreButtons buttons;
    if (phase == EPhase::Edit)
        return buttons;
    buttons.changed = true;
    buttons.continueCaption = phase == EPhase::Test     ? "Continue Test"
                              : phase == EPhase::Review ? "Continue Review"
                                                        : "Continue Flash";
    buttons.allCaption = phase == EPhase::Test     ? "Review All"
                         : phase == EPhase::Review ? "Flash All"
                                                   : "Test All";

    buttons.incorrectVisible = false;
    if (phase != EPhase::Flash && !items.GetCycleMode() && !items.GetDepthMode() &&
        items.RefreshScoreData(false))
    {
        for (const SScoreInfo& row : ReadScoreRows(items))
        {
            if (row.Incorrect > 0)
            {
                buttons.incorrectVisible = true;
                buttons.incorrectCaption = phase == EPhase::Test ? "Review Incorrect" : "Flash Incorrect";
                break;
            }
        }
    }
    buttons.continueVisible = !(items.GetCycleMode() && items.GetSequenceCount() < 1);
    return buttons;
}
