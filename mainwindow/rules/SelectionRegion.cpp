#include "mainwindow/rules/SelectionRegion.h"

#include "platform/sys/NumberText.h"

#include <algorithm>

namespace lf::region
{

EHitArea SelectionHitTest(int x, int y, int width, int height)
{
    if (x <= 6)
    {
        if (y <= 6)
            return EHitArea::TopLeft;
        if (y >= height - 6)
            return EHitArea::BottomLeft;
        return EHitArea::Left;
    }
    const bool right = x >= width - 6;
    if (y <= 5)
        return right ? EHitArea::TopRight : EHitArea::Top;
    if (y >= height - 6)
        return right ? EHitArea::BottomRight : EHitArea::Bottom;
    return right ? EHitArea::Right : EHitArea::Caption;
}

SRegionShape SelectionRegionShape(int width, int height)
{
    SRegionShape shape;
    shape.bounds = {0, 0, width, height};
    const int cx = width / 2;
    const int cy = height / 2;
    shape.circle = {cx - 9, cy - 9, cx + 11, cy + 11};
    shape.corners[0] = {1, 1, 6, 6};
    shape.corners[1] = {width - 6, 1, width - 1, 6};
    shape.corners[2] = {width - 6, height - 6, width - 1, height - 1};
    shape.corners[3] = {1, height - 6, 6, height - 1};
    return shape;
}

namespace
{

bool Inside(const SRegionRect& rect, int x, int y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

bool InSelectionRegion(const SRegionShape& shape, int x, int y)
{
    if (!Inside(shape.bounds, x, y))
        return false;
    const SRegionRect& b = shape.bounds;
    if (x == b.left || y == b.top || x == b.right - 1 || y == b.bottom - 1)
        return true;
    for (const SRegionRect& corner : shape.corners)
        if (Inside(corner, x, y))
            return true;
    // The pixel's centre inside the ellipse.
    const SRegionRect& c = shape.circle;
    const double rx = (c.right - c.left) / 2.0;
    const double ry = (c.bottom - c.top) / 2.0;
    if (rx <= 0 || ry <= 0)
        return false;
    const double px = (x + 0.5 - (c.left + rx)) / rx;
    const double py = (y + 0.5 - (c.top + ry)) / ry;
    return px * px + py * py <= 1.0;
}

SFrameRect DragSelectionFrame(EHitArea area, const SFrameRect& start, int dx, int dy)
{
    if (area == EHitArea::Caption)
        return {start.x + dx, start.y + dy, start.width, start.height};
    const bool left = area == EHitArea::Left || area == EHitArea::TopLeft || area == EHitArea::BottomLeft;
    const bool right = area == EHitArea::Right || area == EHitArea::TopRight || area == EHitArea::BottomRight;
    const bool top = area == EHitArea::Top || area == EHitArea::TopLeft || area == EHitArea::TopRight;
    const bool bottom =
        area == EHitArea::Bottom || area == EHitArea::BottomLeft || area == EHitArea::BottomRight;
    SFrameRect frame = start;
    if (left)
    {
        const int shift = std::min(dx, start.width - kMinSelectionSize);
        frame.x += shift;
        frame.width -= shift;
    }
    if (right)
        frame.width = std::max(kMinSelectionSize, start.width + dx);
    if (top)
    {
        const int shift = std::min(dy, start.height - kMinSelectionSize);
        frame.y += shift;
        frame.height -= shift;
    }
    if (bottom)
        frame.height = std::max(kMinSelectionSize, start.height + dy);
    return frame;
}

std::string SelectionSizeText(int width, int height)
{
    return lf::sys::NumberText(width) + "x" + lf::sys::NumberText(height);
}

} // namespace lf::region
