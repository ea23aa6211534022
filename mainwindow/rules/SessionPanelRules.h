// What the session panel offers in each phase: the filter entries, the phase label, the mode entries and
// which controls show; and the chapter list entries of a book.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CItemsArray2;

struct SSessionPanelLists
{
    std::vector<std::string> filters; // position = view filter 0..3
    std::string phaseLabel;
    bool modeShown = false;     // the mode box, its label and (when ticked) the list
    bool chaptersShown = false; // the chapter list and its label
    bool filterShown = false;   // the filter box, its label and (when ticked) the list
    bool timerShown = false;    // the Test clock box and the clear buttons
    bool hintBarsShown = false; // the two Flash hint track bars and their labels
};

// The lists and controls of a phase and question style; phase none gives empty lists.
SSessionPanelLists SessionPanelLists(EPhase phase, EQuestionStyle viewMode);

// "Normal", "Random", "Depth", "Cycle".
const std::vector<std::string>& SessionModeEntries();
// The mode position of a collection's option bytes: Cycle 3, else Random 1, else Depth 2, else Normal 0.
int ModePositionOf(const CItemsArray2& items);
// Sets the collection's option bytes from a mode position.
void ApplyModePosition(CItemsArray2& items, int position);

// One entry of a chapter list: the text and the chapter ID it stands for.
using CChapterEntries = std::vector<std::pair<std::string, std::int32_t>>;
// "All" (-2) when asked, each chapter of the book in table order, then "Trash" (-10) and
// "Edit Chapters..." (-3) when asked.
CChapterEntries FillCategoryList(const CItemsArray2& items, bool withAll, bool withTrash, bool withEdit);
