// Search texts built from the stored texts' runs must be byte for byte what the full document path
// gives: the plain text of the loaded document, lower-cased, with what a search ignores left out. Every
// stored text of the fixture books, the sample book and a generated book is compared, and so is a table of
// texts with the shapes a book can hold (tables, lists, pictures, breaks, references, other alphabets,
// damaged bytes, HTML and plain text).
#include "model/support/SearchText.h"

#include "bench/GeneratedBook.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "model/storage/Datastorage.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/TextCase.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

// The search form of one stored text through the whole document, as search texts were first built.
std::string DocumentSearchForm(const std::string& stored)
{
    if (stored.empty())
        return {};
    lf::RichDocument view;
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, false);
    return NormalizeSearchText(lf::sys::LowerCase(plain));
}

// An item's whole search text through the document path: the name, the question, the answers (typed
// answers and matching pairs as plain text), the general feedback and the keywords.
std::string DocumentSearchText(CBaseItem& item)
{
    std::string text = lf::sys::LowerCase(item.GetName());
    text += DocumentSearchForm(item.GetQuestionText());
    const int kind = item.GetQuestionType();
    if (item.HasAnswerList() && kind != qtCalculated)
    {
        for (std::int32_t i = 0; i < item.GetAnswerCount(); ++i)
        {
            SAnswerItem* answer = nullptr;
            if (!item.GetAnswer(i, answer))
                continue;
            if (kind == qtShortAnswer || kind == qtNumerical)
                text += lf::sys::LowerCase(answer->AnswerText);
            else
                text += DocumentSearchForm(answer->AnswerText);
            if (kind == qtMatching)
                text += lf::sys::LowerCase(answer->Correct);
            text += DocumentSearchForm(answer->Feedback);
        }
    }
    text += DocumentSearchForm(item.GetGeneralFeedback());
    text += DocumentSearchForm(item.GetKeywords());
    return NormalizeSearchText(text);
}

// Every stored text of an item that its search text reads.
std::vector<std::string> StoredTexts(CBaseItem& item)
{
    std::vector<std::string> texts = {item.GetQuestionText(), item.GetGeneralFeedback(), item.GetKeywords()};
    for (std::int32_t i = 0; i < item.GetAnswerCount(); ++i)
    {
        SAnswerItem* answer = nullptr;
        if (item.GetAnswer(i, answer))
        {
            texts.push_back(answer->AnswerText);
            texts.push_back(answer->Feedback);
        }
    }
    return texts;
}

std::string RunSearchForm(CSearchTextReader& reader, const std::string& stored)
{
    lf::RichDocument view;
    std::string out;
    reader.AppendStoredText(out, stored, view);
    return out;
}

// Compares every stored text and every whole search text of the book; returns how many texts it saw.
int ExpectSameAsDocumentPath(CItemsArray2& items)
{
    CSearchTextReader reader;
    lf::RichDocument view;
    int texts = 0;
    for (std::int32_t i = 0; i < items.GetCount(); ++i)
    {
        CBaseItem* item = items.GetItem(i);
        for (const std::string& stored : StoredTexts(*item))
        {
            EXPECT_EQ(RunSearchForm(reader, stored), DocumentSearchForm(stored)) << stored;
            ++texts;
        }
        PrepareItemSearchInfo(item, &view, true, true, true, true, true);
        EXPECT_EQ(item->GetSearchText(), DocumentSearchText(*item)) << item->GetName();
    }
    return texts;
}

int ExpectBookSameAsDocumentPath(const std::string& path)
{
    CDataStorage storage;
    EXPECT_TRUE(storage.LoadXML(path, storage.GetItemsPtr2(), 0, true, false)) << path;
    EXPECT_GT(storage.GetItemsPtr2()->GetCount(), 0) << path;
    return ExpectSameAsDocumentPath(*storage.GetItemsPtr2());
}

TEST(SearchTextTest, FixtureBooksGiveTheDocumentPathsSearchTexts)
{
    const std::filesystem::path data = std::filesystem::path(lf::test::DataFile("x")).parent_path();
    EXPECT_GT(ExpectBookSameAsDocumentPath(lf::test::DataFile("books/every-kind.lnf")), 0);
    EXPECT_GT(ExpectBookSameAsDocumentPath(
                  (data.parent_path().parent_path() / "samples" / "The Sample Book.lnf").string()),
              0);
}

TEST(SearchTextTest, GeneratedBookGivesTheDocumentPathsSearchTexts)
{
    CItemsArray2 items;
    lf::bench::BuildBook(items, 120);
    EXPECT_GT(ExpectSameAsDocumentPath(items), 400);
}

// A stored text in the XML form around the given content of its document element.
std::string Stored(const std::string& content)
{
    return "<?xml version=\"1.0\"?><LFDRoot><style><font name=\"Normal\" size=\"10\"/><font name=\"B\" "
           "bold=\"1\"/><para name=\"P\"/></style><document leftmargin=\"5\">" +
           content + "</document></LFDRoot>";
}

// The stored form this program writes for an HTML fragment (lists, tables, pictures, breaks).
std::string StoredFromHtml(const std::string& html)
{
    lf::RichDocument view;
    LoadHtmlToRE(html, view, true, false, {});
    std::string stored;
    GetXMLFormRE(stored, view);
    return stored;
}

std::string Nested(int depth, const std::string& inner)
{
    std::string text = inner;
    for (int i = 0; i < depth; ++i)
        text = "<span>" + text + " d" + std::to_string(i) + "</span>";
    return text;
}

std::string NestedTables(int depth)
{
    std::string text = "<text>Core</text>";
    for (int i = 0; i < depth; ++i)
        text = "<table><row><cell><text>L" + std::to_string(i) + "</text>" + text + "</cell></row></table>";
    return text;
}

std::string LargeTable()
{
    std::string text = "<table>";
    for (int r = 0; r < 101; ++r)
    {
        text += "<row>";
        for (int c = 0; c < 100; ++c)
            text += "<cell><text>c" + std::to_string(r * 100 + c) + "</text></cell>";
        text += "</row>";
    }
    return text + "</table>";
}

TEST(SearchTextTest, EveryShapeOfStoredTextGivesTheDocumentPathsSearchForm)
{
    const std::vector<std::string> texts = {
        Stored("<text textstyleno=\"0\" newpara=\"1\">Which Statement, is \"True\"?</text>"
               "<text textstyleno=\"1\" newpara=\"0\">Bold-Part.</text><text br=\"1\">After a break</text>"),
        Stored("<text>Line one\r\nLine two\nLine\rthree\tTabbed</text>"),
        Stored("<text>A &amp; B &lt; C &gt; D &quot;E&quot; &apos;F&apos; &#65;&#x42; &#xE9;t&#xC9;</text>"),
        Stored("<text><![CDATA[Raw <b>not markup</b> & more]]></text><text>x<![CDATA[y]]>z</text>"),
        Stored("<text>ÄÖÜ Straße İstanbul ΣΊΣΥΦΟΣ Ǆemal ÅNGSTRÖM КИРИЛЛИЦА ǅ ǈ K \xE2\x84\xAA \xE2\x84\xA6 Ω "
               "℃ Ⅻ ｆｕｌｌ</text>"),
        Stored("<text>e\xCC\x81 combining and \xF0\x9F\x98\x80 outside the plane, \xEF\xBF\xBD mark</text>"),
        Stored("<text>Stray \x80\x93 bytes \xC3 cut \xE2\x82 and \xC0\xAF overlong</text>"),
        Stored("<text>&#xD800; surrogate reference &#x10FFFF; last</text>"),
        Stored("<picture format=\"png\" width=\"2\" height=\"2\">iVBORw0KGgo=</picture><text>After "
               "picture</text><hotpicture format=\"png\">AAAA</hotpicture><hotspot imageindex=\"1\"/>"),
        Stored("<table bestwidth=\"100\"><row><cell hint=\"Hint text\"><text>Cell A1</text></cell><cell>"
               "<text>Cell B1</text></cell></row><row><cell><text>Only A2</text></cell></row></table>"
               "<text>After Table</text>"),
        Stored("<table><row></row></table><table></table><text>Empty tables</text>"),
        Stored(NestedTables(40)),
        Stored(LargeTable()),
        Stored("<foreign><text>Inside Foreign</text>loose words<b>Bold Loose</b></foreign>"),
        Stored(Nested(40, "Deep words")),
        Stored("  \f  <text>ws</text>\v<text>\x01</text>   loose \f between  "),
        Stored("<text>In text<b>nested element words</b>tail</text>"),
        Stored("<text></text><text/>"),
        Stored(""),
        "<?xml version=\"1.0\"?><LFDRoot><style/></LFDRoot>",
        "<LFDRoot><document><text>No declaration</text></document></LFDRoot>",
        "<!-- comment --><?pi x?><LFDRoot><document><text>After Comment</text></document></LFDRoot>",
        "<Other><LFDRoot><document><text>Not The Root</text></document></LFDRoot></Other>",
        "<LFDRoot><document><text>Unclosed</text></document>",
        "Plain Text, With Lines\r\nAnd \"Quotes\" and tabs\t and ÄÖ",
        "Salt & Pepper < Sugar",
        "<p>An <b>HTML</b> Text</p><ul><li>One</li><li>Two</li></ul>",
        "   ",
        "\f",
        StoredFromHtml("<p>Intro <b>bold</b><br>second line</p><ul><li>First item</li><li>Second "
                       "item</li></ul><ol><li>Numbered</li></ol>"),
        StoredFromHtml("<table><tr><td>R1 C1</td><td>R1 C2</td></tr><tr><td><table><tr><td>Inner</td></tr>"
                       "</table></td></tr></table><p>Caf&eacute; &amp; cr&egrave;me &nbsp;&#8364;</p>"),
        StoredFromHtml("<p>Picture <img src=\"data:image/png;base64,iVBORw0KGgo=\" alt=\"Alt Words\"> "
                       "here</p>"),
    };
    CSearchTextReader reader;
    for (const std::string& stored : texts)
        EXPECT_EQ(RunSearchForm(reader, stored), DocumentSearchForm(stored)) << stored;
}

TEST(SearchTextTest, PlainTextSearchFormIsLowerCaseWithoutIgnoredCharacters)
{
    struct SCase
    {
        std::string text;
        std::string expected;
    };
    const std::vector<SCase> cases = {
        {"", ""},
        {"Hello, World. It's \"OK\"-ish\r\n\tEnd", "helloworlditsokishend"},
        {"ÄÖÜ Straße", "äöüstraße"},
        {"İ K", "ik"},
        {"Ab\xC3\x41x\x80Y", "ab\xC3\x61x\x80y"},
        {std::string("The QUICK, brown-Fox's \"Jump\".\r\n\tOVER\0the LAZY ÄÖ dog İ 12345678 END", 71),
         std::string("thequickbrownfoxsjumpover\0thelazyäödogi12345678end", 52)},
    };
    for (const SCase& c : cases)
    {
        std::string out = "kept";
        AppendSearchForm(out, c.text);
        EXPECT_EQ(out, "kept" + c.expected) << c.text;
        EXPECT_EQ(out.substr(4), NormalizeSearchText(lf::sys::LowerCase(c.text))) << c.text;
    }
}

} // namespace
