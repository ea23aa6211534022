// The keyboard and wheel rules of the main window: which key or wheel event the window takes before the
// focused control sees it, and what it does then. A pure rule over a snapshot of the window; the window's
// event filter builds the snapshot and carries out the actions.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>
#include <vector>

namespace lf::keys
{

// Key codes: the upper-case letters 65..90, the digits 48..57 and these.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

enum class EInput : std::uint8_t
{
    KeyDown,    // a key, with Ctrl or without Alt
    SysKeyDown, // a key with Alt and without Ctrl
    Wheel,
};

// What the rules read of the window at the time of the event.
struct SKeySnapshot
{
    EInput input = EInput::KeyDown;
    int key = 0;     // key code, for the two key inputs
    int notches = 0; // whole wheel notches, positive away from the user
    bool ctrl = false;
    bool alt = false;

    EPhase phase = EPhase::None;
    EView activeView = EView::Intro;
    std::uint8_t questionFormat = 0; // 0 answers under the question, 1 answers in a pane of their own
    EQuestionStyle viewMode = EQuestionStyle::Flashcard;

    bool mainWindowActive = true;
    bool listWindowActive = false; // the list window is the active window and shows
    bool editFrameDocked = false;

    bool editorVisible = false; // the question pane's editor
    bool editorFocused = false;
    bool readOnlyViewVisible = false; // the question pane's read-only view
    bool readOnlyViewFocused = false;
    // The focused widget is a rich-text editor that takes typing (the pane's editor, an edit frame's
    // editor): Up and Down move its caret.
    bool editableRichTextFocused = false;

    bool prevBtnFocused = false;
    bool nextBtnFocused = false;
    bool questionBtnFocused = false;
    bool answerBtnFocused = false;
    bool explainBtnFocused = false;
    bool prevBtnEnabled = true;
    bool questionBtnVisible = false;
    bool answerBtnVisible = false;
    bool explainBtnVisible = false;

    // The current question is answered by typing into the pane's editor (Test phase): its answers view
    // gives the editor the focus.
    bool typedAnswer = false;

    bool answerTable = false; // an answer table is on show
    int rowCount = 0;
    int highlightedRow = 0;

    // Set by the window when it asks again after a conditional action answered false.
    bool listDeclined = false;
    bool frameDeclined = false;
};

enum class EKeyAction : std::uint8_t
{
    SaveBook,
    OpenBook,
    ListPaste,     // conditional: handled only when the list window took it
    ListSelectAll, // conditional
    FrameShortcut, // conditional: the docked edit frame's shortcut key
    ClickView,     // arg: the number of the view, Question, Answers or Explanation
    FocusEditor,
    FocusViewButton, // arg: the view of the button
    EditMove,        // arg: signed count of questions; store, move, redraw, sync the list
    StudyMove,       // arg: signed count; store, move, then the step after an answer
    NewQuestion,
    DuplicateQuestion,
    ChooseRow,     // arg: row
    RecordRow,     // arg: row
    FlashFeedback, // arg: row
    ScrollUp,
    ScrollDown,
    ScrollToTop,
};

struct SKeyAction
{
    EKeyAction kind;
    int arg = 0;
    bool operator==(const SKeyAction&) const = default;
};

// The view actions: the view travels as its number.
constexpr SKeyAction ClickView(EView view)
{
    return {EKeyAction::ClickView, ToNumber(view)};
}
constexpr SKeyAction FocusViewButton(EView view)
{
    return {EKeyAction::FocusViewButton, ToNumber(view)};
}

struct SKeyDecision
{
    bool handled = false;
    std::vector<SKeyAction> actions;
    // The last action is conditional (list window, edit frame): when it answers false the window asks
    // again with the matching declined flag set, and the event is handled only if that answer says so.
    bool conditional = false;
};

// The key's answer row: digits 1..9 rows 0..8, 0 row 9; letters A..I rows 0..8; -1 otherwise.
int RowOfKey(int key, bool lettersToo);

// The rules in their order; the first rule that handles the event ends the search.
SKeyDecision DecideKey(const SKeySnapshot& s);

// The key code of a Qt key (Return and Enter both 13); 0 for keys the rules and the edit frames do not
// know. Defined with the window's hook, as it reads Qt's key values.
int KeyCodeOfQt(int qtKey);

// The list window's show request that goes with a move in the Edit phase, by the active view.
EFormEvent ListSyncCode(EView activeView);

} // namespace lf::keys
