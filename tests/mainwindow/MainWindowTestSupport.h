// The one harness of the main window's tests: the program's windows built on a books folder and an option
// store of the test's own, scripted dialogs, a manual clock, books written with BookBuilder and opened in a
// phase, the controls reached by object name as a user reaches them, and the window's state read through
// its probe.
#pragma once

#include "mainwindow/dialogs/TreeViewPopup.h"
#include "mainwindow/frame/Application.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/frame/MainfrmProbe.h"
#include "mainwindow/rules/BookTree.h"
#include "model/support/Log.h"
#include "model/support/Registry.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"
#include "tests/support/qt/ManualClock.h"
#include "tests/support/qt/ScriptedDialogs.h"

// The kinds of control the tests reach by name.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lf::test
{

using BookFill = std::function<void(BookBuilder&)>;

// The child of a window (a dialog's control) with that object name; fails the test when there is none.
template <class T> T* Named(QObject& window, const char* name)
{
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// The book most window tests open: chapters "One" and "Two"; "First?" and "Second?" in One, "Third?" in
// Two, each a multiple-choice question with "a" right and "b", explained "Because.".
inline void ThreeQuestions(BookBuilder& book)
{
    book.chapter("One")
        .multipleChoice("First?", {"a", "b"}, 0)
        .explanation("Because.")
        .multipleChoice("Second?", {"a", "b"}, 0)
        .explanation("Because.")
        .chapter("Two")
        .multipleChoice("Third?", {"a", "b"}, 0)
        .explanation("Because.");
}

// One unfiled multiple-choice question with "a" right and "b".
inline BookFill OneQuestion(const std::string& text)
{
    return [text](BookBuilder& book) { book.multipleChoice(text, {"a", "b"}, 0).explanation("Because."); };
}

// The harness. Options start from the defaults with the test's books folder; a test writes the options it
// needs into the store before Start, or changes Prefs() after it. With EClock::Fake the system's clock is
// the test's too (FakeSystem), so tick counts and stamps are fixed.
class MainWindowHarness
{
public:
    enum class EClock
    {
        Real,
        Fake,
    };

    explicit MainWindowHarness(EClock time = EClock::Real)
        : m_pSystem(time == EClock::Fake ? std::make_unique<FakeSystem>() : nullptr), clock(m_pSystem.get())
    {
        // A fresh option store for each test.
        const std::string config = configDir.folder();
        setenv("LERNFOLD_CONFIG_DIR", config.c_str(), 1);
        WriteValueToRegistry2("BooksDirectory", BooksFolder());
        WriteValueToRegistry("EnabledAutoUpdate", 0);
        WriteValueToRegistry("PrefsVersion", 4);
    }
    ~MainWindowHarness()
    {
        windows.reset();
        SetLogBooksDirectory("");
    }
    MainWindowHarness(const MainWindowHarness&) = delete;
    MainWindowHarness& operator=(const MainWindowHarness&) = delete;

    // --- The windows ---

    // Creates the windows and shows the main window with the book argument, as the program starts.
    Tm_MainFrm& Start(const std::string& bookArgument = {})
    {
        windows = std::make_unique<CApplicationWindows>();
        windows->MainFrm().FormShow(bookArgument);
        windows->MainFrm().show();
        QApplication::processEvents();
        return windows->MainFrm();
    }
    bool Started() const { return windows != nullptr; }
    Tm_MainFrm& Main() { return windows->MainFrm(); }
    Tm_MainFrmProbe Probe() { return Tm_MainFrmProbe(Main()); }
    CPrefs& Prefs() { return windows->Prefs(); }
    CDataStorage& Storage() { return windows->DataStorage(); }
    CItemsArray2& Items() { return *Storage().GetItemsPtr2(); }
    CBookList& Books() { return *Storage().GetBookList(); }
    FakeSystem& System() { return *m_pSystem; }

    // --- Books ---

    std::string BooksFolder() const { return books.folder(); }
    std::string BookPath(const std::string& name) const { return books.folder() + name; }

    // Writes a native book built by fill (folders made as needed).
    static void WriteBook(const std::string& path, const BookFill& fill)
    {
        CItemsArray2 book;
        BookBuilder builder(book);
        fill(builder);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        CDataStorage writer;
        ASSERT_TRUE(writer.SaveXML(path, &book, true, true)) << path;
    }

    // Writes the book into the books folder as name, chooses the phase, loads the whole book and shows the
    // phase's session panel with the chapter "All" chosen: the step before Start Session. Started first
    // when the windows do not exist yet; a book open before goes without being saved.
    void OpenBook(const BookFill& fill, EPhase phase, const std::string& name = "Quiz.lnf")
    {
        if (!Started())
            Start();
        Trigger("CloseBook1");
        WriteBook(BookPath(name), fill);
        OpenBookFile(name, phase);
    }
    // The same for a book file already in the books folder.
    void OpenBookFile(const std::string& name, EPhase phase)
    {
        ASSERT_TRUE(Storage().ReloadBookList());
        const std::int32_t index = Books().IndexOfBook(name, books.folder());
        ASSERT_GE(index, 0) << name;
        ASSERT_TRUE(ChoosePhase(phase));
        Probe().LoadBook(index, false);
        Probe().OnUpdateSeesionView();
        auto* chapters = Child<QComboBox>("m_TestList");
        chapters->setCurrentIndex(chapters->findData(kAllCategoriesID));
    }
    // Picks a listed book in the session panel's book tree, as a click on its node does.
    void PickBook(const std::string& path)
    {
        const int index = Books().IndexOf(path);
        PickTreeNode(index, kBookNodeImage);
    }
    // Picks the tree node with the data and image (a book, a folder, Browse..., Create a new book...):
    // the tree drops down from the book chooser, the node is selected, and the closing tree is handled.
    void PickTreeNode(std::int32_t data, int image)
    {
        Probe().BookComboBox()->showPopup();
        ASSERT_TRUE(Probe().TreeViewPopupForm()->SelectNode(data, image)) << data;
        Probe().TreeViewPopupForm()->close();
        QApplication::processEvents();
    }

    // --- Phases and the session ---

    // The phase button of the phase; true when the window is in that phase afterwards.
    bool ChoosePhase(EPhase phase)
    {
        static const char* const buttons[] = {"m_TestBtn", "m_RewieBtn", "m_LearnMaterialBtn", "m_EditBtn"};
        if (!IsStudyPhase(phase) && phase != EPhase::Edit)
            return false;
        Trigger(buttons[ToNumber(phase)]);
        return Storage().GetPhase() == phase;
    }
    void StartSession() { Click("m_StartSessionBtn"); }

    // --- Controls by object name ---

    // The control of the main window with that object name (not one of the dialogs it keeps); fails the
    // test when there is none.
    template <class T = QWidget> T* Child(const char* name)
    {
        for (T* child : Main().findChildren<T*>(QString::fromLatin1(name)))
        {
            const auto* widget = qobject_cast<const QWidget*>(child);
            if (!widget || !InKeptDialog(*widget))
                return child;
        }
        ADD_FAILURE() << "no control " << name;
        return nullptr;
    }
    // An action (toolbar button, menu entry) triggered as a click on it does.
    void Trigger(const char* name)
    {
        QAction* action = Probe().FindAction(name);
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // A button of the main window clicked (the dialogs it keeps have buttons of the same names), or else
    // an action of that name triggered.
    void Click(const char* name)
    {
        for (auto* button : Main().findChildren<QAbstractButton*>(QString::fromLatin1(name)))
            if (!InKeptDialog(*button))
            {
                button->click();
                return;
            }
        Trigger(name);
    }
    // A combo box entry chosen by the user: the entry becomes current and the combo reports it.
    void Choose(const char* comboName, int index)
    {
        auto* combo = Child<QComboBox>(comboName);
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // Whether the control would show with the window (the window itself may be hidden).
    bool Shows(const char* name) { return Child<QWidget>(name)->isVisibleTo(&Main()); }
    std::string Text(const char* labelName) { return Child<QLabel>(labelName)->text().toStdString(); }
    std::vector<std::string> Entries(const char* comboName)
    {
        std::vector<std::string> entries;
        auto* combo = Child<QComboBox>(comboName);
        for (int i = 0; i < combo->count(); ++i)
            entries.push_back(combo->itemText(i).toStdString());
        return entries;
    }

    // --- Messages and the log ---

    // The texts of the messages shown so far.
    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> texts;
        for (const auto& message : dialogs.messages)
            texts.push_back(message.text);
        return texts;
    }
    std::string LogText() const
    {
        const std::string path = books.file("Lernfold.log");
        return std::filesystem::exists(path) ? ReadFile(path) : std::string();
    }
    bool LogHas(const std::string& text) const { return LogText().find(text) != std::string::npos; }

private:
    // Whether a control belongs to one of the dialogs the main window keeps as its children.
    static bool InKeptDialog(const QWidget& widget) { return qobject_cast<const QDialog*>(widget.window()); }

    std::unique_ptr<FakeSystem> m_pSystem;

public:
    ManualClock clock;
    TempDir configDir;
    TempDir books;
    ScriptedDialogs dialogs;
    std::unique_ptr<CApplicationWindows> windows;
};

} // namespace lf::test
