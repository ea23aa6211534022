#include "model/storage/Itemsarrayrecords.h"

#include "model/storage/Windows1252.h"
#include "model/support/Log.h"
#include "model/support/ModelTypes.h"
#include "model/support/Utils.h"
#include "platform/sys/BigEndianIO.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"
#include "platform/sys/TextCase.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

namespace
{

using lf::sys::LoadBE16;
using lf::sys::LoadBE32;
// A NUL-terminated Windows-1252 text inside a fixed field, as UTF-8.
std::string FieldText(const unsigned char* field, std::size_t size)
{
    const auto* end = static_cast<const unsigned char*>(std::memchr(field, 0, size));
    const std::size_t length = end ? static_cast<std::size_t>(end - field) : size;
    return Windows1252ToUtf8(std::string_view(reinterpret_cast<const char*>(field), length));
}

constexpr std::size_t kCategoryNamesOffset = 2;

} // namespace

// --- SQaxStruct ---

bool SQaxStruct::decompressQAX(const unsigned char* data, std::size_t size)
{
    if (!data || size < kQaxFixedSize)
        return false;
    QuestionID = LoadBE32(data + 0);
    Reserved4 = LoadBE32(data + 4);
    WhenCreated = LoadBE32(data + 8);
    LastModified = LoadBE32(data + 12);
    Reserved16 = LoadBE32(data + 16);
    Reserved20 = LoadBE32(data + 20);
    Reserved24 = LoadBE16(data + 24);
    Reserved26 = LoadBE32(data + 26);
    AnswerBits = LoadBE32(data + 30);
    Flags = LoadBE32(data + 34);
    Category = LoadBE16(data + 38);
    Depth = LoadBE16(data + 40);
    Reserved42 = LoadBE16(data + 42);
    if (Category >= kPdbCategoryCount)
    {
        WriteLog("SQaxStruct::decompressQAX - Category ERROR Cat = " + lf::sys::NumberText(Category), 2, 1);
        return false;
    }
    std::size_t pos = kQaxFixedSize;
    for (std::string& text : Texts)
    {
        text.clear();
        if (pos >= size)
            continue;
        const auto* start = data + pos;
        const auto* nul = static_cast<const unsigned char*>(std::memchr(start, 0, size - pos));
        const std::size_t length = nul ? static_cast<std::size_t>(nul - start) : size - pos;
        text = Windows1252ToUtf8(std::string_view(reinterpret_cast<const char*>(start), length));
        pos += length + 1;
    }
    return true;
}

// --- CItemsArray ---

CItemsArray::CItemsArray()
{
    ResetFilter();
}

void CItemsArray::ReserveRecords(std::int32_t count)
{
    m_Records.Reserve(count);
    m_UniqueIDs.Reserve(count);
}

std::int32_t CItemsArray::AddRecord(const SQaxStruct& record, const SQaxStructUniqueID& entry)
{
    m_UniqueIDs.Add(entry);
    return m_Records.Add(record);
}

SQaxStruct* CItemsArray::GetRecord(std::int32_t index)
{
    return index >= 0 && index < m_Records.GetSize() ? &m_Records[index] : nullptr;
}

const SQaxStruct* CItemsArray::GetRecord(std::int32_t index) const
{
    return index >= 0 && index < m_Records.GetSize() ? &m_Records[index] : nullptr;
}

const SQaxStructUniqueID* CItemsArray::GetUniqueID(std::int32_t index) const
{
    return index >= 0 && index < m_UniqueIDs.GetSize() ? &m_UniqueIDs[index] : nullptr;
}

void CItemsArray::Clear()
{
    m_Records.RemoveAll();
    m_UniqueIDs.RemoveAll();
    m_Filtered.RemoveAll();
    m_GridRows.RemoveAll();
    m_Position = -1;
    ResetFilter();
    m_bModified = 0;
}

void CItemsArray::SortByLayers()
{
    // The record-list entries travel with their records.
    std::vector<std::int32_t> order(static_cast<std::size_t>(m_Records.GetSize()));
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<std::int32_t>(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](std::int32_t a, std::int32_t b)
                     {
                         return CompareLayerNumbers(m_Records[a].Texts[SQaxStruct::txLayers],
                                                    m_Records[b].Texts[SQaxStruct::txLayers], true) < 0;
                     });
    CQaxStructArray records;
    CQaxUniqueIDArray entries;
    records.Reserve(m_Records.GetSize());
    entries.Reserve(m_Records.GetSize());
    for (const std::int32_t i : order)
    {
        records.Add(m_Records[i]);
        entries.Add(i < m_UniqueIDs.GetSize() ? m_UniqueIDs[i] : SQaxStructUniqueID{});
    }
    m_Records = std::move(records);
    m_UniqueIDs = std::move(entries);
}

std::string CItemsArray::GetDatabaseName() const
{
    return FieldText(m_Header.data(), kPdbNameSize);
}

bool CItemsArray::GetCategoryName(std::int32_t index, std::string& name) const
{
    if (index < 0 || index >= static_cast<std::int32_t>(kPdbCategoryCount))
        return false;
    name = FieldText(m_AppInfo.data() + kCategoryNamesOffset +
                         kPdbCategoryNameSize * static_cast<std::size_t>(index),
                     kPdbCategoryNameSize);
    return !name.empty();
}

bool CItemsArray::SetCategoryName(std::int32_t index, const std::string& name)
{
    if (index < 0 || index >= static_cast<std::int32_t>(kPdbCategoryCount))
        return false;
    unsigned char* field =
        m_AppInfo.data() + kCategoryNamesOffset + kPdbCategoryNameSize * static_cast<std::size_t>(index);
    std::memset(field, 0, kPdbCategoryNameSize);
    const std::string bytes = Utf8ToWindows1252(name).substr(0, kPdbCategoryNameSize - 1);
    std::memcpy(field, bytes.data(), bytes.size());
    return true;
}

void CItemsArray::ClearCategoryNames()
{
    for (std::int32_t i = 2; i < static_cast<std::int32_t>(kPdbCategoryCount); ++i)
        SetCategoryName(i, "");
    for (SQaxStruct& record : m_Records)
        if (record.Category >= 2)
            record.Category = 0;
}

void CItemsArray::ResetFilter()
{
    m_Filter = SQaxFilterSettings{};
}

bool CItemsArray::IsInCategoryFilter(const SQaxStruct& record) const
{
    // A record's category is never the Trash filter -10, so -2 takes every record.
    return m_Filter.category == -2 || static_cast<std::int32_t>(record.Category) == m_Filter.category;
}

bool CItemsArray::PassesFilterKind(const SQaxStruct& record) const
{
    switch (m_Filter.filterKind)
    {
    case 0:
        return true;
    case 1:
        return (record.Flags & kQaxFlagMarked) != 0;
    case 2:
        return m_Filter.phase == 0 ? record.UserBits() != 0 : record.UserBits() == record.CorrectBits();
    case 3:
        return m_Filter.phase == 0 ? record.UserBits() == 0
                                   : record.UserBits() != 0 && record.UserBits() != record.CorrectBits();
    default:
        return false;
    }
}

bool CItemsArray::PassesSearch(const SQaxStruct& record, const std::string& lowerSearch) const
{
    std::string text;
    if (m_Filter.searchInQuestion)
        text += record.Texts[SQaxStruct::txQuestion];
    if (m_Filter.searchInAnswers)
        for (int i = 0; i < kQaxAnswerCount; ++i)
            text += record.Answer(i);
    if (m_Filter.searchInExplanation)
        text += record.Texts[SQaxStruct::txExplanation];
    if (m_Filter.searchInKeywords)
        text += record.Texts[SQaxStruct::txKeywords];
    return lf::sys::LowerCase(text).find(lowerSearch) != std::string::npos;
}

bool CItemsArray::SetFilterQuestion()
{
    m_Filtered.RemoveAll();
    m_Position = -1;
    if (m_Filter.phase == -1)
    {
        WriteLog("CItemsArray::SetFilterQuestion() - m_Preferences.currentMode == eamNone", 1, 1);
        return false;
    }

    const std::int32_t count = m_Records.GetSize();
    if (m_Filter.phase == 0 || m_Filter.phase == 1)
    {
        for (std::int32_t i = 0; i < count; ++i)
            if (IsInCategoryFilter(m_Records[i]) && PassesFilterKind(m_Records[i]))
                m_Filtered.Add(i);
        if (m_Filter.shuffle)
        {
            // Each record draws slots until it hits a free one.
            const std::int32_t n = m_Filtered.GetSize();
            CIntArray shuffled;
            shuffled.SetSize(n);
            std::vector<bool> taken(static_cast<std::size_t>(n), false);
            for (const std::int32_t index : m_Filtered)
            {
                std::int32_t slot = lf::sys::Random(n);
                while (taken[static_cast<std::size_t>(slot)])
                    slot = lf::sys::Random(n);
                taken[static_cast<std::size_t>(slot)] = true;
                shuffled[slot] = index;
            }
            m_Filtered = std::move(shuffled);
        }
        if (m_Filter.dropCorrect)
        {
            CIntArray kept;
            for (const std::int32_t index : m_Filtered)
                if (m_Records[index].UserBits() != m_Records[index].CorrectBits())
                    kept.Add(index);
            m_Filtered = std::move(kept);
        }
        if (m_Filter.depth && m_Filtered.GetSize() > 0)
        {
            for (const std::int32_t index : m_Filtered)
            {
                SQaxStruct& record = m_Records[index];
                record.Depth = static_cast<std::uint16_t>(GetLayerDepth(record.Texts[SQaxStruct::txLayers]));
                record.Flags &= ~kQaxFlagDepthVisited;
            }
        }
        if (!m_Filter.shuffle)
            std::stable_sort(m_Filtered.begin(), m_Filtered.end(),
                             [this](std::int32_t a, std::int32_t b)
                             {
                                 return CompareLayerNumbers(m_Records[a].Texts[SQaxStruct::txLayers],
                                                            m_Records[b].Texts[SQaxStruct::txLayers],
                                                            true) < 0;
                             });
    }
    else if (m_Filter.phase == PhaseNumber(EPhase::Edit))
    {
        for (std::int32_t i = 0; i < count; ++i)
            if (IsInCategoryFilter(m_Records[i]))
                m_Filtered.Add(i);
    }

    m_GridRows.RemoveAll();
    if (m_Filter.selectionOnly == 1)
    {
        const std::uint32_t bit =
            m_Filter.phase == PhaseNumber(EPhase::Edit) ? kQaxFlagSelected : kQaxFlagMarked;
        CIntArray kept;
        for (const std::int32_t index : m_Filtered)
            if (m_Records[index].Flags & bit)
                kept.Add(index);
        m_Filtered = std::move(kept);
    }
    const bool anyScope = m_Filter.searchInQuestion || m_Filter.searchInAnswers ||
                          m_Filter.searchInExplanation || m_Filter.searchInKeywords;
    if (anyScope && !m_Filter.searchText.empty())
    {
        const std::string lowerSearch = lf::sys::LowerCase(m_Filter.searchText);
        CIntArray kept;
        for (const std::int32_t index : m_Filtered)
            if (PassesSearch(m_Records[index], lowerSearch))
                kept.Add(index);
        m_Filtered = std::move(kept);
    }
    m_GridRows = m_Filtered;
    return true;
}

void CItemsArray::SetPhase(std::int32_t phase, bool refilter)
{
    m_Filter.phase = phase;
    if (refilter)
        SetFilterQuestion();
}

void CItemsArray::SetFilterKind(std::int32_t kind, bool refilter)
{
    m_Filter.filterKind = kind;
    if (refilter)
        SetFilterQuestion();
}

void CItemsArray::ClearRecordFlags(bool clear400, bool clear800, bool clear200, bool all)
{
    std::uint32_t mask = 0;
    if (clear400)
        mask |= kQaxFlag400;
    if (clear800)
        mask |= kQaxFlag800;
    if (clear200)
        mask |= kQaxFlag200;
    for (SQaxStruct& record : m_Records)
        if (all || IsInCategoryFilter(record))
            record.Flags &= ~mask;
}

SQaxStruct* CItemsArray::GetGridRecord(std::int32_t row)
{
    if (row < 0 || row >= m_GridRows.GetSize())
        return nullptr;
    return GetRecord(m_GridRows[row]);
}

std::int32_t CItemsArray::GetFilteredRecordIndex(std::int32_t position) const
{
    return position >= 0 && position < m_Filtered.GetSize() ? m_Filtered[position] : -1;
}

bool CItemsArray::SetPosition(std::int32_t position)
{
    if (position < 0 || position >= m_Filtered.GetSize())
        return false;
    m_Position = position;
    return true;
}

void CItemsArray::UpdateCurrentRecordInfo()
{
    const SQaxStruct* record = GetRecord(GetFilteredRecordIndex(m_Position));
    if (!record)
    {
        m_CurrentID = -1;
        m_CurrentCreated = 0;
        m_CurrentOwner.clear();
        return;
    }
    m_CurrentID = static_cast<std::int32_t>(record->QuestionID);
    m_CurrentCreated = record->WhenCreated;
    m_CurrentOwner = record->Texts[SQaxStruct::txOwner];
}
