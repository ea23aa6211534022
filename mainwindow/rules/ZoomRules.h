// The text zoom of the question view: the step in points drawn on top of every stored text size, its
// limits, and the percentage the Zoom window shows for it.
#pragma once

namespace lf::zoom
{

// The largest step; zooming out has no bound of its own but stops at the smallest text.
inline constexpr int kMaxZoomStep = 50;
// Zooming out is allowed while the smallest shown text is above 3 points.
inline constexpr int kSmallestZoomOutSize = 4;

bool CanZoomIn(int step);
// smallestShownSize: the smallest text size of the view as drawn (stored size plus step); -1 for a view
// without text styles, which cannot be zoomed out.
bool CanZoomOut(int smallestShownSize);
// A stored text size as drawn with the step: never below 1 point, whatever the step.
int ZoomedTextSize(int storedSize, int step);

// The Zoom window's percentage of a step (12 points being 100%), and the step of a percentage.
int ZoomPercentOfStep(int step);
int ZoomStepOfPercent(int percent);
// The preset a percentage ticks in the zoom dialog (50, 75, 100, 150 or 200, each taking one percent
// either side); 0 for a custom value.
int ZoomPresetOf(int percent);

} // namespace lf::zoom
