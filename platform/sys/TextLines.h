// Splitting a text into its lines: the one place that says what ends a line.
#pragma once

#include <string_view>
#include <vector>

namespace lf::sys
{

// The lines of a text, as views into it: CR LF, a lone CR and a lone LF each end a line. A text that ends
// in a line break ends with an empty line, and the empty text is one empty line, so there is always one
// line more than there are line breaks.
std::vector<std::string_view> SplitLines(std::string_view text);

} // namespace lf::sys
