// The screen-region frame as geometry: which part of the frame a point is (what a drag there does), the
// see-through shape the frame keeps, how a drag changes the frame, and the size hint's text. Pure
// functions of the point and the frame's width and height, so the window only applies them.
#pragma once

#include <string>
#include <vector>

namespace lf::region
{

// What a press on the frame grabs: an edge or corner sizes the frame, the caption moves it.
enum class EHitArea
{
    TopLeft,
    Top,
    TopRight,
    Left,
    Caption,
    Right,
    BottomLeft,
    Bottom,
    BottomRight,
};

// The part of a frame of width x height under the point (x, y), taken from the frame's top-left corner.
EHitArea SelectionHitTest(int x, int y, int width, int height);

// A rectangle as a window region takes it: right and bottom lie just outside.
struct SRegionRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const SRegionRect&, const SRegionRect&) = default;
};

// What stays opaque of the frame: the 1-pixel outline, an ellipse (a circle) around the centre, and the
// four 5 x 5 corner squares. Everything else lets the screen show through and takes no mouse.
struct SRegionShape
{
    SRegionRect bounds;     // the outline is this rectangle less its interior inset by 1 pixel
    SRegionRect circle;     // the ellipse's bounding box
    SRegionRect corners[4]; // top-left, top-right, bottom-right, bottom-left
};
SRegionShape SelectionRegionShape(int width, int height);
// Whether the pixel (x, y) belongs to the shape.
bool InSelectionRegion(const SRegionShape& shape, int x, int y);

// The frame on the screen.
struct SFrameRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const SFrameRect&, const SFrameRect&) = default;
};
// The smallest frame a drag leaves: the corner squares and the centre mark keep apart.
inline constexpr int kMinSelectionSize = 40;
// The frame after a drag by (dx, dy) that started on the area: the caption moves it, an edge moves that
// edge only, a corner its two edges. An edge stops where the frame would get smaller than the minimum;
// the opposite edge stays put.
SFrameRect DragSelectionFrame(EHitArea area, const SFrameRect& start, int dx, int dy);

// The size hint above the frame: width, "x", height ("391x226").
std::string SelectionSizeText(int width, int height);

} // namespace lf::region
