// Text and XML helpers: whitespace, splitting, text elements, and media files carried as hexadecimal.
#include "model/storage/XmlUtils.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

namespace fs = std::filesystem;
using lf::test::ReadFile;
using lf::test::TempDir;
using lf::test::WriteFile;

std::vector<std::string> ToVector(const CStringArray& list)
{
    return {list.begin(), list.end()};
}

std::string Serialize(const pugi::xml_node& node)
{
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// --- RemoveAllWhitespace ---

TEST(RemoveAllWhitespace, DeletesBlanksTabsAndLineBreaksOnly)
{
    std::string text = " 1.\t2 .\r\n3\n";
    RemoveAllWhitespace(text);
    EXPECT_EQ(text, "1.2.3");
    std::string unicode = "a\u00A0b";
    RemoveAllWhitespace(unicode);
    EXPECT_EQ(unicode, "a\u00A0b");
}

// --- SplitTextBySeparator ---

struct SplitCase
{
    const char* name;
    const char* text;
    const char* separator;
    std::vector<std::string> pieces;
};

class SplitText : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitText, GivesOnePieceMoreThanSeparators)
{
    CStringArray list;
    list.Add("left over");
    ASSERT_TRUE(SplitTextBySeparator(GetParam().text, &list, GetParam().separator));
    EXPECT_EQ(ToVector(list), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Xml, SplitText,
    testing::Values(SplitCase{"TwoLetters", "a,b", ",", {"a", "b"}},
                    SplitCase{"EmptyPieceInside", "a,,b", ",", {"a", "", "b"}},
                    SplitCase{"TrailingSeparator", "a,b,", ",", {"a", "b", ""}},
                    SplitCase{"LeadingSeparator", ",a", ",", {"", "a"}},
                    SplitCase{"EmptyText", "", ",", {""}}, SplitCase{"NoSeparator", "abc", ",", {"abc"}},
                    SplitCase{"QuotesHaveNoMeaning", "\"a,b\",c", ",", {"\"a", "b\"", "c"}},
                    SplitCase{"TabSeparator", "Q\tA\tX", "\t", {"Q", "A", "X"}},
                    SplitCase{"TwoCharacterSeparatorIsSkippedWhole", "a::b::c", "::", {"a", "b", "c"}},
                    SplitCase{"LongSeparatorOverlap", "a:::b", "::", {"a", ":b"}},
                    SplitCase{"LongSeparatorAtTheEnd", "a||", "||", {"a", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SplitTextBySeparator, RefusesAMissingListAndAnEmptySeparator)
{
    EXPECT_FALSE(SplitTextBySeparator("a,b", nullptr, ","));
    CStringArray list;
    list.Add("kept");
    EXPECT_FALSE(SplitTextBySeparator("a,b", &list, ""));
    EXPECT_EQ(ToVector(list), std::vector<std::string>{"kept"});
}

void RestoreTabs(std::string& piece)
{
    for (char& c : piece)
        if (c == '\x01')
            c = '\t';
}

TEST(SplitTextBySeparator, PassesEachPieceThroughTheRestorer)
{
    CStringArray list;
    ASSERT_TRUE(SplitTextBySeparator("a\x01"
                                     "b;c",
                                     &list, ";", &RestoreTabs));
    EXPECT_EQ(ToVector(list), (std::vector<std::string>{"a\tb", "c"}));
}

// --- AppendTextElement ---

TEST(AppendTextElement, WritesEscapedTextOrCdata)
{
    pugi::xml_document doc;
    pugi::xml_node parent = doc.append_child("Item");
    AppendTextElement("Name", "a < b & \"c\"", parent, false);
    AppendTextElement("QuestionText", "<LFDRoot>x</LFDRoot>", parent, true);
    AppendTextElement("Empty", "", parent, true);
    EXPECT_EQ(Serialize(parent), "<Item><Name>a &lt; b &amp; \"c\"</Name>"
                                 "<QuestionText><![CDATA[<LFDRoot>x</LFDRoot>]]></QuestionText>"
                                 "<Empty><![CDATA[]]></Empty></Item>");
    EXPECT_EQ(std::string(parent.child("Name").child_value()), "a < b & \"c\"");
    EXPECT_EQ(parent.child("Empty").first_child().type(), pugi::node_cdata);
}

// --- Hexadecimal media ---

TEST(AppendFileAsHexElement, WritesTheBytesOfAMediaFileAsUpperCaseHex)
{
    TempDir dir;
    const std::string book = dir.file("Bio.lnf");
    fs::create_directories(dir.path() / "Bio");
    WriteFile(dir.file("Bio/cell.png"), std::string("\x00\x7F\x80\xFF\x0A", 5));

    pugi::xml_document doc;
    pugi::xml_node parent = doc.append_child("Media");
    AppendFileAsHexElement("Picture", "\\cell.png", parent, book);
    pugi::xml_node picture = parent.child("Picture");
    ASSERT_TRUE(picture);
    EXPECT_EQ(std::string(picture.attribute("FileName").value()), "\\cell.png");
    EXPECT_EQ(picture.first_child().type(), pugi::node_cdata);
    EXPECT_EQ(std::string(picture.first_child().value()), "007F80FF0A");
}

TEST(AppendFileAsHexElement, AppendsNothingForAMissingFile)
{
    TempDir dir;
    pugi::xml_document doc;
    pugi::xml_node parent = doc.append_child("Media");
    AppendFileAsHexElement("Picture", "missing.png", parent, dir.file("Bio.lnf"));
    EXPECT_FALSE(parent.first_child());
}

TEST(ExtractHexToFile, WritesTheBytesBackAndReplacesAnOldFile)
{
    TempDir dir;
    WriteFile(dir.file("cell.png"), "old content that is longer");
    ASSERT_TRUE(ExtractHexToFile(dir.folder(), "\\cell.png", "007f80FF0A"));
    EXPECT_EQ(ReadFile(dir.file("cell.png")), std::string("\x00\x7F\x80\xFF\x0A", 5));

    // A folder given without its final separator, and a name in a sub-folder that exists.
    fs::create_directories(dir.path() / "pics");
    std::string folder = dir.folder();
    folder.pop_back();
    ASSERT_TRUE(ExtractHexToFile(folder, "pics\\a.bin", "4142"));
    EXPECT_EQ(ReadFile(dir.file("pics/a.bin")), "AB");

    // Nothing but the two files is left in the folder: no temporary file stays behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::recursive_directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 3);
}

struct HexRefusal
{
    const char* name;
    const char* storedName;
    const char* hex;
};

class ExtractHexRefusal : public testing::TestWithParam<HexRefusal>
{
};

TEST_P(ExtractHexRefusal, WritesNothing)
{
    TempDir root;
    fs::create_directories(root.path() / "book" / "media");
    const std::string folder = (root.path() / "book" / "media").string() + "/";
    EXPECT_FALSE(ExtractHexToFile(folder, GetParam().storedName, GetParam().hex));
    int files = 0;
    for (const auto& e : fs::recursive_directory_iterator(root.path()))
        if (!e.is_directory())
            ++files;
    EXPECT_EQ(files, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Xml, ExtractHexRefusal,
    testing::Values(HexRefusal{"EmptyText", "a.bin", ""}, HexRefusal{"OneCharacter", "a.bin", "4"},
                    HexRefusal{"OddLength", "a.bin", "41424"}, HexRefusal{"NotHexadecimal", "a.bin", "41ZZ"},
                    HexRefusal{"BlankInside", "a.bin", "41 42"}, HexRefusal{"EmptyName", "", "4142"},
                    HexRefusal{"ParentFolder", "..\\a.bin", "4142"},
                    HexRefusal{"ParentFolderWithSlash", "../a.bin", "4142"},
                    HexRefusal{"ParentFolderAfterLeadingBackslash", "\\..\\a.bin", "4142"},
                    HexRefusal{"ParentFolderInside", "sub\\..\\..\\a.bin", "4142"},
                    HexRefusal{"AbsolutePath", "/tmp/a.bin", "4142"},
                    HexRefusal{"DoubleBackslashIsAbsolute", "\\\\a.bin", "4142"},
                    HexRefusal{"DriveLetter", "C:\\a.bin", "4142"},
                    HexRefusal{"WebAddress", "http://example.com/a.bin", "4142"},
                    HexRefusal{"NamesAFolder", "sub\\", "4142"},
                    HexRefusal{"MissingSubFolder", "nosuch\\a.bin", "4142"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadXmlFile, ReadsAnUndeclaredNonUtf8FileAsWindows1252)
{
    lf::test::TempDir dir;
    struct Case
    {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"utf8.xml", "<r>Caf\xC3\xA9 \xE2\x82\xAC</r>", "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"ansi.xml", "<r>Caf\xE9 \x80</r>", "Caf\xC3\xA9 \xE2\x82\xAC"},
        {"latin1.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r>Caf\xE9</r>", "Caf\xC3\xA9"},
        // A reference to what is no character becomes U+FFFD, whatever the file's bytes were.
        {"reference.xml", "<r>Q&#xD800;2 \xC3\xA9</r>",
         "Q\xEF\xBF\xBD"
         "2 \xC3\xA9"},
        {"ansi_reference.xml", "<r>&#xD800;\xE9</r>", "\xEF\xBF\xBD\xC3\xA9"},
        {"declared_utf8.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r>Caf\xE9</r>", "Caf\xC3\xA9"},
    };
    for (const Case& c : cases)
    {
        lf::test::WriteFile(dir.file(c.name), c.bytes);
        pugi::xml_document doc;
        ASSERT_TRUE(LoadXmlFile(doc, dir.file(c.name), pugi::parse_default)) << c.name;
        EXPECT_EQ(std::string(doc.child("r").text().get()), c.expected) << c.name;
    }
    pugi::xml_document doc;
    EXPECT_FALSE(LoadXmlFile(doc, dir.file("missing.xml"), pugi::parse_default));
    lf::test::WriteFile(dir.file("broken.xml"), "<r>");
    EXPECT_FALSE(LoadXmlFile(doc, dir.file("broken.xml"), pugi::parse_default));
}

// A book is read and checked in blocks (of a power of two up to 1 MiB, so 1 MiB is the edge of one): a
// character or a reference across the edge is seen whole, and a stray byte in a later block still makes the
// file Windows-1252.
TEST(LoadXmlFile, ChecksCharactersAndReferencesAcrossTheEdgeOfABlock)
{
    lf::test::TempDir dir;
    constexpr std::size_t kBlock = std::size_t{1} << 20;
    struct Case
    {
        const char* name;
        std::string tail;     // what the text holds across the edge
        std::string expected; // how the text ends once read
    };
    const Case cases[] = {
        {"euro.xml", "\xE2\x82\xAC", "\xE2\x82\xAC"},
        {"reference.xml", "&#xD800;", "\xEF\xBF\xBD"},
        {"stray.xml", "\xE9", "\xC3\xA9"},
    };
    for (const Case& c : cases)
    {
        for (std::size_t back = 0; back < 4; ++back)
        {
            const std::string head = "<r>";
            const std::string filler(kBlock - head.size() - back, 'a');
            lf::test::WriteFile(dir.file(c.name), head + filler + c.tail + "z</r>");
            pugi::xml_document doc;
            ASSERT_TRUE(LoadXmlFile(doc, dir.file(c.name), pugi::parse_default)) << c.name;
            const std::string text = doc.child("r").text().get();
            EXPECT_EQ(text.substr(filler.size()), c.expected + "z") << c.name << " " << back;
        }
    }
}

TEST(IsValidUtf8, RefusesMalformedSequences)
{
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xE9", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

} // namespace
