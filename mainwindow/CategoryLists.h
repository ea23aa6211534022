// The entries of the chapter lists: "All", the book's chapters in table order, "Trash" and
// "Edit Chapters...", each with the chapter ID (or the entry's code) it stands for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CItemsArray2;

// Codes of the entries that are not chapters.
constexpr std::int32_t kEditChaptersEntryID = -3;

struct SCategoryEntry
{
    std::string name;
    std::int32_t id = 0;
    friend bool operator==(const SCategoryEntry&, const SCategoryEntry&) = default;
};

// "All" (-2) when asked, each chapter with its name and ID, then "Trash" (-10) and "Edit Chapters..." (-3)
// when asked.
std::vector<SCategoryEntry> FillCategoryList(const CItemsArray2& items, bool withAll, bool withTrash,
                                             bool withEdit);
