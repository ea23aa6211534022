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
    s.phase = EPhase::Test;
    s.activeView = EView::Answers;
    s.questionFormat = 1;
    s.viewMode = EQuestionStyle::MultipleChoice;
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

std::function<void(SKeySnapshot&)> Phase(EPhase phase, EView view, std::function<void(SKeySnapshot&)> more)
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
    {"CtrlSInTestWritesNothing",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'S', true); }),
     true,
     {}},
    {"CtrlSInEditSaves",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'S', true); }),
     true,
     {{A::SaveBook}}},
    {"CtrlOInReviewIsSwallowed",
     Phase(EPhase::Review, EView::Question, [](auto& s) { Press(s, 'O', true); }),
     true,
     {}},
    {"CtrlOInEditOpensWithListActive",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, 'O', true);
               s.mainWindowActive = false;
               s.listWindowActive = true;
           }),
     true,
     {{A::OpenBook}}},
    {"CtrlVInEditAsksTheActiveList",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, 'V', true);
               s.listWindowActive = true;
           }),
     false,
     {{A::ListPaste}},
     true},
    {"CtrlAInEditAsksTheActiveList",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, 'A', true);
               s.listWindowActive = true;
           }),
     false,
     {{A::ListSelectAll}},
     true},
    {"CtrlVDeclinedByTheListPassesOn",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, 'V', true);
               s.listWindowActive = true;
               s.listDeclined = true;
           }),
     false,
     {}},
    {"CtrlVInEditWithoutTheListPassesOn",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'V', true); }),
     false,
     {}},

    // Alt in the Edit phase.
    {"AltRightFromQuestionClicksAnswers",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, kKeyRight, false, true); }),
     true,
     {ClickView(EView::Answers)}},
    {"AltRightOnExplanationDoesNothing",
     Phase(EPhase::Edit, EView::Explanation, [](auto& s) { Press(s, kKeyRight, false, true); }),
     true,
     {}},
    {"AltLeftFromExplanationClicksAnswers",
     Phase(EPhase::Edit, EView::Explanation, [](auto& s) { Press(s, kKeyLeft, false, true); }),
     true,
     {ClickView(EView::Answers)}},
    {"AltLeftOnQuestionDoesNothing",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, kKeyLeft, false, true); }),
     true,
     {}},
    {"AltDownMovesToTheNextQuestion",
     Phase(EPhase::Edit, EView::Answers, [](auto& s) { Press(s, kKeyDown, false, true); }),
     true,
     {{A::EditMove, 1}}},
    {"AltUpMovesBack",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, kKeyUp, false, true); }),
     true,
     {{A::EditMove, -1}}},
    {"Alt6FocusesTheEditorAboveAFrame",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, '6', false, true);
               s.editorVisible = s.editFrameDocked = true;
           }),
     true,
     {{A::FocusEditor}}},
    {"Alt1AboveAFrameGoesToTheFrame",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, '1', false, true);
               s.editorVisible = s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"Alt0FocusesTheEditorOnExplanation",
     Phase(EPhase::Edit, EView::Explanation,
           [](auto& s)
           {
               Press(s, '0', false, true);
               s.editorVisible = true;
           }),
     true,
     {{A::FocusEditor}}},
    {"Alt1WithTheEditorHiddenPassesOn",
     Phase(EPhase::Edit, EView::Answers, [](auto& s) { Press(s, '1', false, true); }),
     false,
     {}},
    {"AltQGoesToTheFrameFirst",
     Phase(EPhase::Edit, EView::Answers,
           [](auto& s)
           {
               Press(s, 'Q', false, true);
               s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"AltQDeclinedByTheFrameShowsTheQuestion",
     Phase(EPhase::Edit, EView::Answers,
           [](auto& s)
           {
               Press(s, 'Q', false, true);
               s.editFrameDocked = s.frameDeclined = true;
           }),
     true,
     {ClickView(EView::Question), {A::FocusEditor}}},
    {"AltQOnTheQuestionOnlyFocuses",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'Q', false, true); }),
     true,
     {{A::FocusEditor}}},
    {"AltAOnAnswersDoesNothing",
     Phase(EPhase::Edit, EView::Answers, [](auto& s) { Press(s, 'A', false, true); }),
     true,
     {}},
    {"AltXShowsTheExplanation",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'X', false, true); }),
     true,
     {ClickView(EView::Explanation), {A::FocusEditor}}},
    {"AltNInEditMovesOne",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'N', false, true); }),
     true,
     {{A::EditMove, 1}}},
    {"AltKInEditMovesBackAHundred",
     Phase(EPhase::Edit, EView::Explanation, [](auto& s) { Press(s, 'K', false, true); }),
     true,
     {{A::EditMove, -100}}},
    {"AltJOnTheIntroPassesOn",
     Phase(EPhase::Edit, EView::Intro, [](auto& s) { Press(s, 'J', false, true); }),
     false,
     {}},

    // Alt and a digit in the Test phase only highlight a row.
    {"Alt3InTestChoosesRow2",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, '3', false, true); }),
     true,
     {{A::ChooseRow, 2}}},
    {"Alt0OnFourRowsPassesOn",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, '0', false, true); }),
     false,
     {}},
    {"Alt0OnTenRowsChoosesRow9",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, '0', false, true);
               s.rowCount = 10;
           }),
     true,
     {{A::ChooseRow, 9}}},
    {"Alt3UnderTheQuestionChooses",
     Phase(EPhase::Test, EView::Question,
           [](auto& s)
           {
               Press(s, '3', false, true);
               s.questionFormat = 0;
           }),
     true,
     {{A::ChooseRow, 2}}},
    {"Alt3OnTheExplanationPassesOn",
     Phase(EPhase::Test, EView::Explanation, [](auto& s) { Press(s, '3', false, true); }),
     false,
     {}},
    {"Alt1InReviewPassesOn",
     Phase(EPhase::Review, EView::Answers, [](auto& s) { Press(s, '1', false, true); }),
     false,
     {}},

    // Ctrl in the Edit phase.
    {"CtrlNAddsAQuestion",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'N', true); }),
     true,
     {{A::NewQuestion}}},
    {"CtrlMDuplicates",
     Phase(EPhase::Edit, EView::Answers, [](auto& s) { Press(s, 'M', true); }),
     true,
     {{A::DuplicateQuestion}}},
    {"CtrlBGoesToADockedFrame",
     Phase(EPhase::Edit, EView::Answers,
           [](auto& s)
           {
               Press(s, 'B', true);
               s.editFrameDocked = true;
           }),
     false,
     {{A::FrameShortcut}},
     true},
    {"CtrlNInTestPassesOn",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'N', true); }),
     false,
     {}},

    // With another window active only the rules above apply.
    {"DownWithTheMainWindowInactivePassesOn",
     Phase(EPhase::Review, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.mainWindowActive = false;
           }),
     false,
     {}},
    {"SpaceWithTheMainWindowInactivePassesOn",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.mainWindowActive = false;
           }),
     false,
     {}},
    {"WheelWithTheMainWindowInactivePassesOn",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Wheel(s, -1);
               s.mainWindowActive = false;
           }),
     false,
     {}},

    // The wheel.
    {"WheelInReviewScrollsAndPassesOn",
     Phase(EPhase::Review, EView::Answers, [](auto& s) { Wheel(s, -1); }),
     false,
     {{A::ScrollDown}}},
    {"WheelOverTheQuestionPaneScrollsUp",
     Phase(EPhase::Test, EView::Question, [](auto& s) { Wheel(s, 2); }),
     false,
     {{A::ScrollUp}}},
    {"WheelOnTheExplanationScrollsDown",
     Phase(EPhase::Test, EView::Explanation, [](auto& s) { Wheel(s, -1); }),
     false,
     {{A::ScrollDown}}},
    {"WheelUpInTestChoosesTheRowAbove",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Wheel(s, 1);
               s.highlightedRow = 1;
           }),
     true,
     {{A::ChooseRow, 0}}},
    {"WheelUpOnTheFirstRowScrollsUp",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Wheel(s, 1); }),
     true,
     {{A::ScrollUp}}},
    {"WheelDownChoosesTheRowBelow",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Wheel(s, -1);
               s.highlightedRow = 1;
           }),
     true,
     {{A::ChooseRow, 2}}},
    {"WheelDownOnTheLastRowStays",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Wheel(s, -1);
               s.highlightedRow = 3;
           }),
     true,
     {}},
    {"WheelWithoutATableIsSwallowed",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Wheel(s, -1);
               s.answerTable = false;
           }),
     true,
     {}},
    {"WheelOverFlashcardAnswersUnderTheQuestionPassesOn",
     Phase(EPhase::Test, EView::Question,
           [](auto& s)
           {
               Wheel(s, -1);
               s.questionFormat = 0;
               s.viewMode = EQuestionStyle::Flashcard;
           }),
     false,
     {}},
    {"WheelInEditAnswersPassesOn",
     Phase(EPhase::Edit, EView::Answers, [](auto& s) { Wheel(s, -1); }),
     false,
     {}},

    // Arrows.
    {"DownInReviewScrolls",
     Phase(EPhase::Review, EView::Answers, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ScrollDown}}},
    {"DownOnTheTestQuestionPaneScrolls",
     Phase(EPhase::Test, EView::Question, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ScrollDown}}},
    {"DownInTheEditPhaseEditorMovesTheCaret",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.editorVisible = s.editorFocused = s.editableRichTextFocused = true;
           }),
     false,
     {}},
    {"UpInAnEditFrameEditorMovesTheCaret",
     Phase(EPhase::Edit, EView::Question,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.editableRichTextFocused = true;
           }),
     false,
     {}},
    {"DownInEditWithoutAFocusedEditorScrolls",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ScrollDown}}},
    {"UpWithTheExplanationButtonFocusedScrolls",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.explainBtnFocused = true;
           }),
     true,
     {{A::ScrollUp}}},
    {"UpOnTheNextButtonIsSwallowed",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.nextBtnFocused = true;
           }),
     true,
     {}},
    {"LeftOnThePreviousButtonIsSwallowed",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.prevBtnFocused = true;
           }),
     true,
     {}},
    {"LeftOnTheQuestionButtonWithPreviousDisabledIsSwallowed",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionBtnFocused = true;
               s.prevBtnEnabled = false;
           }),
     true,
     {}},
    {"LeftOnTheQuestionButtonWithPreviousEnabledPassesOn",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionBtnFocused = true;
           }),
     false,
     {}},
    {"UpInTestChoosesTheRowAbove",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyUp);
               s.highlightedRow = 2;
           }),
     true,
     {{A::ChooseRow, 1}}},
    {"UpOnTheFirstRowScrollsToTheTop",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, kKeyUp); }),
     true,
     {{A::ScrollToTop}}},
    {"DownInTestChoosesTheRowBelow",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, kKeyDown); }),
     true,
     {{A::ChooseRow, 1}}},
    {"DownOnTheLastRowStays",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.highlightedRow = 3;
           }),
     true,
     {}},
    {"DownWithoutATablePassesOn",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyDown);
               s.answerTable = false;
           }),
     false,
     {}},
    {"RightInTheFocusedViewFocusesTheAnswersButton",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyRight);
               s.readOnlyViewFocused = true;
           }),
     true,
     {FocusViewButton(EView::Answers)}},
    {"LeftInTheFocusedQuestionWithTableFocusesTheQuestionButton",
     Phase(EPhase::Review, EView::Question,
           [](auto& s)
           {
               Press(s, kKeyLeft);
               s.questionFormat = 0;
               s.readOnlyViewFocused = true;
           }),
     true,
     {FocusViewButton(EView::Question)}},

    // Space and Enter record the highlighted row.
    {"SpaceRecordsTheHighlightedRow",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.highlightedRow = 2;
           }),
     true,
     {{A::RecordRow, 2}}},
    {"EnterWithNoSuchRowIsSwallowed",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeyEnter);
               s.highlightedRow = 5;
           }),
     true,
     {}},
    {"SpaceWithTheViewHiddenPassesOn",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, kKeySpace);
               s.readOnlyViewVisible = false;
           }),
     false,
     {}},
    {"SpaceInReviewPassesOn",
     Phase(EPhase::Review, EView::Answers, [](auto& s) { Press(s, kKeySpace); }),
     false,
     {}},

    // Ctrl with a digit or a letter, and the bare letters A to E.
    {"Ctrl3InTestChoosesAndRecords",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, '3', true); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"CtrlCInTestChoosesAndRecords",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'C', true); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"Ctrl9OnFourRowsPassesOn",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, '9', true); }),
     false,
     {}},
    {"Ctrl1InFlashGivesFeedback",
     Phase(EPhase::Flash, EView::Answers, [](auto& s) { Press(s, '1', true); }),
     true,
     {{A::FlashFeedback, 0}}},
    {"Ctrl1InReviewPassesOn",
     Phase(EPhase::Review, EView::Answers, [](auto& s) { Press(s, '1', true); }),
     false,
     {}},
    {"CInTestChoosesAndRecords",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'C'); }),
     true,
     {{A::ChooseRow, 2}, {A::RecordRow, 2}}},
    {"CInFlashGivesFeedback",
     Phase(EPhase::Flash, EView::Answers, [](auto& s) { Press(s, 'C'); }),
     true,
     {{A::FlashFeedback, 2}}},
    {"EOnFourRowsPassesOn", Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'E'); }), false, {}},
    {"FIsNoRowLetter",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, 'F');
               s.rowCount = 8;
           }),
     false,
     {}},

    // Bare letters for the views and the moves.
    {"QShowsAndFocusesTheQuestionButton",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'Q'); }),
     true,
     {ClickView(EView::Question), FocusViewButton(EView::Question)}},
    {"AFromTheQuestionShowsTheAnswers",
     Phase(EPhase::Test, EView::Question, [](auto& s) { Press(s, 'A'); }),
     true,
     {ClickView(EView::Answers), FocusViewButton(EView::Answers)}},
    {"AOnAnswersUnderTheQuestionGoesBack",
     Phase(EPhase::Test, EView::Answers,
           [](auto& s)
           {
               Press(s, 'A');
               s.questionFormat = 0;
           }),
     true,
     {ClickView(EView::Question), FocusViewButton(EView::Question)}},
    {"AOnTheAnswersPaneChoosesRow0",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'A'); }),
     true,
     {{A::ChooseRow, 0}, {A::RecordRow, 0}}},
    {"XShowsTheExplanation",
     Phase(EPhase::Review, EView::Question, [](auto& s) { Press(s, 'X'); }),
     true,
     {ClickView(EView::Explanation), FocusViewButton(EView::Explanation)}},
    {"NMovesOne",
     Phase(EPhase::Test, EView::Answers, [](auto& s) { Press(s, 'N'); }),
     true,
     {{A::StudyMove, 1}}},
    {"UMovesAHundred",
     Phase(EPhase::Flash, EView::Question, [](auto& s) { Press(s, 'U'); }),
     true,
     {{A::StudyMove, 100}}},
    {"KInReviewMovesBackAHundred",
     Phase(EPhase::Review, EView::Explanation, [](auto& s) { Press(s, 'K'); }),
     true,
     {{A::StudyMove, -100}}},
    {"TypingInTheAnswerEditorIsLeftAlone",
     Phase(EPhase::Test, EView::Question,
           [](auto& s)
           {
               Press(s, 'A');
               s.editorVisible = s.editorFocused = true;
           }),
     false,
     {}},
    {"NInTheAnswerEditorIsLeftAlone",
     Phase(EPhase::Test, EView::Question,
           [](auto& s)
           {
               Press(s, 'N');
               s.editorVisible = s.editorFocused = true;
           }),
     false,
     {}},
    {"NOnTheIntroPassesOn", Phase(EPhase::None, EView::Intro, [](auto& s) { Press(s, 'N'); }), false, {}},
    {"NInEditWithoutAltPassesOn",
     Phase(EPhase::Edit, EView::Question, [](auto& s) { Press(s, 'N'); }),
     false,
     {}},
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
    EXPECT_EQ(ListSyncCode(EView::Question), 13);
    EXPECT_EQ(ListSyncCode(EView::Answers), 15);
    EXPECT_EQ(ListSyncCode(EView::Explanation), 16);
}

} // namespace
