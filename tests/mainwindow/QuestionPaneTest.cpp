#include "mainwindow/rules/QuestionPane.h"

#include "mainwindow/rules/AnswerTables.h"
#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes_Kinds.h"
#include "platform/sys/SystemServices.h"
#include "tests/model/ItemBuilder.h"

#include <gtest/gtest.h>

#include <memory>

using namespace lf::display;

namespace
{

// "What is {a} doubled?" with the data set a = 10, 11, 12, 13, 14.
std::unique_ptr<CCalculatedItem> Doubling()
{
    auto item = std::make_unique<CCalculatedItem>();
    item->SetQuestionText("What is {a} doubled?");
    SCalculatedAnswerItem answer;
    answer.AnswerFormula = "{a}*2";
    answer.Correct = "1";
    answer.FormulaParams.Tolerance = "0.01";
    answer.FormulaParams.ToleranceType = 1;
    answer.FormulaParams.CorrectAnswerLength = 0;
    SCalculatedVariableItem a;
    a.Name = "a";
    a.MinValue = "10";
    a.MaxValue = "15";
    for (const char* v : {"10", "11", "12", "13", "14"})
        a.Values.Add(v);
    answer.Variables.Add(a);
    item->AddCalculatedAnswer(answer);
    return item;
}

// The rows the program's generator will draw next from five rows, after seeding it.
std::vector<int> NextRows(std::uint32_t seed, int count)
{
    lf::sys::SeedRandom(seed);
    std::vector<int> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(lf::sys::Random(5));
    return rows;
}

std::string Shown(int row)
{
    return "What is " + std::to_string(10 + row) + " doubled?";
}

} // namespace

TEST(QuestionPane, CalculatedQuestionDrawsANewRowUntilAnsweredThenKeepsIt)
{
    // A seed whose first two draws differ, so a second showing visibly draws again.
    std::uint32_t seed = 1;
    while (NextRows(seed, 2)[0] == NextRows(seed, 2)[1])
        ++seed;
    const std::vector<int> rows = NextRows(seed, 3);
    lf::sys::SeedRandom(seed);

    auto item = Doubling();
    CFormulaManager manager;
    EXPECT_EQ(PrepareQuestionText(*item, EPhase::Test, true, manager), Shown(rows[0]));
    EXPECT_EQ(item->GetCommonUserAnswerInfo().UserAnswerAdditionalInfo, std::to_string(rows[0]));
    EXPECT_EQ(PrepareQuestionText(*item, EPhase::Test, true, manager), Shown(rows[1]));
    std::string result;
    ASSERT_TRUE(manager.Calculate(&result));
    EXPECT_EQ(std::stod(result), 2.0 * (10 + rows[1]));

    // Once the user has typed an answer, the row shown with it stays.
    SCommonUserAnswerInfo info = item->GetCommonUserAnswerInfo();
    info.UserAnswer = "22";
    item->SetCommonUserAnswerInfo(info);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(PrepareQuestionText(*item, EPhase::Review, true, manager), Shown(rows[1]));
}

TEST(QuestionPane, FlashDrawsANewRowOnEveryRebuildButNotOnTheReset)
{
    const std::vector<int> rows = NextRows(99, 2);
    lf::sys::SeedRandom(99);
    auto item = Doubling();
    CFormulaManager manager;
    EXPECT_EQ(PrepareQuestionText(*item, EPhase::Flash, true, manager), Shown(rows[0]));
    EXPECT_EQ(item->GetCurrentDataset(), rows[0]);
    EXPECT_TRUE(item->GetCommonUserAnswerInfo().UserAnswerAdditionalInfo.empty());
    // The reset after a hint shows the same values again.
    EXPECT_EQ(PrepareQuestionText(*item, EPhase::Flash, false, manager), Shown(rows[0]));
    EXPECT_EQ(PrepareQuestionText(*item, EPhase::Flash, true, manager), Shown(rows[1]));
}

TEST(QuestionPane, OtherQuestionTextsAreShownUnchanged)
{
    CFormulaManager manager;
    auto choice = lf::test::MultipleChoice().question("Is {a} set?").build();
    EXPECT_EQ(PrepareQuestionText(*choice, EPhase::Test, true, manager), "Is {a} set?");
    auto noBraces = Doubling();
    noBraces->SetQuestionText("Double it.");
    EXPECT_EQ(PrepareQuestionText(*noBraces, EPhase::Test, true, manager), "Double it.");
    EXPECT_TRUE(noBraces->GetCommonUserAnswerInfo().UserAnswerAdditionalInfo.empty());
}

TEST(QuestionPane, CaptionsNameTheViewAndTheKind)
{
    EXPECT_EQ(PaneCaption(EView::Question, "Multiple Choice"), "Question (Multiple Choice) : ");
    EXPECT_EQ(PaneCaption(EView::Answers, "True/False"), "Answers (True/False) : ");
    EXPECT_EQ(PaneCaption(EView::Explanation, "Essay"), "Explanation (Essay) : ");
    EXPECT_EQ(PaneCaption(EView::Intro, "Essay"), "");
    EXPECT_EQ(CounterText(0, 0), "0/0");
    EXPECT_EQ(ChapterLabel("Biology", 3), "Biology - 3");
    EXPECT_EQ(ChapterLabel("Biology", 0), "Biology");
}

TEST(QuestionPane, ReviewVerdictsWithTheirColours)
{
    auto right = lf::test::TrueFalse("1", "1");
    auto wrong = lf::test::TrueFalse("1", "0");
    auto partly = lf::test::Matching().answer("cat", "meow", "meow").answer("dog", "woof", "meow").build();
    auto unanswered = lf::test::MultipleChoice().answer("x", "1").build();
    CDescriptionItem description;
    struct SCase
    {
        CBaseItem* item;
        const char* text;
        lf::RichColor colour;
    };
    for (const SCase& c : {SCase{right.get(), "Correct", kVerdictBlue},
                           {wrong.get(), "Incorrect", kVerdictRed},
                           {partly.get(), "Partially correct", kVerdictRed},
                           {unanswered.get(), "", kWindowTextColour},
                           {&description, "", kWindowTextColour}})
    {
        const SVerdict v = ReviewVerdict(*c.item);
        EXPECT_EQ(v.text, c.text);
        EXPECT_EQ(v.colour, c.colour) << c.text;
    }
}

TEST(QuestionPane, ButtonsThroughAFiveQuestionSequenceByPhase)
{
    struct SCase
    {
        EPhase phase;
        int number;
        bool prev, next;
    };
    for (const SCase c : {SCase{EPhase::Test, 1, false, true},
                          {EPhase::Test, 3, true, true},
                          {EPhase::Test, 5, true, true},
                          {EPhase::Review, 5, true, true},
                          {EPhase::Flash, 5, true, true},
                          {EPhase::Edit, 4, true, true},
                          {EPhase::Edit, 5, true, false},
                          {EPhase::Edit, 1, false, true}})
    {
        SPaneButtonsInput in;
        in.phase = c.phase;
        in.number = c.number;
        in.count = 5;
        const SPaneButtons b = PaneButtons(in);
        EXPECT_EQ(b.prev, c.prev) << PhaseNumber(c.phase) << " " << c.number;
        EXPECT_EQ(b.next, c.next) << PhaseNumber(c.phase) << " " << c.number;
    }
}

TEST(QuestionPane, AnswerAndExplanationButtonsFollowStyleFormatAndKind)
{
    struct SCase
    {
        EPhase phase;
        EQuestionStyle style;
        int format, kind;
        bool list, typed, answer, explain;
    };
    const SCase cases[] = {
        {EPhase::Test, EQuestionStyle::MultipleChoice, 0, qtMultipleChoice, true, false, false, false},
        {EPhase::Test, EQuestionStyle::MultipleChoice, 0, qtShortAnswer, true, true, true, false},
        {EPhase::Test, EQuestionStyle::Moodle, 1, qtMultipleChoice, true, false, true, false},
        {EPhase::Test, EQuestionStyle::Moodle, 1, qtDescription, false, false, false, false},
        {EPhase::Review, EQuestionStyle::MultipleChoice, 0, qtShortAnswer, true, true, false, true},
        {EPhase::Review, EQuestionStyle::Flashcard, 0, qtMultipleChoice, true, false, true, false},
        {EPhase::Flash, EQuestionStyle::FlashcardPlus, 0, qtMultipleChoice, true, false, true, false},
        {EPhase::Flash, EQuestionStyle::Moodle, 1, qtEssay, true, true, false, true},
        {EPhase::Edit, EQuestionStyle::Flashcard, 0, qtMultipleChoice, true, false, true, false},
        {EPhase::Edit, EQuestionStyle::FlashcardPlus, 0, qtMultipleChoice, true, false, true, true},
    };
    for (const SCase& c : cases)
    {
        SPaneButtonsInput in{c.phase, c.style, c.format, c.kind, c.list, c.typed, 2, 5};
        const SPaneButtons b = PaneButtons(in);
        EXPECT_EQ(b.answer, c.answer)
            << "phase " << PhaseNumber(c.phase) << " style " << int(ToNumber(c.style)) << " kind " << c.kind;
        EXPECT_EQ(b.explain, c.explain)
            << "phase " << PhaseNumber(c.phase) << " style " << int(ToNumber(c.style)) << " kind " << c.kind;
    }
}

TEST(QuestionPane, FilterBarByPhase)
{
    SFilterBarLayout test, review, edit, none;
    ASSERT_TRUE(FilterBarLayout(EPhase::Test, test));
    ASSERT_TRUE(FilterBarLayout(EPhase::Flash, review));
    ASSERT_TRUE(FilterBarLayout(EPhase::Edit, edit));
    EXPECT_FALSE(FilterBarLayout(EPhase::None, none));
    EXPECT_EQ(std::pair(test.testStrLeft, test.categoryListLeft), std::pair(100, 205));
    EXPECT_EQ(std::pair(review.testStrLeft, review.categoryListLeft), std::pair(110, 215));
    EXPECT_EQ(std::pair(edit.testStrLeft, edit.categoryListLeft), std::pair(-11, 95));
    EXPECT_TRUE(edit.layerShown && edit.recordCategoryShown && edit.categoryListEnabled && !edit.filterShown);
    EXPECT_TRUE(test.chapterLabelShown && !test.categoryListEnabled && !test.layerShown);
}

TEST(QuestionPane, PictureParagraphIsCentredUnderTheText)
{
    lf::RichDocument view(lf::RichStyleSheet::Display());
    view.content.AddText("Look:", 0, 0, true);
    AddPictureParagraph(view, lf::SRichPicture{"bytes", "jpeg"});
    ASSERT_EQ(view.ItemCount(), 2);
    const lf::SRichItem& picture = view.content.items[1];
    EXPECT_EQ(picture.styleNo, lf::kRichStylePicture);
    EXPECT_TRUE(picture.newParagraph);
    EXPECT_EQ(view.styles.paraStyles.at(static_cast<std::size_t>(picture.paraNo)).name, "Centered");
}
