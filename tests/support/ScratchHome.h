// The scratch home every test program runs in: home, configuration and data folders inside a fresh
// temporary folder, so no test can read or write the real user's files.
#pragma once

#include <filesystem>

namespace lf::test
{

// Creates the scratch folders, points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and LERNFOLD_CONFIG_DIR at
// them and makes the home folder current. Returns the scratch root.
std::filesystem::path EnterScratchHome();
// Leaves the scratch root and removes it.
void LeaveScratchHome(const std::filesystem::path& root);

} // namespace lf::test
