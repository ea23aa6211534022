#include "mainwindow/rules/WindowTitle.h"
#include "platform/sys/PathText.h"

#include <string_view>

namespace
{

std::string_view PhaseSuffix(std::uint8_t phase)
{
    switch (phase)
    {
    case 0:
        return " (Test Phase) - ";
    case 1:
        return " (Review Phase) - ";
    case 2:
        return " (Flash Phase) - ";
    case 3:
        return " (Edit Phase) - ";
    default:
        return {};
    }
}

} // namespace

std::string MakeWindowTitle(const STitleInput& input)
{
    std::string name;
    if (input.wholeBookLoaded)
    {
        if (input.bookIndex >= 0)
        {
            name = lf::sys::NamePart(input.fileName);
        }
        else if (input.phase == 3)
            name = "Unnamed";
    }
    const std::string_view suffix = PhaseSuffix(input.phase);
    if (name.empty() || suffix.empty())
        return kApplicationTitle;
    return name + std::string(suffix) + kApplicationTitle;
}
