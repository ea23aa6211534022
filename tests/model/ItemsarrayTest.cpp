// The item collection: factory and IDs, stable record indexes, chapter table, replacement, conversion.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/items/Datatypes_Kinds.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <typeinfo>

using lf::test::BookBuilder;
using lf::test::BookOrderNames;
using lf::test::FindByName;

namespace
{

using lf::test::PrintTo;

class ItemsArrayTest : public ::testing::Test, public lf::test::BookSession
{
};

// --- Factory ----------------------------------------------------------------------------------------------

struct KindCase
{
    int kind;
    const std::type_info* type;
};

class FactoryTest : public ItemsArrayTest, public ::testing::WithParamInterface<KindCase>
{
};

TEST_P(FactoryTest, MakesTheKindWithAuthorLayerAndNewID)
{
    const KindCase c = GetParam();
    std::unique_ptr<CBaseItem> item = items.CreateItem(c.kind, true);
    ASSERT_NE(item, nullptr);
    const CBaseItem& made = *item;
    EXPECT_EQ(typeid(made), *c.type);
    EXPECT_EQ(item->GetQuestionType(), c.kind);
    EXPECT_EQ(item->GetOwnerStr(), "Tester");
    EXPECT_EQ(item->GetModifierStr(), "Tester");
    EXPECT_EQ(item->GetLayersStr(), "1");
    EXPECT_EQ(static_cast<std::uint32_t>(item->GetID()), items.GetLastItemID());
    EXPECT_GT(item->GetID(), 0);
    EXPECT_EQ(items.CreateItem(c.kind, false)->GetID(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, FactoryTest,
    ::testing::Values(KindCase{1, &typeid(CMultipleChoiceItem)}, KindCase{2, &typeid(CTrueFalseItem)},
                      KindCase{3, &typeid(CDescriptionItem)}, KindCase{4, &typeid(CEssayItem)},
                      KindCase{5, &typeid(CShortAnswerItem)}, KindCase{6, &typeid(CMatchingItem)},
                      KindCase{7, &typeid(CCalculatedItem)}, KindCase{8, &typeid(CNumericalItem)},
                      KindCase{9, &typeid(CRandomShortAnswerMatchingItem)},
                      KindCase{10, &typeid(CEmbeddedItem)}),
    [](const auto& info) { return "Kind" + std::to_string(info.param.kind); });

TEST_F(ItemsArrayTest, RefusesKindsOutsideOneToTen)
{
    for (int kind : {-1, 0, 11, 255})
    {
        EXPECT_EQ(items.CreateItem(kind, true), nullptr) << kind;
        EXPECT_EQ(items.AddNewItem(kind, nullptr, -1, -1), nullptr) << kind;
    }
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(items.GetLastItemID(), 0u) << "a refused kind takes no ID";
}

TEST_F(ItemsArrayTest, IdsStrictlyIncreaseWithinASecondAndWhenTheClockGoesBack)
{
    const std::uint32_t first = items.NewItemID();
    EXPECT_EQ(first, static_cast<std::uint32_t>(env.system.utcSeconds - kItemIdEpochSeconds));
    EXPECT_EQ(items.NewItemID(), first + 1);
    env.system.utcSeconds -= 3600;
    EXPECT_EQ(items.NewItemID(), first + 2);
    env.system.utcSeconds += 7200;
    EXPECT_EQ(items.NewItemID(), static_cast<std::uint32_t>(env.system.utcSeconds - kItemIdEpochSeconds));
}

TEST_F(ItemsArrayTest, IdsReadFromABookDoNotRaiseTheCounter)
{
    std::unique_ptr<CBaseItem> read = items.CreateItem(qtMultipleChoice, false);
    read->SetID(2'000'000'000);
    items.InsertItem(std::move(read), false, -1);
    EXPECT_EQ(items.NewItemID(), static_cast<std::uint32_t>(env.system.utcSeconds - kItemIdEpochSeconds));
}

// --- Insertion and record indexes ------------------------------------------------------------------------

TEST_F(ItemsArrayTest, InsertionPositionsAndRecordOrder)
{
    BookBuilder(items).item(qtEssay, "A").item(qtEssay, "B");
    std::unique_ptr<CBaseItem> c = items.CreateItem(qtEssay, true);
    c->SetName("C");
    CBaseItem* cRaw = c.get();
    EXPECT_EQ(items.InsertItem(std::move(c), true, 0), 0);
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(BookOrderNames(items), "C,A,B");
    EXPECT_EQ(items.GetRecordIndex(cRaw), 2) << "first in book order, last in the record list";

    for (std::int32_t position : {3, -1, 99})
    {
        std::unique_ptr<CBaseItem> d = items.CreateItem(qtEssay, true);
        d->SetName("D");
        const std::int32_t count = items.GetCount();
        EXPECT_EQ(items.InsertItem(std::move(d), false, position), count) << position;
    }
    EXPECT_EQ(BookOrderNames(items), "C,A,B,D,D,D");
    EXPECT_EQ(items.InsertItem(nullptr, true, 0), -1);
}

TEST_F(ItemsArrayTest, InsertingBeforeTheCurrentItemKeepsItCurrent)
{
    BookBuilder(items).item(qtEssay, "A").item(qtEssay, "B");
    items.SetCurrentMode(eamEditMode, true);
    ASSERT_TRUE(items.Last());
    items.InsertItem(items.CreateItem(qtEssay, true), false, 0);
    EXPECT_EQ(lf::test::CurrentName(items), "B");
}

TEST_F(ItemsArrayTest, RecordIndexesStayAcrossInsertionsSortsAndDeletions)
{
    BookBuilder(items).chapter("Z").item(qtEssay, "z1").chapter("A").item(qtEssay, "a1").item(qtEssay, "a2");
    std::vector<CBaseItem*> records;
    for (std::int32_t r = 0; r < 3; ++r)
        records.push_back(items.GetRecord(r));

    items.InsertItem(items.CreateItem(qtEssay, true), false, 0);
    items.SetCurrentMode(eamTestMode, true); // a study rebuild sorts the whole book order
    FindByName(items, "a1")->SetStatus(qsInTrash, true);
    FindByName(items, "z1")->SetStatus(qsDeleted, true);
    items.SetFilterQuestion(false);

    for (std::int32_t r = 0; r < 3; ++r)
    {
        EXPECT_EQ(items.GetRecord(r), records[r]) << r;
        EXPECT_EQ(items.GetRecordIndex(records[r]), r);
        EXPECT_EQ(items.GetItem(items.GetItemIndexOfRecord(r)), records[r]);
        EXPECT_EQ(items.GetRecordIndexAt(items.IndexOfItem(records[r])), r);
    }
    EXPECT_EQ(items.GetRecord(4), nullptr);
    EXPECT_EQ(items.GetRecord(-1), nullptr);
    EXPECT_EQ(items.GetItemIndexOfRecord(4), -1);
    EXPECT_EQ(items.IndexOfItem(nullptr), -1);
}

TEST_F(ItemsArrayTest, AddNewItemCopiesTheSourceAndMovesToTheNewItem)
{
    BookBuilder(items).chapter("Bio").multipleChoice("Q1", {"a", "b"}, 0).layer("2.1");
    items.SetCurrentMode(eamEditMode, false);
    const CBaseItem* source = items.GetItem(0);
    CBaseItem* added = items.AddNewItem(qtMultipleChoice, source, 0, 0);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(items.GetItem(0), added);
    EXPECT_EQ(items.GetCurrentItem(), added);
    EXPECT_EQ(added->GetQuestionText(), "Q1");
    EXPECT_EQ(added->GetAnswerCount(), 2);
    EXPECT_EQ(added->GetCategoryID(), 0) << "a category of 0 or more replaces the copied one";
    EXPECT_NE(added->GetID(), source->GetID());
    EXPECT_TRUE(items.IsModified());

    CBaseItem* appended = items.AddNewItem(qtEssay, nullptr, -1, -1);
    EXPECT_EQ(items.GetCurrentItem(), appended);
    EXPECT_EQ(items.GetCurrentNumber(), items.GetSequenceCount());
}

struct LayerCase
{
    const char* name;
    std::vector<std::string> layers;
    const char* expected;
    bool logged;
};

class MaxLayerTest : public ItemsArrayTest, public ::testing::WithParamInterface<LayerCase>
{
};

TEST_P(MaxLayerTest, NewItemsGetTheFirstNumberOfTheGreatestLayerPlusOne)
{
    const LayerCase& c = GetParam();
    for (const std::string& layer : c.layers)
        BookBuilder(items).item(qtEssay, "q").layer(layer);
    EXPECT_EQ(items.GetMaxLayer(), c.expected);
    EXPECT_EQ(env.LogText().find("CItemsArray::GetMaxLayer() - worng layer value. Layer = ") !=
                  std::string::npos,
              c.logged);
}

INSTANTIATE_TEST_SUITE_P(Layers, MaxLayerTest,
                         ::testing::Values(LayerCase{"EmptyBook", {}, "1", false},
                                           LayerCase{"OnlyEmptyLayers", {"", ""}, "1", false},
                                           LayerCase{"DottedNumbers", {"2", "10.1", "3.5"}, "11", false},
                                           LayerCase{"BlanksAroundTheDot", {"7 . 2", "3"}, "8", false},
                                           LayerCase{"StartsWithALetter", {"b2.1"}, "1", true},
                                           LayerCase{"DeepestChapter", {"3.2.7"}, "4", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Whole collection and chapters ------------------------------------------------------------------------

TEST_F(ItemsArrayTest, ClearLeavesExactlyTheUnfiledChapter)
{
    BookBuilder(items).chapter("Bio").item(qtEssay, "q");
    items.SetModified(true);
    EXPECT_TRUE(items.Clear());
    EXPECT_TRUE(items.Clear());
    ASSERT_EQ(items.GetCategoryCount(), 1);
    SCategoryInfo row;
    ASSERT_TRUE(items.GetCategoryAt(0, row));
    EXPECT_EQ(row.ID, 0);
    EXPECT_EQ(row.Parent, -1);
    EXPECT_EQ(row.Name, "Unfiled");
    EXPECT_EQ(row.Description, "Default category");
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_FALSE(items.IsModified());
    EXPECT_EQ(items.GetActiveCategory(), kAllCategoriesID);
}

TEST_F(ItemsArrayTest, ClearForgetsRememberedItems)
{
    BookBuilder(items).item(qtEssay, "q");
    items.SetCurrentMode(eamEditMode, true);
    items.First();
    items.SaveFilter();
    items.SetFilterQuestion(false); // the current item becomes the kept one
    ASSERT_NE(items.GetKeptItem(), nullptr);
    items.Clear();
    EXPECT_EQ(items.GetKeptItem(), nullptr);
    EXPECT_FALSE(items.RestoreCurrentItem());
    BookBuilder(items).item(qtEssay, "new");
    EXPECT_TRUE(items.RestoreFilter(true));
    EXPECT_EQ(lf::test::CurrentName(items), "new");
}

TEST_F(ItemsArrayTest, ChapterTableRefusals)
{
    EXPECT_FALSE(items.AddCategory(SCategoryInfo{5, -1, "  \t", ""}, true, true));
    EXPECT_FALSE(items.AddCategory(SCategoryInfo{0, -1, "Other", ""}, false, true)) << "ID 0 has a row";
    EXPECT_FALSE(items.IsModified());
    std::int32_t row = -1;
    EXPECT_TRUE(items.AddCategory(SCategoryInfo{7, -1, " Bio ", "d"}, false, false, &row));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(items.GetCategoryName(7), " Bio ") << "stored untrimmed";
    EXPECT_EQ(items.GetNextCategoryID(), 8);

    EXPECT_FALSE(items.RenameCategory(0, "x", "y"));
    EXPECT_FALSE(items.RenameCategory(3, "x", "y"));
    EXPECT_FALSE(items.SetCategoryAt(0, SCategoryInfo{9, -1, "x", ""}));
    EXPECT_FALSE(items.SetCategoryAt(2, SCategoryInfo{9, -1, "x", ""}));
    EXPECT_FALSE(items.DeleteCategory(0));
    EXPECT_FALSE(items.DeleteCategory(3));
    EXPECT_FALSE(items.DeleteCategory(kTrashCategoryID));
    EXPECT_EQ(items.GetCategoryCount(), 2);
    EXPECT_EQ(items.GetCategoryName(0), "Unfiled");
    EXPECT_FALSE(items.IsModified());
}

TEST_F(ItemsArrayTest, ChapterLookups)
{
    items.AddCategory(SCategoryInfo{4, -1, "Bio", ""}, false, false);
    SCategoryInfo info;
    ASSERT_TRUE(items.GetCategoryInfo(kTrashCategoryID, info));
    EXPECT_EQ(info.Name, "Trash");
    EXPECT_EQ(info.Description, "Trash");
    EXPECT_EQ(info.Parent, 0);
    EXPECT_FALSE(items.GetCategoryInfo(kAllCategoriesID, info));
    EXPECT_EQ(items.GetCategoryName(kTrashCategoryID), "Trash");
    EXPECT_EQ(items.GetCategoryName(12), "");
    std::int32_t row = -1;
    EXPECT_TRUE(items.CategoryExists(4, &row));
    EXPECT_EQ(row, 1);
    EXPECT_FALSE(items.CategoryExists(kTrashCategoryID));
    EXPECT_EQ(items.FindCategoryIndexByName("bio"), -1) << "names compare case-sensitively";
    EXPECT_EQ(items.GetCategoryIDAt(1), 4);
    EXPECT_EQ(items.GetCategoryIDAt(2), -1);

    EXPECT_EQ(items.GetOrAddCategoryByName("Bio"), 1);
    EXPECT_FALSE(items.IsModified());
    EXPECT_EQ(items.GetOrAddCategoryByName("Chem"), 2);
    EXPECT_EQ(items.GetCategoryIDAt(2), 5);
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(items.GetOrAddCategoryByName(""), -1);
}

TEST_F(ItemsArrayTest, DeletingAChapterMovesItsItemsButNotThoseInTheTrash)
{
    BookBuilder b(items);
    b.chapter("Bio")
        .item(qtEssay, "kept")
        .item(qtEssay, "binned")
        .trashed()
        .chapter("Chem")
        .item(qtEssay, "other");
    const std::int32_t bio = items.GetCategoryIDAt(1);
    items.SetModified(false);
    EXPECT_TRUE(items.DeleteCategory(bio));
    EXPECT_TRUE(items.IsModified());
    EXPECT_EQ(items.FindCategoryIndex(bio), -1);
    EXPECT_EQ(FindByName(items, "kept")->GetCategoryID(), 0);
    EXPECT_EQ(FindByName(items, "binned")->GetCategoryID(), kTrashCategoryID);
    EXPECT_EQ(FindByName(items, "other")->GetCategoryID(), items.GetCategoryIDAt(1));
}

TEST_F(ItemsArrayTest, MovingItemsToAChapterWithoutARowChangesNothing)
{
    BookBuilder(items).item(qtEssay, "q");
    items.SetModified(false);
    EXPECT_TRUE(items.MoveItemsToCategory(0, 42));
    EXPECT_EQ(items.GetItem(0)->GetCategoryID(), 0);
    EXPECT_FALSE(items.IsModified());
    items.AddCategory(SCategoryInfo{42, -1, "X", ""}, false, false);
    EXPECT_TRUE(items.MoveItemsToCategory(0, 42));
    EXPECT_EQ(items.GetItem(0)->GetCategoryID(), 42);
    EXPECT_TRUE(items.IsModified());
}

TEST_F(ItemsArrayTest, NumberInChapterCountsEveryItemOfTheChapterUpToTheCurrentOne)
{
    BookBuilder b(items);
    b.chapter("A").item(qtEssay, "a1").chapter("B").item(qtEssay, "b1").chapter("A").item(qtEssay, "a2");
    b.item(qtEssay, "a3").trashed();
    b.chapter("A").item(qtEssay, "a4");
    EXPECT_EQ(items.GetNumberInCategory(), 0);
    items.SetCurrentMode(eamEditMode, true);
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "a4")));
    EXPECT_EQ(items.GetNumberInCategory(), 3);
}

// --- Replacement ------------------------------------------------------------------------------------------

TEST_F(ItemsArrayTest, ReplaceRecordAfterASortReplacesTheObjectWhereverItStands)
{
    BookBuilder(items).chapter("A").chapter("Z").item(qtEssay, "z").chapter("A").item(qtEssay, "a");
    items.SetCurrentMode(eamTestMode, true); // sorts by chapter row: a before z
    ASSERT_EQ(BookOrderNames(items), "a,z");
    CBaseItem* oldZ = items.GetRecord(0);

    std::unique_ptr<CBaseItem> newZ = items.CreateItem(qtEssay, true);
    newZ->SetName("z2");
    CBaseItem* newRaw = newZ.get();
    std::unique_ptr<CBaseItem> returned = items.ReplaceRecord(0, std::move(newZ), false);
    EXPECT_EQ(returned.get(), oldZ);
    EXPECT_EQ(BookOrderNames(items), "a,z2");
    EXPECT_EQ(items.GetRecord(0), newRaw);
    EXPECT_EQ(items.GetGridListItem(1), newRaw);
    EXPECT_EQ(items.IndexOfItem(oldZ), -1);
    EXPECT_EQ(items.GetRecordIndex(oldZ), -1);
}

TEST_F(ItemsArrayTest, ReplacementThatCannotHappenLeavesTheNewItemWithTheCaller)
{
    BookBuilder(items).item(qtEssay, "q");
    std::unique_ptr<CBaseItem> spare = items.CreateItem(qtEssay, true);
    EXPECT_EQ(items.ReplaceItemAt(5, std::move(spare), true), nullptr);
    EXPECT_NE(spare, nullptr);
    EXPECT_EQ(items.ReplaceRecord(-1, std::move(spare), true), nullptr);
    EXPECT_NE(spare, nullptr);
    EXPECT_EQ(items.ReplacePointer(std::move(spare), true), nullptr) << "no current item";
    EXPECT_NE(spare, nullptr);
    std::unique_ptr<CBaseItem> none;
    EXPECT_EQ(items.ReplaceItemAt(0, std::move(none), true), nullptr);
    EXPECT_EQ(items.GetItem(0)->GetName(), "q");
}

TEST_F(ItemsArrayTest, ReplacingTheKeptItemLeavesNoDanglingPointer)
{
    BookBuilder(items).item(qtEssay, "a").item(qtEssay, "b");
    items.SetCurrentMode(eamEditMode, true);
    ASSERT_TRUE(items.Last());
    items.SaveFilter();
    items.SetFilterQuestion(false);
    ASSERT_EQ(items.GetKeptItem(), items.GetItem(1));

    std::unique_ptr<CBaseItem> replacement = items.CreateItem(qtEssay, true);
    replacement->SetName("b2");
    replacement->SetInSequence(true);
    CBaseItem* raw = replacement.get();
    EXPECT_EQ(items.ReplaceItemAt(1, std::move(replacement), true), nullptr);
    EXPECT_EQ(items.GetKeptItem(), raw);
    EXPECT_TRUE(items.RestoreCurrentItem());
    EXPECT_EQ(items.GetCurrentItem(), raw);
    items.First();
    EXPECT_TRUE(items.RestoreFilter(true));
    EXPECT_EQ(items.GetCurrentItem(), raw);
}

TEST_F(ItemsArrayTest, CopyForUndoKeepsTheQuestionsIdentity)
{
    BookBuilder b(items);
    b.multipleChoice("Q", {"a", "b"}, 1).answered(true).name("N");
    CBaseItem* item = b.last();
    item->SetID_Str("ext-1");
    item->SetModifierStr("Editor");
    item->SetWhenCreated(1000);
    item->SetLastModified(2000);
    std::unique_ptr<CBaseItem> copy = items.CopyItemForUndo(item);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetID(), item->GetID());
    EXPECT_EQ(copy->GetID_Str(), "ext-1");
    EXPECT_EQ(copy->GetModifierStr(), "Editor");
    EXPECT_EQ(copy->GetWhenCreated(), 1000);
    EXPECT_EQ(copy->GetLastModified(), 2000);
    EXPECT_EQ(copy->GetName(), "N");
    EXPECT_TRUE(copy->IsAnswered());
    EXPECT_EQ(copy->GetResult(), 1);
    EXPECT_EQ(items.CopyItemForUndo(nullptr), nullptr);
}

TEST_F(ItemsArrayTest, QuickEditCancelPutsBackAnExactSnapshotWithoutUsingAnId)
{
    BookBuilder b(items);
    b.multipleChoice("Before", {"a", "b"}, 1).answered(true).name("N").layer("2.1").marked();
    b.multipleChoice("Other", {"x"}, 0);
    CBaseItem* item = items.GetItem(0);
    item->SetID_Str("ext-1");
    item->SetModifierStr("Editor");
    item->SetWhenCreated(1000);
    item->SetLastModified(2000);
    items.SetCurrentMode(EPhase::Edit, true);
    ASSERT_TRUE(items.SetCurrentItem(item));
    const std::int32_t id = item->GetID();
    const std::int32_t record = items.GetRecordIndex(item);
    const std::uint32_t lastId = items.GetLastItemID();

    std::unique_ptr<CBaseItem> snapshot = items.SnapshotItem(item);
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(items.GetLastItemID(), lastId) << "a snapshot uses up no ID";

    // The user edits in the Quick Edit form, then cancels.
    item->SetQuestionText("After");
    SAnswerItem* answer = nullptr;
    ASSERT_TRUE(item->GetAnswer(0, answer));
    answer->AnswerText = "changed";
    static_cast<CMultipleChoiceItem*>(item)->ToggleUserChoice(0, answer, false);
    item->SetModifier("Someone else", true);
    item->SetID_Str("ext-2");

    CBaseItem* restored = snapshot.get();
    EXPECT_EQ(items.ReplacePointer(std::move(snapshot), true), nullptr);
    EXPECT_EQ(items.GetCurrentItem(), restored);
    EXPECT_EQ(items.GetItem(0), restored);
    EXPECT_EQ(items.GetRecordItem(record), restored);
    EXPECT_EQ(restored->GetID(), id);
    EXPECT_EQ(restored->GetID_Str(), "ext-1");
    EXPECT_EQ(restored->GetModifierStr(), "Editor");
    EXPECT_EQ(restored->GetWhenCreated(), 1000);
    EXPECT_EQ(restored->GetLastModified(), 2000);
    EXPECT_EQ(restored->GetQuestionText(), "Before");
    EXPECT_EQ(restored->GetName(), "N");
    EXPECT_EQ(restored->GetLayersStr(), "2.1");
    EXPECT_TRUE(restored->IsMarked());
    EXPECT_TRUE(restored->IsInSequence());
    ASSERT_TRUE(restored->GetAnswer(0, answer));
    EXPECT_EQ(answer->AnswerText, "a");
    EXPECT_EQ(restored->GetResult(), 1) << "the user's answer comes back";
    EXPECT_EQ(items.GetLastItemID(), lastId);
}

// --- Conversion -------------------------------------------------------------------------------------------

TEST_F(ItemsArrayTest, InPlaceConversionKeepsPositionsGivesANewIdAndMarksModified)
{
    BookBuilder(items)
        .item(qtEssay, "first")
        .multipleChoice("Capital", {"Paris", "Rome"}, 0)
        .item(qtEssay, "last");
    items.SetCurrentMode(eamEditMode, true);
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "Capital")));
    const CBaseItem* before = items.GetCurrentItem();
    const std::int32_t oldID = before->GetID();
    items.SetModified(false);

    EXPECT_TRUE(items.ConvertCurrentItemTo(qtEmbedded, true));
    const CBaseItem* after = items.GetItem(1);
    EXPECT_EQ(after->GetQuestionType(), qtEmbedded);
    EXPECT_EQ(items.GetRecord(1), after);
    EXPECT_EQ(items.GetCurrentItem(), after);
    EXPECT_EQ(items.GetGridListItem(1), after);
    EXPECT_NE(after->GetID(), oldID);
    EXPECT_EQ(after->GetName(), "Capital _copy");
    EXPECT_EQ(after->GetGeneralFeedback(), "Capital");
    EXPECT_EQ(items.GetCount(), 3);
    EXPECT_TRUE(items.IsModified()) << "else the next save skips the book and the conversion is lost";
}

TEST_F(ItemsArrayTest, ConversionsThatChangeNothing)
{
    BookBuilder(items).multipleChoice("Q", {"a"}, 0);
    items.SetCurrentMode(eamEditMode, true);
    EXPECT_TRUE(items.ConvertCurrentItemTo(qtMultipleChoice, true)) << "no current item";
    items.First();
    const CBaseItem* item = items.GetCurrentItem();
    EXPECT_TRUE(items.ConvertCurrentItemTo(qtMultipleChoice, true));
    EXPECT_TRUE(items.ConvertCurrentItemTo(0, true));
    EXPECT_TRUE(items.ConvertCurrentItemTo(11, false));
    EXPECT_EQ(items.GetItem(0), item);
    EXPECT_EQ(items.GetCount(), 1);
    EXPECT_FALSE(items.IsModified());
}

TEST_F(ItemsArrayTest, DuplicateAsAnotherKindAppendsACopy)
{
    BookBuilder(items).multipleChoice("Q", {"a", "b"}, 0).layer("3");
    items.SetCurrentMode(eamEditMode, true);
    items.First();
    EXPECT_TRUE(items.ConvertCurrentItemTo(qtTrueFalse, false));
    ASSERT_EQ(items.GetCount(), 2);
    EXPECT_EQ(items.GetItem(0)->GetQuestionType(), qtMultipleChoice);
    const CBaseItem* copy = items.GetItem(1);
    EXPECT_EQ(copy->GetQuestionType(), qtTrueFalse);
    EXPECT_EQ(copy->GetQuestionText(), "Q");
    EXPECT_EQ(copy->GetLayersStr(), "3");
    EXPECT_EQ(items.GetCurrentItem(), copy);
    EXPECT_TRUE(items.IsModified());
}

struct MatchingCase
{
    std::vector<std::pair<std::string, std::string>> pairs;
    int wrongPerQuestion;
};

class MatchingConversionTest : public ItemsArrayTest, public ::testing::WithParamInterface<MatchingCase>
{
};

TEST_P(MatchingConversionTest, MakesOneMultipleChoiceQuestionPerPair)
{
    const MatchingCase& c = GetParam();
    lf::sys::SeedRandom(7);
    BookBuilder(items).matching("Match", c.pairs);
    items.SetCurrentMode(eamEditMode, true);
    items.First();
    CBaseItem* matching = items.GetCurrentItem();
    EXPECT_TRUE(items.ConvertCurrentItemTo(qtMultipleChoice, false));
    ASSERT_EQ(items.GetCount(), 1 + static_cast<std::int32_t>(c.pairs.size()));
    EXPECT_EQ(items.GetItem(0), matching);
    EXPECT_EQ(matching->GetAnswerCount(), static_cast<std::int32_t>(c.pairs.size()));

    std::set<std::string> matches;
    for (const auto& pair : c.pairs)
        matches.insert(pair.second);
    for (std::size_t i = 0; i < c.pairs.size(); ++i)
    {
        CBaseItem* mc = items.GetItem(static_cast<std::int32_t>(i) + 1);
        ASSERT_EQ(mc->GetQuestionType(), qtMultipleChoice);
        EXPECT_EQ(mc->GetName(), "Match " + std::to_string(i + 1));
        EXPECT_EQ(mc->GetQuestionText(), c.pairs[i].first);
        ASSERT_EQ(mc->GetAnswerCount(), 1 + c.wrongPerQuestion);
        std::set<std::string> texts;
        int right = 0;
        for (std::int32_t k = 0; k < mc->GetAnswerCount(); ++k)
        {
            SAnswerItem* a = nullptr;
            ASSERT_TRUE(mc->GetAnswer(k, a));
            texts.insert(a->AnswerText);
            EXPECT_TRUE(matches.count(a->AnswerText)) << a->AnswerText;
            if (a->Correct == "1")
            {
                ++right;
                EXPECT_EQ(a->AnswerText, c.pairs[i].second);
            }
            else
            {
                EXPECT_EQ(a->Correct, "0");
            }
        }
        EXPECT_EQ(right, 1);
        EXPECT_EQ(texts.size(), static_cast<std::size_t>(1 + c.wrongPerQuestion))
            << "wrong answers are distinct";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, MatchingConversionTest,
    ::testing::Values(MatchingCase{{{"France", "Paris"}}, 0},
                      MatchingCase{{{"France", "Paris"}, {"Italy", "Rome"}}, 1},
                      MatchingCase{{{"France", "Paris"}, {"Italy", "Rome"}, {"Spain", "Madrid"}}, 2},
                      MatchingCase{{{"F", "Paris"}, {"I", "Rome"}, {"S", "Madrid"}, {"P", "Lisbon"}}, 2}));

} // namespace
