// The book storage's saves: Save and Save As by extension (the handheld database end to end through the
// storage), the overwrite question for a name the writer extends, backup copies with their names, folders
// and purge, and the deleted-items file.
#include "tests/model/DatastorageTestSupport.h"

#include "model/support/Registry.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <ostream>
#include <set>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

using lf::test::PrintTo;

// 2012-03-03 14:05:09 (tests run as if the local zone were UTC).
constexpr std::int64_t kMarch3rd2012 = 1'330'783'509;
const std::string kStamp = "2012_03_03_14_05_09";
const std::string kNoBackupFolder = "Can't create the backup folder. Please try a different location.";

// Captured sinks that also take errors and answer the overwrite question as the test says.
class AnsweringSinks : public CapturedSinks
{
public:
    void ShowError(const std::string& text) override { errors.push_back(text); }
    bool ConfirmOverwrite(const std::string& question) override
    {
        questions.push_back(question);
        return answer;
    }

    std::vector<std::string> errors;
    std::vector<std::string> questions;
    bool answer = false;
};

std::set<std::string> FileNamesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool IsPalmDatabase(const std::string& path)
{
    const std::string bytes = ReadFile(path);
    return bytes.size() > 68 && bytes.substr(60, 8) == "FqaxDIDU";
}

class DatastorageSave : public ::testing::Test
{
protected:
    DatastorageSave()
    {
        storage.SetStatusBar(&sinks);
        storage.SetMessageSink(&sinks);
        storage.SetEventPump(&sinks);
        env.system.utcSeconds = kMarch3rd2012;
        env.prefs.m_BackupDirectory = backups.folder();
        // The deleted-items file of every handheld write goes to a folder of this test.
        WriteValueToRegistry2("DeleteQuestionList", books.file("Lernfold.del"));
    }
    ~DatastorageSave() override { WriteValueToRegistry2("DeleteQuestionList", ""); }

    // A modified book of three multiple-choice questions in two chapters and Unfiled, and a true/false
    // question the handheld format cannot carry.
    void FillBook()
    {
        CItemsArray2& items = *storage.GetItemsPtr2();
        BookBuilder book(items);
        book.chapter("Biology")
            .multipleChoice("Which organelle makes energy?", {"Mitochondrion", "Nucleus", "Ribosome"}, 0)
            .layer("1.1");
        CBaseItem* first = book.last();
        first->SetID(4711);
        first->SetKeywords("cell");
        first->SetGeneralFeedback("It burns sugar.");
        AnswerOf(first, 2)->Correct = "1";
        book.chapter("Chemistry").multipleChoice("Symbol of gold?", {"Au", "Ag"}, 0).layer("2");
        book.unfiled().multipleChoice("Unfiled question", {"yes", "no"}, 1).layer("");
        book.trueFalse("The sky is blue", true);
        items.SetModified(true);
    }

    // FillBook, saved as the open book's own listed file "Own.lnf", then changed again.
    std::string OwnBook()
    {
        FillBook();
        const std::string own = dir.file("Own.lnf");
        EXPECT_TRUE(storage.SaveBookAs(own, true));
        EXPECT_EQ(storage.GetFileName(), own);
        storage.GetItemsPtr2()->SetModified(true);
        return own;
    }

    BookEnvironment env;
    TempDir dir;
    TempDir books;
    TempDir backups;
    AnsweringSinks sinks;
    CDataStorage storage{env.prefs};
};

// --- The handheld database through the storage ---

TEST_F(DatastorageSave, PalmBookSavedAsAndOpenedKeepsQuestionsAnswersChaptersAndCorrectMarks)
{
    const std::string own = OwnBook();
    const int listed = storage.GetBookList()->GetCount();
    const std::string pdb = dir.file("Science.pdb");
    ASSERT_TRUE(storage.SaveBookAs(pdb, false));

    // A handheld copy is not the book's file: name, list entry and unsaved changes stay.
    EXPECT_TRUE(IsPalmDatabase(pdb));
    EXPECT_EQ(storage.GetFileName(), own);
    EXPECT_EQ(storage.GetBookList()->GetCount(), listed);
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());
    EXPECT_EQ(ReadFile(books.file("Lernfold.del")), std::string(4, '\0'));

    storage.CloseBook();
    ASSERT_TRUE(storage.OpenBook(pdb));
    EXPECT_TRUE(storage.IsBookLoaded(&pdb));
    const CItemsArray2& read = *storage.GetItemsPtr2();
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(ChapterNames(read), (std::vector<std::string>{"Unfiled", "Trash", "Biology", "Chemistry"}));
    ASSERT_EQ(read.GetCount(), 3) << "the true/false question is not carried";
    CBaseItem* q = read.GetItem(0);
    EXPECT_EQ(q->GetID(), 4711);
    EXPECT_EQ(q->GetQuestionText(), "Which organelle makes energy?");
    EXPECT_EQ(q->GetKeywords(), "cell");
    EXPECT_EQ(q->GetGeneralFeedback(), "It burns sugar.");
    EXPECT_EQ(q->GetLayersStr(), "1.1");
    EXPECT_EQ(read.GetCategoryName(q->GetCategoryID()), "Biology");
    ASSERT_EQ(q->GetAnswerCount(), 3);
    const char* expected[][2] = {{"Mitochondrion", "1"}, {"Nucleus", "0"}, {"Ribosome", "1"}};
    for (std::int32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(AnswerOf(q, i)->AnswerText, expected[i][0]);
        EXPECT_EQ(AnswerOf(q, i)->Correct, expected[i][1]);
    }
    EXPECT_EQ(read.GetCategoryName(read.GetItem(1)->GetCategoryID()), "Chemistry");
    EXPECT_EQ(read.GetItem(2)->GetCategoryID(), 0);
    EXPECT_EQ(AnswerOf(read.GetItem(2), 1)->Correct, "1");
}

TEST_F(DatastorageSave, BrokenPalmFileIsRefusedAndTheOpenBookStaysAsItWas)
{
    const std::string own = OwnBook();
    const std::string pdb = dir.file("Broken.pdb");
    ASSERT_TRUE(storage.SaveBookAs(pdb, false));
    std::string bytes = ReadFile(pdb);
    const std::size_t firstRecord =
        (static_cast<unsigned char>(bytes[78]) << 24) | (static_cast<unsigned char>(bytes[79]) << 16) |
        (static_cast<unsigned char>(bytes[80]) << 8) | static_cast<unsigned char>(bytes[81]);
    bytes[firstRecord + 38] = 0;
    bytes[firstRecord + 39] = 16; // category index outside 0 to 15
    WriteFile(pdb, bytes);

    EXPECT_FALSE(storage.OpenBook(pdb));
    EXPECT_NE(env.LogText().find("SQaxStruct::decompressQAX - Category ERROR Cat = 16"), std::string::npos);
    EXPECT_TRUE(sinks.warnings.empty());
    EXPECT_FALSE(storage.IsBookLoaded());
    EXPECT_EQ(storage.GetFileName(), own);
    const CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_EQ(items.GetCount(), 4);
    EXPECT_EQ(items.GetItem(0)->GetQuestionText(), "Which organelle makes energy?");
    EXPECT_EQ(items.GetItem(3)->GetQuestionType(), qtTrueFalse);
    EXPECT_EQ(ChapterNames(items), (std::vector<std::string>{"Unfiled", "Biology", "Chemistry"}));
}

TEST_F(DatastorageSave, AppendedPalmBookGetsChapterIDsAboveTheOpenBooksHighest)
{
    auto source = BookBuilder().chapter("Genetics").multipleChoice("DNA?", {"yes"}, 0).build();
    const std::string pdb = dir.file("Genetics.pdb");
    ASSERT_TRUE(storage.SavePDB(pdb, source.get(), "Fqax", false));

    FillBook(); // chapters 1 and 2
    ASSERT_TRUE(storage.AppendBook(pdb));
    const CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_EQ(items.GetCount(), 5);
    CBaseItem* appended = items.GetItem(4);
    EXPECT_EQ(appended->GetQuestionText(), "DNA?");
    EXPECT_EQ(appended->GetCategoryID(), 2 + 2);
    EXPECT_EQ(items.GetCategoryName(2 + 1), "Trash");
    EXPECT_EQ(items.GetCategoryName(2 + 2), "Genetics");
}

TEST_F(DatastorageSave, TheStoragesRecordImageCarriesTheDeletedItemsListAndStaysEmpty)
{
    EXPECT_EQ(storage.GetItemsPtr()->GetDelQuestionList(), storage.GetDelQuestionList());
    OwnBook();
    ASSERT_TRUE(storage.SaveBookAs(dir.file("Copy.pdb"), false));
    EXPECT_EQ(storage.GetItemsPtr()->GetCount(), 0);
}

// --- Save ---

TEST_F(DatastorageSave, SavingWritesOnlyAChangedBookOrOneWhoseFileIsMissing)
{
    const std::string own = OwnBook();
    storage.GetItemsPtr2()->SetModified(false);
    WriteFile(own, "sentinel");
    EXPECT_TRUE(storage.SaveBook());
    EXPECT_EQ(ReadFile(own), "sentinel") << "an unchanged book whose file exists is not written";

    storage.GetItemsPtr2()->SetModified(true);
    EXPECT_TRUE(storage.SaveBook());
    EXPECT_TRUE(CDataStorage::IsXmlRoot(own, "Lernfold"));
    EXPECT_FALSE(storage.GetItemsPtr2()->IsModified());

    fs::remove(own);
    EXPECT_TRUE(storage.SaveBook());
    EXPECT_TRUE(CDataStorage::IsXmlRoot(own, "Lernfold")) << "a missing file is written again";
}

TEST_F(DatastorageSave, SavingABookWithoutAFileFails)
{
    storage.NewBook();
    storage.GetItemsPtr2()->SetModified(true);
    EXPECT_FALSE(storage.SaveBook());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// --- Save As by extension ---

enum class EWritten
{
    Nothing,
    Native,
    Palm
};

struct SSaveAsCase
{
    const char* name;
    std::string fileName;
    bool makeCurrent;
    bool result;
    std::string written; // the file that appears, "" for none
    EWritten format;
    bool becomesCurrent;
    bool listed;
};

void PrintTo(const SSaveAsCase& c, std::ostream* os)
{
    *os << c.name;
}

class DatastorageSaveAs : public DatastorageSave, public ::testing::WithParamInterface<SSaveAsCase>
{
};

TEST_P(DatastorageSaveAs, WritesTheFormatOfTheExtensionAndRecordsTheWrittenName)
{
    const SSaveAsCase& c = GetParam();
    const std::string own = OwnBook();
    const int listed = storage.GetBookList()->GetCount();

    EXPECT_EQ(storage.SaveBookAs(dir.file(c.fileName), c.makeCurrent), c.result);

    std::set<std::string> files = {"Own.lnf"};
    if (!c.written.empty())
        files.insert(c.written);
    EXPECT_EQ(FileNamesIn(dir.path()), files);
    const std::string written = dir.file(c.written);
    if (c.format == EWritten::Native)
    {
        EXPECT_TRUE(CDataStorage::IsXmlRoot(written, "Lernfold"));
    }
    if (c.format == EWritten::Palm)
    {
        EXPECT_TRUE(IsPalmDatabase(written));
    }

    EXPECT_EQ(storage.GetFileName(), c.becomesCurrent ? written : own);
    EXPECT_EQ(storage.GetBookList()->Contains(written), c.listed);
    EXPECT_FALSE(storage.GetBookList()->Contains(dir.file(c.fileName)) && c.fileName != c.written)
        << "the name before the writer's extension is never listed";
    EXPECT_EQ(storage.GetBookList()->GetCount(), listed + (c.listed ? 1 : 0));
    EXPECT_EQ(storage.GetCurrentBookIndex(), storage.GetBookList()->IndexOf(storage.GetFileName()));
    EXPECT_GE(storage.GetCurrentBookIndex(), 0);
    // Only a native write clears the changes: the other formats are copies.
    EXPECT_EQ(storage.GetItemsPtr2()->IsModified(), c.format != EWritten::Native);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, DatastorageSaveAs,
    ::testing::Values(
        SSaveAsCase{"NativeMadeCurrent", "Bio.lnf", true, true, "Bio.lnf", EWritten::Native, true, true},
        SSaveAsCase{"NativeNotMadeCurrent", "Bio.lnf", false, true, "Bio.lnf", EWritten::Native, false, true},
        SSaveAsCase{"UpperCaseLnfKept", "Bio.LNF", true, true, "Bio.LNF", EWritten::Native, true, true},
        SSaveAsCase{"OtherExtensionGetsLnf", "notes.txt", true, true, "notes.txt.lnf", EWritten::Native, true,
                    true},
        SSaveAsCase{"PdbLeavesTheBook", "Chem.pdb", true, true, "Chem.pdb", EWritten::Palm, false, false},
        SSaveAsCase{"Lnf3IsPalmWithLnfAppended", "Chem.lnf3", true, true, "Chem.lnf3.lnf", EWritten::Palm,
                    false, false},
        SSaveAsCase{"Lnf3AnyCase", "Chem.LNF3", true, true, "Chem.LNF3.lnf", EWritten::Palm, false, false},
        SSaveAsCase{"Lnf2ReaderBookNotAvailable", "Chem.lnf2", true, false, "", EWritten::Nothing, false,
                    false}),
    [](const ::testing::TestParamInfo<SSaveAsCase>& info) { return info.param.name; });

TEST_F(DatastorageSave, SaveAsAsksBeforeReplacingAnotherFileUnderTheWrittenName)
{
    const std::string own = OwnBook();
    const std::string written = dir.file("notes.txt.lnf");
    WriteFile(written, "someone else's book");

    sinks.answer = false;
    EXPECT_FALSE(storage.SaveBookAs(dir.file("notes.txt"), true));
    EXPECT_TRUE(storage.IsSaveDeclined());
    EXPECT_EQ(sinks.questions,
              (std::vector<std::string>{"File \"" + written + "\" exists. Overwrite the file?"}));
    EXPECT_EQ(ReadFile(written), "someone else's book");
    EXPECT_EQ(storage.GetFileName(), own);
    EXPECT_FALSE(storage.GetBookList()->Contains(written));
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());

    // The handheld writer extends ".lnf3" names the same way.
    WriteFile(dir.file("Chem.lnf3.lnf"), "kept");
    EXPECT_FALSE(storage.SaveBookAs(dir.file("Chem.lnf3"), false));
    EXPECT_EQ(ReadFile(dir.file("Chem.lnf3.lnf")), "kept");
    EXPECT_EQ(sinks.questions.size(), 2u);

    sinks.answer = true;
    EXPECT_TRUE(storage.SaveBookAs(dir.file("notes.txt"), true));
    EXPECT_FALSE(storage.IsSaveDeclined());
    EXPECT_TRUE(CDataStorage::IsXmlRoot(written, "Lernfold"));
    EXPECT_EQ(storage.GetFileName(), written);
}

TEST_F(DatastorageSave, SaveAsToTheChosenExistingNameDoesNotAskAgain)
{
    OwnBook();
    const std::string chosen = dir.file("Bio.lnf");
    WriteFile(chosen, "old");
    EXPECT_TRUE(storage.SaveBookAs(chosen, true)); // the caller asked about this name
    EXPECT_TRUE(sinks.questions.empty());
    EXPECT_TRUE(CDataStorage::IsXmlRoot(chosen, "Lernfold"));
}

TEST_F(DatastorageSave, ASinkThatCannotAskNeverLetsAFileBeOverwritten)
{
    class WarningsOnly : public IMessageSink
    {
    public:
        void ShowWarning(const std::string&) override {}
    } sink;
    storage.SetMessageSink(&sink);
    OwnBook();
    WriteFile(dir.file("notes.txt.lnf"), "keep");
    EXPECT_FALSE(storage.SaveBookAs(dir.file("notes.txt"), true));
    EXPECT_EQ(ReadFile(dir.file("notes.txt.lnf")), "keep");
}

TEST_F(DatastorageSave, AFailedSaveAsChangesNothing)
{
    const std::string own = OwnBook();
    const int listed = storage.GetBookList()->GetCount();
    const std::int32_t index = storage.GetCurrentBookIndex();

    EXPECT_FALSE(storage.SaveBookAs(dir.file("no/such/folder/Bio.lnf"), true));
    EXPECT_FALSE(storage.SaveBookAs(dir.file("no/such/folder/Bio.pdb"), false));
    EXPECT_FALSE(storage.SaveBookAs("b.ln", true)) << "a name under five characters";
    EXPECT_FALSE(storage.IsSaveDeclined());

    EXPECT_EQ(storage.GetFileName(), own);
    EXPECT_EQ(storage.GetCurrentBookIndex(), index);
    EXPECT_EQ(storage.GetBookList()->GetCount(), listed);
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());
    EXPECT_FALSE(fs::exists("b.ln"));
    EXPECT_FALSE(fs::exists("b.ln.lnf"));
}

TEST_F(DatastorageSave, SaveAsToTheUnchangedOwnFileWritesNothing)
{
    const std::string own = OwnBook();
    storage.GetItemsPtr2()->SetModified(false);
    WriteFile(own, "sentinel");
    EXPECT_TRUE(storage.SaveBookAs(own, true));
    EXPECT_EQ(ReadFile(own), "sentinel");
}

// --- Backup copies ---

struct SBackupNameCase
{
    const char* name;
    std::string bookFile; // "" for a book without a file
    std::string backup;
};

void PrintTo(const SBackupNameCase& c, std::ostream* os)
{
    *os << c.name;
}

class DatastorageBackupName : public DatastorageSave, public ::testing::WithParamInterface<SBackupNameCase>
{
};

TEST_P(DatastorageBackupName, FollowsTheBookNameAndTheLocalTime)
{
    const SBackupNameCase& c = GetParam();
    if (c.bookFile.empty())
        storage.NewBook();
    else
        ASSERT_TRUE(storage.OpenBook(dir.file(c.bookFile))); // a missing file: a new book under that name
    storage.GetItemsPtr2()->SetModified(true);

    ASSERT_TRUE(storage.MakeBackup());
    EXPECT_EQ(FileNamesIn(backups.path()), std::set<std::string>{c.backup});
    EXPECT_TRUE(CDataStorage::IsXmlRoot(backups.file(c.backup), "Lernfold"));
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());
    EXPECT_TRUE(fs::is_empty(dir.path())) << "the book's own file is not written";
}

INSTANTIATE_TEST_SUITE_P(
    Names, DatastorageBackupName,
    ::testing::Values(SBackupNameCase{"NativeBook", "Biology.lnf", "Biology_(" + kStamp + ").bnf"},
                      SBackupNameCase{"PalmBook", "Chem.pdb", "Chem_palm_format_(" + kStamp + ").bnf"},
                      SBackupNameCase{"PalmTestIsCaseSensitive", "Chem.PDB", "Chem_(" + kStamp + ").bnf"},
                      SBackupNameCase{"BookWithoutAFile", "", "Unnamed_(" + kStamp + ").bnf"},
                      SBackupNameCase{"LastFourCharactersCut", "notes.lnf3", "notes._(" + kStamp + ").bnf"}),
    [](const ::testing::TestParamInfo<SBackupNameCase>& info) { return info.param.name; });

TEST_F(DatastorageSave, BackupOfAListedBookGoesIntoTheTempFolderBesideIt)
{
    const std::string own = OwnBook();
    const std::string before = ReadFile(own);
    ASSERT_GE(storage.GetCurrentBookIndex(), 0);

    ASSERT_TRUE(storage.MakeBackup());
    const std::string copy = dir.file("Temp/Own_(" + kStamp + ").bnf");
    EXPECT_TRUE(CDataStorage::IsXmlRoot(copy, "Lernfold"));
    EXPECT_EQ(ReadFile(own), before);
    EXPECT_TRUE(fs::is_empty(backups.path()));
}

TEST_F(DatastorageSave, BackupFolderThatCannotBeCreatedGivesOneErrorAndNoCopy)
{
    WriteFile(dir.file("plain-file"), "x");
    env.prefs.m_BackupDirectory = dir.file("plain-file") + "/Backups";
    storage.NewBook();

    std::string folder;
    EXPECT_FALSE(storage.GetBackupFolder(folder));
    EXPECT_FALSE(storage.MakeBackup());
    storage.PurgeBackups();
    EXPECT_EQ(sinks.errors, (std::vector<std::string>{kNoBackupFolder, kNoBackupFolder}));
    EXPECT_FALSE(fs::exists(dir.file("plain-file") + "/Backups"));
}

TEST_F(DatastorageSave, WithoutABackupFolderNoCopyIsMadeAndNothingIsShown)
{
    env.prefs.m_BackupDirectory.clear();
    storage.NewBook();
    EXPECT_FALSE(storage.MakeBackup());
    EXPECT_TRUE(sinks.errors.empty());
}

TEST_F(DatastorageSave, MissingBackupFolderIsCreated)
{
    env.prefs.m_BackupDirectory = backups.file("deeper/still");
    storage.NewBook();
    ASSERT_TRUE(storage.MakeBackup());
    EXPECT_TRUE(fs::exists(backups.file("deeper/still/Unnamed_(" + kStamp + ").bnf")));
}

TEST_F(DatastorageSave, ThirteenTimedCopiesLeaveTheTwelveNewest)
{
    ASSERT_TRUE(storage.OpenBook(dir.file("Bio.lnf")));
    std::vector<std::string> made;
    for (int i = 0; i < 13; ++i)
    {
        env.system.utcSeconds = kMarch3rd2012 + 61 * i;
        ASSERT_TRUE(storage.MakeBackup());
        storage.PurgeBackups();
        made.push_back(FileNamesIn(backups.path()).empty() ? "" : *FileNamesIn(backups.path()).rbegin());
    }
    const std::set<std::string> left = FileNamesIn(backups.path());
    EXPECT_EQ(left, std::set<std::string>(made.begin() + 1, made.end()));
    EXPECT_EQ(made.front(), "Bio_(" + kStamp + ").bnf");
    EXPECT_EQ(*left.rbegin(), "Bio_(2012_03_03_14_17_21).bnf");
}

// Writes a file whose date lies minutesAgo in the past.
void WriteDated(const std::string& path, int minutesAgo)
{
    WriteFile(path, "<Lernfold Version=\"1\"/>");
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(minutesAgo));
}

std::string OldStamp(int i)
{
    return std::string("2011_01_01_00_00_") + (i < 10 ? "0" : "") + std::to_string(i);
}

TEST_F(DatastorageSave, PurgeDeletesTheOldestByDateAndLeavesOtherFilesAlone)
{
    // Thirteen copies of this book; the one with the lowest stamp has the newest date.
    for (int i = 0; i < 13; ++i)
        WriteDated(backups.file("Bio_(" + OldStamp(i) + ").bnf"), i == 0 ? 1 : 100 - i);
    // Older files that are not copies of this book.
    const std::vector<std::string> others = {"Bio_palm_format_(" + OldStamp(1) + ").bnf",
                                             "Bi_(" + OldStamp(1) + ").bnf",
                                             "xBio_(" + OldStamp(1) + ").bnf",
                                             "Bio_(" + OldStamp(1) + ").bnf.old",
                                             "Bio_(2011-01-01-00-00-01).bnf",
                                             "Bio_(" + OldStamp(1) + ").BNF",
                                             "Bio_(short).bnf"};
    for (const std::string& other : others)
        WriteDated(backups.file(other), 1000);
    fs::create_directory(backups.file("Bio_(" + OldStamp(99) + ").bnf"));
    fs::last_write_time(backups.file("Bio_(" + OldStamp(99) + ").bnf"),
                        fs::file_time_type::clock::now() - std::chrono::minutes(2000));

    ASSERT_TRUE(storage.OpenBook(dir.file("Bio.lnf")));
    ASSERT_TRUE(storage.MakeBackup()); // the fourteenth copy
    storage.PurgeBackups();

    const std::set<std::string> left = FileNamesIn(backups.path());
    // Dates: copy 0 newest of the old ones, then 12, 11, ..., 1: copies 1 and 2 are the two oldest.
    EXPECT_FALSE(left.count("Bio_(" + OldStamp(1) + ").bnf"));
    EXPECT_FALSE(left.count("Bio_(" + OldStamp(2) + ").bnf"));
    EXPECT_TRUE(left.count("Bio_(" + OldStamp(0) + ").bnf"));
    EXPECT_TRUE(left.count("Bio_(" + OldStamp(3) + ").bnf"));
    EXPECT_TRUE(left.count("Bio_(" + kStamp + ").bnf"));
    for (const std::string& other : others)
        EXPECT_TRUE(left.count(other)) << other;
    EXPECT_TRUE(left.count("Bio_(" + OldStamp(99) + ").bnf")) << "folders are skipped";
    EXPECT_EQ(left.size(), 12u + others.size() + 1u);
}

struct SWildcardCase
{
    const char* name;
    std::string base;
};

void PrintTo(const SWildcardCase& c, std::ostream* os)
{
    *os << c.name;
}

class DatastoragePurgeWildcards : public DatastorageSave, public ::testing::WithParamInterface<SWildcardCase>
{
};

TEST_P(DatastoragePurgeWildcards, BookNameIsMatchedLiterally)
{
    const std::string base = GetParam().base;
    // Thirteen old copies of "Bio", which a wildcard match of the base name would select, and twelve of
    // this book.
    for (int i = 0; i < 13; ++i)
        WriteDated(backups.file("Bio_(" + OldStamp(i) + ").bnf"), 500 + i);
    for (int i = 0; i < 12; ++i)
        WriteDated(backups.file(base + "_(" + OldStamp(i) + ").bnf"), 100 + i);

    ASSERT_TRUE(storage.OpenBook(dir.file(base + ".lnf")));
    ASSERT_TRUE(storage.MakeBackup());
    storage.PurgeBackups();

    const std::set<std::string> left = FileNamesIn(backups.path());
    for (int i = 0; i < 13; ++i)
        EXPECT_TRUE(left.count("Bio_(" + OldStamp(i) + ").bnf")) << i;
    EXPECT_FALSE(left.count(base + "_(" + OldStamp(11) + ").bnf")) << "the oldest copy of this book";
    EXPECT_EQ(left.size(), 13u + 12u);
}

INSTANTIATE_TEST_SUITE_P(Names, DatastoragePurgeWildcards,
                         ::testing::Values(SWildcardCase{"QuestionMark", "B?o"},
                                           SWildcardCase{"TrailingStar", "B*"},
                                           SWildcardCase{"StarAlone", "*"}),
                         [](const ::testing::TestParamInfo<SWildcardCase>& info) { return info.param.name; });

// --- The deleted-items file ---

TEST_F(DatastorageSave, DeletedItemsFileWithoutARegistryValueGoesIntoTheBooksFolder)
{
    WriteValueToRegistry2("DeleteQuestionList", "");
    env.prefs.SetBooksDirectory(books.path().string()); // no "/" at the end
    storage.SaveDeletedIDs();
    env.prefs.SetBooksDirectory(env.logFolder.folder());

    const std::string expected = books.folder() + "Lernfold.del";
    EXPECT_EQ(ReadValueFromRegistry2("DeleteQuestionList", "?"), expected);
    EXPECT_EQ(ReadFile(expected), std::string(4, '\0'));
}

TEST_F(DatastorageSave, DeletedItemsFileGoesToTheTrimmedRegistryPath)
{
    const std::string path = dir.file("elsewhere.del");
    WriteValueToRegistry2("DeleteQuestionList", "  " + path + " \t");
    storage.SaveDeletedIDs();
    EXPECT_EQ(ReadFile(path), std::string(4, '\0'));
}

TEST_F(DatastorageSave, DeletedItemsFileInAMissingFolderIsOnlyLogged)
{
    const std::string path = dir.file("no/such/folder/Lernfold.del");
    WriteValueToRegistry2("DeleteQuestionList", path);
    storage.SaveDeletedIDs();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_NE(env.LogText().find(
                  "Can't save data to file for storage deleted ID. Error - File dont created! \n " + path),
              std::string::npos);
    // A handheld write that asked for it still succeeds.
    OwnBook();
    EXPECT_TRUE(storage.SaveBookAs(dir.file("Still.pdb"), false));
}

} // namespace
