// Layout of the score chart: the bar segments, the axes and the row names that must fit left of the plot.
#include "mainwindow/rules/ScoreChart.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

// Every character 10 pixels wide, bold ones 11, so fitting can be worked out by hand.
std::int32_t TenPerCharacter(const std::string& text, bool bold)
{
    std::int32_t characters = 0;
    for (unsigned char c : text)
        characters += (c & 0xC0) != 0x80 ? 1 : 0;
    return characters * (bold ? 11 : 10);
}

SScoreInfo Row(const std::string& name, std::int32_t correct, std::int32_t partly, std::int32_t incorrect,
               std::int32_t unanswered)
{
    SScoreInfo row;
    row.Name = name;
    row.Correct = correct;
    row.PartiallyCorrect = partly;
    row.Incorrect = incorrect;
    row.Unanswered = unanswered;
    return row;
}

struct SegmentText
{
    std::int32_t kind, percentage, left, right;
    friend bool operator==(const SegmentText&, const SegmentText&) = default;
};

std::vector<SegmentText> Segments(const std::vector<SOneBarInfo>& segments)
{
    std::vector<SegmentText> out;
    for (const SOneBarInfo& s : segments)
        out.push_back({s.kind, s.percentage, s.rect.left, s.rect.right});
    return out;
}

} // namespace

TEST(ScoreChart, OneCorrectAndTwoIncorrectFillTheWholeBar)
{
    const SScoreChartLayout chart = LayoutScoreChart({Row("Bio", 1, 0, 2, 0)}, TenPerCharacter, 14);
    EXPECT_EQ(chart.width, 670);
    EXPECT_EQ(chart.height, 110);
    EXPECT_EQ(chart.plot, (SChartRect{150, 30, 650, 70}));
    ASSERT_EQ(chart.rows.size(), 1u);
    const SScoreChartRow& row = chart.rows[0];
    EXPECT_EQ(Segments(row.segments),
              (std::vector<SegmentText>{{ssCorrect, 33, 151, 316}, {ssIncorrect, 66, 316, 645}}));
    for (const SOneBarInfo& s : row.segments)
    {
        EXPECT_EQ(s.rect.top, 38);
        EXPECT_EQ(s.rect.bottom, 62);
    }
    // The name ends 6 pixels left of the plot, centred on the row.
    EXPECT_EQ(row.labelX, 144 - 30);
    EXPECT_EQ(row.labelY, 30 + 20 - 7);
}

TEST(ScoreChart, SegmentsFollowTheCountsAndCloseAtTheFullBar)
{
    struct Case
    {
        SScoreInfo row;
        std::vector<SegmentText> expected;
    };
    const Case cases[] = {
        // 495 / 4 = 123 each; rounding leaves 2 pixels that the last segment takes.
        {Row("", 1, 1, 1, 1),
         {{ssCorrect, 25, 151, 274},
          {ssPartiallyCorrect, 25, 274, 397},
          {ssIncorrect, 25, 397, 520},
          {ssUnanswered, 25, 520, 645}}},
        {Row("", 0, 0, 0, 3), {{ssUnanswered, 100, 151, 645}}},
        // A count too small for one pixel gets no segment; the bar still ends at 100 %.
        {Row("", 1000, 0, 1, 0), {{ssCorrect, 99, 151, 645}}},
        {Row("", 0, 0, 0, 0), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Segments(LayoutScoreBar(c.row, 38, 62)), c.expected);
}

TEST(ScoreChart, AxesCarryTheirTicksAndPercentLabels)
{
    const SScoreChartLayout chart = LayoutScoreChart(
        {Row("a", 1, 0, 0, 0), Row("b", 0, 1, 0, 0), Row("Total", 1, 1, 0, 0)}, TenPerCharacter, 14);
    EXPECT_EQ(chart.height, 3 * 40 + 70);
    EXPECT_EQ(chart.xTicks, (std::vector<std::int32_t>{150, 249, 348, 447, 546, 645}));
    std::vector<std::string> labels;
    for (const auto& label : chart.xLabels)
        labels.push_back(label.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"0%", "20%", "40%", "60%", "80%", "100%"}));
    EXPECT_EQ(chart.yTicks, (std::vector<std::int32_t>{150, 110, 70, 30}));
    EXPECT_EQ(chart.rows[2].band.top, 2 * 40 + 30 + 8);
}

TEST(ScoreChart, LongNamesKeepTheirStartAndLastThreeCharacters)
{
    struct Case
    {
        std::string name;
        bool bold;
        std::string expected;
    };
    const Case cases[] = {
        {"Chapter 1", false, "Chapter 1"},
        {"12345678901234", false, "12345678901234"}, // 140 pixels fit
        // 20 characters need 200 pixels: cut to 8 + "..." + 3 = 14 characters, 140 pixels.
        {"abcdefghijklmnopqrst", false, "abcdefgh...rst"},
        // Bold is wider: 12 characters of 11 pixels.
        {"abcdefghijklmnopqrst", true, "abcdef...rst"},
        // Characters, not bytes, are removed.
        {"ÄÖÜäöüßÄÖÜäöüßÄÖÜäöü", false, "ÄÖÜäöüßÄ...äöü"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FitScoreRowName(c.name, c.bold, TenPerCharacter), c.expected) << c.name;
}

TEST(ScoreChart, NameThatNeverFitsStopsWhenNothingIsLeftToRemove)
{
    const auto huge = [](const std::string& text, bool)
    { return static_cast<std::int32_t>(text.size()) * 100; };
    EXPECT_EQ(FitScoreRowName("abcdef", false, huge), "...def");
    EXPECT_EQ(FitScoreRowName("ab", false, huge), "ab");
}
