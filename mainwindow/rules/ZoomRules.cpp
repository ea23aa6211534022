#include "mainwindow/rules/ZoomRules.h"

#include <cstdlib>
#include <initializer_list>

#include <algorithm>

namespace lf::zoom
{

bool CanZoomIn(int step)
{
    return step < kMaxZoomStep;
}

bool CanZoomOut(int smallestShownSize)
{
    return smallestShownSize >= kSmallestZoomOutSize;
}

int ZoomedTextSize(int storedSize, int step)
{
    return std::max(1, storedSize + step);
}

int ZoomPercentOfStep(int step)
{
    return (step + 12) * 100 / 12;
}

int ZoomStepOfPercent(int percent)
{
    return percent * 12 / 100 - 12;
}

int ZoomPresetOf(int percent)
{
    for (const int preset : {50, 75, 100, 150, 200})
        if (std::abs(percent - preset) <= 1)
            return preset;
    return 0;
}

} // namespace lf::zoom
