// The rich-text actions the editors share (the program's actions module, made once at start). The font
// action sets the properties of its font that are marked valid on an editor's selection, or on what is
// typed next at the caret; each run keeps its other properties. With its user interface on it first asks
// the font dialog, starting from its font.
#pragma once

#include "platform/qt/Dialogs.h"

namespace lf::qt
{

class RichViewEdit;

// The properties of a font the font action can set, as flags.
enum ERichFontProperty : unsigned
{
    kRichFontName = 1,
    kRichFontSize = 2,
    kRichFontColor = 4,
    kRichFontStyle = 8, // bold, italic, underline and strike-out
    kRichFontAll = 15,
};

class TrvActionFontEx
{
public:
    // Sets the valid properties of Font (after the dialog, when the user interface is on) on the
    // editor's selection. False when the user cancelled the dialog or no property is valid.
    bool Execute(RichViewEdit& editor);

    bool UserInterface = true;
    unsigned ValidProperties = kRichFontAll;
    SFontChoice Font;
};

class TrvActionsResource
{
public:
    TrvActionFontEx rvActionFontEx1;
};

// The font boxes' use of the action: the dialog switched off, only the given properties valid, the
// font's values put in, executed, the dialog switched on again. The result of Execute.
bool ApplyFontProperties(TrvActionFontEx& action, RichViewEdit& editor, unsigned properties,
                         const SFontChoice& font);

} // namespace lf::qt
