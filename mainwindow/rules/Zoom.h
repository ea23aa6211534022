// The zoom of the question view as View > Zoom shows it: the step in points above the 12-point base
// text, read as a percentage and chosen back from one.
#pragma once

// (step + 12) x 100 / 12, in whole percent: step 0 is 100%, step 6 is 150%.
int ZoomPercentOfStep(int step);
// percent x 12 / 100 - 12, in whole points: 110% gives 1.
int ZoomStepOfPercent(int percent);
// The preset a percentage ticks in the zoom dialog (50, 75, 100, 150 or 200, each taking one percent
// either side); 0 for a custom value.
int ZoomPresetOf(int percent);
