#include "editing/frames/FrameKeys.h"

#include <utility>

namespace
{

struct SCtrlKey
{
    int digit;
    EFrameCommand command;
};

// One row per frame: the Alt digits it focuses a control for, and its Ctrl digits.
struct SFrameKeys
{
    int altFirst = 0; // 0: no Alt digit
    int altLast = 0;
    std::vector<SCtrlKey> ctrl;
    bool altOnly = false; // with Alt held, the Ctrl column is not looked at
};

std::vector<SCtrlKey> Slots(EFrameCommand command)
{
    std::vector<SCtrlKey> keys;
    for (int digit = 1; digit <= 5; ++digit)
        keys.push_back({digit, command});
    return keys;
}

SFrameKeys KeysOf(EEditFrame frame)
{
    using C = EFrameCommand;
    switch (frame)
    {
    case EEditFrame::TrueFalseAnswer:
        return {1, 1, {{1, C::SwitchTrueFalse}}, true};
    case EEditFrame::EssayFeedback:
        return {2, 2, {}};
    case EEditFrame::ShortAnswer:
    case EEditFrame::MultiChoice:
        return {1, 5, Slots(C::GradeToggle)};
    case EEditFrame::Matching:
        return {1, 5, Slots(C::FocusAnswerText)};
    case EEditFrame::Numerical:
        return {1, 7, Slots(C::GradeToggle)};
    case EEditFrame::RandomShortAnswerMatching:
        return {1, 1, {}};
    case EEditFrame::Calculated:
        return {1, 9, {{1, C::GradeNone}, {2, C::Grade100}}};
    case EEditFrame::Header:
        return {1, 5, {{1, C::PictureChoice}, {2, C::VoiceRecording}, {3, C::MediaFileChoice}}};
    case EEditFrame::MultiChoiceFeedback:
        return {2, 4, {}};
    case EEditFrame::TrueFalseFeedback:
        return {2, 3, {}};
    case EEditFrame::MultiChoiceV3:
        return {1, 5, Slots(C::FlipCorrect)};
    case EEditFrame::Player:
        return {};
    }
    return {};
}

} // namespace

int FrameKeyDigit(const SShortcutKey& key)
{
    return key.key >= 0x31 && key.key <= 0x39 ? key.key - 0x30 : 0;
}

SFrameKeyAction FrameKeyAction(EEditFrame frame, const SShortcutKey& key)
{
    SFrameKeyAction action;
    const int digit = FrameKeyDigit(key);
    if (digit == 0)
        return action;
    const SFrameKeys keys = KeysOf(frame);
    if (key.alt != 0 && keys.altFirst != 0 && digit >= keys.altFirst && digit <= keys.altLast)
    {
        action.focus = digit;
        if (keys.altOnly)
            return action;
    }
    if (key.ctrl != 0)
        for (const SCtrlKey& ctrl : keys.ctrl)
            if (ctrl.digit == digit)
            {
                action.command = ctrl.command;
                action.slot = digit;
            }
    return action;
}

const std::vector<std::string>& GradeComboTexts(bool withPenalties)
{
    // The lists as the grade boxes have always shown them, the blank after "83.333 %" and the missing
    // one in "0%" included.
    static const std::vector<std::string> credits = {
        "100 %",    "90 %",      "83.333 % ", "80 %",     "75 %", "70 %", "66.666 %",
        "60 %",     "50 %",      "40 %",      "33.333 %", "30 %", "25 %", "20 %",
        "16.666 %", "14.2857 %", "12.5 %",    "11.111 %", "10 %", "5 %",  "0%"};
    static const std::vector<std::string> all = []
    {
        std::vector<std::string> list = credits;
        for (const char* text :
             {"-5 %",  "-10 %", "-11.111 %", "-12.5 %",   "-14.2857 %", "-16.666 %", "-20 %",
              "-25 %", "-30 %", "-33.333 %", "-40 %",     "-50 %",      "-60 %",     "-66.666 %",
              "-70 %", "-75 %", "-80 %",     "-83.333 %", "-90 %",      "-100 %"})
            list.emplace_back(text);
        return list;
    }();
    return withPenalties ? all : credits;
}

int ToggledGradeIndex(int currentIndex)
{
    return currentIndex == kGradeIndexNone ? kGradeIndex100 : kGradeIndexNone;
}

int SwitchedTrueFalseIndex(int currentIndex)
{
    return currentIndex == 0 ? 1 : 0;
}
