// Geometry of the score chart: one horizontal bar per score row, split into correct, partially correct,
// incorrect and unanswered segments over a 0..100 % axis. Pure layout; the score report paints it.
#pragma once

#include "model/items/Records.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SChartRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t Width() const { return right - left; }
    std::int32_t Height() const { return bottom - top; }
    friend bool operator==(const SChartRect&, const SChartRect&) = default;
};

// Kinds of bar segment.
enum EScoreSegmentKind : std::int32_t
{
    ssCorrect = 1,
    ssPartiallyCorrect = 2,
    ssIncorrect = 3,
    ssUnanswered = 4,
};

// One segment of a bar: the share of the row's questions (count x 100 / total, truncated) and where it
// is drawn.
struct SOneBarInfo
{
    std::int32_t percentage = 0;
    SChartRect rect;
    std::int32_t kind = ssCorrect;
};

struct SScoreChartRow
{
    std::string label; // the row name, shortened to fit left of the plot area
    std::int32_t labelX = 0;
    std::int32_t labelY = 0; // top of the text
    bool bold = false;       // the chapter the chapter filter selects
    SChartRect band;         // where the bar may run
    std::vector<SOneBarInfo> segments;
};

struct SScoreChartAxisLabel
{
    std::int32_t x = 0; // the tick the label is centred on
    std::string text;
};

struct SScoreChartLayout
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    SChartRect plot;                  // the grey plot area
    std::vector<std::int32_t> xTicks; // x of the ticks under the bottom axis
    std::vector<SScoreChartAxisLabel> xLabels;
    std::vector<std::int32_t> yTicks; // y of the ticks left of the left axis
    std::vector<SScoreChartRow> rows;
};

// Fixed measures of the chart, in pixels.
namespace ScoreChart
{
constexpr std::int32_t kWidth = 670;
constexpr std::int32_t kPlotLeft = 150;
constexpr std::int32_t kPlotRight = 650;
constexpr std::int32_t kPlotTop = 30;
constexpr std::int32_t kRowPitch = 40;
constexpr std::int32_t kBarThickness = 24;
constexpr std::int32_t kGridStep = 99;
constexpr std::int32_t kBarLength = 5 * kGridStep; // 495: the bar of 100 %
constexpr std::int32_t kTickLength = 5;
// The widest row name: the name ends 6 pixels left of the plot and keeps 2 pixels of margin.
constexpr std::int32_t kMaxLabelWidth = kPlotLeft - 5 - 1 - 2;
} // namespace ScoreChart

// Measures a text in the chart's font (bold or not): width in pixels.
using ChartTextWidth = std::function<std::int32_t(const std::string& text, bool bold)>;

// The row name as it fits left of the plot: while it is wider than 142 pixels, characters just before its
// last three are replaced by "...", one more each time, until it fits or none is left to remove.
std::string FitScoreRowName(const std::string& name, bool bold, const ChartTextWidth& width);

// The segments of one row inside the band from left: each kind with a count above 0 gets the length
// 495 x count / total; the last segment is stretched to the bar's full end so rounding leaves no gap.
// Empty for a row whose counts are all 0.
std::vector<SOneBarInfo> LayoutScoreBar(const SScoreInfo& row, std::int32_t bandTop, std::int32_t bandBottom);

// The whole chart of the given rows; textHeight is the height of a line of the chart's font.
SScoreChartLayout LayoutScoreChart(const std::vector<SScoreInfo>& rows, const ChartTextWidth& width,
                                   std::int32_t textHeight);
