// What passed through the clipboard during this run: question sets in the program's own XML and texts
// copied in other programs, so the Multiple Paste dialog and the set paste can offer them again.
#pragma once

#include "model/items/Records.h"

class CClipboardArchive
{
public:
    // Each list keeps at most this many entries: the first one of the run and the newest after it.
    static constexpr std::int32_t kMaxEntries = 10;

    virtual ~CClipboardArchive();

    void AddItem(const SClipboardArchiveItem& entry);
    void AddTextItem(const SClipboardArchiveItem& entry);

    std::int32_t GetCount() const { return m_QuestionSets.GetSize(); }
    std::int32_t GetTextCount() const { return m_Texts.GetSize(); }

    // A copy of entry index; false (out untouched) outside 0..count-1.
    bool GetItem(std::int32_t index, SClipboardArchiveItem& out) const;
    bool GetTextItem(std::int32_t index, SClipboardArchiveItem& out) const;

private:
    CClipboardArchiveItemArray m_QuestionSets;
    CClipboardArchiveItemArray m_Texts;
};
