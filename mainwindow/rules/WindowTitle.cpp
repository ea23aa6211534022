#include "mainwindow/rules/WindowTitle.h"
#include "platform/sys/PathText.h"

#include <string_view>

namespace
{

std::string_view PhaseSuffix(EPhase phase)
{
    switch (phase)
    {
    case EPhase::Test:
        return " (Test Phase) - ";
    case EPhase::Review:
        return " (Review Phase) - ";
    case EPhase::Flash:
        return " (Flash Phase) - ";
    case EPhase::Edit:
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
        else if (input.phase == EPhase::Edit)
            name = "Unnamed";
    }
    const std::string_view suffix = PhaseSuffix(input.phase);
    if (name.empty() || suffix.empty())
        return kApplicationTitle;
    return name + std::string(suffix) + kApplicationTitle;
}
