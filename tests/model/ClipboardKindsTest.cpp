#include "model/storage/ClipboardKinds.h"
#include "platform/sys/Clipboard.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using lf::test::PrintTo;

using namespace lf::sys;

// A spreadsheet's DIF description of a table of 7 rows.
const std::string kDif =
    "TABLE\r\n0,1\r\n\"EXCEL\"\r\nVECTORS\r\n0,3\r\n\"\"\r\nTUPLES\r\n0,7\r\n\"\"\r\nDATA\r\n";

class ClipboardKindsTest : public ::testing::Test
{
protected:
    ClipboardKindsTest() { SetClipboard(&m_clipboard); }
    ~ClipboardKindsTest() override { SetClipboard(nullptr); }

    MemoryClipboard m_clipboard;
};

struct KindCase
{
    const char* name;
    const char* text; // plain text, nullptr for none
    bool withDif;
    const char* separator;
    int kind;
    int number;
};

class ClipboardKindTable : public ClipboardKindsTest, public ::testing::WithParamInterface<KindCase>
{
};

TEST_P(ClipboardKindTable, FirstMatchWins)
{
    const KindCase& c = GetParam();
    if (c.text)
        m_clipboard.SetData(kClipboardText, c.text);
    if (c.withDif)
        m_clipboard.SetData(kClipboardDif, kDif);
    int number = -99;
    EXPECT_EQ(GetClipboardKind(number, c.separator), c.kind);
    EXPECT_EQ(number, c.number);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClipboardKindTable,
    ::testing::Values(
        KindCase{"Empty", nullptr, false, "\t", CLIPBOARD_KIND_NONE, 0},
        KindCase{"DifWinsOverAnyText", "<Lernfold Version=\"2\"/>", true, "\t", CLIPBOARD_KIND_SPREADSHEET,
                 7},
        KindCase{"OwnXml", "<?xml version=\"1.0\"?>\n<Lernfold Version=\"2\"><x/></Lernfold>", false, "\t",
                 CLIPBOARD_KIND_OWN_XML, 0},
        KindCase{"VersionZeroIsNotOwn", "<Lernfold Version=\"0\"/>", false, "", CLIPBOARD_KIND_TEXT, 0},
        KindCase{"VersionMissingIsNotOwn", "<Lernfold/>", false, ",", CLIPBOARD_KIND_DELIMITED, 1},
        KindCase{"VersionNotANumberIsNotOwn", "<Lernfold Version=\"2a\"/>", false, "", CLIPBOARD_KIND_TEXT,
                 0},
        KindCase{"OtherRootIsNotOwn", "<Book Version=\"2\"/>", false, "", CLIPBOARD_KIND_TEXT, 0},
        KindCase{"DelimitedFirstLineOnly", "a\tb\tc\r\nd\te", false, "\t", CLIPBOARD_KIND_DELIMITED, 3},
        KindCase{"NoSeparatorInLineIsOneColumn", "abc\n", false, ";", CLIPBOARD_KIND_DELIMITED, 1},
        KindCase{"LongSeparatorSkippedWhole", "a::b:::c", false, "::", CLIPBOARD_KIND_DELIMITED, 3},
        KindCase{"EmptyTextIsPlainTextWithoutLines", "", false, "\t", CLIPBOARD_KIND_TEXT, 0},
        KindCase{"PlainText", "just words", false, "", CLIPBOARD_KIND_TEXT, 0}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST_F(ClipboardKindsTest, DifWithoutSpreadsheetMarkersIsNoTable)
{
    m_clipboard.SetData(kClipboardDif, "TABLE\r\n0,1\r\n\"calc\"\r\nTUPLES\r\n0,7\r\n");
    int rows = -1;
    EXPECT_FALSE(GetExcelClipboardRowCount(rows));
    EXPECT_EQ(rows, -1);
    m_clipboard.SetData(kClipboardDif, "\"EXCEL\"\r\nTUPLES\r\n0,many\r\n");
    EXPECT_TRUE(GetExcelClipboardRowCount(rows));
    EXPECT_EQ(rows, 0);
}

TEST_F(ClipboardKindsTest, FormatTextEndsAtTheFirstZeroByte)
{
    m_clipboard.SetData(kClipboardHtml, std::string("<b>x</b>\0junk", 13));
    EXPECT_EQ(GetClipboardFormatText(kClipboardHtml), "<b>x</b>");
    EXPECT_EQ(GetClipboardFormatText(kClipboardRtf), "");
}

TEST_F(ClipboardKindsTest, TextBecomesLines)
{
    CStringArray lines;
    EXPECT_FALSE(ClipboardTextToStringList(&lines));
    m_clipboard.SetData(kClipboardText, "one\r\ntwo\n\nfour\r");
    EXPECT_FALSE(ClipboardTextToStringList(nullptr));
    ASSERT_TRUE(ClipboardTextToStringList(&lines));
    ASSERT_EQ(lines.GetSize(), 4);
    EXPECT_EQ(lines[0], "one");
    EXPECT_EQ(lines[1], "two");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "four");
}

TEST_F(ClipboardKindsTest, RichKindPrefersTheRichestFormat)
{
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_NONE);
    m_clipboard.SetData(kClipboardText, "x");
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_TEXT);
    m_clipboard.SetData(kClipboardRtf, "{\\rtf1 x}");
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_RTF);
    m_clipboard.SetData(kClipboardHtml, "<p>x</p>");
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_HTML);
    m_clipboard.SetData(kClipboardRichView, "x");
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_RICHVIEW);
    m_clipboard.Clear();
    EXPECT_EQ(GetRichClipboardKind(), RICH_CLIPBOARD_NONE);
}

} // namespace
