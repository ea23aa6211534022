// The undo and redo history: its entries and the cursor.
#include "model/collection/Bacup.h"

#include "model/items/Datatypes.h"

#include <utility>

CBackupItem::CBackupItem() = default;

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

void CBackupItem::PushRecordAdded(std::int32_t recordIndex)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatRecordAdded, kBackupStateDone, std::string(), -1);
}

void CBackupItem::PushRecordDeleted(std::int32_t recordIndex)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatDeleteRecord, kBackupStateDone, std::string(), -1);
}

void CBackupItem::PushMovedToTrash(std::int32_t recordIndex, std::int32_t oldCategory)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatMoveToTrushRecord, kBackupStateDone, std::string(), oldCategory);
}

void CBackupItem::PushLayerChange(std::int32_t recordIndex, const std::string& oldLayers)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatFieldChange, ecdtLayer, oldLayers, -1);
}

void CBackupItem::PushCategoryChange(std::int32_t recordIndex, std::int32_t oldCategory)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatFieldChange, ecdtCategory, std::string(), oldCategory);
}

void CBackupItem::PushStatusChange(std::int32_t recordIndex, std::uint32_t oldStatus)
{
    // The status word is kept in the entry's signed value, bit for bit.
    if (recordIndex >= 0)
        Add(recordIndex, ebatFieldChange, ecdtStatus, std::string(), static_cast<std::int32_t>(oldStatus));
}

void CBackupItem::PushWholeItem(std::int32_t recordIndex, std::unique_ptr<CBaseItem> copy)
{
    if (recordIndex >= 0)
        Add(recordIndex, ebatFieldChange, ecdtAllData, std::string(), -1, std::move(copy));
}

SItemInfo* CBackupItem::EntryToUndo()
{
    return m_Cursor >= 0 && m_Cursor < m_Entries.GetSize() ? &m_Entries[m_Cursor] : nullptr;
}

SItemInfo* CBackupItem::EntryToRedo()
{
    return m_Cursor >= -1 && m_Cursor < m_Entries.GetSize() - 1 ? &m_Entries[m_Cursor + 1] : nullptr;
}

void CBackupItem::StepBack()
{
    if (m_Cursor >= 0)
        --m_Cursor;
}

void CBackupItem::StepForward()
{
    if (m_Cursor < m_Entries.GetSize() - 1)
        ++m_Cursor;
}
