// Books from outside that once broke the storage: texts that are not UTF-8, a ragged table in a stored
// text, a handheld book whose chapters moved on every round trip.
#include "tests/model/DatastorageTestSupport.h"
#include "tests/support/BookTexts.h"

#include "model/storage/Palmdatabase.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/Clipboard.h"
#include "platform/sys/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

using namespace lf::test;

namespace
{

using lf::test::PrintTo;

class HostileBooks : public ::testing::Test, public StorageFixture
{
protected:
    CItemsArray2& items() { return *storage.GetItemsPtr2(); }
};

struct SEncodingCase
{
    const char* name;
    const char* fixture;
    const char* expectedText; // a text the reading must give, UTF-8
};

class BookEncodings : public HostileBooks, public ::testing::WithParamInterface<SEncodingCase>
{
};

// A book with invalid UTF-8 behind a byte-order mark or a declared encoding, or with character
// references to what is no character, reads as valid text, and what is saved reopens unchanged.
TEST_P(BookEncodings, ReadsValidTextThatSurvivesSaveAndReopen)
{
    const SEncodingCase& c = GetParam();
    ASSERT_TRUE(storage.OpenBook(DataFile(std::string("fuzz/") + c.fixture)));
    const std::string read = BookTexts(items());
    EXPECT_TRUE(lf::sys::IsValidUtf8(read)) << read;
    EXPECT_NE(read.find(c.expectedText), std::string::npos) << read;

    const std::string saved = dir.file("saved.lnf");
    ASSERT_TRUE(storage.SaveXML(saved, &items(), true, true));
    EXPECT_TRUE(lf::sys::IsValidUtf8(ReadFile(saved)));
    ASSERT_TRUE(storage.OpenBook(saved));
    EXPECT_EQ(BookTexts(items()), read);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, BookEncodings,
    ::testing::Values(SEncodingCase{"ByteOrderMarkWithStrayByte", "book_roundtrip-crash-1", "| \xC3\xBF |"},
                      SEncodingCase{"DeclaredUtf8WithLatin1Text", "book_roundtrip-crash-1-declared-utf8.lnf",
                                    "caf\xC3\xA9"},
                      SEncodingCase{"DeclaredUtf8KeepsItsGoodText",
                                    "book_roundtrip-crash-1-declared-utf8.lnf",
                                    "na\xC3\xAFve \xC3\xBC"
                                    "ber \xC3\x86r\xC3\xB8"},
                      SEncodingCase{"SurrogateReference", "book_roundtrip-crash-1-surrogate.lnf",
                                    "question Q2 \xEF\xBF\xBD |"},
                      SEncodingCase{"SurrogateBookKeepsItsGoodText", "book_roundtrip-crash-1-surrogate.lnf",
                                    "na\xC3\xAFve \xC3\xBC"
                                    "ber \xC3\x86r\xC3\xB8"},
                      SEncodingCase{"ReferenceToCharacterZero", "book_roundtrip-nulref-1.lnf",
                                    "question a \xEF\xBF\xBD"
                                    "b |"},
                      SEncodingCase{"BlanksByReference", "book_roundtrip-wnorm-1.lnf", "question a  b |"}),
    [](const auto& info) { return info.param.name; });

struct SReferenceCase
{
    const char* name;
    const char* value; // as it stands in the file
    const char* read;
};

class StoredReferences : public HostileBooks, public ::testing::WithParamInterface<SReferenceCase>
{
};

// A reference to character 0 or to a number past the last character reads as U+FFFD and never ends the
// value it stands in (the XML library wrote a 0 there, or wrapped the number round to another
// character); inside a CDATA section it is text like any other.
TEST_P(StoredReferences, ReadAsTheReplacementCharacterWithTheRestKept)
{
    const SReferenceCase& c = GetParam();
    const std::string path = dir.file("references.lnf");
    WriteFile(path, std::string("<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\"><Questions>") +
                        "<Question ID=\"7\" Name=\"" + c.value + "\" QuestionType=\"3\"><QuestionText>" +
                        c.value + "</QuestionText><GeneralFeedback><![CDATA[" + c.value +
                        "]]></GeneralFeedback></Question></Questions></Lernfold>\n");
    ASSERT_TRUE(storage.OpenBook(path));
    ASSERT_EQ(items().GetCount(), 1);
    const CBaseItem* item = items().GetItem(0);
    EXPECT_EQ(item->GetName(), c.read);
    EXPECT_EQ(item->GetQuestionText(), c.read);
    EXPECT_EQ(item->GetGeneralFeedback(), c.value);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredReferences,
                         ::testing::Values(SReferenceCase{"Zero", "a&#0;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"HexZero", "a&#x0;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"ZeroWithLeadingZeros", "a&#0000;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"JustPastTheLast", "a&#x110000;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"Huge", "a&#xaaaaaaaaaa;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"WrappingToALetter", "a&#4294967361;b",
                                                          "a\xEF\xBF\xBD"
                                                          "b"},
                                           SReferenceCase{"OrdinaryKept", "a&#65;&#x42;&#x10FFFF;b",
                                                          "aAB\xF4\x8F\xBF\xBF"
                                                          "b"},
                                           SReferenceCase{"CapitalXIsNoReference", "a&#X0;b", "a&#X0;b"}),
                         [](const auto& info) { return info.param.name; });

TEST_F(HostileBooks, WriterNeverWritesInvalidUtf8)
{
    BookBuilder(items()).chapter("Ch\xE9").multipleChoice("q \xFF", {"\xED\xA0\x80", "b"}, 0).name("n\x93");
    SCategoryInfo info;
    ASSERT_TRUE(items().GetCategoryAt(1, info));
    info.Description = "d\xE9";
    ASSERT_TRUE(items().SetCategoryAt(1, info));

    const std::string path = dir.file("written.lnf");
    ASSERT_TRUE(storage.SaveXML(path, &items(), true, true));
    const std::string bytes = ReadFile(path);
    EXPECT_TRUE(lf::sys::IsValidUtf8(bytes));
    EXPECT_NE(bytes.find("q \xC3\xBF"), std::string::npos);
    EXPECT_NE(bytes.find("\xEF\xBF\xBD"), std::string::npos);

    ASSERT_TRUE(storage.OpenBook(path));
    const std::string first = BookTexts(items());
    ASSERT_TRUE(storage.SaveXML(path, &items(), true, true));
    EXPECT_EQ(ReadFile(path), bytes);
    EXPECT_NE(first.find("chapter Ch\xC3\xA9 | d\xC3\xA9"), std::string::npos) << first;
}

TEST_F(HostileBooks, PastedSetWithAStrayByteEntersAsValidText)
{
    lf::sys::MemoryClipboard clipboard;
    lf::sys::SetClipboard(&clipboard);
    clipboard.SetData(lf::sys::kClipboardText, "<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\"><Questions>"
                                               "<Question ID=\"7\" Name=\"caf\xE9\" QuestionType=\"3\">"
                                               "<QuestionText><![CDATA[\x93quoted\x94]]></QuestionText>"
                                               "</Question></Questions></Lernfold>");
    ASSERT_TRUE(storage.PasteFromClipboard(&items(), -1, -1, false));
    lf::sys::SetClipboard(nullptr);
    ASSERT_EQ(items().GetCount(), 1);
    EXPECT_EQ(items().GetItem(0)->GetName(), "caf\xC3\xA9");
    EXPECT_EQ(items().GetItem(0)->GetQuestionText(), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
}

TEST_F(HostileBooks, PastedSetWithAReferenceToCharacterZeroKeepsTheRestOfTheName)
{
    lf::sys::MemoryClipboard clipboard;
    lf::sys::SetClipboard(&clipboard);
    clipboard.SetData(lf::sys::kClipboardText, "<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\"><Questions>"
                                               "<Question ID=\"7\" Name=\"a &#0;b\" QuestionType=\"3\">"
                                               "</Question></Questions></Lernfold>");
    ASSERT_TRUE(storage.PasteFromClipboard(&items(), -1, -1, false));
    lf::sys::SetClipboard(nullptr);
    ASSERT_EQ(items().GetCount(), 1);
    EXPECT_EQ(items().GetItem(0)->GetName(), "a \xEF\xBF\xBD"
                                             "b");
}

TEST_F(HostileBooks, RaggedTableInAStoredTextIsReadAsParagraphs)
{
    // One row of 4,600 cells and 4,600 empty rows: as a table it would be 21 million cells.
    ASSERT_TRUE(storage.OpenBook(DataFile("fuzz/book_open-timeout-1.lnf")));
    ASSERT_EQ(items().GetCount(), 1);
    lf::RichDocument doc;
    ASSERT_EQ(lf::ReadRichXml(items().GetItem(0)->GetQuestionText(), doc), lf::RichXmlResult::Loaded);
    for (const lf::SRichItem& item : doc.content.items)
        EXPECT_FALSE(item.IsTable());
}

TEST_F(HostileBooks, HandheldBookKeepsItsChaptersOverRoundTrips)
{
    ASSERT_TRUE(storage.LoadPDB(DataFile("fuzz/pdb-roundtrip-1.pdb"), &items(), 0, true));
    const std::string read = BookTexts(items());
    std::string chapterOfEach;
    const auto chapters = [this]
    {
        std::string out;
        for (std::int32_t i = 0; i < items().GetCount(); ++i)
        {
            SCategoryInfo info;
            items().GetCategoryInfo(items().GetItem(i)->GetCategoryID(), info);
            out += info.Name + ";";
        }
        return out;
    };
    chapterOfEach = chapters();

    const std::string first = dir.file("first.pdb");
    const std::string second = dir.file("second.pdb");
    ASSERT_TRUE(storage.SavePDB(first, &items(), kPdbBookType, false, true));
    ASSERT_TRUE(storage.LoadPDB(first, &items(), 0, true));
    EXPECT_EQ(BookTexts(items()), read);
    EXPECT_EQ(chapters(), chapterOfEach);
    ASSERT_TRUE(storage.SavePDB(second, &items(), kPdbBookType, false, true));
    EXPECT_EQ(ReadFile(second).substr(0x48), ReadFile(first).substr(0x48)); // past the header's dates
}

} // namespace
