#include "model/storage/ClipboardArchive.h"

namespace
{

// The first entry of the run stays; the oldest of the others go.
void AddLimited(CClipboardArchiveItemArray& list, const SClipboardArchiveItem& entry)
{
    list.Add(entry);
    const std::int32_t excess = list.GetSize() - CClipboardArchive::kMaxEntries;
    if (excess > 0)
        list.RemoveAt(1, excess);
}

bool CopyOut(const CClipboardArchiveItemArray& list, std::int32_t index, SClipboardArchiveItem& out)
{
    if (index < 0 || index >= list.GetSize())
        return false;
    out = list.ElementAt(index);
    return true;
}

} // namespace

CClipboardArchive::~CClipboardArchive()
{
    m_QuestionSets.RemoveAll();
    m_Texts.RemoveAll();
}

void CClipboardArchive::AddItem(const SClipboardArchiveItem& entry)
{
    AddLimited(m_QuestionSets, entry);
}

void CClipboardArchive::AddTextItem(const SClipboardArchiveItem& entry)
{
    AddLimited(m_Texts, entry);
}

bool CClipboardArchive::GetItem(std::int32_t index, SClipboardArchiveItem& out) const
{
    return CopyOut(m_QuestionSets, index, out);
}

bool CClipboardArchive::GetTextItem(std::int32_t index, SClipboardArchiveItem& out) const
{
    return CopyOut(m_Texts, index, out);
}
