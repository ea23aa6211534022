#include "platform/richtext/RichStyleSheet.h"
#include "platform/richtext/RichDocument.h"

#include <gtest/gtest.h>

using namespace lf;

TEST(RichStyleSheet, DefaultSheetHasTheViewsStylesInOrder)
{
    const RichStyleSheet sheet = RichStyleSheet::Default();
    ASSERT_EQ(sheet.TextStyleCount(), 6);
    EXPECT_EQ(sheet.textStyles[0].name, "Normal text");
    EXPECT_EQ(sheet.textStyles[0].fontName, "Arial");
    EXPECT_TRUE(sheet.textStyles[1].bold);
    EXPECT_EQ(sheet.textStyles[1].color, 0xFF0000u); // blue
    EXPECT_EQ(sheet.textStyles[2].color, 0x800000u); // navy
    EXPECT_TRUE(sheet.textStyles[3].italic);
    EXPECT_EQ(sheet.textStyles[3].color, 0x000080u); // maroon
    for (int i : {4, 5})
    {
        EXPECT_TRUE(sheet.textStyles[i].jump);
        EXPECT_TRUE(sheet.textStyles[i].underline);
        EXPECT_EQ(sheet.textStyles[i].color, 0x008000u);
    }
    ASSERT_EQ(sheet.ParaStyleCount(), 2);
    EXPECT_EQ(sheet.paraStyles[1].name, "Centered");
    EXPECT_EQ(sheet.paraStyles[1].align, RichAlign::Center);

    const RichStyleSheet display = RichStyleSheet::Display();
    ASSERT_EQ(display.ParaStyleCount(), 3);
    EXPECT_EQ(display.paraStyles[2].border, RichBorderStyle::Single);
    EXPECT_EQ(display.paraStyles[2].borderWidth, 5);
    EXPECT_EQ(display.paraStyles[2].backColor, 0x0000FFu);
}

TEST(RichStyleSheet, DefaultStylesHaveTheirNamesInArialAndOnlyTheirOwnEmphasis)
{
    const RichStyleSheet sheet = RichStyleSheet::Default();
    ASSERT_EQ(sheet.TextStyleCount(), 6);
    const char* names[] = {"Normal text", "Heading", "Subheading", "Keywords", "Jump 1", "Jump 2"};
    const bool bold[] = {false, true, true, false, false, false};
    const bool italic[] = {false, false, false, true, false, false};
    for (int i = 0; i < 6; ++i)
    {
        SCOPED_TRACE(names[i]);
        const SRichTextStyle& s = sheet.textStyles[i];
        EXPECT_EQ(s.name, names[i]);
        EXPECT_EQ(s.fontName, "Arial");
        EXPECT_EQ(s.bold, bold[i]);
        EXPECT_EQ(s.italic, italic[i]);
        EXPECT_EQ(s.underline, i >= 4);
        EXPECT_EQ(s.jump, i >= 4);
        EXPECT_EQ(s.subSuper, RichSubSuper::Normal);
        EXPECT_TRUE(s.standard);
    }
    EXPECT_EQ(sheet.textStyles[0].color, 0x000000u);
    EXPECT_EQ(sheet.paraStyles[0].name, "Paragraph Style");
    EXPECT_EQ(sheet.paraStyles[0].align, RichAlign::Left);
    EXPECT_EQ(sheet.paraStyles[1].border, RichBorderStyle::None);

    // The display sheet shares the text styles and the first two paragraph styles.
    const RichStyleSheet display = RichStyleSheet::Display();
    EXPECT_EQ(display.textStyles, sheet.textStyles);
    EXPECT_EQ(display.paraStyles[0], sheet.paraStyles[0]);
    EXPECT_EQ(display.paraStyles[1], sheet.paraStyles[1]);
}

TEST(RichStyleSheet, FindOrAddReusesAStyleEqualInEveryFontPropertyAndIgnoresItsName)
{
    RichStyleSheet sheet = RichStyleSheet::Default();
    SRichTextStyle jump = sheet.textStyles[0];
    jump.name = "Something else";
    jump.jump = true;
    jump.underline = true;
    jump.color = 0x008000;
    EXPECT_EQ(sheet.FindOrAddTextStyle(jump), 4);
    EXPECT_EQ(sheet.TextStyleCount(), 6);

    jump.size = 14;
    EXPECT_EQ(sheet.FindOrAddTextStyle(jump), 6);
    EXPECT_FALSE(sheet.textStyles[6].standard);
    EXPECT_EQ(sheet.FindOrAddTextStyle(jump), 6);

    SRichParaStyle verdict;
    verdict.border = RichBorderStyle::Single;
    verdict.borderWidth = 10;
    verdict.backColor = 0x008000;
    EXPECT_EQ(sheet.FindOrAddParaStyle(verdict), 2);
    EXPECT_EQ(sheet.FindOrAddParaStyle(verdict), 2);
}

TEST(RichStyleSheet, ShiftFontSizesMovesEveryStyleAndNeverBelowOnePoint)
{
    RichStyleSheet sheet = RichStyleSheet::Default();
    sheet.textStyles[2].size = 8;
    sheet.ShiftFontSizes(2);
    EXPECT_EQ(sheet.textStyles[0].size, 12);
    EXPECT_EQ(sheet.GetMinFontSize(), 10);
    sheet.ShiftFontSizes(-20);
    EXPECT_EQ(sheet.GetMinFontSize(), 1);
    EXPECT_EQ(RichStyleSheet{}.GetMinFontSize(), -1);
}

TEST(RichStyleSheet, PurgeDropsUnusedAddedStylesAndRenumbersItemsInTableCellsToo)
{
    RichDocument doc;
    SRichTextStyle big = doc.styles.textStyles[0];
    big.size = 20;
    SRichTextStyle red = doc.styles.textStyles[0];
    red.color = 0x0000FF;
    const int bigNo = doc.styles.FindOrAddTextStyle(big); // 6, unused later
    const int redNo = doc.styles.FindOrAddTextStyle(red); // 7
    SRichParaStyle framed;
    framed.border = RichBorderStyle::Single;
    const int framedNo = doc.styles.FindOrAddParaStyle(framed); // 2
    ASSERT_EQ(bigNo, 6);
    ASSERT_EQ(redNo, 7);

    doc.content.AddText("red", redNo, framedNo);
    RichTable table(1, 1);
    table.Cell(0, 0).content.AddText("in cell", redNo, 0);
    doc.content.AddTable(table, "1", 0);

    doc.PurgeUnusedStyles();
    EXPECT_EQ(doc.styles.TextStyleCount(), 7); // six standard ones stay, "big" goes
    EXPECT_EQ(doc.content.items[0].styleNo, 6);
    EXPECT_EQ(doc.styles.textStyles[6].color, 0x0000FFu);
    EXPECT_EQ(doc.content.items[0].paraNo, 2);
    EXPECT_EQ(doc.content.items[1].table->Cell(0, 0).content.items[0].styleNo, 6);
}
