// The study loop of the main window on a real book file: Start Session with its checks, the moves, the
// end of a chapter with the score dialog scripted, the phase cycle, chapter choices and the Test clock
// on the manual clock.
#include "tests/mainwindow/MainWindowTestSupport.h"

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
void Planets(BookBuilder& book)
{
    book.chapter("Planets")
        .multipleChoice("q1", {"right", "wrong"}, 0)
        .multipleChoice("q2", {"right", "wrong"}, 0)
        .multipleChoice("q3", {"right", "wrong"}, 0)
        .chapter("Moons");
}

class SessionTest : public ::testing::Test, public lf::test::MainWindowHarness
{
protected:
    SessionTest() : MainWindowHarness(EClock::Fake) { Start(); }

    std::string BookPath() const { return MainWindowHarness::BookPath("Quiz.lnf"); }

    void ChooseTestChapter(std::int32_t id)
    {
        auto* chapters = Child<QComboBox>("m_TestList");
        chapters->setCurrentIndex(chapters->findData(id));
    }
    void ChooseMode(int position)
    {
        auto* box = Child<QCheckBox>("m_pModeCheckBox");
        box->setChecked(true);
        emit box->clicked(true);
        ChooseTestChapter(kAllCategoriesID);
        Child<QComboBox>("m_ModeList")->setCurrentIndex(position);
    }
    // The window on screen in the Multiple Choice style, where the answer table is laid out and shows
    // every choice to click (the default Flashcard style shows only the right one).
    void ShowEveryChoice()
    {
        Prefs().m_ViewMode = ToNumber(EQuestionStyle::MultipleChoice);
        Main().resize(1100, 800);
        Main().show();
    }
    // Marks the right (or a wrong) choice of the current question as the user does: the Answers button,
    // then a click on the choice's row of the answer table.
    void AnswerCurrent(bool right)
    {
        Click("m_AnswerBtn");
        auto* view = Child<lf::qt::RichView>("m_DescriptionViewStr");
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
    void NextTo(std::int32_t number)
    {
        while (Items().GetCurrentNumber() < number)
        {
            const std::int32_t before = Items().GetCurrentNumber();
            Click("m_NextBtn");
            ASSERT_NE(Items().GetCurrentNumber(), before) << "Next did not move on";
        }
    }
    // A step of the question-number bar as the user makes it.
    void Scroll(QAbstractSlider::SliderAction action)
    {
        Child<QScrollBar>("m_QuestionScroll")->triggerAction(action);
    }
    void DragThumbTo(int position) { Child<QScrollBar>("m_QuestionScroll")->setSliderPosition(position); }
};

} // namespace

TEST_F(SessionTest, StartShowsTheFirstQuestionOfTheChosenChapter)
{
    OpenBook(Planets, EPhase::Test);
    Click("m_StartSessionBtn");
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    EXPECT_EQ(Items().GetSequenceCount(), 3);
    EXPECT_TRUE(Shows("m_MainView"));
    EXPECT_FALSE(Shows("m_SessionView"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SessionTest, StartWithoutBookOrChapterAsksForThem)
{
    OpenBook(Planets, EPhase::Test);
    Child<QComboBox>("m_TestList")->setCurrentIndex(-1);
    AnswerOk();
    Click("m_StartSessionBtn");
    Storage().CloseBook();
    AnswerOk();
    Click("m_StartSessionBtn");
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
        OpenBook(Planets, EPhase::Test);
        Click("m_StartSessionBtn");
        AnswerCurrent(false);
        NextTo(3);
        std::string buttons;
        AnswerScore(c.result, &buttons);
        Click("m_NextBtn");
        EXPECT_EQ(buttons, "Continue Test|Review All|Review Incorrect");
        EXPECT_EQ(Storage().GetPhase(), c.phase);
        EXPECT_EQ(Items().GetCurrentView(), c.view);
        EXPECT_EQ(Child<QCheckBox>("m_pFilterCheckBox")->isChecked(), c.filterBox);
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
    OpenBook(Planets, EPhase::Flash);
    Click("m_StartSessionBtn");
    std::string buttons;
    AnswerScore(Tm_ScoreDlg::kAll, &buttons);
    Click("m_ScoreBtn");
    EXPECT_EQ(buttons, "Continue Flash|Test All|");
    EXPECT_EQ(Storage().GetPhase(), EPhase::Test);
    EXPECT_EQ(Items().GetCurrentView(), 0);
    EXPECT_TRUE(Shows("m_SessionView"));
}

TEST_F(SessionTest, NextAtTheLastQuestionInEditDoesNothingAndPreviousStopsAtTheFirst)
{
    OpenBook(Planets, EPhase::Edit);
    Click("m_StartSessionBtn");
    Click("m_PrevBtn");
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    NextTo(3);
    Click("m_NextBtn");
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_TRUE(dialogs.modalWindows.empty());
}

TEST_F(SessionTest, EditStartOnAnEmptySequenceAddsAQuestion)
{
    OpenBook([](BookBuilder& book) { book.chapter("Empty"); }, EPhase::Edit);
    Click("m_StartSessionBtn");
    EXPECT_EQ(Items().GetSequenceCount(), 1);
    EXPECT_EQ(Items().GetCount(), 1);
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
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
    Click("m_StartSessionBtn");
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{"Your search was too strict. \n\n Clear your answer choices?"}));
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
    EXPECT_EQ(Items().GetSequenceCount(), 2);
    EXPECT_FALSE(Items().GetCurrentItem()->IsAnswered());
    EXPECT_TRUE(Items().GetCycleMode());

    // No: the modes come back from the list and the command ends after one question.
    dialogs.messages.clear();
    OpenBook(allRight, EPhase::Test);
    ChooseMode(3);
    dialogs.AnswerMessage(lf::qt::mrNo);
    Click("m_StartSessionBtn");
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(Items().GetCycleMode());
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_TRUE(Items().GetItem(0)->IsAnswered());
}

TEST_F(SessionTest, ThumbDraggedPastTheEndStopsAtTheLastQuestion)
{
    OpenBook(Planets, EPhase::Review);
    Click("m_StartSessionBtn");
    DragThumbTo(10);
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_EQ(Child<QScrollBar>("m_QuestionScroll")->sliderPosition(), 3);
    DragThumbTo(2);
    EXPECT_EQ(Items().GetCurrentNumber(), 2);
    Scroll(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Items().GetCurrentNumber(), 3);
    EXPECT_TRUE(dialogs.modalWindows.empty());
}

TEST_F(SessionTest, EndSessionAsksFirstAndHomeClosesTheBook)
{
    OpenBook(Planets, EPhase::Test);
    Click("m_StartSessionBtn");
    dialogs.AnswerMessage(lf::qt::mrNo);
    Click("m_EndSessionBtn");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Do you want to end the chapter?"}));
    EXPECT_TRUE(dialogs.modalWindows.empty());
    EXPECT_EQ(Probe().ActiveView(), EView::Question);

    dialogs.AnswerMessage(lf::qt::mrYes);
    AnswerScore(Tm_ScoreDlg::kHome);
    Click("m_EndSessionBtn");
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(Probe().ActiveView(), EView::Intro);
    EXPECT_EQ(Storage().GetPhase(), EPhase::None);
}

TEST_F(SessionTest, HomeAfterATestKeepsTheAnswers)
{
    ShowEveryChoice();
    OpenBook(Planets, EPhase::Test);
    Click("m_StartSessionBtn");
    AnswerCurrent(true);
    Click("m_NextBtn");
    AnswerCurrent(false);
    NextTo(3);
    AnswerScore(Tm_ScoreDlg::kHome);
    Click("m_NextBtn");
    ASSERT_FALSE(Storage().IsBookLoaded());

    CDataStorage& storage = Storage();
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
    OpenBook(Planets, EPhase::Review);
    Click("m_StartSessionBtn");
    auto* chapters = Child<QComboBox>("m_TestList");
    const std::int32_t moons = Items().GetCategoryIDAt(Items().FindCategoryIndexByName("Moons"));
    chapters->setCurrentIndex(chapters->findData(moons));
    AnswerOk();
    emit chapters->activated(chapters->currentIndex());
    EXPECT_EQ(MessageTexts().back(),
              "There are currently no questions in this chapter.\nYou can go to Edit phase to create one.");
    EXPECT_EQ(Items().GetActiveCategory(), kAllCategoriesID);
    EXPECT_EQ(chapters->currentData().toInt(), kAllCategoriesID);
    EXPECT_EQ(Items().GetSequenceCount(), 3);

    // Edit: Yes makes a question in that chapter.
    OpenBook(Planets, EPhase::Edit);
    Click("m_StartSessionBtn");
    Probe().RefreshCategoryLists();
    auto* editChapters = Child<QComboBox>("m_CategoryList");
    editChapters->setCurrentIndex(editChapters->findData(moons));
    dialogs.AnswerMessage(lf::qt::mrYes);
    emit editChapters->activated(editChapters->currentIndex());
    EXPECT_EQ(MessageTexts().back(),
              "There are no questions in this chapter. Do you want create a new question?");
    EXPECT_EQ(Items().GetSequenceCount(), 1);
    ASSERT_NE(Items().GetCurrentItem(), nullptr);
    EXPECT_EQ(Items().GetCurrentItem()->GetCategoryID(), moons);
    EXPECT_EQ(Items().GetCount(), 4);
}

TEST_F(SessionTest, EditChaptersEntryOpensTheChapterEditor)
{
    OpenBook(Planets, EPhase::Edit);
    Click("m_StartSessionBtn");
    Probe().RefreshCategoryLists();
    auto* chapters = Child<QComboBox>("m_CategoryList");
    EXPECT_EQ(chapters->itemText(chapters->count() - 1), "Edit Chapters...");
    chapters->setCurrentIndex(chapters->count() - 1);
    dialogs.AnswerModal(Tm_CategoryEditFrm::kDone);
    emit chapters->activated(chapters->currentIndex());
    ASSERT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_EQ(dialogs.modalWindows[0], "Tm_CategoryEditFrm");
    EXPECT_EQ(chapters->currentData().toInt(), Items().GetActiveCategory());
}

// --- The Test clock ---

TEST_F(SessionTest, PauseAndResumeMoveTheClockStartByThePause)
{
    OpenBook(Planets, EPhase::Test);
    Items().SetTimer(true, false, System().tick, 600);
    Click("m_StartSessionBtn");
    EXPECT_TRUE(Probe().TestTimer().Enabled());
    clock.Advance(10'000);
    EXPECT_EQ(Items().GetTimerText(false), "0:09:50");

    Click("m_PauseBtn");
    EXPECT_TRUE(Probe().IsClockPaused());
    EXPECT_FALSE(Probe().TestTimer().Enabled());
    EXPECT_TRUE(Shows("m_SessionView"));
    clock.Advance(90'000);
    Probe().OnUpdateSeesionView();
    ChooseTestChapter(kAllCategoriesID);
    Click("m_StartSessionBtn");
    EXPECT_FALSE(Probe().IsClockPaused());
    EXPECT_TRUE(Probe().TestTimer().Enabled());
    // The 90 seconds of the pause are not counted.
    EXPECT_EQ(Items().GetTimerText(false), "0:09:50");
}

TEST_F(SessionTest, PauseInReviewLeavesTheClockAlone)
{
    OpenBook(Planets, EPhase::Review);
    Click("m_StartSessionBtn");
    Click("m_PauseBtn");
    EXPECT_FALSE(Probe().IsClockPaused());
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_EQ(Storage().GetPhase(), EPhase::Review);
}

TEST_F(SessionTest, RunOutOpensTheScoreOnlyAtTheNextMove)
{
    OpenBook(Planets, EPhase::Test);
    Items().SetTimer(true, false, System().tick, 60);
    Click("m_StartSessionBtn");
    clock.Advance(61'000);
    EXPECT_TRUE(Items().IsTimeUp());
    EXPECT_TRUE(dialogs.modalWindows.empty());
    EXPECT_EQ(Items().GetCurrentNumber(), 1);

    AnswerScore(Tm_ScoreDlg::kContinue);
    Click("m_NextBtn");
    EXPECT_EQ(dialogs.modalWindows.size(), 1u);
    EXPECT_FALSE(Items().IsTimerOn());
    EXPECT_EQ(Items().GetCurrentNumber(), 1);
    // The limit is off: the tick stops the clock and the next move is an ordinary one.
    clock.Advance(200);
    EXPECT_FALSE(Probe().TestTimer().Enabled());
    Click("m_NextBtn");
    EXPECT_EQ(Items().GetCurrentNumber(), 2);
}

TEST_F(SessionTest, ScrollStepStopsAfterTheScoreChangedThePhase)
{
    OpenBook(Planets, EPhase::Test);
    Items().SetTimer(true, false, System().tick, 5);
    Click("m_StartSessionBtn");
    clock.Advance(6'000);
    AnswerScore(Tm_ScoreDlg::kAll);
    Scroll(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Storage().GetPhase(), EPhase::Review);
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_FALSE(Shows("m_MainView"));
    EXPECT_EQ(dialogs.modalWindows.size(), 1u);
}

TEST_F(SessionTest, TimerButtonArmsARestartOnlyAfterOk)
{
    OpenBook(Planets, EPhase::Test);
    dialogs.AnswerModal(Tm_TimerFrm::kCancel);
    Click("m_TimerBtn");
    EXPECT_FALSE(Items().IsTimerOn());
    EXPECT_EQ(Probe().RestartClock(), 0);

    dialogs.AnswerModal(
        [](QDialog& window)
        {
            auto& timer = dynamic_cast<Tm_TimerFrm&>(window);
            timer.FormShow();
            timer.findChild<QSpinBox*>("m_minute")->setValue(5);
            lf::test::Named<QPushButton>(timer, "m_OkBtn")->click();
            return timer.result();
        });
    Click("m_TimerBtn");
    EXPECT_TRUE(Items().IsTimerOn());
    EXPECT_EQ(Probe().RestartClock(), 1);

    // Start Session starts the clock afresh from the moment it runs.
    clock.Advance(30'000);
    Click("m_StartSessionBtn");
    EXPECT_EQ(Probe().RestartClock(), 0);
    EXPECT_EQ(Items().GetTimerText(true), "0:05:00");
    EXPECT_TRUE(Probe().TestTimer().Enabled());
}

TEST_F(SessionTest, TickWithoutALimitStopsAndResetsThePanelCaption)
{
    OpenBook(Planets, EPhase::Test);
    auto* button = Child<QPushButton>("m_TimerSeesoinBtn");
    button->setText("0:00:12");
    Probe().TestTimer().SetEnabled(true);
    clock.Advance(200);
    EXPECT_FALSE(Probe().TestTimer().Enabled());
    EXPECT_EQ(button->text(), "Timer");
}
