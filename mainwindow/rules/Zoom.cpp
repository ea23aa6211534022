#include "mainwindow/rules/Zoom.h"

#include <cstdlib>
#include <initializer_list>

namespace
{

constexpr int kBasePoints = 12;

} // namespace

int ZoomPercentOfStep(int step)
{
    return (step + kBasePoints) * 100 / kBasePoints;
}

int ZoomStepOfPercent(int percent)
{
    return percent * kBasePoints / 100 - kBasePoints;
}

int ZoomPresetOf(int percent)
{
    for (const int preset : {50, 75, 100, 150, 200})
        if (std::abs(percent - preset) <= 1)
            return preset;
    return 0;
}
