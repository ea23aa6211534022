#include "mainwindow/rules/PrefixKeys.h"

namespace lf::keys
{

bool PrefixKeyPasses(char32_t typed, bool leftCtrlDown, bool rightCtrlDown)
{
    if (typed == 13 && !leftCtrlDown)
        return true;
    if (rightCtrlDown)
        return true;
    if (typed == 27 || typed == 8)
        return true;
    return (typed >= U'0' && typed <= U'9') || typed == U'.';
}

} // namespace lf::keys
