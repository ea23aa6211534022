// The undo and redo history of record changes of the open book: questions added, moved to the Trash,
// deleted for good, moved between chapters, marked, renumbered or changed as a whole.
#pragma once

#include "model/items/Records.h"

#include <cstdint>
#include <memory>
#include <string>

class CBaseItem;

// What an entry records (`SItemInfo::Action`).
enum EBackupActionType : std::uint8_t
{
    ebatFieldChange = 0,
    ebatDeleteRecord = 1,
    ebatMoveToTrushRecord = 2,
    ebatRecordAdded = 3,
};

// Which field a field change swaps (`SItemInfo::ChangeDataType` of ebatFieldChange); for the record
// actions the same byte holds the entry's state.
enum EChangeDataType : std::uint8_t
{
    ecdtNone = 0,
    ecdtLayer = 1,
    ecdtCategory = 2,
    ecdtStatus = 3,
    ecdtAllData = 4,
};

// States of a record action: done, or taken back.
constexpr std::uint8_t kBackupStateDone = 0;
constexpr std::uint8_t kBackupStateTakenBack = 5;

// The history of one collection. Entries name their question by its index in the collection's stable
// record list, so they stay valid however the book order is sorted or shuffled. The history only keeps
// the entries and the cursor; the collection applies them (CItemsArray2::Undo and Redo).
class CBackupItem
{
public:
    CBackupItem();
    virtual ~CBackupItem();
    CBackupItem(const CBackupItem&) = delete;
    CBackupItem& operator=(const CBackupItem&) = delete;

    // Drops the entries after the cursor, appends the new entry and puts the cursor on it. The entry takes
    // the whole-question copy (ecdtAllData); make it with CItemsArray2::CopyItemForUndo so that it keeps the
    // question's identity.
    void Add(std::int32_t recordIndex, std::uint8_t action, std::uint8_t changeDataType,
             const std::string& oldText, std::int32_t oldValue, std::unique_ptr<CBaseItem> copy = nullptr);

    // The entries callers make, one per change. A negative record index (a question that is not in the
    // book) records nothing.
    void PushRecordAdded(std::int32_t recordIndex);
    void PushRecordDeleted(std::int32_t recordIndex);
    void PushMovedToTrash(std::int32_t recordIndex, std::int32_t oldCategory);
    void PushLayerChange(std::int32_t recordIndex, const std::string& oldLayers);
    void PushCategoryChange(std::int32_t recordIndex, std::int32_t oldCategory);
    void PushStatusChange(std::int32_t recordIndex, std::uint32_t oldStatus);
    void PushWholeItem(std::int32_t recordIndex, std::unique_ptr<CBaseItem> copy);

    bool CanUndo() const { return m_Entries.GetSize() > 0 && m_Cursor >= 0; }
    bool CanRedo() const { return m_Entries.GetSize() > 0 && m_Cursor < m_Entries.GetSize() - 1; }

    // The entry an undo takes back (at the cursor) and the one a redo does again (after it); null when
    // there is none. Once applied, StepBack and StepForward move the cursor over it.
    SItemInfo* EntryToUndo();
    SItemInfo* EntryToRedo();
    void StepBack();
    void StepForward();

    // Removes every entry with its saved copy; the cursor becomes -1.
    void Clear();

    std::int32_t GetCount() const { return m_Entries.GetSize(); }
    std::int32_t GetCursor() const { return m_Cursor; }
    // Entry i; false outside 0..count-1.
    bool GetEntry(std::int32_t i, SItemInfo& entry) const;

private:
    // Removes the entries after the cursor (all of them when the cursor is -1).
    void DropRedoTail();

    SItemInfoArray m_Entries; // oldest first
    std::int32_t m_Cursor = -1;
};
