#include "platform/richtext/RichDocument.h"
#include "platform/richtext/PlainText.h"

#include <gtest/gtest.h>

using namespace lf;

namespace
{

// "Hello world" in two runs, a second paragraph with a line break, a picture.
RichDocument SampleDocument()
{
    RichDocument doc;
    doc.content.AddText("Hello ", 0, 0);
    doc.content.AddText("world", 1, 0, false);
    doc.content.AddText("Second", 0, 1);
    doc.content.AddText("line", 0, 1, false).lineBreak = true;
    doc.content.AddPicture({"PNGDATA", "png"}, 10, 10, 0, false);
    return doc;
}

} // namespace

TEST(RichPlainText, BreaksBeforeParagraphsAndLineBreaksPicturesAddNothing)
{
    EXPECT_EQ(RichPlainText(SampleDocument().content), "Hello world\r\nSecond\r\nline");
}

TEST(RichPlainText, TableGivesCellsJoinedByTabsAndRowsByLineBreaks)
{
    RichContent content;
    content.AddText("Before", 0, 0);
    RichTable table(2, 2);
    table.Cell(0, 0).content.AddText("a", 0, 0);
    table.Cell(0, 1).content.AddText("b", 0, 0);
    table.Cell(1, 1).content.AddText("d", 0, 0);
    content.AddTable(table, "1", 0);
    content.AddText("After", 0, 0);
    EXPECT_EQ(RichPlainText(content), "Before\r\na\tb\r\n\td\r\nAfter");
}

TEST(RichContent, AddTextLinesSplitsEveryKindOfLineEnd)
{
    RichContent content;
    content.AddTextLines("one\r\ntwo\nthree\rfour", 2, 1);
    ASSERT_EQ(content.Count(), 4);
    for (const auto& item : content.items)
    {
        EXPECT_TRUE(item.newParagraph);
        EXPECT_EQ(item.styleNo, 2);
        EXPECT_EQ(item.paraNo, 1);
    }
    EXPECT_EQ(content.items[3].text, "four");
}

TEST(RichDocument, CopySelectionCutsTextRunsAndStartsAParagraph)
{
    RichDocument doc = SampleDocument();
    doc.selection = SRichSelection{{0, 4}, {2, 4}}; // "lo world" .. "Sec"
    const RichDocument part = doc.CopySelection();
    ASSERT_EQ(part.ItemCount(), 3);
    EXPECT_EQ(part.content.items[0].text, "lo ");
    EXPECT_TRUE(part.content.items[0].newParagraph);
    EXPECT_EQ(part.content.items[1].text, "world");
    EXPECT_EQ(part.content.items[1].styleNo, 1);
    EXPECT_EQ(part.content.items[2].text, "Sec");
    EXPECT_EQ(part.styles, doc.styles);

    doc.selection = SRichSelection{{4, 1}, {2, 1}}; // reversed; picture end offset 1 includes it
    const RichDocument tail = doc.CopySelection();
    EXPECT_EQ(RichPlainText(tail.content), "Second\r\nline");
    EXPECT_EQ(tail.content.items.back().styleNo, kRichStylePicture);

    doc.selection.reset();
    EXPECT_TRUE(doc.CopySelection().Empty());
}

TEST(RichDocument, AppendingMapsStylesByLookNotByNumber)
{
    RichStyleSheet other = RichStyleSheet::Default();
    std::swap(other.textStyles[1], other.textStyles[3]); // "Keywords" at 1, "Heading" at 3
    SRichTextStyle huge = other.textStyles[0];
    huge.size = 30;
    other.textStyles.push_back(huge); // 6
    RichDocument source(other);
    source.content.AddText("keyword", 1, 1);
    source.content.AddText("huge", 6, 0, false);

    RichDocument target;
    target.content.AddText("existing", 0, 0);
    target.AppendDocument(source);

    ASSERT_EQ(target.ItemCount(), 3);
    EXPECT_TRUE(target.content.items[1].newParagraph);
    EXPECT_EQ(target.content.items[1].styleNo, 3); // Keywords keeps italic maroon
    EXPECT_EQ(target.content.items[1].paraNo, 1);
    const int hugeNo = target.content.items[2].styleNo;
    ASSERT_TRUE(target.styles.HasTextStyle(hugeNo));
    EXPECT_EQ(target.styles.textStyles[hugeNo].size, 30);
    EXPECT_EQ(target.styles.TextStyleCount(), 7); // only the style used was brought over
}

TEST(RichDocument, CopiesOwnTheirTables)
{
    RichDocument doc;
    RichTable table(1, 1);
    table.Cell(0, 0).hint = "0";
    doc.content.AddTable(table, "1", 0);
    RichDocument copy = doc;
    copy.content.items[0].table->Cell(0, 0).hint = "changed";
    EXPECT_EQ(doc.content.items[0].table->Cell(0, 0).hint, "0");
    EXPECT_FALSE(copy == doc);
}
