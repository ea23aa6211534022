// The visible sequence of the open book: the filter settings, the rebuild that marks the members, the book
// order it follows, and the moves through it in the modes Normal, Random, Depth and Cycle.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"

#include <algorithm>
#include <unordered_map>

namespace
{

constexpr int kMoodleStyle = 3;

bool IsStudyPhase(std::int32_t mode)
{
    return IsStudyPhase(PhaseFromNumber(mode));
}

bool IsCreditedResult(int result)
{
    return result == 1 || result == 2;
}

// The comparison of the book order, given the chapter rows of both items.
int CompareWithRows(std::int32_t rowA, std::int32_t rowB, const CBaseItem* a, const CBaseItem* b)
{
    if (rowA != rowB)
        return rowA < rowB ? -1 : 1;
    if (const int layers = CompareLayerNumbers(a->GetLayersStr(), b->GetLayersStr(), true); layers != 0)
        return layers < 0 ? -1 : 1;
    if (a->GetWhenCreated() != b->GetWhenCreated())
        return a->GetWhenCreated() < b->GetWhenCreated() ? -1 : 1;
    if (a->GetLastModified() != b->GetLastModified())
        return a->GetLastModified() < b->GetLastModified() ? -1 : 1;
    if (a->GetID() != b->GetID())
        return a->GetID() < b->GetID() ? -1 : 1;
    return 0;
}

} // namespace

int CompareItemsForSort(const CItemsArray2& items, const CBaseItem* a, const CBaseItem* b)
{
    return CompareWithRows(items.FindCategoryIndex(a->GetCategoryID()),
                           items.FindCategoryIndex(b->GetCategoryID()), a, b);
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
           (m_QuestionStyle == kMoodleStyle || item->GetQuestionType() == qtMultipleChoice) &&
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
        for (CBaseItem* item : m_Items)
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
            for (CBaseItem* item : m_Items)
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
        for (CBaseItem* item : m_Items)
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
            for (const CBaseItem* item : m_Items)
            {
                if (item->IsInSequence())
                    m_MaxCycle = std::max(m_MaxCycle, item->GetCycleCounter());
            }
        }
        if (m_MaxCycle > 0)
        {
            for (CBaseItem* item : m_Items)
            {
                if (item->IsInSequence() && item->GetCycleCounter() < m_MaxCycle)
                    RemoveFromSequence(item);
            }
        }
    }

    const bool textSearch =
        (p.searchInQuestion || p.searchInAnswers || p.searchInFeedback || p.searchInKeywords) &&
        !p.searchText.empty();
    const auto query = static_cast<EProblemQuery>(p.problemKind);
    const bool countQuery = IsCountQuery(query);
    if (p.markedOnly || textSearch || countQuery)
    {
        for (CBaseItem* item : m_Items)
        {
            if (!item->IsInSequence())
                continue;
            // The text search compares against the built search text: one a caller has not built yet is
            // built here rather than matching nothing.
            if (textSearch && !item->IsSearchTextFilled())
                PrepareSearchInfo(item);
            // A marked-only search still has to find its text or pass its query.
            if ((p.markedOnly && !item->IsMarked()) ||
                ((textSearch || countQuery) && !item->MatchesFilter(p)))
                RemoveFromSequence(item);
        }
    }
    if (query == EProblemQuery::SpecialCharacters)
    {
        for (CBaseItem* item : m_Items)
        {
            if (item->IsInSequence() && !item->NeedsSpecialRendering())
                RemoveFromSequence(item);
        }
    }
    if (query == EProblemQuery::Duplicates)
        FormDuplicateGroups();

    FillGridList();
    return true;
}

void CItemsArray2::FormDuplicateGroups()
{
    std::int32_t matches = -1;
    const std::int32_t count = m_Items.GetSize();
    for (std::int32_t i = 0; i < count; ++i)
    {
        CBaseItem* a = m_Items[i];
        if (!a->IsInSequence())
            continue;
        std::int32_t group = a->GetDuplicateGroup();
        for (std::int32_t j = i + 1; j < count; ++j)
        {
            CBaseItem* b = m_Items[j];
            if (!b->IsInSequence())
                continue;
            if (!a->IsSearchTextFilled())
                PrepareSearchInfo(a);
            if (!b->IsSearchTextFilled())
                PrepareSearchInfo(b);
            if (a->Compare2(b, false, false, false, false, false, false))
            {
                if (group == -1)
                {
                    group = i;
                    a->SetDuplicateGroup(group);
                }
                b->SetDuplicateGroup(group);
                ++matches;
            }
        }
        if (a->GetDuplicateGroup() == -1)
            RemoveFromSequence(a);
    }
    // A single matching pair already stands as it is; more matches are put next to each other.
    if (matches > 0)
        SortByDuplicateGroup();
}

void CItemsArray2::FillGridList()
{
    m_GridList.RemoveAll();
    for (CBaseItem* item : m_Items)
    {
        if (item->IsInSequence())
            m_GridList.Add(item);
    }
}

void CItemsArray2::IncrementCycleCounters()
{
    for (CBaseItem* item : m_Items)
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

void CItemsArray2::SortByDuplicateGroup()
{
    SortBookOrder(true);
}

void CItemsArray2::SortBookOrder(bool byDuplicateGroup)
{
    std::unordered_map<std::int32_t, std::int32_t> rows;
    for (std::int32_t row = 0; row < m_Categories.GetSize(); ++row)
        rows.emplace(m_Categories[row].ID, row);
    auto rowOf = [&rows](const CBaseItem* item)
    {
        const auto found = rows.find(item->GetCategoryID());
        return found == rows.end() ? -1 : found->second;
    };
    const CBaseItem* current = GetCurrentItem();
    std::stable_sort(m_Items.begin(), m_Items.end(),
                     [&](const CBaseItem* a, const CBaseItem* b)
                     {
                         if (byDuplicateGroup && a->GetDuplicateGroup() != b->GetDuplicateGroup())
                             return a->GetDuplicateGroup() < b->GetDuplicateGroup();
                         return CompareWithRows(rowOf(a), rowOf(b), a, b) < 0;
                     });
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
