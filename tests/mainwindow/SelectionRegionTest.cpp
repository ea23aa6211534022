// The screen-region frame's geometry: the hit-test table, the see-through shape, drags and the size text;
// the renumber prefix's key filter.
#include "mainwindow/rules/SelectionRegion.h"
#include "mainwindow/rules/PrefixKeys.h"

#include <gtest/gtest.h>

namespace
{

using lf::region::EHitArea;

struct HitCase
{
    const char* name;
    int x;
    int y;
    EHitArea area;
};

void PrintTo(const HitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SelectionHitTestTable : public testing::TestWithParam<HitCase>
{
};

// A frame of 391 x 226: the left column reaches 6 pixels in, the top row of the rest only 5, the right
// column and the bottom row 6 from the far edge.
TEST_P(SelectionHitTestTable, AnswersThePartUnderThePoint)
{
    const HitCase& c = GetParam();
    EXPECT_EQ(lf::region::SelectionHitTest(c.x, c.y, 391, 226), c.area);
}

INSTANTIATE_TEST_SUITE_P(Frame391x226, SelectionHitTestTable,
                         testing::Values(HitCase{"TopLeftCorner", 0, 0, EHitArea::TopLeft},
                                         HitCase{"TopLeftCornerInner", 6, 6, EHitArea::TopLeft},
                                         HitCase{"LeftColumnReachesRowSix", 6, 7, EHitArea::Left},
                                         HitCase{"BottomLeft", 3, 220, EHitArea::BottomLeft},
                                         HitCase{"BottomLeftUpper", 6, 219, EHitArea::Left},
                                         HitCase{"LeftEdge", 0, 100, EHitArea::Left},
                                         HitCase{"TopRight", 385, 5, EHitArea::TopRight},
                                         HitCase{"TopRowIsOnlyFiveDeepOnTheRight", 385, 6, EHitArea::Right},
                                         HitCase{"TopEdge", 7, 0, EHitArea::Top},
                                         HitCase{"TopEdgeDepth", 200, 5, EHitArea::Top},
                                         HitCase{"RowSixBelowTheTopIsCaption", 200, 6, EHitArea::Caption},
                                         HitCase{"BottomRight", 390, 225, EHitArea::BottomRight},
                                         HitCase{"BottomRightInner", 385, 220, EHitArea::BottomRight},
                                         HitCase{"BottomEdge", 200, 225, EHitArea::Bottom},
                                         HitCase{"BottomEdgeDepth", 200, 220, EHitArea::Bottom},
                                         HitCase{"RightEdge", 390, 100, EHitArea::Right},
                                         HitCase{"RightEdgeDepth", 385, 100, EHitArea::Right},
                                         HitCase{"JustInsideTheRightEdge", 384, 100, EHitArea::Caption},
                                         HitCase{"CentreMark", 195, 113, EHitArea::Caption}),
                         [](const testing::TestParamInfo<HitCase>& info) { return info.param.name; });

TEST(SelectionRegion, ShapeIsTheOutlineTheCentreCircleAndTheCornerSquares)
{
    const lf::region::SRegionShape shape = lf::region::SelectionRegionShape(391, 226);
    EXPECT_EQ(shape.circle, (lf::region::SRegionRect{186, 104, 206, 124}));
    EXPECT_EQ(shape.corners[0], (lf::region::SRegionRect{1, 1, 6, 6}));
    EXPECT_EQ(shape.corners[1], (lf::region::SRegionRect{385, 1, 390, 6}));
    EXPECT_EQ(shape.corners[2], (lf::region::SRegionRect{385, 220, 390, 225}));
    EXPECT_EQ(shape.corners[3], (lf::region::SRegionRect{1, 220, 6, 225}));

    const struct
    {
        int x, y;
        bool inside;
    } points[] = {
        {0, 0, true},      {390, 225, true},  {200, 0, true},  {0, 100, true},   {390, 100, true},
        {200, 225, true},  {3, 3, true},      {387, 3, true},  {387, 222, true}, {3, 222, true},
        {196, 114, true},  {1, 100, false},   {200, 1, false}, {6, 6, false},    {100, 60, false},
        {196, 103, false}, {391, 100, false}, {-1, 0, false},
    };
    for (const auto& p : points)
        EXPECT_EQ(lf::region::InSelectionRegion(shape, p.x, p.y), p.inside) << p.x << "," << p.y;
}

TEST(SelectionRegion, DragsMoveOrSizeTheFrame)
{
    using lf::region::DragSelectionFrame;
    using lf::region::SFrameRect;
    const SFrameRect start{100, 50, 391, 226};
    // The centre mark moves the frame; an edge changes only its own side; a corner both.
    EXPECT_EQ(DragSelectionFrame(EHitArea::Caption, start, 30, -20), (SFrameRect{130, 30, 391, 226}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::Right, start, 9, 40), (SFrameRect{100, 50, 400, 226}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::Left, start, 10, 40), (SFrameRect{110, 50, 381, 226}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::Top, start, 10, -10), (SFrameRect{100, 40, 391, 236}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::BottomRight, start, 9, 74), (SFrameRect{100, 50, 400, 300}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::TopLeft, start, -10, -10), (SFrameRect{90, 40, 401, 236}));
    // No edge passes the opposite one: the frame keeps its smallest size and the other edge stays.
    EXPECT_EQ(DragSelectionFrame(EHitArea::Right, start, -1000, 0), (SFrameRect{100, 50, 40, 226}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::Left, start, 1000, 0), (SFrameRect{451, 50, 40, 226}));
    EXPECT_EQ(DragSelectionFrame(EHitArea::Bottom, start, 0, -1000), (SFrameRect{100, 50, 391, 40}));
}

TEST(SelectionRegion, SizeTextIsWidthByHeight)
{
    EXPECT_EQ(lf::region::SelectionSizeText(391, 226), "391x226");
    EXPECT_EQ(lf::region::SelectionSizeText(400, 300), "400x300");
}

TEST(PrefixKeys, OnlyDigitsPointsAndEditingKeysPassUnlessTheRightCtrlIsDown)
{
    using lf::keys::PrefixKeyPasses;
    const struct
    {
        const char* what;
        char32_t typed;
        bool left, right, passes;
    } cases[] = {
        {"digit", U'7', false, false, true},
        {"point", U'.', false, false, true},
        {"letter", U'a', false, false, false},
        {"comma", U',', false, false, false},
        {"blank", U' ', false, false, false},
        {"non-ASCII digit", U'\u0663', false, false, false},
        {"Backspace", 8, false, false, true},
        {"Esc", 27, false, false, true},
        {"Enter", 13, false, false, true},
        {"Enter with left Ctrl", 13, true, false, false},
        {"Enter with both Ctrl keys", 13, true, true, true},
        {"Ctrl+V with left Ctrl", 22, true, false, false},
        {"Ctrl+V with right Ctrl", 22, false, true, true},
        {"letter with right Ctrl", U'a', false, true, true},
        {"Backspace with left Ctrl", 8, true, false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrefixKeyPasses(c.typed, c.left, c.right), c.passes) << c.what;
}

} // namespace
