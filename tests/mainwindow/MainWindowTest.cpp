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

using lf::test::MainWindowHarness;
using lf::test::OneQuestion;
using lf::test::ThreeQuestions;

constexpr const char* kTooStrict =
    "Your search was too strict. \n\n Set your filter to All, and then repeat your request.";
constexpr const char* kSaveError =
    "File save error. \r\nYou do not have write permission or enough free space. "
    "\r\nPlease try a different location.";
constexpr const char* kBooksNotFound =
    "Books are not found. You may need to adjust your preferences to point to the right directory.";

class MainWindowTest : public testing::Test, public MainWindowHarness
{
protected:
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
        QTreeWidget* tree = Probe().TreeViewPopupForm()->m_pTreeView;
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
    EXPECT_EQ(Text("m_VersiopnStr"), "Version 4.9");
    EXPECT_EQ(Text("m_VersiopnStr2"), "Version 4.9");
    EXPECT_TRUE(Shows("m_IntroView"));
    EXPECT_FALSE(Shows("m_SessionView") || Shows("m_MainView"));
    EXPECT_EQ(Probe().ActiveView(), EView::Intro);
    EXPECT_EQ(Storage().GetPhase(), EPhase::None);
    EXPECT_TRUE(LogHas("Lernfold, Version 4.9.610"));
    // The windows of the start that exist do not call themselves missing in the log.
    for (const char* built : {"m_CategoryEditFrm", "m_TimerFrm", "m_pScaleFrm", "rvActionsResource"})
        EXPECT_FALSE(LogHas(std::string(built) + " - not built yet")) << built;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, BookOnTheCommandLineOpensInFlashPhaseOnItsFirstQuestion)
{
    const std::string path = BookPath("Three.lnf");
    WriteBook(path, ThreeQuestions);
    // The book lies outside the list's scan until it is written, so the start adds it.
    Tm_MainFrm& main = Start(path);
    EXPECT_EQ(Storage().GetPhase(), EPhase::Flash);
    EXPECT_TRUE(Storage().IsBookLoaded());
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/3");
    EXPECT_EQ(main.windowTitle().toStdString(), "Three.lnf (Flash Phase) - Korvanta Lernfold");
    EXPECT_GE(Storage().GetBookList()->IndexOf(path), 0);
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
    EXPECT_TRUE(Shows("m_MainView"));
    EXPECT_FALSE(Shows("m_IntroView"));
    EXPECT_EQ(Probe().QuestionView()->toPlainText().toStdString(), "First?");
    EXPECT_TRUE(LogHas("Tm_MainFrm::FormShow - Wrong active mode!"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, BookFromOutsideTheBooksFolderIsAddedToTheList)
{
    lf::test::TempDir elsewhere;
    const std::string path = elsewhere.file("Away.lnf");
    WriteBook(path, ThreeQuestions);
    Start(path);
    const int index = Storage().GetBookList()->IndexOf(path);
    ASSERT_GE(index, 0);
    EXPECT_EQ(Storage().GetCurrentBookIndex(), index);
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/3");
}

TEST_F(MainWindowTest, BookWithAnEmptyFlashSequenceGivesTheTooStrictWarning)
{
    const std::string path = BookPath("Cloze.lnf");
    WriteBook(path, [](lf::test::BookBuilder& book) { book.item(10, "Fill {1:SHORTANSWER:=in} the gap."); });
    dialogs.AnswerMessage(lf::qt::mrOk);
    Start(path);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kTooStrict});
    EXPECT_EQ(dialogs.messages.at(0).kind, lf::qt::MsgKind::Warning);
    EXPECT_EQ(Storage().GetPhase(), EPhase::Flash);
    EXPECT_FALSE(Shows("m_MainView"));
}

TEST_F(MainWindowTest, AnArgumentThatIsNoBookFileIsIgnored)
{
    const std::string path = BookPath("notes.txt");
    lf::test::WriteFile(path, "text");
    Start(path);
    EXPECT_EQ(Storage().GetPhase(), EPhase::None);
    EXPECT_FALSE(Storage().IsBookLoaded());
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
        Start();
        EXPECT_EQ(Probe().WheelScrollLines(), lines) << "system value " << system;
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
    WriteBook(BookPath("Three.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(Probe().SetPhase(EPhase::Test, 1));
    EXPECT_FALSE(Shows("m_SessionView"));
    Child<QFrame>("m_pBookSelectorViewViewPanel")->show();
    Probe().PostMessage(kMsgShowSessionPanel);
    EXPECT_FALSE(Shows("m_SessionView")); // delivered after the current event
    QApplication::processEvents();
    EXPECT_TRUE(Shows("m_SessionView"));
    EXPECT_FALSE(Shows("m_pBookSelectorViewViewPanel"));
    EXPECT_EQ(Text("m_pPhaseLabel"), "Test Phase");
}

// --- Phases and the session panel ---

TEST_F(MainWindowTest, SessionPanelOffersTheListsOfEachPhase)
{
    WriteBook(BookPath("Three.lnf"), ThreeQuestions);
    WriteValueToRegistry("ViewMode", 3);
    Start();
    Child<QCheckBox>("m_pFilterCheckBox")->setChecked(true);
    Child<QCheckBox>("m_pModeCheckBox")->setChecked(true);
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
        ASSERT_TRUE(ChoosePhase(c.phase));
        EXPECT_TRUE(Shows("m_SessionView"));
        EXPECT_FALSE(Shows("m_IntroView"));
        EXPECT_EQ(Text("m_pPhaseLabel"), c.label);
        EXPECT_EQ(Entries("m_FilterListSession"), c.filters) << c.label;
        EXPECT_EQ(Shows("m_ModeList"), c.mode) << c.label;
        EXPECT_EQ(Shows("m_TestList"), c.mode) << c.label;
        EXPECT_EQ(Entries("m_ModeList"), (std::vector<std::string>{"Normal", "Random", "Depth", "Cycle"}));
        EXPECT_EQ(Shows("m_pTimerCheckBox"), c.timer) << c.label;
        EXPECT_EQ(Shows("m_ClearAnswersBtn"), c.timer) << c.label;
        EXPECT_EQ(Shows("m_HintTimeTrBar"), c.hints) << c.label;
        EXPECT_EQ(Shows("m_pDelayBeforeHintTrackBar"), c.hints) << c.label;
        EXPECT_TRUE(Child<QAction>("m_TestBtn")->isChecked() == (c.phase == EPhase::Test));
        EXPECT_TRUE(Child<QAction>("m_EditBtn")->isChecked() == (c.phase == EPhase::Edit));
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, FlashcardStyleHidesTheHintBars)
{
    WriteBook(BookPath("Three.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Flash));
    EXPECT_FALSE(Shows("m_HintTimeTrBar"));
    EXPECT_EQ(Child<QSlider>("m_HintTimeTrBar")->maximum(), 30);
    EXPECT_EQ(Child<QSlider>("m_pDelayBeforeHintTrackBar")->maximum(), 30);
}

TEST_F(MainWindowTest, PhaseWithoutBooksWarnsAndStillChanges)
{
    dialogs.AnswerMessage(lf::qt::mrOk);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Review));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kBooksNotFound});
    EXPECT_EQ(Storage().GetPhase(), EPhase::Review);
}

TEST_F(MainWindowTest, BookTreeInTestAndEditPhase)
{
    // /b/a.lnf, /b/Math/Algebra/x.lnf with /b/ as the books folder, and /o/c.lnf elsewhere.
    lf::test::TempDir other;
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    WriteBook(BookPath("Math/Algebra/x.lnf"), ThreeQuestions);
    WriteBook(other.file("c.lnf"), ThreeQuestions);
    Start();
    Storage().GetBookList()->Add(other.file("c.lnf"), false);

    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    EXPECT_EQ(TreeLines(),
              (std::vector<std::string>{"a", "Math", "  Algebra", "    x", "External", "  c", "Browse..."}));
    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    EXPECT_EQ(TreeLines(), (std::vector<std::string>{"Create a new book...", "a", "Math", "  Algebra",
                                                     "    x", "External", "  c", "Browse..."}));
}

TEST_F(MainWindowTest, PickingABookInTheTreeLoadsItsChapters)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    const int index = Storage().GetBookList()->IndexOf(BookPath("a.lnf"));
    PickTreeNode(index, 0);
    EXPECT_TRUE(Storage().IsCategoriesOnlyLoaded());
    EXPECT_EQ(Probe().BookComboBox()->currentText().toStdString(), "a");
    EXPECT_EQ(Entries("m_TestList"), (std::vector<std::string>{"All", "Unfiled", "One", "Two"}));
    EXPECT_TRUE(Child<QPushButton>("m_StartSessionBtn")->isEnabled());
}

TEST_F(MainWindowTest, FolderNodesLoadNothing)
{
    WriteBook(BookPath("Math/x.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    // The folder node carries the data value of the list's first book.
    PickTreeNode(0, 5);
    EXPECT_FALSE(Storage().IsCategoriesOnlyLoaded() || Storage().IsBookLoaded());
    EXPECT_FALSE(LogHas("TreeViewPopupFormClose - ERROR"));
}

TEST_F(MainWindowTest, ClosingThePopupPostsTheTreeMessage)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    Probe().BookComboBox()->showPopup();
    ASSERT_TRUE(Probe().TreeViewPopupForm()->isVisible());
    ASSERT_TRUE(Probe().TreeViewPopupForm()->SelectNode(0, 0));
    Probe().TreeViewPopupForm()->close();
    EXPECT_FALSE(Storage().IsCategoriesOnlyLoaded());
    QApplication::processEvents();
    EXPECT_TRUE(Storage().IsCategoriesOnlyLoaded());
}

TEST_F(MainWindowTest, BrowseNodeRefusesAFileThatIsNoBook)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    Probe().BookComboBox()->setEditText("a");
    dialogs.AnswerOpen(BookPath("notes.txt"));
    dialogs.AnswerMessage(lf::qt::mrOk);
    PickTreeNode(kBrowseNodeData, kBrowseNodeImage);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Incorrect file name."});
    EXPECT_TRUE(Probe().BookComboBox()->currentText().isEmpty());
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, BooksFolder());
    EXPECT_EQ(dialogs.openRequests[0].filter, "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb");
}

TEST_F(MainWindowTest, CreateNodeGivesANewBookInEditPhase)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Tm_MainFrm& main = Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    PickTreeNode(kCreateBookNodeData, kCreateNodeImage);
    EXPECT_TRUE(Storage().IsBookLoaded());
    EXPECT_EQ(Storage().GetItemsPtr2()->GetCount(), 1);
    EXPECT_EQ(main.windowTitle().toStdString(), "Unnamed (Edit Phase) - Korvanta Lernfold");
    EXPECT_TRUE(Probe().BackupTimer().Enabled());
}

TEST_F(MainWindowTest, CancelledSaveQuestionKeepsTheEditPhase)
{
    const std::string path = BookPath("a.lnf");
    WriteBook(path, ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    PickBook(path);
    Click("m_StartSessionBtn");
    ASSERT_TRUE(Shows("m_MainView"));
    Storage().GetItemsPtr2()->SetModified(true);
    const std::string before = lf::test::ReadFile(path);

    dialogs.AnswerMessage(lf::qt::mrCancel);
    EXPECT_FALSE(ChoosePhase(EPhase::Test));
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Do you want to save the changes?"});
    EXPECT_EQ(dialogs.messages.at(0).buttons, lf::qt::MsgButtons::YesNoCancel);
    EXPECT_EQ(Storage().GetPhase(), EPhase::Edit);
    EXPECT_TRUE(Shows("m_MainView"));
    EXPECT_FALSE(Shows("m_SessionView"));
    EXPECT_TRUE(Storage().GetItemsPtr2()->IsModified());
    EXPECT_EQ(lf::test::ReadFile(path), before);

    // Yes saves and goes on.
    dialogs.AnswerMessage(lf::qt::mrYes);
    EXPECT_TRUE(ChoosePhase(EPhase::Test));
    EXPECT_EQ(Storage().GetPhase(), EPhase::Test);
    EXPECT_FALSE(Storage().GetItemsPtr2()->IsModified());
    EXPECT_NE(Probe().StatusText().find("Information saved to " + path + ", "), std::string::npos);
}

TEST_F(MainWindowTest, ToolbarsAndMenusFollowThePhase)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Tm_MainFrm& main = Start();
    EXPECT_FALSE(Child<QToolBar>("m_pToolbar2Panel")->isVisibleTo(&main));
    EXPECT_FALSE(Child<QMenu>("Edit1")->menuAction()->isVisible());
    EXPECT_FALSE(Child<QAction>("m_PrintBtn")->isVisible());

    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    PickBook(BookPath("a.lnf"));
    Click("m_StartSessionBtn");
    EXPECT_TRUE(Child<QToolBar>("m_pToolbar2Panel")->isVisibleTo(&main));
    EXPECT_TRUE(Child<QToolBar>("m_pToolbar3Panel")->isVisibleTo(&main));
    EXPECT_TRUE(Child<QMenu>("Edit1")->menuAction()->isVisible());
    EXPECT_TRUE(Child<QAction>("m_NewBtn")->isVisible());
    EXPECT_TRUE(Child<QAction>("m_PrintBtn")->isVisible());
    EXPECT_TRUE(Child<QAction>("Edit2MenuItem")->isChecked());
    EXPECT_FALSE(Child<QAction>("m_ScoreBtn")->isVisible());
    EXPECT_EQ(Child<QPushButton>("m_NextBtn")->toolTip().toStdString(), "Next Question");
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
    // A session of the phase on a.lnf, started from the book tree with the chapter "All".
    Tm_MainFrm& SessionIn(EPhase phase)
    {
        WriteBook(BookPath("a.lnf"), ThreeQuestions);
        Tm_MainFrm& main = Start();
        EXPECT_TRUE(ChoosePhase(phase));
        PickBook(BookPath("a.lnf"));
        Child<QComboBox>("m_TestList")->setCurrentIndex(0); // All
        StartSession();
        EXPECT_TRUE(Shows("m_MainView"));
        return main;
    }
    Tm_ListFrm& List() { return windows->ListFrm(); }
};

TEST_F(ListCouplingTest, SessionMovesThroughItsQuestionsAndViews)
{
    SessionIn(EPhase::Review);
    EXPECT_EQ(Entries("m_CategoryList"), (std::vector<std::string>{"All", "Unfiled", "One", "Two"}));
    EXPECT_EQ(Entries("m_FilterList"), (std::vector<std::string>{"All", "Marked", "Correct", "Incorrect"}));
    EXPECT_FALSE(Shows("m_RecordCategoryList")); // the Edit phase's own
    Child<QPushButton>("m_NextBtn")->click();
    EXPECT_EQ(Text("m_CurrentNumStr"), "2/3");
    EXPECT_EQ(Probe().QuestionView()->toPlainText().toStdString(), "Second?");
    Child<QPushButton>("m_AnswerBtn")->click();
    EXPECT_EQ(Text("m_ActiveViewModeCaption"), "Answers (Multiple Choice) : ");
    // The Flashcard style shows the correct answer alone.
    ASSERT_NE(Probe().AnswerTable(), nullptr);
    EXPECT_EQ(Probe().AnswerTable()->RowCount(), 1);
    EXPECT_EQ(lf::RichPlainText(Probe().AnswerTable()->Cell(0, 1).content), "a");
    Child<QPushButton>("m_ExplainBtn")->click();
    EXPECT_EQ(Probe().QuestionView()->toPlainText().toStdString(), "Because.");
    Child<QPushButton>("m_PrevBtn")->click();
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/3");
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
    Child<QPushButton>("m_PrevBtn")->click(); // nothing before the first
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/3");
    // The chapter list of the filter bar narrows the sequence.
    Choose("m_CategoryList", 3);
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/1");
}

TEST_F(ListCouplingTest, EditSessionWritesABackupCopyEveryBackupTime)
{
    SessionIn(EPhase::Edit);
    ASSERT_TRUE(Probe().BackupTimer().Enabled());
    EXPECT_EQ(Probe().BackupTimer().Interval(), 5 * 60000);
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
    ASSERT_TRUE(ChoosePhase(EPhase::Review));
    EXPECT_FALSE(Probe().BackupTimer().Enabled());
    clock.Advance(5 * 60000);
    EXPECT_EQ(copies(), 1);
}

TEST_F(ListCouplingTest, ClipboardChangesReachTheShownListOnceAPhaseWasChosen)
{
    SessionIn(EPhase::Flash);
    Child<QAction>("m_ListBtn")->trigger();
    ASSERT_TRUE(List().isVisible());
    QApplication::clipboard()->setText("copied");
    QApplication::processEvents();
    EXPECT_TRUE(LogHas("Tm_MainFrm::OnClipboardChainMessage - not built yet"));
    EXPECT_TRUE(LogHas("Tm_ListFrm::RefreshSelectionAndButtons - not built yet"));
}

TEST_F(ListCouplingTest, ListViewButtonShowsTheListInFlashAndRemembersIt)
{
    SessionIn(EPhase::Flash);
    EXPECT_TRUE(Child<QAction>("m_ListBtn")->isVisible());
    Child<QAction>("m_ListBtn")->trigger();
    EXPECT_TRUE(List().isVisible());
    EXPECT_TRUE(Child<QAction>("m_ListBtn")->isChecked());
    EXPECT_TRUE(Child<QAction>("m_pListViewMenuItem")->isChecked());
    EXPECT_TRUE(Prefs().m_ShowListForLearnMode);

    Child<QAction>("m_ListBtn")->trigger();
    EXPECT_FALSE(List().isVisible());
    EXPECT_FALSE(Child<QAction>("m_ListBtn")->isChecked());
    EXPECT_FALSE(Prefs().m_ShowListForLearnMode);
}

TEST_F(ListCouplingTest, TestPhaseHasNoListViewButton)
{
    SessionIn(EPhase::Test);
    EXPECT_FALSE(Child<QAction>("m_ListBtn")->isVisible());
    EXPECT_FALSE(Child<QAction>("m_pListViewMenuItem")->isVisible());
}

TEST_F(ListCouplingTest, ClosingTheListWindowInReviewForgetsIt)
{
    SessionIn(EPhase::Review);
    Child<QAction>("m_ListBtn")->trigger();
    ASSERT_TRUE(Prefs().m_ShowListForReviewMode);
    EXPECT_TRUE(List().close()); // code 28
    EXPECT_FALSE(List().isVisible());
    EXPECT_FALSE(Child<QAction>("m_ListBtn")->isChecked());
    EXPECT_FALSE(Prefs().m_ShowListForReviewMode);
}

TEST_F(ListCouplingTest, ChapterCodeSelectsTheChapter)
{
    SessionIn(EPhase::Review);
    const std::int32_t two = 2;
    windows->GetFormManager().OnUpdateDate(EFormTarget::MainWindow, EFormEvent::Reload, &two);
    CItemsArray2& items = *Storage().GetItemsPtr2();
    EXPECT_EQ(items.GetActiveCategory(), 2);
    EXPECT_EQ(Text("m_CurrentNumStr"), "1/1");
    EXPECT_EQ(Probe().QuestionView()->toPlainText().toStdString(), "Third?");
}

TEST_F(ListCouplingTest, FieldCodesRedrawOnlyForTheCurrentQuestion)
{
    SessionIn(EPhase::Review);
    CItemsArray2& items = *Storage().GetItemsPtr2();
    CBaseItem* current = items.GetCurrentItem();
    CBaseItem* other = items.GetItem(1);
    ASSERT_NE(current, other);
    for (std::uint8_t code = ToNumber(EFormEvent::NameChanged); code <= ToNumber(EFormEvent::MarkChanged);
         ++code)
    {
        const auto field = static_cast<EFormEvent>(code);
        Child<QLabel>("m_CurrentNumStr")->setText("stale");
        windows->GetFormManager().OnUpdateDate(EFormTarget::MainWindow, field, other);
        EXPECT_EQ(Text("m_CurrentNumStr"), "stale") << int(code);
        windows->GetFormManager().OnUpdateDate(EFormTarget::MainWindow, field, current);
        EXPECT_EQ(Text("m_CurrentNumStr"), "1/3") << int(code);
    }
}

TEST_F(ListCouplingTest, SortCodeSortsAndMarksTheBookModified)
{
    SessionIn(EPhase::Edit);
    CItemsArray2& items = *Storage().GetItemsPtr2();
    ASSERT_FALSE(items.IsModified());
    windows->GetFormManager().OnUpdateDate(EFormTarget::MainWindow, EFormEvent::Sort);
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(items.GetCurrentNumber(), 1);
}

TEST_F(ListCouplingTest, NewQuestionCodeReachesTheEditingServices)
{
    SessionIn(EPhase::Edit);
    const std::int32_t kind = 2;
    windows->GetFormManager().OnUpdateDate(EFormTarget::MainWindow, EFormEvent::NewOfKind, &kind);
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
        WriteBook(bookPath, ThreeQuestions);
        original = lf::test::ReadFile(bookPath);
        Tm_MainFrm& main = Start();
        EXPECT_TRUE(ChoosePhase(EPhase::Test));
        PickBook(bookPath);
        Child<QComboBox>("m_TestList")->setCurrentIndex(0);
        Click("m_StartSessionBtn");
        SAnswerItem* answer = nullptr;
        CBaseItem* item = Storage().GetItemsPtr2()->GetCurrentItem();
        EXPECT_TRUE(item && item->GetAnswer(0, answer));
        answer->UserAnswer = "1";
        Storage().GetItemsPtr2()->SetModified(true);
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
    EXPECT_TRUE(Storage().GetItemsPtr2()->IsModified());

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
