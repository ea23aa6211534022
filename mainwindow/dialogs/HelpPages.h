// The help pages beside the program: which page belongs to a phase, where it lies, and loading it into
// a view.
#pragma once

#include "model/support/ModelTypes.h"

#include <string>

namespace lf::qt
{
class RichView;
}

// The help page of a phase; the tutorial without one.
std::string HelpPageOfPhase(EPhase phase);
// "<folder>/Help/<page>", with the separator added when the folder does not end in one.
std::string HelpPagePath(const std::string& folder, const std::string& page);
// Replaces the view's document with the one stored in the file, formats it and shows its top. A
// missing or unreadable file leaves the view empty; false when nothing was loaded.
bool LoadHelpPage(lf::qt::RichView& view, const std::string& path);
