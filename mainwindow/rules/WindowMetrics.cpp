#include "mainwindow/rules/WindowMetrics.h"

#include <algorithm>

int ClampWheelScrollLines(int systemLines)
{
    return std::clamp(systemLines, 1, 10);
}

void CorrectMainWindowSize(int& width, int& height)
{
    width = std::max(width, kMinMainWidth);
    height = std::max(height, kMinMainHeight);
}
