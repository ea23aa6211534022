// Where the platform layer reports what it refused or repaired in outside data (a table too large to
// build, nesting flattened). The program log installs itself here; without a sink the lines go nowhere.
#pragma once

#include <string>

namespace lf::sys
{

using ProblemSink = void (*)(const std::string& line);

// Installs the sink (nullptr removes it).
void SetProblemSink(ProblemSink sink);

// Hands one line to the sink.
void ReportProblem(const std::string& line);

} // namespace lf::sys
