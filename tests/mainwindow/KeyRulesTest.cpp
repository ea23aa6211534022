// The keyboard and wheel rules of the main window, as a table of events against window snapshots.
#include "mainwindow/rules/KeyRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace
{

using namespace lf::keys;
using A = EKeyAction;

// A Test-phase question on its answer-choices pane: four answer rows, the first highlighted, the view
// buttons visible, answers in a pane of their own, the Multiple Choice style.
SKeySnapshot Base()
{
    SKeySnapshot s;
    s.phase = 0;
    s.activeView = 1;
    s.questionFormat = 1;
    s.viewMode = 2;
    s.readOnlyViewVisible = true;
    s.questionBtnVisible = s.answerBtnVisible = s.explainBtnVisible = true;
    s.answerTable = true;
    s.rowCount = 4;
    return s;
}

void Press(SKeySnapshot& s, int key, bool ctrl = false, bool alt = false)
{
    s.key = key;
    s.ctrl = ctrl;
    s.alt = alt;
    s.input = alt && !ctrl ? EInput::SysKeyDown : EInput::KeyDown;
}

void Wheel(SKeySnapshot& s, int notches)
{
    s.input = EInput::Wheel;
    s.notches = notches;
}

struct SCase
{
    std::string name;
    std::function<void(SKeySnapshot&)> setup;
    bool handled;
    std::vector<SKeyAction> actions;
    bool conditional = false;
};

void PrintTo(const SCase& c, std::ostream* os)
{
    *os << c.name;
}

std::function<void(SKeySnapshot&)> Phase(std::uint8_t phase, std::uint8_t view,
                                         std::function<void(SKeySnapshot&)> more)
{
    return [=](SKeySnapshot& s)
    {
        s.phase = phase;
        s.activeView = view;
        more(s);
    };
}

const std::vector<SCase> kCases = {
    // Save and open act in the Edit phase only and are swallowed in the others.
    {"CtrlSInTestWritesNothing", Phase(0, 1, [](auto& s) { Press(s, 'S', true); }), true, {}},
    {"CtrlSInEditSaves", Phase(3, 0, [](auto& s) { Press(s, 'S', true); }), true, {{A::SaveBook}}},
    {"CtrlOInReviewIsSwallowed", Phase(1, 0, [](auto& s) { Press(s, 'O', true); }), true, {}},
    {"CtrlOInEditOpensWithListActive",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, 'O', true);
               s.mainWindowActive = false;
               s.listWindowActive = true;
           }),
     true,
     {{A::OpenBook}}},
    {"CtrlVInEditAsksTheActiveList",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, 'V', true);
               s.listWindowActive = true;
           }),
     false,
     {{A::ListPaste}},
     true},
    {"CtrlAInEditAsksTheActiveList",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, 'A', true);
               s.listWindowActive = true;
           }),
     false,
     {{A::ListSelectAll}},
     true},
    {"CtrlVDeclinedByTheListPassesOn",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, 'V', true);
               s.listWindowActive = true;
               s.listDeclined = true;
           }),
     false,
     {}},
    {"CtrlVInEditWithoutTheListPassesOn", Phase(3, 0, [](auto& s) { Press(s, 'V', true); }), false, {}},

    // Alt in the Edit phase.
    {"AltRightFromQuestionClicksAnswers",
     Phase(3, 0, [](auto& s) { Press(s, kKeyRight, false, true); }),
     true,
     {{A::ClickView, 1}}},
    {"AltRightOnExplanationDoesNothing",
     Phase(3, 2, [](auto& s) { Press(s, kKeyRight, false, true); }),
     true,
     {}},
    {"AltLeftFromExplanationClicksAnswers",
     Phase(3, 2, [](auto& s) { Press(s, kKeyLeft, false, true); }),
     true,
     {{A::ClickView, 1}}},
    {"AltLeftOnQuestionDoesNothing", Phase(3, 0, [](auto& s) { Press(s, kKeyLeft, false, true); }), true, {}},
    {"AltDownMovesToTheNextQuestion",
     Phase(3, 1, [](auto& s) { Press(s, kKeyDown, false, true); }),
     true,
     {{A::EditMove, 1}}},
    {"AltUpMovesBack",
     Phase(3, 0, [](auto& s) { Press(s, kKeyUp, false, true); }),
     true,
     {{A::EditMove, -1}}},
    {"Alt6FocusesTheEditorAboveAFrame",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, '6', false, true);
               s.editorVisible = s.editFrameDocked = true;
           }),
     true,
     {{A::FocusEditor}}},
    {"Alt1AboveAFrameGoesToTheFrame",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, '1', false, true);
               s.editorVisible = s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"Alt0FocusesTheEditorOnExplanation",
     Phase(3, 2,
           [](auto& s)
           {
               Press(s, '0', false, true);
               s.editorVisible = true;
           }),
     true,
     {{A::FocusEditor}}},
    {"Alt1WithTheEditorHiddenPassesOn", Phase(3, 1, [](auto& s) { Press(s, '1', false, true); }), false, {}},
    {"AltQGoesToTheFrameFirst",
     Phase(3, 1,
           [](auto& s)
           {
               Press(s, 'Q', false, true);
               s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"AltQDeclinedByTheFrameShowsTheQuestion",
     Phase(3, 1,
           [](auto& s)
           {
               Press(s, 'Q', false, true);
               s.editFrameDocked = s.frameDeclined = true;
           }),
     true,
     {{A::ClickView, 0}, {A::FocusEditor}}},
    {"AltQOnTheQuestionOnlyFocuses",
     Phase(3, 0, [](auto& s) { Press(s, 'Q', false, true); }),
     true,
     {{A::FocusEditor}}},
    {"AltAOnAnswersDoesNothing", Phase(3, 1, [](auto& s) { Press(s, 'A', false, true); }), true, {}},
    {"AltXShowsTheExplanation",
     Phase(3, 0, [](auto& s) { Press(s, 'X', false, true); }),
     true,
     {{A::ClickView, 2}, {A::FocusEditor}}},
    {"AltNInEditMovesOne",
     Phase(3, 0, [](auto& s) { Press(s, 'N', false, true); }),
     true,
     {{A::EditMove, 1}}},
    {"AltKInEditMovesBackAHundred",
     Phase(3, 2, [](auto& s) { Press(s, 'K', false, true); }),
     true,
     {{A::EditMove, -100}}},
    {"AltJOnTheIntroPassesOn", Phase(3, 3, [](auto& s) { Press(s, 'J', false, true); }), false, {}},

    // Alt and a digit in the Test phase only highlight a row.
    {"Alt3InTestChoosesRow2",
     Phase(0, 1, [](auto& s) { Press(s, '3', false, true); }),
     true,
     {{A::ChooseRow, 2}}},
    {"Alt0OnFourRowsPassesOn", Phase(0, 1, [](auto& s) { Press(s, '0', false, true); }), false, {}},
    {"Alt0OnTenRowsChoosesRow9",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, '0', false, true);
               s.rowCount = 10;
           }),
     true,
     {{A::ChooseRow, 9}}},
    {"Alt3UnderTheQuestionChooses",
     Phase(0, 0,
           [](auto& s)
           {
               Press(s, '3', false, true);
               s.questionFormat = 0;
           }),
     true,
     {{A::ChooseRow, 2}}},
    {"Alt3OnTheExplanationPassesOn", Phase(0, 2, [](auto& s) { Press(s, '3', false, true); }), false, {}},
    {"Alt1InReviewPassesOn", Phase(1, 1, [](auto& s) { Press(s, '1', false, true); }), false, {}},

    // Ctrl in the Edit phase.
    {"CtrlNAddsAQuestion", Phase(3, 0, [](auto& s) { Press(s, 'N', true); }), true, {{A::NewQuestion}}},
    {"CtrlMDuplicates", Phase(3, 1, [](auto& s) { Press(s, 'M', true); }), true, {{A::DuplicateQuestion}}},
    {"CtrlBGoesToADockedFrame",
     Phase(3, 1,
           [](auto& s)
           {
               Press(s, 'B', true);
               s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"CtrlNInTestPassesOn", Phase(0, 1, [](auto& s) { Press(s, 'N', true); }), false, {}},

    // With another window active only the rules above apply.
    {"DownWithTheMainWindowInactivePassesOn",
     Phase(1, 1,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.mainWindowActive = false;
           }),
     false,
     {}},
    {"SpaceWithTheMainWindowInactivePassesOn",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.mainWindowActive = false;
           }),
     false,
     {}},
    {"WheelWithTheMainWindowInactivePassesOn",
     Phase(0, 1,
           [](auto& s)
           {
               Wheel(s, -1);
               s.mainWindowActive = false;
           }),
     false,
     {}},

    // The wheel.
    {"WheelInReviewScrollsAndPassesOn", Phase(1, 1, [](auto& s) { Wheel(s, -1); }), false, {{A::ScrollDown}}},
    {"WheelOverTheQuestionPaneScrollsUp", Phase(0, 0, [](auto& s) { Wheel(s, 2); }), false, {{A::ScrollUp}}},
    {"WheelOnTheExplanationScrollsDown",
     Phase(0, 2, [](auto& s) { Wheel(s, -1); }),
     false,
     {{A::ScrollDown}}},
    {"WheelUpInTestChoosesTheRowAbove",
     Phase(0, 1,
           [](auto& s)
           {
               Wheel(s, 1);
               s.highlightedRow = 1;
           }),
     true,
     {{A::ChooseRow, 0}}},
    {"WheelUpOnTheFirstRowScrollsUp", Phase(0, 1, [](auto& s) { Wheel(s, 1); }), true, {{A::ScrollUp}}},
    {"WheelDownChoosesTheRowBelow",
     Phase(0, 1,
           [](auto& s)
           {
               Wheel(s, -1);
               s.highlightedRow = 1;
           }),
     true,
     {{A::ChooseRow, 2}}},
    {"WheelDownOnTheLastRowStays",
     Phase(0, 1,
           [](auto& s)
           {
               Wheel(s, -1);
               s.highlightedRow = 3;
           }),
     true,
     {}},
    {"WheelWithoutATableIsSwallowed",
     Phase(0, 1,
           [](auto& s)
           {
               Wheel(s, -1);
               s.answerTable = false;
           }),
     true,
     {}},
    {"WheelOverFlashcardAnswersUnderTheQuestionPassesOn",
     Phase(0, 0,
           [](auto& s)
           {
               Wheel(s, -1);
               s.questionFormat = 0;
               s.viewMode = 0;
           }),
     false,
     {}},
    {"WheelInEditAnswersPassesOn", Phase(3, 1, [](auto& s) { Wheel(s, -1); }), false, {}},

    // Arrows.
    {"DownInReviewScrolls", Phase(1, 1, [](auto& s) { Press(s, kKeyDown); }), true, {{A::ScrollDown}}},
    {"DownOnTheTestQuestionPaneScrolls",
     Phase(0, 0, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ScrollDown}}},
    {"DownInTheEditPhaseEditorMovesTheCaret",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.editorVisible = s.editorFocused = s.editableRichTextFocused = true;
           }),
     false,
     {}},
    {"UpInAnEditFrameEditorMovesTheCaret",
     Phase(3, 0,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.editableRichTextFocused = true;
           }),
     false,
     {}},
    {"DownInEditWithoutAFocusedEditorScrolls",
     Phase(3, 0, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ScrollDown}}},
    {"UpWithTheExplanationButtonFocusedScrolls",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.explainBtnFocused = true;
           }),
     true,
     {{A::ScrollUp}}},
    {"UpOnTheNextButtonIsSwallowed",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.nextBtnFocused = true;
           }),
     true,
     {}},
    {"LeftOnThePreviousButtonIsSwallowed",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.prevBtnFocused = true;
           }),
     true,
     {}},
    {"LeftOnTheQuestionButtonWithPreviousDisabledIsSwallowed",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionBtnFocused = true;
               s.prevBtnEnabled = false;
           }),
     true,
     {}},
    {"LeftOnTheQuestionButtonWithPreviousEnabledPassesOn",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionBtnFocused = true;
           }),
     false,
     {}},
    {"UpInTestChoosesTheRowAbove",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.highlightedRow = 2;
           }),
     true,
     {{A::ChooseRow, 1}}},
    {"UpOnTheFirstRowScrollsToTheTop",
     Phase(0, 1, [](auto& s) { Press(s, kKeyUp); }),
     true,
     {{A::ScrollToTop}}},
    {"DownInTestChoosesTheRowBelow",
     Phase(0, 1, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ChooseRow, 1}}},
    {"DownOnTheLastRowStays",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.highlightedRow = 3;
           }),
     true,
     {}},
    {"DownWithoutATablePassesOn",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.answerTable = false;
           }),
     false,
     {}},
    {"RightInTheFocusedViewFocusesTheAnswersButton",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyRight);
               s.readOnlyViewFocused = true;
           }),
     true,
     {{A::FocusViewButton, 1}}},
    {"LeftInTheFocusedQuestionWithTableFocusesTheQuestionButton",
     Phase(1, 0,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionFormat = 0;
               s.readOnlyViewFocused = true;
           }),
     true,
     {{A::FocusViewButton, 0}}},

    // Space and Enter record the highlighted row.
    {"SpaceRecordsTheHighlightedRow",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.highlightedRow = 2;
           }),
     true,
     {{A::RecordRow, 2}}},
    {"EnterWithNoSuchRowIsSwallowed",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeyEnter);
               s.highlightedRow = 5;
           }),
     true,
     {}},
    {"SpaceWithTheViewHiddenPassesOn",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.readOnlyViewVisible = false;
           }),
     false,
     {}},
    {"SpaceInReviewPassesOn", Phase(1, 1, [](auto& s) { Press(s, kKeySpace); }), false, {}},

    // Ctrl with a digit or a letter, and the bare letters A to E.
    {"Ctrl3InTestChoosesAndRecords",
     Phase(0, 1, [](auto& s) { Press(s, '3', true); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"CtrlCInTestChoosesAndRecords",
     Phase(0, 1, [](auto& s) { Press(s, 'C', true); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"Ctrl9OnFourRowsPassesOn", Phase(0, 1, [](auto& s) { Press(s, '9', true); }), false, {}},
    {"Ctrl1InFlashGivesFeedback",
     Phase(2, 1, [](auto& s) { Press(s, '1', true); }),
     true,
     {{A::FlashFeedback, 0}}},
    {"Ctrl1InReviewPassesOn", Phase(1, 1, [](auto& s) { Press(s, '1', true); }), false, {}},
    {"CInTestChoosesAndRecords",
     Phase(0, 1, [](auto& s) { Press(s, 'C'); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"CInFlashGivesFeedback", Phase(2, 1, [](auto& s) { Press(s, 'C'); }), true, {{A::FlashFeedback, 2}}},
    {"EOnFourRowsPassesOn", Phase(0, 1, [](auto& s) { Press(s, 'E'); }), false, {}},
    {"FIsNoRowLetter",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, 'F');
               s.rowCount = 8;
           }),
     false,
     {}},

    // Bare letters for the views and the moves.
    {"QShowsAndFocusesTheQuestionButton",
     Phase(0, 1, [](auto& s) { Press(s, 'Q'); }),
     true,
     {{A::ClickView, 0}, {A::FocusViewButton, 0}}},
    {"AFromTheQuestionShowsTheAnswers",
     Phase(0, 0, [](auto& s) { Press(s, 'A'); }),
     true,
     {{A::ClickView, 1}, {A::FocusViewButton, 1}}},
    {"AOnAnswersUnderTheQuestionGoesBack",
     Phase(0, 1,
           [](auto& s)
           {
               Press(s, 'A');
               s.questionFormat = 0;
           }),
     true,
     {{A::ClickView, 0}, {A::FocusViewButton, 0}}},
    {"AOnTheAnswersPaneChoosesRow0",
     Phase(0, 1, [](auto& s) { Press(s, 'A'); }),
     true,
     {{A::ChooseRow, 0}, {A::RecordRow, 0}}},
    {"XShowsTheExplanation",
     Phase(1, 0, [](auto& s) { Press(s, 'X'); }),
     true,
     {{A::ClickView, 2}, {A::FocusViewButton, 2}}},
    {"NMovesOne", Phase(0, 1, [](auto& s) { Press(s, 'N'); }), true, {{A::StudyMove, 1}}},
    {"UMovesAHundred", Phase(2, 0, [](auto& s) { Press(s, 'U'); }), true, {{A::StudyMove, 100}}},
    {"KInReviewMovesBackAHundred", Phase(1, 2, [](auto& s) { Press(s, 'K'); }), true, {{A::StudyMove, -100}}},
    {"TypingInTheAnswerEditorIsLeftAlone",
     Phase(0, 0,
           [](auto& s)
           {
               Press(s, 'A');
               s.editorVisible = s.editorFocused = true;
           }),
     false,
     {}},
    {"NInTheAnswerEditorIsLeftAlone",
     Phase(0, 0,
           [](auto& s)
           {
               Press(s, 'N');
               s.editorVisible = s.editorFocused = true;
           }),
     false,
     {}},
    {"NOnTheIntroPassesOn", Phase(255, 3, [](auto& s) { Press(s, 'N'); }), false, {}},
    {"NInEditWithoutAltPassesOn", Phase(3, 0, [](auto& s) { Press(s, 'N'); }), false, {}},
};

class KeyRulesTable : public testing::TestWithParam<SCase>
{
};

TEST_P(KeyRulesTable, DecidesAsTheRulesSay)
{
    const SCase& c = GetParam();
    SKeySnapshot s = Base();
    c.setup(s);
    const SKeyDecision d = DecideKey(s);
    EXPECT_EQ(d.handled, c.handled);
    EXPECT_EQ(d.actions, c.actions);
    EXPECT_EQ(d.conditional, c.conditional);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeyRulesTable, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SCase>& info) { return info.param.name; });

TEST(KeyRules, RowsOfDigitsAndLetters)
{
    EXPECT_EQ(RowOfKey('1', false), 0);
    EXPECT_EQ(RowOfKey('9', false), 8);
    EXPECT_EQ(RowOfKey('0', false), 9);
    EXPECT_EQ(RowOfKey('A', false), -1);
    EXPECT_EQ(RowOfKey('A', true), 0);
    EXPECT_EQ(RowOfKey('I', true), 8);
    EXPECT_EQ(RowOfKey('J', true), -1);
}

TEST(KeyRules, ListSyncCodeFollowsTheView)
{
    EXPECT_EQ(ToNumber(ListSyncCode(0)), 13);
    EXPECT_EQ(ToNumber(ListSyncCode(1)), 15);
    EXPECT_EQ(ToNumber(ListSyncCode(2)), 16);
}

} // namespace
