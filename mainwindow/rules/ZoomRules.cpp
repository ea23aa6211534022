#include "mainwindow/rules/ZoomRules.h"

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

} // namespace lf::zoom
