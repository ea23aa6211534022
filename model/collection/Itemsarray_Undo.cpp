// Taking back and doing again the entries of the undo history on the records they name.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"

#include <memory>
#include <string>
#include <utility>

bool CItemsArray2::Undo(std::int32_t& recordIndex, bool& refreshAll)
{
    recordIndex = -1;
    refreshAll = false;
    SItemInfo* entry = m_BackupItem.EntryToUndo();
    if (!entry || !ApplyUndoEntry(*entry, false, recordIndex, refreshAll))
        return false;
    m_BackupItem.StepBack();
    return true;
}

bool CItemsArray2::Redo(std::int32_t& recordIndex, bool& refreshAll)
{
    recordIndex = -1;
    refreshAll = false;
    SItemInfo* entry = m_BackupItem.EntryToRedo();
    if (!entry || !ApplyUndoEntry(*entry, true, recordIndex, refreshAll))
        return false;
    m_BackupItem.StepForward();
    return true;
}

bool CItemsArray2::ApplyUndoEntry(SItemInfo& entry, bool redo, std::int32_t& recordIndex, bool& refreshAll)
{
    CBaseItem* item = GetRecord(entry.RecordIndex);
    if (!item)
        return false;
    recordIndex = entry.RecordIndex;
    const std::string prefix = redo ? "CBackupItem::Redo - " : "CBackupItem::Undo - ";

    if (entry.Action == ebatFieldChange)
    {
        refreshAll = entry.ChangeDataType == ecdtCategory;
        switch (entry.ChangeDataType)
        {
        case ecdtLayer:
        {
            std::string layers = item->GetLayersStr();
            item->SetLayersStr(entry.OldText);
            entry.OldText = std::move(layers);
            break;
        }
        case ecdtCategory:
        {
            const std::int32_t category = item->GetCategoryID();
            item->SetCategoryID(entry.OldValue);
            entry.OldValue = category;
            break;
        }
        case ecdtStatus:
        {
            const std::uint32_t status = item->GetQuestionStatus();
            item->SetQuestionStatus(static_cast<std::uint32_t>(entry.OldValue));
            entry.OldValue = static_cast<std::int32_t>(status);
            break;
        }
        case ecdtAllData:
        {
            if (!entry.SavedItem)
                return false;
            // The entry's copy cannot give up its shared ownership, so an exact copy of it goes into the
            // book and the displaced question becomes the entry's copy.
            std::unique_ptr<CBaseItem> incoming = CopyItemForUndo(entry.SavedItem.get());
            if (!incoming)
                return false;
            std::unique_ptr<CBaseItem> displaced =
                ReplaceRecord(entry.RecordIndex, std::move(incoming), false);
            if (displaced.get() != item)
            {
                WriteLog(prefix + ".ChangeDataType == ecdtAllData", 1, 1);
                // Whatever came out of the book stays with the entry rather than being lost.
                if (displaced)
                    entry.SavedItem = std::shared_ptr<CBaseItem>(std::move(displaced));
                return false;
            }
            entry.SavedItem = std::shared_ptr<CBaseItem>(std::move(displaced));
            break;
        }
        default:
            // An unknown field: nothing to swap.
            return true;
        }
        // A change taken back or done again must reach the next save like any other change.
        SetModified(true);
        return true;
    }

    if (entry.Action > ebatRecordAdded)
        return false;
    const bool takingBack = entry.ChangeDataType == kBackupStateDone;
    if (!takingBack && entry.ChangeDataType != kBackupStateTakenBack)
    {
        WriteLog(prefix +
                     (entry.Action == ebatMoveToTrushRecord ? "ebatMoveToTrushRecord" : "ebatDeleteRecord"),
                 1, 1);
        return false;
    }
    switch (entry.Action)
    {
    case ebatDeleteRecord:
        item->SetStatus(qsDeleted, !takingBack);
        item->SetStatus(qsInTrash, takingBack);
        break;
    case ebatMoveToTrushRecord:
        item->SetStatus(qsInTrash, !takingBack);
        item->SetCategoryID(takingBack ? entry.OldValue : kTrashCategoryID);
        break;
    case ebatRecordAdded:
        item->SetStatus(qsDeleted, takingBack);
        break;
    default:
        break;
    }
    entry.ChangeDataType = takingBack ? kBackupStateTakenBack : kBackupStateDone;
    refreshAll = true;
    SetModified(true);
    return true;
}
