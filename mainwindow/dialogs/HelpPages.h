// The help pages beside the program: which page belongs to a phase, where it lies, and loading it into
// a view.
#pragma once

#include <cstdint>
#include <string>

namespace lf::qt
{
class RichView;
}

// The help page of a phase (0 Test, 1 Review, 2 Flash, 3 Edit); the tutorial for any other.
std::string HelpPageOfPhase(std::uint8_t phase);
// "<folder>/Help/<page>", with the separator added when the folder does not end in one.
std::string HelpPagePath(const std::string& folder, const std::string& page);
// Replaces the view's document with the one stored in the file, formats it and shows its top. A
// missing or unreadable file leaves the view empty; false when nothing was loaded.
bool LoadHelpPage(lf::qt::RichView& view, const std::string& path);
