// Where the skin files lie and how the options name one: the skins folder beside the program, the skin
// files found in it, and the stored skin path, which names a skin of that folder relative to it.
#pragma once

#include <string>
#include <vector>

class CPrefs;

// The current folder's "Skins" folder (no "/" at the end).
std::string SkinsFolder(const std::string& currentFolder);

// A stored skin path as a full path: a path starting with "\" (as older options wrote it), or one that
// is not a full path, lies under the skins folder; a path starting with "/" too when that file exists
// there (the relative form the preferences write), else it is taken as it stands. "\" counts as "/".
std::string StoredSkinToPath(const std::string& stored, const std::string& skinsFolder);

// The skin file the options name: ExternalSkinPath as StoredSkinToPath reads it under the current
// folder's "Skins"; empty when skins are off, the built-in skin is asked for, or no path is set.
std::string ResolveSkinPath(const CPrefs& prefs, const std::string& currentFolder);

// The skin files under the folder and all its sub-folders: every file whose extension is ".ssk" exactly
// as written (".SSK" is no skin), in the order the file system gives them. Empty when there is no folder.
std::vector<std::string> FindSkinFiles(const std::string& folder);

// The row of the preferences' skin list the options select: 0 "None", 1 "Default", 2 + i the skin
// file i of skinFiles. "Default" with skins on and no listed skin named (or the built-in skin asked for).
int SkinListSelection(const CPrefs& prefs, const std::vector<std::string>& skinFiles,
                      const std::string& skinsFolder);

// A skin file's path as the options keep it: relative to the skins folder (starting with "/") when it
// lies there, else as it stands.
std::string SkinPathToStore(const std::string& path, const std::string& skinsFolder);

// The name a skin file shows in the list: its file name without the extension.
std::string SkinDisplayName(const std::string& path);
// The preview picture of a skin file: the path with ".png" in place of its extension.
std::string SkinPreviewPath(const std::string& path);
