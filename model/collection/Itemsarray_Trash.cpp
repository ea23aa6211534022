// Operations that take questions out of play or change many at once: the Trash and deletion for good,
// chapter moves, marking and renumbering of the selected rows, clearing answers and marks, wrong answers
// made from other questions, and the removal of duplicates. Questions never leave the collection while the
// book is open; a question deleted for good keeps only its identity.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>
#include <vector>

namespace
{

// The bit-4 state and the chapter of an item moved to chapterID.
void PutInChapter(CBaseItem* item, std::int32_t chapterID)
{
    item->SetStatus(qsInTrash, chapterID == kTrashCategoryID);
    item->SetCategoryID(chapterID);
}

// The next free answer ID of an item.
std::int32_t NextAnswerID(CBaseItem* item)
{
    std::int32_t highest = 0;
    for (std::int32_t i = 0; i < item->GetAnswerCount(); ++i)
    {
        SAnswerItem* answer = nullptr;
        if (item->GetAnswer(i, answer))
            highest = std::max(highest, answer->ID);
    }
    return highest + 1;
}

const char* const kWrongGridRow = "CItemsArray::SetSelectionForGreedList - Error, wrong realItemN";

} // namespace

// ---------------------------------------------------------------------------------------------------------
// Deletion and the Trash

bool CItemsArray2::DeleteItem(std::int32_t index, bool setModified)
{
    CBaseItem* item = GetItem(index);
    bool deleted = false;
    if (item)
    {
        if (item->TestStatus(qsInTrash))
        {
            // Deleted for good: the chapter stays -10.
            m_BackupItem.PushRecordDeleted(GetRecordIndex(item));
            item->SetStatus(qsDeleted, true);
            item->SetStatus(qsInTrash, false);
            deleted = true;
        }
        else if (!item->TestStatus(qsDeleted))
        {
            m_BackupItem.PushMovedToTrash(GetRecordIndex(item), item->GetCategoryID());
            PutInChapter(item, kTrashCategoryID);
            deleted = true;
        }
    }
    if (deleted && setModified)
        SetModified(true);
    if (index == m_CurrentIndex)
        m_CurrentIndex = -1;
    return deleted;
}

void CItemsArray2::MoveNearIndex(std::int32_t remembered)
{
    m_CurrentIndex = remembered;
    std::int32_t index = -1;
    if (Next(true, &index) && SetCurrentItem(GetItem(index)))
        return;
    if (Prev(true, &index) && SetCurrentItem(GetItem(index)))
        return;
    First();
}

bool CItemsArray2::DeleteCurrentItem()
{
    const std::int32_t remembered = m_CurrentIndex;
    if (!DeleteItem(remembered, true))
        return false;
    SetFilterQuestion(false);
    if (m_SequenceCount == 0)
        return true;
    MoveNearIndex(remembered);
    return true;
}

bool CItemsArray2::DeleteItems(bool allItems, bool toTrash)
{
    const std::int32_t remembered = m_CurrentIndex;
    bool deleted = false;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        CBaseItem* item = m_Items[i];
        if (!allItems && !(item->IsInSequence() && item->TestStatus(qsSelected)))
            continue;
        if (item->TestStatus(qsDeleted) || item->TestStatus(qsInTrash) == toTrash)
            continue;
        if (DeleteItem(i, true))
            deleted = true;
    }
    if (!deleted)
        return false;
    SetFilterQuestion(false);
    if (m_SequenceCount == 0)
        return true;
    if (CBaseItem* stayed = GetItem(remembered); stayed && stayed->IsInSequence())
    {
        SetCurrentItem(stayed);
        return true;
    }
    MoveNearIndex(remembered);
    return true;
}

bool CItemsArray2::EmptyTrash()
{
    bool deleted = false;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        if (m_Items[i]->TestStatus(qsInTrash) && DeleteItem(i, true))
            deleted = true;
    }
    return deleted;
}

std::int32_t CItemsArray2::GetTrashCount() const
{
    return static_cast<std::int32_t>(std::count_if(
        m_Items.begin(), m_Items.end(), [](const CBaseItem* item) { return item->TestStatus(qsInTrash); }));
}

// ---------------------------------------------------------------------------------------------------------
// Chapter moves

bool CItemsArray2::ChangeItemCategory(CBaseItem* item, std::int32_t chapterID)
{
    if (!item)
        return false;
    if (chapterID == kTrashCategoryID)
        m_BackupItem.PushMovedToTrash(GetRecordIndex(item), item->GetCategoryID());
    else
        m_BackupItem.PushCategoryChange(GetRecordIndex(item), item->GetCategoryID());
    PutInChapter(item, chapterID);
    SetModified(true);
    return true;
}

bool CItemsArray2::MultiChangeCategoryAndFlagsRecords(bool allItems, bool markedOnly, bool useGrid,
                                                      bool selectedOnly, std::int32_t chapterID)
{
    if (chapterID < 0 && chapterID != kTrashCategoryID)
    {
        WriteLog("CItemsArray::MultiChangeCategoryAndFlagsRecords - Wrong category ID!", 1, 1);
        return false;
    }
    const bool toTrash = chapterID == kTrashCategoryID;
    m_KeptItem = GetCurrentItem();

    auto move = [this, chapterID, toTrash](CBaseItem* item)
    {
        if (toTrash)
            m_BackupItem.PushMovedToTrash(GetRecordIndex(item), item->GetCategoryID());
        else
            m_BackupItem.PushCategoryChange(GetRecordIndex(item), item->GetCategoryID());
        PutInChapter(item, chapterID);
    };

    bool changed = false;
    if (useGrid)
    {
        for (CBaseItem* item : m_GridList)
        {
            // A question deleted for good takes part in nothing.
            if (!item || item->TestStatus(qsDeleted))
                continue;
            if (markedOnly && !item->IsMarked())
                continue;
            if (selectedOnly && !item->TestStatus(qsSelected))
                continue;
            const bool differs = item->GetCategoryID() != chapterID ||
                                 (toTrash && !item->TestStatus(qsInTrash)) ||
                                 (!toTrash && item->TestStatus(qsInTrash));
            if (!differs)
                continue;
            move(item);
            changed = true;
        }
    }
    else
    {
        for (CBaseItem* item : m_Items)
        {
            if (item->TestStatus(qsDeleted))
                continue;
            if (markedOnly && !item->IsMarked())
                continue;
            if (!allItems && !item->IsInSequence())
                continue;
            if (item->GetCategoryID() == chapterID)
                continue;
            move(item);
            changed = true;
        }
    }
    if (!changed)
        return false;
    SetModified(true);
    SetFilterQuestion(false);
    if (!RestoreCurrentItem() && !First())
        WriteLog("CItemsArray::MoveToTrushAFewRecords - WARRING!", 1, 1);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// The selected rows of the question list

bool CItemsArray2::ForEachSelectedGridItem(const std::function<void(CBaseItem*)>& change)
{
    for (std::int32_t row = 0; row < m_GridList.GetSize(); ++row)
    {
        if (GetItemIndexOfGridRow(row) < 0)
        {
            WriteLog(kWrongGridRow, 1, 1);
            return false;
        }
        CBaseItem* item = m_GridList[row];
        if (item->IsInSequence() && item->TestStatus(qsSelected))
            change(item);
    }
    return true;
}

bool CItemsArray2::SetSelectionForGreedList(bool mark)
{
    bool changed = false;
    const bool listValid = ForEachSelectedGridItem(
        [&](CBaseItem* item)
        {
            m_BackupItem.PushStatusChange(GetRecordIndex(item), item->GetQuestionStatus());
            if (item->IsMarked() != mark)
            {
                item->SetStatus(qsMarked, mark);
                changed = true;
            }
        });
    if (listValid && changed)
        SetModified(true);
    return listValid;
}

bool CItemsArray2::RenumberSelectedItems(std::int32_t start, std::int32_t step, const std::string& prefix)
{
    std::string head = lf::sys::Trim(prefix);
    if (!head.empty() && head.back() != '.')
        head += '.';
    std::int64_t number = start;
    bool changed = false;
    const bool listValid = ForEachSelectedGridItem(
        [&](CBaseItem* item)
        {
            m_BackupItem.PushLayerChange(GetRecordIndex(item), item->GetLayersStr());
            item->SetLayersStr(head + lf::sys::NumberText(number));
            number = number + step > 0 ? number + step : 1;
            changed = true;
        });
    if (listValid && changed)
        SetModified(true);
    return listValid;
}

// ---------------------------------------------------------------------------------------------------------
// Answers and marks

void CItemsArray2::ResetAnswers(bool allItems)
{
    bool cleared = false;
    for (CBaseItem* item : m_Items)
    {
        if (!allItems && !item->IsInSequence())
            continue;
        if (item->HasAnswerList() && item->IsAnswered())
        {
            item->ClearUserAnswer();
            cleared = true;
        }
        item->ResetCycleCounter();
    }
    if (cleared)
        SetModified(true);
}

void CItemsArray2::ClearMarks(bool allItems)
{
    bool cleared = false;
    for (CBaseItem* item : m_Items)
    {
        if (!allItems && !item->IsInSequence())
            continue;
        if (item->IsMarked())
        {
            item->SetStatus(qsMarked, false);
            cleared = true;
        }
    }
    if (cleared)
        SetModified(true);
}

// ---------------------------------------------------------------------------------------------------------
// Wrong answers and duplicates

bool CItemsArray2::GenerateDistractors(int kind)
{
    if (kind != qtMultipleChoice)
        return false;
    const std::int32_t n = m_Items.GetSize();
    bool addedAny = false;
    for (std::int32_t i = 0; i < n; ++i)
    {
        CBaseItem* item = m_Items[i];
        if (item->GetQuestionType() != qtMultipleChoice)
            continue;
        const std::int32_t wanted = std::min<std::int32_t>(4, n - 1);
        std::string feedback;
        SAnswerItem* first = nullptr;
        if (item->GetAnswer(0, first) && (lf::sys::Trim(first->Correct) == "1" ||
                                          lf::sys::LowerCase(lf::sys::Trim(first->Correct)) == "true"))
        {
            feedback =
                "The correct answer is: " + item->GetQuestionText() + " - " + first->AnswerText + "<br><br>";
        }

        std::vector<std::int32_t> drawn;
        std::int32_t added = 0;
        while (added < wanted && static_cast<std::int32_t>(drawn.size()) < n - 1)
        {
            std::int32_t other = 0;
            do
            {
                other = lf::sys::Random(n);
            } while (other == i || std::find(drawn.begin(), drawn.end(), other) != drawn.end());
            drawn.push_back(other);
            CBaseItem* source = m_Items[other];
            SAnswerItem* sourceFirst = nullptr;
            // A blank first answer (an essay's grade record, say) would only make an empty choice.
            if (!source->GetAnswer(0, sourceFirst) || lf::sys::Trim(sourceFirst->AnswerText).empty())
                continue;
            SAnswerItem wrong;
            wrong.ID = NextAnswerID(item);
            wrong.AnswerText = sourceFirst->AnswerText;
            wrong.Correct = "0";
            item->AddAnswer(wrong);
            feedback += source->GetQuestionText() + " - " + sourceFirst->AnswerText + "<br>";
            ++added;
        }
        if (added > 0)
            addedAny = true;
        // An empty explanation would only wipe the one the author wrote.
        if (!feedback.empty())
            item->SetGeneralFeedback(feedback);
    }
    for (CBaseItem* item : m_Items)
        item->ShuffleAnswers();
    return addedAny;
}

std::int32_t CItemsArray2::RemoveDuplicates()
{
    const bool compareCategory = m_Preferences.currentCategory != kAllCategoriesID;
    std::int32_t removed = 0;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        CBaseItem* a = m_Items[i];
        if (!IsActiveItem(a) || !a->IsInSequence())
            continue;
        for (std::int32_t j = i + 1; j < m_Items.GetSize(); ++j)
        {
            CBaseItem* b = m_Items[j];
            if (!IsActiveItem(b) || !b->IsInSequence())
                continue;
            // The content comparison leaves the question text out; without it distinct questions that
            // share their answers, or any two descriptions, would pass for copies.
            if (a->GetQuestionText() != b->GetQuestionText())
                continue;
            if (!a->IsEqual(b, /*compareTimes=*/false, /*compareLayers=*/false, compareCategory,
                            /*compareAnswers=*/true, /*compareFeedback=*/true, /*compareOwner=*/false))
                continue;
            if (DeleteItem(j, true))
                ++removed;
        }
    }
    return removed;
}
