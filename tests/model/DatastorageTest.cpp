// The book storage: new, open (recognition by content), restore, append, close, the book list rescan and
// the search texts of a loaded book.
#include "tests/model/DatastorageTestSupport.h"

#include "platform/richtext/RichXml.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

using namespace lf::test;

namespace
{

using lf::test::PrintTo;

const std::string kCorrupted = "ERROR. File is corrupted. Try to use the restore feature in Edit Phase.";

class Datastorage : public ::testing::Test, public StorageFixture
{
protected:
    // Writes a small book with the given chapter names (IDs 1, 2, ...) and one essay per chapter.
    std::string WriteBook(const std::string& name, std::initializer_list<std::string> chapters)
    {
        CItemsArray2 items;
        BookBuilder book(items);
        for (const std::string& chapter : chapters)
            book.chapter(chapter).essay("Q in " + chapter);
        const std::string path = dir.file(name);
        EXPECT_TRUE(storage.SaveXML(path, &items, true, true));
        return path;
    }
};

TEST_F(Datastorage, GetDataStorageNamesTheOneInstance)
{
    EXPECT_EQ(CDataStorage::GetDataStorage(), &storage);
}

TEST(DatastorageWithoutInstance, GetDataStorageLogsAndGivesNull)
{
    BookEnvironment env;
    EXPECT_EQ(CDataStorage::GetDataStorage(), nullptr);
    EXPECT_NE(env.LogText().find("CDataStorage::GetDataStorage() = m_pInstance == NULL"), std::string::npos);
}

TEST_F(Datastorage, NewBookHoldsOneMultipleChoiceQuestionWithoutAFile)
{
    ASSERT_TRUE(storage.NewBook());
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_EQ(items.GetCount(), 1);
    EXPECT_EQ(items.GetItem(0)->GetQuestionType(), qtMultipleChoice);
    EXPECT_TRUE(storage.IsBookLoaded());
    EXPECT_EQ(storage.GetFileName(), "");
    EXPECT_EQ(storage.GetCurrentBookIndex(), -1);
}

TEST_F(Datastorage, SetCurrentModeHandsThePhaseToTheBookReadSigned)
{
    storage.SetCurrentMode(3);
    EXPECT_EQ(storage.GetItemsPtr2()->GetCurrentMode(), eamEditMode);
    storage.SetCurrentMode(CDataStorage::kNoMode);
    EXPECT_EQ(storage.GetCurrentMode(), 255);
    EXPECT_EQ(storage.GetItemsPtr2()->GetCurrentMode(), eamNone);
}

class DatastorageUnreadable : public Datastorage, public ::testing::WithParamInterface<bool>
{
};

TEST_P(DatastorageUnreadable, OpeningAMissingOrEmptyFileWarnsOnceAndGivesAOneQuestionBook)
{
    const std::string path = dir.file("Lost.lnf");
    if (GetParam())
        WriteFile(path, "");
    storage.SetCurrentBookIndex(4);
    ASSERT_TRUE(storage.OpenBook(path));
    EXPECT_EQ(sinks.warnings, std::vector<std::string>{kCorrupted});
    EXPECT_EQ(storage.GetItemsPtr2()->GetCount(), 1);
    EXPECT_TRUE(storage.IsBookLoaded(&path));
    EXPECT_EQ(storage.GetCurrentBookIndex(), -1);
}

INSTANTIATE_TEST_SUITE_P(MissingOrEmpty, DatastorageUnreadable, ::testing::Bool());

TEST_F(Datastorage, OpensANativeBookRecognisedByContentWhateverItsExtension)
{
    const std::string path = WriteBook("Biology.pdb", {"Cells"});
    ASSERT_TRUE(storage.OpenBook(path));
    EXPECT_TRUE(storage.IsBookLoaded(&path));
    EXPECT_EQ(BookOrderNames(*storage.GetItemsPtr2()), "Q in Cells");
    EXPECT_FALSE(storage.GetItemsPtr2()->IsModified());
    EXPECT_TRUE(sinks.warnings.empty());
}

TEST_F(Datastorage, OpeningTheLoadedBookAgainKeepsItsUnsavedChanges)
{
    const std::string path = WriteBook("Bio.lnf", {"Cells"});
    ASSERT_TRUE(storage.OpenBook(path));
    BookBuilder(*storage.GetItemsPtr2()).essay("Unsaved");
    ASSERT_TRUE(storage.OpenBook(path));
    ASSERT_TRUE(storage.OpenBook(path, true));
    EXPECT_EQ(BookOrderNames(*storage.GetItemsPtr2()), "Q in Cells,Unsaved");
}

TEST_F(Datastorage, OpeningForChaptersOnlySetsOnlyThatFlag)
{
    const std::string path = WriteBook("Bio.lnf", {"Cells", "Plants"});
    ASSERT_TRUE(storage.OpenBook(path, true));
    EXPECT_TRUE(storage.IsCategoriesOnlyLoaded(&path));
    EXPECT_FALSE(storage.IsBookLoaded());
    EXPECT_EQ(storage.GetItemsPtr2()->GetCount(), 0);
    EXPECT_EQ(storage.GetItemsPtr2()->GetCategoryCount(), 3);
}

TEST_F(Datastorage, AFileThatIsNoNativeBookGoesToTheHandheldReaderAndFailsSilently)
{
    ASSERT_TRUE(storage.OpenBook(dir.file("Bio.lnf"))); // a new book under that name
    EXPECT_FALSE(storage.OpenBook(DataFile("books/not_xml.pdb")));
    EXPECT_FALSE(storage.IsBookLoaded());
    EXPECT_FALSE(storage.IsCategoriesOnlyLoaded());
    EXPECT_EQ(sinks.warnings.size(), 1u); // only the one of the first open
    EXPECT_NE(env.LogText().find("CDataStorage::LoadPDB, File name - "), std::string::npos);
}

TEST_F(Datastorage, IsXmlRootComparesTheTopElementExactly)
{
    const std::string path = WriteBook("Bio.lnf", {});
    EXPECT_TRUE(CDataStorage::IsXmlRoot(path, "Lernfold"));
    EXPECT_FALSE(CDataStorage::IsXmlRoot(path, "lernfold"));
    EXPECT_FALSE(CDataStorage::IsXmlRoot(path, "Questions"));
    EXPECT_FALSE(CDataStorage::IsXmlRoot(DataFile("books/not_xml.pdb"), "Lernfold"));
    EXPECT_FALSE(CDataStorage::IsXmlRoot(dir.file("none.lnf"), "Lernfold"));
}

TEST_F(Datastorage, RestoringABackupAfterACloseTakesTheClosedBooksNameAndIsModified)
{
    const std::string book = WriteBook("Bio.lnf", {"Cells"});
    const std::string backup = WriteBook("Bio_(2024_03_05_14_07_09).bnf", {"Plants"});
    ASSERT_TRUE(storage.OpenBook(book));
    storage.SetCurrentMode(3);
    storage.CloseBook();
    EXPECT_EQ(storage.GetFileName(), "");
    EXPECT_EQ(storage.GetPrevFileName(), book);
    EXPECT_EQ(storage.GetCurrentMode(), CDataStorage::kNoMode);
    EXPECT_FALSE(storage.IsBookLoaded());

    ASSERT_TRUE(storage.RestoreBook(backup));
    EXPECT_EQ(storage.GetFileName(), book);
    EXPECT_TRUE(storage.GetItemsPtr2()->IsModified());
    EXPECT_EQ(BookOrderNames(*storage.GetItemsPtr2()), "Q in Plants");
}

TEST_F(Datastorage, RestoringAnEmptyBackupWarns)
{
    WriteFile(dir.file("empty.bnf"), "");
    EXPECT_FALSE(storage.RestoreBook(dir.file("empty.bnf")));
    EXPECT_EQ(sinks.warnings,
              std::vector<std::string>{"ERROR. The backup file is empty. Try to use a different one."});
    EXPECT_FALSE(storage.IsBookLoaded());
}

TEST_F(Datastorage, AppendingMovesChaptersAndTheirParentsPastTheHighestChapterAndMarksTheBookModified)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = WriteBook("Open.lnf", {"A", "B", "C", "D", "E"});
    ASSERT_TRUE(storage.OpenBook(path));
    ASSERT_TRUE(storage.AppendBook(DataFile("books/merge_source.lnf")));

    EXPECT_TRUE(storage.IsBookLoaded(&path));
    EXPECT_TRUE(items.IsModified());
    SCategoryInfo cells;
    SCategoryInfo organelles;
    ASSERT_TRUE(items.GetCategoryInfo(6, cells));
    ASSERT_TRUE(items.GetCategoryInfo(7, organelles));
    EXPECT_EQ(cells.Name, "Cells");
    EXPECT_EQ(cells.Parent, -1);
    EXPECT_EQ(organelles.Name, "Organelles");
    EXPECT_EQ(organelles.Parent, 6);
    EXPECT_EQ(items.GetCategoryName(0), "Unfiled");

    EXPECT_EQ(FindByName(items, "InUnfiled")->GetCategoryID(), 0);
    EXPECT_EQ(FindByName(items, "InCells")->GetCategoryID(), 6);
    EXPECT_EQ(FindByName(items, "InOrganelles")->GetCategoryID(), 7);
    EXPECT_EQ(FindByName(items, "InTrash")->GetCategoryID(), kTrashCategoryID);
    EXPECT_EQ(items.GetCount(), 9);
}

TEST_F(Datastorage, AFailedAppendLeavesTheOpenBookLoadedAndUnchanged)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = WriteBook("Open.lnf", {"A"});
    ASSERT_TRUE(storage.OpenBook(path));

    EXPECT_FALSE(storage.AppendBook(DataFile("books/version_0.lnf")));
    EXPECT_FALSE(storage.AppendBook(DataFile("books/not_xml.pdb")));
    EXPECT_FALSE(storage.AppendBook(dir.file("none.lnf")));

    EXPECT_EQ(sinks.warnings,
              std::vector<std::string>{
                  "ERROR. The file is corrupted. Try to use the restore feature in Edit Phase."});
    EXPECT_TRUE(storage.IsBookLoaded(&path));
    EXPECT_FALSE(items.IsModified());
    EXPECT_EQ(BookOrderNames(items), "Q in A");
    EXPECT_EQ(items.GetCategoryCount(), 2);
}

TEST_F(Datastorage, RescanningTheBookListLooksTheOpenBookUpAgain)
{
    TempDir books;
    env.prefs.SetBooksDirectory(books.folder());
    CItemsArray2 items;
    BookBuilder(items).essay("Q");
    ASSERT_TRUE(storage.SaveXML(books.file("Anatomy.lnf"), &items, true));
    ASSERT_TRUE(storage.SaveXML(books.file("Botany.lnf"), &items, true));

    ASSERT_TRUE(storage.ReloadBookList());
    ASSERT_TRUE(storage.OpenBook(books.file("Botany.lnf")));
    ASSERT_TRUE(storage.ReloadBookList());
    const std::int32_t index = storage.GetCurrentBookIndex();
    ASSERT_GE(index, 0);
    EXPECT_EQ(storage.GetBookList()->GetFileName(index), "Botany.lnf");

    // The entries are numbered anew when a book goes; an index from before would name another book.
    std::filesystem::remove(books.file("Anatomy.lnf"));
    ASSERT_TRUE(storage.ReloadBookList());
    ASSERT_EQ(storage.GetCurrentBookIndex(), 0);
    EXPECT_EQ(storage.GetBookList()->GetFileName(0), "Botany.lnf");

    std::filesystem::remove(books.file("Botany.lnf"));
    EXPECT_FALSE(storage.ReloadBookList());
    EXPECT_EQ(storage.GetCurrentBookIndex(), -1);
    env.prefs.SetBooksDirectory("");
}

TEST_F(Datastorage, PrepareContentBuildsLowerCasePlainSearchTextsOfEveryQuestion)
{
    lf::RichDocument rich;
    rich.content.AddText("Mitochondria MAKE", 0, 0);
    rich.content.AddText("Energy", 0, 0);
    const std::string stored = lf::WriteRichXml(rich);

    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items)
        .multipleChoice(stored, {"ATP", "DNA"}, 0)
        .name("Cell")
        .item(qtShortAnswer, "Q")
        .name("Short");
    SAnswerItem pattern;
    pattern.AnswerText = "Par*";
    items.GetItem(1)->AddAnswer(pattern);
    const std::string path = dir.file("search.lnf");
    ASSERT_TRUE(storage.SaveXML(path, &items, true));
    ASSERT_TRUE(storage.OpenBook(path));

    storage.PrepareContent(); // no hidden view: nothing is built
    EXPECT_FALSE(items.GetItem(0)->IsSearchTextFilled());

    lf::RichDocument view;
    storage.SetRichViews(&view, nullptr);
    sinks.statusTexts.clear();
    storage.PrepareContent();
    EXPECT_EQ(items.GetItem(0)->GetSearchText(), "cellmitochondriamakeenergyatpdna");
    EXPECT_EQ(items.GetItem(1)->GetSearchText(), "shortqpar*");
    EXPECT_TRUE(items.GetItem(0)->IsSearchTextFilled());
    EXPECT_EQ(sinks.statusTexts, (std::vector<std::string>{"Prepare content...", ""}));
    EXPECT_GE(sinks.pumped, 2);
}

TEST_F(Datastorage, FormatsOfOtherUnitsReportFailure)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    EXPECT_FALSE(storage.SaveKindleXML(dir.file("x.lnf2"), &items, /*flag1=*/false, /*flag2=*/false));
    EXPECT_FALSE(storage.LoadMoodleXML(dir.file("x.xml"), &items, false));
    EXPECT_FALSE(storage.ReformatRichTexts(&items, false, SPictureReformatSettings{}));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// --- The book-wide picture rework ---

// Stands for the picture rework: marks every text holding "pic" as reworked, and records what it was given.
// onText, when set, runs after each text, as a question whose answers change under the walk.
class FakePictureRework : public IPictureRework
{
public:
    bool ReformatRichTextPictures(std::string& text, lf::RichDocument* view, lf::RichDocument* edit,
                                  const SPictureReformatSettings& settings) override
    {
        seen.push_back(text);
        views.push_back(view);
        edits.push_back(edit);
        percents.push_back(settings.percent);
        if (text.find("pic") != std::string::npos)
            text += " [png]";
        if (onText)
            onText(text);
        return true;
    }

    std::vector<std::string> seen;
    std::vector<lf::RichDocument*> views;
    std::vector<lf::RichDocument*> edits;
    std::vector<int> percents;
    std::function<void(const std::string&)> onText;
};

class PictureReworkTest : public Datastorage
{
protected:
    PictureReworkTest()
    {
        storage.SetRichViews(&view, &edit);
        CDataStorage::SetPictureRework(&rework);
    }
    ~PictureReworkTest() override { CDataStorage::SetPictureRework(nullptr); }

    // The questions of the Edit phase's sequence: every kind, the Trash and a deleted one among them.
    void BuildBook()
    {
        BookBuilder b(items());
        b.multipleChoice("q1 pic", {"a pic", "b"}, 0);
        b.last()->SetGeneralFeedback("because pic");
        b.last()->SetStatus(qsSelected, true);
        b.multipleChoice("q2 pic", {"c"}, 0).trashed();
        b.last()->SetStatus(qsSelected, true);
        b.multipleChoice("q3 pic", {"d"}, 0);
        b.last()->SetStatus(qsDeleted | qsSelected, true);
        b.essay("q4 pic");
        b.last()->SetStatus(qsSelected, true);
        b.multipleChoice("q5", {"e pic"}, 0);
        b.multipleChoice("q6 pic", {"f"}, 0);
        items().SetCurrentMode(EPhase::Edit, true);
        // A question the chapter filter left out.
        items().GetItem(5)->SetInSequence(false);
        items().GetItem(5)->SetStatus(qsSelected, true);
        items().SetModified(false);
    }

    CItemsArray2& items() { return *storage.GetItemsPtr2(); }

    lf::RichDocument view;
    lf::RichDocument edit;
    FakePictureRework rework;
};

TEST_F(PictureReworkTest, ReworksTheTextsOfTheMultipleChoiceMembersInBookOrder)
{
    BuildBook();
    SPictureReformatSettings settings;
    settings.percent = 150;
    const int pumpedBefore = sinks.pumped;
    ASSERT_TRUE(storage.ReformatRichTexts(&items(), false, settings));

    EXPECT_EQ(rework.seen,
              (std::vector<std::string>{"q1 pic", "a pic", "b", "because pic", "q5", "e pic", ""}));
    EXPECT_EQ(items().GetItem(0)->GetQuestionText(), "q1 pic [png]");
    EXPECT_EQ(items().GetItem(0)->GetGeneralFeedback(), "because pic [png]");
    SAnswerItem* answer = nullptr;
    ASSERT_TRUE(items().GetItem(4)->GetAnswer(0, answer));
    EXPECT_EQ(answer->AnswerText, "e pic [png]");
    EXPECT_EQ(items().GetItem(5)->GetQuestionText(), "q6 pic");
    EXPECT_TRUE(items().IsModified());
    // Through the storage's hidden view and editor, with the caller's settings; events run per question.
    EXPECT_EQ(rework.views.front(), &view);
    EXPECT_EQ(rework.edits.front(), &edit);
    EXPECT_EQ(rework.percents.front(), 150);
    EXPECT_GE(sinks.pumped - pumpedBefore, items().GetCount());
}

TEST_F(PictureReworkTest, OnlySelectedQuestionsWhenAsked)
{
    BuildBook();
    ASSERT_TRUE(storage.ReformatRichTexts(&items(), true, SPictureReformatSettings{}));
    EXPECT_EQ(rework.seen, (std::vector<std::string>{"q1 pic", "a pic", "b", "because pic"}));
}

TEST_F(PictureReworkTest, AStopAtAnUnreadableAnswerKeepsTheBookModifiedWhenATextChanged)
{
    BookBuilder b(items());
    b.multipleChoice("q1 pic", {"a", "b", "c"}, 0);
    b.multipleChoice("q2 pic", {"d"}, 0);
    items().SetCurrentMode(EPhase::Edit, true);
    items().SetModified(false);
    CBaseItem* first = items().GetItem(0);
    // The last answer disappears while the first one is reworked: the walk cannot read it.
    rework.onText = [first](const std::string& text)
    {
        if (text == "a")
            first->DeleteAnswer(2);
    };
    EXPECT_FALSE(storage.ReformatRichTexts(&items(), false, SPictureReformatSettings{}));
    EXPECT_EQ(rework.seen, (std::vector<std::string>{"q1 pic", "a", "b"}));
    EXPECT_EQ(first->GetQuestionText(), "q1 pic [png]");
    EXPECT_EQ(items().GetItem(1)->GetQuestionText(), "q2 pic");
    EXPECT_TRUE(items().IsModified());
    EXPECT_NE(env.LogText().find("CDataStorage::ReformatRichTexts - ERROR"), std::string::npos);
}

TEST_F(PictureReworkTest, AStopBeforeAnyChangeLeavesTheBookUnmodified)
{
    BookBuilder b(items());
    b.multipleChoice("q1", {"a", "b"}, 0);
    items().SetCurrentMode(EPhase::Edit, true);
    items().SetModified(false);
    CBaseItem* first = items().GetItem(0);
    rework.onText = [first](const std::string& text)
    {
        if (text == "a")
            first->DeleteAnswer(1);
    };
    EXPECT_FALSE(storage.ReformatRichTexts(&items(), false, SPictureReformatSettings{}));
    EXPECT_FALSE(items().IsModified());
}

TEST_F(Datastorage, PictureReworkWithoutAnInstalledReworkChangesNothing)
{
    BookBuilder(*storage.GetItemsPtr2()).multipleChoice("q1 pic", {"a"}, 0);
    storage.GetItemsPtr2()->SetModified(false);
    EXPECT_FALSE(storage.ReformatRichTexts(storage.GetItemsPtr2(), false, SPictureReformatSettings{}));
    EXPECT_FALSE(storage.GetItemsPtr2()->IsModified());
    EXPECT_NE(env.LogText().find("the picture rework is not installed"), std::string::npos);
}

} // namespace
