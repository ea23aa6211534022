// The rules of the edit frames that need no widget: the Alt+digit and Ctrl+digit keys each frame takes,
// the texts of the grade lists and the toggles the grade keys run.
#pragma once

#include "mainwindow/EditingServices.h"

#include <string>
#include <vector>

// The frames docked beside the main editor in Edit phase, and the player frame outside it.
enum class EEditFrame
{
    TrueFalseAnswer,
    EssayFeedback,
    ShortAnswer,
    Matching,
    MultiChoice,
    Numerical,
    RandomShortAnswerMatching,
    Calculated,
    Header,
    MultiChoiceFeedback,
    TrueFalseFeedback,
    MultiChoiceV3,
    Player,
};

// What a Ctrl+digit key runs in a frame.
enum class EFrameCommand
{
    None,
    SwitchTrueFalse, // "False" becomes "True", anything else "False"; then the combo takes the focus
    GradeToggle,     // the slot's grade between "0%" and "100 %"; then its grade combo takes the focus
    FocusAnswerText, // the slot's one-line answer takes the focus
    GradeNone,       // the grade becomes "0%"; the focus stays
    Grade100,        // the grade becomes "100 %"; the focus stays
    PictureChoice,
    VoiceRecording,
    MediaFileChoice,
    FlipCorrect, // the slot's "correct" box flips; the focus stays
};

// A frame's answer to a key: the control of an Alt digit to focus, then a command for a Ctrl digit.
struct SFrameKeyAction
{
    int focus = 0; // the Alt digit whose control takes the focus; 0: none
    EFrameCommand command = EFrameCommand::None;
    int slot = 0; // the Ctrl digit the command is for

    bool Taken() const { return focus != 0 || command != EFrameCommand::None; }
    friend bool operator==(const SFrameKeyAction&, const SFrameKeyAction&) = default;
};

// The digit 1..9 of a key of the main keyboard row ("1" is 0x31); 0 for "0", the numeric keypad and
// every other key, which no frame takes.
int FrameKeyDigit(const SShortcutKey& key);

// What a frame does with a key. Alt and Ctrl are looked at independently, Alt first; with both held a
// frame runs both, except the true/false answer frame, which stops after its Alt action.
SFrameKeyAction FrameKeyAction(EEditFrame frame, const SShortcutKey& key);

// The entries of a grade combo box: 21 from "100 %" down to "0%", or 41 going on to "-100 %". Entry i
// is grade i of the grade table (Grades.h): 0 is full credit, 20 none, 40 the full penalty.
const std::vector<std::string>& GradeComboTexts(bool withPenalties);
inline constexpr int kGradeIndex100 = 0;
inline constexpr int kGradeIndexNone = 20;

// The grade a grade key gives a slot showing currentIndex: "100 %" from "0%", "0%" from anything else
// (a penalty included).
int ToggledGradeIndex(int currentIndex);
// The true/false combo after Ctrl+1: "False" (0) becomes "True" (1), anything else "False".
int SwitchedTrueFalseIndex(int currentIndex);
