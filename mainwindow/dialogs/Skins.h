// Skins: style-sheet texts in ".ssk" files under the "Skins" folder beside the program, or the built-in
// look of the program.
#pragma once

#include "mainwindow/rules/SkinPath.h"

#include <string>

class QPixmap;

class CPrefs;

// The built-in look as a style sheet.
const std::string& BuiltInSkin();

// Applies the skin of the options to the whole application: the skin file when it exists, else the
// built-in look; with skins off, the platform's plain look.
void ApplySkin(const CPrefs& prefs);

// A small picture of the built-in look, for the preferences' skin preview.
QPixmap DefaultSkinPreview();
