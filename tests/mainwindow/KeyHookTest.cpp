// The keyboard and wheel hook through the real main window: each event reaches the rules once, the
// keys act on the window (save, moves, views, new question, the list window's keys), and the caret keys
// stay with a rich-text editor that takes typing.
#include "editing/Listfrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "model/items/Datatypes.h"
#include "platform/qt/RichView.h"
#include "platform/qt/RichViewEdit.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "ui_Mainfrm.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTextCursor>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace
{

using lf::test::MainWindowFixture;
using lf::test::SBookQuestion;
using lf::test::WriteBook;

class KeyHookTest : public testing::Test, public MainWindowFixture
{
protected:
    Ui::Tm_MainFrm& Form() { return Main().Form(); }
    std::string Counter() { return Form().m_CurrentNumStr->text().toStdString(); }

    Tm_MainFrm& StartSession(EPhase phase, int questions = 3)
    {
        std::vector<SBookQuestion> book;
        for (int i = 1; i <= questions; ++i)
            book.push_back({1, "Q" + std::to_string(i) + "?", 0});
        WriteBook(BookPath("a.lnf"), book);
        Tm_MainFrm& main = Start();
        EXPECT_TRUE(main.SetPhase(phase, 0));
        PickBook(BookPath("a.lnf"));
        Form().m_TestList->setCurrentIndex(0); // All
        main.m_StartSessionBtnClick();
        EXPECT_TRUE(Form().m_MainView->isVisible());
        Activate(&main);
        return main;
    }
    // Picks a listed book in the session panel's book tree, as a click on its node does.
    void PickBook(const std::string& path)
    {
        const int index = Main().DataStorage().GetBookList()->IndexOf(path);
        ASSERT_TRUE(Main().TreeViewPopupForm()->SelectNode(index, kBookNodeImage)) << path;
        Main().TreeViewPopupFormClose();
    }
    static void Activate(QWidget* window)
    {
        window->activateWindow();
        QApplication::setActiveWindow(window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    }
    // A key pressed where the focus is, as the user presses it.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target =
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
};

TEST_F(KeyHookTest, EveryKeyReachesTheRulesOnceEvenWhenTheFocusedWidgetIgnoresIt)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    // The read-only view ignores a letter, which then travels up through its parents to the window.
    main.QuestionView()->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), main.QuestionView());
    for (const auto& [key, modifiers] :
         std::vector<std::pair<int, Qt::KeyboardModifiers>>{{Qt::Key_Z, Qt::NoModifier},
                                                            {Qt::Key_F5, Qt::NoModifier},
                                                            {Qt::Key_Q, Qt::NoModifier},
                                                            {Qt::Key_M, Qt::ControlModifier},
                                                            {Qt::Key_Down, Qt::NoModifier}})
    {
        const std::uint64_t before = main.KeyHookDecisions();
        Press(key, modifiers);
        EXPECT_EQ(main.KeyHookDecisions(), before + 1) << key;
    }
    // A wheel notch too, on its way up from the view's viewport.
    const std::uint64_t before = main.KeyHookDecisions();
    QWidget* viewport = main.QuestionView()->viewport();
    const QPointF at(10, 10);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    EXPECT_EQ(main.KeyHookDecisions(), before + 1);
}

TEST_F(KeyHookTest, CtrlSWritesNothingInTestAndSavesAModifiedBookInEdit)
{
    Tm_MainFrm& main = StartSession(EPhase::Test);
    const std::string before = lf::test::ReadFile(BookPath("a.lnf"));
    main.DataStorage().GetItemsPtr2()->SetModified(true);
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(lf::test::ReadFile(BookPath("a.lnf")), before);
    EXPECT_TRUE(main.DataStorage().GetItemsPtr2()->IsModified());
    main.DataStorage().GetItemsPtr2()->SetModified(false);

    // In Edit phase the named, changed book is written again.
    ASSERT_TRUE(main.SetPhase(EPhase::Edit, 0));
    PickBook(BookPath("a.lnf"));
    main.m_StartSessionBtnClick();
    Activate(&main);
    // What the editor holds is stored into the question before the book is written.
    main.DescriptionEditor()->InsertText(" Changed?");
    Press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(main.DataStorage().GetItemsPtr2()->IsModified());
    EXPECT_NE(lf::test::ReadFile(BookPath("a.lnf")).find("Changed?"), std::string::npos);
    EXPECT_NE(main.StatusText().find("Information saved to"), std::string::npos);
}

TEST_F(KeyHookTest, MoveKeysGoAsFarAsTheSequenceGoesAndStopThere)
{
    StartSession(EPhase::Test, 100);
    for (int i = 0; i < 9; ++i)
        Press(Qt::Key_J);
    Press(Qt::Key_N);
    Press(Qt::Key_N);
    Press(Qt::Key_N);
    Press(Qt::Key_N);
    ASSERT_EQ(Counter(), "95/100");
    Press(Qt::Key_U);
    EXPECT_EQ(Counter(), "100/100");
    // At the end N moves nothing, opens no score dialog (the scripted dialogs would fail on one) and
    // goes no further.
    Press(Qt::Key_N);
    EXPECT_EQ(Counter(), "100/100");
    Press(Qt::Key_K);
    EXPECT_EQ(Counter(), "1/100");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.modalWindows.empty());
}

TEST_F(KeyHookTest, ViewLettersShowTheirPaneAndFocusItsButton)
{
    Tm_MainFrm& main = StartSession(EPhase::Test);
    ASSERT_TRUE(Form().m_AnswerBtn->isVisible());
    Press(Qt::Key_A);
    EXPECT_EQ(main.m_ActiveView, EView::Answers);
    EXPECT_EQ(QApplication::focusWidget(), Form().m_AnswerBtn);
    Press(Qt::Key_Q);
    EXPECT_EQ(main.m_ActiveView, EView::Question);
    EXPECT_EQ(QApplication::focusWidget(), Form().m_QuestionBtn);
}

TEST_F(KeyHookTest, AltDigitHighlightsOnlyRowsTheAnswerTableHas)
{
    // The Multiple Choice style shows both answers as rows under the question.
    WriteValueToRegistry("ViewMode", 2);
    Tm_MainFrm& main = StartSession(EPhase::Test);
    ASSERT_EQ(main.KeySnapshot().rowCount, 2);
    Press(Qt::Key_2, Qt::AltModifier);
    EXPECT_EQ(main.HighlightedRow(), 1);
    Press(Qt::Key_3, Qt::AltModifier); // no third row: the key passes on
    EXPECT_EQ(main.HighlightedRow(), 1);
    Press(Qt::Key_0, Qt::AltModifier);
    EXPECT_EQ(main.HighlightedRow(), 1);
}

TEST_F(KeyHookTest, TypingInTheTypedAnswerEditorReachesTheEditor)
{
    // Short-answer questions enter the sequence in the Moodle style.
    WriteValueToRegistry("ViewMode", 3);
    WriteBook(BookPath("a.lnf"), {{5, "Capital of France?", 0}, {5, "Capital of Spain?", 0}});
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    PickBook(BookPath("a.lnf"));
    Form().m_TestList->setCurrentIndex(0);
    main.m_StartSessionBtnClick();
    Activate(&main);
    Form().m_AnswerBtn->click();
    lf::qt::RichViewEdit* editor = main.DescriptionEditor();
    ASSERT_TRUE(editor->isVisible());
    editor->setFocus();
    for (int key : {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_N, Qt::Key_Q})
        QTest::keyClick(editor, static_cast<Qt::Key>(key));
    EXPECT_EQ(editor->toPlainText().toStdString(), "abcnq");
    EXPECT_EQ(Counter(), "1/2");
    EXPECT_EQ(main.m_ActiveView, EView::Answers);
}

TEST_F(KeyHookTest, EditPhaseAltArrowsAndCtrlN)
{
    Tm_MainFrm& main = StartSession(EPhase::Edit);
    ASSERT_EQ(Counter(), "1/3");
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Counter(), "2/3");
    Press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(main.m_ActiveView, EView::Answers);
    Press(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(main.m_ActiveView, EView::Question);
    Press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Counter(), "1/3");
    Press(Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(LogHas("Tm_MainFrm::NewQuestionOfCurrentKind - not built yet"));
}

TEST_F(KeyHookTest, UpAndDownMoveTheCaretOfAnEditorThatTakesTyping)
{
    Tm_MainFrm& main = StartSession(EPhase::Edit);
    // An editor of the question pane, as the Edit phase's editor and the edit frames have.
    auto* editor = new lf::qt::RichViewEdit(Form().m_pQuestionPane);
    editor->show();
    editor->setPlainText("one\ntwo\nthree");
    editor->setFocus();
    QTextCursor start = editor->textCursor();
    start.movePosition(QTextCursor::Start);
    editor->setTextCursor(start);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(editor->textCursor().blockNumber(), 2);
    Press(Qt::Key_Up);
    EXPECT_EQ(editor->textCursor().blockNumber(), 1);
    // Typing reaches the editor as well; N is no move here.
    Press(Qt::Key_N);
    EXPECT_EQ(Counter(), "1/3");
    EXPECT_EQ(main.m_ActiveView, EView::Question);
}

TEST_F(KeyHookTest, TheActiveListWindowKeepsArrowsButCtrlOStillActs)
{
    Tm_MainFrm& main = StartSession(EPhase::Edit);
    Tm_ListFrm& list = windows->ListFrm();
    list.ShowList();
    Activate(&list);
    ASSERT_TRUE(main.Prefs().m_bListFormActive);
    for (int key : {Qt::Key_Down, Qt::Key_Space, Qt::Key_N})
        EXPECT_FALSE(main.ApplicationMessageHook(lf::keys::EInput::KeyDown, lf::keys::KeyCodeOfQt(key), 0,
                                                 Qt::NoModifier, false))
            << key;
    EXPECT_FALSE(main.ApplicationMessageHook(lf::keys::EInput::Wheel, 0, -1, Qt::NoModifier, false));
    // Ctrl+O opens the open dialog (cancelled here), whichever window is active.
    dialogs.AnswerOpen(std::nullopt);
    Press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
    // The list's own paste is asked first; when it declines the key goes on to the list.
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(LogHas("Tm_ListFrm::PasteShortcut - not built yet"));
}

TEST_F(KeyHookTest, NavigationButtonsClickOnTheArrowsRelease)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    Form().m_NextBtn->setFocus();
    Press(Qt::Key_Right);
    EXPECT_EQ(Counter(), "2/3");
    Form().m_PrevBtn->setFocus();
    Press(Qt::Key_Left);
    EXPECT_EQ(Counter(), "1/3");
    // Up and Down on a navigation button do nothing.
    Form().m_QuestionBtn->setFocus();
    Press(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), Form().m_QuestionBtn);
    EXPECT_EQ(main.m_ActiveView, EView::Question);
}

} // namespace
