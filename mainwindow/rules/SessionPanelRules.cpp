#include "mainwindow/rules/SessionPanelRules.h"

#include "model/collection/Itemsarray.h"

SSessionPanelLists SessionPanelLists(EPhase phase, EQuestionStyle viewMode)
{
    SSessionPanelLists lists;
    switch (phase)
    {
    case EPhase::Test:
        lists.filters = {"All", "Marked", "Answered", "Unanswered"};
        lists.phaseLabel = "Test Phase";
        break;
    case EPhase::Review:
        lists.filters = {"All", "Marked", "Correct", "Incorrect"};
        lists.phaseLabel = "Review Phase";
        break;
    case EPhase::Flash:
        lists.filters = {"All", "Marked", "Correct", "Incorrect"};
        lists.phaseLabel = "Flash Phase";
        break;
    case EPhase::Edit:
        lists.filters = {"All", "Marked"};
        lists.phaseLabel = "Edit Phase";
        break;
    default:
        return lists;
    }
    const bool edit = phase == EPhase::Edit;
    lists.modeShown = !edit;
    lists.chaptersShown = !edit;
    lists.filterShown = !edit;
    lists.timerShown = phase == EPhase::Test;
    lists.hintBarsShown = phase == EPhase::Flash &&
                          (viewMode == EQuestionStyle::MultipleChoice || viewMode == EQuestionStyle::Moodle);
    return lists;
}

const std::vector<std::string>& SessionModeEntries()
{
    static const std::vector<std::string> entries = {"Normal", "Random", "Depth", "Cycle"};
    return entries;
}

int ModePositionOf(const CItemsArray2& items)
{
    if (items.GetCycleMode())
        return 3;
    if (items.GetRandomMode())
        return 1;
    if (items.GetDepthMode())
        return 2;
    return 0;
}

void ApplyModePosition(CItemsArray2& items, int position)
{
    items.SetCycleMode(position == 3 ? 1 : 0);
    items.SetDepthMode(position == 2 ? 1 : 0);
    items.SetRandomMode(position == 1 ? 1 : 0);
}

CChapterEntries FillCategoryList(const CItemsArray2& items, bool withAll, bool withTrash, bool withEdit)
{
    CChapterEntries entries;
    if (withAll)
        entries.emplace_back("All", kAllCategoriesID);
    for (std::int32_t row = 0; row < items.GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        if (items.GetCategoryAt(row, info))
            entries.emplace_back(info.Name, info.ID);
    }
    if (withTrash)
        entries.emplace_back("Trash", kTrashCategoryID);
    if (withEdit)
        entries.emplace_back("Edit Chapters...", -3);
    return entries;
}
