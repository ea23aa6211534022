// Question sets on the clipboard: what a copy puts there, where a paste puts the questions, their undo
// entries, and the texts a paste refuses.
#include "tests/model/DatastorageTestSupport.h"

#include "platform/sys/Clipboard.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>

using namespace lf::test;

namespace
{

using lf::test::PrintTo;

class DatastorageClipboard : public ::testing::Test, public StorageFixture
{
protected:
    DatastorageClipboard()
    {
        lf::sys::SetClipboard(&clipboard);
        BookBuilder(target()).chapter("Biology").description("t1").description("t2");
        target().SetModified(false);
    }
    ~DatastorageClipboard() override { lf::sys::SetClipboard(nullptr); }

    CItemsArray2& target() { return *storage.GetItemsPtr2(); }

    // A source book whose questions q1..q4 lie in chapters "Cells" (ID 1) and "Genes" (ID 2), with the
    // named ones selected in the question list and in the sequence.
    void CopyFromSource(std::initializer_list<const char*> selected)
    {
        BookBuilder book(source);
        book.chapter("Cells").multipleChoice("q1", {"a", "b"}, 1).description("q2");
        book.chapter("Genes").description("q3").description("q4");
        for (const char* name : selected)
            FindByName(source, name)->SetStatus(qsSelected | qsInSequence, true);
        ASSERT_TRUE(storage.CopyToClipboardAsXML(&source));
    }

    // What the paste must leave alone when it refuses.
    struct SSnapshot
    {
        std::string names;
        std::int32_t undoEntries;
        bool modified;
    };
    SSnapshot Snapshot()
    {
        return {BookOrderNames(target()), target().GetBackupItem().GetCount(), target().IsModified()};
    }

    lf::sys::MemoryClipboard clipboard;
    CItemsArray2 source;
};

TEST_F(DatastorageClipboard, CopyTakesSelectedMembersOfTheSequenceWithTheirChapterNames)
{
    CopyFromSource({"q1", "q3", "q4"});
    FindByName(source, "q4")->SetInSequence(false);
    clipboard.SetData(lf::sys::kClipboardHtml, "<b>stale</b>");
    ASSERT_TRUE(storage.CopyToClipboardAsXML(&source));

    EXPECT_FALSE(clipboard.HasFormat(lf::sys::kClipboardHtml));
    const std::string text = clipboard.Data(lf::sys::kClipboardText);
    EXPECT_EQ(
        text.rfind("<?xml version=\"1.0\"?>\n<Lernfold Version=\"1\">\n\t<Questions>\n\t\t<Question ", 0), 0u)
        << text;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    const pugi::xml_node root = doc.child("Lernfold");
    EXPECT_FALSE(root.child("Categories"));
    std::string taken;
    for (pugi::xml_node q = root.child("Questions").child("Question"); q; q = q.next_sibling("Question"))
        taken += std::string(q.attribute("Name").value()) + "@" + q.attribute("CategoryName").value() + ";";
    EXPECT_EQ(taken, "q1@Cells;q3@Genes;");
}

TEST_F(DatastorageClipboard, PasteAtPositionInsertsInOrderWithOneUndoEntryEach)
{
    CopyFromSource({"q2", "q3"});
    const std::int32_t undoBefore = target().GetBackupItem().GetCount();

    ASSERT_TRUE(storage.PasteFromClipboard(&target(), 1, -1, false));
    EXPECT_EQ(BookOrderNames(target()), "t1,q2,q3,t2");
    EXPECT_EQ(target().GetBackupItem().GetCount(), undoBefore + 2);
    EXPECT_TRUE(target().IsModified());
    EXPECT_EQ(target().GetCurrentIndex(), -1);
    // Pasted questions keep the IDs they carry.
    EXPECT_EQ(FindByName(target(), "q2")->GetID(), FindByName(source, "q2")->GetID());

    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(target().Undo(record, refreshAll));
    EXPECT_TRUE(target().GetRecord(record)->TestStatus(qsDeleted));
    EXPECT_EQ(target().GetRecord(record)->GetName(), "q3");
    ASSERT_TRUE(target().Undo(record, refreshAll));
    EXPECT_EQ(target().GetRecord(record)->GetName(), "q2");
    EXPECT_TRUE(target().GetRecord(record)->TestStatus(qsDeleted));
}

struct SChapterCase
{
    const char* label;
    std::int32_t viewedChapter; // -2 all chapters, -10 the Trash
    bool mapByName;
    const char* expected; // name@chapter name of each pasted question
};

class DatastorageClipboardChapters : public DatastorageClipboard,
                                     public ::testing::WithParamInterface<SChapterCase>
{
};

TEST_P(DatastorageClipboardChapters, PastedQuestionsGoToTheRightChapter)
{
    // The target has chapters 1 "Biology" and 2 "Genes": "Genes" is found by name, "Cells" is added as 3.
    target().GetOrAddCategoryByName("Genes");
    CopyFromSource({"q1", "q3"});
    ASSERT_TRUE(target().SetActiveCategory(GetParam().viewedChapter, false));
    ASSERT_TRUE(storage.PasteFromClipboard(&target(), -1, -1, GetParam().mapByName));
    std::string placed;
    for (const char* name : {"q1", "q3"})
    {
        const CBaseItem* item = FindByName(target(), name);
        ASSERT_NE(item, nullptr);
        placed += std::string(name) + "@" + target().GetCategoryName(item->GetCategoryID()) + ";";
    }
    EXPECT_EQ(placed, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Chapters, DatastorageClipboardChapters,
    ::testing::Values(SChapterCase{"ViewedChapter", 2, false, "q1@Genes;q3@Genes;"},
                      SChapterCase{"AllChaptersGiveUnfiled", -2, false, "q1@Unfiled;q3@Unfiled;"},
                      SChapterCase{"TrashGivesUnfiled", -10, false, "q1@Unfiled;q3@Unfiled;"},
                      SChapterCase{"ByNameFoundOrAdded", 1, true, "q1@Cells;q3@Genes;"}),
    [](const ::testing::TestParamInfo<SChapterCase>& info) { return info.param.label; });

TEST_F(DatastorageClipboard, MapByNameKeepsTheIdOfAnUnfiledQuestion)
{
    clipboard.SetData(
        lf::sys::kClipboardText,
        "<Lernfold Version=\"1\"><Questions><Question QuestionType=\"8\" Name=\"u\" CategoryID=\"1\""
        " CategoryName=\"Unfiled\"/></Questions></Lernfold>");
    ASSERT_TRUE(storage.PasteFromClipboard(&target(), -1, -1, true));
    EXPECT_EQ(FindByName(target(), "u")->GetCategoryID(), 1);
    EXPECT_EQ(target().GetCategoryCount(), 2);
}

TEST_F(DatastorageClipboard, FirstQuestionActuallyPastedBecomesCurrentAfterTheRebuild)
{
    clipboard.SetData(lf::sys::kClipboardText,
                      "<Lernfold Version=\"1\"><Questions>"
                      "<Question QuestionType=\"8\" Name=\"gone\" QuestionStatus=\"2\"/>"
                      "<Question QuestionType=\"8\" Name=\"kept\"/>"
                      "<Question QuestionType=\"8\" Name=\"next\"/>"
                      "</Questions></Lernfold>");
    storage.SetCurrentMode(eamEditMode);
    ASSERT_TRUE(target().Refilter(false));
    ASSERT_TRUE(target().Last());
    ASSERT_TRUE(storage.PasteFromClipboard(&target(), 0, -1, false));
    EXPECT_EQ(BookOrderNames(target()), "kept,next,t1,t2");

    ASSERT_TRUE(target().Refilter(false));
    ASSERT_TRUE(target().RestoreCurrentItem());
    EXPECT_EQ(CurrentName(target()), "kept");
}

TEST_F(DatastorageClipboard, PasteThatAddsNothingReturnsToTheQuestionOnShow)
{
    clipboard.SetData(
        lf::sys::kClipboardText,
        "<Lernfold Version=\"1\"><Questions><Question QuestionType=\"99\"/></Questions></Lernfold>");
    storage.SetCurrentMode(eamEditMode);
    ASSERT_TRUE(target().Refilter(false));
    ASSERT_TRUE(target().Last());
    ASSERT_TRUE(storage.PasteFromClipboard(&target(), 0, -1, false));
    ASSERT_TRUE(target().Refilter(false));
    ASSERT_TRUE(target().RestoreCurrentItem());
    EXPECT_EQ(CurrentName(target()), "t2");
}

TEST_F(DatastorageClipboard, PastesAQuestionSetOfTheArchive)
{
    SClipboardArchiveItem entry;
    entry.RichText = "<Lernfold Version=\"1\"><Questions><Question QuestionType=\"8\" Name=\"archived\"/>"
                     "</Questions></Lernfold>";
    entry.Kind = 1;
    storage.GetClipboardArchive()->AddItem(entry);
    clipboard.SetData(lf::sys::kClipboardText, "not the one");

    ASSERT_TRUE(storage.PasteFromClipboard(&target(), -1, 0, false));
    EXPECT_EQ(BookOrderNames(target()), "t1,t2,archived");

    const SSnapshot before = Snapshot();
    EXPECT_FALSE(storage.PasteFromClipboard(&target(), -1, 1, false));
    EXPECT_NE(env.LogText().find("CDataStorage::PasteFromClipboard. Error - GetItem(ClipboardArchiveIndex, "
                                 "ClipboardArchiveItem) == false"),
              std::string::npos);
    EXPECT_EQ(Snapshot().names, before.names);
}

struct SRefusalCase
{
    const char* label;
    bool hasText;
    std::string text;
    bool result;
};

class DatastorageClipboardRefusals : public DatastorageClipboard,
                                     public ::testing::WithParamInterface<SRefusalCase>
{
};

TEST_P(DatastorageClipboardRefusals, ChangesNothing)
{
    if (GetParam().hasText)
        clipboard.SetData(lf::sys::kClipboardText, GetParam().text);
    const SSnapshot before = Snapshot();
    EXPECT_EQ(storage.PasteFromClipboard(&target(), 0, -1, false), GetParam().result);
    const SSnapshot after = Snapshot();
    EXPECT_EQ(after.names, before.names);
    EXPECT_EQ(after.undoEntries, before.undoEntries);
    EXPECT_EQ(after.modified, before.modified);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DatastorageClipboardRefusals,
    ::testing::Values(SRefusalCase{"NoText", false, "", false},
                      SRefusalCase{"PlainText", true, "Capital of France?\tParis", false},
                      SRefusalCase{"BrokenXml", true, "<Lernfold Version=\"1\"><Questions>", false},
                      SRefusalCase{"VersionZero", true,
                                   "<Lernfold Version=\"0\"><Questions><Question QuestionType=\"8\"/>"
                                   "</Questions></Lernfold>",
                                   false},
                      SRefusalCase{"VersionMissing", true,
                                   "<Lernfold><Questions><Question QuestionType=\"8\"/>"
                                   "</Questions></Lernfold>",
                                   false},
                      SRefusalCase{"OtherRoot", true,
                                   "<quiz><Questions><Question QuestionType=\"8\"/></Questions></quiz>",
                                   true}),
    [](const ::testing::TestParamInfo<SRefusalCase>& info) { return info.param.label; });

} // namespace
