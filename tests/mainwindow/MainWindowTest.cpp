// The main window headless: start with and without a book, sizes, closing, the private messages, the
// phases with their session panel and book tree, the save question, the list window's coupling and a
// save that fails where the book lies.
#include "editing/Listfrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/rules/ToolbarState.h"
#include "model/items/Datatypes.h"
#include "model/support/Folders.h"
#include "platform/richtext/PlainText.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "ui_Mainfrm.h"

#include "platform/qt/RichView.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>

namespace
{

using lf::test::MainWindowFixture;
using lf::test::ThreeQuestions;
using lf::test::WriteBook;

constexpr const char* kTooStrict =
    "Your search was too strict. \n\n Set your filter to All, and then repeat your request.";
constexpr const char* kSaveError =
    "File save error. \r\nYou do not have write permission or enough free space. "
    "\r\nPlease try a different location.";
constexpr const char* kBooksNotFound =
    "Books are not found. You may need to adjust your preferences to point to the right directory.";

class MainWindowTest : public testing::Test, public MainWindowFixture
{
protected:
    Ui::Tm_MainFrm& Form() { return Main().Form(); }
    bool Shows(QWidget* widget) { return widget->isVisibleTo(&Main()); }
    std::string Text(QLabel* label) { return label->text().toStdString(); }
    std::vector<std::string> Entries(QComboBox* combo)
    {
        std::vector<std::string> entries;
        for (int i = 0; i < combo->count(); ++i)
            entries.push_back(combo->itemText(i).toStdString());
        return entries;
    }
    // Picks a listed book in the session panel's book tree, as a click on its node does.
    void PickBook(const std::string& path)
    {
        const int index = Main().DataStorage().GetBookList()->IndexOf(path);
        ASSERT_TRUE(Main().TreeViewPopupForm()->SelectNode(index, kBookNodeImage)) << path;
        Main().TreeViewPopupFormClose();
    }
    // Top-level node texts of the book tree, children indented.
    std::vector<std::string> TreeLines()
    {
        std::vector<std::string> lines;
        const std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth)
        {
            lines.push_back(std::string(depth * 2, ' ') + item->text(0).toStdString());
            for (int i = 0; i < item->childCount(); ++i)
                walk(item->child(i), depth + 1);
        };
        QTreeWidget* tree = Main().TreeViewPopupForm()->m_pTreeView;
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            walk(tree->topLevelItem(i), 0);
        return lines;
    }
};

// --- Start ---

TEST_F(MainWindowTest, StartsWithoutABookOnTheIntroScreen)
{
    Tm_MainFrm& main = Start();
    EXPECT_EQ(main.windowTitle().toStdString(), "Korvanta Lernfold");
    EXPECT_EQ(Text(Form().m_VersiopnStr), "Version 4.9");
    EXPECT_EQ(Text(Form().m_VersiopnStr2), "Version 4.9");
    EXPECT_TRUE(Shows(Form().m_IntroView));
    EXPECT_FALSE(Shows(Form().m_SessionView) || Shows(Form().m_MainView));
    EXPECT_EQ(main.m_ActiveView, EView::Intro);
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::None);
    EXPECT_TRUE(LogHas("Lernfold, Version 4.9.610"));
    // The windows of the start that do not exist yet say so in the log.
    EXPECT_TRUE(LogHas("m_CategoryEditFrm - not built yet"));
    EXPECT_TRUE(LogHas("m_pScaleFrm - not built yet"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, BookOnTheCommandLineOpensInFlashPhaseOnItsFirstQuestion)
{
    const std::string path = BookPath("Three.lnf");
    WriteBook(path, ThreeQuestions(), {"One", "Two"});
    // The book lies outside the list's scan until it is written, so the start adds it.
    Tm_MainFrm& main = Start(path);
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::Flash);
    EXPECT_TRUE(main.DataStorage().IsBookLoaded());
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/3");
    EXPECT_EQ(main.windowTitle().toStdString(), "Three.lnf (Flash Phase) - Korvanta Lernfold");
    EXPECT_GE(main.DataStorage().GetBookList()->IndexOf(path), 0);
    EXPECT_EQ(main.m_ActiveView, EView::Question);
    EXPECT_TRUE(Shows(Form().m_MainView));
    EXPECT_FALSE(Shows(Form().m_IntroView));
    EXPECT_EQ(main.QuestionView()->toPlainText().toStdString(), "First?");
    EXPECT_TRUE(LogHas("Tm_MainFrm::FormShow - Wrong active mode!"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, BookFromOutsideTheBooksFolderIsAddedToTheList)
{
    lf::test::TempDir elsewhere;
    const std::string path = elsewhere.file("Away.lnf");
    WriteBook(path, ThreeQuestions());
    Tm_MainFrm& main = Start(path);
    const int index = main.DataStorage().GetBookList()->IndexOf(path);
    ASSERT_GE(index, 0);
    EXPECT_EQ(main.DataStorage().GetCurrentBookIndex(), index);
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/3");
}

TEST_F(MainWindowTest, BookWithAnEmptyFlashSequenceGivesTheTooStrictWarning)
{
    const std::string path = BookPath("Cloze.lnf");
    WriteBook(path, {{10, "Fill {1:SHORTANSWER:=in} the gap."}});
    dialogs.AnswerMessage(lf::qt::mrOk);
    Tm_MainFrm& main = Start(path);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kTooStrict});
    EXPECT_EQ(dialogs.messages.at(0).kind, lf::qt::MsgKind::Warning);
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::Flash);
    EXPECT_FALSE(Shows(Form().m_MainView));
}

TEST_F(MainWindowTest, AnArgumentThatIsNoBookFileIsIgnored)
{
    const std::string path = BookPath("notes.txt");
    lf::test::WriteFile(path, "text");
    Tm_MainFrm& main = Start(path);
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::None);
    EXPECT_FALSE(main.DataStorage().IsBookLoaded());
}

TEST_F(MainWindowTest, WindowKeepsItsMinimumSize)
{
    Tm_MainFrm& main = Start();
    main.showNormal();
    main.resize(600, 400);
    EXPECT_GE(main.width(), 680);
    EXPECT_GE(main.height(), 550);
}

TEST_F(MainWindowTest, WheelLinesComeFromTheSystemWithinOneToTen)
{
    const int kept = QApplication::wheelScrollLines();
    for (const auto& [system, lines] : std::vector<std::pair<int, int>>{{1, 1}, {5, 5}, {15, 10}})
    {
        QApplication::setWheelScrollLines(system);
        windows.reset();
        EXPECT_EQ(Start().WheelScrollLines(), lines) << "system value " << system;
    }
    QApplication::setWheelScrollLines(kept);
}

TEST_F(MainWindowTest, ClosingWritesZoomPlacementsAndTheSessionEnd)
{
    WriteValueToRegistry("MainFormFontSize", 5);
    Tm_MainFrm& main = Start();
    // The step read at start is what closing writes back.
    WriteValueToRegistry("MainFormFontSize", 0);
    main.showNormal();
    main.move(40, 30);
    main.resize(820, 640);
    QApplication::processEvents();
    EXPECT_TRUE(main.close());
    EXPECT_EQ(ReadValueFromRegistry("MainFormFontSize", -1), 5);
    EXPECT_EQ(ReadValueFromRegistry("MainFormW", 0), 820);
    EXPECT_EQ(ReadValueFromRegistry("MainFormH", 0), 640);
    EXPECT_EQ(ReadValueFromRegistry("MainFormM", 1), 0);
    EXPECT_TRUE(LogHas("<<<<<<<<<<<<<<<< Session ended at"));
}

TEST_F(MainWindowTest, Message10325ShowsTheSessionPanel)
{
    WriteBook(BookPath("Three.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 1));
    EXPECT_FALSE(Shows(Form().m_SessionView));
    Form().m_pBookSelectorViewViewPanel->show();
    main.PostMessage(kMsgShowSessionPanel);
    EXPECT_FALSE(Shows(Form().m_SessionView)); // delivered after the current event
    QApplication::processEvents();
    EXPECT_TRUE(Shows(Form().m_SessionView));
    EXPECT_FALSE(Shows(Form().m_pBookSelectorViewViewPanel));
    EXPECT_EQ(Text(Form().m_pPhaseLabel), "Test Phase");
}

// --- Phases and the session panel ---

TEST_F(MainWindowTest, SessionPanelOffersTheListsOfEachPhase)
{
    WriteBook(BookPath("Three.lnf"), ThreeQuestions());
    WriteValueToRegistry("ViewMode", 3);
    Tm_MainFrm& main = Start();
    Form().m_pFilterCheckBox->setChecked(true);
    Form().m_pModeCheckBox->setChecked(true);
    struct Case
    {
        EPhase phase;
        const char* label;
        std::vector<std::string> filters;
        bool mode;
        bool timer;
        bool hints;
    };
    const std::vector<Case> cases = {
        {EPhase::Test, "Test Phase", {"All", "Marked", "Answered", "Unanswered"}, true, true, false},
        {EPhase::Review, "Review Phase", {"All", "Marked", "Correct", "Incorrect"}, true, false, false},
        {EPhase::Flash, "Flash Phase", {"All", "Marked", "Correct", "Incorrect"}, true, false, true},
        {EPhase::Edit, "Edit Phase", {"All", "Marked"}, false, false, false},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(main.SetPhase(c.phase, 0));
        EXPECT_TRUE(Shows(Form().m_SessionView));
        EXPECT_FALSE(Shows(Form().m_IntroView));
        EXPECT_EQ(Text(Form().m_pPhaseLabel), c.label);
        EXPECT_EQ(Entries(Form().m_FilterListSession), c.filters) << c.label;
        EXPECT_EQ(Shows(Form().m_ModeList), c.mode) << c.label;
        EXPECT_EQ(Shows(Form().m_TestList), c.mode) << c.label;
        EXPECT_EQ(Entries(Form().m_ModeList),
                  (std::vector<std::string>{"Normal", "Random", "Depth", "Cycle"}));
        EXPECT_EQ(Shows(Form().m_pTimerCheckBox), c.timer) << c.label;
        EXPECT_EQ(Shows(Form().m_ClearAnswersBtn), c.timer) << c.label;
        EXPECT_EQ(Shows(Form().m_HintTimeTrBar), c.hints) << c.label;
        EXPECT_EQ(Shows(Form().m_pDelayBeforeHintTrackBar), c.hints) << c.label;
        EXPECT_TRUE(Form().m_TestBtn->isChecked() == (c.phase == EPhase::Test));
        EXPECT_TRUE(Form().m_EditBtn->isChecked() == (c.phase == EPhase::Edit));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, FlashcardStyleHidesTheHintBars)
{
    WriteBook(BookPath("Three.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Flash, 0));
    EXPECT_FALSE(Shows(Form().m_HintTimeTrBar));
    EXPECT_EQ(Form().m_HintTimeTrBar->maximum(), 30);
    EXPECT_EQ(Form().m_pDelayBeforeHintTrackBar->maximum(), 30);
}

TEST_F(MainWindowTest, PhaseWithoutBooksWarnsAndStillChanges)
{
    dialogs.AnswerMessage(lf::qt::mrOk);
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Review, 0));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kBooksNotFound});
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::Review);
}

TEST_F(MainWindowTest, BookTreeInTestAndEditPhase)
{
    // /b/a.lnf, /b/Math/Algebra/x.lnf with /b/ as the books folder, and /o/c.lnf elsewhere.
    lf::test::TempDir other;
    WriteBook(BookPath("a.lnf"), ThreeQuestions());
    WriteBook(BookPath("Math/Algebra/x.lnf"), ThreeQuestions());
    WriteBook(other.file("c.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    main.DataStorage().GetBookList()->Add(other.file("c.lnf"), false);

    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    EXPECT_EQ(TreeLines(),
              (std::vector<std::string>{"a", "Math", "  Algebra", "    x", "External", "  c", "Browse..."}));
    ASSERT_TRUE(main.SetPhase(EPhase::Edit, 0));
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{"Create a new book...", "a", "Math", "  Algebra",
                                                     "    x", "External", "  c", "Browse..."}));
}

TEST_F(MainWindowTest, PickingABookInTheTreeLoadsItsChapters)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions(), {"One", "Two"});
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    const int index = main.DataStorage().GetBookList()->IndexOf(BookPath("a.lnf"));
    ASSERT_TRUE(main.TreeViewPopupForm()->SelectNode(index, 0));
    main.TreeViewPopupFormClose();
    EXPECT_TRUE(main.DataStorage().IsCategoriesOnlyLoaded());
    EXPECT_EQ(main.BookComboBox()->currentText().toStdString(), "a");
    EXPECT_EQ(Entries(Form().m_TestList), (std::vector<std::string>{"All", "Unfiled", "One", "Two"}));
    EXPECT_TRUE(Form().m_StartSessionBtn->isEnabled());
}

TEST_F(MainWindowTest, FolderNodesLoadNothing)
{
    WriteBook(BookPath("Math/x.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    // The folder node carries the data value of the list's first book.
    ASSERT_TRUE(main.TreeViewPopupForm()->SelectNode(0, 5));
    main.TreeViewPopupFormClose();
    EXPECT_FALSE(main.DataStorage().IsCategoriesOnlyLoaded() || main.DataStorage().IsBookLoaded());
    EXPECT_FALSE(LogHas("TreeViewPopupFormClose - ERROR"));
}

TEST_F(MainWindowTest, ClosingThePopupPostsTheTreeMessage)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    main.BookComboBox()->showPopup();
    ASSERT_TRUE(main.TreeViewPopupForm()->isVisible());
    ASSERT_TRUE(main.TreeViewPopupForm()->SelectNode(0, 0));
    main.TreeViewPopupForm()->close();
    EXPECT_FALSE(main.DataStorage().IsCategoriesOnlyLoaded());
    QApplication::processEvents();
    EXPECT_TRUE(main.DataStorage().IsCategoriesOnlyLoaded());
}

TEST_F(MainWindowTest, BrowseNodeRefusesAFileThatIsNoBook)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Test, 0));
    main.BookComboBox()->setEditText("a");
    dialogs.AnswerOpen(BookPath("notes.txt"));
    dialogs.AnswerMessage(lf::qt::mrOk);
    ASSERT_TRUE(main.TreeViewPopupForm()->SelectNode(kBrowseNodeData, kBrowseNodeImage));
    main.TreeViewPopupFormClose();
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Incorrect file name."});
    EXPECT_TRUE(main.BookComboBox()->currentText().isEmpty());
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, BooksFolder());
    EXPECT_EQ(dialogs.openRequests[0].filter, "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb");
}

TEST_F(MainWindowTest, CreateNodeGivesANewBookInEditPhase)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Edit, 0));
    ASSERT_TRUE(main.TreeViewPopupForm()->SelectNode(kCreateBookNodeData, kCreateNodeImage));
    main.TreeViewPopupFormClose();
    EXPECT_TRUE(main.DataStorage().IsBookLoaded());
    EXPECT_EQ(main.DataStorage().GetItemsPtr2()->GetCount(), 1);
    EXPECT_EQ(main.windowTitle().toStdString(), "Unnamed (Edit Phase) - Korvanta Lernfold");
    EXPECT_TRUE(main.BackupTimer().Enabled());
}

TEST_F(MainWindowTest, CancelledSaveQuestionKeepsTheEditPhase)
{
    const std::string path = BookPath("a.lnf");
    WriteBook(path, ThreeQuestions());
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(main.SetPhase(EPhase::Edit, 0));
    PickBook(path);
    main.m_StartSessionBtnClick();
    ASSERT_TRUE(Shows(Form().m_MainView));
    main.DataStorage().GetItemsPtr2()->SetModified(true);
    const std::string before = lf::test::ReadFile(path);

    dialogs.AnswerMessage(lf::qt::mrCancel);
    EXPECT_FALSE(main.SetPhase(EPhase::Test, 0));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Do you want to save the changes?"});
    EXPECT_EQ(dialogs.messages.at(0).buttons, lf::qt::MsgButtons::YesNoCancel);
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::Edit);
    EXPECT_TRUE(Shows(Form().m_MainView));
    EXPECT_FALSE(Shows(Form().m_SessionView));
    EXPECT_TRUE(main.DataStorage().GetItemsPtr2()->IsModified());
    EXPECT_EQ(lf::test::ReadFile(path), before);

    // Yes saves and goes on.
    dialogs.AnswerMessage(lf::qt::mrYes);
    EXPECT_TRUE(main.SetPhase(EPhase::Test, 0));
    EXPECT_EQ(main.DataStorage().GetPhase(), EPhase::Test);
    EXPECT_FALSE(main.DataStorage().GetItemsPtr2()->IsModified());
    EXPECT_NE(main.StatusText().find("Information saved to " + path + ", "), std::string::npos);
}

TEST_F(MainWindowTest, ToolbarsAndMenusFollowThePhase)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions());
    Tm_MainFrm& main = Start();
    EXPECT_FALSE(Form().m_pToolbar2Panel->isVisibleTo(&main));
    EXPECT_FALSE(Form().Edit1->menuAction()->isVisible());
    EXPECT_FALSE(Form().m_PrintBtn->isVisible());

    ASSERT_TRUE(main.SetPhase(EPhase::Edit, 0));
    PickBook(BookPath("a.lnf"));
    main.m_StartSessionBtnClick();
    EXPECT_TRUE(Form().m_pToolbar2Panel->isVisibleTo(&main));
    EXPECT_TRUE(Form().m_pToolbar3Panel->isVisibleTo(&main));
    EXPECT_TRUE(Form().Edit1->menuAction()->isVisible());
    EXPECT_TRUE(Form().m_NewBtn->isVisible());
    EXPECT_TRUE(Form().m_PrintBtn->isVisible());
    EXPECT_TRUE(Form().Edit2MenuItem->isChecked());
    EXPECT_FALSE(Form().m_ScoreBtn->isVisible());
    EXPECT_EQ(Form().m_NextBtn->toolTip().toStdString(), "Next Question");
}

TEST_F(MainWindowTest, EveryNameOfTheToolbarTableIsAControlOfTheForm)
{
    Tm_MainFrm& main = Start();
    for (EPhase phase : {EPhase::Test, EPhase::Review, EPhase::Flash, EPhase::Edit, EPhase::None})
        for (bool studying : {false, true})
            for (EQuestionStyle style : {EQuestionStyle::Flashcard, EQuestionStyle::Moodle})
            {
                SToolbarInput input;
                input.phase = phase;
                input.viewMode = style;
                input.mainViewVisible = studying;
                input.wholeBookLoaded = true;
                const SToolbarState state = ComputeToolbarState(input);
                std::vector<std::string> names;
                for (const auto* map : {&state.visible, &state.enabled, &state.checked, &state.pressed})
                    for (const auto& entry : *map)
                        names.push_back(entry.first);
                for (const auto& entry : state.hints)
                    names.push_back(entry.first);
                for (const std::string& name : names)
                    EXPECT_NE(main.findChild<QObject*>(QString::fromStdString(name)), nullptr) << name;
            }
}

// --- The list window's coupling ---

class ListCouplingTest : public MainWindowTest
{
protected:
    Tm_MainFrm& StartSession(EPhase phase)
    {
        WriteBook(BookPath("a.lnf"), ThreeQuestions(), {"One", "Two"});
        Tm_MainFrm& main = Start();
        EXPECT_TRUE(main.SetPhase(phase, 0));
        PickBook(BookPath("a.lnf"));
        Form().m_TestList->setCurrentIndex(0); // All
        main.m_StartSessionBtnClick();
        EXPECT_TRUE(Shows(Form().m_MainView));
        return main;
    }
    Tm_ListFrm& List() { return windows->ListFrm(); }
};

TEST_F(ListCouplingTest, SessionMovesThroughItsQuestionsAndViews)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    EXPECT_EQ(Entries(Form().m_CategoryList), (std::vector<std::string>{"All", "Unfiled", "One", "Two"}));
    EXPECT_EQ(Entries(Form().m_FilterList),
              (std::vector<std::string>{"All", "Marked", "Correct", "Incorrect"}));
    EXPECT_FALSE(Shows(Form().m_RecordCategoryList)); // the Edit phase's own
    Form().m_NextBtn->click();
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "2/3");
    EXPECT_EQ(main.QuestionView()->toPlainText().toStdString(), "Second?");
    Form().m_AnswerBtn->click();
    EXPECT_EQ(Text(Form().m_ActiveViewModeCaption), "Answers (Multiple Choice) : ");
    // The Flashcard style shows the correct answer alone.
    ASSERT_NE(main.AnswerTable(), nullptr);
    EXPECT_EQ(main.AnswerTable()->RowCount(), 1);
    EXPECT_EQ(lf::RichPlainText(main.AnswerTable()->Cell(0, 1).content), "a");
    Form().m_ExplainBtn->click();
    EXPECT_EQ(main.QuestionView()->toPlainText().toStdString(), "Because.");
    Form().m_PrevBtn->click();
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/3");
    EXPECT_EQ(main.m_ActiveView, EView::Question);
    Form().m_PrevBtn->click(); // nothing before the first
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/3");
    // The chapter list of the filter bar narrows the sequence.
    Form().m_CategoryList->setCurrentIndex(3);
    main.m_CategoryListChange(Form().m_CategoryList);
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/1");
}

TEST_F(ListCouplingTest, EditSessionWritesABackupCopyEveryBackupTime)
{
    Tm_MainFrm& main = StartSession(EPhase::Edit);
    ASSERT_TRUE(main.BackupTimer().Enabled());
    EXPECT_EQ(main.BackupTimer().Interval(), 5 * 60000);
    const std::string backups = BooksFolder() + "Temp/";
    const auto copies = [&]
    {
        return std::filesystem::exists(backups)
                   ? std::distance(std::filesystem::directory_iterator(backups), {})
                   : 0;
    };
    clock.Advance(5 * 60000 - 1);
    EXPECT_EQ(copies(), 0);
    clock.Advance(1);
    EXPECT_EQ(copies(), 1);
    // Leaving the Edit phase stops the timer.
    ASSERT_TRUE(main.SetPhase(EPhase::Review, 0));
    EXPECT_FALSE(main.BackupTimer().Enabled());
    clock.Advance(5 * 60000);
    EXPECT_EQ(copies(), 1);
}

TEST_F(ListCouplingTest, ClipboardChangesReachTheShownListOnceAPhaseWasChosen)
{
    StartSession(EPhase::Flash);
    Form().m_ListBtn->trigger();
    ASSERT_TRUE(List().isVisible());
    QApplication::clipboard()->setText("copied");
    QApplication::processEvents();
    EXPECT_TRUE(LogHas("Tm_MainFrm::OnClipboardChainMessage - not built yet"));
    EXPECT_TRUE(LogHas("Tm_ListFrm::RefreshSelectionAndButtons - not built yet"));
}

TEST_F(ListCouplingTest, ListViewButtonShowsTheListInFlashAndRemembersIt)
{
    Tm_MainFrm& main = StartSession(EPhase::Flash);
    EXPECT_TRUE(Form().m_ListBtn->isVisible());
    Form().m_ListBtn->trigger();
    EXPECT_TRUE(List().isVisible());
    EXPECT_TRUE(Form().m_ListBtn->isChecked());
    EXPECT_TRUE(Form().m_pListViewMenuItem->isChecked());
    EXPECT_TRUE(main.Prefs().m_ShowListForLearnMode);

    Form().m_ListBtn->trigger();
    EXPECT_FALSE(List().isVisible());
    EXPECT_FALSE(Form().m_ListBtn->isChecked());
    EXPECT_FALSE(main.Prefs().m_ShowListForLearnMode);
}

TEST_F(ListCouplingTest, TestPhaseHasNoListViewButton)
{
    StartSession(EPhase::Test);
    EXPECT_FALSE(Form().m_ListBtn->isVisible());
    EXPECT_FALSE(Form().m_pListViewMenuItem->isVisible());
}

TEST_F(ListCouplingTest, ClosingTheListWindowInReviewForgetsIt)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    Form().m_ListBtn->trigger();
    ASSERT_TRUE(main.Prefs().m_ShowListForReviewMode);
    EXPECT_TRUE(List().close()); // code 28
    EXPECT_FALSE(List().isVisible());
    EXPECT_FALSE(Form().m_ListBtn->isChecked());
    EXPECT_FALSE(main.Prefs().m_ShowListForReviewMode);
}

TEST_F(ListCouplingTest, ChapterCodeSelectsTheChapter)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    const std::int32_t two = 2;
    FormManager::OnUpdateDate(FormManager::kMainWindow, 1, &two);
    CItemsArray2& items = *main.DataStorage().GetItemsPtr2();
    EXPECT_EQ(items.GetActiveCategory(), 2);
    EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/1");
    EXPECT_EQ(main.QuestionView()->toPlainText().toStdString(), "Third?");
}

TEST_F(ListCouplingTest, FieldCodesRedrawOnlyForTheCurrentQuestion)
{
    Tm_MainFrm& main = StartSession(EPhase::Review);
    CItemsArray2& items = *main.DataStorage().GetItemsPtr2();
    CBaseItem* current = items.GetCurrentItem();
    CBaseItem* other = items.GetItem(1);
    ASSERT_NE(current, other);
    for (std::uint8_t code = 4; code <= 11; ++code)
    {
        Form().m_CurrentNumStr->setText("stale");
        FormManager::OnUpdateDate(FormManager::kMainWindow, code, other);
        EXPECT_EQ(Text(Form().m_CurrentNumStr), "stale") << int(code);
        FormManager::OnUpdateDate(FormManager::kMainWindow, code, current);
        EXPECT_EQ(Text(Form().m_CurrentNumStr), "1/3") << int(code);
    }
}

TEST_F(ListCouplingTest, SortCodeSortsAndMarksTheBookModified)
{
    Tm_MainFrm& main = StartSession(EPhase::Edit);
    CItemsArray2& items = *main.DataStorage().GetItemsPtr2();
    ASSERT_FALSE(items.IsModified());
    FormManager::OnUpdateDate(FormManager::kMainWindow, 27);
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(items.GetCurrentNumber(), 1);
}

TEST_F(ListCouplingTest, NewQuestionCodeReachesTheEditingServices)
{
    StartSession(EPhase::Edit);
    const std::int32_t kind = 2;
    FormManager::OnUpdateDate(FormManager::kMainWindow, 23, &kind);
    EXPECT_TRUE(LogHas("Tm_MainFrm::NewQuestionOfKind - not built yet"));
}

// --- A save that fails where the book lies ---

// Makes the process obey file permissions for its lifetime even when it runs as root, by dropping the
// capabilities that override them from the effective set (they stay permitted and come back after).
class ObeyFilePermissions
{
public:
    ObeyFilePermissions()
    {
        if (geteuid() != 0)
            return;
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct dropped[2] = {m_saved[0], m_saved[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            dropped[cap / 32].effective &= ~(1u << (cap % 32));
        m_dropped = syscall(SYS_capset, &m_header, dropped) == 0;
    }
    ~ObeyFilePermissions()
    {
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
    }
    ObeyFilePermissions(const ObeyFilePermissions&) = delete;
    ObeyFilePermissions& operator=(const ObeyFilePermissions&) = delete;

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

class FailedSaveTest : public MainWindowTest
{
protected:
    FailedSaveTest() { std::filesystem::create_directories(lockedFolder); }
    ~FailedSaveTest() override
    {
        chmod(lockedFolder.c_str(), 0755);
        windows.reset();
    }

    // A Test session on a book in a folder that cannot be written, with one answer recorded.
    Tm_MainFrm& AnsweredBookInLockedFolder()
    {
        WriteBook(bookPath, ThreeQuestions());
        original = lf::test::ReadFile(bookPath);
        Tm_MainFrm& main = Start();
        EXPECT_TRUE(main.SetPhase(EPhase::Test, 0));
        PickBook(bookPath);
        Form().m_TestList->setCurrentIndex(0);
        main.m_StartSessionBtnClick();
        SAnswerItem* answer = nullptr;
        CBaseItem* item = main.DataStorage().GetItemsPtr2()->GetCurrentItem();
        EXPECT_TRUE(item && item->GetAnswer(0, answer));
        answer->UserAnswer = "1";
        main.DataStorage().GetItemsPtr2()->SetModified(true);
        chmod(lockedFolder.c_str(), 0555);
        return main;
    }

    std::string lockedFolder = books.folder() + "Locked";
    std::string bookPath = lockedFolder + "/Exam.lnf";
    std::string original;
    ObeyFilePermissions obey;
};

TEST_F(FailedSaveTest, ErrorThenQuestionAndNoClosesLeavingTheOldBook)
{
    Tm_MainFrm& main = AnsweredBookInLockedFolder();
    if (IsFolderWritable(lockedFolder))
        GTEST_SKIP() << "the folder stays writable for this process";
    dialogs.AnswerMessage(lf::qt::mrOk);
    dialogs.AnswerMessage(lf::qt::mrNo);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kSaveError, "Do you want to save the changes?"}));
    EXPECT_EQ(dialogs.messages.at(0).kind, lf::qt::MsgKind::Error);
    EXPECT_EQ(dialogs.messages.at(1).buttons, lf::qt::MsgButtons::YesNoCancel);
    EXPECT_FALSE(main.isVisible());
    EXPECT_EQ(lf::test::ReadFile(bookPath), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(lockedFolder), {}), 1);
}

TEST_F(FailedSaveTest, CancelKeepsTheWindowAndYesSavesElsewhere)
{
    Tm_MainFrm& main = AnsweredBookInLockedFolder();
    if (IsFolderWritable(lockedFolder))
        GTEST_SKIP() << "the folder stays writable for this process";
    dialogs.AnswerMessage(lf::qt::mrOk);
    dialogs.AnswerMessage(lf::qt::mrCancel);
    EXPECT_FALSE(main.close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.DataStorage().GetItemsPtr2()->IsModified());

    const std::string elsewhere = BookPath("Exam copy.lnf");
    dialogs.AnswerMessage(lf::qt::mrOk);
    dialogs.AnswerMessage(lf::qt::mrYes);
    dialogs.AnswerSave(elsewhere);
    EXPECT_TRUE(main.close());
    EXPECT_EQ(dialogs.saveRequests.at(0).initialFolder, BooksFolder());
    EXPECT_NE(lf::test::ReadFile(elsewhere).find("<UserAnswer><![CDATA[1]]></UserAnswer>"),
              std::string::npos);
    EXPECT_EQ(lf::test::ReadFile(bookPath), original);
}

} // namespace
