// The printed questions, built with no widget: which questions the print settings choose (the print bit
// 0x1000), the order they print in, and the document itself: each question's number, its text, its
// answers laid out by kind and by the print phase, and its explanation (gathered at the end as a key in
// the Test print phase).
#pragma once

#include "model/support/ModelTypes.h"
#include "platform/richtext/RichDocument.h"

#include <cstdint>
#include <string>
#include <vector>

class CBaseItem;
class CBookList;
class CFormulaManager;
class CItemsArray2;

namespace lf::print
{

// --- Choosing the questions (the settings dialog) ---

// The filters of the settings dialog, by their position in its filter box.
enum class EPrintFilter
{
    All = 0,
    Marked = 1,
    Selected = 2,
    Correct = 3,
    Incorrect = 4,
    Answered = 5,
    Unanswered = 6,
};

inline constexpr const char* kFilterTooStrict =
    "Your filter was too strict. \n\n Change your filter, and then repeat your request.";
inline constexpr const char* kNoQuestionsInChapter = "There are no questions in that chapter.";

// Whether the filter at that position takes the item; an unknown position takes none (and logs).
bool PrintFilterAccepts(CBaseItem& item, int filter);

struct SPrintChoiceCount
{
    int chosen = 0;     // active items of the ticked chapters the filter took
    int inChapters = 0; // items of the ticked chapters, active or not
};

// Sets the print bit on the active items of the ticked chapters that the filter takes and clears it on
// every other item of the book.
SPrintChoiceCount MarkItemsForPrinting(CItemsArray2& items, const std::vector<std::int32_t>& chapters,
                                       int filter);

// The warning for a choice that took nothing; empty when something was chosen.
std::string EmptyChoiceMessage(const SPrintChoiceCount& count);

// --- The print order ---

struct SItemLayerSort
{
    CBaseItem* item = nullptr; // not owned
    std::int32_t categoryID = 0;
    std::string layersStr;
};
using CItemLayerSortArray = std::vector<SItemLayerSort>;

// The chosen items (print bit set, active, answerable in the print phase) ordered by chapter ID, then by
// dotted chapter number (empty numbers last); items equal in both keep their book order.
void BuildPrintOrder(const CItemsArray2& items, EPhase printPhase, CItemLayerSortArray& order);

// --- The document ---

// Size of text style 1, which the numbers and the "Explanation:" heading take.
inline constexpr int kPrintNumberSize = 15;

// The print view's sheet: the main window's sheet, text style 0 in the field font (RichTextHost), text
// style 1 at 15 points.
RichStyleSheet PrintStyleSheet();

struct SPrintSettings
{
    EPhase printPhase = EPhase::Test;
    bool byLayers = false;     // numbers are the chapter number texts, else 1, 2, 3, ...
    bool presentation = false; // empty paragraphs around each block
};

// Writes the document of the ordered questions into view (appended). The formula manager takes the data
// set of each calculated question on its way. False, with a log line, when building failed; the view's
// content is then incomplete and must not be shown.
bool BuildPrintDocument(RichDocument& view, const CItemLayerSortArray& order, const SPrintSettings& settings,
                        CFormulaManager& manager);

// The answers block of one question (appended to view); an empty paragraph for a kind without answers.
void AddPrintAnswersBlock(CBaseItem* item, RichDocument* view, EPhase printPhase,
                          const CFormulaManager& manager);

// The question text of a calculated question with its data-set values put in (outside the Edit print
// phase), choosing and recording a data-set row when it has none; other kinds give their text as stored.
std::string PrintQuestionText(CBaseItem& item, EPhase printPhase, CFormulaManager& manager);

// The print job's title: "Lernfold " followed by the display name of the open book's book-list entry
// when the index names one.
std::string PrintTitle(const CBookList& books, std::int32_t bookIndex);

} // namespace lf::print
