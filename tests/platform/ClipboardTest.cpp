#include "platform/sys/Clipboard.h"

#include <gtest/gtest.h>

namespace
{

using namespace lf::sys;

TEST(MemoryClipboard, KeepsEachFormatUntilCleared)
{
    MemoryClipboard clipboard;
    EXPECT_FALSE(clipboard.HasFormat(kClipboardText));
    EXPECT_EQ(clipboard.Data(kClipboardText), "");
    clipboard.SetData(kClipboardText, std::string("a\0b", 3));
    clipboard.SetData(kClipboardHtml, "<b>a</b>");
    EXPECT_TRUE(clipboard.HasFormat(kClipboardText));
    EXPECT_EQ(clipboard.Data(kClipboardText), std::string("a\0b", 3));
    EXPECT_EQ(clipboard.Data(kClipboardHtml), "<b>a</b>");
    clipboard.Clear();
    EXPECT_FALSE(clipboard.HasFormat(kClipboardText));
    EXPECT_FALSE(clipboard.HasFormat(kClipboardHtml));
}

TEST(MemoryClipboard, InstalledClipboardIsTheCurrentOne)
{
    Clipboard& process = CurrentClipboard();
    MemoryClipboard mine;
    SetClipboard(&mine);
    EXPECT_EQ(&CurrentClipboard(), &mine);
    SetClipboard(nullptr);
    EXPECT_EQ(&CurrentClipboard(), &process);
}

} // namespace
