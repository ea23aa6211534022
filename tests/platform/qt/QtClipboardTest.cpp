#include "platform/qt/QtClipboard.h"
#include "model/storage/ClipboardKinds.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace
{

using lf::sys::kClipboardHtml;
using lf::sys::kClipboardRichView;
using lf::sys::kClipboardRtf;
using lf::sys::kClipboardText;

// The Qt clipboard installed as the program's clipboard for one test.
class QtClipboardTest : public ::testing::Test
{
protected:
    QtClipboardTest()
    {
        QGuiApplication::clipboard()->clear();
        lf::sys::SetClipboard(&clipboard);
    }
    ~QtClipboardTest() override { lf::sys::SetClipboard(nullptr); }

    lf::qt::QtClipboard clipboard;
};

TEST_F(QtClipboardTest, FormatsOfOneContentStayTogetherAndClearEmptiesAll)
{
    clipboard.SetData(kClipboardText, "Zelle – cell");
    clipboard.SetData(kClipboardHtml, "<b>Zelle</b>");
    clipboard.SetData(kClipboardRichView, std::string("RV\0bytes", 8));
    EXPECT_EQ(clipboard.Data(kClipboardText), "Zelle – cell");
    EXPECT_EQ(clipboard.Data(kClipboardHtml), "<b>Zelle</b>");
    EXPECT_EQ(clipboard.Data(kClipboardRichView), std::string("RV\0bytes", 8));
    EXPECT_FALSE(clipboard.HasFormat(kClipboardRtf));
    EXPECT_EQ(clipboard.Data(kClipboardRtf), "");

    clipboard.SetData(kClipboardText, "replaced");
    EXPECT_EQ(clipboard.Data(kClipboardText), "replaced");
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->formats().count("text/plain"), 1);

    clipboard.Clear();
    for (const char* format : {kClipboardText, kClipboardHtml, kClipboardRichView})
        EXPECT_FALSE(clipboard.HasFormat(format)) << format;
}

TEST_F(QtClipboardTest, RichKindsOfOtherProgramsAreFoundUnderTheirNames)
{
    const struct
    {
        const char* mime;
        QByteArray bytes;
        int kind;
    } cases[] = {
        {"application/rtf", "{\\rtf1 x}", RICH_CLIPBOARD_RTF},
        {"text/rtf", "{\\rtf1 x}", RICH_CLIPBOARD_RTF},
        {"text/html", "<p>x</p>", RICH_CLIPBOARD_HTML},
        {"text/plain", "x", RICH_CLIPBOARD_TEXT},
        {"application/x-lernfold-richview", "rv", RICH_CLIPBOARD_RICHVIEW},
        {"image/x-unknown", "?", RICH_CLIPBOARD_NONE},
    };
    for (const auto& c : cases)
    {
        auto* data = new QMimeData;
        data->setData(c.mime, c.bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        EXPECT_EQ(GetRichClipboardKind(), c.kind) << c.mime;
    }
    EXPECT_EQ(clipboard.Data(kClipboardRtf), ""); // the last content had none
    auto* rtf = new QMimeData;
    rtf->setData("application/rtf", "{\\rtf1 y}");
    QGuiApplication::clipboard()->setMimeData(rtf);
    EXPECT_EQ(clipboard.Data(kClipboardRtf), "{\\rtf1 y}");
}

TEST_F(QtClipboardTest, ChangeNoticeArrivesOncePerChange)
{
    QSignalSpy changes(&clipboard, &lf::qt::QtClipboard::Changed);
    clipboard.SetData(kClipboardText, "a");
    EXPECT_EQ(changes.count(), 1);
    clipboard.SetData(kClipboardHtml, "<i>a</i>");
    EXPECT_EQ(changes.count(), 2);
    QGuiApplication::clipboard()->setText("from another program");
    EXPECT_EQ(changes.count(), 3);
    clipboard.Clear();
    EXPECT_EQ(changes.count(), 4);
    EXPECT_EQ(clipboard.Data(kClipboardText), "");
}

} // namespace
