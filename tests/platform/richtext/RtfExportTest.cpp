// Saving a rich-text document as RTF and as plain text.
#include "platform/richtext/RtfExport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lf;

namespace
{

bool Has(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The header of a PNG of 3 x 2 pixels: what the writer reads of a picture it embeds.
std::string PngHeader()
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png += std::string("\0\0\0\x0dIHDR", 8);
    png += std::string("\0\0\0\x03\0\0\0\x02\x08\x06\0\0\0", 13);
    return png;
}

TEST(RtfExport, TextRunsKeepTheirFontAndEveryCharacterSurvivesAsAnEscape)
{
    RichDocument doc;
    SRichTextStyle look;
    look.fontName = "Liberation Serif";
    look.size = 15;
    look.bold = look.italic = look.underline = look.strikeOut = true;
    look.color = 0x0000FF; // red in the platform's blue-green-red order
    const int styleNo = doc.styles.FindOrAddTextStyle(look);
    doc.content.AddText("a{b}\\c\tx", 0, 0);
    doc.content.AddText(" é€😀", styleNo, 0, false);
    const std::string rtf = WriteRtf(doc);

    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi", 0), 0u);
    EXPECT_TRUE(Has(rtf, "a\\{b\\}\\\\c\\tab x"));
    // U+00E9, U+20AC, and U+1F600 as its two UTF-16 halves (signed 16-bit numbers).
    EXPECT_TRUE(Has(rtf, "\\u233?\\u8364?\\u-10179?\\u-8704?"));
    for (const char c : rtf)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "RTF is plain ASCII";
    EXPECT_TRUE(Has(rtf, "{\\f1\\fnil Liberation Serif;}"));
    EXPECT_TRUE(Has(rtf, "\\red255\\green0\\blue0;"));
    EXPECT_TRUE(Has(rtf, "{\\f1\\fs30\\b\\i\\ul\\strike\\cf2 "));
    // The braces balance, so a reader finds the end of the document.
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i)
    {
        if (rtf[i] == '\\')
            ++i;
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}')
        {
            EXPECT_GE(--depth, 0);
        }
    }
    EXPECT_EQ(depth, 0);
}

TEST(RtfExport, ParagraphsKeepTheirAlignmentAndLineBreaks)
{
    RichDocument doc = RichDocument(RichStyleSheet::Default());
    doc.content.AddText("left", 0, 0);
    doc.content.AddText("middle", 0, 1); // "Centered"
    doc.content.AddText("next line", 0, 1, false).lineBreak = true;
    const std::string rtf = WriteRtf(doc);
    EXPECT_TRUE(Has(rtf, "\\pard\\plain\\ql {\\f0\\fs20\\cf1 left}\\par"));
    EXPECT_TRUE(
        Has(rtf, "\\pard\\plain\\qc {\\f0\\fs20\\cf1 middle}\\line {\\f0\\fs20\\cf1 next line}\\par"));
}

TEST(RtfExport, TablesGiveRowsOfCellsWithTheirColoursAndWidths)
{
    RichDocument doc;
    RichTable table(2, 2);
    table.bestWidth = -100;
    table.cellBorderWidth = 0;
    table.Cell(0, 0).bestWidth = 20; // pixels
    table.Cell(0, 0).content.AddText("a", 0, 0);
    table.Cell(0, 1).content.AddText("first", 0, 0);
    table.Cell(0, 1).content.AddText("second", 0, 0);
    table.Cell(1, 1).color = 0xE1E1E1;
    table.Cell(1, 1).vAlign = RichCellVAlign::Center;
    doc.content.AddText("before", 0, 0);
    doc.content.AddTable(std::move(table), "1", 0);
    doc.content.AddText("after", 0, 0);
    const std::string rtf = WriteRtf(doc);

    // A4 with 2 cm margins leaves 9638 twips; the 20-pixel column takes 300 of them.
    EXPECT_TRUE(
        Has(rtf,
            "\\trowd\\trgaph15\\trleft0\\trpaddt30\\trpaddb30\\trpaddft3\\trpaddfb3\\cellx300\\cellx9638\n"));
    EXPECT_TRUE(Has(rtf, "\\pard\\plain\\intbl\\ql {\\f0\\fs20\\cf1 first}\\par\n"
                         "\\pard\\plain\\intbl\\ql {\\f0\\fs20\\cf1 second}\\cell\n"));
    // Black text takes colour 1, the cell's grey colour 2.
    EXPECT_TRUE(Has(rtf, "{\\colortbl ;\\red0\\green0\\blue0;\\red225\\green225\\blue225;}"));
    EXPECT_TRUE(Has(rtf, "\\clvertalc\\clcbpat2\\cellx9638"));
    EXPECT_TRUE(Has(rtf, "\\pard\\plain\\intbl\\ql \\cell\n\\row\n"));
    EXPECT_LT(rtf.find("before"), rtf.find("\\trowd"));
    EXPECT_LT(rtf.rfind("\\row"), rtf.find("after"));
    EXPECT_FALSE(Has(rtf, "\\clbrdr")); // a table without cell borders draws none
}

TEST(RtfExport, PicturesGoInAsPngAtTheirDrawnSize)
{
    RichDocument doc;
    doc.content.AddPicture({PngHeader(), "png"}, 0, 0, 0, true);
    doc.content.AddPicture({"GIF89a", "gif"}, 0, 0, 0, true);
    doc.content.AddHotspot(3, 0, true);
    const std::string plain = WriteRtf(doc);
    EXPECT_TRUE(Has(plain, "{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30\n89504e47"));
    // Without a picture source what is not PNG is left out.
    EXPECT_EQ(plain.find("\\pict"), plain.rfind("\\pict"));

    int asked = 0;
    const std::string sourced = WriteRtf(doc,
                                         [&](const SRichItem& item)
                                         {
                                             ++asked;
                                             SRtfPicture picture;
                                             if (item.styleNo == kRichStyleHotspot)
                                                 picture = {PngHeader(), 32, 32};
                                             return picture;
                                         });
    EXPECT_EQ(asked, 3);
    EXPECT_TRUE(Has(sourced, "\\picw32\\pich32\\picwgoal480\\pichgoal480"));
}

TEST(RtfExport, PngSizeReadsOnlyPngHeaders)
{
    int width = 0;
    int height = 0;
    EXPECT_TRUE(PngSize(PngHeader(), width, height));
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_FALSE(PngSize("GIF89a and more bytes than a header", width, height));
    EXPECT_FALSE(PngSize(PngHeader().substr(0, 20), width, height));
}

TEST(TextExport, LinesAreBrokenAtBlanksWithinTheLineWidth)
{
    RichDocument doc;
    doc.content.AddText("one two three four", 0, 0);
    doc.content.AddText("abcdefghijkl", 0, 0);
    doc.content.AddText("", 0, 0);
    RichTable table(1, 2);
    table.Cell(0, 0).content.AddText("x", 0, 0);
    table.Cell(0, 1).content.AddText("y", 0, 0);
    doc.content.AddTable(std::move(table), "1", 0);
    EXPECT_EQ(WriteRichText(doc, 9), "one two\nthree\nfour\nabcdefghi\njkl\n\nx\ty\n");
    EXPECT_EQ(WriteRichText(doc, 1024), "one two three four\nabcdefghijkl\n\nx\ty\n");
    // Characters, not bytes, count.
    RichDocument wide;
    wide.content.AddText("ééé ééé", 0, 0);
    EXPECT_EQ(WriteRichText(wide, 7), "ééé ééé\n");
}

TEST(RtfExport, FilesAreWrittenWholeOrNotAtAll)
{
    lf::test::TempDir dir;
    RichDocument doc;
    doc.content.AddText("saved", 0, 0);
    const std::string rtf = dir.file("out.rtf");
    const std::string text = dir.file("out.txt");
    ASSERT_TRUE(SaveRtfFile(rtf, doc, {}));
    ASSERT_TRUE(SaveTextFile(text, doc, 1024));
    EXPECT_EQ(lf::test::ReadFile(rtf), WriteRtf(doc));
    EXPECT_EQ(lf::test::ReadFile(text), "saved\n");
    std::string error;
    EXPECT_FALSE(SaveRtfFile(dir.file("missing/out.rtf"), doc, {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

} // namespace
