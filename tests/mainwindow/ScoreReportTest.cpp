// The score report as a document (sections, legend, table, date, the error page), the chart picture's
// pixels, and the score dialog's buttons by phase, mode and answers.
#include "mainwindow/dialogs/ScoreReport.h"

#include "model/collection/Itemsarray.h"
#include "tests/model/BookBuilder.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using lf::test::BookBuilder;

namespace
{

class ScoreReportTest : public ::testing::Test
{
protected:
    // Bio: 1 right, 2 wrong. Chem: 1 right, 1 unanswered.
    ScoreReportTest()
    {
        BookBuilder(items)
            .chapter("Bio")
            .multipleChoice("b1", {"a", "b"}, 0)
            .answered(true)
            .multipleChoice("b2", {"a", "b"}, 0)
            .answered(false)
            .multipleChoice("b3", {"a", "b"}, 0)
            .answered(false)
            .chapter("Chem")
            .multipleChoice("c1", {"a", "b"}, 0)
            .answered(true)
            .multipleChoice("c2", {"a", "b"}, 0);
        items.SetCurrentMode(EPhase::Test, false);
        items.SetActiveCategory(kAllCategoriesID, true);
    }

    std::int32_t ChapterID(const std::string& name) const
    {
        return items.GetCategoryIDAt(items.FindCategoryIndexByName(name));
    }

    lf::test::BookEnvironment env;
    CItemsArray2 items;
};

std::vector<const lf::SRichItem*> ItemsOfStyle(const lf::RichDocument& document, int styleNo)
{
    std::vector<const lf::SRichItem*> found;
    for (const lf::SRichItem& item : document.content.items)
    {
        if (item.styleNo == styleNo)
            found.push_back(&item);
    }
    return found;
}

std::string CellText(const lf::RichTable& table, int row, int col)
{
    const lf::RichContent& content = table.Cell(row, col).content;
    return content.Empty() ? std::string() : content.items.front().text;
}

// Each table row as "name c/p/i/u", the total row marked with "*" when its five cells are tinted.
std::vector<std::string> TableRows(const lf::RichTable& table)
{
    std::vector<std::string> rows;
    for (int r = 1; r < table.RowCount(); ++r)
    {
        std::string text = CellText(table, r, 0) + " " + CellText(table, r, 1) + "/" + CellText(table, r, 2) +
                           "/" + CellText(table, r, 3) + "/" + CellText(table, r, 4);
        bool tinted = true;
        for (int c = 0; c < 5; ++c)
            tinted = tinted && table.Cell(r, c).color == ScoreReport::kTotalRowColor;
        rows.push_back(text + (tinted ? " *" : ""));
    }
    return rows;
}

QImage PictureOf(const lf::SRichItem& item)
{
    QImage image;
    image.loadFromData(reinterpret_cast<const uchar*>(item.picture.data.data()),
                       static_cast<int>(item.picture.data.size()), "PNG");
    return image;
}

} // namespace

TEST_F(ScoreReportTest, AllChaptersGiveOneSectionWithTheTintedTotal)
{
    lf::RichDocument document;
    ASSERT_TRUE(BuildScoreReport(items, "/books/Biology.lnf", "05.03.2024", document));

    const auto& content = document.content.items;
    ASSERT_GE(content.size(), 4u);
    EXPECT_EQ(content[0].text, "Score Results");
    EXPECT_EQ(content[0].styleNo, ScoreReport::kHeading);
    EXPECT_EQ(content[0].paraNo, ScoreReport::kParaCentered);
    EXPECT_EQ(content[1].text, "Test name: Biology.lnf");
    EXPECT_EQ(content[1].styleNo, ScoreReport::kSubheading);
    EXPECT_EQ(document.styles.textStyles[ScoreReport::kHeading].size, 12);
    EXPECT_EQ(document.styles.textStyles[ScoreReport::kErrorText].name, "ErrorText");

    // The legend: the four squares, each followed by its word, on one line.
    std::vector<int> squares;
    std::vector<std::string> words;
    for (const lf::SRichItem* item : ItemsOfStyle(document, lf::kRichStyleHotspot))
    {
        squares.push_back(item->imageIndex);
        EXPECT_FALSE(item->newParagraph);
    }
    for (const lf::SRichItem* item : ItemsOfStyle(document, ScoreReport::kSubheading))
        words.push_back(item->text);
    EXPECT_EQ(squares, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(words, (std::vector<std::string>{"Test name: Biology.lnf", "Correct", "Part. correct",
                                               "Incorrect", "Unanswered"}));

    const auto pictures = ItemsOfStyle(document, lf::kRichStylePicture);
    const auto tables = ItemsOfStyle(document, lf::kRichStyleTable);
    ASSERT_EQ(pictures.size(), 1u);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(PictureOf(*pictures[0]).size(), QSize(670, 3 * 40 + 70));
    const lf::RichTable& table = *tables[0]->table;
    EXPECT_EQ(table.ColCount(), 5);
    EXPECT_EQ(table.bestWidth, 500);
    EXPECT_EQ(CellText(table, 0, 1), "Correct");
    EXPECT_EQ(CellText(table, 0, 4), "Unanswered");
    EXPECT_EQ(TableRows(table), (std::vector<std::string>{"Bio 1/0/2/0", "Chem 1/0/0/1", "Total 2/0/2/1 *"}));
    // The total row is the current one when the filter takes all chapters: its name stands out.
    EXPECT_EQ(table.Cell(3, 0).content.items.front().styleNo, ScoreReport::kSubheading);
    EXPECT_EQ(table.Cell(1, 0).content.items.front().styleNo, ScoreReport::kNormalText);

    EXPECT_EQ(content[content.size() - 2].text, "Date: ");
    EXPECT_EQ(content.back().text, "05.03.2024");
    EXPECT_EQ(content.back().paraNo, ScoreReport::kParaRight);
    EXPECT_FALSE(content.back().newParagraph);
}

TEST_F(ScoreReportTest, OneChapterAddsASecondSectionOverAllChapters)
{
    items.SetActiveCategory(ChapterID("Bio"), true);
    lf::RichDocument document;
    ASSERT_TRUE(BuildScoreReport(items, "Biology.lnf", "x", document));

    const auto pictures = ItemsOfStyle(document, lf::kRichStylePicture);
    const auto tables = ItemsOfStyle(document, lf::kRichStyleTable);
    ASSERT_EQ(pictures.size(), 2u);
    ASSERT_EQ(tables.size(), 2u);
    EXPECT_EQ(TableRows(*tables[0]->table), (std::vector<std::string>{"Bio 1/0/2/0"}));
    EXPECT_EQ(TableRows(*tables[1]->table),
              (std::vector<std::string>{"Bio 1/0/2/0", "Chem 1/0/0/1", "Total 2/0/2/1 *"}));
    EXPECT_EQ(PictureOf(*pictures[0]).height(), 110);
    EXPECT_EQ(PictureOf(*pictures[1]).height(), 3 * 40 + 70);
}

TEST_F(ScoreReportTest, BookWithoutCountedQuestionsGetsTheErrorPage)
{
    CItemsArray2 descriptions;
    BookBuilder(descriptions).description("Read this");
    descriptions.SetCurrentMode(EPhase::Test, false);
    descriptions.SetActiveCategory(kAllCategoriesID, true);
    lf::RichDocument document;
    EXPECT_FALSE(BuildScoreReport(descriptions, "a.lnf", "x", document));

    std::vector<std::string> lines;
    for (const lf::SRichItem& item : document.content.items)
    {
        EXPECT_EQ(item.styleNo, ScoreReport::kErrorText);
        lines.push_back(item.text);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"Error. Can't calculate the score, please contact support.",
                                               "", "Thanks."}));
}

TEST(ScoreChartPicture, BarsAreTwoToneWithTheirPercentInside)
{
    SScoreInfo row;
    row.Name = "Bio";
    row.Correct = 1;
    row.Incorrect = 2;
    const QImage chart = DrawScoreChart({row});
    ASSERT_EQ(chart.size(), QSize(670, 110));

    const auto rgb = [&](int x, int y) { return QColor(chart.pixel(x, y)).rgb() & 0xFFFFFF; };
    // Upper and lower halves of each segment (band 38..62, middle 50), away from the labels.
    EXPECT_EQ(rgb(152, 40), 0x00BB00u);
    EXPECT_EQ(rgb(152, 60), 0x00AA00u);
    EXPECT_EQ(rgb(318, 40), 0xCC0000u);
    EXPECT_EQ(rgb(644, 60), 0xBB0000u);
    // Past the bar's end and outside the band: the plot's grey; the axes black; the frame light grey.
    EXPECT_EQ(rgb(647, 50), 0xF7F7F7u);
    EXPECT_EQ(rgb(400, 35), 0xF7F7F7u);
    EXPECT_EQ(rgb(150, 50), 0x000000u);
    EXPECT_EQ(rgb(400, 70), 0x000000u);
    EXPECT_EQ(rgb(0, 0), 0xE0E0E0u);
    // The labels "33%" and "66%" are drawn in white (smoothed at the edges) inside their segments.
    const auto hasWhite = [&](int left, int right)
    {
        for (int x = left; x < right; ++x)
            for (int y = 38; y < 62; ++y)
            {
                const QColor c(chart.pixel(x, y));
                if (std::min({c.red(), c.green(), c.blue()}) > 128)
                    return true;
            }
        return false;
    };
    EXPECT_TRUE(hasWhite(151, 316));
    EXPECT_TRUE(hasWhite(316, 645));
}

TEST(ScoreChartPicture, SegmentNarrowerThanItsLabelShowsNoLabel)
{
    QImage image(100, 40, QImage::Format_ARGB32);
    image.fill(Qt::white);
    DrawBarSegment(image, SOneBarInfo{1, {10, 8, 14, 32}, ssIncorrect});
    for (int x = 10; x < 14; ++x)
    {
        EXPECT_EQ(QColor(image.pixel(x, 10)).rgb() & 0xFFFFFF, 0xCC0000u);
        EXPECT_EQ(QColor(image.pixel(x, 30)).rgb() & 0xFFFFFF, 0xBB0000u);
    }
}

TEST_F(ScoreReportTest, ButtonsFollowPhaseModeAndIncorrectAnswers)
{
    struct Case
    {
        EPhase phase;
        bool cycle, depth, noIncorrect, emptySequence;
        SScoreButtons expected;
    };
    const Case cases[] = {
        {EPhase::Test,
         false,
         false,
         false,
         false,
         {true, "Continue Test", "Review All", "Review Incorrect", true, true}},
        {EPhase::Review,
         false,
         false,
         false,
         false,
         {true, "Continue Review", "Flash All", "Flash Incorrect", true, true}},
        {EPhase::Flash, false, false, false, false, {true, "Continue Flash", "Test All", "", true, false}},
        {EPhase::Test, false, false, true, false, {true, "Continue Test", "Review All", "", true, false}},
        {EPhase::Test, false, true, false, false, {true, "Continue Test", "Review All", "", true, false}},
        {EPhase::Test, true, false, false, true, {true, "Continue Test", "Review All", "", false, false}},
        {EPhase::Test, true, false, false, false, {true, "Continue Test", "Review All", "", true, false}},
        {EPhase::Edit, false, false, false, false, {false, "", "", "", true, true}},
    };
    for (const Case& c : cases)
    {
        CItemsArray2 book;
        BookBuilder builder(book);
        builder.multipleChoice("q1", {"a", "b"}, 0).answered(true).multipleChoice("q2", {"a", "b"}, 0);
        if (!c.noIncorrect)
            builder.answered(false);
        book.SetCurrentMode(c.phase, false);
        book.SetActiveCategory(kAllCategoriesID, false);
        book.SetCycleMode(c.cycle);
        book.SetDepthMode(c.depth);
        book.SetCurrentView(c.emptySequence ? 1 : 0, true); // nothing is marked
        const SScoreButtons b = ScoreButtonsFor(book, c.phase);
        const std::string where = "phase " + std::to_string(PhaseNumber(c.phase));
        EXPECT_EQ(b.changed, c.expected.changed) << where;
        EXPECT_EQ(b.continueCaption, c.expected.continueCaption) << where;
        EXPECT_EQ(b.allCaption, c.expected.allCaption) << where;
        EXPECT_EQ(b.incorrectCaption, c.expected.incorrectCaption) << where;
        EXPECT_EQ(b.continueVisible, c.expected.continueVisible) << where;
        EXPECT_EQ(b.incorrectVisible, c.expected.incorrectVisible) << where;
    }
}
