// The score dialog as a window: its buttons after show, and the modal result each one answers.
#include "mainwindow/dialogs/Scoredlg.h"

#include "tests/model/DatastorageTestSupport.h"

#include <QPushButton>
#include <gtest/gtest.h>

namespace
{

class ScoredlgTest : public ::testing::Test, protected lf::test::StorageFixture
{
protected:
    ScoredlgTest()
    {
        lf::test::BookBuilder(*storage.GetItemsPtr2())
            .chapter("Bio")
            .multipleChoice("q1", {"a", "b"}, 0)
            .answered(false)
            .multipleChoice("q2", {"a", "b"}, 0)
            .answered(true);
    }

    void Start(EPhase phase)
    {
        storage.SetCurrentMode(phase);
        storage.GetItemsPtr2()->SetActiveCategory(kAllCategoriesID, true);
    }
    QPushButton* Button(Tm_ScoreDlg& dialog, const char* name)
    {
        return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

} // namespace

TEST_F(ScoredlgTest, ShowingSetsTheButtonsAndBuildsTheReport)
{
    Start(EPhase::Review);
    Tm_ScoreDlg dialog(storage);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Score");
    EXPECT_EQ(Button(dialog, "m_pContinueBtn")->text(), "Continue Review");
    EXPECT_EQ(Button(dialog, "m_pReviewAllBtn")->text(), "Flash All");
    EXPECT_EQ(Button(dialog, "m_pReviewIncorrectBtn")->text(), "Flash Incorrect");
    EXPECT_TRUE(Button(dialog, "m_pReviewIncorrectBtn")->isVisible());
    EXPECT_TRUE(Button(dialog, "m_pPrintBtn")->isVisible());
    EXPECT_FALSE(Button(dialog, "m_OkBtn")->isVisible());
    ASSERT_FALSE(dialog.Report().Empty());
    EXPECT_EQ(dialog.Report().content.items.front().text, "Score Results");
    dialog.hide();

    storage.SetCurrentMode(EPhase::Flash);
    dialog.show();
    EXPECT_EQ(Button(dialog, "m_pContinueBtn")->text(), "Continue Flash");
    EXPECT_EQ(Button(dialog, "m_pReviewAllBtn")->text(), "Test All");
    EXPECT_FALSE(Button(dialog, "m_pReviewIncorrectBtn")->isVisible());
}

TEST_F(ScoredlgTest, EachButtonAnswersItsModalResult)
{
    Start(EPhase::Test);
    const struct
    {
        const char* button;
        int result;
    } cases[] = {
        {"m_pContinueBtn", Tm_ScoreDlg::kContinue},
        {"m_pHomeBtn", Tm_ScoreDlg::kHome},
        {"m_pReviewAllBtn", Tm_ScoreDlg::kAll},
        {"m_pReviewIncorrectBtn", Tm_ScoreDlg::kIncorrect},
    };
    for (const auto& c : cases)
    {
        Tm_ScoreDlg dialog(storage);
        dialog.show();
        Button(dialog, c.button)->click();
        EXPECT_EQ(dialog.result(), c.result) << c.button;
    }
    Tm_ScoreDlg dialog(storage);
    dialog.show();
    dialog.close(); // the close box
    EXPECT_EQ(dialog.result(), Tm_ScoreDlg::kContinue);
}
