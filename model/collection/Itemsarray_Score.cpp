// How the open book was answered, as the score dialog shows it: one row per chapter and the summary rows
// of the view filter and of all questions; and the clock of a Test with a time limit.
#include "model/collection/Itemsarray.h"

#include "model/items/Datatypes.h"
#include "model/support/Log.h"
#include "model/support/Utils.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemServices.h"

namespace
{

// Summary codes of the score rows.
constexpr std::int32_t kScoreTotal = -4;
constexpr std::int32_t kScoreMarked = -5;
constexpr std::int32_t kScoreAnswered = -6;
constexpr std::int32_t kScoreUnanswered = -7;
constexpr std::int32_t kScoreCorrect = -8;
constexpr std::int32_t kScoreIncorrect = -9;

const char* SummaryName(std::int32_t id)
{
    switch (id)
    {
    case kScoreMarked:
        return "Marked";
    case kScoreAnswered:
        return "Answered";
    case kScoreUnanswered:
        return "Unanswered";
    case kScoreCorrect:
        return "Correct";
    case kScoreIncorrect:
        return "Incorrect";
    default:
        return nullptr;
    }
}

void AddCounts(SScoreInfo& to, const SScoreInfo& from)
{
    to.Correct += from.Correct;
    to.PartiallyCorrect += from.PartiallyCorrect;
    to.Incorrect += from.Incorrect;
    to.Unanswered += from.Unanswered;
}

} // namespace

bool AddScoreToArray(const CItemsArray2& items, CScoreInfoArray& rows, const SScoreInfo& row)
{
    for (SScoreInfo& existing : rows)
    {
        if (existing.ID == row.ID)
        {
            AddCounts(existing, row);
            return true;
        }
    }
    SScoreInfo added = row;
    SCategoryInfo chapter;
    if (items.GetCategoryInfo(row.ID, chapter))
    {
        added.Name = chapter.Name;
        added.isCurrent = items.GetActiveCategory() == row.ID ? 1 : 0;
    }
    else if (row.ID == kScoreTotal)
    {
        added.Name = "Total";
        added.isCurrent = items.GetActiveCategory() == kAllCategoriesID ? 1 : 0;
    }
    else if (const char* name = SummaryName(row.ID))
    {
        added.Name = name;
    }
    else
    {
        WriteLog("AddScoreToArray (CItemsArray) - worng categoty number - " + lf::sys::NumberText(row.ID), 1,
                 1);
        return false;
    }
    rows.Add(added);
    return true;
}

bool CItemsArray2::RefreshScoreData(bool allChapters)
{
    m_ScoreRows.RemoveAll();
    SScoreInfo total;
    total.ID = kScoreTotal;
    SScoreInfo filter;

    const std::int32_t chapterFilter = m_Preferences.currentCategory;
    for (CBaseItem* item : m_Items)
    {
        if (item->TestStatus(qsDeleted | qsInTrash) || !item->HasAnswerList())
            continue;
        if (!allChapters && chapterFilter != kAllCategoriesID && item->GetCategoryID() != chapterFilter)
            continue;
        SScoreInfo row;
        row.ID = item->GetCategoryID();
        if (!item->IsAnswered())
        {
            row.Unanswered = 1;
        }
        else
        {
            // A result that is not graded (-1) counts nowhere.
            switch (item->GetResult())
            {
            case 1:
                row.Correct = 1;
                break;
            case 2:
                row.PartiallyCorrect = 1;
                break;
            case 0:
                row.Incorrect = 1;
                break;
            default:
                break;
            }
        }
        AddCounts(total, row);
        if (item->IsInSequence())
            AddCounts(filter, row);
        // Merged even when it counts nothing, so that its chapter gets a row.
        AddScoreToArray(*this, m_ScoreRows, row);
    }
    if (m_ScoreRows.GetSize() == 0)
        return false;

    const std::int32_t mode = m_Preferences.currentMode;
    const bool study = mode == eamTestMode || mode == eamReviewMode || mode == eamLearnMode;
    std::int32_t filterID = 0;
    const auto view = static_cast<EViewFilter>(m_Preferences.currentView);
    switch (view)
    {
    case EViewFilter::All:
        break;
    case EViewFilter::Marked:
        filterID = kScoreMarked;
        break;
    case EViewFilter::AnsweredOrCorrect:
    case EViewFilter::UnansweredOrIncorrect:
        if (!study)
        {
            WriteLog("CItemsArray::RefreshScoreData() - ERROR: Score work for Test/Review/Learn modes only.",
                     1, 1);
            break;
        }
        if (view == EViewFilter::AnsweredOrCorrect)
            filterID = mode == eamTestMode ? kScoreAnswered : kScoreCorrect;
        else
            filterID = mode == eamTestMode ? kScoreUnanswered : kScoreIncorrect;
        break;
    default:
        WriteLog("CItemsArray::RefreshScoreData() - ERROR: wrong 'm_Preferences.currentView' value", 1, 1);
        break;
    }
    if (filterID != 0)
    {
        filter.ID = filterID;
        filter.isFilterRow = 1;
        AddScoreToArray(*this, m_ScoreRows, filter);
    }
    if (chapterFilter == kAllCategoriesID || allChapters)
    {
        total.isTotalRow = 1;
        AddScoreToArray(*this, m_ScoreRows, total);
    }
    return true;
}

bool CItemsArray2::GetScoreItem(std::int32_t index, SScoreInfo& row) const
{
    if (index < 0 || index >= m_ScoreRows.GetSize())
        return false;
    row = m_ScoreRows[index];
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// The Test clock

void CItemsArray2::SetTimer(bool on, bool showElapsed, std::uint32_t startTick, std::uint32_t limitSeconds)
{
    m_Timer.limit = limitSeconds;
    m_Timer.start = startTick;
    m_Timer.remaining = limitSeconds;
    m_Timer.showElapsed = showElapsed ? 1 : 0;
    m_Timer.on = on ? 1 : 0;
}

std::string CItemsArray2::GetTimerText(bool forceRemaining)
{
    if (m_Preferences.currentMode != eamTestMode || !m_Timer.on)
        return std::string();
    // Unsigned subtraction keeps the time used right across one wrap of the tick counter.
    std::uint32_t used = (lf::sys::Services().TickCount() - m_Timer.start) / 1000u;
    if (used > m_Timer.limit)
    {
        used = m_Timer.limit;
        m_Timer.remaining = 0;
    }
    else
    {
        m_Timer.remaining = m_Timer.limit - used;
    }
    const std::uint32_t shown = !m_Timer.showElapsed || forceRemaining ? m_Timer.remaining : used;
    return SecondsToTimeText(shown);
}

std::string CItemsArray2::GetTimerLimitText() const
{
    return SecondsToTimeText(m_Timer.limit);
}
