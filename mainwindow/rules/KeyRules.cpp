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
    return s.activeView == EView::Answers || (s.activeView == EView::Question && s.questionFormat == 0);
}

// The answer choices show as a table of rows.
bool AnswersTableView(const SKeySnapshot& s)
{
    return s.activeView == EView::Answers ||
           (s.activeView == EView::Question && s.questionFormat == 0 &&
            (s.viewMode == EQuestionStyle::MultipleChoice || s.viewMode == EQuestionStyle::Moodle));
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
    const bool edit = s.phase == EPhase::Edit;
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
        if (s.activeView == EView::Question)
            out = Handled({ClickView(EView::Answers)});
        else if (s.activeView == EView::Answers)
            out = Handled({ClickView(EView::Explanation)});
        else
            out = Handled();
        return true;
    }
    if (s.alt && s.key == kKeyLeft)
    {
        if (s.activeView == EView::Answers)
            out = Handled({ClickView(EView::Question)});
        else if (s.activeView == EView::Explanation)
            out = Handled({ClickView(EView::Answers)});
        else
            out = Handled();
        return true;
    }
    if (s.alt && IsUpDown(s.key))
    {
        out = Handled({{EKeyAction::EditMove, s.key == kKeyDown ? 1 : -1}});
        return true;
    }
    if (s.alt && s.editorVisible)
    {
        const bool withFrame = s.activeView == EView::Question && s.editFrameDocked;
        const bool focuses = withFrame ? (s.key == '6' || s.key == '0')
                                       : IsQuestionView(s.activeView) && (s.key == '1' || s.key == '0');
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
        out = s.activeView != EView::Question
                  ? Handled({ClickView(EView::Question), {EKeyAction::FocusEditor}})
                  : Handled({{EKeyAction::FocusEditor}});
        return true;
    case 'A':
        out = s.activeView != EView::Answers ? Handled({ClickView(EView::Answers)}) : Handled();
        return true;
    case 'X':
        out = s.activeView != EView::Explanation
                  ? Handled({ClickView(EView::Explanation), {EKeyAction::FocusEditor}})
                  : Handled({{EKeyAction::FocusEditor}});
        return true;
    default:
        return false;
    }
}

SKeyDecision DecideSysKey(const SKeySnapshot& s)
{
    SKeyDecision out;
    if (s.phase == EPhase::Edit && AltInEdit(s, out))
        return out;
    if (s.phase == EPhase::Test && s.alt && AnswersView(s))
    {
        const int row = RowOfKey(s.key, false);
        if (RowExists(s, row))
            return Handled({{EKeyAction::ChooseRow, row}});
    }
    if (s.phase == EPhase::Edit && IsQuestionView(s.activeView) && s.alt)
    {
        if (const int move = MoveOfKey(s.key); move != 0)
            return Handled({{EKeyAction::EditMove, move}});
    }
    return NotHandled();
}

SKeyDecision DecideWheel(const SKeySnapshot& s)
{
    const bool reviewOrFlash = s.phase == EPhase::Review || s.phase == EPhase::Flash;
    const bool answersUnder =
        s.activeView == EView::Answers || (s.activeView == EView::Question && s.questionFormat == 0);
    if ((s.activeView == EView::Question && s.questionFormat != 0) || s.activeView == EView::Explanation ||
        (answersUnder && reviewOrFlash))
    {
        // The control under the mouse scrolls too.
        SKeyDecision out;
        if (s.notches > 0)
            out.actions.push_back({EKeyAction::ScrollUp});
        else if (s.notches < 0)
            out.actions.push_back({EKeyAction::ScrollDown});
        return out;
    }
    if (s.phase != EPhase::Test || !AnswersTableView(s))
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
    const bool reviewOrFlash = s.phase == EPhase::Review || s.phase == EPhase::Flash;
    const bool questionPaneScrolls = s.activeView == EView::Question && s.questionFormat != 0;
    if (s.key == kKeyDown && (questionPaneScrolls || s.activeView == EView::Explanation || reviewOrFlash))
        return Handled({{EKeyAction::ScrollDown}});
    if (s.key == kKeyUp && (questionPaneScrolls || s.explainBtnFocused || reviewOrFlash))
        return Handled({{EKeyAction::ScrollUp}});
    if (IsUpDown(s.key) && (s.prevBtnFocused || s.nextBtnFocused))
        return Handled();
    if (s.key == kKeyLeft && s.prevBtnFocused)
        return Handled();
    if (s.key == kKeyLeft && s.questionBtnFocused && !s.prevBtnEnabled)
        return Handled();
    if (IsUpDown(s.key) && (s.answerBtnFocused || AnswersTableView(s)) && s.phase != EPhase::Edit &&
        s.answerTable && s.rowCount >= 1)
    {
        if (s.phase != EPhase::Test)
            return Handled();
        if (s.key == kKeyUp)
            return s.highlightedRow > 0 ? Handled({{EKeyAction::ChooseRow, s.highlightedRow - 1}})
                                        : Handled({{EKeyAction::ScrollToTop}});
        return s.highlightedRow < s.rowCount - 1 ? Handled({{EKeyAction::ChooseRow, s.highlightedRow + 1}})
                                                 : Handled();
    }
    if (IsArrow(s.key) && s.readOnlyViewFocused && AnswersTableView(s))
    {
        if (s.activeView <= EView::Answers)
            return Handled({FocusViewButton(s.activeView)});
        return Handled();
    }
    if ((s.key == kKeySpace || s.key == kKeyEnter) && (s.answerBtnFocused || AnswersTableView(s)) &&
        s.phase == EPhase::Test && s.readOnlyViewVisible)
    {
        if (RowExists(s, s.highlightedRow))
            return Handled({{EKeyAction::RecordRow, s.highlightedRow}});
        return Handled();
    }
    if (s.ctrl && AnswersView(s) && (s.phase == EPhase::Test || s.phase == EPhase::Flash))
    {
        const int row = RowOfKey(s.key, true);
        if (RowExists(s, row))
            return s.phase == EPhase::Test
                       ? Handled({{EKeyAction::ChooseRow, row}, {EKeyAction::RecordRow, row}})
                       : Handled({{EKeyAction::FlashFeedback, row}});
    }
    if (s.ctrl || s.alt || !IsQuestionView(s.activeView) || !IsStudyPhase(s.phase))
        return NotHandled();
    // The key belongs to the typed answer.
    if (s.editorVisible && s.editorFocused)
        return NotHandled();
    if (s.key == 'Q' && s.questionBtnVisible)
        return Handled({ClickView(EView::Question), FocusViewButton(EView::Question)});
    // A typed answer is written at once: the answers view leaves the focus on its editor.
    if (s.key == 'A' && s.answerBtnVisible && s.activeView != EView::Answers)
        return s.phase == EPhase::Test && s.typedAnswer
                   ? Handled({ClickView(EView::Answers), {EKeyAction::FocusEditor}})
                   : Handled({ClickView(EView::Answers), FocusViewButton(EView::Answers)});
    if (s.key == 'A' && s.questionFormat == 0 && s.questionBtnVisible && s.activeView != EView::Question)
        return Handled({ClickView(EView::Question), FocusViewButton(EView::Question)});
    if (s.key == 'X' && s.explainBtnVisible)
        return Handled({ClickView(EView::Explanation), FocusViewButton(EView::Explanation)});
    if (const int move = MoveOfKey(s.key); move != 0)
        return Handled({{EKeyAction::StudyMove, move}});
    if (s.key >= 'A' && s.key <= 'E' && AnswersView(s))
    {
        const int row = s.key - 'A';
        if (s.phase == EPhase::Test && RowExists(s, row))
            return Handled({{EKeyAction::ChooseRow, row}, {EKeyAction::RecordRow, row}});
        if (s.phase == EPhase::Flash && RowExists(s, row))
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

EFormEvent ListSyncCode(EView activeView)
{
    return activeView == EView::Question  ? EFormEvent::ShowQuestion
           : activeView == EView::Answers ? EFormEvent::ShowAnswers
                                          : EFormEvent::ShowExplanation;
}

SKeyDecision DecideKey(const SKeySnapshot& s)
{
    SKeyDecision out;
    if (s.input == EInput::KeyDown && s.ctrl && CtrlAnyPhase(s, out))
        return out;
    if (s.input == EInput::SysKeyDown)
        return DecideSysKey(s);
    if (s.input == EInput::KeyDown && s.ctrl && s.phase == EPhase::Edit)
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
