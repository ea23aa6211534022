// The printed questions as documents: which questions the settings choose, the order they print in, and
// each question's number, text, answers block and explanation by kind and print phase.
#include "mainwindow/rules/PrintDocument.h"
#include "mainwindow/rules/AnswerTables.h"
#include "model/formulas/Formulamanager.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "tests/model/BookBuilder.h"

#include <gtest/gtest.h>

#include <set>

namespace
{

using lf::RichDocument;
using lf::RichTable;
using lf::display::kPrintCorrectColor;
using lf::print::BuildPrintOrder;
using lf::print::CItemLayerSortArray;
using lf::print::SPrintSettings;
using lf::test::BookBuilder;
using lf::test::BookSession;

class PrintDocument : public ::testing::Test
{
protected:
    // Every active question of the book chosen, then the document of the print phase.
    RichDocument Print(EPhase phase, bool byLayers = false, bool presentation = false)
    {
        for (std::int32_t i = 0; i < session.items.GetCount(); ++i)
            session.items.GetItem(i)->SetStatus(qsPrint, true);
        CItemLayerSortArray order;
        BuildPrintOrder(session.items, phase, order);
        RichDocument view(lf::print::PrintStyleSheet());
        SPrintSettings settings;
        settings.printPhase = phase;
        settings.byLayers = byLayers;
        settings.presentation = presentation;
        EXPECT_TRUE(lf::print::BuildPrintDocument(view, order, settings, manager));
        return view;
    }
    static std::string Text(const RichDocument& doc) { return lf::RichPlainText(doc.content); }
    // Copies of the tables of the document, in order.
    static std::vector<RichTable> Tables(const RichDocument& doc)
    {
        std::vector<RichTable> tables;
        for (const auto& item : doc.content.items)
            if (item.IsTable())
                tables.push_back(*item.table);
        return tables;
    }
    static std::string CellText(const RichTable& table, int row, int col)
    {
        return lf::RichPlainText(table.Cell(row, col).content);
    }
    static bool Shaded(const RichTable& table, int row)
    {
        return table.Cell(row, 0).color == kPrintCorrectColor &&
               table.Cell(row, 1).color == kPrintCorrectColor;
    }

    BookSession session;
    BookBuilder book{session.items};
    CFormulaManager manager;
};

TEST_F(PrintDocument, TestSheetNumbersTheQuestionsAndGathersTheExplanationsAtTheEnd)
{
    book.chapter("One")
        .multipleChoice("First?", {"a", "b"}, 0)
        .explanation("Why one.")
        .multipleChoice("Second?", {"c", "d"}, 1)
        .explanation("Why two.")
        .essay("Third?")
        .explanation("Why three.");
    const RichDocument doc = Print(EPhase::Test);
    // The numbers stand on lines of their own in text style 1; no explanation follows a question, and the
    // essay asked for nothing prints no block.
    EXPECT_EQ(Text(doc), "1\r\nFirst?\r\n\ta\r\n\tb\r\n2\r\nSecond?\r\n\tc\r\n\td\r\n3\r\nThird?\r\n\r\n"
                         "Explanation:\r\n1\r\nWhy one.\r\n2\r\nWhy two.\r\n3\r\nWhy three.\r\n");
    for (const auto& item : doc.content.items)
        if (item.text == "1" || item.text == "2" || item.text == "3" || item.text == "Explanation:")
        {
            EXPECT_EQ(item.styleNo, 1) << item.text;
        }
    EXPECT_EQ(doc.styles.textStyles.at(1).size, lf::print::kPrintNumberSize);
    // A Test sheet shades nothing and marks no choice.
    for (const RichTable& table : Tables(doc))
        for (int row = 0; row < table.RowCount(); ++row)
            EXPECT_FALSE(Shaded(table, row));
}

TEST_F(PrintDocument, OtherSheetsPutTheExplanationUnderEachQuestion)
{
    book.multipleChoice("First?", {"a", "b"}, 0)
        .explanation("Why one.")
        .description("Read this.")
        .explanation("About it.");
    EXPECT_EQ(Text(Print(EPhase::Edit)),
              "1\r\nFirst?\r\n\ta\r\n\tb\r\nWhy one.\r\n2\r\nRead this.\r\n\r\nAbout it.\r\n");
    // Presentation mode spaces every block with empty paragraphs.
    EXPECT_EQ(Text(Print(EPhase::Edit, false, true)),
              "1\r\nFirst?\r\n\r\n\ta\r\n\tb\r\n\r\nWhy one.\r\n\r\n\r\n2\r\nRead this.\r\n\r\n\r\n\r\n"
              "About it.\r\n\r\n\r\n");
}

TEST_F(PrintDocument, LayerNumbersPrintTheChapterNumberTextsInTheirOrder)
{
    book.chapter("One")
        .multipleChoice("Late?", {"a"}, 0)
        .layer("2")
        .multipleChoice("Unnumbered?", {"a"}, 0)
        .layer("")
        .multipleChoice("Ten?", {"a"}, 0)
        .layer("1.10")
        .multipleChoice("Two?", {"a"}, 0)
        .layer("1.2");
    const std::string text = Text(Print(EPhase::Flash, true));
    // "1.2" before "1.10" (number by number), the empty number last and printed as nothing.
    EXPECT_EQ(text, "1.2\r\nTwo?\r\n\ta\r\n1.10\r\nTen?\r\n\ta\r\n2\r\nLate?\r\n\ta\r\n\r\n"
                    "Unnumbered?\r\n\ta\r\n");
}

TEST_F(PrintDocument, OrderTakesChosenActiveAnswerableQuestionsByChapterThenNumberKeepingBookOrder)
{
    book.chapter("Two").multipleChoice("B1", {"a"}, 0).layer("1");
    book.chapter("One")
        .multipleChoice("A1", {"a"}, 0)
        .layer("1")
        .multipleChoice("A2", {"a"}, 0)
        .layer("1")
        .multipleChoice("Trashed", {"a"}, 0)
        .trashed()
        .multipleChoice("NotChosen", {"a"}, 0);
    book.item(qtEmbedded, "Cloze");
    for (std::int32_t i = 0; i < session.items.GetCount(); ++i)
        session.items.GetItem(i)->SetStatus(qsPrint, session.items.GetItem(i)->GetName() != "NotChosen");
    const auto names = [&](EPhase phase)
    {
        CItemLayerSortArray order;
        BuildPrintOrder(session.items, phase, order);
        std::vector<std::string> out;
        for (const auto& entry : order)
            out.push_back(entry.item->GetName());
        return out;
    };
    // Chapter IDs: "Two" was made first; equal keys keep the book's order. Embedded answers print only
    // in the Edit phase.
    EXPECT_EQ(names(EPhase::Test), (std::vector<std::string>{"B1", "A1", "A2"}));
    EXPECT_EQ(names(EPhase::Edit), (std::vector<std::string>{"B1", "A1", "A2", "Cloze"}));
}

TEST_F(PrintDocument, TrueFalseFlashSheetShowsTheRightRowAndReviewShadesIt)
{
    book.trueFalse("Sky is blue?", true).answered(false);
    {
        const RichDocument doc = Print(EPhase::Flash);
        const auto tables = Tables(doc);
        ASSERT_EQ(tables.size(), 1u);
        ASSERT_EQ(tables[0].RowCount(), 1);
        EXPECT_EQ(CellText(tables[0], 0, 1), "True");
        EXPECT_TRUE(Shaded(tables[0], 0));
    }
    const RichDocument doc = Print(EPhase::Review);
    const auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0].RowCount(), 2);
    EXPECT_EQ(CellText(tables[0], 0, 1), "True");
    EXPECT_EQ(CellText(tables[0], 1, 1), "False");
    EXPECT_TRUE(Shaded(tables[0], 0));
    EXPECT_FALSE(Shaded(tables[0], 1));
    // The user's wrong choice "False" shows its chosen picture; "True" stays unchosen.
    EXPECT_EQ(tables[0].Cell(1, 0).content.items.at(0).imageIndex,
              lf::display::AnswerPictureIndex(1, lf::display::kCirclePictures, true));
    EXPECT_EQ(tables[0].Cell(0, 0).content.items.at(0).imageIndex,
              lf::display::AnswerPictureIndex(0, lf::display::kCirclePictures, false));
}

TEST_F(PrintDocument, MultipleChoiceFlashSheetPrintsOnlyCreditedAnswersShaded)
{
    book.multipleChoice("None right?", {"a", "b"}, -1).multipleChoice("Two right?", {"a", "b", "c"}, 0);
    SAnswerItem* third = lf::test::AnswerOf(book.last(), 2);
    third->Correct = "0.5";
    const RichDocument doc = Print(EPhase::Flash);
    // The question without a credited answer has its number and text and no block.
    EXPECT_EQ(Text(doc), "1\r\nNone right?\r\n2\r\nTwo right?\r\n\ta\r\n\tc\r\n");
    const auto tables = Tables(doc);
    ASSERT_EQ(tables.size(), 1u);
    ASSERT_EQ(tables[0].RowCount(), 2);
    EXPECT_TRUE(Shaded(tables[0], 0));
    EXPECT_TRUE(Shaded(tables[0], 1));
}

TEST_F(PrintDocument, MultipleChoiceReviewSheetMarksTheChoiceShadesTheRightAnswerAndShowsFeedback)
{
    book.multipleChoice("Pick?", {"a", "b"}, 0).answered(false);
    lf::test::AnswerOf(book.last(), 1)->Feedback = "Not b.";
    lf::test::AnswerOf(book.last(), 0)->Feedback = "Yes a.";
    const auto tables = Tables(Print(EPhase::Review));
    ASSERT_EQ(tables.size(), 1u);
    const RichTable& table = tables[0];
    ASSERT_EQ(table.ColCount(), 3); // the feedback column of an answered question
    EXPECT_TRUE(Shaded(table, 0));
    EXPECT_FALSE(Shaded(table, 1));
    EXPECT_EQ(CellText(table, 1, 2), "Not b."); // only the chosen answer's feedback
    EXPECT_EQ(CellText(table, 0, 2), "");
}

TEST_F(PrintDocument, UnansweredShortAnswerHasABoxOnTestAndReviewSheetsAndNothingOnFlashAndEdit)
{
    book.shortAnswer("Capital?", {{"Paris", "1"}});
    for (const EPhase phase : {EPhase::Flash, EPhase::Edit})
    {
        const RichDocument doc = Print(phase);
        EXPECT_TRUE(Tables(doc).empty()) << ToNumber(phase);
        EXPECT_EQ(Text(doc).find("Paris"), std::string::npos);
    }
    for (const EPhase phase : {EPhase::Test, EPhase::Review})
    {
        const auto tables = Tables(Print(phase));
        ASSERT_EQ(tables.size(), 1u) << ToNumber(phase);
        EXPECT_EQ(tables[0].RowCount(), 1);
        EXPECT_EQ(tables[0].ColCount(), 1);
        EXPECT_EQ(CellText(tables[0], 0, 0), "");
        EXPECT_EQ(tables[0].Cell(0, 0).color, lf::kNoColor);
    }
}

TEST_F(PrintDocument, AnsweredShortAnswerPrintsTheRightAnswerOrTheUsersShadedWhenRight)
{
    book.shortAnswer("Capital?", {{"Paris", "1"}}).typed("paris");
    EXPECT_EQ(CellText(Tables(Print(EPhase::Flash)).at(0), 0, 0), "Paris");
    EXPECT_EQ(CellText(Tables(Print(EPhase::Edit)).at(0), 0, 0), "Paris");
    const auto review = Tables(Print(EPhase::Review));
    EXPECT_EQ(CellText(review.at(0), 0, 0), "paris");
    EXPECT_EQ(review.at(0).Cell(0, 0).color, kPrintCorrectColor);
    EXPECT_EQ(Tables(Print(EPhase::Test)).at(0).Cell(0, 0).color, lf::kNoColor);
}

TEST_F(PrintDocument, MatchingSheetsPairSubQuestionsByPhase)
{
    book.matching("Capitals?", {{"France", "Paris"}, {"", "Rome"}, {"Spain", "Madrid"}});
    lf::test::AnswerOf(book.last(), 0)->UserAnswer = "Paris";
    lf::test::AnswerOf(book.last(), 2)->UserAnswer = "Rome";
    {
        // Flash: the sub-questions with their matches; a pair without a sub-question is left out.
        const auto tables = Tables(Print(EPhase::Flash));
        ASSERT_EQ(tables.size(), 1u);
        ASSERT_EQ(tables[0].RowCount(), 2);
        EXPECT_EQ(CellText(tables[0], 0, 0) + "=" + CellText(tables[0], 0, 1), "France=Paris");
        EXPECT_EQ(CellText(tables[0], 1, 0) + "=" + CellText(tables[0], 1, 1), "Spain=Madrid");
    }
    {
        // Edit: every pair that holds anything, an empty sub-question as "EMPTY".
        const auto tables = Tables(Print(EPhase::Edit));
        ASSERT_EQ(tables.at(0).RowCount(), 3);
        EXPECT_EQ(CellText(tables[0], 1, 0) + "=" + CellText(tables[0], 1, 1), "EMPTY=Rome");
    }
    {
        // Review: the user's choices, the right one shaded.
        const auto tables = Tables(Print(EPhase::Review));
        ASSERT_EQ(tables.at(0).RowCount(), 2);
        EXPECT_EQ(CellText(tables[0], 1, 1), "Rome");
        EXPECT_TRUE(Shaded(tables[0], 0));
        EXPECT_FALSE(Shaded(tables[0], 1));
    }
    // Test: each sub-question gets a match drawn from the shuffled list, not its own; the list is dealt
    // out without repeats. The pair without a sub-question prints nothing.
    std::set<std::string> dealt;
    bool anyOtherThanOwn = false;
    for (int run = 0; run < 20; ++run)
    {
        const auto tables = Tables(Print(EPhase::Test));
        ASSERT_EQ(tables.at(0).RowCount(), 2);
        std::set<std::string> rights;
        for (int row = 0; row < 2; ++row)
        {
            const std::string right = CellText(tables[0], row, 1);
            EXPECT_TRUE(right == "Paris" || right == "Rome" || right == "Madrid") << right;
            rights.insert(right);
            dealt.insert(right);
            const std::string own = CellText(tables[0], row, 0) == "France" ? "Paris" : "Madrid";
            anyOtherThanOwn = anyOtherThanOwn || right != own;
        }
        EXPECT_EQ(rights.size(), 2u);
    }
    EXPECT_TRUE(anyOtherThanOwn);
    EXPECT_EQ(dealt.size(), 3u);
}

TEST_F(PrintDocument, CalculatedQuestionPrintsItsDataSetValuesAndKeepsTheRow)
{
    auto made = std::make_unique<CCalculatedItem>();
    made->SetQuestionText("What is {x} + {y}?");
    SCalculatedAnswerItem answer;
    answer.AnswerFormula = "{x} + {y}";
    answer.Correct = "1";
    for (const auto& [name, values] :
         std::vector<std::pair<std::string, std::vector<std::string>>>{{"x", {"2", "5"}}, {"y", {"3", "7"}}})
    {
        SCalculatedVariableItem v;
        v.Name = name;
        v.MinValue = "1";
        v.MaxValue = "10";
        for (const auto& value : values)
            v.Values.Add(value);
        answer.Variables.Add(v);
    }
    made->AddCalculatedAnswer(answer);
    CCalculatedItem* item = made.get();
    book.add(std::move(made));

    const std::string test = Text(Print(EPhase::Test));
    const bool first = test.find("What is 2 + 3?") != std::string::npos;
    EXPECT_TRUE(first || test.find("What is 5 + 7?") != std::string::npos) << test;
    // The row drawn is recorded with the user's answer, and the Edit sheet prints the stored text.
    const std::string row = item->GetCommonUserAnswerInfo().UserAnswerAdditionalInfo;
    EXPECT_EQ(row, first ? "0" : "1");
    EXPECT_NE(Text(Print(EPhase::Edit)).find("What is {x} + {y}?"), std::string::npos);
    EXPECT_NE(Text(Print(EPhase::Edit)).find("{x} + {y}"), std::string::npos);
    // The Flash sheet prints the answer of the row it drew.
    const RichDocument flash = Print(EPhase::Flash);
    const std::string flashText = Text(flash);
    const bool flashFirst = flashText.find("What is 2 + 3?") != std::string::npos;
    EXPECT_EQ(item->GetCurrentDataset(), flashFirst ? 0 : 1);
    EXPECT_EQ(CellText(Tables(flash).at(0), 0, 0), flashFirst ? "5" : "12");
}

TEST_F(PrintDocument, AFailureWhileBuildingIsReportedAndLogged)
{
    book.multipleChoice("First?", {"a"}, 0);
    CItemLayerSortArray order;
    order.push_back({book.last(), 0, ""});
    order.push_back({nullptr, 0, ""});
    RichDocument view(lf::print::PrintStyleSheet());
    EXPECT_FALSE(lf::print::BuildPrintDocument(view, order, SPrintSettings{}, manager));
    EXPECT_NE(session.env.LogText().find("Tm_MainFrm::BuildPrintDocument - ERROR!"), std::string::npos);
}

// The chosen questions of a book of five, A marked, B answered right, C answered wrong, D unanswered, E in
// the Trash (answered right and marked), by the filter's position.
struct SFilterCase
{
    const char* name;
    int filter;
    const char* chosen;
};

void PrintTo(const SFilterCase& c, std::ostream* os)
{
    *os << c.name;
}

class PrintFilter : public ::testing::TestWithParam<SFilterCase>
{
};

TEST_P(PrintFilter, SetsThePrintBitOnExactlyTheChosenQuestions)
{
    BookSession session;
    BookBuilder(session.items)
        .chapter("One")
        .multipleChoice("A", {"a", "b"}, 0)
        .marked()
        .multipleChoice("B", {"a", "b"}, 0)
        .answered(true)
        .multipleChoice("C", {"a", "b"}, 0)
        .answered(false)
        .multipleChoice("D", {"a", "b"}, 0)
        .multipleChoice("E", {"a", "b"}, 0)
        .answered(true)
        .marked()
        .trashed();
    // A print bit left from before is cleared on the questions not chosen now.
    for (std::int32_t i = 0; i < session.items.GetCount(); ++i)
        session.items.GetItem(i)->SetStatus(qsPrint, true);
    const std::int32_t chapter = session.items.GetCategoryIDAt(session.items.GetOrAddCategoryByName("One"));
    const auto count = lf::print::MarkItemsForPrinting(session.items, {chapter}, GetParam().filter);
    std::string chosen;
    for (std::int32_t i = 0; i < session.items.GetCount(); ++i)
        if (session.items.GetItem(i)->TestStatus(qsPrint))
            chosen += session.items.GetItem(i)->GetName();
    EXPECT_EQ(chosen, GetParam().chosen);
    EXPECT_EQ(count.chosen, static_cast<int>(chosen.size()));
}

INSTANTIATE_TEST_SUITE_P(Filters, PrintFilter,
                         ::testing::Values(SFilterCase{"All", 0, "ABCD"}, SFilterCase{"Marked", 1, "A"},
                                           SFilterCase{"Selected", 2, "A"}, SFilterCase{"Correct", 3, "B"},
                                           SFilterCase{"Incorrect", 4, "C"}, SFilterCase{"Answered", 5, "BC"},
                                           SFilterCase{"Unanswered", 6, "AD"}, SFilterCase{"Unknown", 7, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PrintChoice, AnEmptyChoiceSaysWhetherTheFilterOrTheChaptersTookNothing)
{
    BookSession session;
    BookBuilder(session.items).chapter("One").multipleChoice("A", {"a"}, 0).chapter("Empty");
    const std::int32_t one = session.items.GetCategoryIDAt(session.items.GetOrAddCategoryByName("One"));
    const std::int32_t empty = session.items.GetCategoryIDAt(session.items.GetOrAddCategoryByName("Empty"));
    EXPECT_EQ(lf::print::EmptyChoiceMessage(lf::print::MarkItemsForPrinting(session.items, {one}, 1)),
              "Your filter was too strict. \n\n Change your filter, and then repeat your request.");
    EXPECT_EQ(lf::print::EmptyChoiceMessage(lf::print::MarkItemsForPrinting(session.items, {empty}, 0)),
              "There are no questions in that chapter.");
    EXPECT_EQ(lf::print::EmptyChoiceMessage(lf::print::MarkItemsForPrinting(session.items, {one, empty}, 0)),
              "");
}

TEST(JoinedTexts, PutTheMiddleCentredBetweenEmptyParagraphs)
{
    RichDocument joined;
    ASSERT_EQ(lf::ReadRichXml(JoinXMLTexts("A", "B", "mid"), joined), lf::RichXmlResult::Loaded);
    EXPECT_EQ(lf::RichPlainText(joined.content), "A\r\n\r\nmid\r\n\r\nB");
    const auto& middle = joined.content.items.at(2);
    EXPECT_EQ(middle.text, "mid");
    EXPECT_EQ(joined.styles.paraStyles.at(static_cast<std::size_t>(middle.paraNo)).align,
              lf::RichAlign::Center);
}

} // namespace
