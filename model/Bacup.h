// The undo and redo history of record changes of the open book: questions added, moved to the Trash,
// deleted for good, moved between chapters, marked, renumbered or changed as a whole.
#pragma once

#include "model/Records.h"

#include <cstdint>
#include <memory>
#include <string>

class CBaseItem;
class CItemsArray2;

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
// record list, so they stay valid however the book order is sorted or shuffled.
class CBackupItem
{
public:
    // items: the collection whose records the entries name; the collection that holds the history passes
    // itself.
    explicit CBackupItem(CItemsArray2* items = nullptr);
    virtual ~CBackupItem();
    CBackupItem(const CBackupItem&) = delete;
    CBackupItem& operator=(const CBackupItem&) = delete;

    void SetItems(CItemsArray2* items) { m_pItems = items; }

    // Drops the entries after the cursor, appends the new entry and puts the cursor on it. The entry takes
    // the whole-question copy (ecdtAllData); make it with CItemsArray2::CopyItemForUndo so that it keeps the
    // question's identity.
    void Add(std::int32_t recordIndex, std::uint8_t action, std::uint8_t changeDataType,
             const std::string& oldText, std::int32_t oldValue, std::unique_ptr<CBaseItem> copy = nullptr);

    // Takes back the entry at the cursor. recordIndex receives the record changed (-1 when nothing
    // happened); refreshAll tells whether the change may move the record between lists or chapters. False
    // when there is nothing to undo, the record does not exist, or the entry cannot be applied (logged).
    // On success the book is marked modified.
    bool Undo(std::int32_t& recordIndex, bool& refreshAll);
    // Does the entry after the cursor again; results as Undo.
    bool Redo(std::int32_t& recordIndex, bool& refreshAll);

    bool CanUndo() const { return m_Entries.GetSize() > 0 && m_Cursor >= 0; }
    bool CanRedo() const { return m_Entries.GetSize() > 0 && m_Cursor < m_Entries.GetSize() - 1; }

    // Removes every entry with its saved copy; the cursor becomes -1.
    void Clear();

    std::int32_t GetCount() const { return m_Entries.GetSize(); }
    std::int32_t GetCursor() const { return m_Cursor; }
    // Entry i; false outside 0..count-1.
    bool GetEntry(std::int32_t i, SItemInfo& entry) const;

private:
    // Removes the entries after the cursor (all of them when the cursor is -1).
    void DropRedoTail();
    // Applies entry i in the direction its state names; redo only selects the log texts.
    bool ApplyEntry(std::int32_t i, bool redo, std::int32_t& recordIndex, bool& refreshAll);

    SItemInfoArray m_Entries; // oldest first
    std::int32_t m_Cursor = -1;
    CItemsArray2* m_pItems = nullptr; // not owned
};
