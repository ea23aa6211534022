#include "platform/qt/RichView.h"
#include "tests/platform/qt/RichTestDocs.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace lf;
using lf::qt::RichView;
using lf::qt::SRichHit;

namespace
{

class RichViewTest : public ::testing::Test
{
protected:
    void Show(RichDocument doc, QSize size = {520, 420})
    {
        view.Document() = std::move(doc);
        view.resize(size);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.Format();
    }

    // The viewport point at the centre of a document rectangle.
    QPoint Centre(const QRect& docRect) const
    {
        return docRect.center() -
               QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    }

    RichView view;
};

} // namespace

TEST_F(RichViewTest, ShowsEveryKindOfItemWithItsColours)
{
    Show(test::EveryKindDocument());
    const QImage shot = view.viewport()->grab().toImage();
    if (const char* folder = std::getenv("LF_SHOT_DIR"))
        shot.save(QString::fromUtf8(folder) + "/richview_every_kind.png");

    auto colourAt = [&](const QRect& docRect) { return shot.pixelColor(Centre(docRect)); };
    EXPECT_EQ(colourAt(view.ItemRect(4)), QColor(220, 0, 0)) << "picture";
    EXPECT_EQ(colourAt(view.ItemRect(5)), QColor(0, 0, 220)) << "hot picture";
    // Pictures at their display size, or their own size when none is given.
    EXPECT_EQ(view.ItemRect(4).width(), 60);
    EXPECT_GE(view.ItemRect(4).height(), 40);
    EXPECT_EQ(view.ItemRect(5).width(), 30);
    // Cell colours fill the cells; corners are clear of the text.
    const QRect coloured = view.CellRect(6, 1, 1);
    const QRect pink = view.CellRect(6, 2, 1);
    EXPECT_EQ(shot.pixelColor(Centre(coloured).x(), Centre(coloured).y() - coloured.height() / 2 + 2),
              QColor(0xFF, 0xC8, 0x00));
    EXPECT_EQ(shot.pixelColor(coloured.right() - 3, Centre(coloured).y()), QColor(0xFF, 0xC8, 0x00));
    EXPECT_EQ(shot.pixelColor(pink.right() - 3, Centre(pink).y()), QColor(0xCC, 0xCC, 0xFF));
    EXPECT_EQ(shot.pixelColor(Centre(view.CellRect(6, 0, 1))), QColor(255, 255, 255));
    // Rows stack downwards; the first column keeps its 40 pixels and the table takes the width of
    // the view.
    EXPECT_LT(view.CellRect(6, 0, 0).bottom(), view.CellRect(6, 1, 0).top());
    EXPECT_NEAR(view.CellRect(6, 0, 0).width(), 40, 1);
    EXPECT_GT(view.ItemRect(6).width(), view.viewport()->width() - 20);
    // The heading comes first, the closing line after the table.
    EXPECT_LT(view.ItemRect(0).bottom(), view.ItemRect(4).top());
    EXPECT_GT(view.ItemRect(7).top(), view.ItemRect(6).bottom());
}

TEST_F(RichViewTest, HitTestNamesItemContainerCellAndTag)
{
    Show(test::EveryKindDocument());
    struct Case
    {
        const char* what;
        QPoint at;
        SRichHit want;
    };
    const QRect cell = view.CellRect(6, 1, 1);
    const QRect firstColumn = view.CellRect(6, 2, 0);
    const Case cases[] = {
        {"centre of a cell", Centre(cell), {0, 6, 1, 1, "", false}},
        {"centre of a cell with a hint", Centre(firstColumn), {0, 6, 2, 0, "", false}},
        {"picture", Centre(view.ItemRect(4)), {4, -1, -1, -1, "", false}},
        {"hot picture", Centre(view.ItemRect(5)), {5, -1, -1, -1, "sound.mp3", true}},
        {"jump text", Centre(view.ItemRect(2)), {2, -1, -1, -1, "http://example.com/berlin", true}},
        {"heading", Centre(view.ItemRect(0)), {0, -1, -1, -1, "", false}},
        {"empty space right of the heading",
         QPoint(view.viewport()->width() - 5, Centre(view.ItemRect(0)).y()),
         {-1, -1, -1, -1, "", false}},
        {"empty space below the text",
         QPoint(30, view.viewport()->height() - 3),
         {-1, -1, -1, -1, "", false}},
    };
    for (const Case& c : cases)
    {
        const SRichHit hit = view.HitTest(c.at);
        EXPECT_EQ(hit.item, c.want.item) << c.what;
        EXPECT_EQ(hit.table, c.want.table) << c.what;
        EXPECT_EQ(hit.row, c.want.row) << c.what;
        EXPECT_EQ(hit.col, c.want.col) << c.what;
        EXPECT_EQ(hit.tag, c.want.tag) << c.what;
        EXPECT_EQ(hit.link, c.want.link) << c.what;
    }
}

TEST_F(RichViewTest, MouseReportsButtonsPositionsAndLinkJumps)
{
    Show(test::EveryKindDocument());
    QSignalSpy downs(&view, &RichView::RVMouseDown);
    QSignalSpy ups(&view, &RichView::RVMouseUp);
    QSignalSpy jumps(&view, &RichView::Jump);
    const QPoint link = Centre(view.ItemRect(2));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::ShiftModifier, link);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(downs[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(downs[0][2].toPoint(), link);
    ASSERT_EQ(ups.count(), 1);
    EXPECT_EQ(ups[0][2].toPoint(), link);
    ASSERT_EQ(jumps.count(), 1);
    EXPECT_EQ(jumps[0][0].toString(), "http://example.com/berlin");

    // Hints: a cell's hint, a link's target.
    auto tipAt = [&](QPoint at)
    {
        QToolTip::hideText();
        QHelpEvent help(QEvent::ToolTip, at, view.viewport()->mapToGlobal(at));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    EXPECT_TRUE(tipAt(Centre(view.ItemRect(0))).isEmpty());
    EXPECT_EQ(tipAt(Centre(view.CellRect(6, 2, 0))).toStdString(), "2");
    EXPECT_EQ(tipAt(link).toStdString(), "http://example.com/berlin");

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, Centre(view.ItemRect(4)));
    EXPECT_EQ(jumps.count(), 1) << "a plain picture is no link";
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, Centre(view.ItemRect(5)));
    ASSERT_EQ(jumps.count(), 2);
    EXPECT_EQ(jumps[1][0].toString(), "sound.mp3");

    // The hover look: the hand over a link, the arrow elsewhere.
    QTest::mouseMove(view.viewport(), link);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(view.extraSelections().size(), 1);
    QTest::mouseMove(view.viewport(), Centre(view.ItemRect(0)));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(view.extraSelections().isEmpty());
}

TEST_F(RichViewTest, ScrollFiguresMatchTheContentAndReachEveryCell)
{
    Show(test::LongTableDocument(60), {400, 200});
    ASSERT_TRUE(view.IsVScrollBarVisible());
    const int step = view.VSmallStep();
    const int overflow = view.DocumentHeight() - view.ClientHeight();
    ASSERT_GT(overflow, 0);
    EXPECT_GE(view.VScrollMax() * step, overflow);
    EXPECT_LT(view.VScrollMax() * step, overflow + step);

    for (const int row : {45, 59, 3})
    {
        const QRect cell = view.CellRect(1, row, 1);
        ASSERT_FALSE(cell.isEmpty()) << row;
        view.SetVScrollPos(cell.top() / step);
        const int windowTop = view.VScrollPos() * step;
        EXPECT_GE(cell.top(), windowTop) << row;
        EXPECT_LE(cell.bottom(), windowTop + view.ClientHeight()) << row;
        EXPECT_EQ(view.HitTest(Centre(cell)).row, row);
    }
    view.SetVScrollPos(10'000);
    EXPECT_EQ(view.VScrollPos(), view.VScrollMax());

    Show(test::LongTableDocument(2), {400, 200});
    EXPECT_FALSE(view.IsVScrollBarVisible());
    EXPECT_EQ(view.VScrollMax(), 0);
}

// Three redraws at step 3 draw every size at stored + 3; step 0 draws the stored sizes again.
TEST_F(RichViewTest, ZoomStepIsAppliedExactlyOnce)
{
    Show(test::EveryKindDocument());
    const RichStyleSheet stored = view.Document().styles;
    auto drawnSizesAre = [&](int step)
    {
        int runs = 0;
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
        {
            for (auto it = block.begin(); !it.atEnd(); ++it)
            {
                const QTextCharFormat format = it.fragment().charFormat();
                if (format.isImageFormat())
                    continue;
                const int no = format.intProperty(qt::richprop::TextStyle);
                if (format.fontPointSize() != stored.textStyles[no].size + step)
                    return false;
                ++runs;
            }
        }
        return runs > 5;
    };
    view.SetZoomStep(3);
    view.Format();
    view.Format();
    view.Format();
    EXPECT_TRUE(drawnSizesAre(3));
    EXPECT_EQ(view.Document().styles, stored);
    view.SetZoomStep(0);
    EXPECT_TRUE(drawnSizesAre(0));
}

TEST_F(RichViewTest, RepaintCellRedrawsOneCellFromTheModel)
{
    Show(test::EveryKindDocument());
    SRichCell& cell = view.Document().content.items[6].table->Cell(0, 1);
    cell.color = 0xCCCCFF;
    cell.content.Clear();
    cell.content.AddText("Hamburg, a port", 1, 0);
    view.RepaintCell(6, 0, 1);

    QTextCursor probe(view.document());
    probe.setPosition(
        view.document()->documentLayout()->hitTest(Centre(view.CellRect(6, 0, 1)), Qt::FuzzyHit));
    ASSERT_NE(probe.currentTable(), nullptr);
    const QTextTableCell drawn = probe.currentTable()->cellAt(0, 1);
    EXPECT_EQ(drawn.format().background().color(), QColor(0xFF, 0xCC, 0xCC));
    QTextCursor text = drawn.firstCursorPosition();
    text.setPosition(drawn.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    EXPECT_EQ(text.selectedText(), "Hamburg, a port");
    // Items after the table are still found where a full redraw puts them.
    const QRect after = view.ItemRect(7);
    EXPECT_EQ(view.HitTest(Centre(after)).item, 7);
    view.Format();
    EXPECT_EQ(view.ItemRect(7), after);
}

TEST_F(RichViewTest, BindsAnotherDocumentAndAnotherSheet)
{
    RichDocument outside = test::EveryKindDocument();
    Show(RichDocument(RichStyleSheet::Default()));
    view.Bind(&outside);
    EXPECT_EQ(&view.Document(), &outside);
    EXPECT_EQ(view.HitTest(Centre(view.ItemRect(2))).item, 2);

    RichStyleSheet big = outside.styles;
    big.ShiftFontSizes(10);
    view.UseStyleSheet(&big);
    QTextCursor probe(view.document());
    probe.setPosition(1);
    EXPECT_EQ(probe.charFormat().fontPointSize(), big.textStyles[1].size);
    view.Bind(nullptr);
    EXPECT_NE(&view.Document(), &outside);
}

TEST_F(RichViewTest, TablesTakeTheirWidthsAndAlignCellsVertically)
{
    RichDocument doc(RichStyleSheet::Default());
    RichTable table(1, 3);
    table.bestWidth = 300;
    table.borderWidth = 0;
    table.cellBorderWidth = 0;
    table.cellPadding = 0;
    table.borderHSpacing = 0;
    table.Cell(0, 0).content.AddPicture(test::SolidPng(20, 90, QColor(0, 0, 0)), 0, 0, 0, true);
    table.Cell(0, 0).bestWidth = 60; // pixels
    table.Cell(0, 1).content.AddText("middle", 0, 0);
    table.Cell(0, 1).vAlign = RichCellVAlign::Center;
    table.Cell(0, 1).bestWidth = -25; // percent of the table
    table.Cell(0, 2).content.AddText("bottom", 0, 0);
    table.Cell(0, 2).vAlign = RichCellVAlign::Bottom;
    doc.content.AddTable(std::move(table), "t", 0);
    Show(std::move(doc));

    EXPECT_NEAR(view.ItemRect(0).width(), 300, 1);
    EXPECT_NEAR(view.CellRect(0, 0, 0).width(), 60, 1);
    EXPECT_NEAR(view.CellRect(0, 0, 1).width(), 75, 1);
    const QRect row = view.CellRect(0, 0, 0);
    auto textRect = [&](const char* text)
    {
        const QTextCursor found = view.document()->find(QString::fromLatin1(text));
        return view.cursorRect(found);
    };
    EXPECT_NEAR(textRect("middle").center().y(), Centre(row).y(), 2);
    EXPECT_NEAR(textRect("bottom").bottom(), row.bottom() - view.verticalScrollBar()->value(), 2);
}
