// Stored texts and HTML pages that once cost the square of their size, lost text, broke the document's
// rule that a run never holds a line break, or put bytes that are no UTF-8 into a run.
#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/Utf8Text.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <charconv>

using namespace lf;

namespace
{

std::string Number(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

RichDocument ImportPage(const std::string& html)
{
    RichDocument doc;
    ImportHtml(html, doc, {});
    return doc;
}

// Checks what every document must hold, and counts the tables and their cells.
std::size_t CheckItems(const RichContent& content, std::size_t& tables)
{
    std::size_t cells = 0;
    for (const SRichItem& item : content.items)
    {
        if (item.IsText())
        {
            EXPECT_EQ(item.text.find_first_of("\r\n"), std::string::npos) << "a run holds a line break";
            EXPECT_TRUE(lf::sys::IsValidUtf8(item.text)) << "a run is no UTF-8: " << item.text;
        }
        if (!item.IsTable())
            continue;
        ++tables;
        for (const auto& row : item.table->rows)
            for (const SRichCell& cell : row)
                cells += 1 + CheckItems(cell.content, tables);
    }
    return cells;
}

std::size_t TableCells(const RichDocument& doc)
{
    std::size_t tables = 0;
    return CheckItems(doc.content, tables);
}

TEST(HostileRichText, RaggedStoredTableIsReadAsParagraphs)
{
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(lf::test::ReadFile(lf::test::DataFile("fuzz/richxml-timeout-1.xml")), doc),
              RichXmlResult::Loaded);
    EXPECT_EQ(TableCells(doc), 0u);

    // A large ragged table keeps its words, one paragraph per cell.
    std::string text = "<LFDRoot><document><table><row>";
    for (int i = 0; i < 200; ++i)
        text += "<cell><text>w" + Number(i) + "</text></cell>";
    text += "</row>";
    for (int i = 0; i < 60; ++i)
        text += "<row/>";
    text += "</table></document></LFDRoot>";
    ASSERT_EQ(ReadRichXml(text, doc), RichXmlResult::Loaded);
    EXPECT_EQ(TableCells(doc), 0u);
    const std::string plain = RichPlainText(doc.content);
    EXPECT_EQ(plain.substr(0, 10), "w0\r\nw1\r\nw2");
    EXPECT_NE(plain.find("w199"), std::string::npos);
}

TEST(HostileRichText, TableWithinTheLimitIsStillATable)
{
    std::string text = "<LFDRoot><document><table><row>";
    for (int i = 0; i < 100; ++i)
        text += "<cell/>";
    text += "</row>";
    for (int i = 0; i < 99; ++i)
        text += "<row><cell/></row>";
    text += "</table></document></LFDRoot>";
    RichDocument doc;
    ASSERT_EQ(ReadRichXml(text, doc), RichXmlResult::Loaded);
    EXPECT_EQ(TableCells(doc), kMaxRichTableCells);

    std::string html = "<table><tr>";
    for (int i = 0; i < 100; ++i)
        html += "<td>x</td>";
    for (int i = 0; i < 99; ++i)
        html += "<tr><td>y</td>";
    html += "</table>";
    EXPECT_EQ(TableCells(ImportPage(html)), kMaxRichTableCells);
}

TEST(HostileRichText, RaggedHtmlTableIsImportedAsParagraphs)
{
    const RichDocument doc = ImportPage(lf::test::ReadFile(lf::test::DataFile("fuzz/html-timeout-1.html")));
    EXPECT_EQ(TableCells(doc), 0u);

    // 300 cells in the first row and 40 short rows: 12,300 cells once filled up.
    std::string html = "<table><tr>";
    for (int i = 0; i < 300; ++i)
        html += "<td>c" + Number(i) + "</td>";
    for (int i = 0; i < 40; ++i)
        html += "<tr><td></td>";
    const RichDocument words = ImportPage(html + "</table>");
    EXPECT_EQ(TableCells(words), 0u);
    const std::string plain = RichPlainText(words.content);
    EXPECT_NE(plain.find("c0"), std::string::npos);
    EXPECT_NE(plain.find("c299"), std::string::npos);
}

TEST(HostileRichText, DeepNestingKeepsItsText)
{
    const RichDocument lost = ImportPage(lf::test::ReadFile(lf::test::DataFile("fuzz/html-dataloss-1.html")));
    EXPECT_NE(RichPlainText(lost.content).find("deep text"), std::string::npos);

    const RichDocument deep =
        ImportPage(lf::test::ReadGzipFile(lf::test::DataFile("fuzz/html-timeout-2.html.gz")) + "end");
    EXPECT_NE(RichPlainText(deep.content).find("end"), std::string::npos);
}

struct SFlattenCase
{
    const char* name;
    const char* html;
    int maxDepth;
    const char* expected;
};

class FlattenDeepHtmlCases : public testing::TestWithParam<SFlattenCase>
{
};

TEST_P(FlattenDeepHtmlCases, DropsOnlyTagsPastTheDepth)
{
    EXPECT_EQ(FlattenDeepHtml(GetParam().html, GetParam().maxDepth), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, FlattenDeepHtmlCases,
    testing::Values(
        SFlattenCase{"ShallowPageUnchanged", "<div a='>'><b>x</b><br><p>y<p>z</div>", 2,
                     "<div a='>'><b>x</b><br><p>y<p>z</div>"},
        SFlattenCase{"DeepTagsDroppedTextKept", "<i><b><u>x</u>y</b></i>z", 2, "<i><b>xy</b></i>z"},
        SFlattenCase{"SelfClosingDivStillNests", "<div/><div/><div/>t", 2, "<div/><div/>t"},
        SFlattenCase{"SiblingsDoNotNest", "<li>a<li>b<li>c<td>d<p>e", 1, "<li>a<li>b<li>c<td>d<p>e"},
        SFlattenCase{"CommentsAndScriptsPassUnread",
                     "<b><!-- <i><i> --><script>if (a<b) x='</b>';</script></b>", 2,
                     "<b><!-- <i><i> --><script>if (a<b) x='</b>';</script></b>"},
        SFlattenCase{"DroppedScriptTakesItsText", "<i><b><script>x=1</script><style>p{}</style>y</b></i>", 1,
                     "<i>y</i>"},
        SFlattenCase{"StrayLessThanIsText", "a < b <3 <!doctype html>", 0, "a < b <3 <!doctype html>"},
        SFlattenCase{"UnclosedTagAtEnd", "<i><b", 1, "<i>"}),
    [](const auto& info) { return info.param.name; });

struct SLineEndCase
{
    const char* name;
    const char* html;
    const char* plain;
};

class PreformattedLineEnds : public testing::TestWithParam<SLineEndCase>
{
};

// "<pre>&#xd>" once put a CR inside a run, which a stored text then read as two paragraphs.
TEST_P(PreformattedLineEnds, BecomeLineBreaksNeverRunText)
{
    const RichDocument doc = ImportPage(GetParam().html);
    TableCells(doc);
    EXPECT_EQ(RichPlainText(doc.content), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(Pages, PreformattedLineEnds,
                         testing::Values(SLineEndCase{"Finding", "<pre>&#xd>", "\r\n>"},
                                         SLineEndCase{"LoneCr", "<pre>a\rb</pre>", "a\r\nb"},
                                         SLineEndCase{"CrLf", "<pre>a&#13;\nb</pre>", "a\r\nb"},
                                         SLineEndCase{"CrCr", "<pre>a&#13;&#13;b</pre>", "a\r\n\r\nb"},
                                         SLineEndCase{"OutsidePreCollapses", "<p>a&#13;b</p>", "a b"}),
                         [](const auto& info) { return info.param.name; });

TEST(HostileRichText, FindingFileImportsWithoutRunLineBreaks)
{
    const RichDocument doc = ImportPage(lf::test::ReadFile(lf::test::DataFile("fuzz/html-crash-1")));
    TableCells(doc);
    // Stored and read back, the text keeps its shape.
    RichDocument reread;
    ASSERT_EQ(ReadRichXml(WriteRichXml(doc), reread), RichXmlResult::Loaded);
    EXPECT_EQ(RichPlainText(reread.content), RichPlainText(doc.content));
    EXPECT_EQ(reread.content.items.size(), doc.content.items.size());
}

using lf::test::PrintTo;

struct SReferenceCase
{
    const char* name;
    const char* html;
    const char* plain;
};

class CharacterReferences : public testing::TestWithParam<SReferenceCase>
{
};

// A reference to a number past the last character stands for U+FFFD. The HTML library reads the number
// without a bound: it once gave a raw byte that is no UTF-8, wrapped round to another character, or took
// the text after the reference along.
TEST_P(CharacterReferences, PastTheLastCharacterGiveTheReplacementCharacter)
{
    const RichDocument doc = ImportPage(GetParam().html);
    TableCells(doc);
    EXPECT_EQ(RichPlainText(doc.content), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, CharacterReferences,
    testing::Values(SReferenceCase{"Finding", "<p>x&#xaaaaaaaaaa;y</p>", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"CapitalX", "<p>x&#XAAAAAAAAAA;y</p>", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"TopBitSet", "x&#x80000000;y", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"AllBitsSet", "x&#xFFFFFFFF;y", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"DecimalWrappingToALetter", "x&#4294967361;y", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"WithoutSemicolon", "x&#99999999999a",
                                   "x\xEF\xBF\xBD"
                                   "a"},
                    SReferenceCase{"JustPastTheLast", "x&#x110000;y", "x\xEF\xBF\xBDy"},
                    SReferenceCase{"LastCharacterKept", "x&#x10FFFF;y", "x\xF4\x8F\xBF\xBFy"},
                    SReferenceCase{"LeadingZerosKept", "&#x0000000000041;&#00000000000000066;", "AB"},
                    SReferenceCase{"NoDigitsNoReference", "&#x;&#;", "&#x;&#;"}),
    [](const auto& info) { return info.param.name; });

TEST(HostileRichText, ReferenceInALinkAddressGivesTheReplacementCharacter)
{
    const RichDocument doc = ImportPage("<a href=\"http://h/&#xaaaaaaaaaa;\">t</a>");
    ASSERT_EQ(doc.content.items.size(), 1u);
    EXPECT_EQ(doc.content.items[0].tag, "http://h/\xEF\xBF\xBD");
}

TEST(HostileRichText, FindingWithAHugeReferenceSurvivesTheStoredForm)
{
    const RichDocument doc = ImportPage(lf::test::ReadFile(lf::test::DataFile("fuzz/html-utf8-1.html")));
    TableCells(doc);
    const std::string plain = RichPlainText(doc.content);
    EXPECT_EQ(plain, "x\xEF\xBF\xBDy");
    RichDocument reread;
    ASSERT_EQ(ReadRichXml(WriteRichXml(doc), reread), RichXmlResult::Loaded);
    EXPECT_EQ(RichPlainText(reread.content), plain);
}

} // namespace

namespace
{

// Stored texts whose names or values are no UTF-8 once parsed, by their bytes or by a reference to a
// surrogate, are mended on reading; a valid text keeps its characters.
struct SStoredUtf8Case
{
    const char* name;
    std::string run;      // as written between the tags
    std::string expected; // the run read back
};

class StoredUtf8 : public testing::TestWithParam<SStoredUtf8Case>
{
};

TEST_P(StoredUtf8, RunsAreReadAsUtf8)
{
    const std::string text = "<LFDRoot><document><text textstyleno=\"0\" tag=\"" + GetParam().run + "\">" +
                             GetParam().run + "</text></document></LFDRoot>";
    for (const bool stream : {false, true})
    {
        RichDocument doc;
        if (stream)
            ASSERT_TRUE(InsertRichStream(doc, text));
        else
            ASSERT_EQ(ReadRichXml(text, doc), RichXmlResult::Loaded);
        ASSERT_EQ(doc.content.items.size(), 1u);
        EXPECT_EQ(doc.content.items[0].text, GetParam().expected);
        EXPECT_EQ(doc.content.items[0].tag, GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredUtf8,
    testing::Values(SStoredUtf8Case{"Valid",
                                    "Gr\xC3\xBC\xC3\x9F"
                                    "e &amp; \xE2\x82\xAC",
                                    "Gr\xC3\xBC\xC3\x9F"
                                    "e & \xE2\x82\xAC"},
                    SStoredUtf8Case{"Windows1252Byte", "caf\xE9", "caf\xC3\xA9"},
                    SStoredUtf8Case{"CutSequence", "x\xE2\x82y", "x\xC3\xA2\xE2\x80\x9Ay"},
                    SStoredUtf8Case{"ReferenceToASurrogate", "x&#xD800;y", "x\xEF\xBF\xBDy"},
                    SStoredUtf8Case{"ReferenceToACharacter", "x&#xE9;y", "x\xC3\xA9y"}),
    [](const testing::TestParamInfo<SStoredUtf8Case>& info) { return std::string(info.param.name); });

} // namespace
