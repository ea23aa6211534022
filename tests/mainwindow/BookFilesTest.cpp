// The book commands of the main window headless: New, Open, Append, Save, Save As, Delete, Restore, the
// save question before a book is left, the backup timer, the book chooser with the Open Book menu, the
// Restore and Books Filter dialogs and the book-tree popup.
#include "mainwindow/dialogs/Booksfilterfrm.h"
#include "mainwindow/dialogs/Restorefrm.h"
#include "mainwindow/dialogs/TreeViewPopup.h"
#include "model/items/Datatypes.h"
#include "model/storage/Booklist.h"
#include "model/support/Folders.h"
#include "tests/mainwindow/MainWindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace
{

namespace fs = std::filesystem;
using lf::test::MainWindowHarness;
using lf::test::Named;
using lf::test::OneQuestion;
using lf::test::ReadFile;
using lf::test::ThreeQuestions;
using lf::test::WriteFile;

constexpr const char* kSaveQuestion = "Do you want to save the changes?";
constexpr const char* kOldFormatQuestion =
    "Would you like to save data in the old format, \r\nwhich is compatible with Lernfold 2.0 for handheld "
    "devices? \r\n\r\nImages and font styles will not be saved in this file format. \r\n\r\nAfter you save "
    "the file in the old .PDB format, \r\nLernfold will continue to work with the file in the current .LNF "
    "format, which includes your images and font styles.";
constexpr const char* kBookFilter = "Lernfold v4|*.lnf|Lernfold v3|*.lnf3|PDB file (*.pdb)|*.pdb";

std::string Overwrite(const std::string& path)
{
    return "File \"" + path + "\" exists. Overwrite the file?";
}

// Gives a file a modification time that many days back.
void Age(const std::string& path, int days)
{
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24 * days));
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Three questions in the chapters "Cells" and "Plants".
void CellsAndPlants(lf::test::BookBuilder& book)
{
    book.chapter("Cells")
        .multipleChoice("First?", {"a", "b"}, 0)
        .multipleChoice("Second?", {"a", "b"}, 0)
        .chapter("Plants")
        .multipleChoice("Third?", {"a", "b"}, 0);
}

class BookFilesTest : public testing::Test, public MainWindowHarness
{
public:
    // A listed book opened in a phase through the book tree and Start Session.
    Tm_MainFrm& OpenInPhase(const std::string& path, EPhase phase)
    {
        Tm_MainFrm& main = Started() ? Main() : Start();
        EXPECT_TRUE(ChoosePhase(phase));
        Storage().ReloadBookList();
        PickBook(path);
        if (phase != EPhase::Edit)
            Child<QComboBox>("m_TestList")->setCurrentIndex(0);
        StartSession();
        EXPECT_TRUE(Storage().IsBookLoaded());
        return main;
    }
    // The Edit phase on a changed book a.lnf, and a second book b.lnf beside it.
    Tm_MainFrm& ChangedEditBook()
    {
        WriteBook(BookPath("a.lnf"), ThreeQuestions);
        WriteBook(BookPath("b.lnf"), OneQuestion("Other?"));
        Tm_MainFrm& main = OpenInPhase(BookPath("a.lnf"), EPhase::Edit);
        Items().SetModified(true);
        original = ReadFile(BookPath("a.lnf"));
        return main;
    }
    std::string OpenFileName() { return Storage().GetFileName(); }

    std::string original;
};

// --- Saving ---

TEST_F(BookFilesTest, UnchangedListedBookWritesNothingUntilItsFileIsDeleted)
{
    const std::string path = BookPath("a.lnf");
    WriteBook(path, ThreeQuestions);
    OpenInPhase(path, EPhase::Flash);
    Age(path, 3);
    const auto written = fs::last_write_time(path);
    Click("m_SaveBtn");
    EXPECT_EQ(fs::last_write_time(path), written);
    EXPECT_EQ(Probe().StatusText(), "");

    fs::remove(path);
    Click("m_SaveBtn");
    ASSERT_TRUE(fs::exists(path));
    EXPECT_NE(ReadFile(path).find("First?"), std::string::npos);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BookFilesTest, SaveOnANewBookGoesStraightToSaveAs)
{
    Tm_MainFrm& main = Start();
    Click("m_NewBtn");
    ASSERT_EQ(Storage().GetPhase(), EPhase::Edit);
    dialogs.AnswerSave(BookPath("Chem"));
    Click("m_SaveBtn");

    const std::string path = BookPath("Chem.lnf");
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, kBookFilter);
    EXPECT_EQ(dialogs.saveRequests[0].defaultExt, ".lnf");
    ASSERT_TRUE(fs::exists(path));
    EXPECT_GE(Books().IndexOf(path), 0);
    EXPECT_EQ(Storage().GetCurrentBookIndex(), Books().IndexOf(path));
    EXPECT_EQ(main.windowTitle().toStdString(), "Chem.lnf (Edit Phase) - Korvanta Lernfold");
    EXPECT_EQ(Probe().StatusText(),
              "Information saved to " + path + ", " + std::to_string(fs::file_size(path) / 1024) + "kb.");
}

TEST_F(BookFilesTest, PalmSaveWithOverwriteDeclinedWritesNothing)
{
    const std::string palm = BookPath("Chem.pdb");
    WriteFile(palm, "old handheld book");
    Start();
    Click("m_NewBtn");
    dialogs.AnswerSave(palm);
    dialogs.AnswerMessage(lf::qt::mrYes);
    dialogs.AnswerMessage(lf::qt::mrNo);
    Click("m_SaveAsBtn");
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{kOldFormatQuestion, Overwrite(palm)}));
    EXPECT_EQ(ReadFile(palm), "old handheld book");
    EXPECT_EQ(FilesIn(BooksFolder()), (std::vector<std::string>{"Chem.pdb", "Lernfold.log"}));
    EXPECT_EQ(Storage().GetCurrentBookIndex(), -1);
}

// The writers append ".lnf" to a name with another extension: the question names that file, and only when
// it exists; the list records it.
TEST_F(BookFilesTest, OverwriteQuestionNamesTheFileReallyWritten)
{
    Start();
    Click("m_NewBtn");

    // "notes.txt" exists, "notes.txt.lnf" does not: nothing is asked.
    WriteFile(BookPath("notes.txt"), "text");
    dialogs.AnswerSave(BookPath("notes.txt"));
    Click("m_SaveAsBtn");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(ReadFile(BookPath("notes.txt")), "text");
    EXPECT_TRUE(fs::exists(BookPath("notes.txt.lnf")));
    EXPECT_EQ(Storage().GetCurrentBookIndex(), Books().IndexOf(BookPath("notes.txt.lnf")));

    // Now "notes.txt.lnf" exists: one question, naming it; No leaves it as it is.
    const std::string before = ReadFile(BookPath("notes.txt.lnf"));
    Items().SetModified(true);
    dialogs.AnswerSave(BookPath("notes.txt"));
    dialogs.AnswerMessage(lf::qt::mrNo);
    Click("m_SaveAsBtn");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{Overwrite(BookPath("notes.txt.lnf"))});
    EXPECT_EQ(ReadFile(BookPath("notes.txt.lnf")), before);
}

TEST_F(BookFilesTest, ClosingAChangedEditBookAsksAndCancelKeepsTheWindow)
{
    Tm_MainFrm& main = ChangedEditBook();
    dialogs.AnswerMessage(lf::qt::mrCancel);
    EXPECT_FALSE(main.close());
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(Items().IsModified());

    dialogs.AnswerMessage(lf::qt::mrNo);
    EXPECT_TRUE(main.close());
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(ReadFile(BookPath("a.lnf")), original);
}

// --- Backups ---

TEST_F(BookFilesTest, BackupTimerWritesOneCopyAndKeepsTheTwelveNewest)
{
    const std::string path = BookPath("a.lnf");
    WriteBook(path, ThreeQuestions);
    const std::string temp = BookPath("Temp/");
    fs::create_directories(temp);
    // Thirteen old copies of this book and two of another one.
    for (int i = 0; i < 13; ++i)
    {
        const std::string copy =
            temp + "a_(2001_01_01_00_00_" + (i < 10 ? "0" : "") + std::to_string(i) + ").bnf";
        WriteFile(copy, "old");
        Age(copy, 100 - i);
    }
    for (const char* other : {"ab_(2001_01_01_00_00_00).bnf", "b_(2001_01_01_00_00_00).bnf"})
    {
        WriteFile(temp + other, "other");
        Age(temp + other, 200);
    }

    OpenInPhase(path, EPhase::Edit);
    ASSERT_TRUE(Probe().BackupTimer().Enabled());
    EXPECT_EQ(Probe().BackupTimer().Interval(), 300000);
    const std::string file = ReadFile(path);
    clock.Advance(299999);
    EXPECT_EQ(FilesIn(temp).size(), 15u);
    clock.Advance(1);

    const std::vector<std::string> names = FilesIn(temp);
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names[0], "a_(2001_01_01_00_00_02).bnf"); // the two oldest went
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n.rfind("a_(2", 0) == 0; }),
              12);
    EXPECT_NE(std::find(names.begin(), names.end(), "ab_(2001_01_01_00_00_00).bnf"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "b_(2001_01_01_00_00_00).bnf"), names.end());
    EXPECT_EQ(ReadFile(path), file);
}

TEST_F(BookFilesTest, BackupTimerRunsOnlyInEditPhaseAndNeverWithoutBackups)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    OpenInPhase(BookPath("a.lnf"), EPhase::Flash);
    EXPECT_FALSE(Probe().BackupTimer().Enabled());
    Prefs().m_BackupAllow = false;
    Click("m_NewBtn");
    EXPECT_FALSE(Probe().BackupTimer().Enabled());
    Prefs().m_BackupAllow = true;
    Click("CloseBook1");
    Click("m_NewBtn");
    EXPECT_TRUE(Probe().BackupTimer().Enabled());
}

// --- Delete and Restore ---

TEST_F(BookFilesTest, DeletingANewBookOnlyClosesIt)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    Click("m_NewBtn");
    dialogs.AnswerMessage(lf::qt::mrYes);
    Click("m_DeleteBookBtn");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Do you want to move this book to the trash?"});
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_FALSE(Probe().BackupTimer().Enabled());
    EXPECT_TRUE(fs::exists(BookPath("a.lnf")));
    EXPECT_EQ(Probe().ActiveView(), EView::Intro);
}

TEST_F(BookFilesTest, DeletingAListedBookMovesItsFileAway)
{
    ChangedEditBook();
    dialogs.AnswerMessage(lf::qt::mrYes);
    dialogs.AnswerMessage(lf::qt::mrOk);
    Click("m_DeleteBookBtn");
    ASSERT_GE(dialogs.messages.size(), 2u);
    EXPECT_FALSE(fs::exists(BookPath("a.lnf")));
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_LT(Books().IndexOf(BookPath("a.lnf")), 0);
}

class RestoreTest : public BookFilesTest
{
protected:
    // Picks the copy with that file name in the dialog and presses Restore; then runs the extra step.
    void ChooseCopy(const std::string& name, std::function<void()> then = {})
    {
        dialogs.AnswerModal(
            [name, then](QDialog& dialog)
            {
                auto& restore = static_cast<Tm_pRestoreFrm&>(dialog);
                const auto& copies = restore.Copies();
                for (std::size_t i = 0; i < copies.size(); ++i)
                    if (copies[i].FileName == name)
                        Named<QTreeWidget>(restore, "m_pBackupFileListView")
                            ->topLevelItem(static_cast<int>(i))
                            ->setSelected(true);
                Named<QPushButton>(restore, "m_pRestoreBtn")->click();
                if (then)
                    then();
                return restore.result();
            });
    }
};

TEST_F(RestoreTest, RestoredCopyOpensInEditPhaseWithItsQuestions)
{
    const std::string copy = BookPath("Temp/a_(2001_01_01_00_00_00).bnf");
    WriteBook(copy, OneQuestion("Saved?"));
    ChangedEditBook();
    ChooseCopy("a_(2001_01_01_00_00_00).bnf");
    Click("m_RestoreBookBtn");
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_TRUE(Storage().IsBookLoaded());
    EXPECT_EQ(Storage().GetPhase(), EPhase::Edit);
    EXPECT_EQ(Items().GetCount(), 1);
    EXPECT_EQ(Items().GetCurrentItem()->GetName(), "Saved?");
    EXPECT_EQ(OpenFileName(), BookPath("a.lnf"));
    EXPECT_EQ(Probe().ActiveView(), EView::Question);
    EXPECT_TRUE(Probe().BackupTimer().Enabled());
    EXPECT_EQ(ReadFile(BookPath("a.lnf")), original);
}

TEST_F(RestoreTest, VanishedCopyIsReportedAfterTheOpenBookWasBackedUpAndClosed)
{
    const std::string copy = BookPath("Temp/a_(2001_01_01_00_00_00).bnf");
    WriteBook(copy, OneQuestion("Saved?"));
    ChangedEditBook();
    ChooseCopy("a_(2001_01_01_00_00_00).bnf", [copy] { fs::remove(copy); });
    dialogs.AnswerMessage(lf::qt::mrOk);
    Click("m_RestoreBookBtn");
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"ERROR. Can't restore information from file - " + copy + ".."});
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(Storage().GetPhase(), EPhase::None);
    EXPECT_EQ(Probe().ActiveView(), EView::Intro);
    // The open book's copy was written before it closed.
    const std::vector<std::string> copies = FilesIn(BookPath("Temp"));
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].rfind("a_(", 0), 0u);
}

TEST_F(RestoreTest, SafetyCopyOfABookPickedInTheChooserHoldsEveryQuestion)
{
    // Picking the book in the Edit phase's chooser reads its chapters alone; the copy written before
    // the restore is still the whole book.
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    const std::string copy = BookPath("Temp/a_(2001_01_01_00_00_00).bnf");
    WriteBook(copy, OneQuestion("Saved?"));
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    PickBook(BookPath("a.lnf"));
    ASSERT_TRUE(Storage().IsCategoriesOnlyLoaded());
    ASSERT_FALSE(Storage().IsBookLoaded());
    ChooseCopy("a_(2001_01_01_00_00_00).bnf");
    Click("m_RestoreBookBtn");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(Items().GetCurrentItem()->GetName(), "Saved?");

    std::vector<std::string> safety;
    for (const std::string& name : FilesIn(BookPath("Temp")))
        if (name != "a_(2001_01_01_00_00_00).bnf")
            safety.push_back(name);
    ASSERT_EQ(safety.size(), 1u);
    CDataStorage reader;
    ASSERT_TRUE(reader.OpenBook(BookPath("Temp/" + safety[0]), false));
    ASSERT_EQ(reader.GetItemsPtr2()->GetCount(), 3);
    EXPECT_EQ(reader.GetItemsPtr2()->GetItem(2)->GetName(), "Third?");
}

TEST_F(BookFilesTest, TimedBackupWritesNoCopyOfChaptersAlone)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Edit));
    PickBook(BookPath("a.lnf"));
    ASSERT_FALSE(Storage().IsBookLoaded());
    ASSERT_TRUE(Probe().BackupTimer().Enabled());
    clock.Advance(Probe().BackupTimer().Interval());
    EXPECT_TRUE(FilesIn(BookPath("Temp")).empty());
    // Once the whole book is read, the timer copies it.
    StartSession();
    ASSERT_TRUE(Storage().IsBookLoaded());
    clock.Advance(Probe().BackupTimer().Interval());
    EXPECT_EQ(FilesIn(BookPath("Temp")).size(), 1u);
}

// --- The mends: nothing replaces a changed book unasked ---

struct SReplacingCommand
{
    const char* name;
    std::function<void(BookFilesTest&)> run;
};

class ReplacingCommandTest : public BookFilesTest, public testing::WithParamInterface<SReplacingCommand>
{
};

TEST_P(ReplacingCommandTest, AsksTheSaveQuestionAndStopsOnCancel)
{
    ChangedEditBook();
    dialogs.AnswerMessage(lf::qt::mrCancel);
    GetParam().run(*this);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{kSaveQuestion});
    EXPECT_TRUE(dialogs.openRequests.empty());
    ASSERT_TRUE(Storage().IsBookLoaded());
    EXPECT_EQ(OpenFileName(), BookPath("a.lnf"));
    EXPECT_TRUE(Items().IsModified());
    EXPECT_EQ(Items().GetCount(), 3);
    EXPECT_EQ(ReadFile(BookPath("a.lnf")), original);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ReplacingCommandTest,
    testing::Values(
        SReplacingCommand{"Open", [](BookFilesTest& test) { test.Click("m_OpenBookBtn"); }},
        SReplacingCommand{"OpenInDefault", [](BookFilesTest& test) { test.Click("OpenDefBookMenuItem"); }},
        SReplacingCommand{"OpenOther", [](BookFilesTest& test) { test.Click("OtherBook1"); }},
        SReplacingCommand{"BrowseButton", [](BookFilesTest& test) { test.Click("m_pBrowseBtn"); }},
        SReplacingCommand{
            "BooksFilter",
            [](BookFilesTest& test)
            {
                test.dialogs.AnswerModal(
                    [](QDialog& dialog)
                    {
                        auto& filter = static_cast<Tm_BooksFilterFrm&>(dialog);
                        Named<QTreeWidget>(filter, "m_pBooksListView")->topLevelItem(0)->setSelected(true);
                        return int(lf::qt::mrOk);
                    });
                test.Click("m_pFilterBtn");
            }},
        SReplacingCommand{"BookTree",
                          [](BookFilesTest& test)
                          {
                              const int index = test.Books().IndexOf(test.BookPath("b.lnf"));
                              test.PickTreeNode(index, kBookNodeImage);
                          }}),
    [](const testing::TestParamInfo<SReplacingCommand>& info) { return std::string(info.param.name); });

TEST_F(BookFilesTest, FailedAppendLeavesTheOpenBookAsItWas)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    WriteFile(BookPath("broken.lnf"), "<Lernfold Version=\"1\"><Questions><Question");
    OpenInPhase(BookPath("a.lnf"), EPhase::Edit);
    dialogs.AnswerOpen(BookPath("broken.lnf"));
    dialogs.AnswerMessage(lf::qt::mrOk);
    Click("AppendBook1");
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Error. Can't load the book."});
    ASSERT_TRUE(Storage().IsBookLoaded());
    EXPECT_EQ(OpenFileName(), BookPath("a.lnf"));
    EXPECT_EQ(Items().GetCount(), 3);
    EXPECT_FALSE(Items().IsModified());

    WriteBook(BookPath("b.lnf"), OneQuestion("Other?"));
    dialogs.AnswerOpen(BookPath("b.lnf"));
    Click("AppendBook1");
    EXPECT_EQ(Items().GetCount(), 4);
    EXPECT_TRUE(Items().IsModified());
    EXPECT_EQ(OpenFileName(), BookPath("a.lnf"));
}

// --- The book chooser and the Open Book menu ---

TEST_F(BookFilesTest, CancelledBooksFilterPutsTheSixSettingsBack)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Review));
    CBookList& books = Books();
    books.m_bFilterEnable = 1;
    books.m_bSortEnable = 0;
    books.m_FilterField = 2;
    books.m_FilterPeriod = 9;
    books.m_SortField = 4;
    books.m_SortUp = 0;
    dialogs.AnswerModal(
        [](QDialog& dialog)
        {
            auto& filter = static_cast<Tm_BooksFilterFrm&>(dialog);
            Named<QCheckBox>(filter, "m_pEnableFilterChekBox")->setChecked(false);
            emit Named<QCheckBox>(filter, "m_pEnableFilterChekBox")->clicked();
            emit Named<QTreeWidget>(filter, "m_pBooksListView")->header()->sectionClicked(1);
            return int(lf::qt::mrCancel);
        });
    Click("m_pFilterBtn");
    EXPECT_EQ(books.m_bFilterEnable, 1);
    EXPECT_EQ(books.m_bSortEnable, 0);
    EXPECT_EQ(books.m_FilterField, 2);
    EXPECT_EQ(books.m_FilterPeriod, 9);
    EXPECT_EQ(books.m_SortField, 4);
    EXPECT_EQ(books.m_SortUp, 0);
}

TEST_F(BookFilesTest, BooksFilterDoneLoadsTheChosenBookForItsChapters)
{
    WriteBook(BookPath("a.lnf"), CellsAndPlants);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Review));
    dialogs.AnswerModal(
        [](QDialog& dialog)
        {
            auto& filter = static_cast<Tm_BooksFilterFrm&>(dialog);
            Named<QTreeWidget>(filter, "m_pBooksListView")->topLevelItem(0)->setSelected(true);
            return int(lf::qt::mrOk);
        });
    Click("m_pFilterBtn");
    EXPECT_TRUE(Storage().IsCategoriesOnlyLoaded());
    EXPECT_EQ(Probe().BookComboBox()->currentText().toStdString(), "a");
    EXPECT_GE(Child<QComboBox>("m_TestList")->findText("Cells"), 0);
}

TEST_F(BookFilesTest, DialogsStartInTheirFoldersWithTheirExtensions)
{
    const std::string sub = BookPath("Sub/");
    WriteBook(sub + "a.lnf", ThreeQuestions);
    OpenInPhase(sub + "a.lnf", EPhase::Review);
    for (int i = 0; i < 4; ++i)
        dialogs.AnswerOpen(std::nullopt);
    Click("m_pBrowseBtn");
    Click("OpenDefBookMenuItem");
    Click("OtherBook1");
    Click("m_OpenBookBtn");
    ASSERT_EQ(dialogs.openRequests.size(), 4u);
    EXPECT_EQ(dialogs.openRequests[0].initialFolder, sub);
    EXPECT_EQ(dialogs.openRequests[0].defaultExt, ".pdb");
    EXPECT_EQ(dialogs.openRequests[1].initialFolder, BooksFolder());
    EXPECT_EQ(dialogs.openRequests[1].defaultExt, ".pdb");
    EXPECT_EQ(dialogs.openRequests[3].initialFolder, BooksFolder());
    EXPECT_EQ(dialogs.openRequests[3].defaultExt, ".lnf");
    for (const auto& request : dialogs.openRequests)
        EXPECT_EQ(request.filter, kBookFilter);
}

TEST_F(BookFilesTest, OpenWithoutAPhaseEntersFlashFirst)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Tm_MainFrm& main = Start();
    ASSERT_EQ(Storage().GetPhase(), EPhase::None);
    dialogs.AnswerOpen(std::nullopt);
    Click("OtherBook1");
    EXPECT_EQ(Storage().GetPhase(), EPhase::Flash);
    EXPECT_TRUE(Child<QFrame>("m_SessionView")->isVisibleTo(&main));
    EXPECT_EQ(dialogs.openRequests.size(), 1u);
}

TEST_F(BookFilesTest, BrowsedNamesThatAreNoBookAreRefused)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Flash));
    for (const char* name : {"notes.txt", "x.lnf3", "X.PDB"})
    {
        dialogs.messages.clear();
        Probe().BookComboBox()->setEditText("something");
        dialogs.AnswerOpen(BookPath(name));
        dialogs.AnswerMessage(lf::qt::mrOk);
        Click("m_pBrowseBtn");
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Incorrect file name."}) << name;
        EXPECT_EQ(Probe().BookComboBox()->currentText().toStdString(), "") << name;
    }
}

TEST_F(BookFilesTest, ExternalBookIsListedAndLoadedForItsChapters)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    lf::test::TempDir elsewhere;
    const std::string path = elsewhere.file("Far.lnf");
    WriteBook(path, CellsAndPlants);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Test));
    dialogs.AnswerOpen(path);
    Click("m_pBrowseBtn");
    const int index = Books().IndexOf(path);
    ASSERT_GE(index, 0);
    EXPECT_TRUE(Books().GetBookInfo(index).AlwaysShown);
    EXPECT_TRUE(Storage().IsCategoriesOnlyLoaded());
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(Storage().GetCurrentBookIndex(), index);
    EXPECT_EQ(Probe().BookComboBox()->currentText().toStdString(), "Far");
    EXPECT_GE(Child<QComboBox>("m_TestList")->findText("Plants"), 0);
}

TEST_F(BookFilesTest, OpenBookMenuShowsOpenAndOpenInDefaultOnly)
{
    Tm_MainFrm& main = Start();
    EXPECT_EQ(Child<QAction>("OtherBook1")->text().toStdString(), "Open");
    EXPECT_TRUE(Child<QAction>("OtherBook1")->isVisible());
    EXPECT_TRUE(Child<QAction>("OpenDefBookMenuItem")->isVisible());
    for (int i = 1; i <= 11; ++i)
        EXPECT_FALSE(main.findChild<QAction*>(QString("OpenBookMenuItem%1").arg(i))->isVisible()) << i;
    EXPECT_FALSE(Child<QFrame>("m_pBookSelectorViewViewPanel")->isVisibleTo(&main));
}

TEST_F(BookFilesTest, CloseBookAsksNothingAndDropsTheChanges)
{
    ChangedEditBook();
    Click("CloseBook1");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(Storage().IsBookLoaded());
    EXPECT_EQ(Storage().GetPhase(), EPhase::None);
    EXPECT_FALSE(Probe().BackupTimer().Enabled());
    EXPECT_EQ(ReadFile(BookPath("a.lnf")), original);
}

TEST_F(BookFilesTest, BookComboTakesNoTypingAndSpaceClosesItsTree)
{
    WriteBook(BookPath("a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Flash));
    TMyComboBox* combo = Probe().BookComboBox();
    combo->setEditText("a");
    QTest::keyClicks(combo->lineEdit(), "xyz");
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentText().toStdString(), "a");

    combo->showPopup();
    ASSERT_TRUE(Probe().TreeViewPopupForm()->isVisible());
    QTest::keyClick(combo, Qt::Key_Space);
    EXPECT_FALSE(Probe().TreeViewPopupForm()->isVisible());
    EXPECT_EQ(combo->currentText().toStdString(), "a");
}

// --- The Restore dialog ---

class RestoreDialogTest : public BookFilesTest
{
protected:
    // The dialog for a listed book (not loaded), its copies written into its Temp folder with ages.
    Tm_pRestoreFrm& DialogFor(const std::string& bookName,
                              const std::vector<std::pair<std::string, int>>& copies)
    {
        Start();
        const std::string temp = BookPath("Temp/");
        fs::create_directories(temp);
        for (const auto& [name, days] : copies)
        {
            WriteFile(temp + name, "copy");
            Age(temp + name, days);
        }
        Storage().SetCurrentBookIndex(Books().Add(BookPath(bookName), true));
        Tm_pRestoreFrm& dialog = Probe().RestoreFrm();
        dialog.FormShow();
        return dialog;
    }
    static std::vector<std::string> Names(const Tm_pRestoreFrm& dialog)
    {
        std::vector<std::string> names;
        for (const SBakupInfo& copy : dialog.Copies())
            names.push_back(copy.FileName);
        return names;
    }
};

TEST_F(RestoreDialogTest, ListsTheBooksOwnCopiesNewestFirst)
{
    Tm_pRestoreFrm& dialog = DialogFor("Biology.lnf", {{"Biology_(2012_11_05_14_03_09).bnf", 9},
                                                       {"Biology_(2012_11_07_10_00_00).bnf", 2},
                                                       {"Chemistry_(2012_11_05_14_03_09).bnf", 1},
                                                       {"biology_(2012_11_05_14_03_09).bnf", 1},
                                                       {"Biology_(2012_11_05_14_03_9).bnf", 1},
                                                       {"Biology_(2012_11_05_14_03_09).lnf", 1}});
    EXPECT_EQ(Names(dialog), (std::vector<std::string>{"Biology_(2012_11_07_10_00_00).bnf",
                                                       "Biology_(2012_11_05_14_03_09).bnf"}));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Restore - Biology.lnf");
    EXPECT_EQ(dialog.ListFolder(), BookPath("Temp/"));
    QTreeWidget* list = Named<QTreeWidget>(dialog, "m_pBackupFileListView");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0).toStdString(), BackupRowText(dialog.Copies()[0]));
    EXPECT_EQ(list->headerItem()->text(0).toStdString(), "Backup time:");
}

TEST_F(RestoreDialogTest, PalmBooksHaveTheirOwnCopiesAndUpperCaseIsNoPalmName)
{
    const std::vector<std::pair<std::string, int>> copies = {
        {"Notes_palm_format_(2012_11_05_14_03_09).bnf", 1}, {"Notes_(2012_11_05_14_03_09).bnf", 2}};
    EXPECT_EQ(Names(DialogFor("Notes.pdb", copies)),
              std::vector<std::string>{"Notes_palm_format_(2012_11_05_14_03_09).bnf"});
    Storage().SetCurrentBookIndex(Books().Add(BookPath("Notes.PDB"), true));
    Probe().RestoreFrm().FormShow();
    EXPECT_EQ(Names(Probe().RestoreFrm()), std::vector<std::string>{"Notes_(2012_11_05_14_03_09).bnf"});
}

TEST_F(RestoreDialogTest, RowShowsDateAndWholeKilobytes)
{
    SBakupInfo copy;
    copy.FileDate = 41218.5; // 2012-11-05 12:00
    copy.Size = 12800;
    EXPECT_EQ(BackupRowText(copy), SystemDateTimeText(copy.FileDate).toStdString() + ", 12kb");
    copy.Size = 1023;
    EXPECT_EQ(BackupRowText(copy).substr(BackupRowText(copy).size() - 5), ", 0kb");
}

TEST_F(RestoreDialogTest, RestoreWithoutASelectionWarnsAndStaysOpen)
{
    Tm_pRestoreFrm& dialog = DialogFor("Biology.lnf", {{"Biology_(2012_11_05_14_03_09).bnf", 1}});
    dialog.setResult(0);
    dialogs.AnswerMessage(lf::qt::mrOk);
    Named<QPushButton>(dialog, "m_pRestoreBtn")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Please select a backup copy or press cancel.");
    EXPECT_EQ(dialogs.messages[0].kind, lf::qt::MsgKind::Warning);
    EXPECT_EQ(dialog.result(), 0);

    Named<QTreeWidget>(dialog, "m_pBackupFileListView")->topLevelItem(0)->setSelected(true);
    Named<QPushButton>(dialog, "m_pRestoreBtn")->click();
    EXPECT_EQ(dialog.result(), lf::qt::mrOk);
    EXPECT_EQ(dialog.m_RestoreFileName, BookPath("Temp/Biology_(2012_11_05_14_03_09).bnf"));
}

TEST_F(RestoreDialogTest, EnterCancelsAndTheCaptionsAreTheDialogsOwn)
{
    Tm_pRestoreFrm& dialog = DialogFor("Biology.lnf", {{"Biology_(2012_11_05_14_03_09).bnf", 1}});
    EXPECT_EQ(Named<QPushButton>(dialog, "m_pRestoreBtn")->text().toStdString(), "Restore");
    EXPECT_EQ(Named<QPushButton>(dialog, "m_pDoneBtn")->text().toStdString(), "Cancel");
    Named<QTreeWidget>(dialog, "m_pBackupFileListView")->topLevelItem(0)->setSelected(true);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), lf::qt::mrCancel);
    EXPECT_FALSE(dialog.isVisible());

    Storage().SetCurrentBookIndex(-1);
    dialog.FormShow();
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Restore - Unnamed.lnf");
}

TEST(RestorePattern, QuestionMarksStandForOneCharacterAndCaseCounts)
{
    const std::string pattern = "Bio_(????_?"
                                "?).bnf";
    EXPECT_TRUE(MatchesFilePattern("Bio_(2012_11).bnf", pattern));
    EXPECT_TRUE(MatchesFilePattern("Bio_(abcd_ef).bnf", pattern));
    EXPECT_FALSE(MatchesFilePattern("bio_(2012_11).bnf", pattern));
    EXPECT_FALSE(MatchesFilePattern("Bio_(2012_1).bnf", pattern));
    EXPECT_FALSE(MatchesFilePattern("Bio_(2012_11).BNF", pattern));
    EXPECT_FALSE(MatchesFilePattern("Bio_(2012_111).bnf", pattern));
    EXPECT_EQ(BackupBaseName("/b/Biology.lnf"), "Biology");
    EXPECT_EQ(BackupBaseName("/b/Notes.pdb"), "Notes_palm_format");
    EXPECT_EQ(BackupBaseName("/b/Notes.PDB"), "Notes");
    EXPECT_EQ(BackupBaseName(""), "Unnamed");
}

// --- The Books Filter dialog and the book-tree popup ---

class BooksFilterTest : public BookFilesTest
{
protected:
    // Three books: "new" changed today, "mid" 100 days ago, "old" 300 days ago.
    Tm_BooksFilterFrm& Dialog()
    {
        for (const auto& [name, days] :
             std::vector<std::pair<std::string, int>>{{"new", 0}, {"mid", 100}, {"old", 300}})
        {
            WriteBook(BookPath(name + ".lnf"), ThreeQuestions);
            Age(BookPath(name + ".lnf"), days);
        }
        Start();
        Storage().ReloadBookList();
        return Probe().BooksFilterFrm();
    }
    static std::vector<std::string> Rows(Tm_BooksFilterFrm& dialog)
    {
        std::vector<std::string> rows;
        QTreeWidget* list = Named<QTreeWidget>(dialog, "m_pBooksListView");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            rows.push_back(list->topLevelItem(i)->text(0).toStdString());
        return rows;
    }
    static std::string Caption(Tm_BooksFilterFrm& dialog, int column)
    {
        return Named<QTreeWidget>(dialog, "m_pBooksListView")->headerItem()->text(column).toStdString();
    }
};

TEST_F(BooksFilterTest, ColumnClicksSortAndMarkTheCaption)
{
    Tm_BooksFilterFrm& dialog = Dialog();
    dialog.FormShow();
    EXPECT_EQ(Caption(dialog, 0), "^ Book Name");
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"mid", "new", "old"}));
    emit Named<QTreeWidget>(dialog, "m_pBooksListView")->header()->sectionClicked(3);
    EXPECT_EQ(Caption(dialog, 3), "^ Modify Date");
    EXPECT_EQ(Caption(dialog, 0), "Book Name");
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"old", "mid", "new"}));
    emit Named<QTreeWidget>(dialog, "m_pBooksListView")->header()->sectionClicked(3);
    EXPECT_EQ(Caption(dialog, 3), "v Modify Date");
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"new", "mid", "old"}));
    EXPECT_EQ(Books().m_SortField, 3);
    EXPECT_EQ(Books().m_SortUp, 0);
    EXPECT_EQ(Books().m_bSortEnable, 1);
}

TEST_F(BooksFilterTest, FilterByModifyDateAndOffAgain)
{
    Tm_BooksFilterFrm& dialog = Dialog();
    dialog.FormShow();
    // Without the filter a choice of period is taken back.
    Named<QComboBox>(dialog, "m_pPeriodList")->setCurrentIndex(2);
    emit Named<QComboBox>(dialog, "m_pPeriodList")->activated(2);
    EXPECT_EQ(Named<QComboBox>(dialog, "m_pPeriodList")->currentIndex(), -1);
    EXPECT_EQ(Rows(dialog).size(), 3u);

    Named<QCheckBox>(dialog, "m_pEnableFilterChekBox")->setChecked(true);
    Named<QComboBox>(dialog, "m_pFilterList")->setCurrentIndex(2);
    Named<QComboBox>(dialog, "m_pPeriodList")->setCurrentIndex(8); // 120 days
    emit Named<QCheckBox>(dialog, "m_pEnableFilterChekBox")->clicked();
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"mid", "new"}));
    EXPECT_EQ(Books().m_FilterField, 2);
    EXPECT_EQ(Books().m_FilterPeriod, 8);

    Named<QCheckBox>(dialog, "m_pEnableFilterChekBox")->setChecked(false);
    emit Named<QCheckBox>(dialog, "m_pEnableFilterChekBox")->clicked();
    EXPECT_EQ(Books().m_bFilterEnable, 0);
    EXPECT_EQ(Books().m_FilterField, 255);
    EXPECT_EQ(Books().m_FilterPeriod, 255);
    EXPECT_EQ(Named<QComboBox>(dialog, "m_pFilterList")->currentIndex(), -1);
    EXPECT_EQ(Named<QComboBox>(dialog, "m_pPeriodList")->currentIndex(), -1);
    EXPECT_EQ(Rows(dialog).size(), 3u);
}

TEST_F(BooksFilterTest, StoredLongPeriodFiltersWithoutASelectedEntryAndMarksAreCleared)
{
    Tm_BooksFilterFrm& dialog = Dialog();
    Books().m_bFilterEnable = 1;
    Books().m_FilterField = 2;
    Books().m_FilterPeriod = 9; // 240 days
    // "old", opened during the run, is shown whatever the filter until the dialog opens.
    Books().SetAlwaysShown(Books().IndexOf(BookPath("old.lnf")), true);
    Books().ApplyFilter();
    EXPECT_EQ(Books().GetFilteredCount(), 3);
    dialog.FormShow();
    EXPECT_EQ(Named<QComboBox>(dialog, "m_pPeriodList")->currentIndex(), -1);
    EXPECT_EQ(Named<QComboBox>(dialog, "m_pFilterList")->currentIndex(), 2);
    EXPECT_EQ(Rows(dialog), (std::vector<std::string>{"mid", "new"}));
    EXPECT_FALSE(Books().GetBookInfo(Books().IndexOf(BookPath("old.lnf"))).AlwaysShown);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Books Filter");
}

TEST_F(BookFilesTest, TreePopupFoldersOpenAndCloseBooksCloseItAndSoDoesLeavingTheApplication)
{
    WriteBook(BookPath("Sub/a.lnf"), ThreeQuestions);
    Start();
    ASSERT_TRUE(ChoosePhase(EPhase::Flash));
    TTreeViewPopupForm* popup = Probe().TreeViewPopupForm();
    EXPECT_TRUE(popup->windowFlags().testFlag(Qt::Popup));
    Probe().BookComboBox()->showPopup();
    ASSERT_TRUE(popup->isVisible());
    QTreeWidget* tree = popup->m_pTreeView;
    QTreeWidgetItem* folder = tree->findItems("Sub", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(folder, nullptr);
    const bool expanded = folder->isExpanded();
    emit tree->itemClicked(folder, 0);
    EXPECT_NE(folder->isExpanded(), expanded);
    EXPECT_TRUE(popup->isVisible());

    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(popup->isVisible());

    Probe().BookComboBox()->showPopup();
    QTreeWidgetItem* book = tree->findItems("a", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(book, nullptr);
    emit tree->itemClicked(book, 0);
    EXPECT_FALSE(popup->isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(Storage().IsCategoriesOnlyLoaded());
}

} // namespace
