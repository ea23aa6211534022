// Which toolbar panels, buttons and menu items the main window shows, enables, checks and presses for a
// phase, question style and book state. A pure rule: the window applies the result to its controls by
// their names.
#pragma once

#include "model/support/ModelTypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct SToolbarInput
{
    EPhase phase = EPhase::None;
    EQuestionStyle viewMode = EQuestionStyle::Flashcard;
    bool wholeBookLoaded = false;
    bool sessionPanelVisible = false;
    bool selectorVisible = false;
    bool mainViewVisible = false;
    bool showStandardToolbar = true;
    bool showFormattingToolbar = true;
    bool timerOn = false; // the Test clock has a limit running
    bool childToolBarVisible = true;
    bool listWindowVisible = false;
    bool keepButtons = false; // only panels, menus and hints; the buttons keep their visibility
};

struct SToolbarState
{
    // The toolbar panels shown, from the top.
    std::vector<std::string> panels;
    // Visibility of buttons, separators and menu items by name. Buttons appear only without keepButtons.
    std::map<std::string, bool> visible;
    std::map<std::string, bool> enabled;
    // Check marks of menu items and the pressed state of toolbar buttons.
    std::map<std::string, bool> checked;
    std::map<std::string, bool> pressed;
    // Hints ("short|long") of the navigation buttons.
    std::map<std::string, std::string> hints;
    // Picture of the question style button: 66 plus the style's number.
    int viewModeImage = 66;

    // Convenience for readers and tests: false for a name the state does not mention.
    bool IsVisible(const std::string& name) const;
    bool IsChecked(const std::string& name) const;
    bool IsPressed(const std::string& name) const;
};

// Studying: a phase is set, the question view shows and neither the session panel nor the book selector.
bool IsStudying(const SToolbarInput& input);

SToolbarState ComputeToolbarState(const SToolbarInput& input);

// The print commands alone (the Print button, its menu item and separator): shown with a whole book.
void ComputePrintCommands(bool wholeBookLoaded, SToolbarState& state);
