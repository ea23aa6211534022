// Skins: style-sheet texts in ".ssk" files under the "Skins" folder beside the program, or the built-in
// look of the program.
#pragma once

#include <string>

class CPrefs;

// The skin file the options name: ExternalSkinPath, taken under the current folder's "Skins" when it
// is relative (or starts with "\"); empty when skins are off, the built-in skin is asked for, or no
// path is set.
std::string ResolveSkinPath(const CPrefs& prefs, const std::string& currentFolder);

// The built-in look as a style sheet.
const std::string& BuiltInSkin();

// Applies the skin of the options to the whole application: the skin file when it exists, else the
// built-in look; with skins off, the platform's plain look.
void ApplySkin(const CPrefs& prefs);
