#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/HtmlExport.h"
#include "platform/richtext/PlainText.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lf;

namespace
{

using lf::test::PrintTo;

RichDocument Import(const std::string& html, const SHtmlImportOptions& options = {})
{
    RichDocument doc;
    ImportHtml(html, doc, options);
    return doc;
}

const SRichTextStyle& StyleOf(const RichDocument& doc, int item)
{
    return doc.styles.textStyles.at(
        static_cast<std::size_t>(doc.content.items.at(static_cast<std::size_t>(item)).styleNo));
}

} // namespace

struct SPlainCase
{
    const char* name;
    const char* html;
    const char* plain;
};

class HtmlPlainText : public testing::TestWithParam<SPlainCase>
{
};

TEST_P(HtmlPlainText, ReadsAsABrowserShowsIt)
{
    EXPECT_EQ(RichPlainText(Import(GetParam().html).content), GetParam().plain);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, HtmlPlainText,
    testing::Values(
        SPlainCase{"PlainWords", "just words", "just words"},
        SPlainCase{"WhitespaceCollapses", "  a \r\n\t b   <b> c </b> d  ", "a b c d"},
        SPlainCase{"Paragraphs", "<p>one</p><p>two</p>", "one\r\ntwo"},
        SPlainCase{"DivsAndHeadings", "<div>a</div><h1>b</h1>c", "a\r\nb\r\nc"},
        SPlainCase{"LineBreaks", "a<br>b<br/><br>c<br>", "a\r\nb\r\n\r\nc"},
        SPlainCase{"Entities", "&lt;x&gt; &amp; &eacute;&nbsp;&nbsp;y", "<x> & \xC3\xA9  y"},
        SPlainCase{"HeadScriptStyleIgnored",
                   "<html><head><title>T</title><style>p{}</style></head><body><script>var a;</script>body"
                   "</body></html>",
                   "body"},
        SPlainCase{"ListsFlattened", "<ul><li>one</li><li>two <i>2</i></li></ul><ol><li>three</li></ol>",
                   "one\r\ntwo 2\r\nthree"},
        SPlainCase{"PreKeepsBlanksAndLines", "<pre>a  b\n  c</pre>", "a  b\r\n  c"},
        SPlainCase{"Table", "<table><tr><td>a</td><td><b>b</b></td></tr><tr><th>c</th></tr></table>after",
                   "a\tb\r\nc\t\r\nafter"},
        SPlainCase{"UnknownTagsKeepText", "<LFDRoot><document><text>a</text></document></LFDRoot>", "a"},
        SPlainCase{"Comment", "a<!-- hidden -->b", "ab"}, SPlainCase{"LessThanAsText", "a < b", "a < b"}),
    [](const testing::TestParamInfo<SPlainCase>& info) { return info.param.name; });

TEST(HtmlImport, FormattingFindsOrAddsStylesInTheDocumentsSheet)
{
    const RichDocument doc =
        Import("plain <b>BOLD</b> <i><u>UI</u></i> <s>STRIKE</s> x<sup>SUP</sup>y<sub>SUB</sub> "
               "<font face=\"Courier New, mono\" size=\"5\" color=\"#FF0000\">FONT</font> "
               "<span style=\"font-weight:700; font-size:16px; color:rgb(0,0,255); "
               "background-color:yellow\">CSS</span>");
    const auto find = [&](const std::string& text)
    {
        for (int i = 0; i < doc.ItemCount(); ++i)
            if (doc.content.items[static_cast<std::size_t>(i)].text == text)
                return i;
        ADD_FAILURE() << "no run " << text;
        return 0;
    };
    EXPECT_EQ(doc.content.items[0].text, "plain ");
    EXPECT_EQ(doc.content.items[0].styleNo, 0);
    EXPECT_TRUE(StyleOf(doc, find("BOLD")).bold);
    EXPECT_TRUE(StyleOf(doc, find("UI")).italic);
    EXPECT_TRUE(StyleOf(doc, find("UI")).underline);
    EXPECT_FALSE(StyleOf(doc, find("UI")).bold);
    EXPECT_TRUE(StyleOf(doc, find("STRIKE")).strikeOut);
    EXPECT_EQ(StyleOf(doc, find("SUP")).subSuper, RichSubSuper::Super);
    EXPECT_EQ(StyleOf(doc, find("SUB")).subSuper, RichSubSuper::Sub);
    const SRichTextStyle& font = StyleOf(doc, find("FONT"));
    EXPECT_EQ(font.fontName, "Courier New");
    EXPECT_EQ(font.size, 18);
    EXPECT_EQ(font.color, 0x0000FFu);
    const SRichTextStyle& css = StyleOf(doc, find("CSS"));
    EXPECT_TRUE(css.bold);
    EXPECT_EQ(css.size, 12);
    EXPECT_EQ(css.color, 0xFF0000u);
    EXPECT_EQ(css.backColor, 0x00FFFFu);
    for (const auto& style : doc.styles.textStyles)
        EXPECT_EQ(style.fontName == "Arial" || style.fontName == "Courier New", true) << style.fontName;
}

TEST(HtmlImport, CssFontSizesOutsideTheRangeAreClampedNotOverflowed)
{
    const RichDocument doc = Import("PLAIN<span style=\"font-size:1e300pt\">HUGE</span>"
                                    "<span style=\"font-size:+0.1pt\">TINY</span>"
                                    "<span style=\"font-size:inf\">INF</span>");
    const auto sizeOf = [&](const std::string& text)
    {
        for (int i = 0; i < doc.ItemCount(); ++i)
            if (doc.content.items[static_cast<std::size_t>(i)].text == text)
                return StyleOf(doc, i).size;
        ADD_FAILURE() << "no run " << text;
        return 0;
    };
    EXPECT_EQ(sizeOf("HUGE"), 1638);
    EXPECT_EQ(sizeOf("TINY"), 1);
    EXPECT_EQ(sizeOf("INF"), sizeOf("PLAIN")); // not a size: the run keeps the size around it
}

TEST(HtmlImport, HeadingsLinksAndAlignmentUseTheSheetsNamedStyles)
{
    const RichDocument doc = Import(
        "<h1>Title</h1><h3>Sub</h3><p align=\"center\">mid</p><p>go <a href=\"http://x.org/\">there</a></p>");
    ASSERT_EQ(doc.ItemCount(), 5);
    EXPECT_EQ(doc.content.items[0].styleNo, 1);
    EXPECT_EQ(doc.content.items[1].styleNo, 2);
    EXPECT_EQ(doc.content.items[2].paraNo, 1);  // "Centered"
    EXPECT_EQ(doc.content.items[4].styleNo, 4); // "Jump 1"
    EXPECT_EQ(doc.content.items[4].tag, "http://x.org/");
    EXPECT_FALSE(doc.content.items[4].newParagraph);
}

TEST(HtmlImport, PicturesComeFromTheCallerWithTheFetchFlagAndSize)
{
    std::vector<std::string> asked;
    SHtmlImportOptions options;
    options.fetchPictures = true;
    options.requestPicture = [&](const std::string& source, int width, int height, bool fetch)
    {
        asked.push_back(source + " " + std::to_string(width) + "x" + std::to_string(height) +
                        (fetch ? " fetch" : ""));
        return source == "missing.png" ? SRichPicture{} : SRichPicture{"bytes", "png"};
    };
    const RichDocument doc = Import("<img src=\"a.png\" width=\"40\" height=\"30px\"><a href=\"t\"><img "
                                    "src=\"b.png\" width=\"50%\"></a><img src=\"missing.png\">",
                                    options);
    EXPECT_EQ(asked,
              (std::vector<std::string>{"a.png 40x30 fetch", "b.png 0x0 fetch", "missing.png 0x0 fetch"}));
    ASSERT_EQ(doc.ItemCount(), 2);
    EXPECT_EQ(doc.content.items[0].styleNo, kRichStylePicture);
    EXPECT_EQ(doc.content.items[0].width, 40);
    EXPECT_EQ(doc.content.items[0].source, "a.png");
    EXPECT_EQ(doc.content.items[1].styleNo, kRichStyleHotPicture);
    EXPECT_EQ(doc.content.items[1].tag, "t");
}

TEST(HtmlImport, WithoutALoaderPicturesArePlaceholdersOfTheAskedSize)
{
    const RichDocument doc = Import("<img src=\"http://nowhere/x.png\">");
    ASSERT_EQ(doc.ItemCount(), 1);
    EXPECT_EQ(doc.content.items[0].picture.format, "svg");
    EXPECT_NE(doc.content.items[0].picture.data.find("width=\"23\" height=\"22\""), std::string::npos);
}

TEST(RichPictureCache, RemembersRealFetchesOnlyAndComparesNamesWithoutCase)
{
    RichPictureCache cache;
    int fetches = 0;
    const auto fetch = [&](const std::string&)
    {
        ++fetches;
        return SRichPicture{"real", "png"};
    };
    // Fetching off: a placeholder, nothing remembered, nothing fetched.
    EXPECT_EQ(cache.Get("A.png", 0, 0, false, fetch).format, "svg");
    EXPECT_EQ(cache.Count(), 0);
    // Fetching on: the real picture, fetched once for both spellings.
    EXPECT_EQ(cache.Get("a.PNG", 0, 0, true, fetch).data, "real");
    EXPECT_EQ(cache.Get("A.png", 0, 0, true, fetch).data, "real");
    EXPECT_EQ(fetches, 1);
    // A failed fetch is remembered as its placeholder so one import does not ask twice.
    const auto failing = [&](const std::string&)
    {
        ++fetches;
        return SRichPicture{};
    };
    EXPECT_EQ(cache.Get("gone.png", 5, 6, true, failing).format, "svg");
    EXPECT_EQ(cache.Get("gone.png", 5, 6, true, failing).format, "svg");
    EXPECT_EQ(fetches, 2);
}

TEST(HtmlImport, NestedTableKeepsCellsAsDocuments)
{
    const RichDocument doc =
        Import("<table width=\"100%\" border=\"0\"><tr><td bgcolor=\"#FFC800\" valign=\"middle\">"
               "<p>one</p><p>two</p></td><td><table><tr><td>in</td></tr></table></td></tr></table>");
    ASSERT_EQ(doc.ItemCount(), 1);
    ASSERT_TRUE(doc.content.items[0].IsTable());
    const RichTable& table = *doc.content.items[0].table;
    EXPECT_EQ(table.bestWidth, -100);
    EXPECT_EQ(table.borderWidth, 0);
    EXPECT_EQ(table.Cell(0, 0).color, 0x00C8FFu);
    EXPECT_EQ(table.Cell(0, 0).vAlign, RichCellVAlign::Center);
    EXPECT_EQ(table.Cell(0, 0).content.Count(), 2);
    EXPECT_TRUE(table.Cell(0, 1).content.items.at(0).IsTable());
}

TEST(HtmlExport, WritesStyledTextLinksTablesAndPictureFiles)
{
    lf::test::TempDir dir;
    lf::test::WriteFile(dir.file("Week1_1.png"), "taken"); // an existing name is skipped
    RichDocument doc;
    doc.content.AddText("a < b & \"c\"", 1, 1);
    doc.content.AddText("link", 4, 0, false).tag = "http://x.org/?a=1&b=2";
    doc.content.AddPicture({"PNGBYTES", "png"}, 40, 0, 0, true);
    RichTable table(1, 2);
    table.Cell(0, 0).content.AddText("cell", 0, 0);
    table.Cell(0, 0).color = 0x0000FF;
    doc.content.AddTable(table, "1", 0);

    SHtmlExportOptions options;
    options.title = "Moodle HTML";
    options.pictureFolder = dir.folder();
    options.picturePrefix = "Week1_";
    std::string html;
    std::vector<std::string> written;
    ASSERT_TRUE(ExportHtml(doc, options, html, &written));

    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<title>Moodle HTML</title>"), std::string::npos);
    EXPECT_NE(html.find("text-align:center"), std::string::npos);
    EXPECT_NE(html.find("font-weight:bold"), std::string::npos);
    EXPECT_NE(html.find("a &lt; b &amp; &quot;c&quot;"), std::string::npos);
    EXPECT_NE(html.find("<a href=\"http://x.org/?a=1&amp;b=2\">"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"Week1_2.png\" width=\"40\""), std::string::npos);
    EXPECT_NE(html.find("bgcolor=\"#FF0000\""), std::string::npos);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(lf::test::ReadFile(dir.file("Week1_2.png")), "PNGBYTES");

    // What the export writes, the importer reads back to the same words.
    EXPECT_EQ(RichPlainText(Import(html).content), RichPlainText(doc.content));
}

TEST(HtmlExport, UnwritableFolderFailsButStillGivesThePage)
{
    RichDocument doc;
    doc.content.AddPicture({"PNG", "png"}, 0, 0, 0, true);
    SHtmlExportOptions options;
    options.pictureFolder = "/nonexistent-folder-for-lernfold/";
    std::string html;
    EXPECT_FALSE(ExportHtml(doc, options, html));
    EXPECT_NE(html.find("<img src=\"1.png\""), std::string::npos);
}

namespace
{

// A document line as runs: "|" starts a run in the other style, "\n" a run on a new line of the same
// paragraph, "\r" a new paragraph.
struct SBlankCase
{
    const char* name;
    const char* runs;
};

class HtmlBlankRuns : public testing::TestWithParam<SBlankCase>
{
};

// Blanks a user typed reach the page as a browser keeps them (every second blank of a run, and one at
// the start of a line, a no-break space), and the importer reads them back as plain blanks.
TEST_P(HtmlBlankRuns, SurviveExportAndImport)
{
    RichDocument doc;
    doc.styles.textStyles.resize(2);
    doc.styles.textStyles[1].bold = true;
    doc.styles.paraStyles.resize(1);
    int style = 0;
    bool newParagraph = true;
    bool lineBreak = false;
    std::string run;
    const auto flush = [&]
    {
        doc.content.AddText(run, style, 0, newParagraph).lineBreak = lineBreak && !newParagraph;
        run.clear();
        newParagraph = lineBreak = false;
    };
    for (const char* p = GetParam().runs;; ++p)
    {
        if (*p == '\0' || *p == '|' || *p == '\n' || *p == '\r')
        {
            flush();
            if (*p == '\0')
                break;
            style = *p == '|' ? 1 - style : style;
            lineBreak = *p == '\n';
            newParagraph = *p == '\r';
            continue;
        }
        run += *p;
    }
    std::string html;
    ASSERT_TRUE(ExportHtml(doc, {}, html));
    const std::string plain = RichPlainText(Import(html).content);
    EXPECT_EQ(plain, RichPlainText(doc.content)) << html;
    EXPECT_EQ(plain.find("\xC2\xA0"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Documents, HtmlBlankRuns,
                         testing::Values(SBlankCase{"Run", "a   b"}, SBlankCase{"Runs", "a  b    c d"},
                                         SBlankCase{"LineStart", "  a"}, SBlankCase{"AcrossRuns", "a | |  b"},
                                         SBlankCase{"RunEndsAndNextStartsWithABlank", "a | b"},
                                         SBlankCase{"AfterALineBreak", "x\n  y"},
                                         SBlankCase{"NewParagraph", "x  y\r  z"}),
                         [](const auto& info) { return info.param.name; });

TEST(HtmlExport, SingleBlanksAreWrittenAsBlanks)
{
    RichDocument doc;
    doc.content.AddText("a b c", 0, 0);
    std::string html;
    ASSERT_TRUE(ExportHtml(doc, {}, html));
    EXPECT_EQ(html.find("&nbsp;"), std::string::npos);
    EXPECT_NE(html.find("a b c"), std::string::npos);
}

} // namespace
