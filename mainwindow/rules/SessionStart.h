// Start Session as a rule: the checks of the book and the chapter, the session panel's choices carried
// into the collection and the options, the sequence built, and what an empty sequence leads to.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>

class CItemsArray2;
class CPrefs;

// What the session panel and the storage hold when Start Session is pressed.
struct SSessionStartInputs
{
    EPhase phase = EPhase::None;
    bool bookLoaded = false;    // the whole book is loaded, not only its chapters
    bool panelShown = false;    // the session panel is on show
    bool bookNameEmpty = false; // the book box shows no name
    bool chapterChosen = false; // an entry of the chapter list is chosen
    std::int32_t chapterID = 0; // the chapter that entry stands for
    int modePosition = 0;       // the mode list's position; Normal (0) while the list is hidden
    int hintTime = 0;           // Flash: the hint time bar, 0 while it is hidden
    int delayBeforeHint = 0;    // Flash: the delay bar, 0 while it is hidden
};

enum class ESessionStart : std::uint8_t
{
    NoBook,     // no book to study: "Please select a book."; nothing changed
    NoChapter,  // a study phase without a chapter: "Please select a chapter."
    Started,    // the sequence has members and the position is on the first
    TooStrict,  // the sequence stays empty (also without the modes of a Cycle session)
    AskToClear, // the Cycle mode left every question out and the modes are off now; ask whether to
                // clear the answers and start again
};

// One try of Start Session. Past the checks it sets the chapter filter (not in Edit phase) and the modes
// of the panel, takes the Flash hint times into the options, and rebuilds the sequence; an empty Edit
// sequence gets a new multiple-choice question. An empty sequence of a Cycle session is rebuilt once
// more with every mode off.
ESessionStart StartSession(const SSessionStartInputs& inputs, CItemsArray2& items, CPrefs& prefs);

// The answer to AskToClear. Yes (clear) forgets the user's answers in the sequence while the book is
// still loaded, and the start is to be tried again (true); No gives the collection the panel's modes back
// and the command ends (false).
bool AnswerClearQuestion(const SSessionStartInputs& inputs, bool clear, bool bookLoaded, CItemsArray2& items);
