// The study loop of the main window on a real book file: Start Session with its checks, the moves, the
// end of a chapter with the score dialog scripted, the phase cycle, chapter choices and the Test clock
// on the manual clock.
#include "mainwindow/frame/Mainfrm.h"

#include "mainwindow/dialogs/Categoryeditfrm.h"
#include "mainwindow/dialogs/Scoredlg.h"
#include "mainwindow/dialogs/Timerfrm.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/qt/RichView.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using lf::qt::MsgButtons;
using lf::qt::MsgKind;
using lf::test::BookBuilder;

namespace
{

// Chapter "Planets" with three multiple-choice questions (answer 0 is right) and an empty chapter "Moons".
void ThreeQuestions(BookBuilder& book)
{
    book.chapter("Planets")
        .multipleChoice("q1", {"right", "wrong"}, 0)
        .multipleChoice("q2", {"right", "wrong"}, 0)
        .multipleChoice("q3", {"right", "wrong"}, 0)
        .chapter("Moons");
}

class SessionTest : public ::testing::Test
{
protected:
    SessionTest() : clock(&system)
    {
        frm = std::make_unique<Tm_MainFrm>();
        frm->Prefs().SetBooksDirectory(books.folder());
    }

    CItemsArray2& Items() { return *frm->DataStorage().GetItemsPtr2(); }
    std::string BookPath() const { return books.file("Quiz.lnf"); }
    template <class T> T* Control(const char* name) { return frm->findChild<T*>(QString::fromLatin1(name)); }
    bool Shows(const char* name) { return Control<QWidget>(name)->isVisibleTo(frm.get()); }

    // Writes the book, lists it and opens it in the phase's session panel with the chapter "All".
    void OpenBook(const std::function<void(BookBuilder&)>& fill, EPhase phase)
    {
        frm->CloseBook1Click(); // a book of an earlier case goes without being saved
        CItemsArray2 book;
        BookBuilder builder(book);
        fill(builder);
        ASSERT_TRUE(frm->DataStorage().SaveXML(BookPath(), &book, true));
        ASSERT_TRUE(frm->DataStorage().ReloadBookList());
        const std::int32_t index = frm->DataStorage().GetBookList()->IndexOfBook("Quiz.lnf", books.folder());
        ASSERT_GE(index, 0);
        ASSERT_TRUE(frm->SetPhase(phase, 0));
        frm->LoadBook(index, false);
        frm->OnUpdateSeesionView();
        ChooseTestChapter(kAllCategoriesID);
    }
    void ChooseTestChapter(std::int32_t id)
    {
        auto* chapters = Control<QComboBox>("m_TestList");
        chapters->setCurrentIndex(chapters->findData(id));
    }
    void ChooseMode(int position)
    {
        Control<QCheckBox>("m_pModeCheckBox")->setChecked(true);
        frm->OnUpdateSeesionView();
        ChooseTestChapter(kAllCategoriesID);
        Control<QComboBox>("m_ModeList")->setCurrentIndex(position);
    }
    // The window on screen in the Multiple Choice style, where the answer table is laid out and shows
    // every choice to click (the default Flashcard style shows only the right one).
    void ShowEveryChoice()
    {
        frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::MultipleChoice);
        frm->DataStorage().ApplyOptions();
        frm->resize(1100, 800);
        frm->show();
    }
    // Marks the right (or a wrong) choice of the current question as the user does: the Answers button,
    // then a click on the choice's row of the answer table.
    void AnswerCurrent(bool right)
    {
        Control<QPushButton>("m_AnswerBtn")->click();
        auto* view = Control<lf::qt::RichView>("m_DescriptionViewStr");
        const lf::RichDocument& doc = view->Document();
        const std::string hint = right ? "0" : "1";
        for (int item = 0; item < doc.ItemCount(); ++item)
        {
            const lf::SRichItem& table = doc.content.items[static_cast<std::size_t>(item)];
            if (!table.IsTable())
                continue;
            for (int row = 0; row < table.table->RowCount(); ++row)
            {
                if (table.table->Cell(row, 0).hint != hint)
                    continue;
                const QPoint scroll(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                                  view->CellRect(item, row, 1).center() - scroll);
                ASSERT_TRUE(Items().IsModified()) << "the click recorded no choice";
                return;
            }
        }
        FAIL() << "no answer row " << hint;
    }
    // The score dialog answers result; its buttons are noted as "continue|all|incorrect", hidden ones empty.
    void AnswerScore(int result, std::string* buttons = nullptr)
    {
        dialogs.AnswerModal(
            [result, buttons](QDialog& window)
            {
                auto& score = dynamic_cast<Tm_ScoreDlg&>(window);
                score.FormShow();
                if (buttons != nullptr)
                {
                    const auto caption = [&](const char* name)
                    {
                        auto* button = score.findChild<QPushButton*>(QString::fromLatin1(name));
                        return button->isHidden() ? std::string() : button->text().toStdString();
                    };
                    *buttons = caption("m_pContinueBtn") + "|" + caption("m_pReviewAllBtn") + "|" +
                               caption("m_pReviewIncorrectBtn");
                }
                return result;
            });
    }
    void AnswerOk() { dialogs.AnswerMessage(lf::qt::mrOk); }
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages)
            texts.push_back(message.text);
        return texts;
    }
    void NextTo(std::int32_t number)
    {
        while (Items().GetCurrentNumber() < number)
        {
            const std::int32_t before = Items().GetCurrentNumber();
            frm->m_NextBtnClick();
            ASSERT_NE(Items().GetCurrentNumber(), before) << "Next did not move on";
        }
    }

    lf::test::FakeSystem system;
    lf::test::ManualClock clock;
    lf::test::ScriptedDialogs dialogs;
    lf::test::TempDir books;
    std::unique_ptr<Tm_MainFrm> frm;
};

} // namespace

TEST_F(SessionTest, StartShowsTheFirstQuestionOfTheChosenChapter)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(frm->m_ActiveView, EView::Question);
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    EXPECT_EQ(Items().GetSequenceCount(), 3);
    EXPECT_TRUE(Shows("m_MainView"));
    EXPECT_FALSE(Shows("m_SessionView"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SessionTest, StartWithoutBookOrChapterAsksForThem)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    Control<QComboBox>("m_TestList")->setCurrentIndex(-1);
    AnswerOk();
    frm->m_StartSessionBtnClick();
    frm->DataStorage().CloseBook();
    AnswerOk();
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Please select a chapter.", "Please select a book."}));
    EXPECT_EQ(dialogs.messages.back().kind, MsgKind::Information);
    EXPECT_TRUE(Shows("m_SessionView"));
}

TEST_F(SessionTest, NextAtTheLastQuestionOfATestOpensTheScore)
{
    struct Case
    {
        int result;
        EPhase phase;      // afterwards
        std::int32_t view; // the view filter afterwards
        bool filterBox;    // the filter box afterwards
        bool panel;        // the session panel shows
    };
    const Case cases[] = {
        {Tm_ScoreDlg::kContinue, EPhase::Test, 0, false, false},
        {Tm_ScoreDlg::kAll, EPhase::Review, 0, false, true},
        {Tm_ScoreDlg::kIncorrect, EPhase::Review, 3, true, true},
    };
    ShowEveryChoice();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.result);
        OpenBook(ThreeQuestions, EPhase::Test);
        frm->m_StartSessionBtnClick();
        AnswerCurrent(false);
        NextTo(3);
        std::string buttons;
        AnswerScore(c.result, &buttons);
        frm->m_NextBtnClick();
        EXPECT_EQ(buttons, "Continue Test|Review All|Review Incorrect");
        EXPECT_EQ(frm->DataStorage().GetPhase(), c.phase);
        EXPECT_EQ(Items().GetCurrentView(), c.view);
        EXPECT_EQ(Control<QCheckBox>("m_pFilterCheckBox")->isChecked(), c.filterBox);
        EXPECT_EQ(Shows("m_SessionView"), c.panel);
        EXPECT_EQ(Shows("m_MainView"), !c.panel);
        if (!c.panel)
        {
            EXPECT_EQ(Items().GetCurrentNumber(), 3);
        }
        EXPECT_TRUE(dialogs.AllAnswersUsed());
    }
}

TEST_F(SessionTest, ScoreButtonInFlashOffersNoIncorrectAndAllLeadsToTest)
{
    OpenBook(ThreeQuestions, EPhase::Flash);
    frm->m_StartSessionBtnClick();
    std::string buttons;
    AnswerScore(Tm_ScoreDlg::kAll, &buttons);
    frm->m_ScoreBtnClick();
    EXPECT_EQ(buttons, "Continue Flash|Test All|");
    EXPECT_EQ(frm->DataStorage().GetPhase(), EPhase::Test);
    EXPECT_EQ(Items().GetCurrentView(), 0);
    EXPECT_TRUE(Shows("m_SessionView"));
}

TEST_F(SessionTest, NextAtTheLastQuestionInEditDoesNothingAndPreviousStopsAtTheFirst)
{
    OpenBook(ThreeQuestions, EPhase::Edit);
    frm->m_StartSessionBtnClick();
    frm->m_PrevBtnClick();
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    NextTo(3);
    frm->m_NextBtnClick();
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_TRUE(dialogs.modalWindows.empty());
}

TEST_F(SessionTest, EditStartOnAnEmptySequenceAddsAQuestion)
{
    OpenBook([](BookBuilder& book) { book.chapter("Empty"); }, EPhase::Edit);
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(Items().GetSequenceCount(), 1);
    EXPECT_EQ(Items().GetCount(), 1);
    EXPECT_EQ(frm->m_ActiveView, EView::Question);
}

TEST_F(SessionTest, CycleModeWithEverythingRightAsksToClearTheAnswers)
{
    const auto allRight = [](BookBuilder& book)
    {
        book.chapter("Planets")
            .multipleChoice("q1", {"right", "wrong"}, 0)
            .answered(true)
            .multipleChoice("q2", {"right", "wrong"}, 0)
            .answered(true);
    };
    // Yes: the answers go and the session starts.
    OpenBook(allRight, EPhase::Test);
    ChooseMode(3);
    dialogs.AnswerMessage(lf::qt::mrYes);
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Your search was too strict. \n\n Clear your answer choices?"}));
    EXPECT_EQ(frm->m_ActiveView, EView::Question);
    EXPECT_EQ(Items().GetSequenceCount(), 2);
    EXPECT_FALSE(Items().GetCurrentItem()->IsAnswered());
    EXPECT_TRUE(Items().GetCycleMode());

    // No: the modes come back from the list and the command ends after one question.
    dialogs.messages.clear();
    OpenBook(allRight, EPhase::Test);
    ChooseMode(3);
    dialogs.AnswerMessage(lf::qt::mrNo);
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(Items().GetCycleMode());
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_TRUE(Items().GetItem(0)->IsAnswered());
}

TEST_F(SessionTest, ThumbDraggedPastTheEndStopsAtTheLastQuestion)
{
    OpenBook(ThreeQuestions, EPhase::Review);
    frm->m_StartSessionBtnClick();
    frm->m_QuestionScrollScroll(Tm_MainFrm::EScrollCode::Track, 10);
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_EQ(Control<QScrollBar>("m_QuestionScroll")->sliderPosition(), 3);
    frm->m_QuestionScrollScroll(Tm_MainFrm::EScrollCode::Track, 2);
    EXPECT_EQ(Items().GetCurrentNumber(), 2);
    frm->m_QuestionScrollScroll(Tm_MainFrm::EScrollCode::LineDown, 3);
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_TRUE(dialogs.modalWindows.empty());
}

TEST_F(SessionTest, EndSessionAsksFirstAndHomeClosesTheBook)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    frm->m_StartSessionBtnClick();
    dialogs.AnswerMessage(lf::qt::mrNo);
    frm->m_EndSessionBtnClick();
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Do you want to end the chapter?"}));
    EXPECT_TRUE(dialogs.modalWindows.empty());
    EXPECT_EQ(frm->m_ActiveView, EView::Question);

    dialogs.AnswerMessage(lf::qt::mrYes);
    AnswerScore(Tm_ScoreDlg::kHome);
    frm->m_EndSessionBtnClick();
    EXPECT_FALSE(frm->DataStorage().IsBookLoaded());
    EXPECT_EQ(frm->m_ActiveView, EView::Intro);
    EXPECT_EQ(frm->DataStorage().GetPhase(), EPhase::None);
}

TEST_F(SessionTest, HomeAfterATestKeepsTheAnswers)
{
    ShowEveryChoice();
    OpenBook(ThreeQuestions, EPhase::Test);
    frm->m_StartSessionBtnClick();
    AnswerCurrent(true);
    frm->m_NextBtnClick();
    AnswerCurrent(false);
    NextTo(3);
    AnswerScore(Tm_ScoreDlg::kHome);
    frm->m_NextBtnClick();
    ASSERT_FALSE(frm->DataStorage().IsBookLoaded());

    CDataStorage& storage = frm->DataStorage();
    ASSERT_TRUE(storage.OpenBook(BookPath()));
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_EQ(items.GetCount(), 3);
    EXPECT_TRUE(items.GetItem(0)->IsAnswered());
    EXPECT_EQ(items.GetItem(0)->GetResult(), 1);
    EXPECT_TRUE(items.GetItem(1)->IsAnswered());
    EXPECT_EQ(items.GetItem(1)->GetResult(), 0);
    EXPECT_FALSE(items.GetItem(2)->IsAnswered());
}

TEST_F(SessionTest, ChoosingAnEmptyChapter)
{
    // Review: a warning, and the chapter filter goes back to what it was.
    OpenBook(ThreeQuestions, EPhase::Review);
    frm->m_StartSessionBtnClick();
    auto* chapters = Control<QComboBox>("m_TestList");
    const std::int32_t moons = Items().GetCategoryIDAt(Items().FindCategoryIndexByName("Moons"));
    chapters->setCurrentIndex(chapters->findData(moons));
    AnswerOk();
    frm->m_CategoryListChange(chapters);
    EXPECT_EQ(MessageTexts().back(),
              "There are currently no questions in this chapter.\nYou can go to Edit phase to create one.");
    EXPECT_EQ(Items().GetActiveCategory(), kAllCategoriesID);
    EXPECT_EQ(chapters->currentData().toInt(), kAllCategoriesID);
    EXPECT_EQ(Items().GetSequenceCount(), 3);

    // Edit: Yes makes a question in that chapter.
    OpenBook(ThreeQuestions, EPhase::Edit);
    frm->m_StartSessionBtnClick();
    frm->RefreshCategoryLists();
    auto* editChapters = Control<QComboBox>("m_CategoryList");
    editChapters->setCurrentIndex(editChapters->findData(moons));
    dialogs.AnswerMessage(lf::qt::mrYes);
    frm->m_CategoryListChange(editChapters);
    EXPECT_EQ(MessageTexts().back(),
              "There are no questions in this chapter. Do you want create a new question?");
    EXPECT_EQ(Items().GetSequenceCount(), 1);
    ASSERT_NE(Items().GetCurrentItem(), nullptr);
    EXPECT_EQ(Items().GetCurrentItem()->GetCategoryID(), moons);
    EXPECT_EQ(Items().GetCount(), 4);
}

TEST_F(SessionTest, EditChaptersEntryOpensTheChapterEditor)
{
    OpenBook(ThreeQuestions, EPhase::Edit);
    frm->m_StartSessionBtnClick();
    frm->RefreshCategoryLists();
    auto* chapters = Control<QComboBox>("m_CategoryList");
    EXPECT_EQ(chapters->itemText(chapters->count() - 1), "Edit Chapters...");
    chapters->setCurrentIndex(chapters->count() - 1);
    dialogs.AnswerModal(Tm_CategoryEditFrm::kDone);
    frm->m_CategoryListChange(chapters);
    ASSERT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_EQ(dialogs.modalWindows[0], "Tm_CategoryEditFrm");
    EXPECT_EQ(chapters->currentData().toInt(), Items().GetActiveCategory());
}

// --- The Test clock ---

TEST_F(SessionTest, PauseAndResumeMoveTheClockStartByThePause)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    Items().SetTimer(true, false, system.tick, 600);
    frm->m_StartSessionBtnClick();
    EXPECT_TRUE(frm->TestTimer().Enabled());
    clock.Advance(10'000);
    EXPECT_EQ(Items().GetTimerText(false), "0:09:50");

    frm->m_PauseBtnClick();
    EXPECT_TRUE(frm->IsClockPaused());
    EXPECT_FALSE(frm->TestTimer().Enabled());
    EXPECT_TRUE(Shows("m_SessionView"));
    clock.Advance(90'000);
    frm->OnUpdateSeesionView();
    ChooseTestChapter(kAllCategoriesID);
    frm->m_StartSessionBtnClick();
    EXPECT_FALSE(frm->IsClockPaused());
    EXPECT_TRUE(frm->TestTimer().Enabled());
    // The 90 seconds of the pause are not counted.
    EXPECT_EQ(Items().GetTimerText(false), "0:09:50");
}

TEST_F(SessionTest, PauseInReviewLeavesTheClockAlone)
{
    OpenBook(ThreeQuestions, EPhase::Review);
    frm->m_StartSessionBtnClick();
    frm->m_PauseBtnClick();
    EXPECT_FALSE(frm->IsClockPaused());
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_EQ(frm->DataStorage().GetPhase(), EPhase::Review);
}

TEST_F(SessionTest, RunOutOpensTheScoreOnlyAtTheNextMove)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    Items().SetTimer(true, false, system.tick, 60);
    frm->m_StartSessionBtnClick();
    clock.Advance(61'000);
    EXPECT_TRUE(Items().IsTimeUp());
    EXPECT_TRUE(dialogs.modalWindows.empty());
    EXPECT_EQ(Items().GetCurrentNumber(), 1);

    AnswerScore(Tm_ScoreDlg::kContinue);
    frm->m_NextBtnClick();
    EXPECT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_FALSE(Items().IsTimerOn());
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    // The limit is off: the tick stops the clock and the next move is an ordinary one.
    clock.Advance(200);
    EXPECT_FALSE(frm->TestTimer().Enabled());
    frm->m_NextBtnClick();
    EXPECT_EQ(Items().GetCurrentNumber(), 2);
}

TEST_F(SessionTest, ScrollStepStopsAfterTheScoreChangedThePhase)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    Items().SetTimer(true, false, system.tick, 5);
    frm->m_StartSessionBtnClick();
    clock.Advance(6'000);
    AnswerScore(Tm_ScoreDlg::kAll);
    frm->m_QuestionScrollScroll(Tm_MainFrm::EScrollCode::LineDown, 2);
    EXPECT_EQ(frm->DataStorage().GetPhase(), EPhase::Review);
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_FALSE(Shows("m_MainView"));
    EXPECT_EQ(dialogs.modalWindows.size(), 1u);
}

TEST_F(SessionTest, TimerButtonArmsARestartOnlyAfterOk)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    dialogs.AnswerModal(Tm_TimerFrm::kCancel);
    frm->m_TimerBtnClick();
    EXPECT_FALSE(Items().IsTimerOn());
    EXPECT_EQ(frm->m_bRestartClock, 0);

    dialogs.AnswerModal(
        [](QDialog& window)
        {
            auto& timer = dynamic_cast<Tm_TimerFrm&>(window);
            timer.FormShow();
            timer.findChild<QSpinBox*>("m_minute")->setValue(5);
            timer.m_OkBtnClick();
            return Tm_TimerFrm::kOk;
        });
    frm->m_TimerBtnClick();
    EXPECT_TRUE(Items().IsTimerOn());
    EXPECT_EQ(frm->m_bRestartClock, 1);

    // Start Session starts the clock afresh from the moment it runs.
    clock.Advance(30'000);
    frm->m_StartSessionBtnClick();
    EXPECT_EQ(frm->m_bRestartClock, 0);
    EXPECT_EQ(Items().GetTimerText(true), "0:05:00");
    EXPECT_TRUE(frm->TestTimer().Enabled());
}

TEST_F(SessionTest, TickWithoutALimitStopsAndResetsThePanelCaption)
{
    OpenBook(ThreeQuestions, EPhase::Test);
    auto* button = Control<QPushButton>("m_TimerSeesoinBtn");
    button->setText("0:00:12");
    frm->TestTimer().SetEnabled(true);
    clock.Advance(200);
    EXPECT_FALSE(frm->TestTimer().Enabled());
    EXPECT_EQ(button->text(), "Timer");
}
