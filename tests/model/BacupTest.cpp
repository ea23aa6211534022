// The undo history: the cursor and the redo tail, and taking back and doing again every kind of entry on
// the record it names.
#include "model/collection/Bacup.h"

#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using lf::test::BookBuilder;
using lf::test::FindByName;
using lf::test::SequenceNames;

namespace
{

using lf::test::PrintTo;

class BackupTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    BackupTest()
    {
        BookBuilder(items)
            .chapter("Bio")
            .multipleChoice("q1", {"a", "b"}, 0)
            .layer("1")
            .multipleChoice("q2", {"a", "b"}, 0)
            .layer("2")
            .chapter("Chem")
            .multipleChoice("q3", {"a", "b"}, 0)
            .layer("3");
        items.SetCurrentMode(eamEditMode, true);
        items.SetModified(false);
    }

    CBaseItem* Item(const char* name) { return FindByName(items, name); }
    std::int32_t Record(const char* name) { return items.GetRecordIndex(Item(name)); }
    // Pushes a mark change of q1 whose old status word is value, as a stand-in for any entry.
    void PushMark(std::int32_t value) { history().Add(Record("q1"), ebatFieldChange, ecdtStatus, "", value); }
    CBackupItem& history() { return items.GetBackupItem(); }
};

TEST_F(BackupTest, NewEntryDropsTheRedoTailWithItsCopies)
{
    history().Add(Record("q1"), ebatFieldChange, ecdtLayer, "A", -1);
    history().Add(Record("q1"), ebatFieldChange, ecdtAllData, "B", -1, items.CopyItemForUndo(Item("q1")));
    history().Add(Record("q1"), ebatFieldChange, ecdtAllData, "C", -1, items.CopyItemForUndo(Item("q1")));
    SItemInfo entry;
    ASSERT_TRUE(history().GetEntry(1, entry));
    std::weak_ptr<CBaseItem> copyOfB = entry.SavedItem;
    entry = SItemInfo{};

    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_TRUE(history().CanRedo());
    history().Add(Record("q2"), ebatFieldChange, ecdtLayer, "D", -1);

    ASSERT_EQ(history().GetCount(), 2);
    EXPECT_EQ(history().GetCursor(), 1);
    ASSERT_TRUE(history().GetEntry(0, entry));
    EXPECT_EQ(entry.OldText, "A");
    ASSERT_TRUE(history().GetEntry(1, entry));
    EXPECT_EQ(entry.OldText, "D");
    EXPECT_TRUE(copyOfB.expired()) << "a dropped entry frees its copy";
    EXPECT_FALSE(history().CanRedo());
}

TEST_F(BackupTest, PushAfterUndoingEverythingStartsAfresh)
{
    PushMark(0);
    PushMark(16);
    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_FALSE(history().CanUndo());
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_EQ(record, -1);
    PushMark(0);
    EXPECT_EQ(history().GetCount(), 1);
    EXPECT_EQ(history().GetCursor(), 0);
}

TEST_F(BackupTest, CanUndoAndCanRedo)
{
    EXPECT_FALSE(history().CanUndo());
    EXPECT_FALSE(history().CanRedo());
    PushMark(0);
    EXPECT_TRUE(history().CanUndo());
    EXPECT_FALSE(history().CanRedo());
    history().Clear();
    EXPECT_FALSE(history().CanUndo());
    EXPECT_FALSE(history().CanRedo());
    std::int32_t record = 7;
    bool refreshAll = true;
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_EQ(record, -1);
    EXPECT_FALSE(refreshAll);
    EXPECT_FALSE(items.Redo(record, refreshAll));
}

TEST_F(BackupTest, EmptyingTheCollectionEmptiesTheHistory)
{
    // Entries name records by index; left behind, they would act on whatever question of the next book
    // happens to get the same index.
    history().Add(Record("q1"), ebatRecordAdded, kBackupStateDone, "", -1);
    history().Add(Record("q2"), ebatFieldChange, ecdtAllData, "", -1, items.CopyItemForUndo(Item("q2")));
    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));

    items.Clear();
    EXPECT_EQ(history().GetCount(), 0);
    EXPECT_EQ(history().GetCursor(), -1);
    EXPECT_FALSE(history().CanUndo());
    EXPECT_FALSE(history().CanRedo());

    BookBuilder(items).multipleChoice("other1", {"a"}, 0).multipleChoice("other2", {"a"}, 0);
    CBaseItem* first = Item("other1");
    CBaseItem* second = Item("other2");
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_FALSE(items.Redo(record, refreshAll));
    EXPECT_EQ(record, -1);
    EXPECT_FALSE(first->TestStatus(qsDeleted));
    EXPECT_EQ(items.GetRecord(0), first);
    EXPECT_EQ(items.GetRecord(1), second);
    EXPECT_EQ(second->GetName(), "other2");
}

TEST_F(BackupTest, RecordTheBookDoesNotHaveIsRefused)
{
    history().Add(99, ebatRecordAdded, kBackupStateDone, "", -1);
    std::int32_t record = 0;
    bool refreshAll = false;
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_EQ(history().GetCursor(), 0) << "a failure leaves the cursor";
    EXPECT_FALSE(items.IsModified());
}

TEST_F(BackupTest, RecordEntryWithAnUnknownStateIsLoggedAndRefused)
{
    history().Add(Record("q1"), ebatMoveToTrushRecord, 3, "", 0);
    std::int32_t record = -1;
    bool refreshAll = false;
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_NE(env.LogText().find("CBackupItem::Undo - ebatMoveToTrushRecord"), std::string::npos);
    history().Add(Record("q1"), ebatDeleteRecord, 9, "", 0);
    items.Undo(record, refreshAll);
    EXPECT_NE(env.LogText().find("CBackupItem::Undo - ebatDeleteRecord"), std::string::npos);
    EXPECT_EQ(Item("q1")->GetQuestionStatus() & (qsDeleted | qsInTrash), 0u);
}

TEST_F(BackupTest, WholeRecordEntryWithoutCopyIsRefused)
{
    history().Add(Record("q1"), ebatFieldChange, ecdtAllData, "", -1);
    std::int32_t record = -1;
    bool refreshAll = false;
    EXPECT_FALSE(items.Undo(record, refreshAll));
    EXPECT_TRUE(history().CanUndo());
}

TEST_F(BackupTest, TrashThenDeleteForGoodTakenBackAndDoneAgain)
{
    CBaseItem* q2 = Item("q2");
    const std::int32_t bio = q2->GetCategoryID();
    // Move to the Trash, then delete for good, as the deletion commands do.
    history().Add(Record("q2"), ebatMoveToTrushRecord, kBackupStateDone, "", bio);
    q2->SetStatus(qsInTrash, true);
    q2->SetCategoryID(kTrashCategoryID);
    history().Add(Record("q2"), ebatDeleteRecord, kBackupStateDone, "", -1);
    q2->SetStatus(qsDeleted, true);
    q2->SetStatus(qsInTrash, false);

    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_EQ(record, Record("q2"));
    EXPECT_TRUE(refreshAll);
    EXPECT_EQ(q2->GetCategoryID(), kTrashCategoryID);
    EXPECT_TRUE(q2->TestStatus(qsInTrash));
    EXPECT_FALSE(q2->TestStatus(qsDeleted));
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_EQ(q2->GetCategoryID(), bio);
    EXPECT_FALSE(q2->TestStatus(qsInTrash | qsDeleted));
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "q1,q2,q3");

    ASSERT_TRUE(items.Redo(record, refreshAll));
    ASSERT_TRUE(items.Redo(record, refreshAll));
    EXPECT_TRUE(q2->TestStatus(qsDeleted));
    EXPECT_FALSE(q2->TestStatus(qsInTrash));
    EXPECT_EQ(q2->GetCategoryID(), kTrashCategoryID);
    EXPECT_FALSE(items.Redo(record, refreshAll));
}

TEST_F(BackupTest, UndoOfAnAddedQuestionTakesItOutOfEverySequence)
{
    CBaseItem* added = items.AddNewItem(qtMultipleChoice, nullptr, -1, -1);
    added->SetName("new");
    history().Add(items.GetRecordIndex(added), ebatRecordAdded, kBackupStateDone, "", -1);
    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_TRUE(added->TestStatus(qsDeleted));
    for (EActionMode phase : {eamTestMode, eamEditMode})
    {
        items.SetCurrentMode(static_cast<std::uint8_t>(phase), true);
        EXPECT_EQ(SequenceNames(items), "q1,q2,q3") << phase;
    }
    ASSERT_TRUE(items.Redo(record, refreshAll));
    EXPECT_FALSE(added->TestStatus(qsDeleted));
}

TEST_F(BackupTest, ChapterMoveRefreshesAllMarkChangeOneRow)
{
    CBaseItem* q1 = Item("q1");
    const std::int32_t chem = Item("q3")->GetCategoryID();
    history().Add(Record("q1"), ebatFieldChange, ecdtCategory, "", q1->GetCategoryID());
    q1->SetCategoryID(chem);
    history().Add(Record("q1"), ebatFieldChange, ecdtStatus, "",
                  static_cast<std::int32_t>(q1->GetQuestionStatus()));
    q1->SetStatus(qsMarked, true);

    std::int32_t record = -1;
    bool refreshAll = true;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_EQ(record, Record("q1"));
    EXPECT_FALSE(refreshAll);
    EXPECT_FALSE(q1->IsMarked());
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_TRUE(refreshAll);
    EXPECT_NE(q1->GetCategoryID(), chem);
}

TEST_F(BackupTest, WholeRecordUndoAfterASortKeepsPlaceAndIdentity)
{
    CBaseItem* q3 = Item("q3");
    const std::int32_t id = q3->GetID();
    const std::int64_t created = q3->GetWhenCreated();
    const std::int32_t record = Record("q3");
    history().Add(record, ebatFieldChange, ecdtAllData, "", -1, items.CopyItemForUndo(q3));
    q3->SetQuestionText("edited");
    q3->SetCategoryID(0);

    // A study rebuild sorts the book: q3, now unfiled, comes first, far from its record index.
    items.SetCurrentMode(eamTestMode, true);
    items.SetCurrentMode(eamEditMode, true);
    ASSERT_EQ(items.GetItem(0), q3);

    std::int32_t changed = -1;
    bool refreshAll = true;
    ASSERT_TRUE(items.Undo(changed, refreshAll));
    EXPECT_EQ(changed, record);
    EXPECT_FALSE(refreshAll);
    CBaseItem* restored = items.GetRecord(record);
    EXPECT_EQ(restored->GetQuestionText(), "q3");
    EXPECT_EQ(restored->GetID(), id) << "undo never changes a question's identity";
    EXPECT_EQ(restored->GetWhenCreated(), created);
    EXPECT_EQ(items.IndexOfItem(restored), 0) << "the copy takes the record's own place in book order";
    EXPECT_EQ(items.GetGridListItem(0), restored);
    EXPECT_EQ(items.IndexOfItem(q3), -1);

    ASSERT_TRUE(items.Redo(changed, refreshAll));
    EXPECT_EQ(items.GetRecord(record)->GetQuestionText(), "edited");
    EXPECT_EQ(items.GetRecord(record)->GetID(), id);
}

// Every kind of entry, taken back and done again, restores the state before and after the change and
// leaves the book modified, so the next save writes it.
struct ChangeCase
{
    const char* name;
    // Pushes the entry for q1 and makes the change, as the commands do.
    std::function<void(CItemsArray2&, CBaseItem*&)> change;
};

class UndoRedoTest : public BackupTest, public ::testing::WithParamInterface<ChangeCase>
{
protected:
    // What the change can touch, as one comparable text.
    static std::string State(const CBaseItem* item)
    {
        return std::to_string(item->GetQuestionStatus()) + "|" + std::to_string(item->GetCategoryID()) + "|" +
               item->GetLayersStr() + "|" + item->GetQuestionText() + "|" + std::to_string(item->GetID());
    }
};

TEST_P(UndoRedoTest, TakesBackDoesAgainAndMarksModified)
{
    CBaseItem* target = Item("q1");
    GetParam().change(items, target);
    const std::int32_t record = items.GetRecordIndex(target);
    ASSERT_GE(record, 0);
    const std::string after = State(items.GetRecord(record));
    items.SetModified(false);

    std::int32_t changed = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(changed, refreshAll));
    EXPECT_EQ(changed, record);
    EXPECT_TRUE(items.IsModified());
    const std::string undone = State(items.GetRecord(record));
    EXPECT_NE(undone, after);

    items.SetModified(false);
    ASSERT_TRUE(items.Redo(changed, refreshAll));
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(State(items.GetRecord(record)), after);

    ASSERT_TRUE(items.Undo(changed, refreshAll));
    EXPECT_EQ(State(items.GetRecord(record)), undone) << "undo after redo gives the same state again";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, UndoRedoTest,
    ::testing::Values(ChangeCase{"Add",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     target = items.AddNewItem(qtEssay, nullptr, -1, -1);
                                     items.GetBackupItem().Add(items.GetRecordIndex(target), ebatRecordAdded,
                                                               kBackupStateDone, "", -1);
                                 }},
                      ChangeCase{"Trash",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     items.GetBackupItem().Add(items.GetRecordIndex(target),
                                                               ebatMoveToTrushRecord, kBackupStateDone, "",
                                                               target->GetCategoryID());
                                     target->SetStatus(qsInTrash, true);
                                     target->SetCategoryID(kTrashCategoryID);
                                 }},
                      ChangeCase{"DeleteForGood",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     target->SetStatus(qsInTrash, true);
                                     target->SetCategoryID(kTrashCategoryID);
                                     items.GetBackupItem().Add(items.GetRecordIndex(target), ebatDeleteRecord,
                                                               kBackupStateDone, "", -1);
                                     target->SetStatus(qsInTrash, false);
                                     target->SetStatus(qsDeleted, true);
                                 }},
                      ChangeCase{"Layer",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     items.GetBackupItem().Add(items.GetRecordIndex(target), ebatFieldChange,
                                                               ecdtLayer, target->GetLayersStr(), -1);
                                     target->SetLayersStr("2.7");
                                 }},
                      ChangeCase{"Chapter",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     items.GetBackupItem().Add(items.GetRecordIndex(target), ebatFieldChange,
                                                               ecdtCategory, "", target->GetCategoryID());
                                     target->SetCategoryID(0);
                                 }},
                      ChangeCase{"Mark",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     items.GetBackupItem().Add(
                                         items.GetRecordIndex(target), ebatFieldChange, ecdtStatus, "",
                                         static_cast<std::int32_t>(target->GetQuestionStatus()));
                                     target->SetStatus(qsMarked, true);
                                 }},
                      ChangeCase{"WholeQuestion",
                                 [](CItemsArray2& items, CBaseItem*& target)
                                 {
                                     items.GetBackupItem().Add(items.GetRecordIndex(target), ebatFieldChange,
                                                               ecdtAllData, "", -1,
                                                               items.CopyItemForUndo(target));
                                     target->SetQuestionText("rewritten");
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
