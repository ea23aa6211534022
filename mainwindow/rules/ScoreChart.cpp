#include "mainwindow/rules/ScoreChart.h"
#include "platform/sys/NumberText.h"

namespace
{

// Byte offsets at which the characters of a UTF-8 text start, plus the text's size at the end.
std::vector<std::size_t> CharacterStarts(const std::string& text)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
            starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

std::string PercentText(std::int32_t value)
{
    return lf::sys::NumberText(value) + "%";
}

std::int32_t CountOf(const SScoreInfo& row, std::int32_t kind)
{
    switch (kind)
    {
    case ssCorrect:
        return row.Correct;
    case ssPartiallyCorrect:
        return row.PartiallyCorrect;
    case ssIncorrect:
        return row.Incorrect;
    default:
        return row.Unanswered;
    }
}

} // namespace

std::string FitScoreRowName(const std::string& name, bool bold, const ChartTextWidth& width)
{
    std::string label = name;
    const std::vector<std::size_t> starts = CharacterStarts(name);
    const std::int32_t characters = static_cast<std::int32_t>(starts.size()) - 1;
    // Characters that may go: all but the last three.
    const std::int32_t removable = characters - 3;
    for (std::int32_t k = 1; width(label, bold) > ScoreChart::kMaxLabelWidth && k <= removable; ++k)
    {
        const std::size_t keepEnd = starts[static_cast<std::size_t>(removable - k)];
        const std::size_t tailStart = starts[static_cast<std::size_t>(removable)];
        label = name.substr(0, keepEnd) + "..." + name.substr(tailStart);
    }
    return label;
}

std::vector<SOneBarInfo> LayoutScoreBar(const SScoreInfo& row, std::int32_t bandTop, std::int32_t bandBottom)
{
    std::vector<SOneBarInfo> segments;
    // Sums in 64 bits: counts come from a book file and may be anything.
    const std::int64_t total =
        std::int64_t{row.Correct} + row.PartiallyCorrect + row.Incorrect + row.Unanswered;
    if (total <= 0)
        return segments;
    std::int32_t left = ScoreChart::kPlotLeft + 1;
    for (std::int32_t kind = ssCorrect; kind <= ssUnanswered; ++kind)
    {
        const std::int32_t count = CountOf(row, kind);
        if (count <= 0)
            continue;
        const auto length = static_cast<std::int32_t>(ScoreChart::kBarLength * std::int64_t{count} / total);
        if (length <= 0)
            continue;
        SOneBarInfo segment;
        segment.kind = kind;
        segment.percentage = static_cast<std::int32_t>(std::int64_t{count} * 100 / total);
        segment.rect = {left, bandTop, left + length, bandBottom};
        segments.push_back(segment);
        left += length;
    }
    const std::int32_t fullEnd = ScoreChart::kPlotLeft + ScoreChart::kBarLength;
    if (!segments.empty() && segments.back().rect.right != fullEnd)
        segments.back().rect.right = fullEnd;
    return segments;
}

SScoreChartLayout LayoutScoreChart(const std::vector<SScoreInfo>& rows, const ChartTextWidth& width,
                                   std::int32_t textHeight)
{
    using namespace ScoreChart;
    const auto n = static_cast<std::int32_t>(rows.size());
    SScoreChartLayout chart;
    chart.width = kWidth;
    chart.height = n * kRowPitch + 70;
    chart.plot = {kPlotLeft, kPlotTop, kPlotRight, n * kRowPitch + kPlotTop};
    const std::int32_t bottom = chart.plot.bottom;

    for (std::int32_t x = kPlotLeft; x <= kPlotRight; x += kGridStep)
    {
        chart.xTicks.push_back(x);
        chart.xLabels.push_back({x, PercentText((x - kPlotLeft) * 100 / kBarLength)});
    }
    for (std::int32_t y = bottom; y >= kPlotTop; y -= kRowPitch)
        chart.yTicks.push_back(y);

    for (std::int32_t i = 0; i < n; ++i)
    {
        const SScoreInfo& info = rows[static_cast<std::size_t>(i)];
        const std::int32_t top = i * kRowPitch + kPlotTop;
        SScoreChartRow row;
        row.bold = info.isCurrent != 0;
        row.label = FitScoreRowName(info.Name, row.bold, width);
        row.labelX = kPlotLeft - 6 - width(row.label, row.bold);
        row.labelY = top + kRowPitch / 2 - textHeight / 2;
        row.band = {kPlotLeft + 1, top + 8, kPlotLeft + kBarLength, top + 8 + kBarThickness};
        row.segments = LayoutScoreBar(info, row.band.top, row.band.bottom);
        chart.rows.push_back(std::move(row));
    }
    return chart;
}
