// The rules of the question pane that need no widget: the question text of a calculated question with its
// variable values, the picture paragraph, the pane caption, the counter, the Review verdict, which of the
// pane's buttons show, and the filter bar's layout by phase. The main window reads these and sets its
// controls.
#pragma once

#include "model/support/ModelTypes.h"
#include "platform/richtext/RichDocument.h"

#include <string>

class CBaseItem;
class CFormulaManager;

namespace lf::display
{

// The warning when the filter leaves no question.
inline constexpr const char* kSearchTooStrict =
    "Your search was too strict. \n\n Set your filter to All, and then repeat your request.";

// The system colour of window text (the label's colour when it shows no verdict).
inline constexpr RichColor kWindowTextColour = 0x80000008;
inline constexpr RichColor kVerdictBlue = 0xFF0000;
inline constexpr RichColor kVerdictRed = 0x0000FF;

// The question text as shown. A calculated question gets its variables' values from a data-set row, and
// the formula manager is prepared with its first answer at that row: outside Flash phase the row is drawn
// again at every showing until the user has typed an answer and is kept with the answer from then on; in
// Flash phase a new row is drawn when resetDataset is set, otherwise the row on show stays. Other kinds
// give their question text unchanged.
std::string PrepareQuestionText(CBaseItem& item, EPhase phase, bool resetDataset, CFormulaManager& manager);

// Adds a picture under the text as a paragraph of its own in the paragraph style "Centered".
void AddPictureParagraph(RichDocument& view, SRichPicture picture);

// "Question", "Answers" or "Explanation" for the three question views, followed by " (kind) : "; empty
// for any other view.
std::string PaneCaption(EView activeView, const std::string& kindName);

// "n/m".
std::string CounterText(int number, int count);

struct SVerdict
{
    std::string text;
    RichColor colour = kWindowTextColour;
};
// What the status label says about the question in Review phase: nothing until a question with an answer
// list is answered; then "Correct" in blue, "Partially correct", "Incorrect" or "Unknown" in red.
SVerdict ReviewVerdict(CBaseItem& item);

// Which of the pane's buttons show for the question on show.
struct SPaneButtonsInput
{
    EPhase phase = EPhase::Test;
    EQuestionStyle viewMode = EQuestionStyle::MultipleChoice;
    int qaxFormat = 0; // 0 "QX" (answers under the question), 1 "VAD" (answers in a pane of their own)
    int kind = 0;
    bool hasAnswerList = false;
    bool typedAnswer = false;
    int number = 0; // 1-based position in the sequence
    int count = 0;
};
struct SPaneButtons
{
    bool prev = false;
    bool next = false;
    bool answer = false;
    bool explain = false;
};
SPaneButtons PaneButtons(const SPaneButtonsInput& in);

// The answers are drawn under the question (format "QX" in the Multiple Choice and Moodle styles).
bool AnswersUnderQuestion(int qaxFormat, EQuestionStyle viewMode);

// The kinds answered in Test phase by typing into the pane's editor (essay, short answer, calculated,
// numerical).
bool TypedInTest(int kind);

// The filter bar by phase.
struct SFilterBarLayout
{
    bool filterShown = false;         // "Filter:" label and combo
    bool recordCategoryShown = false; // "Set to:" label and combo
    bool chapterLabelShown = false;
    int testStrLeft = 0;
    int categoryListLeft = 0;
    bool layerShown = false; // "# :" and the layer memo
    bool categoryListEnabled = false;
};
// False without a phase (nothing changes then).
bool FilterBarLayout(EPhase phase, SFilterBarLayout& layout);

// The chapter label outside Edit phase: the chapter's name, then " - " and the question's number in its
// chapter when that is positive.
std::string ChapterLabel(const std::string& chapterName, int numberInChapter);

} // namespace lf::display
