#include "platform/richtext/RichXml.h"
#include "platform/richtext/PlainText.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lf;

namespace
{

using lf::test::PrintTo;

// A document with every kind of item, added styles and a table with rich cells.
RichDocument EveryKindDocument()
{
    RichDocument doc(RichStyleSheet::Display());
    SRichTextStyle super = doc.styles.textStyles[0];
    super.subSuper = RichSubSuper::Super;
    super.fontName = "Times New Roman";
    const int superNo = doc.styles.FindOrAddTextStyle(super);
    SRichParaStyle verdict;
    verdict.border = RichBorderStyle::Single;
    verdict.borderWidth = 10;
    verdict.backColor = 0x008000;
    const int verdictNo = doc.styles.FindOrAddParaStyle(verdict);
    doc.view.color = 0xFFFFFF;
    doc.view.background = RichBackground::Color;

    doc.content.AddText("x", 0, 0);
    doc.content.AddText("2", superNo, 0, false);
    doc.content.AddText(" <b> & \"q\" ]]> \xC3\xA4\tend ", 0, 0, false);
    doc.content.AddText("next line", 3, 0, false).lineBreak = true;
    SRichItem& link = doc.content.AddText("a link", 4, 1);
    link.tag = "http://example.com/?a=1&b=]]>";
    doc.content.AddText("", 0, 0);  // an empty paragraph
    doc.content.AddText(" ", 0, 0); // a blank one
    SRichItem& picture =
        doc.content.AddPicture({std::string("\x89PNG\r\n\x1A\n\0\xFF", 10), "png"}, 40, 30, 1, true);
    picture.source = "pics/a.png";
    picture.name = "pic";
    picture.vAlign = RichPictureAlign::Middle;
    SRichItem& hot = doc.content.AddPicture({"GIF89a", "gif"}, 0, 0, 0, false, true);
    hot.tag = "sound.mp3";
    doc.content.AddHotspot(13, 0, true).tag = "row";

    RichTable table(2, 3);
    table.bestWidth = -100;
    table.borderWidth = table.cellBorderWidth = 0;
    table.cellPadding = 4;
    table.borderVSpacing = 5;
    table.borderHSpacing = 10;
    table.borderStyle = table.cellBorderStyle = RichTableBorder::Color;
    SRichCell& first = table.Cell(0, 0);
    first.hint = "1";
    first.vAlign = RichCellVAlign::Center;
    first.bestWidth = 20;
    first.content.AddHotspot(21, 0, true);
    table.Cell(0, 1).content.AddText("answer", 0, 0);
    table.Cell(0, 1).color = 0xFFC800;
    table.Cell(0, 2).bestWidth = -25;
    RichTable inner(1, 1);
    inner.Cell(0, 0).content.AddText("nested", 1, 0);
    table.Cell(1, 1).content.AddTable(inner, "", 0);
    doc.content.AddTable(table, "1", 0);
    doc.content.AddText("Correct", 0, verdictNo);
    return doc;
}

} // namespace

TEST(RichXml, EveryItemKindSurvivesWriteReadWriteByteForByte)
{
    const RichDocument doc = EveryKindDocument();
    const std::string written = WriteRichXml(doc);
    RichDocument read(RichStyleSheet{});
    ASSERT_EQ(ReadRichXml(written, read), RichXmlResult::Loaded);
    EXPECT_TRUE(read == doc);
    EXPECT_EQ(WriteRichXml(read), written);
}

TEST(RichXml, StoredFixtureRewritesToTheSameBytes)
{
    // The fixture is the writer's own output for EveryKindDocument; it pins the vocabulary.
    const std::string stored = lf::test::ReadFile(lf::test::DataFile("richtext/every_kind.xml"));
    RichDocument read;
    ASSERT_EQ(ReadRichXml(stored, read), RichXmlResult::Loaded);
    EXPECT_TRUE(read == EveryKindDocument());
    EXPECT_EQ(WriteRichXml(read), stored);
}

TEST(RichXml, WriterNeverEmitsTheEndOfACdataSection)
{
    const std::string written = WriteRichXml(EveryKindDocument());
    EXPECT_EQ(written.find("]]>"), std::string::npos);
    EXPECT_EQ(written.rfind("<?xml", 0), 0u);
    EXPECT_TRUE(XMLTextHasRoot(written, "LFDRoot"));
}

// The writer's corner cases, each with the bytes the XML library writes for the same tree: escapes in
// attributes and text (control characters as "&#NN;"), a run cut at its first NUL, an element whose text
// is empty, items of no known kind left out, and empty rows and cells closed at once.
struct SWriterCase
{
    const char* name;
    std::function<void(RichContent&)> fill;
    std::string expected; // after the declaration and up to the document's end
};

class RichXmlWriter : public testing::TestWithParam<SWriterCase>
{
};

TEST_P(RichXmlWriter, WritesTheBytesOfTheXmlLibrary)
{
    RichDocument doc(RichStyleSheet{});
    doc.styles.textStyles.clear();
    doc.styles.paraStyles.clear();
    GetParam().fill(doc.content);
    const std::string head = "<?xml version=\"1.0\"?>\n<LFDRoot>\n\t<style />\n\t<document leftmargin=\"5\" "
                             "rightmargin=\"5\" topmargin=\"5\" bottommargin=\"5\" color=\"536870911\" "
                             "background=\"none\" stringtags=\"1\"";
    EXPECT_EQ(WriteRichXml(doc), head + GetParam().expected + "</LFDRoot>\n");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RichXmlWriter,
    testing::Values(
        SWriterCase{"Empty", [](RichContent&) {}, " />\n"},
        SWriterCase{"Escapes",
                    [](RichContent& content)
                    {
                        SRichItem& run = content.AddText("x", 0, 0);
                        run.text = "&<>\"'\t\n\r\x01 end";
                        run.tag = "&<>\"'\t\n\x1f";
                        content.AddText("y", 0, 0).text = std::string("cut\0here", 8);
                        content.AddText("z", 0, 0, false).text = std::string("\0starts", 7);
                    },
                    ">\n"
                    "\t\t<text textstyleno=\"0\" parastyleno=\"0\" newpara=\"1\" br=\"0\" "
                    "tag=\"&amp;&lt;>&quot;'&#09;&#10;&#31;\">&amp;&lt;&gt;\"'\t\n"
                    "\r&#01; end</text>\n"
                    "\t\t<text textstyleno=\"0\" parastyleno=\"0\" newpara=\"1\" br=\"0\">cut</text>\n"
                    "\t\t<text textstyleno=\"0\" parastyleno=\"0\" newpara=\"0\" br=\"0\"></text>\n"
                    "\t</document>\n"},
        SWriterCase{"UnknownItems",
                    [](RichContent& content)
                    {
                        SRichItem unknown;
                        unknown.styleNo = -50;
                        content.items.push_back(std::move(unknown));
                        SRichItem noTable;
                        noTable.styleNo = kRichStyleTable;
                        content.items.push_back(std::move(noTable));
                    },
                    " />\n"},
        SWriterCase{
            "EmptyRowsAndCells",
            [](RichContent& content)
            {
                RichTable table;
                table.rows.resize(3);
                table.rows[1].resize(2);
                table.rows[1][1].content.AddText("in", 0, 0);
                SRichItem unknown;
                unknown.styleNo = -50;
                table.rows[2].resize(1);
                table.rows[2][0].content.items.push_back(std::move(unknown));
                content.AddTable(std::move(table), "T", 0);
                SRichItem picture;
                picture.styleNo = kRichStylePicture;
                content.items.push_back(std::move(picture));
            },
            ">\n"
            "\t\t<table parastyleno=\"0\" newpara=\"1\" br=\"0\" name=\"T\" rows=\"3\" cols=\"0\" "
            "bestwidth=\"0\" borderwidth=\"1\" cellborderwidth=\"1\" cellpadding=\"1\" "
            "bordervspacing=\"2\" borderhspacing=\"2\" borderstyle=\"raised\" cellborderstyle=\"lowered\" "
            "color=\"536870911\">\n"
            "\t\t\t<row />\n"
            "\t\t\t<row>\n"
            "\t\t\t\t<cell color=\"536870911\" hint=\"\" valign=\"default\" bestwidth=\"0\" />\n"
            "\t\t\t\t<cell color=\"536870911\" hint=\"\" valign=\"default\" bestwidth=\"0\">\n"
            "\t\t\t\t\t<text textstyleno=\"0\" parastyleno=\"0\" newpara=\"1\" br=\"0\">in</text>\n"
            "\t\t\t\t</cell>\n"
            "\t\t\t</row>\n"
            "\t\t\t<row>\n"
            "\t\t\t\t<cell color=\"536870911\" hint=\"\" valign=\"default\" bestwidth=\"0\" />\n"
            "\t\t\t</row>\n"
            "\t\t</table>\n"
            "\t\t<picture parastyleno=\"0\" newpara=\"1\" br=\"0\" format=\"\" source=\"\" width=\"0\" "
            "height=\"0\" valign=\"baseline\" />\n"
            "\t</document>\n"}),
    [](const testing::TestParamInfo<SWriterCase>& info) { return std::string(info.param.name); });

TEST(RichXml, ReaderKeepsTheWordsOfAnotherWritersVocabulary)
{
    const std::string foreign =
        "<LFDRoot version=\"7\"><style><font name=\"N\" fontname=\"Verdana\" size=\"11.5\" bold=\"true\""
        " color=\"#FF0000\" unknown=\"x\"/><font name=\"J\" jump=\"yes\" color=\"clBlue\"/><list/></style>"
        "<document><p align=\"c\"><text textstyleno=\"1\" tag=\"t\">Hello</text><text textstyleno=\"9\""
        " newpara=\"0\"> world</text></p><text textstyleno=\"x\">two\nlines</text><span> loose words</span>"
        "<checkpoint/></document></LFDRoot>";
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(foreign, doc), RichXmlResult::Loaded);
    EXPECT_EQ(RichPlainText(doc.content), "Hello world\r\ntwo\r\nlines loose words");
    ASSERT_EQ(doc.styles.TextStyleCount(), 2);
    EXPECT_EQ(doc.styles.textStyles[0].fontName, "Verdana");
    EXPECT_EQ(doc.styles.textStyles[0].size, 11);
    EXPECT_TRUE(doc.styles.textStyles[0].bold);
    EXPECT_EQ(doc.styles.textStyles[0].color, 0x0000FFu); // #FF0000 is red
    EXPECT_EQ(doc.styles.textStyles[1].color, 0xFF0000u);
    EXPECT_TRUE(doc.styles.textStyles[1].jump);
    EXPECT_EQ(doc.content.items[0].styleNo, 1);
    EXPECT_EQ(doc.content.items[0].tag, "t");
    EXPECT_EQ(doc.content.items[1].styleNo, 0); // 9 does not exist
    EXPECT_EQ(doc.content.items[2].styleNo, 0); // "x" is no number
}

struct SRefusedCase
{
    const char* name;
    const char* text;
    RichXmlResult result;
};

class RichXmlRefusal : public testing::TestWithParam<SRefusedCase>
{
};

TEST_P(RichXmlRefusal, LeavesTheDocumentAsItWas)
{
    RichDocument doc;
    doc.content.AddText("before", 0, 0);
    const RichDocument before = doc;
    EXPECT_EQ(ReadRichXml(GetParam().text, doc), GetParam().result);
    EXPECT_TRUE(doc == before);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RichXmlRefusal,
    testing::Values(SRefusedCase{"Empty", "", RichXmlResult::NotXml},
                    SRefusedCase{"OtherRoot", "<Lernfold><document/></Lernfold>", RichXmlResult::NoRoot},
                    SRefusedCase{"Truncated", "<LFDRoot><document><text>a</text>", RichXmlResult::NotXml},
                    SRefusedCase{"Mismatched", "<LFDRoot><document><text>a</document></LFDRoot>",
                                 RichXmlResult::NotXml},
                    SRefusedCase{"PlainAmpersand", "Tom & Jerry", RichXmlResult::NotXml}),
    [](const testing::TestParamInfo<SRefusedCase>& info) { return info.param.name; });

TEST(RichXml, NestingDeeperThanTheLimitIsCutNotFollowed)
{
    std::string text = "<LFDRoot><document>";
    for (int i = 0; i < 5000; ++i)
        text += "<table><row><cell>";
    text += "<text>deep</text>";
    for (int i = 0; i < 5000; ++i)
        text += "</cell></row></table>";
    text += "<text>after</text></document></LFDRoot>";
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(text, doc), RichXmlResult::Loaded);
    EXPECT_NE(RichPlainText(doc.content).find("after"), std::string::npos);
}

TEST(RichStream, SelectionMovedIntoAnotherSheetKeepsItsLook)
{
    RichDocument source = EveryKindDocument();
    source.selection = SRichSelection{{0, 1}, {3, 10}}; // "x", superscript "2", the blanks run, "next line"
    const std::string stream = SaveRichStream(source.CopySelection(), true);

    RichStyleSheet targetSheet = RichStyleSheet::Default();
    std::swap(targetSheet.textStyles[3], targetSheet.textStyles[1]); // numbers mean other looks here
    RichDocument target(targetSheet);
    target.content.AddText("start", 0, 0);
    ASSERT_TRUE(InsertRichStream(target, stream));

    ASSERT_EQ(target.ItemCount(), 5);
    for (int i = 1; i < 5; ++i)
    {
        const SRichItem& moved = target.content.items[i];
        const SRichItem& original = source.content.items[i - 1];
        EXPECT_EQ(moved.text, original.text);
        EXPECT_TRUE(
            target.styles.textStyles[moved.styleNo].SameFont(source.styles.textStyles[original.styleNo]))
            << "item " << i;
    }
    EXPECT_EQ(target.content.items[4].styleNo, 1); // "Keywords" sits at 1 in this sheet
    EXPECT_TRUE(target.content.items[1].newParagraph);
}

TEST(RichStream, StreamWithoutStylesTakesTheTargetsNumbers)
{
    RichDocument source;
    source.content.AddText("heading", 1, 0);
    source.content.AddText("bad", 42, 7, false);
    const std::string stream = SaveRichStream(source, false);
    EXPECT_EQ(stream.find("<style"), std::string::npos);

    RichDocument target(RichStyleSheet::Display());
    ASSERT_TRUE(InsertRichStream(target, stream, 2));
    ASSERT_EQ(target.ItemCount(), 2);
    EXPECT_EQ(target.content.items[0].styleNo, 1);
    EXPECT_EQ(target.content.items[0].paraNo, 2);
    EXPECT_EQ(target.content.items[1].styleNo, 0); // no style 42 in the target
    EXPECT_EQ(target.content.items[1].paraNo, 2);  // same paragraph
    EXPECT_FALSE(InsertRichStream(target, "not a stream"));
    EXPECT_EQ(target.ItemCount(), 2);
}
