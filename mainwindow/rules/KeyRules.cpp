#include "mainwindow/rules/KeyRules.h"

namespace lf::keys
{
namespace
{

bool IsArrow(int key)
{
    return key >= kKeyLeft && key <= kKeyDown;
}

bool IsUpDown(int key)
{
    return key == kKeyUp || key == kKeyDown;
}

// The answer choices show: their own pane, or under the question.
bool AnswersView(const SKeySnapshot& s)
{
    return s.activeView == 1 || (s.activeView == 0 && s.questionFormat == 0);
}

// The answer choices show as a table of rows.
bool AnswersTableView(const SKeySnapshot& s)
{
    return s.activeView == 1 ||
           (s.activeView == 0 && s.questionFormat == 0 && (s.viewMode == 2 || s.viewMode == 3));
}

bool RowExists(const SKeySnapshot& s, int row)
{
    return s.answerTable && s.rowCount >= 1 && row >= 0 && s.rowCount > row;
}

// Signed move count of the move letters: N, J, U forward by 1, 10, 100; P, O, K back.
int MoveOfKey(int key)
{
    switch (key)
    {
    case 'N':
        return 1;
    case 'J':
        return 10;
    case 'U':
        return 100;
    case 'P':
        return -1;
    case 'O':
        return -10;
    case 'K':
        return -100;
    default:
        return 0;
    }
}

SKeyDecision Handled(std::vector<SKeyAction> actions = {})
{
    return {true, std::move(actions), false};
}

SKeyDecision Conditional(EKeyAction kind)
{
    return {false, {{kind, 0}}, true};
}

SKeyDecision NotHandled()
{
    return {};
}

// Ctrl with a key, in any phase: save, open and the list window's paste and select-all.
bool CtrlAnyPhase(const SKeySnapshot& s, SKeyDecision& out)
{
    const bool edit = s.phase == 3;
    switch (s.key)
    {
    case 'S':
        out = edit ? Handled({{EKeyAction::SaveBook}}) : Handled();
        return true;
    case 'O':
        out = edit ? Handled({{EKeyAction::OpenBook}}) : Handled();
        return true;
    case 'V':
    case 'A':
        if (edit && s.listWindowActive && !s.listDeclined)
        {
            out = Conditional(s.key == 'V' ? EKeyAction::ListPaste : EKeyAction::ListSelectAll);
            return true;
        }
        return false;
    default:
        return false;
    }
}

// Alt with a key in the Edit phase: views, moves, the editor's focus and the edit frame's keys.
bool AltInEdit(const SKeySnapshot& s, SKeyDecision& out)
{
    if (s.alt && s.key == kKeyRight)
    {
        out = s.activeView <= 1 ? Handled({{EKeyAction::ClickView, s.activeView + 1}}) : Handled();
        return true;
    }
    if (s.alt && s.key == kKeyLeft)
    {
        out = s.activeView == 1 || s.activeView == 2 ? Handled({{EKeyAction::ClickView, s.activeView - 1}})
                                                     : Handled();
        return true;
    }
    if (s.alt && IsUpDown(s.key))
    {
        out = Handled({{EKeyAction::EditMove, s.key == kKeyDown ? 1 : -1}});
        return true;
    }
    if (s.alt && s.editorVisible)
    {
        const bool withFrame = s.activeView == 0 && s.editFrameDocked;
        const bool focuses =
            withFrame ? (s.key == '6' || s.key == '0') : s.activeView <= 2 && (s.key == '1' || s.key == '0');
        if (focuses)
        {
            out = Handled({{EKeyAction::FocusEditor}});
            return true;
        }
    }
    if (s.editFrameDocked && !s.frameDeclined)
    {
        out = Conditional(EKeyAction::FrameShortcut);
        return true;
    }
    switch (s.key)
    {
    case 'Q':
        out = s.activeView != 0 ? Handled({{EKeyAction::ClickView, 0}, {EKeyAction::FocusEditor}})
                                : Handled({{EKeyAction::FocusEditor}});
        return true;
    case 'A':
        out = s.activeView != 1 ? Handled({{EKeyAction::ClickView, 1}}) : Handled();
        return true;
    case 'X':
        out = s.activeView != 2 ? Handled({{EKeyAction::ClickView, 2}, {EKeyAction::FocusEditor}})
                                : Handled({{EKeyAction::FocusEditor}});
        return true;
    default:
        return false;
    }
}

SKeyDecision DecideSysKey(const SKeySnapshot& s)
{
    SKeyDecision out;
    if (s.phase == 3 && AltInEdit(s, out))
        return out;
    if (s.phase == 0 && s.alt && AnswersView(s))
    {
        const int row = RowOfKey(s.key, false);
        if (RowExists(s, row))
            return Handled({{EKeyAction::ChooseRow, row}});
    }
    if (s.phase == 3 && s.activeView <= 2 && s.alt)
    {
        if (const int move = MoveOfKey(s.key); move != 0)
            return Handled({{EKeyAction::EditMove, move}});
    }
    return NotHandled();
}

SKeyDecision DecideWheel(const SKeySnapshot& s)
{
    const bool reviewOrFlash = s.phase == 1 || s.phase == 2;
    const bool answersUnder = s.activeView == 1 || (s.activeView == 0 && s.questionFormat == 0);
    if ((s.activeView == 0 && s.questionFormat != 0) || s.activeView == 2 || (answersUnder && reviewOrFlash))
    {
        // The control under the mouse scrolls too.
        SKeyDecision out;
        if (s.notches > 0)
            out.actions.push_back({EKeyAction::ScrollUp});
        else if (s.notches < 0)
            out.actions.push_back({EKeyAction::ScrollDown});
        return out;
    }
    if (s.phase != 0 || !AnswersTableView(s))
        return NotHandled();
    if (!s.answerTable)
        return Handled();
    if (s.notches > 0)
        return s.highlightedRow > 0 ? Handled({{EKeyAction::ChooseRow, s.highlightedRow - 1}})
                                    : Handled({{EKeyAction::ScrollUp}});
    if (s.notches < 0 && s.highlightedRow < s.rowCount - 1)
        return Handled({{EKeyAction::ChooseRow, s.highlightedRow + 1}});
    return Handled();
}

// Rules for a key while the main window is the active window.
SKeyDecision DecideKeyInMainWindow(const SKeySnapshot& s)
{
    // The caret of a rich-text editor that takes typing moves with Up and Down.
    if (IsUpDown(s.key) && s.editableRichTextFocused)
        return NotHandled();
    const bool reviewOrFlash = s.phase == 1 || s.phase == 2;
    const bool questionPaneScrolls = s.activeView == 0 && s.questionFormat != 0;
    if (s.key == kKeyDown && (questionPaneScrolls || s.activeView == 2 || reviewOrFlash))
        return Handled({{EKeyAction::ScrollDown}});
    if (s.key == kKeyUp && (questionPaneScrolls || s.explainBtnFocused || reviewOrFlash))
        return Handled({{EKeyAction::ScrollUp}});
    if (IsUpDown(s.key) && (s.prevBtnFocused || s.nextBtnFocused))
        return Handled();
    if (s.key == kKeyLeft && s.prevBtnFocused)
        return Handled();
    if (s.key == kKeyLeft && s.questionBtnFocused && !s.prevBtnEnabled)
        return Handled();
    if (IsUpDown(s.key) && (s.answerBtnFocused || AnswersTableView(s)) && s.phase != 3 && s.answerTable &&
        s.rowCount >= 1)
    {
        if (s.phase != 0)
            return Handled();
        if (s.key == kKeyUp)
            return s.highlightedRow > 0 ? Handled({{EKeyAction::ChooseRow, s.highlightedRow - 1}})
                                        : Handled({{EKeyAction::ScrollToTop}});
        return s.highlightedRow < s.rowCount - 1 ? Handled({{EKeyAction::ChooseRow, s.highlightedRow + 1}})
                                                 : Handled();
    }
    if (IsArrow(s.key) && s.readOnlyViewFocused && AnswersTableView(s))
    {
        if (s.activeView <= 1)
            return Handled({{EKeyAction::FocusViewButton, s.activeView}});
        return Handled();
    }
    if ((s.key == kKeySpace || s.key == kKeyEnter) && (s.answerBtnFocused || AnswersTableView(s)) &&
        s.phase == 0 && s.readOnlyViewVisible)
    {
        if (RowExists(s, s.highlightedRow))
            return Handled({{EKeyAction::RecordRow, s.highlightedRow}});
        return Handled();
    }
    if (s.ctrl && AnswersView(s) && (s.phase == 0 || s.phase == 2))
    {
        const int row = RowOfKey(s.key, true);
        if (RowExists(s, row))
            return s.phase == 0 ? Handled({{EKeyAction::ChooseRow, row}, {EKeyAction::RecordRow, row}})
                                : Handled({{EKeyAction::FlashFeedback, row}});
    }
    if (s.ctrl || s.alt || s.activeView > 2 || s.phase > 2)
        return NotHandled();
    // The key belongs to the typed answer.
    if (s.editorVisible && s.editorFocused)
        return NotHandled();
    if (s.key == 'Q' && s.questionBtnVisible)
        return Handled({{EKeyAction::ClickView, 0}, {EKeyAction::FocusViewButton, 0}});
    if (s.key == 'A' && s.answerBtnVisible && s.activeView != 1)
        return Handled({{EKeyAction::ClickView, 1}, {EKeyAction::FocusViewButton, 1}});
    if (s.key == 'A' && s.questionFormat == 0 && s.questionBtnVisible && s.activeView != 0)
        return Handled({{EKeyAction::ClickView, 0}, {EKeyAction::FocusViewButton, 0}});
    if (s.key == 'X' && s.explainBtnVisible)
        return Handled({{EKeyAction::ClickView, 2}, {EKeyAction::FocusViewButton, 2}});
    if (const int move = MoveOfKey(s.key); move != 0)
        return Handled({{EKeyAction::StudyMove, move}});
    if (s.key >= 'A' && s.key <= 'E' && AnswersView(s))
    {
        const int row = s.key - 'A';
        if (s.phase == 0 && RowExists(s, row))
            return Handled({{EKeyAction::ChooseRow, row}, {EKeyAction::RecordRow, row}});
        if (s.phase == 2 && RowExists(s, row))
            return Handled({{EKeyAction::FlashFeedback, row}});
    }
    return NotHandled();
}

} // namespace

int RowOfKey(int key, bool lettersToo)
{
    if (key == '0')
        return 9;
    if (key >= '1' && key <= '9')
        return key - '1';
    if (lettersToo && key >= 'A' && key <= 'I')
        return key - 'A';
    return -1;
}

EFormEvent ListSyncCode(std::uint8_t activeView)
{
    return activeView == 0   ? EFormEvent::ShowQuestion
           : activeView == 1 ? EFormEvent::ShowAnswers
                             : EFormEvent::ShowExplanation;
}

SKeyDecision DecideKey(const SKeySnapshot& s)
{
    SKeyDecision out;
    if (s.input == EInput::KeyDown && s.ctrl && CtrlAnyPhase(s, out))
        return out;
    if (s.input == EInput::SysKeyDown)
        return DecideSysKey(s);
    if (s.input == EInput::KeyDown && s.ctrl && s.phase == 3)
    {
        if (s.key == 'N')
            return Handled({{EKeyAction::NewQuestion}});
        if (s.key == 'M')
            return Handled({{EKeyAction::DuplicateQuestion}});
        if (s.editFrameDocked && !s.frameDeclined)
            return Conditional(EKeyAction::FrameShortcut);
    }
    if (!s.mainWindowActive)
        return NotHandled();
    if (s.input == EInput::Wheel)
        return DecideWheel(s);
    return DecideKeyInMainWindow(s);
}

} // namespace lf::keys
