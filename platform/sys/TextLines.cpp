// Splitting a text into its lines.
#include "platform/sys/TextLines.h"

namespace lf::sys
{

std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
        {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
}

} // namespace lf::sys
