// The chapter editor on a real collection, with the chapter dialog and the messages scripted.
#include "mainwindow/dialogs/Categoryeditfrm.h"

#include "editing/Categoryeditonedlg.h"
#include "model/collection/Itemsarray.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QListWidget>
#include <gtest/gtest.h>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::qt::SMessage;
using lf::test::BookBuilder;
using lf::test::ChapterNames;
using lf::test::FindByName;

namespace
{

class CategoryeditfrmTest : public ::testing::Test
{
protected:
    CategoryeditfrmTest() : editor(items)
    {
        BookBuilder(items)
            .multipleChoice("loose", {"a"}, 0)
            .chapter("Bio")
            .multipleChoice("cell", {"a"}, 0)
            .chapter("Chem")
            .multipleChoice("acid", {"a"}, 0)
            .chapter("Phys");
        items.SetModified(false);
        editor.FormShow();
    }

    QListWidget* List() { return editor.findChild<QListWidget*>("m_CategoryList"); }
    QAbstractButton* Tool(const char* name)
    {
        return editor.findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
    void Select(int row) { List()->setCurrentRow(row); }
    std::int32_t ID(const std::string& name) const
    {
        return items.GetCategoryIDAt(items.FindCategoryIndexByName(name));
    }
    // Scripts OK for the next count message boxes.
    void AnswerOk(int count)
    {
        for (int i = 0; i < count; ++i)
            dialogs.AnswerMessage(lf::qt::mrOk);
    }
    // Scripts the chapter dialog: fills the name and description, then answers result.
    void AnswerChapterDialog(const std::string& name, const std::string& description, int result,
                             std::vector<std::string>* seenNames = nullptr)
    {
        dialogs.AnswerModal(
            [=](QDialog& window)
            {
                auto& dialog = dynamic_cast<Tm_CategoryEditOneDlg&>(window);
                if (seenNames != nullptr)
                    seenNames->push_back(dialog.NameText());
                dialog.SetNameText(name);
                dialog.SetDescriptionText(description);
                return result;
            });
    }

    lf::test::BookEnvironment env;
    lf::test::ScriptedDialogs dialogs;
    CItemsArray2 items;
    Tm_CategoryEditFrm editor;
};

} // namespace

TEST_F(CategoryeditfrmTest, UnfiledRefusesRenameDeleteAndMoves)
{
    Select(0);
    AnswerOk(4);
    EXPECT_FALSE(Tool("m_pUpBtn")->isEnabled());
    EXPECT_FALSE(Tool("m_pDownBtn")->isEnabled());
    editor.m_RenameBtnClick();
    editor.m_DeleteBtnClick();
    editor.m_pDownBtnClick();
    editor.m_pUpBtnClick();
    EXPECT_EQ(dialogs.messages,
              (std::vector<SMessage>{
                  {MsgKind::Warning, "You can't rename the default chapter.", MsgButtons::Ok, ""},
                  {MsgKind::Warning, "You can't delete the default chapter.", MsgButtons::Ok, ""},
                  {MsgKind::Warning, "You can't move the Unfiled chapter", MsgButtons::Ok, ""},
                  {MsgKind::Warning, "You can't move the Unfiled chapter", MsgButtons::Ok, ""},
              }));
    EXPECT_FALSE(items.IsModified());

    // The chapter right below "Unfiled" cannot go up; the last one cannot go down.
    Select(1);
    EXPECT_FALSE(Tool("m_pUpBtn")->isEnabled());
    EXPECT_TRUE(Tool("m_pDownBtn")->isEnabled());
    Select(3);
    EXPECT_TRUE(Tool("m_pUpBtn")->isEnabled());
    EXPECT_FALSE(Tool("m_pDownBtn")->isEnabled());
}

TEST_F(CategoryeditfrmTest, CommandsWithoutASelectionAskForOne)
{
    AnswerOk(3);
    editor.m_RenameBtnClick();
    editor.m_DeleteBtnClick();
    editor.m_pDownBtnClick();
    ASSERT_EQ(dialogs.messages.size(), 3u);
    for (const SMessage& message : dialogs.messages)
        EXPECT_EQ(message.text, "Please select a chapter.");
}

TEST_F(CategoryeditfrmTest, NewAsksAgainUntilANameIsGivenAndSelectsTheNewChapter)
{
    std::vector<std::string> seen;
    AnswerChapterDialog("", "typed info", Tm_CategoryEditOneDlg::kOk, &seen);
    AnswerChapterDialog("Genetics", "Genes", Tm_CategoryEditOneDlg::kOk, &seen);
    editor.m_NewBtnClick();

    EXPECT_EQ(dialogs.modalWindows.size(), 2u);
    EXPECT_EQ(ChapterNames(items), (std::vector<std::string>{"Unfiled", "Bio", "Chem", "Phys", "Genetics"}));
    SCategoryInfo info;
    ASSERT_TRUE(items.GetCategoryInfo(ID("Genetics"), info));
    EXPECT_EQ(info.Description, "Genes");
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(List()->currentRow(), 4);
    EXPECT_EQ(editor.SelectedCategoryID(), ID("Genetics"));

    // Cancel ends the command; a blank name is refused by the book.
    AnswerChapterDialog("", "", Tm_CategoryEditOneDlg::kCancel);
    editor.m_NewBtnClick();
    AnswerChapterDialog("   ", "", Tm_CategoryEditOneDlg::kOk);
    AnswerOk(1);
    editor.m_NewBtnClick();
    EXPECT_EQ(items.GetCategoryCount(), 5);
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages.back(),
              (SMessage{MsgKind::Error, "Error. Can't create the chapter.", MsgButtons::Ok, ""}));
    EXPECT_NE(env.LogText().find("Tm_CategoryEditFrm::m_NewBtnClick() - ERROR, Can't create category!"),
              std::string::npos);
}

TEST_F(CategoryeditfrmTest, RenameWritesOnlyARealChange)
{
    Select(1);
    AnswerChapterDialog("Bio", "", Tm_CategoryEditOneDlg::kOk);
    editor.m_RenameBtnClick();
    EXPECT_FALSE(items.IsModified());

    AnswerChapterDialog("", "gone", Tm_CategoryEditOneDlg::kOk);
    editor.m_RenameBtnClick();
    EXPECT_FALSE(items.IsModified());

    std::vector<std::string> seen;
    AnswerChapterDialog("Biology", "Life", Tm_CategoryEditOneDlg::kOk, &seen);
    editor.m_RenameBtnClick();
    EXPECT_EQ(seen, (std::vector<std::string>{"Bio"}));
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(List()->item(1)->text(), "Biology");
    EXPECT_EQ(List()->currentRow(), 1);
}

TEST_F(CategoryeditfrmTest, DeleteMovesTheQuestionsToUnfiledAfterYes)
{
    const std::int32_t bio = ID("Bio");
    Select(1);
    dialogs.AnswerMessage(lf::qt::mrNo);
    editor.m_DeleteBtnClick();
    EXPECT_EQ(items.GetCategoryCount(), 4);

    dialogs.AnswerMessage(lf::qt::mrYes);
    editor.m_DeleteBtnClick();
    EXPECT_EQ(dialogs.messages.back().text,
              "Deleting a chapter name will cause all entries in that chapter \nto "
              "be moved to the Unfiled chapter.\nDo you wish to continue?");
    EXPECT_EQ(dialogs.messages.back().buttons, MsgButtons::YesNo);
    EXPECT_EQ(ChapterNames(items), (std::vector<std::string>{"Unfiled", "Chem", "Phys"}));
    EXPECT_EQ(FindByName(items, "cell")->GetCategoryID(), 0);
    EXPECT_FALSE(items.CategoryExists(bio));
    EXPECT_EQ(List()->currentRow(), 2); // the last chapter of the list
}

TEST_F(CategoryeditfrmTest, MovesSwapWholeRecordsAndTheSelectionFollows)
{
    const std::int32_t bio = ID("Bio");
    Select(1);
    editor.m_pDownBtnClick();
    EXPECT_EQ(ChapterNames(items), (std::vector<std::string>{"Unfiled", "Chem", "Bio", "Phys"}));
    EXPECT_EQ(ID("Bio"), bio);
    EXPECT_EQ(FindByName(items, "cell")->GetCategoryID(), bio);
    EXPECT_EQ(List()->currentRow(), 2);
    EXPECT_TRUE(items.IsModified());

    editor.m_pUpBtnClick();
    AnswerOk(1);
    editor.m_pUpBtnClick(); // the row below "Unfiled" cannot go up
    EXPECT_EQ(ChapterNames(items), (std::vector<std::string>{"Unfiled", "Bio", "Chem", "Phys"}));
    EXPECT_EQ(dialogs.messages.back(), (SMessage{MsgKind::Error, "Unknown error.", MsgButtons::Ok, ""}));
    EXPECT_NE(env.LogText().find(
                  "Tm_CategoryEditFrm::m_pUpBtnClick() - Unknown ERROR! m_CategoryList->ItemIndex - 1 < 1"),
              std::string::npos);
}

TEST_F(CategoryeditfrmTest, SelectionIsRememberedBetweenShowingsWhileTheChapterExists)
{
    Select(2);
    editor.FormShow();
    EXPECT_EQ(List()->currentRow(), 2);

    items.DeleteCategory(ID("Chem"));
    editor.FormShow();
    EXPECT_EQ(List()->currentRow(), -1);
    EXPECT_EQ(editor.SelectedCategoryID(), -1);
}
