// The text helpers of the exchange formats: plain-text clean-up, the token tables (by character, never by
// byte inside a UTF-8 sequence), the quiz HTML of stored texts with their pictures, and the XML writers.
#include "interchange/TextUtils.h"

#include "model/storage/Windows1252.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "tests/interchange/MoodleXmlTestSupport.h"
#include "tests/model/BookBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

// The UTF-8 form of a Windows-1252 byte.
std::string W(unsigned char byte)
{
    return Windows1252ToUtf8(std::string(1, static_cast<char>(byte)));
}

std::string Xml(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

TEST(TextUtils, PlainTextCleanUps)
{
    EXPECT_EQ(UnescapeXMLText("a&amp;amp;lt;b"), "a&amp;lt;b");
    EXPECT_EQ(UnescapeXMLText("one\r\ntwo\nthree\tfour"), "one two\nthree four");
    EXPECT_EQ(UnescapeXMLText("&lt;b&gt; &apos;x&apos; &quot;"), "<b> 'x' &quot;");

    std::string flat = "\tA\r\nB";
    FlattenTabsAndLineBreaks(flat, false);
    EXPECT_EQ(flat, "    A  B");
    flat = "\tA\r\n";
    FlattenTabsAndLineBreaks(flat, true);
    EXPECT_EQ(flat, "A");

    std::string stripped = " 1\t2\r\n ";
    RemoveLineBreaksAndTabs(stripped, true);
    EXPECT_EQ(stripped, "12");
    stripped = " 1\t2\r\n ";
    RemoveLineBreaksAndTabs(stripped, false);
    EXPECT_EQ(stripped, " 12 ");

    std::string text = "a\rb\r";
    ReplaceCharacter(text, '\r', '\n');
    EXPECT_EQ(text, "a\nb\n");
    ReplaceCharacter(text, '\n', '\n'); // equal characters: nothing to do, and no endless search
    EXPECT_EQ(text, "a\nb\n");
}

TEST(TextUtils, ReplaceAllTextNeverLooksIntoInsertedText)
{
    EXPECT_EQ(ReplaceAllText("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAllText("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllText("abc", "z", "x"), "abc");
    // A long text with a million occurrences: no recursion, so no stack to run out of.
    const std::string many(1'000'000, ';');
    const std::string replaced = ReplaceAllText(many, ";", ",;");
    EXPECT_EQ(replaced.size(), 2'000'000u);
    EXPECT_EQ(replaced.substr(0, 6), ",;,;,;");
}

TEST(TextUtils, ReplaceSymbolsForParsingRestoresPlaceholders)
{
    struct Case
    {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"\"a\x01"
         "b\x02"
         "c\x03"
         "d\"",
         "a\tb\nc\rd"},             // enclosing quotes go once something was restored
        {"\"plain\"", "\"plain\""}, // nothing restored: quotes stay
        {"ab\x02", "ab\x02"},       // a placeholder at the end is kept (and logged)
        {"a\x01"
         "b\x01",
         "a\tb\x01"},
    };
    for (const Case& c : cases)
    {
        std::string text = c.in;
        ReplaceSymbolsForParsing(text);
        EXPECT_EQ(text, c.out);
    }
}

TEST(TextUtils, SymbolFontTokensWorkOnCharacters)
{
    std::string out;
    SymbolFontTextToTokens(out, "abjv");
    EXPECT_EQ(out, "[alpha][beta]jv");
    SymbolFontTextToTokens(out, "p" + W(0xB3) + "q");
    EXPECT_EQ(out, "[pi]>=[theta]");
    SymbolFontTextToTokens(out, "A" + W(0xD8) + "Z");
    EXPECT_EQ(out, "[ALPHA][ZETA]");
    SymbolFontTextToTokens(out, W(0xB1) + W(0xB9) + W(0xBD));
    EXPECT_EQ(out, "[+-][/=]|");
    // "ó" is C3 B3 in UTF-8: its second byte equals the code of ">=", but it is another character.
    SymbolFontTextToTokens(out, "\xC3\xB3");
    EXPECT_EQ(out, "\xC3\xB3");
}

TEST(TextUtils, AnsiPunctuationWorksOnCharacters)
{
    std::string text = W(0x93) + "word" + W(0x94) + " " + W(0xA2) + W(0x96) + W(0x92) + W(0xB0);
    ReplaceAnsiPunctuation(text);
    EXPECT_EQ(text, "\"word\" c-'[deg]");
    // "Ò" (C3 92) and "а" (D0 B0) end in bytes of the table; they are not typographic characters.
    text = "\xC3\x92\xD0\xB0";
    ReplaceAnsiPunctuation(text);
    EXPECT_EQ(text, "\xC3\x92\xD0\xB0");
}

TEST(TextUtils, MoodleFormatNames)
{
    const std::pair<const char*, int> cases[] = {{"plain_text", 2},         {"html", 3}, {"markdown", 4},
                                                 {"moodle_auto_format", 5}, {"HTML", 5}, {"", 5}};
    for (const auto& [name, code] : cases)
        EXPECT_EQ(MoodleFormatNameToCode(name), code) << name;
}

TEST(TextUtils, XmlElementWriters)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("r");
    AppendMoodleTextElement(root, "questiontext", "a<b", "html", true);
    AppendMoodleTextElement(root, "name", "n&m", "", false);
    AppendTextCellElement("", "p.gif", root);
    AppendTextCellElement("", "", root);
    AppendTextCellElement("t1", "", root);
    EXPECT_EQ(Xml(root), "<r><questiontext format=\"html\"><text><![CDATA[a<b]]></text></questiontext>"
                         "<name><text>n&amp;m</text></name><tc><img>p.gif</img></tc><tc><t>t1</t></tc></r>");
}

TEST(TextUtils, RichTextToMoodleHtmlWritesPicturesIntoTheGivenFolder)
{
    BookEnvironment env;
    TempDir out;
    lf::RichDocument view;

    std::string html = "stale";
    RichTextToMoodleHTML(html, "", &view, out.folder(), "Week1_");
    EXPECT_EQ(html, "");
    RichTextToMoodleHTML(html, "x", nullptr, out.folder(), "Week1_");
    EXPECT_EQ(html, "Error!!! pRichViewVoid == NULL");

    RichTextToMoodleHTML(html, StoredTextWithPicture("Look at this", "\x89PNG-bytes"), &view, out.folder(),
                         "Week1_");
    EXPECT_EQ(html.find("<body"), std::string::npos);
    EXPECT_EQ(html.find("</body>"), std::string::npos);
    EXPECT_NE(html.find("Look at this"), std::string::npos);
    EXPECT_NE(html.find("src=\"Week1_1.png\""), std::string::npos) << html;
    EXPECT_EQ(ReadFile(out.file("Week1_1.png")), "\x89PNG-bytes");
    EXPECT_FALSE(fs::exists("Week1_1.png")); // nothing in the current folder
}

TEST(TextUtils, ImportedTextsBecomeStoredRichText)
{
    BookEnvironment env;
    std::string text = "  \r\n ";
    EXPECT_TRUE(NormalizeImportedText(text, {}));
    EXPECT_EQ(text, "");

    const std::string stored = StoredTextWithPicture("kept", "\x89PNG-bytes");
    text = stored;
    NormalizeImportedText(text, {});
    EXPECT_EQ(text, stored);

    text = "<p>Which is <b>bigger</b>?</p>";
    NormalizeImportedText(text, {});
    EXPECT_TRUE(XMLTextHasRoot(text, lf::kRichXmlRoot));
    lf::RichDocument view;
    std::string plain;
    GetPlainTextFromXML(text, view, plain, false);
    EXPECT_EQ(plain, "Which is bigger?");
}

// The pictures of an imported page come from the loader the importer is given, asked to fetch.
TEST(TextUtils, ImportedPicturesComeFromTheGivenLoader)
{
    BookEnvironment env;
    std::vector<std::string> asked;
    const lf::RichPictureRequest loader = [&asked](const std::string& source, int, int, bool fetch)
    {
        asked.push_back(source + (fetch ? " fetched" : ""));
        return lf::SRichPicture{"given-bytes", "png"};
    };
    std::string text = "<p>See <img src=\"a.png\"></p>";
    ASSERT_TRUE(NormalizeImportedText(text, loader));
    EXPECT_EQ(asked, std::vector<std::string>{"a.png fetched"});
    lf::RichDocument doc;
    SetXMLToRE(text, doc, true, true, false, {});
    std::vector<std::string> pictures;
    for (const auto& item : doc.content.items)
        if (item.IsPicture())
            pictures.push_back(item.picture.data);
    EXPECT_EQ(pictures, std::vector<std::string>{"given-bytes"});
}

TEST(TextUtils, SetFontSizeReachesEveryTextStyle)
{
    BookEnvironment env;
    lf::RichDocument view;
    std::string text;
    EXPECT_TRUE(SetFontSizeInXMLText(text, &view, 20));
    EXPECT_EQ(text, "");

    lf::RichDocument doc;
    doc.styles.textStyles.resize(2);
    doc.styles.textStyles[0].size = 10;
    doc.styles.textStyles[1].size = 14;
    doc.styles.paraStyles.resize(1);
    doc.content.AddText("small ", 0, 0);
    doc.content.AddText("big", 1, 0, false);
    text = lf::WriteRichXml(doc);
    EXPECT_FALSE(SetFontSizeInXMLText(text, nullptr, 20));
    ASSERT_TRUE(SetFontSizeInXMLText(text, &view, 20));
    lf::RichDocument back;
    ASSERT_EQ(lf::ReadRichXml(text, back), lf::RichXmlResult::Loaded);
    for (const auto& style : back.styles.textStyles)
        EXPECT_EQ(style.size, 20);
    EXPECT_EQ(lf::RichPlainText(back.content), "small big");
}

} // namespace
