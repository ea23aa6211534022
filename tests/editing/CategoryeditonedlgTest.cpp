// The chapter dialog: its fields, the 200-character name, and the Copy and Paste buttons on the clipboard.
#include "editing/Categoryeditonedlg.h"

#include "platform/sys/Clipboard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>

#include <string>

namespace
{

class CategoryeditonedlgTest : public ::testing::Test
{
protected:
    CategoryeditonedlgTest() { lf::sys::SetClipboard(&clipboard); }
    ~CategoryeditonedlgTest() override { lf::sys::SetClipboard(nullptr); }

    template <class T> T* Control(Tm_CategoryEditOneDlg& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    std::string ClipboardText() { return clipboard.Data(lf::sys::kClipboardText); }

    lf::sys::MemoryClipboard clipboard;
};

} // namespace

TEST_F(CategoryeditonedlgTest, PasteButtonsFollowTheClipboardFromTheStart)
{
    Tm_CategoryEditOneDlg empty;
    EXPECT_FALSE(Control<QToolButton>(empty, "m_PasteBtn")->isEnabled());
    EXPECT_FALSE(Control<QToolButton>(empty, "m_Paste2Btn")->isEnabled());

    clipboard.SetData(lf::sys::kClipboardText, "Genetics");
    empty.OnClipboardChange();
    EXPECT_TRUE(Control<QToolButton>(empty, "m_PasteBtn")->isEnabled());
    EXPECT_TRUE(Control<QToolButton>(empty, "m_Paste2Btn")->isEnabled());

    Tm_CategoryEditOneDlg withText;
    EXPECT_TRUE(Control<QToolButton>(withText, "m_PasteBtn")->isEnabled());
    clipboard.Clear();
    withText.OnClipboardChange();
    EXPECT_FALSE(Control<QToolButton>(withText, "m_Paste2Btn")->isEnabled());
}

TEST_F(CategoryeditonedlgTest, CopyTakesTheSelectionOrTheWholeFieldAndLeavesNothingSelected)
{
    Tm_CategoryEditOneDlg dialog;
    dialog.SetNameText("Cell biology");
    dialog.SetDescriptionText("Line one\nLine two");
    auto* name = Control<QLineEdit>(dialog, "m_NameStr");
    auto* memo = Control<QPlainTextEdit>(dialog, "m_DescriptionStr");

    name->setSelection(5, 7);
    dialog.m_CopyBtnClick();
    EXPECT_EQ(ClipboardText(), "biology");

    name->deselect();
    name->setCursorPosition(4);
    dialog.m_CopyBtnClick();
    EXPECT_EQ(ClipboardText(), "Cell biology");
    EXPECT_FALSE(name->hasSelectedText());
    EXPECT_EQ(name->cursorPosition(), 0);

    dialog.m_Copy2BtnClick();
    EXPECT_EQ(ClipboardText(), "Line one\nLine two");
    EXPECT_FALSE(memo->textCursor().hasSelection());
    EXPECT_EQ(memo->textCursor().position(), 0);
}

TEST_F(CategoryeditonedlgTest, PasteReplacesTheSelectionAndKeepsTheNameWithin200Characters)
{
    Tm_CategoryEditOneDlg dialog;
    auto* name = Control<QLineEdit>(dialog, "m_NameStr");
    dialog.SetNameText("Old name");
    name->setSelection(0, 3);
    clipboard.SetData(lf::sys::kClipboardText, "New");
    dialog.m_PasteBtnClick();
    EXPECT_EQ(dialog.NameText(), "New name");

    dialog.SetNameText(std::string(195, 'a'));
    name->setCursorPosition(195);
    clipboard.SetData(lf::sys::kClipboardText, "0123456789");
    dialog.m_PasteBtnClick();
    EXPECT_EQ(dialog.NameText(), std::string(195, 'a') + "01234");
    dialog.SetNameText(std::string(250, 'b'));
    EXPECT_EQ(dialog.NameText().size(), 200u);

    dialog.SetDescriptionText("Info");
    auto* memo = Control<QPlainTextEdit>(dialog, "m_DescriptionStr");
    QTextCursor end = memo->textCursor();
    end.movePosition(QTextCursor::End);
    memo->setTextCursor(end);
    clipboard.SetData(lf::sys::kClipboardText, " more");
    dialog.m_Paste2BtnClick();
    EXPECT_EQ(dialog.DescriptionText(), "Info more");
}

TEST_F(CategoryeditonedlgTest, OkWithAnEmptyNameAnswersOkAndCloseBoxAnswersCancel)
{
    Tm_CategoryEditOneDlg dialog;
    dialog.SetCaption("Rename Chapter");
    EXPECT_EQ(dialog.windowTitle(), "Rename Chapter");
    Control<QPushButton>(dialog, "m_OkBtn")->click();
    EXPECT_EQ(dialog.result(), Tm_CategoryEditOneDlg::kOk);
    EXPECT_EQ(dialog.NameText(), "");
    dialog.reject();
    EXPECT_EQ(dialog.result(), Tm_CategoryEditOneDlg::kCancel);
}
