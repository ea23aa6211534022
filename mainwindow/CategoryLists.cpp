#include "mainwindow/CategoryLists.h"

#include "model/Itemsarray.h"

std::vector<SCategoryEntry> FillCategoryList(const CItemsArray2& items, bool withAll, bool withTrash,
                                             bool withEdit)
{
    std::vector<SCategoryEntry> entries;
    if (withAll)
        entries.push_back({"All", kAllCategoriesID});
    for (std::int32_t row = 0; row < items.GetCategoryCount(); ++row)
    {
        SCategoryInfo info;
        if (items.GetCategoryAt(row, info))
            entries.push_back({info.Name, info.ID});
    }
    if (withTrash)
        entries.push_back({"Trash", kTrashCategoryID});
    if (withEdit)
        entries.push_back({"Edit Chapters...", kEditChaptersEntryID});
    return entries;
}
