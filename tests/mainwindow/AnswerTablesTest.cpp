#include "mainwindow/rules/AnswerTables.h"

#include "model/items/Datatypes_Kinds.h"
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/SystemServices.h"
#include "tests/model/ItemBuilder.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace lf;
using namespace lf::display;
using lf::test::Matching;
using lf::test::MultipleChoice;
using lf::test::ShortAnswer;

namespace
{

SAnswerBlockState State(EPhase phase, EQuestionStyle viewMode = EQuestionStyle::MultipleChoice)
{
    SAnswerBlockState state;
    state.phase = phase;
    state.viewMode = viewMode;
    return state;
}

std::string Plain(const RichContent& content)
{
    return RichPlainText(content);
}

// A view showing a question, as the answers are appended under it.
RichDocument QuestionView()
{
    RichDocument view(RichStyleSheet::Display());
    view.content.AddText("Which?", 0, 0, true);
    return view;
}

struct SDrawn
{
    RichDocument view = QuestionView();
    RichDocument editor;
    SAnswerBlock block;

    const RichTable& table() const
    {
        EXPECT_GE(block.tableItem, 0);
        return *view.content.items.at(static_cast<std::size_t>(block.tableItem)).table;
    }
    const std::string& tableName() const
    {
        return view.content.items.at(static_cast<std::size_t>(block.tableItem)).name;
    }
    std::vector<std::string> hints() const
    {
        std::vector<std::string> out;
        for (const auto& row : table().rows)
            out.push_back(row[0].hint);
        return out;
    }
    std::vector<int> pictures() const
    {
        std::vector<int> out;
        for (const auto& row : table().rows)
            out.push_back(row[0].content.items.at(0).imageIndex);
        return out;
    }
    std::vector<RichColor> colours() const
    {
        std::vector<RichColor> out;
        for (const auto& row : table().rows)
            out.push_back(row[1].color);
        return out;
    }
    std::vector<std::string> texts(int col) const
    {
        std::vector<std::string> out;
        for (const auto& row : table().rows)
            out.push_back(Plain(row[static_cast<std::size_t>(col)].content));
        return out;
    }
    // The paragraphs after the table (or after the question when there is none), as plain lines.
    std::vector<std::string> linesAfter(int item) const
    {
        std::vector<std::string> out;
        for (std::size_t i = static_cast<std::size_t>(item) + 1; i < view.content.items.size(); ++i)
        {
            const auto& it = view.content.items[i];
            if (it.newParagraph || out.empty())
                out.push_back(it.text);
            else
                out.back() += it.text;
        }
        return out;
    }
};

SDrawn Draw(CBaseItem& item, const SAnswerBlockState& state, bool replace = false)
{
    SDrawn d;
    d.block = RenderAnswerBlock(item, replace, &d.view, &d.editor, state);
    return d;
}

class AnswerTables : public testing::Test
{
protected:
    AnswerTables() : m_saved(RichTextHost())
    {
        RichTextHost().fieldFont = SRichFieldFont{"Arial", 12, 1, 0x000000, false, false, false, false};
        RichTextHost().requestPicture = nullptr;
    }
    ~AnswerTables() override { RichTextHost() = m_saved; }

private:
    SRichTextHost m_saved;
};

} // namespace

TEST_F(AnswerTables, OneAnswerQuestionInTestDrawsRoundLetteredRowsWithTheFirstHighlighted)
{
    auto item = MultipleChoice().answer("Paris", "1").answer("Rome", "0").answer("Oslo", "0").build();
    item->SetLetMultipleAnswers(0);
    const SDrawn d = Draw(*item, State(EPhase::Test));

    EXPECT_EQ(d.block.target, SAnswerBlock::ETarget::View);
    EXPECT_EQ(d.tableName(), "1");
    ASSERT_EQ(d.table().RowCount(), 3);
    EXPECT_EQ(d.table().ColCount(), 2);
    EXPECT_EQ(d.hints(), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(d.pictures(), (std::vector<int>{21, 22, 23}));
    EXPECT_EQ(d.texts(1), (std::vector<std::string>{"Paris", "Rome", "Oslo"}));
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kHighlightColor, kNoColor, kNoColor}));
    EXPECT_EQ(d.table().Cell(0, 0).color, kHighlightColor);
    EXPECT_EQ(d.block.highlightedRow, 0);
    EXPECT_EQ(d.table().Cell(0, 0).vAlign, RichCellVAlign::Center);
    // The heading goes under the question.
    EXPECT_EQ(d.linesAfter(0).at(1), "Answer(s):");
}

TEST_F(AnswerTables, AnswerTableHasTheLayoutOfTheDesign)
{
    const RichTable t = MakeAnswerTable(2, 3);
    EXPECT_EQ(t.bestWidth, -100);
    EXPECT_EQ(t.borderVSpacing, 5);
    EXPECT_EQ(t.borderHSpacing, 10);
    EXPECT_EQ(t.cellPadding, 4);
    EXPECT_EQ(t.borderWidth, 0);
    EXPECT_EQ(t.cellBorderWidth, 0);
    EXPECT_EQ(t.borderStyle, RichTableBorder::Color);
    EXPECT_EQ(t.cellBorderStyle, RichTableBorder::Color);
    EXPECT_EQ(t.Cell(1, 0).bestWidth, 20);
    EXPECT_EQ(t.Cell(1, 1).bestWidth, 0);
    EXPECT_EQ(t.Cell(1, 2).bestWidth, -25);
    const RichTable matching = MakeMatchingTable(2);
    EXPECT_EQ(matching.borderHSpacing, 10);
    EXPECT_EQ(matching.Cell(1, 0).bestWidth, 0);
    EXPECT_EQ(matching.Cell(1, 1).bestWidth, -50);
}

TEST_F(AnswerTables, SeveralAnswerQuestionShowsTheChosenRowTicked)
{
    auto item = MultipleChoice().answer("a", "0.5").answer("b", "0.5", "1").answer("c", "0").build();
    item->SetLetMultipleAnswers(1);
    const SDrawn d = Draw(*item, State(EPhase::Test));
    EXPECT_EQ(d.pictures(), (std::vector<int>{1, 12, 3}));
    // A chosen row in Test takes no colour; only row 0 is highlighted.
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kHighlightColor, kNoColor, kNoColor}));
}

TEST_F(AnswerTables, PicturesFromTheTenthRowOnAreUnlettered)
{
    struct SCase
    {
        int row, base;
        bool chosen;
        int picture;
    };
    for (const SCase c : {SCase{0, 0, false, 1},
                          {8, 0, false, 9},
                          {8, 0, true, 19},
                          {9, 0, false, 0},
                          {9, 0, true, 10},
                          {14, 20, false, 20},
                          {14, 20, true, 30},
                          {2, 20, true, 33}})
        EXPECT_EQ(AnswerPictureIndex(c.row, c.base, c.chosen), c.picture)
            << "row " << c.row << " base " << c.base;

    auto builder = MultipleChoice();
    for (int i = 0; i < 11; ++i)
        builder.answer("choice " + std::to_string(i), i == 10 ? "1" : "0", i == 10 ? "1" : "");
    auto item = builder.build();
    item->SetLetMultipleAnswers(0);
    const std::vector<int> pictures = Draw(*item, State(EPhase::Test)).pictures();
    EXPECT_EQ(pictures.at(8), 29);
    EXPECT_EQ(pictures.at(9), 20);
    EXPECT_EQ(pictures.at(10), 30);
}

TEST_F(AnswerTables, ReviewShowsFeedbackColumnColoursFeedbackAndVerdict)
{
    auto item = MultipleChoice()
                    .answer("w", "0")
                    .answer("x", "0.5", "1")
                    .feedbackOfLast("good pick")
                    .answer("y", "0.5")
                    .feedbackOfLast("not shown")
                    .answer("z", "0")
                    .build();
    item->SetFeedbackForAnyPartiallyCorrectResponse("Half of it.");
    const SDrawn d = Draw(*item, State(EPhase::Review));

    ASSERT_EQ(d.table().ColCount(), 3);
    EXPECT_EQ(d.table().Cell(0, 2).bestWidth, -25);
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kNoColor, kCorrectChosenColor, kCorrectColor, kNoColor}));
    EXPECT_EQ(d.table().Cell(1, 2).color, kCorrectChosenColor);
    EXPECT_EQ(d.texts(2), (std::vector<std::string>{"", "good pick", "", ""}));
    EXPECT_EQ(d.pictures(), (std::vector<int>{1, 12, 3, 4}));
    EXPECT_EQ(d.block.highlightedRow, -1);

    EXPECT_EQ(d.linesAfter(d.block.tableItem),
              (std::vector<std::string>{"", "Half of it.", "", "Partially correct"}));
    const SRichItem& verdict = d.view.content.items.back();
    const SRichParaStyle& style = d.view.styles.paraStyles.at(static_cast<std::size_t>(verdict.paraNo));
    EXPECT_EQ(verdict.styleNo, 0);
    EXPECT_EQ(style.backColor, 0x00FFFFu);
    EXPECT_EQ(style.borderColor, 0x00FFFFu);
    EXPECT_EQ(style.border, RichBorderStyle::Single);
    EXPECT_EQ(style.borderWidth, 10);
}

TEST_F(AnswerTables, VerdictColoursFollowTheResult)
{
    for (const auto& [result, text, colour] :
         {std::tuple{1, "Correct", 0x008000u}, std::tuple{2, "Partially correct", 0x00FFFFu},
          std::tuple{0, "Incorrect", 0x0000FFu}, std::tuple{-1, "Incorrect", 0x0000FFu}})
    {
        RichDocument doc(RichStyleSheet::Display());
        AddVerdictParagraph(doc, result);
        const SRichItem& item = doc.content.items.back();
        EXPECT_EQ(item.text, text);
        EXPECT_EQ(doc.styles.paraStyles.at(static_cast<std::size_t>(item.paraNo)).backColor, colour);
        // Drawing the verdict again reuses the style instead of growing the sheet without end.
        const int count = doc.styles.ParaStyleCount();
        AddVerdictParagraph(doc, result);
        EXPECT_EQ(doc.styles.ParaStyleCount(), count);
    }
}

TEST_F(AnswerTables, UnansweredReviewHasTwoColumnsAndNoVerdict)
{
    auto item = MultipleChoice().answer("x", "1").answer("y", "0").build();
    const SDrawn d = Draw(*item, State(EPhase::Review));
    EXPECT_EQ(d.table().ColCount(), 2);
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kCorrectColor, kNoColor}));
    EXPECT_EQ(d.block.tableItem, d.view.ItemCount() - 1);
}

TEST_F(AnswerTables, FlashNeverShowsAChoiceAsChosen)
{
    auto item = MultipleChoice().answer("x", "1", "1").answer("y", "0", "1").build();
    item->SetLetMultipleAnswers(1);
    SAnswerBlockState state = State(EPhase::Flash);
    EXPECT_EQ(Draw(*item, state).pictures(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Draw(*item, state).colours(), (std::vector<RichColor>{kNoColor, kNoColor}));

    state.hintShown = true;
    EXPECT_EQ(Draw(*item, state).colours(), (std::vector<RichColor>{kCorrectColor, kNoColor}));

    state.hintShown = false;
    state.flashAnswerRow = 1;
    EXPECT_EQ(Draw(*item, state).colours(), (std::vector<RichColor>{kNoColor, kWrongClickColor}));
}

TEST_F(AnswerTables, RowColourFollowsPhaseHintAndClick)
{
    struct SCase
    {
        EPhase phase;
        bool hint;
        int clicked, row;
        bool chosen, correct;
        RichColor colour;
    };
    const SCase cases[] = {
        {EPhase::Test, false, -1, 0, true, true, kNoColor},
        {EPhase::Test, false, -1, 0, false, true, kNoColor},
        {EPhase::Review, false, -1, 0, true, true, kCorrectChosenColor},
        {EPhase::Review, false, -1, 0, false, true, kCorrectColor},
        {EPhase::Review, false, -1, 0, true, false, kNoColor},
        {EPhase::Flash, true, -1, 0, true, true, kCorrectColor},
        {EPhase::Flash, true, 0, 0, false, false, kNoColor},
        {EPhase::Flash, false, 2, 2, false, true, kCorrectColor},
        {EPhase::Flash, false, 2, 2, false, false, kWrongClickColor},
        {EPhase::Flash, false, 2, 1, false, false, kNoColor},
    };
    for (const SCase& c : cases)
    {
        SAnswerBlockState state = State(c.phase);
        state.hintShown = c.hint;
        state.flashAnswerRow = c.clicked;
        EXPECT_EQ(AnswerRowColour(state, c.row, c.chosen, c.correct), c.colour)
            << "phase " << PhaseNumber(c.phase) << " hint " << c.hint << " row " << c.row << " chosen "
            << c.chosen;
    }
}

TEST_F(AnswerTables, ShuffledRowsKeepTheAnswerIndexInTheirHint)
{
    auto item = MultipleChoice().answer("a", "1").answer("b", "0").answer("c", "0").answer("d", "0").build();
    item->SetShuffle(1);
    std::set<std::vector<std::string>> orders;
    lf::sys::SeedRandom(7);
    for (int i = 0; i < 8; ++i)
    {
        const SDrawn d = Draw(*item, State(EPhase::Test));
        const std::vector<std::string> hints = d.hints();
        const std::vector<std::string> texts = d.texts(1);
        for (std::size_t r = 0; r < hints.size(); ++r)
            EXPECT_EQ(texts[r], std::string(1, static_cast<char>('a' + std::stoi(hints[r]))));
        orders.insert(hints);
    }
    EXPECT_GT(orders.size(), 1u);
    // Review keeps the item's order.
    EXPECT_EQ(Draw(*item, State(EPhase::Review)).hints(), (std::vector<std::string>{"0", "1", "2", "3"}));
}

TEST_F(AnswerTables, EmptyAnswersGetNoRowAndNoTableIsLeftEmpty)
{
    auto item = MultipleChoice().answer("", "0").answer("b", "1").answer("", "0").build();
    item->SetLetMultipleAnswers(0);
    const SDrawn d = Draw(*item, State(EPhase::Test));
    EXPECT_EQ(d.hints(), (std::vector<std::string>{"1"}));
    EXPECT_EQ(d.pictures(), (std::vector<int>{21}));

    auto blank = MultipleChoice().answer("", "1").answer("", "0").build();
    const SDrawn none = Draw(*blank, State(EPhase::Test));
    EXPECT_EQ(none.block.tableItem, -1);
    EXPECT_EQ(none.linesAfter(0), (std::vector<std::string>{"", "Answer(s):"}));
}

TEST_F(AnswerTables, FlashcardStylesShowTheOneCorrectAnswer)
{
    auto item = MultipleChoice().answer("no", "0").answer("", "1").answer("yes", "1").build();
    item->SetGeneralFeedback("Because.");
    SDrawn d = Draw(*item, State(EPhase::Test, EQuestionStyle::Flashcard), true);
    EXPECT_EQ(d.hints(), (std::vector<std::string>{"2"}));
    EXPECT_EQ(d.pictures(), (std::vector<int>{1}));
    EXPECT_EQ(d.block.tableItem, d.view.ItemCount() - 1);

    d = Draw(*item, State(EPhase::Review, EQuestionStyle::FlashcardPlus), true);
    EXPECT_EQ(d.linesAfter(d.block.tableItem), (std::vector<std::string>{"", "Explanation:", "Because."}));

    auto none = MultipleChoice().answer("no", "0").build();
    EXPECT_EQ(Draw(*none, State(EPhase::Test, EQuestionStyle::Flashcard)).block.tableItem, -1);
}

TEST_F(AnswerTables, APenaltyAnswerBeforeTheRightOneIsNeverShownOrEditedAsTheRightOne)
{
    auto item = MultipleChoice().answer("Rome", "-0.5").answer("Paris", "1").answer("Lyon", "0").build();
    for (const EQuestionStyle style : {EQuestionStyle::Flashcard, EQuestionStyle::FlashcardPlus})
    {
        for (const EPhase phase : {EPhase::Test, EPhase::Review, EPhase::Flash})
        {
            const SDrawn d = Draw(*item, State(phase, style), true);
            EXPECT_EQ(d.hints(), (std::vector<std::string>{"1"}))
                << "style " << static_cast<int>(style) << " phase " << static_cast<int>(phase);
            EXPECT_EQ(d.texts(1), (std::vector<std::string>{"Paris"}))
                << "style " << static_cast<int>(style) << " phase " << static_cast<int>(phase);
        }
    }
    // The Flashcard editor loads and stores the same answer.
    EXPECT_EQ(EditedFlashcardAnswer(*item), 1);
    EXPECT_EQ(DisplayedCorrectAnswer(*item), 1);

    // With a penalty and a wrong answer only, no answer is shown; the editor takes the first one, and
    // storing it makes it the right one.
    auto penaltyOnly = MultipleChoice().answer("Rome", "-0.5").answer("Lyon", "0").build();
    EXPECT_EQ(Draw(*penaltyOnly, State(EPhase::Test, EQuestionStyle::Flashcard), true).block.tableItem, -1);
    EXPECT_EQ(EditedFlashcardAnswer(*penaltyOnly), 0);
}

TEST_F(AnswerTables, APenaltyChoiceIsNotColouredAsCorrectInTheOtherStyles)
{
    auto item = MultipleChoice().answer("Rome", "-0.5", "1").answer("Paris", "1").build();
    EXPECT_EQ(Draw(*item, State(EPhase::Review)).colours(),
              (std::vector<RichColor>{kNoColor, kCorrectColor}));
    SAnswerBlockState flash = State(EPhase::Flash);
    flash.hintShown = true;
    EXPECT_EQ(Draw(*item, flash).colours(), (std::vector<RichColor>{kNoColor, kCorrectColor}));
    auto typed = ShortAnswer().answer("Rome", "-0.5").answer("Paris", "1").build();
    ASSERT_NE(FindCreditedAnswer(*typed), nullptr);
    EXPECT_EQ(FindCreditedAnswer(*typed)->AnswerText, "Paris");
}

TEST_F(AnswerTables, TrueFalseTableIsNamedTwoWithTrueFirst)
{
    auto item = lf::test::TrueFalse("0", "0");
    item->SetFeedbackForTheResponseFalse("Right, it is false.");
    SDrawn d = Draw(*item, State(EPhase::Test));
    EXPECT_EQ(d.tableName(), "2");
    EXPECT_EQ(d.texts(1), (std::vector<std::string>{"True", "False"}));
    EXPECT_EQ(d.hints(), (std::vector<std::string>{"1", "0"}));
    EXPECT_EQ(d.pictures(), (std::vector<int>{21, 32}));
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kHighlightColor, kNoColor}));

    d = Draw(*item, State(EPhase::Review));
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kNoColor, kCorrectChosenColor}));
    EXPECT_EQ(d.linesAfter(d.block.tableItem),
              (std::vector<std::string>{"", "Right, it is false.", "", "Correct"}));

    d = Draw(*item, State(EPhase::Flash));
    EXPECT_EQ(d.pictures(), (std::vector<int>{21, 22}));
}

TEST_F(AnswerTables, MatchingShowsNotSetTextsByPhase)
{
    auto item =
        Matching().answer("cat", "meow", "meow").answer("dog", "woof", "quack").answer("", "moo").build();
    SDrawn d = Draw(*item, State(EPhase::Test));
    EXPECT_EQ(d.tableName(), "1");
    EXPECT_EQ(d.texts(0), (std::vector<std::string>{"cat", "dog"}));
    EXPECT_EQ(d.texts(1), (std::vector<std::string>{"meow", kNotSetTest}));
    EXPECT_EQ(d.hints(), (std::vector<std::string>{"0", "1"}));
    EXPECT_TRUE(d.table().Cell(0, 0).content.items.at(0).IsText()); // no picture
    EXPECT_EQ(d.table().Cell(0, 1).bestWidth, -50);
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kHighlightColor, kNoColor}));

    d = Draw(*item, State(EPhase::Review));
    EXPECT_EQ(d.texts(1), (std::vector<std::string>{"meow", kNotSetReview}));
    EXPECT_EQ(d.colours(), (std::vector<RichColor>{kCorrectChosenColor, kNoColor}));
    EXPECT_EQ(d.view.content.items.back().text, "Partially correct");

    SAnswerBlockState flash = State(EPhase::Flash);
    EXPECT_EQ(Draw(*item, flash).texts(1), (std::vector<std::string>{"", ""}));
    flash.hintDelayForLearnMode = 5;
    EXPECT_EQ(Draw(*item, flash).texts(1), (std::vector<std::string>{"meow", "woof"}));
}

TEST_F(AnswerTables, MatchingWithoutSubQuestionsDrawsOnlyTheHeading)
{
    auto item = Matching().answer("", "meow", "meow").answer("", "woof").build();
    const SDrawn d = Draw(*item, State(EPhase::Review));
    EXPECT_EQ(d.block.tableItem, -1);
    EXPECT_EQ(d.linesAfter(0), (std::vector<std::string>{"", "Answer(s):"}));
}

TEST_F(AnswerTables, FlashAnswerLineShowsTheCreditedAnswerOfAnUnansweredCard)
{
    auto item =
        ShortAnswer().answer("", "1").answer("wrong", "0").answer("Mercury", "0.5").answer("Hg", "1").build();
    SAnswerBlockState flash = State(EPhase::Flash);
    flash.hintDelayForLearnMode = 10;
    SDrawn d = Draw(*item, flash, true);
    ASSERT_EQ(d.view.ItemCount(), 1);
    EXPECT_EQ(d.view.content.items[0].tag, kAnswerTag);
    EXPECT_EQ(d.view.content.items[0].text, "");

    // The first answer whose grade is neither empty nor "0", even when its text is empty, then one with text.
    auto second = ShortAnswer().answer("Mercury", "0.5").answer("Hg", "1").build();
    d = Draw(*second, flash, true);
    EXPECT_EQ(d.view.content.items.at(0).text, "Mercury");
    EXPECT_EQ(d.view.content.items.at(0).tag, kAnswerTag);
    EXPECT_EQ(d.block.tableItem, -1);

    flash.hintDelayForLearnMode = 0;
    EXPECT_EQ(Draw(*second, flash, true).view.content.items.at(0).text, "");

    auto numerical = lf::test::Numerical().value("", "0", "1").value("42", "1", "0.5").build();
    flash.hintDelayForLearnMode = 1;
    EXPECT_EQ(Draw(*numerical, flash, true).view.content.items.at(0).text, "42");
}

TEST_F(AnswerTables, ReviewAnswerLineShowsTypedAnswerMatchedFeedbackAndVerdict)
{
    auto item = ShortAnswer().answer("Paris", "1").feedbackOfLast("Well done.").typed("Paris").build();
    const SDrawn d = Draw(*item, State(EPhase::Review));
    const std::vector<std::string> lines = d.linesAfter(0);
    EXPECT_EQ(lines, (std::vector<std::string>{"", "Answer(s):", "Paris", "", "Well done.", "", "Correct"}));

    auto wrong = ShortAnswer().answer("Paris", "1").feedbackOfLast("Well done.").typed("Rome").build();
    EXPECT_EQ(Draw(*wrong, State(EPhase::Review), true).linesAfter(-1),
              (std::vector<std::string>{"Rome", "", "Incorrect"}));
}

TEST_F(AnswerTables, TestPhaseTypedAnswersGoToTheEditor)
{
    auto item = ShortAnswer().answer("Paris", "1").typed("Pari").build();
    SDrawn d = Draw(*item, State(EPhase::Test));
    EXPECT_EQ(d.block.target, SAnswerBlock::ETarget::Editor);
    EXPECT_TRUE(d.block.caretAtStart);
    ASSERT_EQ(d.editor.ItemCount(), 1);
    EXPECT_EQ(d.editor.content.items[0].text, "Pari");
    EXPECT_EQ(d.editor.content.items[0].tag, kAnswerTag);
    EXPECT_EQ(d.view.ItemCount(), 1); // the question stays as it was

    auto essay = std::make_unique<CEssayItem>();
    SCommonUserAnswerInfo info;
    info.UserAnswer = "My essay.";
    essay->SetCommonUserAnswerInfo(info);
    d = Draw(*essay, State(EPhase::Test));
    EXPECT_EQ(d.block.target, SAnswerBlock::ETarget::Editor);
    EXPECT_EQ(Plain(d.editor.content), "My essay.");

    d = Draw(*essay, State(EPhase::Review));
    EXPECT_EQ(d.linesAfter(0), (std::vector<std::string>{"", "Answer(s):", "My essay.", ""}));
    d = Draw(*essay, State(EPhase::Review), true);
    EXPECT_EQ(Plain(d.view.content), "My essay.");
    EXPECT_EQ(Draw(*essay, State(EPhase::Flash)).view.ItemCount(), 1);

    essay->SetCommonUserAnswerInfo({});
    EXPECT_EQ(Draw(*essay, State(EPhase::Review)).view.ItemCount(), 1);
}

TEST_F(AnswerTables, KindsWithoutAnswersDrawNothing)
{
    CDescriptionItem description;
    const SDrawn d = Draw(description, State(EPhase::Review));
    EXPECT_EQ(d.block.target, SAnswerBlock::ETarget::None);
    EXPECT_EQ(d.view.ItemCount(), 1);
}

TEST_F(AnswerTables, PrintRowsShadeCorrectAnswersOutsideTheTestPhase)
{
    for (const EPhase printPhase : {EPhase::Test, EPhase::Review, EPhase::Flash, EPhase::Edit})
    {
        RichDocument print(RichStyleSheet::Default());
        RichTable table = MakeAnswerTable(2, 2);
        ASSERT_TRUE(
            FillPrintAnswerRow(table, print.styles, printPhase, 0, 3, "right", false, true, 20, false, {}));
        ASSERT_TRUE(
            FillPrintAnswerRow(table, print.styles, printPhase, 1, 4, "wrong", true, false, 20, false, {}));
        EXPECT_FALSE(
            FillPrintAnswerRow(table, print.styles, printPhase, 1, 5, "", true, false, 20, false, {}));
        const RichColor shaded = printPhase == EPhase::Test ? kNoColor : kPrintCorrectColor;
        EXPECT_EQ(table.Cell(0, 0).color, shaded) << PhaseNumber(printPhase);
        EXPECT_EQ(table.Cell(0, 1).color, shaded) << PhaseNumber(printPhase);
        EXPECT_EQ(table.Cell(1, 1).color, kNoColor);
        EXPECT_EQ(table.Cell(0, 0).hint, "3");
        EXPECT_EQ(table.Cell(1, 0).content.items.at(0).imageIndex, 32);
        EXPECT_EQ(Plain(table.Cell(1, 1).content), "wrong");
    }
}

TEST_F(AnswerTables, AnswerTextsKeepTheirFormattingMappedIntoTheViewSheet)
{
    auto item = MultipleChoice().answer("plain <b>bold</b>", "1").build();
    const SDrawn d = Draw(*item, State(EPhase::Test));
    const RichContent& cell = d.table().Cell(0, 1).content;
    bool sawBold = false;
    for (const auto& it : cell.items)
    {
        ASSERT_TRUE(d.view.styles.HasTextStyle(it.styleNo));
        sawBold = sawBold ||
                  (it.text == "bold" && d.view.styles.textStyles[static_cast<std::size_t>(it.styleNo)].bold);
    }
    EXPECT_TRUE(sawBold);
}
