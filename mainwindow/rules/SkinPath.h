// Where the skin file named by the options lies.
#pragma once

#include <string>

class CPrefs;

// The skin file the options name: ExternalSkinPath, taken under the current folder's "Skins" when it
// is relative (or starts with "\"); empty when skins are off, the built-in skin is asked for, or no
// path is set.
std::string ResolveSkinPath(const CPrefs& prefs, const std::string& currentFolder);
