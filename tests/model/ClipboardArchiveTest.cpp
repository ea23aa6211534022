#include "model/storage/ClipboardArchive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

SClipboardArchiveItem Entry(int n)
{
    SClipboardArchiveItem item;
    item.Text = "clip " + std::to_string(n);
    item.RichText = "<Lernfold/>";
    item.RowCount = n;
    item.Time = 45000.5 + n;
    item.Kind = 1;
    return item;
}

std::vector<std::string> Texts(const CClipboardArchive& archive, bool textList)
{
    std::vector<std::string> texts;
    const int count = textList ? archive.GetTextCount() : archive.GetCount();
    for (int i = 0; i < count; ++i)
    {
        SClipboardArchiveItem item;
        EXPECT_TRUE(textList ? archive.GetTextItem(i, item) : archive.GetItem(i, item));
        texts.push_back(item.Text);
    }
    return texts;
}

TEST(ClipboardArchive, KeepsTheFirstEntryOfTheRunAndTheNineNewest)
{
    CClipboardArchive archive;
    for (int n = 1; n <= 11; ++n)
        archive.AddItem(Entry(n));
    EXPECT_EQ(Texts(archive, false),
              (std::vector<std::string>{"clip 1", "clip 3", "clip 4", "clip 5", "clip 6", "clip 7", "clip 8",
                                        "clip 9", "clip 10", "clip 11"}));
    for (int n = 12; n <= 20; ++n)
        archive.AddItem(Entry(n));
    const auto texts = Texts(archive, false);
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts.front(), "clip 1");
    EXPECT_EQ(texts[1], "clip 12");
    EXPECT_EQ(texts.back(), "clip 20");
}

TEST(ClipboardArchive, AfterElevenTextsHoldsTheFirstAndTheAdditionsThreeToEleven)
{
    CClipboardArchive archive;
    for (int n = 1; n <= 11; ++n)
    {
        SClipboardArchiveItem text = Entry(n);
        text.Kind = n % 2 == 0 ? 5 : 3;
        archive.AddTextItem(text);
    }
    EXPECT_EQ(Texts(archive, true),
              (std::vector<std::string>{"clip 1", "clip 3", "clip 4", "clip 5", "clip 6", "clip 7", "clip 8",
                                        "clip 9", "clip 10", "clip 11"}));
    EXPECT_EQ(archive.GetCount(), 0); // the question sets are a list of their own
    SClipboardArchiveItem last;
    ASSERT_TRUE(archive.GetTextItem(9, last));
    EXPECT_EQ(last.Kind, 3);
    EXPECT_EQ(last.RowCount, 11);
    EXPECT_FALSE(archive.GetTextItem(10, last));
}

TEST(ClipboardArchive, ListsAreIndependentAndReadsOutsideLeaveOutAlone)
{
    CClipboardArchive archive;
    for (int n = 1; n <= 10; ++n)
    {
        archive.AddItem(Entry(n));
        archive.AddTextItem(Entry(100 + n));
    }
    EXPECT_EQ(archive.GetCount(), 10);
    EXPECT_EQ(archive.GetTextCount(), 10);

    SClipboardArchiveItem out = Entry(-1);
    EXPECT_FALSE(archive.GetItem(10, out));
    EXPECT_FALSE(archive.GetTextItem(-1, out));
    EXPECT_EQ(out.Text, "clip -1");

    ASSERT_TRUE(archive.GetItem(0, out));
    EXPECT_EQ(out.Text, "clip 1");
    EXPECT_EQ(out.RichText, "<Lernfold/>");
    EXPECT_EQ(out.RowCount, 1);
    EXPECT_DOUBLE_EQ(out.Time, 45001.5);
    EXPECT_EQ(out.Kind, 1);
    ASSERT_TRUE(archive.GetTextItem(9, out));
    EXPECT_EQ(out.Text, "clip 110");
}

} // namespace
