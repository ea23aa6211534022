// The visible sequence of the open book: the filter settings, the rebuild that marks the members, the book
// order it follows, and the moves through it in the modes Normal, Random, Depth and Cycle.
#include "model/collection/Itemsarray.h"

#include "model/collection/ItemPass.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

using lf::collection::CItemPass;
using lf::collection::kItemsAhead;
using lf::collection::PrefetchItem;

namespace
{

bool IsStudyPhase(std::int32_t mode)
{
    return IsStudyPhase(PhaseFromNumber(mode));
}

bool IsCreditedResult(int result)
{
    return result == 1 || result == 2;
}

// What the book order compares, taken from an item once before a sort: its duplicate group, chapter row,
// chapter number as its parts (in a shared list), creation time, last change and ID.
struct SBookOrderKey
{
    std::int32_t group = -1;
    std::int32_t row = -1;
    std::uint32_t firstPart = 0;
    std::int32_t depth = 0; // number of parts; 0 for an empty chapter number
    std::int64_t created = 0;
    std::int64_t modified = 0;
    std::int32_t id = 0;
    std::int32_t index = 0; // the item's place in the book order before the sort
};

SBookOrderKey MakeBookOrderKey(const CBaseItem* item, std::int32_t index, std::int32_t row,
                               std::vector<int>& parts)
{
    SBookOrderKey key;
    key.group = item->GetDuplicateGroup();
    key.row = row;
    key.firstPart = static_cast<std::uint32_t>(parts.size());
    const std::string& layers = item->GetLayersStr();
    if (!layers.empty())
    {
        key.depth = GetLayerDepth(layers);
        for (int k = 1; k <= key.depth; ++k)
            parts.push_back(GetLayerNumberPart(layers, k));
    }
    key.created = item->GetWhenCreated();
    key.modified = item->GetLastModified();
    key.id = item->GetID();
    key.index = index;
    return key;
}

// The book order: chapter row, chapter number part by part as numbers and then by depth (an empty number
// after every other one), creation time, last change, ID. Negative, 0 or positive.
int CompareBookOrderKeys(const SBookOrderKey& a, const SBookOrderKey& b, const int* parts)
{
    if (a.row != b.row)
        return a.row < b.row ? -1 : 1;
    if (a.depth == 0 || b.depth == 0)
    {
        if (a.depth != b.depth)
            return a.depth == 0 ? 1 : -1;
    }
    else
    {
        const int* partsA = parts + a.firstPart;
        const int* partsB = parts + b.firstPart;
        const int depth = std::min(a.depth, b.depth);
        for (int k = 0; k < depth; ++k)
        {
            if (partsA[k] != partsB[k])
                return partsA[k] < partsB[k] ? -1 : 1;
        }
        if (a.depth != b.depth)
            return a.depth < b.depth ? -1 : 1;
    }
    if (a.created != b.created)
        return a.created < b.created ? -1 : 1;
    if (a.modified != b.modified)
        return a.modified < b.modified ? -1 : 1;
    if (a.id != b.id)
        return a.id < b.id ? -1 : 1;
    return 0;
}

} // namespace

int CompareItemsForSort(const CItemsArray2& items, const CBaseItem* a, const CBaseItem* b)
{
    std::vector<int> parts;
    const SBookOrderKey keyA = MakeBookOrderKey(a, 0, items.FindCategoryIndex(a->GetCategoryID()), parts);
    const SBookOrderKey keyB = MakeBookOrderKey(b, 1, items.FindCategoryIndex(b->GetCategoryID()), parts);
    return CompareBookOrderKeys(keyA, keyB, parts.data());
}

// ---------------------------------------------------------------------------------------------------------
// Filter settings

void CItemsArray2::SetCurrentMode(std::uint8_t mode, bool refilter)
{
    m_Preferences.currentMode = static_cast<std::int8_t>(mode);
    if (refilter)
        SetFilterQuestion(false);
}

void CItemsArray2::SetCurrentView(std::uint8_t view, bool refilter)
{
    m_Preferences.currentView = static_cast<std::int8_t>(view);
    if (refilter)
        SetFilterQuestion(false);
}

bool CItemsArray2::SetActiveCategory(std::int32_t id, bool refilter)
{
    if (id != kAllCategoriesID && id != kTrashCategoryID && !CategoryExists(id))
    {
        WriteLog("CItemsArray::SetActiveCategory - Unknown category", 1, 1);
        return false;
    }
    m_Preferences.currentCategory = id;
    if (refilter)
        SetFilterQuestion(false);
    return true;
}

void CItemsArray2::ResetFilterOptions()
{
    ClearSearchOptions();
    m_Preferences.currentCategory = kAllCategoriesID;
    m_Preferences.randomMode = 0;
    m_Preferences.cycleMode = 0;
    m_Preferences.depthMode = 0;
    m_Preferences.searchText.clear();
}

void CItemsArray2::ClearSearchOptions()
{
    m_Preferences.markedOnly = 0;
    m_Preferences.searchInQuestion = 0;
    m_Preferences.searchInAnswers = 0;
    m_Preferences.searchInFeedback = 0;
    m_Preferences.searchInKeywords = 0;
}

// ---------------------------------------------------------------------------------------------------------
// The rebuild

bool CItemsArray2::IsCandidate(CBaseItem* item) const
{
    const SFilterOptions& p = m_Preferences;
    return item->IsAvailableInPhase(p.currentMode) && item->IsInCategory(p.currentCategory) &&
           (QuestionStyleFromNumber(m_QuestionStyle) == EQuestionStyle::Moodle ||
            item->GetQuestionType() == qtMultipleChoice) &&
           !item->TestStatus(qsDeleted | qsInTrash);
}

bool CItemsArray2::PassesView(CBaseItem* item) const
{
    const bool test = m_Preferences.currentMode == eamTestMode;
    switch (static_cast<EViewFilter>(m_Preferences.currentView))
    {
    case EViewFilter::All:
        return true;
    case EViewFilter::Marked:
        return item->IsMarked();
    case EViewFilter::AnsweredOrCorrect:
        return test ? item->IsAnswered() : item->IsAnswered() && item->GetGrade() != EGrade::Incorrect;
    case EViewFilter::UnansweredOrIncorrect:
        return test ? !item->IsAnswered() : item->IsAnswered() && item->GetGrade() == EGrade::Incorrect;
    }
    return false;
}

void CItemsArray2::RemoveFromSequence(CBaseItem* item)
{
    item->SetInSequence(false);
    --m_SequenceCount;
}

bool CItemsArray2::SetFilterQuestion(bool resetCycle)
{
    if (CBaseItem* current = GetCurrentItem())
        m_KeptItem = current;
    m_CurrentNumber = 0;
    m_SequenceCount = 0;
    m_CurrentIndex = -1;

    const SFilterOptions& p = m_Preferences;
    if (p.currentMode == eamNone)
    {
        WriteLog("CItemsArray::SetFilterQuestion() - m_Preferences.currentMode == eamNone", 1, 1);
        return false;
    }

    if (IsStudyPhase(p.currentMode))
    {
        for (CBaseItem* item : CItemPass(m_Items))
        {
            item->SetDuplicateGroup(-1);
            item->SetStatus(qsInSequence | qsDepthWalk, false);
            if (IsCandidate(item) && PassesView(item))
            {
                item->SetInSequence(true);
                ++m_SequenceCount;
            }
        }
        if (!p.randomMode)
            SortItems();
        else if (m_Items.GetSize() > 1)
            ShuffleArray(m_Items);
        if (p.currentMode == eamTestMode && p.cycleMode)
        {
            for (CBaseItem* item : CItemPass(m_Items))
            {
                if (item->IsInSequence() && item->IsAnswered() && IsCreditedResult(item->GetResult()))
                    RemoveFromSequence(item);
            }
        }
    }
    else
    {
        // Edit phase: no view, no sort, no shuffle; the Trash shows every item in it. A phase code beyond
        // Edit makes no item available and leaves the sequence empty.
        const bool edit = p.currentMode == eamEditMode;
        for (CBaseItem* item : CItemPass(m_Items))
        {
            item->SetInSequence(false);
            item->SetDuplicateGroup(-1);
            if (edit &&
                (IsCandidate(item) || (p.currentCategory == kTrashCategoryID && item->TestStatus(qsInTrash))))
            {
                item->SetInSequence(true);
                ++m_SequenceCount;
            }
        }
    }

    if ((p.currentMode == eamReviewMode || p.currentMode == eamLearnMode) && p.cycleMode)
    {
        if (resetCycle)
        {
            m_MaxCycle = 0;
            for (const CBaseItem* item : CItemPass(m_Items))
            {
                if (item->IsInSequence())
                    m_MaxCycle = std::max(m_MaxCycle, item->GetCycleCounter());
            }
        }
        if (m_MaxCycle > 0)
        {
            for (CBaseItem* item : CItemPass(m_Items))
            {
                if (item->IsInSequence() && item->GetCycleCounter() < m_MaxCycle)
                    RemoveFromSequence(item);
            }
        }
    }

    ApplySearchFilters();
    FillGridList();
    return true;
}

void CItemsArray2::RemoveBySearch(CBaseItem* item)
{
    RemoveFromSequence(item);
    m_SearchRemoved.push_back(item);
}

void CItemsArray2::ApplySearchFilters()
{
    m_SearchRemoved.clear();
    const SFilterOptions& p = m_Preferences;
    const bool textSearch =
        (p.searchInQuestion || p.searchInAnswers || p.searchInFeedback || p.searchInKeywords) &&
        !p.searchText.empty();
    const auto query = static_cast<EProblemQuery>(p.problemKind);
    const bool countQuery = IsCountQuery(query);
    if (p.markedOnly || textSearch || countQuery)
    {
        const SPreparedSearch search(p);
        for (CBaseItem* item : CItemPass(m_Items))
        {
            if (!item->IsInSequence())
                continue;
            // The text search compares against the built search text: one a caller has not built yet is
            // built here rather than matching nothing.
            if (textSearch && !item->IsSearchTextFilled())
                PrepareSearchInfo(item);
            // A marked-only search still has to find its text or pass its query.
            if ((p.markedOnly && !item->IsMarked()) ||
                ((textSearch || countQuery) && !item->MatchesFilter(p, search)))
                RemoveBySearch(item);
        }
    }
    if (query == EProblemQuery::SpecialCharacters)
    {
        for (CBaseItem* item : CItemPass(m_Items))
        {
            if (item->IsInSequence() && !item->NeedsSpecialRendering())
                RemoveBySearch(item);
        }
    }
    if (query == EProblemQuery::Duplicates)
        FormDuplicateGroups();
}

void CItemsArray2::FormDuplicateGroups()
{
    // Copies are members with the same search text (what Compare2 compares). A group is named by the
    // book-order index of its first copy.
    std::vector<std::int32_t> members;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        PrefetchItem(m_Items, i + kItemsAhead);
        if (m_Items[i]->IsInSequence())
            members.push_back(i);
    }
    // Every member is compared with every other one: with two members or more, each gets its search text.
    if (members.size() >= 2)
        for (const std::int32_t i : members)
            if (!m_Items[i]->IsSearchTextFilled())
                PrepareSearchInfo(m_Items[i]);

    struct SGroup
    {
        std::int32_t first; // book-order index of the first copy
        std::int64_t size;
    };
    std::vector<SGroup> groups;
    std::vector<std::int32_t> groupOf(members.size(), -1);
    std::unordered_map<std::string_view, std::int32_t> groupOfText;
    groupOfText.reserve(members.size());
    for (std::size_t m = 0; m < members.size(); ++m)
    {
        const auto [group, added] = groupOfText.try_emplace(m_Items[members[m]]->GetSearchText(),
                                                            static_cast<std::int32_t>(groups.size()));
        if (added)
            groups.push_back({members[m], 0});
        ++groups[static_cast<std::size_t>(group->second)].size;
        groupOf[m] = group->second;
    }

    // Each pair of copies counts as one match.
    std::int64_t matches = 0;
    for (std::size_t m = 0; m < members.size(); ++m)
    {
        const SGroup& group = groups[static_cast<std::size_t>(groupOf[m])];
        CBaseItem* item = m_Items[members[m]];
        if (group.size >= 2)
            item->SetDuplicateGroup(group.first);
        else
            RemoveBySearch(item);
    }
    for (const SGroup& group : groups)
        matches += group.size * (group.size - 1) / 2;
    // A single matching pair already stands as it is; more matches are put next to each other.
    if (matches > 1)
        SortByDuplicateGroup();
}

void CItemsArray2::FillGridList()
{
    m_GridList.RemoveAll();
    // The count is exact here: the rebuild has just set every member; without one there is nothing to look
    // at.
    if (m_SequenceCount <= 0)
        return;
    m_GridList.Reserve(m_SequenceCount);
    for (CBaseItem* item : CItemPass(m_Items))
    {
        if (item->IsInSequence())
            m_GridList.Add(item);
    }
}

void CItemsArray2::IncrementCycleCounters()
{
    for (CBaseItem* item : CItemPass(m_Items))
    {
        if (item->IsInSequence())
            item->SetCycleCounter(item->GetCycleCounter() + 1);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Book order

void CItemsArray2::SortItems()
{
    SortBookOrder(false);
}

bool CItemsArray2::SortBookAndRestart()
{
    SortItems();
    SetModified(true);
    SetFilterQuestion(false);
    return First();
}

void CItemsArray2::SortByDuplicateGroup()
{
    SortBookOrder(true);
}

void CItemsArray2::SortBookOrder(bool byDuplicateGroup)
{
    std::unordered_map<std::int32_t, std::int32_t> rows;
    for (std::int32_t row = 0; row < m_Categories.GetSize(); ++row)
        rows.emplace(m_Categories[row].ID, row);
    // Each item's key is taken once; the sort then compares keys only.
    std::vector<int> parts;
    parts.reserve(static_cast<std::size_t>(m_Items.GetSize()) * 2);
    std::vector<SBookOrderKey> keys;
    keys.reserve(static_cast<std::size_t>(m_Items.GetSize()));
    std::int32_t index = 0;
    for (const CBaseItem* item : CItemPass(m_Items))
    {
        const auto found = rows.find(item->GetCategoryID());
        keys.push_back(MakeBookOrderKey(item, index++, found == rows.end() ? -1 : found->second, parts));
    }
    const int* partList = parts.data();
    std::stable_sort(keys.begin(), keys.end(),
                     [byDuplicateGroup, partList](const SBookOrderKey& a, const SBookOrderKey& b)
                     {
                         if (byDuplicateGroup && a.group != b.group)
                             return a.group < b.group;
                         return CompareBookOrderKeys(a, b, partList) < 0;
                     });
    const CBaseItem* current = GetCurrentItem();
    const CBaseItemPtrArray before = m_Items;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
        m_Items[i] = before[keys[static_cast<std::size_t>(i)].index];
    // The position stays on its question; its number among the members follows the new order.
    if (current)
    {
        m_CurrentIndex = IndexOfItem(current);
        SetCurrentItem(current);
    }
}

// ---------------------------------------------------------------------------------------------------------
// Moves

bool CItemsArray2::First()
{
    m_CurrentIndex = -1;
    m_CurrentNumber = 1;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        if (m_Items[i]->IsInSequence())
        {
            m_CurrentIndex = i;
            return true;
        }
    }
    return false;
}

bool CItemsArray2::Last()
{
    m_CurrentIndex = -1;
    for (std::int32_t i = m_Items.GetSize() - 1; i >= 0; --i)
    {
        if (m_Items[i]->IsInSequence())
        {
            m_CurrentIndex = i;
            m_CurrentNumber = m_SequenceCount;
            return true;
        }
    }
    return false;
}

bool CItemsArray2::Next(bool peek, std::int32_t* index)
{
    if (index)
        *index = -1;
    if (m_Preferences.depthMode && IsStudyPhase(m_Preferences.currentMode))
        return NextInDepth(peek, index);

    // Without a current item the walk starts at the first member and counts from there; the number left by
    // an earlier position would be off, and at the end would even start a Cycle pass.
    const bool hasCurrent = GetCurrentItem() != nullptr;
    const std::int32_t number = hasCurrent ? m_CurrentNumber : 0;
    if (number < m_SequenceCount)
    {
        for (std::int32_t i = hasCurrent ? m_CurrentIndex + 1 : 0; i < m_Items.GetSize(); ++i)
        {
            if (!m_Items[i]->IsInSequence())
                continue;
            if (index)
                *index = i;
            if (!peek)
            {
                m_CurrentIndex = i;
                m_CurrentNumber = number + 1;
            }
            return true;
        }
    }
    return NextAtEnd(peek, index);
}

bool CItemsArray2::NextAtEnd(bool /*peek*/, std::int32_t* index)
{
    // The next pass of the Cycle mode starts here, also when the caller only peeks.
    const SFilterOptions& p = m_Preferences;
    if (!p.cycleMode)
        return false;
    bool moved = false;
    if (p.currentMode == eamTestMode)
    {
        SetFilterQuestion(false);
        IncrementCycleCounters();
        moved = First();
    }
    else if (p.currentMode == eamReviewMode || p.currentMode == eamLearnMode)
    {
        --m_MaxCycle;
        if (m_MaxCycle < 0)
            return false;
        SetFilterQuestion(false);
        moved = First();
    }
    if (moved && index)
        *index = m_CurrentIndex;
    return moved;
}

bool CItemsArray2::NextInDepth(bool peek, std::int32_t* index)
{
    CBaseItem* current = GetCurrentItem();
    if (!current)
    {
        // Without a current item the walk starts at the first member, as the normal walk does.
        for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
        {
            if (!m_Items[i]->IsInSequence())
                continue;
            if (index)
                *index = i;
            if (!peek)
            {
                m_CurrentIndex = i;
                m_CurrentNumber = 1;
            }
            return true;
        }
        return false;
    }
    if (m_CurrentIndex + 1 >= m_Items.GetSize())
        return false;

    const bool passed =
        current->HasAnswerList() && current->IsAnswered() && IsCreditedResult(current->GetResult());
    const int depth = GetLayerDepth(current->GetLayersStr());
    std::int32_t number = m_CurrentNumber;
    for (std::int32_t i = m_CurrentIndex + 1; i < m_Items.GetSize(); ++i)
    {
        CBaseItem* item = m_Items[i];
        if (!item->IsInSequence())
            continue;
        ++number;
        if (passed || GetLayerDepth(item->GetLayersStr()) <= depth)
        {
            if (index)
                *index = i;
            if (!peek)
            {
                current->SetStatus(qsDepthWalk, true);
                m_CurrentIndex = i;
                m_CurrentNumber = number;
            }
            return true;
        }
        // A question below one not yet answered right is skipped, and is no way back either.
        if (!peek)
            item->SetStatus(qsDepthWalk, false);
    }
    // Nothing to move to: the counter stays as it was.
    return false;
}

bool CItemsArray2::Prev(bool peek, std::int32_t* index)
{
    if (index)
        *index = -1;
    if (m_Preferences.depthMode && IsStudyPhase(m_Preferences.currentMode))
        return PrevInDepth(peek, index);

    for (std::int32_t i = std::min(m_CurrentIndex, m_Items.GetSize()) - 1; i >= 0; --i)
    {
        if (!m_Items[i]->IsInSequence())
            continue;
        if (index)
            *index = i;
        if (!peek)
        {
            m_CurrentIndex = i;
            --m_CurrentNumber;
        }
        return true;
    }
    return false;
}

bool CItemsArray2::PrevInDepth(bool peek, std::int32_t* index)
{
    std::int32_t number = m_CurrentNumber;
    for (std::int32_t i = std::min(m_CurrentIndex, m_Items.GetSize()) - 1; i >= 0; --i)
    {
        CBaseItem* item = m_Items[i];
        if (!item->IsInSequence())
            continue;
        --number;
        if (item->TestStatus(qsDepthWalk) || GetLayerDepth(item->GetLayersStr()) == 1)
        {
            if (index)
                *index = i;
            if (!peek)
            {
                m_CurrentIndex = i;
                m_CurrentNumber = number;
            }
            return true;
        }
    }
    return false;
}

bool CItemsArray2::SetCurrentItem(const CBaseItem* item)
{
    if (!item)
        return false;
    std::int32_t number = 0;
    for (std::int32_t i = 0; i < m_Items.GetSize(); ++i)
    {
        PrefetchItem(m_Items, i + kItemsAhead);
        if (!m_Items[i]->IsInSequence())
            continue;
        ++number;
        if (m_Items[i] == item)
        {
            m_CurrentIndex = i;
            m_CurrentNumber = number;
            return true;
        }
    }
    return false;
}

bool CItemsArray2::RestoreCurrentItem()
{
    return SetCurrentItem(m_KeptItem);
}

// ---------------------------------------------------------------------------------------------------------
// Snapshot

void CItemsArray2::SaveFilter()
{
    m_SavedFilter.options = m_Preferences;
    m_SavedFilter.currentIndex = m_CurrentIndex;
    m_SavedFilter.currentItem = GetCurrentItem();
    m_SavedFilter.currentNumber = m_CurrentNumber;
    m_SavedFilter.sequenceCount = m_SequenceCount;
    m_SavedFilter.held = 1;
}

bool CItemsArray2::RestoreFilter(bool refilter)
{
    if (!m_SavedFilter.held)
        return false;
    m_Preferences = m_SavedFilter.options;
    m_SavedFilter.held = 0;
    if (!refilter)
        return true;
    SetFilterQuestion(false);
    return PlaceAfterRestore();
}

bool CItemsArray2::RestoreFilterAfterEmptySearch(bool rebuilt)
{
    // Only the search settings of the snapshot differ from the ones of the empty search, so the members
    // before the search filters are the ones the snapshot gives, and only its own search filters need to
    // run again. Random mode draws a new order on every rebuild, so there the whole rebuild runs again.
    const SFilterOptions& kept = m_SavedFilter.options;
    const SFilterOptions& p = m_Preferences;
    const bool sameMembers = rebuilt && m_SavedFilter.held && kept.currentMode == p.currentMode &&
                             kept.currentView == p.currentView && kept.currentCategory == p.currentCategory &&
                             kept.randomMode == p.randomMode && kept.cycleMode == p.cycleMode &&
                             !(p.randomMode && IsStudyPhase(p.currentMode));
    if (!sameMembers)
        return RestoreFilter(true);
    m_Preferences = kept;
    m_SavedFilter.held = 0;
    for (CBaseItem* item : CItemPass(m_SearchRemoved.data(), m_SearchRemoved.data() + m_SearchRemoved.size()))
    {
        item->SetInSequence(true);
        ++m_SequenceCount;
    }
    ApplySearchFilters();
    FillGridList();
    return PlaceAfterRestore();
}

bool CItemsArray2::PlaceAfterRestore()
{
    if (m_SequenceCount == 0)
        return false;
    if (m_SequenceCount != m_SavedFilter.sequenceCount)
        WriteLog("CItemsArray::RestoreFilter() - It must not happen!", 1, 1);
    // The book order may have been reshuffled meanwhile, so the saved index may name another question:
    // the position follows the saved question itself.
    if (!SetCurrentItem(m_SavedFilter.currentItem))
        First();
    return true;
}
