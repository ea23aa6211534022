// The undo and redo history: entries, the cursor, and taking an entry back or doing it again on the
// record it names.
#include "model/Bacup.h"

#include "model/Datatypes.h"
#include "model/Itemsarray.h"
#include "model/Log.h"

#include <utility>

CBackupItem::CBackupItem(CItemsArray2* items) : m_pItems(items) {}

CBackupItem::~CBackupItem()
{
    Clear();
}

void CBackupItem::Clear()
{
    m_Entries.RemoveAll();
    m_Cursor = -1;
}

bool CBackupItem::GetEntry(std::int32_t i, SItemInfo& entry) const
{
    if (i < 0 || i >= m_Entries.GetSize())
        return false;
    entry = m_Entries[i];
    return true;
}

void CBackupItem::DropRedoTail()
{
    const std::int32_t count = m_Entries.GetSize();
    if (count == 0)
        return;
    if (m_Cursor < 0)
        m_Entries.RemoveAll();
    else if (m_Cursor < count - 1)
        m_Entries.RemoveAt(m_Cursor + 1, count - 1 - m_Cursor);
}

void CBackupItem::Add(std::int32_t recordIndex, std::uint8_t action, std::uint8_t changeDataType,
                      const std::string& oldText, std::int32_t oldValue, std::unique_ptr<CBaseItem> copy)
{
    DropRedoTail();
    SItemInfo entry;
    entry.RecordIndex = recordIndex;
    entry.Action = action;
    entry.ChangeDataType = changeDataType;
    entry.OldText = oldText;
    entry.OldValue = oldValue;
    entry.SavedItem = std::shared_ptr<CBaseItem>(std::move(copy));
    m_Cursor = m_Entries.Add(entry);
}

bool CBackupItem::Undo(std::int32_t& recordIndex, bool& refreshAll)
{
    recordIndex = -1;
    refreshAll = false;
    if (m_Cursor < 0 || m_Cursor >= m_Entries.GetSize())
        return false;
    if (!ApplyEntry(m_Cursor, false, recordIndex, refreshAll))
        return false;
    --m_Cursor;
    return true;
}

bool CBackupItem::Redo(std::int32_t& recordIndex, bool& refreshAll)
{
    recordIndex = -1;
    refreshAll = false;
    if (m_Cursor < -1 || m_Cursor >= m_Entries.GetSize() - 1)
        return false;
    if (!ApplyEntry(m_Cursor + 1, true, recordIndex, refreshAll))
        return false;
    ++m_Cursor;
    return true;
}

bool CBackupItem::ApplyEntry(std::int32_t i, bool redo, std::int32_t& recordIndex, bool& refreshAll)
{
    SItemInfo& entry = m_Entries[i];
    CBaseItem* item = m_pItems ? m_pItems->GetRecord(entry.RecordIndex) : nullptr;
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
            std::unique_ptr<CBaseItem> incoming = m_pItems->CopyItemForUndo(entry.SavedItem.get());
            if (!incoming)
                return false;
            std::unique_ptr<CBaseItem> displaced =
                m_pItems->ReplaceRecord(entry.RecordIndex, std::move(incoming), false);
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
        m_pItems->SetModified(true);
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
    m_pItems->SetModified(true);
    return true;
}
