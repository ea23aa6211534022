// The main window's menu and toolbar commands through the real window: every command the user can reach
// answers, the forwards of the main menu (zoom, score, clearing, help, Contact Us), the shortcuts the
// menus show, and the faults a new user met: the filter bar's chapter label, the focus after key A on a
// typed answer, a failed Open, the first folder of Save As, and the Edit phase beside the list window.
#include "editing/Listfrm.h"
#include "mainwindow/dialogs/Aboutfrm.h"
#include "mainwindow/dialogs/Zoomfrm.h"
#include "mainwindow/rules/BookTree.h"
#include "model/items/Datatypes.h"
#include "platform/qt/RichView.h"
#include "platform/qt/RichViewEdit.h"
#include "tests/mainwindow/MainWindowTestSupport.h"
#include "tests/support/qt/RecordingDesktop.h"

#include <QApplication>
#include <QKeySequence>
#include <QMenuBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace fs = std::filesystem;
using lf::test::MainWindowHarness;
using lf::test::Named;
using lf::test::ThreeQuestions;

// Three questions in two chapters, the first marked and answered: every session command has something
// to act on.
void MarkedAndAnswered(lf::test::BookBuilder& book)
{
    book.chapter("One")
        .multipleChoice("First?", {"a", "b"}, 0)
        .explanation("Because.")
        .marked()
        .answered(true)
        .multipleChoice("Second?", {"a", "b"}, 0)
        .explanation("Because.")
        .chapter("Two")
        .multipleChoice("Third?", {"a", "b"}, 0)
        .explanation("Because.");
}

// --- Every command answers ---

// The states in which the user meets the window's commands.
enum class EState
{
    Intro,
    TestSession,
    ReviewSession,
    FlashSession,
    EditSession,
};

const char* NameOf(EState state)
{
    static const char* const names[] = {"intro", "Test session", "Review session", "Flash session",
                                        "Edit session"};
    return names[static_cast<int>(state)];
}

// A harness with a desktop that opens nothing, brought into a state.
struct SWindowInState
{
    lf::test::RecordingDesktop desktop;
    MainWindowHarness window;

    explicit SWindowInState(EState state)
    {
        window.Start();
        if (state == EState::Intro)
            return;
        const EPhase phases[] = {EPhase::Test, EPhase::Review, EPhase::Flash, EPhase::Edit};
        window.OpenBook(MarkedAndAnswered, phases[static_cast<int>(state) - 1]);
        window.StartSession();
        // A changed book, so that saving has something to write.
        window.Items().SetModified(true);
    }
};

// Whether the action shows to the user: itself, its menus up to the menu bar, or its toolbar.
bool Reachable(QAction& action, Tm_MainFrm& main)
{
    if (!action.isVisible() || action.isSeparator() || action.menu())
        return false;
    for (QObject* owner : action.associatedObjects())
    {
        if (auto* toolbar = qobject_cast<QToolBar*>(owner); toolbar && toolbar->isVisibleTo(&main))
            return true;
        if (auto* menu = qobject_cast<QMenu*>(owner))
        {
            bool shown = true;
            for (QMenu* m = menu; m; m = qobject_cast<QMenu*>(m->parentWidget()))
                shown = shown && m->menuAction()->isVisible();
            if (shown && main.menuBar()->actions().contains(menu->menuAction()))
                return true;
            // A submenu: its own item must show in its parent menu.
            for (QObject* parent : menu->menuAction()->associatedObjects())
                if (auto* parentMenu = qobject_cast<QMenu*>(parent); parentMenu && shown)
                    return true;
        }
    }
    return false;
}

// What a command can change that the user sees or keeps, as one text.
std::string Observable(SWindowInState& w)
{
    MainWindowHarness& h = w.window;
    Tm_MainFrm& main = h.Main();
    std::ostringstream out;
    const std::string log = h.LogText();
    std::size_t notBuilt = 0;
    for (std::size_t at = log.find(" - not built yet"); at != std::string::npos;
         at = log.find(" - not built yet", at + 1))
        ++notBuilt;
    out << "notBuilt=" << notBuilt << " title=" << main.windowTitle().toStdString()
        << " visible=" << main.isVisible() << " phase=" << static_cast<int>(h.Storage().GetPhase())
        << " view=" << static_cast<int>(h.Probe().ActiveView()) << " panel=" << h.Shows("m_SessionView")
        << " main=" << h.Shows("m_MainView") << " messages=" << h.dialogs.messages.size()
        << " modal=" << h.dialogs.modalWindows.size() << " open=" << h.dialogs.openRequests.size()
        << " save=" << h.dialogs.saveRequests.size() << " print=" << h.dialogs.printRequests.size()
        << " shell=" << w.desktop.opened.size() << " status=" << h.Probe().StatusText()
        << " style=" << static_cast<int>(h.Prefs().GetQuestionStyle())
        << " toolbars=" << h.Prefs().m_ShowStandartToolbar << h.Prefs().m_ShowFormatingToolbar
        << " loaded=" << h.Storage().IsBookLoaded();
    out << " list=" << h.windows->ListFrm().isVisible();
    if (h.Storage().IsBookLoaded())
    {
        CItemsArray2& items = h.Items();
        int marked = 0;
        int answered = 0;
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
        {
            marked += items.GetItem(i)->IsMarked() ? 1 : 0;
            answered += items.GetItem(i)->IsAnswered() ? 1 : 0;
        }
        out << " modified=" << items.IsModified() << " count=" << items.GetCount() << " marked=" << marked
            << " answered=" << answered << " current=" << items.GetCurrentItem();
    }
    return out.str();
}

// Scripts the answers any command may ask for: Escape to messages, Cancel to windows, no file chosen.
void AnswerEverythingWithCancel(MainWindowHarness& h)
{
    for (int i = 0; i < 3; ++i)
    {
        h.dialogs.AnswerMessage(lf::test::ScriptedDialogs::kEscapeAnswer);
        h.dialogs.AnswerModal(lf::qt::mrCancel);
        h.dialogs.AnswerOpen(std::nullopt);
        h.dialogs.AnswerSave(std::nullopt);
        h.dialogs.AnswerFolder(std::nullopt);
        h.dialogs.AnswerPrint(std::nullopt);
        h.dialogs.AnswerFont(std::nullopt);
    }
}

TEST(WindowCommands, EveryVisibleMenuItemAndToolbarButtonActsOrSaysItIsNotBuiltYet)
{
    std::set<std::string> tried;
    std::vector<std::string> silent;
    for (EState state : {EState::Intro, EState::TestSession, EState::ReviewSession, EState::FlashSession,
                         EState::EditSession})
    {
        std::vector<std::string> names;
        {
            SWindowInState survey(state);
            for (QAction* action : survey.window.Main().findChildren<QAction*>())
                if (Reachable(*action, survey.window.Main()) &&
                    !tried.count(action->objectName().toStdString()))
                    names.push_back(action->objectName().toStdString());
        }
        for (const std::string& name : names)
        {
            tried.insert(name);
            SWindowInState w(state);
            // A style item is tried from another style.
            if (name == "Flashcard1MenuItem")
                w.window.Prefs().m_ViewMode = 3;
            AnswerEverythingWithCancel(w.window);
            const std::string before = Observable(w);
            w.window.Trigger(name.c_str());
            QApplication::processEvents();
            // Check for Updates acts when the version page answers, after this survey looks; its own
            // tests run it against a loopback server.
            if (Observable(w) == before && name != "CheckforUpdates1")
                silent.push_back(name + " (" + NameOf(state) + ")");
        }
    }
    EXPECT_TRUE(silent.empty()) << "silent commands: " << testing::PrintToString(silent);
    // The survey reached the menus and both toolbars of the session.
    for (const char* name :
         {"Zoom1", "ContactUs1", "Score1", "m_PrintBtn", "m_UndoBtn", "rvActionBold", "Exit1"})
        EXPECT_TRUE(tried.count(name)) << name;
}

TEST(WindowCommands, CommandsOfLaterWindowsNameThemselvesInTheLog)
{
    struct SCase
    {
        const char* action;
        const char* line;
    };
    const SCase cases[] = {
        {"Undo1", "Tm_MainFrm::m_UndoBtnClick - not built yet"},
        {"NewQuestion1", "Tm_MainFrm::NewQuestionOfCurrentKind - not built yet"},
        {"m_DuplicateRecordBtn", "Tm_MainFrm::m_DuplicateRecordBtnClick - not built yet"},
        {"EmptyTrash1", "Tm_ListFrm::m_ClearTrush_BtnClick - not built yet"},
    };
    SWindowInState w(EState::EditSession);
    for (const SCase& c : cases)
    {
        w.window.Trigger(c.action);
        EXPECT_TRUE(w.window.LogHas(c.line)) << c.action;
    }
    // Nothing else happened: no window, no message, the book as it was.
    EXPECT_TRUE(w.window.dialogs.messages.empty());
    EXPECT_TRUE(w.window.dialogs.modalWindows.empty());
    EXPECT_EQ(w.window.Items().GetCount(), 3);
}

// --- The forwards of the main menu ---

TEST(WindowCommands, SessionMenuScoresAndClearsAsTheSessionButtonsDo)
{
    SWindowInState w(EState::TestSession);
    MainWindowHarness& h = w.window;
    CBaseItem* first = h.Items().GetItem(0);
    ASSERT_TRUE(first->IsMarked());
    ASSERT_TRUE(first->IsAnswered());

    h.Trigger("ClearMarks1");
    EXPECT_FALSE(first->IsMarked());
    EXPECT_TRUE(first->IsAnswered());
    h.Trigger("ClearAnswers1");
    EXPECT_FALSE(first->IsAnswered());

    h.dialogs.AnswerModal(2); // Continue
    h.Trigger("Score1");
    ASSERT_EQ(h.dialogs.modalWindows.size(), 1u);
    EXPECT_EQ(h.Storage().GetPhase(), EPhase::Test);
    EXPECT_TRUE(h.Shows("m_MainView"));
}

TEST(WindowCommands, HelpMenuOpensThePhasePageTheTutorialAndTheSupportAddress)
{
    SWindowInState w(EState::ReviewSession);
    MainWindowHarness& h = w.window;
    std::vector<std::string> pages;
    const auto page = [&pages](QDialog& help)
    {
        pages.push_back(help.objectName().toStdString());
        return lf::qt::mrCancel;
    };
    h.dialogs.AnswerModal(page);
    h.dialogs.AnswerModal(page);
    h.Trigger("HelpTopics1");
    h.Trigger("Tutorial1");
    EXPECT_EQ(pages.size(), 2u);

    h.Trigger("ContactUs1");
    EXPECT_EQ(w.desktop.opened, std::vector<std::string>{"mailto:" + SupportEmailAddress()});
    EXPECT_EQ(SupportEmailAddress().find('@') != std::string::npos, true);
}

// Zoom: the dialog shows the present zoom ticked, and the answer sets the step of the question view.
struct SZoomCase
{
    const char* name;
    int startStep;
    int shownPreset; // the ticked preset, 0 for Custom
    int shownCustom; // the custom box
    std::function<void(Tm_pZoomFrm&)> choose;
    int result;
    int step;
};

class ZoomTest : public testing::TestWithParam<SZoomCase>
{
};

TEST_P(ZoomTest, ShowsThePresentZoomAndSetsTheChosenOne)
{
    const SZoomCase& c = GetParam();
    SWindowInState w(EState::FlashSession);
    MainWindowHarness& h = w.window;
    for (int i = 0; i < c.startStep; ++i)
        h.Click("m_IncreaseBtn");
    lf::qt::RichView* view = h.Probe().QuestionView();
    ASSERT_EQ(view->ZoomStep(), c.startStep);

    int shownPreset = -1;
    int shownCustom = -1;
    h.dialogs.AnswerModal(
        [&](QDialog& dialog)
        {
            auto& zoom = static_cast<Tm_pZoomFrm&>(dialog);
            shownPreset =
                Named<QRadioButton>(zoom, "m_Custom_RadioButton")->isChecked() ? 0 : zoom.GetPercent();
            shownCustom = zoom.CustomValueSpinEdit().value();
            c.choose(zoom);
            return c.result;
        });
    h.Trigger("Zoom1");
    EXPECT_EQ(shownPreset, c.shownPreset);
    EXPECT_EQ(shownCustom, c.shownCustom);
    EXPECT_EQ(view->ZoomStep(), c.step);
}

const auto kTick150 = [](Tm_pZoomFrm& zoom) { Named<QRadioButton>(zoom, "m_150_RadioButton")->click(); };
const auto kCustom110 = [](Tm_pZoomFrm& zoom)
{
    Named<QRadioButton>(zoom, "m_Custom_RadioButton")->click();
    zoom.CustomValueSpinEdit().setValue(110);
};

INSTANTIATE_TEST_SUITE_P(
    WindowCommands, ZoomTest,
    testing::Values(SZoomCase{"From100To150", 0, 100, 100, kTick150, 1, 6},
                    SZoomCase{"Custom110GivesStep1", 0, 100, 100, kCustom110, 1, 1},
                    SZoomCase{"Step1ShowsCustom108", 1, 0, 108, [](Tm_pZoomFrm&) {}, 1, 1},
                    SZoomCase{"Step6ShowsThe150Preset", 6, 150, 100, [](Tm_pZoomFrm&) {}, 1, 6},
                    SZoomCase{"CancelKeepsTheZoom", 0, 100, 100, kTick150, 2, 0}),
    [](const testing::TestParamInfo<SZoomCase>& info) { return info.param.name; });

// --- Shortcuts ---

TEST(WindowCommands, MenusShowTheirShortcutsAndF1StillOpensHelpOnce)
{
    SWindowInState w(EState::EditSession);
    MainWindowHarness& h = w.window;
    struct SShortcut
    {
        const char* action;
        const char* keys;
    };
    for (const SShortcut& s :
         {SShortcut{"HelpTopics1", "F1"}, SShortcut{"SaveBook1", "Ctrl+S"},
          SShortcut{"NewQuestion1", "Ctrl+N"}, SShortcut{"NewCopyQuestion1", "Ctrl+M"},
          SShortcut{"OtherBook1", "Ctrl+O"}, SShortcut{"Print1", "Ctrl+P"}, SShortcut{"Undo1", "Ctrl+Z"},
          SShortcut{"Redo1", "Ctrl+Y"}, SShortcut{"Cut1", "Ctrl+X"}, SShortcut{"Copy1", "Ctrl+C"},
          SShortcut{"Paste1", "Ctrl+V"}, SShortcut{"SelectAll1", "Ctrl+A"}})
        EXPECT_EQ(h.Probe().FindAction(s.action)->shortcut(), QKeySequence(QString::fromLatin1(s.keys)))
            << s.action;

    // The menu's F1 and the Help button's F1 do not cancel each other: one key, one help window.
    h.Main().activateWindow();
    h.dialogs.AnswerModal(lf::qt::mrCancel);
    QTest::keyClick(&h.Main(), Qt::Key_F1);
    EXPECT_EQ(h.dialogs.modalWindows.size(), 1u);
    // Ctrl+S still goes the key hook's way: it saves the changed book once.
    QTest::keyClick(&h.Main(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(h.Items().IsModified());
}

} // namespace

namespace
{

// --- The Edit phase while the list window is a stand-in ---

TEST(WindowCommands, EditSessionKeepsTheWindowsWidthAndTheStandInCoversNothing)
{
    MainWindowHarness h;
    h.Start();
    h.Main().setGeometry(20, 30, 1100, 700);
    h.OpenBook(ThreeQuestions, EPhase::Edit);
    ASSERT_TRUE(h.Prefs().m_ShowListForEditMode);
    const QRect before = h.Main().geometry();
    h.StartSession();
    QApplication::processEvents();
    ASSERT_TRUE(h.windows->ListFrm().isVisible());
    EXPECT_EQ(h.Main().geometry(), before);
    // Every button of the two toolbars fits or sits behind the toolbar's overflow button.
    for (const char* name : {"m_pToolbar1Panel", "m_pToolbar2Panel"})
    {
        auto* toolbar = h.Child<QToolBar>(name);
        ASSERT_TRUE(toolbar->isVisible()) << name;
        for (QAction* action : toolbar->actions())
        {
            if (!action->isVisible() || action->isSeparator())
                continue;
            EXPECT_TRUE(toolbar->widgetForAction(action)->isVisible())
                << name << " " << action->objectName().toStdString();
        }
    }
    const QWidget& list = h.windows->ListFrm();
    EXPECT_TRUE(list.isMinimized() || !list.frameGeometry().intersects(h.Main().frameGeometry()))
        << "list at " << list.frameGeometry().x() << "," << list.frameGeometry().y();
}

TEST(WindowCommands, NarrowWindowShowsTheToolbarsOverflowButton)
{
    MainWindowHarness h;
    h.Start();
    h.OpenBook(ThreeQuestions, EPhase::Edit);
    h.StartSession();
    h.Main().resize(700, 600);
    QApplication::processEvents();
    auto* toolbar = h.Child<QToolBar>("m_pToolbar1Panel");
    QToolButton* overflow = nullptr;
    for (auto* button : toolbar->findChildren<QToolButton*>())
        if (button->objectName() == "qt_toolbar_ext_button")
            overflow = button;
    ASSERT_NE(overflow, nullptr);
    EXPECT_TRUE(overflow->isVisible());
    // The buttons that do not fit are in the overflow's menu.
    EXPECT_FALSE(toolbar->widgetForAction(h.Probe().FindAction("m_HelpBtn"))->isVisible());
}

} // namespace

namespace
{

class WindowFaultsTest : public testing::Test, public MainWindowHarness
{
protected:
    Tm_MainFrm& SessionOn(const lf::test::BookFill& fill, EPhase phase)
    {
        OpenBook(fill, phase);
        StartSession();
        EXPECT_TRUE(Shows("m_MainView"));
        Main().activateWindow();
        QApplication::setActiveWindow(&Main());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Main()));
        return Main();
    }
    void Press(int key)
    {
        QWidget* target =
            QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, static_cast<Qt::Key>(key));
    }
    std::string ChapterLabel() { return Text("m_pChapterStr"); }
};

TEST_F(WindowFaultsTest, ChapterLabelFollowsTheQuestionOnEveryMove)
{
    SessionOn(ThreeQuestions, EPhase::Review);
    EXPECT_EQ(ChapterLabel(), "One - 1");
    Click("m_NextBtn");
    EXPECT_EQ(ChapterLabel(), "One - 2");
    Click("m_NextBtn");
    EXPECT_EQ(ChapterLabel(), "Two - 1");
    Click("m_PrevBtn");
    EXPECT_EQ(ChapterLabel(), "One - 2");
    Press(Qt::Key_N);
    EXPECT_EQ(ChapterLabel(), "Two - 1");
    Press(Qt::Key_P);
    EXPECT_EQ(ChapterLabel(), "One - 2");
}

TEST_F(WindowFaultsTest, KeyAOnATypedAnswerLetsTheUserTypeTheAnswer)
{
    // The Moodle style shows questions of every kind.
    Start();
    Prefs().m_ViewMode = 3;
    SessionOn(
        [](lf::test::BookBuilder& book) {
            book.shortAnswer("Capital of France?", {{"Paris", "100"}});
        },
        EPhase::Test);
    Press(Qt::Key_A);
    EXPECT_EQ(Probe().ActiveView(), EView::Answers);
    ASSERT_EQ(QApplication::focusWidget(), Probe().DescriptionEditor());
    for (int key : {Qt::Key_P, Qt::Key_A, Qt::Key_R, Qt::Key_I, Qt::Key_S})
        Press(key);
    // The letters are the answer; "a" did not turn back to the question.
    EXPECT_EQ(Probe().ActiveView(), EView::Answers);
    EXPECT_EQ(Probe().DescriptionEditor()->toPlainText().toLower().toStdString(), "paris");
}

TEST_F(WindowFaultsTest, OpeningAFileThatIsNoBookLeavesTheWindowAsWithoutABook)
{
    Start();
    const std::string path = BookPath("notes.lnf");
    lf::test::WriteFile(path, "These are my notes, not a book.");
    dialogs.AnswerOpen(path);
    dialogs.AnswerMessage(lf::qt::mrOk);
    dialogs.AnswerMessage(lf::qt::mrOk);
    dialogs.AnswerMessage(lf::qt::mrOk);
    Click("m_OpenBookBtn");
    ASSERT_FALSE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.messages[0].text, "Error. Can't load the book.");
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(Main().windowTitle().toStdString(), "Korvanta Lernfold");
    // The book list, and so the tree, does not keep the file as a book it opened.
    EXPECT_LT(Books().IndexOf(path), 0);
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(WindowFaultsTest, SaveAsOfANeverSavedBookStartsInTheBooksFolder)
{
    Start();
    Click("m_NewBtn");
    ASSERT_TRUE(Storage().IsBookLoaded());
    dialogs.AnswerSave(std::nullopt);
    Click("m_SaveAsBtn");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].initialFolder, Prefs().GetBooksDirectory());
    EXPECT_FALSE(dialogs.saveRequests[0].initialFolder.empty());
}

} // namespace
