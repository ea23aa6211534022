// The Trash and deletion for good with their undo entries, the position after a deletion, chapter moves,
// marking and renumbering of selected rows, clearing answers and marks, generated wrong answers and the
// removal of duplicates.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using lf::test::BookBuilder;
using lf::test::CurrentName;
using lf::test::FindByName;
using lf::test::SequenceNames;

namespace
{

using lf::test::PrintTo;

class TrashTest : public ::testing::Test, public lf::test::BookSession
{
protected:
    // Chapter Bio: q1..q3; chapter Chem: q4, q5.
    void BuildBook()
    {
        BookBuilder(items)
            .chapter("Bio")
            .multipleChoice("q1", {"a", "b"}, 0)
            .multipleChoice("q2", {"a", "b"}, 0)
            .multipleChoice("q3", {"a", "b"}, 0)
            .chapter("Chem")
            .multipleChoice("q4", {"a", "b"}, 0)
            .multipleChoice("q5", {"a", "b"}, 0);
        items.SetModified(false);
        Rebuild();
    }

    void Rebuild(std::int32_t chapter = kAllCategoriesID)
    {
        items.SetCurrentMode(eamEditMode, false);
        items.SetActiveCategory(chapter, false);
        items.SetFilterQuestion(true);
        items.First();
    }

    std::int32_t IndexOf(const std::string& name) const { return items.IndexOfItem(FindByName(items, name)); }
    std::int32_t ChapterID(const std::string& name) const
    {
        return items.GetCategoryIDAt(items.FindCategoryIndexByName(name));
    }

    SItemInfo Entry(std::int32_t i)
    {
        SItemInfo entry;
        EXPECT_TRUE(items.GetBackupItem().GetEntry(i, entry));
        return entry;
    }

    void Select(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            FindByName(items, name)->SetStatus(qsSelected, true);
    }
};

// --- Deletion and the Trash
// ------------------------------------------------------------------------------------

TEST_F(TrashTest, DeletionGoesToTheTrashThenForGoodThenFails)
{
    BuildBook();
    CBaseItem* q2 = FindByName(items, "q2");
    const std::int32_t bio = q2->GetCategoryID();

    ASSERT_TRUE(items.DeleteItem(IndexOf("q2"), true));
    EXPECT_EQ(q2->GetCategoryID(), kTrashCategoryID);
    EXPECT_TRUE(q2->TestStatus(qsInTrash));
    EXPECT_FALSE(q2->TestStatus(qsDeleted));
    EXPECT_TRUE(items.IsModified());
    ASSERT_EQ(items.GetBackupItem().GetCount(), 1);
    EXPECT_EQ(Entry(0).Action, ebatMoveToTrushRecord);
    EXPECT_EQ(Entry(0).OldValue, bio);
    EXPECT_EQ(Entry(0).RecordIndex, items.GetRecordIndex(q2));

    ASSERT_TRUE(items.DeleteItem(IndexOf("q2"), true));
    EXPECT_TRUE(q2->TestStatus(qsDeleted));
    EXPECT_FALSE(q2->TestStatus(qsInTrash));
    EXPECT_EQ(q2->GetCategoryID(), kTrashCategoryID);
    ASSERT_EQ(items.GetBackupItem().GetCount(), 2);
    EXPECT_EQ(Entry(1).Action, ebatDeleteRecord);
    EXPECT_EQ(Entry(1).OldValue, -1);

    EXPECT_FALSE(items.DeleteItem(IndexOf("q2"), true));
    EXPECT_EQ(items.GetBackupItem().GetCount(), 2);
    EXPECT_FALSE(items.DeleteItem(items.GetCount(), true));
}

TEST_F(TrashTest, TrashRoundTripIsTakenBackAndDoneAgain)
{
    BuildBook();
    CBaseItem* q4 = FindByName(items, "q4");
    const std::int32_t chem = ChapterID("Chem");
    ASSERT_TRUE(items.DeleteItem(IndexOf("q4"), true));
    ASSERT_TRUE(items.DeleteItem(IndexOf("q4"), true));
    EXPECT_EQ(items.GetTrashCount(), 0);

    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_EQ(record, items.GetRecordIndex(q4));
    EXPECT_TRUE(q4->TestStatus(qsInTrash));
    EXPECT_FALSE(q4->TestStatus(qsDeleted));
    EXPECT_EQ(items.GetTrashCount(), 1);

    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_FALSE(q4->TestStatus(qsInTrash));
    EXPECT_EQ(q4->GetCategoryID(), chem);
    items.SetFilterQuestion(false);
    EXPECT_EQ(SequenceNames(items), "q1,q2,q3,q4,q5");

    ASSERT_TRUE(items.Redo(record, refreshAll));
    EXPECT_TRUE(q4->TestStatus(qsInTrash));
    EXPECT_EQ(q4->GetCategoryID(), kTrashCategoryID);
    Rebuild(kTrashCategoryID);
    EXPECT_EQ(SequenceNames(items), "q4") << "the Trash shows it in Edit phase";
}

struct NeighbourCase
{
    const char* name;
    const char* deleted;
    const char* after;
};

class DeleteCurrentTest : public TrashTest, public ::testing::WithParamInterface<NeighbourCase>
{
};

TEST_P(DeleteCurrentTest, MovesToANeighbour)
{
    BuildBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, GetParam().deleted)));
    ASSERT_TRUE(items.DeleteCurrentItem());
    EXPECT_EQ(CurrentName(items), GetParam().after);
    EXPECT_TRUE(FindByName(items, GetParam().deleted)->TestStatus(qsInTrash));
    EXPECT_EQ(items.GetSequenceCount(), 4);
}

INSTANTIATE_TEST_SUITE_P(Positions, DeleteCurrentTest,
                         ::testing::Values(NeighbourCase{"First", "q1", "q2"},
                                           NeighbourCase{"Middle", "q3", "q4"},
                                           NeighbourCase{"Last", "q5", "q4"}),
                         [](const ::testing::TestParamInfo<NeighbourCase>& info)
                         { return std::string(info.param.name); });

TEST_F(TrashTest, DeletingTheOnlyQuestionLeavesNoCurrentQuestion)
{
    BookBuilder(items).multipleChoice("only", {"a"}, 0);
    Rebuild();
    ASSERT_TRUE(items.DeleteCurrentItem());
    EXPECT_EQ(items.GetCurrentItem(), nullptr);
    EXPECT_EQ(items.GetSequenceCount(), 0);
    EXPECT_FALSE(items.DeleteCurrentItem()) << "no current item";
}

TEST_F(TrashTest, DeleteItemsMovesTheSelectedRowsAndKeepsTheCurrentOne)
{
    BuildBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "q3")));
    Select({"q2", "q4"});
    ASSERT_TRUE(items.DeleteItems(false, true));
    EXPECT_EQ(SequenceNames(items), "q1,q3,q5");
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetTrashCount(), 2);
    EXPECT_EQ(items.GetBackupItem().GetCount(), 2);
}

TEST_F(TrashTest, DeleteItemsMovesOnWhenTheCurrentOneWasDeleted)
{
    BuildBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "q2")));
    Select({"q2", "q3"});
    ASSERT_TRUE(items.DeleteItems(false, true));
    EXPECT_EQ(CurrentName(items), "q4");
}

TEST_F(TrashTest, DeleteItemsForGoodTakesOnlyTrashItems)
{
    BuildBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "q3")));
    EXPECT_FALSE(items.DeleteItems(true, false)) << "nothing in the Trash";
    EXPECT_EQ(CurrentName(items), "q3") << "no rebuild";
    EXPECT_EQ(items.GetBackupItem().GetCount(), 0);

    ASSERT_TRUE(items.DeleteItem(IndexOf("q1"), true));
    ASSERT_TRUE(items.DeleteItems(true, false));
    EXPECT_TRUE(FindByName(items, "q1")->TestStatus(qsDeleted));
    EXPECT_FALSE(FindByName(items, "q2")->TestStatus(qsInTrash | qsDeleted));
}

TEST_F(TrashTest, EmptyTrashDeletesEveryTrashItemWithItsOwnEntry)
{
    BuildBook();
    EXPECT_FALSE(items.EmptyTrash());
    ASSERT_TRUE(items.DeleteItem(IndexOf("q1"), true));
    ASSERT_TRUE(items.DeleteItem(IndexOf("q5"), true));
    ASSERT_EQ(items.GetTrashCount(), 2);
    ASSERT_TRUE(items.EmptyTrash());
    EXPECT_EQ(items.GetTrashCount(), 0);
    EXPECT_TRUE(FindByName(items, "q1")->TestStatus(qsDeleted));
    EXPECT_TRUE(FindByName(items, "q5")->TestStatus(qsDeleted));
    ASSERT_EQ(items.GetBackupItem().GetCount(), 4);
    EXPECT_EQ(Entry(2).Action, ebatDeleteRecord);
    EXPECT_EQ(Entry(3).Action, ebatDeleteRecord);
}

// --- Chapter moves -----------------------------------------------------------------------------------------

TEST_F(TrashTest, ChangeItemCategoryMovesIntoAndOutOfTheTrash)
{
    BuildBook();
    CBaseItem* q1 = FindByName(items, "q1");
    const std::int32_t bio = ChapterID("Bio");
    const std::int32_t chem = ChapterID("Chem");
    EXPECT_FALSE(items.ChangeItemCategory(nullptr, chem));

    ASSERT_TRUE(items.ChangeItemCategory(q1, kTrashCategoryID));
    EXPECT_TRUE(q1->TestStatus(qsInTrash));
    EXPECT_EQ(Entry(0).Action, ebatMoveToTrushRecord);
    EXPECT_EQ(Entry(0).OldValue, bio);

    ASSERT_TRUE(items.ChangeItemCategory(q1, chem));
    EXPECT_FALSE(q1->TestStatus(qsInTrash));
    EXPECT_EQ(q1->GetCategoryID(), chem);
    EXPECT_EQ(Entry(1).Action, ebatFieldChange);
    EXPECT_EQ(Entry(1).ChangeDataType, ecdtCategory);
    EXPECT_EQ(Entry(1).OldValue, kTrashCategoryID);
    EXPECT_TRUE(items.IsModified());
}

TEST_F(TrashTest, BulkMoveRefusesANegativeChapterOtherThanTheTrash)
{
    BuildBook();
    Select({"q1"});
    EXPECT_FALSE(items.MultiChangeCategoryAndFlagsRecords(false, false, true, true, -1));
    EXPECT_NE(env.LogText().find("CItemsArray::MultiChangeCategoryAndFlagsRecords - Wrong category ID!"),
              std::string::npos);
    EXPECT_EQ(items.GetBackupItem().GetCount(), 0);
}

TEST_F(TrashTest, BulkMoveOfSelectedRowsToTheTrashReturnsToTheCurrentQuestion)
{
    BuildBook();
    ASSERT_TRUE(items.SetCurrentItem(FindByName(items, "q3")));
    Select({"q1", "q2"});
    ASSERT_TRUE(items.MultiChangeCategoryAndFlagsRecords(false, false, true, true, kTrashCategoryID));
    EXPECT_EQ(SequenceNames(items), "q3,q4,q5");
    EXPECT_EQ(CurrentName(items), "q3");
    EXPECT_EQ(items.GetTrashCount(), 2);
    ASSERT_EQ(items.GetBackupItem().GetCount(), 2);
    EXPECT_EQ(Entry(0).Action, ebatMoveToTrushRecord);

    // In the Trash view the rows are there already: nothing changes.
    Rebuild(kTrashCategoryID);
    ASSERT_EQ(SequenceNames(items), "q1,q2");
    EXPECT_FALSE(items.MultiChangeCategoryAndFlagsRecords(false, false, true, true, kTrashCategoryID));
    EXPECT_EQ(items.GetBackupItem().GetCount(), 2);

    // Out of the Trash into a chapter.
    ASSERT_TRUE(items.MultiChangeCategoryAndFlagsRecords(false, false, true, true, ChapterID("Chem")));
    EXPECT_EQ(items.GetTrashCount(), 0);
    EXPECT_EQ(Entry(2).ChangeDataType, ecdtCategory);
}

TEST_F(TrashTest, BulkMoveOfMarkedQuestionsOfTheBook)
{
    BuildBook();
    FindByName(items, "q1")->SetStatus(qsMarked, true);
    FindByName(items, "q5")->SetStatus(qsMarked, true);
    const std::int32_t chem = ChapterID("Chem");
    ASSERT_TRUE(items.MultiChangeCategoryAndFlagsRecords(true, true, false, false, chem));
    EXPECT_EQ(FindByName(items, "q1")->GetCategoryID(), chem);
    EXPECT_EQ(items.GetBackupItem().GetCount(), 1) << "q5 is in Chem already";
    EXPECT_TRUE(items.IsModified());
}

TEST_F(TrashTest, BulkMoveOfTheSequenceLeavesQuestionsDeletedForGoodAlone)
{
    BuildBook();
    ASSERT_TRUE(items.DeleteItem(IndexOf("q2"), true));
    ASSERT_TRUE(items.DeleteItem(IndexOf("q2"), true));
    ASSERT_TRUE(FindByName(items, "q2")->TestStatus(qsDeleted));
    Rebuild(ChapterID("Bio"));
    ASSERT_EQ(SequenceNames(items), "q1,q3");
    const std::int32_t entries = items.GetBackupItem().GetCount();

    // Without allItems only the members move: q4 and q5 of Chem stay where they are.
    ASSERT_TRUE(items.MultiChangeCategoryAndFlagsRecords(false, false, false, false, kTrashCategoryID));
    EXPECT_EQ(items.GetTrashCount(), 2);
    EXPECT_EQ(FindByName(items, "q4")->GetCategoryID(), ChapterID("Chem"));
    ASSERT_EQ(items.GetBackupItem().GetCount(), entries + 2);
    EXPECT_EQ(Entry(entries).Action, ebatMoveToTrushRecord);
    EXPECT_EQ(Entry(entries).OldValue, ChapterID("Bio"));

    // Out of the Trash into Chem: bit 4 goes; the question deleted for good keeps its state.
    const std::int32_t chem = ChapterID("Chem");
    ASSERT_TRUE(items.MultiChangeCategoryAndFlagsRecords(true, false, false, false, chem));
    EXPECT_EQ(items.GetTrashCount(), 0);
    EXPECT_EQ(FindByName(items, "q1")->GetCategoryID(), chem);
    EXPECT_EQ(FindByName(items, "q3")->GetCategoryID(), chem);
    const CBaseItem* q2 = FindByName(items, "q2");
    EXPECT_TRUE(q2->TestStatus(qsDeleted));
    EXPECT_EQ(q2->GetCategoryID(), kTrashCategoryID);
    ASSERT_EQ(items.GetBackupItem().GetCount(), entries + 4) << "q1 and q3 only: q4 and q5 are in Chem";
    EXPECT_EQ(Entry(entries + 2).ChangeDataType, ecdtCategory);
    EXPECT_EQ(Entry(entries + 2).OldValue, kTrashCategoryID);
}

// --- Selected rows
// ---------------------------------------------------------------------------------------------

TEST_F(TrashTest, MarkingSelectedRowsPushesTheOldStatusOfEach)
{
    BuildBook();
    FindByName(items, "q2")->SetStatus(qsMarked, true);
    Select({"q2", "q3"});
    const std::uint32_t q3Status = FindByName(items, "q3")->GetQuestionStatus();
    ASSERT_TRUE(items.SetSelectionForGreedList(true));
    EXPECT_TRUE(FindByName(items, "q3")->IsMarked());
    EXPECT_FALSE(FindByName(items, "q1")->IsMarked());
    ASSERT_EQ(items.GetBackupItem().GetCount(), 2) << "also for the row whose mark stays";
    EXPECT_EQ(Entry(1).ChangeDataType, ecdtStatus);
    EXPECT_EQ(static_cast<std::uint32_t>(Entry(1).OldValue), q3Status);
    EXPECT_TRUE(items.IsModified());

    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(items.Undo(record, refreshAll));
    EXPECT_FALSE(FindByName(items, "q3")->IsMarked());
}

TEST_F(TrashTest, MarkingRowsThatAreMarkedAlreadyLeavesTheBookUnchanged)
{
    BuildBook();
    FindByName(items, "q2")->SetStatus(qsMarked, true);
    Select({"q2"});
    ASSERT_TRUE(items.SetSelectionForGreedList(true));
    EXPECT_FALSE(items.IsModified());
}

struct RenumberCase
{
    const char* name;
    std::int32_t start;
    std::int32_t step;
    const char* prefix;
    const char* layers;
};

class RenumberTest : public TrashTest, public ::testing::WithParamInterface<RenumberCase>
{
};

TEST_P(RenumberTest, GivesTheSelectedRowsTheirNumbers)
{
    const RenumberCase& c = GetParam();
    BuildBook();
    FindByName(items, "q2")->SetLayersStr("old");
    Select({"q2", "q3", "q5"});
    ASSERT_TRUE(items.RenumberSelectedItems(c.start, c.step, c.prefix));
    const std::string layers = FindByName(items, "q2")->GetLayersStr() + "," +
                               FindByName(items, "q3")->GetLayersStr() + "," +
                               FindByName(items, "q5")->GetLayersStr();
    EXPECT_EQ(layers, c.layers);
    ASSERT_EQ(items.GetBackupItem().GetCount(), 3);
    EXPECT_EQ(Entry(0).ChangeDataType, ecdtLayer);
    EXPECT_EQ(Entry(0).OldText, "old");
    EXPECT_TRUE(items.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, RenumberTest,
    ::testing::Values(RenumberCase{"PrefixGetsADot", 1, 1, "2", "2.1,2.2,2.3"},
                      RenumberCase{"NoPrefix", 1, 1, "", "1,2,3"},
                      RenumberCase{"PrefixWithDotKeepsOneDot", 1, 1, "1.", "1.1,1.2,1.3"},
                      RenumberCase{"BlanksAroundThePrefix", 10, 5, " 4 ", "4.10,4.15,4.20"},
                      // A step of 0 keeps the number: it is still above 0, so it never restarts at 1.
                      RenumberCase{"StepZeroKeepsTheNumber", 5, 0, " 2 ", "2.5,2.5,2.5"},
                      RenumberCase{"StepBelowOneFallsBackToOne", 3, -5, "", "3,1,1"}),
    [](const ::testing::TestParamInfo<RenumberCase>& info) { return std::string(info.param.name); });

// --- Answers and marks
// -------------------------------------------------------------------------------------------

TEST_F(TrashTest, ResetAnswersAndClearMarksOfMembersOrOfTheWholeBook)
{
    BookBuilder(items)
        .chapter("Bio")
        .multipleChoice("bio", {"a", "b"}, 0)
        .answered(true)
        .marked()
        .cycles(3)
        .chapter("Chem")
        .multipleChoice("chem", {"a", "b"}, 0)
        .answered(false)
        .marked()
        .cycles(2);
    items.SetModified(false);
    Rebuild(ChapterID("Bio"));

    items.ResetAnswers(false);
    items.ClearMarks(false);
    EXPECT_FALSE(FindByName(items, "bio")->IsAnswered());
    EXPECT_EQ(FindByName(items, "bio")->GetCycleCounter(), 0);
    EXPECT_FALSE(FindByName(items, "bio")->IsMarked());
    EXPECT_TRUE(FindByName(items, "chem")->IsAnswered());
    EXPECT_TRUE(FindByName(items, "chem")->IsMarked());
    EXPECT_TRUE(items.IsModified());

    items.ResetAnswers(true);
    items.ClearMarks(true);
    EXPECT_FALSE(FindByName(items, "chem")->IsAnswered());
    EXPECT_EQ(FindByName(items, "chem")->GetCycleCounter(), 0);
    EXPECT_FALSE(FindByName(items, "chem")->IsMarked());
    EXPECT_EQ(items.GetBackupItem().GetCount(), 0);
}

// --- Wrong answers
// ---------------------------------------------------------------------------------------------

TEST_F(TrashTest, SingleQuestionGetsNoWrongAnswerButTheExplanationOfItsRightOne)
{
    BookBuilder(items).multipleChoice("Capital of France?", {"Paris"}, 0);
    EXPECT_FALSE(items.GenerateDistractors(qtMultipleChoice));
    CBaseItem* item = items.GetItem(0);
    EXPECT_EQ(item->GetAnswerCount(), 1);
    EXPECT_EQ(item->GetGeneralFeedback(), "The correct answer is: Capital of France? - Paris<br><br>");
}

TEST_F(TrashTest, QuestionWhoseFirstAnswerIsWrongKeepsItsExplanation)
{
    BookBuilder(items).multipleChoice("Pick one", {"wrong", "right"}, 1);
    items.GetItem(0)->SetGeneralFeedback("Written by the author");
    EXPECT_FALSE(items.GenerateDistractors(qtMultipleChoice));
    EXPECT_EQ(items.GetItem(0)->GetGeneralFeedback(), "Written by the author");
}

TEST_F(TrashTest, OtherKindCodeDoesNothing)
{
    BookBuilder(items).multipleChoice("a", {"x"}, 0).multipleChoice("b", {"y"}, 0);
    EXPECT_FALSE(items.GenerateDistractors(qtTrueFalse));
    EXPECT_EQ(items.GetItem(0)->GetAnswerCount(), 1);
    EXPECT_EQ(items.GetItem(0)->GetGeneralFeedback(), "");
}

TEST_F(TrashTest, SixQuestionsEachGetFourWrongAnswersFromFourOthers)
{
    lf::sys::SeedRandom(11);
    BookBuilder book(items);
    const std::vector<std::string> answers = {"A0", "A1", "A2", "A3", "A4", "A5"};
    for (std::size_t i = 0; i < answers.size(); ++i)
        book.multipleChoice("Q" + std::to_string(i), {answers[i]}, 0);
    book.essay("no answers here").trueFalse("statement", true);
    ASSERT_TRUE(items.GenerateDistractors(qtMultipleChoice));

    int rightAnswerFirst = 0;
    for (std::size_t i = 0; i < answers.size(); ++i)
    {
        CBaseItem* item = FindByName(items, "Q" + std::to_string(i));
        ASSERT_EQ(item->GetAnswerCount(), 5) << i;
        std::set<std::string> wrong;
        std::set<std::int32_t> ids;
        for (std::int32_t k = 0; k < item->GetAnswerCount(); ++k)
        {
            SAnswerItem* a = nullptr;
            ASSERT_TRUE(item->GetAnswer(k, a));
            ids.insert(a->ID);
            if (a->Correct == "1")
            {
                EXPECT_EQ(a->AnswerText, answers[i]);
                rightAnswerFirst += k == 0 ? 1 : 0;
                continue;
            }
            EXPECT_EQ(a->Correct, "0");
            ASSERT_FALSE(a->AnswerText.empty()) << "the essay's blank answer record is no choice";
            EXPECT_NE(a->AnswerText, answers[i]);
            wrong.insert(a->AnswerText);
            EXPECT_NE(item->GetGeneralFeedback().find("Q" + a->AnswerText.substr(1) + " - " + a->AnswerText +
                                                      "<br>"),
                      std::string::npos);
        }
        EXPECT_EQ(wrong.size(), 4u) << "four different other questions";
        EXPECT_EQ(ids.size(), 5u) << "every answer keeps an ID of its own";
        EXPECT_EQ(item->GetGeneralFeedback().rfind(
                      "The correct answer is: Q" + std::to_string(i) + " - " + answers[i] + "<br><br>", 0),
                  0u);
    }
    EXPECT_LT(rightAnswerFirst, 6) << "the answers were shuffled";
}

// --- Duplicates
// ----------------------------------------------------------------------------------------------

TEST_F(TrashTest, RemoveDuplicatesMovesTheLaterCopyToTheTrash)
{
    BookBuilder(items)
        .multipleChoice("Same?", {"yes", "no"}, 0)
        .name("first")
        .multipleChoice("Other?", {"yes", "no"}, 0)
        .name("other")
        .multipleChoice("Same?", {"yes", "no"}, 0)
        .name("copy");
    Rebuild();
    EXPECT_EQ(items.RemoveDuplicates(), 1);
    EXPECT_TRUE(FindByName(items, "copy")->TestStatus(qsInTrash));
    EXPECT_FALSE(FindByName(items, "first")->TestStatus(qsInTrash));
    EXPECT_FALSE(FindByName(items, "other")->TestStatus(qsInTrash)) << "same answers, another question";
    ASSERT_EQ(items.GetBackupItem().GetCount(), 1);
    EXPECT_EQ(Entry(0).Action, ebatMoveToTrushRecord);
}

TEST_F(TrashTest, RemoveDuplicatesLeavesDistinctDescriptionsAlone)
{
    BookBuilder(items).description("Read this").description("Then this").description("Read this");
    Rebuild();
    EXPECT_EQ(items.RemoveDuplicates(), 1);
    EXPECT_EQ(items.GetTrashCount(), 1);
    EXPECT_TRUE(items.GetItem(2)->TestStatus(qsInTrash));
}

TEST_F(TrashTest, RemoveDuplicatesComparesTheAnswersAndTheExplanation)
{
    BookBuilder(items)
        .multipleChoice("Same?", {"yes", "no"}, 0)
        .multipleChoice("Same?", {"yes", "maybe"}, 0)
        .multipleChoice("Same?", {"yes", "no"}, 0);
    items.GetItem(2)->SetGeneralFeedback("explained");
    Rebuild();
    EXPECT_EQ(items.RemoveDuplicates(), 0);
}

} // namespace
