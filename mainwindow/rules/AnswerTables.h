// The answer block under a question in Test, Review and Flash phases, built as rich-text content with no
// widget: one table row per answer led by a lettered picture of the window's image list, the answer lines
// and the typed-answer field of the typed kinds, the user's essay, and in Review the feedback and the
// coloured verdict. The print document fills its own tables with the print variants of the row operations.
#pragma once

#include "model/support/ModelTypes.h"
#include "platform/richtext/RichDocument.h"

#include <cstdint>
#include <string>

class CBaseItem;
class CFormulaManager;
struct SAnswerItem;

namespace lf::display
{

// Row colours, in the platform's blue-green-red order.
inline constexpr RichColor kHighlightColor = 0x66DDFF;
inline constexpr RichColor kCorrectColor = 0xFFC800;
inline constexpr RichColor kCorrectChosenColor = 0xFF8C00;
inline constexpr RichColor kWrongClickColor = 0xCCCCFF;
inline constexpr RichColor kPrintCorrectColor = 0xE1E1E1;

// Picture runs of the image list: squares for questions that take several answers, circles otherwise.
inline constexpr int kSquarePictures = 0;
inline constexpr int kCirclePictures = 20;

// Names of the answer table item: "2" for true/false, "1" for every other table.
inline constexpr const char* kAnswerTableName = "1";
inline constexpr const char* kTrueFalseTableName = "2";
// Tag of the paragraph that holds the typed answer or the answer line.
inline constexpr const char* kAnswerTag = "Answer";

inline constexpr const char* kNotSetTest = "<NOT SET, PRESS SPACE KEY>";
inline constexpr const char* kNotSetReview = "<NOT SET>";
inline constexpr const char* kNoCorrectAnswer = "<NO CORRECT ANSWER>";

// Picture number of a row: lettered "a" to "i" for the first nine rows, unlettered from the tenth on.
int AnswerPictureIndex(int row, int base, bool chosen);

// What the main window's state says about the drawing.
struct SAnswerBlockState
{
    EPhase phase = EPhase::Test;
    EQuestionStyle viewMode = EQuestionStyle::MultipleChoice;
    bool hintShown = false;        // the correct answers are on show as a Flash hint
    int flashAnswerRow = -1;       // the row clicked last in Flash phase
    int hintDelayForLearnMode = 0; // above 0: Flash answer lines and matching rows show the answers
    // The main window's formula manager as the question view prepared it (calculated questions); may be
    // null, which gives an empty Flash answer line.
    const CFormulaManager* formulaManager = nullptr;
};

// The colour a row takes; kNoColor means the cells are left as they are.
RichColor AnswerRowColour(const SAnswerBlockState& state, int row, bool chosen, bool correct);

// Where a block went and what it left for the answer recording.
struct SAnswerBlock
{
    enum class ETarget
    {
        None,   // nothing drawn
        View,   // the view given as target
        Editor, // the typed answer or the essay went into the editor
    };
    ETarget target = ETarget::None;
    int tableItem = -1;        // index of the answer table among the target's items; -1 without one
    int highlightedRow = -1;   // the highlighted row in Test phase; -1 without one
    bool caretAtStart = false; // the editor's caret goes to the start of the typed answer
};

// Draws the item's answer block. target is the view on show (the display view, or the editor when only
// that is visible; null draws nothing); editor takes the typed answers and the essay in Test phase.
// replace clears the target first; otherwise the block goes under what the target holds, after the
// heading "Answer(s):".
SAnswerBlock RenderAnswerBlock(CBaseItem& item, bool replace, RichDocument* target, RichDocument* editor,
                               const SAnswerBlockState& state);

// --- Row operations (also used by the answer recording and the print document) ---

// Fills a table row: cell 1 the answer text, cell 2 (with feedback, when chosen) the feedback, cell 0 the
// picture hotspot with the answer index as its hint; then the row takes its colour. Texts are mapped into
// sheet. False, and the row unchanged, when the answer text holds nothing.
bool FillAnswerRow(RichTable& table, RichStyleSheet& sheet, const SAnswerBlockState& state, int row,
                   int answerIndex, const std::string& answerText, bool chosen, bool correct, int base,
                   bool withFeedback, const std::string& feedback);
// Fills a matching row: cell 0 the sub-question with the pair index as its hint, cell 1 the partner as
// plain text. False when the sub-question holds nothing.
bool FillMatchingRow(RichTable& table, RichStyleSheet& sheet, int row, int answerIndex,
                     const std::string& subQuestion, const std::string& partner);
// Colours cells 0 and 1 (and 2 with feedback) of a row as the state says; no colour leaves them as they are.
void ColourAnswerRow(RichTable& table, const SAnswerBlockState& state, int row, bool chosen, bool correct,
                     bool withFeedback);
// Gives cells 0 and 1 of a row a colour (kNoColor clears it).
void SetRowColour(RichTable& table, int row, RichColor colour);

// Print variants: the texts are mapped into the print view's sheet, and a correct row is shaded grey in
// the Review, Flash and Edit print phases instead of taking the screen colours.
bool FillPrintAnswerRow(RichTable& table, RichStyleSheet& printSheet, EPhase printPhase, int row,
                        int answerIndex, const std::string& answerText, bool chosen, bool correct, int base,
                        bool withFeedback, const std::string& feedback);
bool FillPrintMatchingRow(RichTable& table, RichStyleSheet& printSheet, int row, int answerIndex,
                          const std::string& subQuestion, const std::string& partner);

// An answer table of rows x cols with the look of the answer tables: full width, a 20-pixel picture
// column, the third column 25%, no borders.
RichTable MakeAnswerTable(int rows, int cols);
// The matching table: the same look with two columns, the partner column 50% and the sub-question
// column taking the rest (it holds text, not a picture).
RichTable MakeMatchingTable(int rows);

// The answer a flash card shows for a short-answer or numerical question: the first credited answer
// (IsCreditedGrade), whether or not the question was answered. Null when there is none.
const SAnswerItem* FindCreditedAnswer(CBaseItem& item);

// The one answer the Flashcard styles show: the first credited answer with a text, else the first
// credited one (FindShownCreditedAnswer); a penalty answer never. -1 without one.
int DisplayedCorrectAnswer(CBaseItem& item);

// The one answer the Flashcard styles edit in Edit phase, shown in the editor and stored back from it: the
// first credited answer, else the first answer (storing credits it). -1 without answers.
int EditedFlashcardAnswer(CBaseItem& item);

// The answer a flash card of a typed kind shows: for short answer and numerical the first credited
// answer's text, for calculated the answer of the formula manager as the question view prepared it.
std::string TypedFlashAnswer(CBaseItem& item, const CFormulaManager* formulaManager);

// Appends the verdict paragraph "Correct", "Partially correct" or "Incorrect" for a result, in a bordered
// paragraph style green, yellow or red.
void AddVerdictParagraph(RichDocument& doc, int result);
const char* VerdictText(int result);

} // namespace lf::display
