#include "platform/qt/RichTextConvert.h"
#include "platform/richtext/RichXml.h"
#include "tests/platform/qt/RichTestDocs.h"
#include "tests/support/TestSupport.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lf;

namespace
{

// Draws a document and reads the drawing back into a document with the same sheet.
RichDocument RoundTrip(const RichDocument& doc, int zoomStep)
{
    QTextDocument drawn;
    qt::SRichRenderOptions options;
    options.zoomStep = zoomStep;
    qt::RichToTextDocument(doc, drawn, options);
    RichDocument back(doc.styles);
    qt::TextDocumentToRich(drawn, back, zoomStep);
    return back;
}

class RichTextConvertZoom : public ::testing::TestWithParam<int>
{
};

} // namespace

// The stored fixture holds every item kind, nested tables, odd characters and a bordered paragraph.
TEST_P(RichTextConvertZoom, StoredDocumentSurvivesTheDrawingUnchanged)
{
    const std::string stored = test::ReadFile(test::DataFile("richtext/every_kind.xml"));
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(stored, doc), RichXmlResult::Loaded);
    const RichDocument back = RoundTrip(doc, GetParam());
    const std::string result = WriteRichXml(back);
    EXPECT_EQ(result, stored);
    if (result != stored)
    {
        const std::string kept = (std::filesystem::temp_directory_path() / "every_kind_drawn.xml").string();
        test::WriteFile(kept, result);
        ADD_FAILURE() << "drawn and read back: " << kept;
    }
}

TEST_P(RichTextConvertZoom, BuiltDocumentSurvivesTheDrawingUnchanged)
{
    const RichDocument doc = test::EveryKindDocument();
    const RichDocument back = RoundTrip(doc, GetParam());
    EXPECT_EQ(WriteRichXml(back), WriteRichXml(doc));
}

INSTANTIATE_TEST_SUITE_P(Zoom, RichTextConvertZoom, ::testing::Values(0, 3, -4));

TEST(RichTextConvert, DrawsTextStylesAndParagraphStylesAsTheSheetSays)
{
    RichDocument doc(RichStyleSheet::Default());
    SRichTextStyle odd;
    odd.fontName = "Courier New";
    odd.size = 14;
    odd.italic = true;
    odd.strikeOut = true;
    odd.color = 0x0000FF;     // red
    odd.backColor = 0x00FFFF; // yellow
    odd.subSuper = RichSubSuper::Sub;
    const int oddNo = doc.styles.FindOrAddTextStyle(odd);
    SRichParaStyle right;
    right.align = RichAlign::Right;
    right.backColor = 0x808080;
    const int rightNo = doc.styles.FindOrAddParaStyle(right);
    doc.content.AddText("odd", oddNo, rightNo);
    doc.content.AddText("link", 4, 1).tag = "http://x";

    QTextDocument drawn;
    qt::RichToTextDocument(doc, drawn, {});
    const QTextBlock first = drawn.firstBlock();
    const QTextCharFormat format = first.begin().fragment().charFormat();
    EXPECT_EQ(format.fontFamilies().toStringList().value(0), "Courier New");
    EXPECT_EQ(format.fontPointSize(), 14);
    EXPECT_TRUE(format.fontItalic());
    EXPECT_TRUE(format.fontStrikeOut());
    EXPECT_FALSE(format.fontUnderline());
    EXPECT_EQ(format.foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(format.background().color(), QColor(255, 255, 0));
    EXPECT_EQ(format.verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_TRUE(first.blockFormat().alignment() & Qt::AlignRight);
    EXPECT_EQ(first.blockFormat().background().color(), QColor(128, 128, 128));

    const QTextBlock second = first.next();
    const QTextCharFormat link = second.begin().fragment().charFormat();
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), "http://x");
    EXPECT_TRUE(link.fontUnderline());
    EXPECT_EQ(link.foreground().color(), QColor(0, 128, 0));
    EXPECT_TRUE(second.blockFormat().alignment() & Qt::AlignHCenter);
}

// A run whose look was changed in Qt takes an equal style of the sheet, or one new style for all
// runs of that look.
TEST(RichTextConvert, ChangedLooksFindOrAddStylesWithoutDuplicates)
{
    RichDocument doc(RichStyleSheet::Default());
    doc.content.AddText("plain bold", 0, 0);
    doc.content.AddText("more", 0, 0);
    QTextDocument drawn;
    qt::RichToTextDocument(doc, drawn, {});
    const int styles = doc.styles.TextStyleCount();

    QTextCursor cursor(&drawn);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat blueBold = bold;
    blueBold.setForeground(QColor(0, 0, 255));
    // "plain " stays, "bold" gets bold and blue: equal to "Heading" (1).
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(blueBold);
    // "more" gets bold only, twice over in two pieces: one new style.
    const int second = drawn.findBlockByNumber(1).position();
    cursor.setPosition(second);
    cursor.setPosition(second + 2, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(bold);
    cursor.setPosition(second + 2);
    cursor.setPosition(second + 4, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(bold);

    RichDocument back(doc.styles);
    qt::TextDocumentToRich(drawn, back, 0);
    ASSERT_EQ(back.content.Count(), 3);
    EXPECT_EQ(back.content.items[0].text, "plain ");
    EXPECT_EQ(back.content.items[0].styleNo, 0);
    EXPECT_EQ(back.content.items[1].text, "bold");
    EXPECT_EQ(back.content.items[1].styleNo, 1);
    EXPECT_EQ(back.content.items[2].text, "more");
    EXPECT_EQ(back.styles.TextStyleCount(), styles + 1);
    EXPECT_EQ(back.content.items[2].styleNo, styles);
    EXPECT_TRUE(back.styles.textStyles[styles].bold);
    EXPECT_EQ(back.styles.textStyles[styles].fontName, "Arial");
}

// A picture wider than its fixed-width column widens the column instead of spilling into the next cell,
// when the table is drawn and when one cell is drawn again with a wider picture. Columns without a
// picture keep their width.
TEST(RichTextConvert, FixedColumnGrowsToTheWidestPicture)
{
    RichTable table(2, 2);
    for (auto& cells : table.rows)
    {
        cells[0].bestWidth = 20;
        cells[1].bestWidth = 30;
        cells[1].content.AddText("text", 0, 0);
    }
    table.rows[0][0].content.AddPicture(test::SolidPng(32, 32, QColor(0, 0, 220)), 0, 0, 0, true);
    table.rows[1][0].content.AddPicture(test::SolidPng(16, 16, QColor(0, 0, 220)), 0, 0, 0, true);
    RichDocument doc(RichStyleSheet::Default());
    doc.content.AddTable(std::move(table), "", 0);

    QTextDocument drawn;
    qt::SRichRenderOptions options;
    qt::RichToTextDocument(doc, drawn, options);
    QTextTable* shown = nullptr;
    for (QTextFrame* frame : drawn.rootFrame()->childFrames())
        shown = shown ? shown : qobject_cast<QTextTable*>(frame);
    ASSERT_NE(shown, nullptr);
    auto widths = [&]
    {
        const QList<QTextLength> columns = shown->format().columnWidthConstraints();
        return std::pair{columns.at(0).rawValue(), columns.at(1).rawValue()};
    };
    EXPECT_EQ(widths(), (std::pair<qreal, qreal>{32, 30}));

    SRichCell wider;
    wider.bestWidth = 20;
    wider.content.AddPicture(test::SolidPng(48, 20, QColor(0, 0, 220)), 0, 0, 0, true);
    qt::RedrawCell(*shown, 1, 0, wider, doc.styles, options);
    EXPECT_EQ(widths(), (std::pair<qreal, qreal>{48, 30}));

    // The stored widths are the cells' own, not the drawn ones.
    RichDocument back(doc.styles);
    qt::TextDocumentToRich(drawn, back, 0);
    ASSERT_TRUE(back.content.items.at(0).IsTable());
    EXPECT_EQ(back.content.items[0].table->Cell(0, 0).bestWidth, 20);
}
