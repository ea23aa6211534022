// The single-question parser over documents built in code.
#include "tests/editing/parsers/PasteTestSupport.h"

#include <gtest/gtest.h>

using namespace lf::test;

namespace
{

std::vector<std::string> AnswerTexts(CBaseItem* item)
{
    std::vector<std::string> texts;
    for (int i = 0; i < item->GetAnswerCount(); ++i)
        texts.push_back(Plain(AnswerOf(item, i)->AnswerText));
    return texts;
}

TEST(QuestionParser, CapitalExampleMakesOneQuestionWithExplanation)
{
    ParserBook book;
    PasteBuilder paste;
    paste.line("12. What is the capital of France?")
        .line("a. Lyon")
        .bold("b. Paris")
        .empty()
        .line("Paris has been the capital since ...");
    const SParseResult r =
        ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters(true, 1)));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.made, 1);
    ASSERT_EQ(book.items.GetCount(), 1);
    CBaseItem* q = book.Item(0);
    EXPECT_EQ(q->GetLayersStr(), "12");
    EXPECT_EQ(Plain(q->GetQuestionText()), "What is the capital of France?");
    ASSERT_EQ(q->GetAnswerCount(), 2);
    EXPECT_EQ(Plain(AnswerOf(q, 0)->AnswerText), "Lyon");
    EXPECT_EQ(AnswerOf(q, 0)->Correct, "0");
    EXPECT_EQ(AnswerOf(q, 0)->ID, 1);
    EXPECT_EQ(Plain(AnswerOf(q, 1)->AnswerText), "Paris");
    EXPECT_EQ(AnswerOf(q, 1)->Correct, "1");
    EXPECT_EQ(AnswerOf(q, 1)->ID, 2);
    EXPECT_FALSE(AnyBold(AnswerOf(q, 1)->AnswerText));
    EXPECT_EQ(Plain(q->GetGeneralFeedback()), "Paris has been the capital since ...");
    EXPECT_EQ(book.items.GetBackupItem().GetCount(), 1);
    SItemInfo entry;
    ASSERT_TRUE(book.items.GetBackupItem().GetEntry(0, entry));
    EXPECT_EQ(entry.Action, ebatRecordAdded);
    EXPECT_EQ(entry.RecordIndex, book.items.GetRecordIndex(q));
}

TEST(QuestionParser, NumberOnItsOwnParagraphAndNoNumber)
{
    ParserBook book;
    PasteBuilder a;
    a.line("12.").line("What is it?").line("a. x").line("b. y");
    ASSERT_TRUE(ParseAndInsertQuestionFromClipboard(a.doc, nullptr, book.Context(Letters())).ok);
    EXPECT_EQ(book.Item(0)->GetLayersStr(), "12");
    EXPECT_EQ(Plain(book.Item(0)->GetQuestionText()), "What is it?");

    PasteBuilder b;
    b.line("What is 1.2.3?").line("a. x").line("b. y");
    ASSERT_TRUE(ParseAndInsertQuestionFromClipboard(b.doc, nullptr, book.Context(Letters())).ok);
    EXPECT_EQ(book.items.GetCount(), 2);
    CBaseItem* second = book.items.GetCurrentItem();
    EXPECT_EQ(second->GetLayersStr(), "");
    EXPECT_EQ(Plain(second->GetQuestionText()), "What is 1.2.3?");
}

struct SLabelCase
{
    const char* name;
    SParserOptions options;
    std::vector<std::string> lines;
    std::string question;
    std::vector<std::string> answers;
};

class QuestionParserLabels : public testing::TestWithParam<SLabelCase>
{
};

TEST_P(QuestionParserLabels, ReadsAnswers)
{
    ParserBook book;
    PasteBuilder paste;
    for (const std::string& line : GetParam().lines)
        paste.line(line);
    ASSERT_TRUE(ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(GetParam().options)).ok);
    CBaseItem* q = book.Item(0);
    EXPECT_EQ(Plain(q->GetQuestionText()), GetParam().question);
    EXPECT_EQ(AnswerTexts(q), GetParam().answers);
    for (int i = 0; i < q->GetAnswerCount(); ++i)
        EXPECT_EQ(AnswerOf(q, i)->ID, i + 1);
}

SParserOptions Digits(int format)
{
    SParserOptions o;
    o.numberingType = 0;
    o.numberingFormat = format;
    return o;
}

std::vector<std::string> Lettered(int count)
{
    std::vector<std::string> lines{"1. Many?"};
    for (int i = 0; i < count; ++i)
        lines.push_back(std::string(1, static_cast<char>('a' + i)) + ". " + std::to_string(i + 1));
    return lines;
}

std::vector<std::string> Numbers(int count)
{
    std::vector<std::string> answers;
    for (int i = 0; i < count; ++i)
        answers.push_back(std::to_string(i + 1));
    return answers;
}

using lf::test::PrintTo;
INSTANTIATE_TEST_SUITE_P(
    Cases, QuestionParserLabels,
    testing::Values(
        SLabelCase{"FirstParagraphWithLabelIsTheQuestion",
                   Letters(),
                   {"a. Which?", "a. one", "b. two"},
                   "a. Which?",
                   {"one", "two"}},
        SLabelCase{"LabelsOutOfOrderStayInTheQuestion",
                   Letters(),
                   {"1. Q?", "b. no", "a. one", "b. two"},
                   "Q?|b. no",
                   {"one", "two"}},
        SLabelCase{
            "CaseAndLeadingBlanks", Letters(), {"1. Q?", "   A. Paris", "B. Rome"}, "Q?", {"Paris", "Rome"}},
        SLabelCase{"LabelSpacing", Letters(), {"1. Q?", "a.Paris", "b.   Rome"}, "Q?", {"Paris", "Rome"}},
        SLabelCase{"DigitsInBrackets", Digits(2), {"7. Q?", "(1) one", "(2) two"}, "Q?", {"one", "two"}},
        SLabelCase{"DigitsWithBracket", Digits(1), {"7. Q?", "1) one", "2) two"}, "Q?", {"one", "two"}},
        SLabelCase{"TwentyFifthAnswerStaysInTheTwentyFourth", Letters(), Lettered(25), "Many?",
                   []
                   {
                       auto a = Numbers(24);
                       a.back() = "24|y. 25";
                       return a;
                   }()}));

TEST(QuestionParser, OnlyBoldLabelParagraphsAreRight)
{
    ParserBook book;
    PasteBuilder paste;
    paste.line("1. Q?").bold("a. one").line("b. two");
    ASSERT_TRUE(ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters())).ok);
    CBaseItem* q = book.Item(0);
    EXPECT_EQ(AnswerOf(q, 0)->Correct, "1");
    EXPECT_EQ(AnswerOf(q, 1)->Correct, "0");
    EXPECT_FALSE(AnyBold(AnswerOf(q, 0)->AnswerText));
}

TEST(QuestionParser, ExplanationSeparators)
{
    {
        // Separator 2 with one empty paragraph: no explanation, the last answer runs to the end.
        ParserBook book;
        PasteBuilder paste;
        paste.line("1. Q?").line("a. one").line("b. two").empty().line("more");
        ASSERT_TRUE(
            ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters(true, 2))).ok);
        EXPECT_EQ(Plain(AnswerOf(book.Item(0), 1)->AnswerText), "two||more");
        EXPECT_EQ(book.Item(0)->GetGeneralFeedback(), "");
    }
    {
        // Separator 0: the paragraph right after the last label starts the explanation.
        ParserBook book;
        PasteBuilder paste;
        paste.line("1. Q?").line("a. one").line("b. two").line("Because.");
        ASSERT_TRUE(
            ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters(true, 0))).ok);
        EXPECT_EQ(Plain(AnswerOf(book.Item(0), 1)->AnswerText), "two");
        EXPECT_EQ(Plain(book.Item(0)->GetGeneralFeedback()), "Because.");
    }
    {
        // Separator 2: the first empty paragraph stays in the answer.
        ParserBook book;
        PasteBuilder paste;
        paste.line("1. Q?").line("a. one").line("b. two").empty().line("still two").empty().line("Because.");
        ASSERT_TRUE(
            ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters(true, 2))).ok);
        EXPECT_EQ(Plain(AnswerOf(book.Item(0), 1)->AnswerText), "two||still two");
        EXPECT_EQ(Plain(book.Item(0)->GetGeneralFeedback()), "Because.");
    }
}

struct SFailureCase
{
    const char* name;
    SParserOptions options;
    std::vector<std::string> lines; // "" is an empty paragraph
    std::string logLine;            // empty: nothing logged
    int made;
};

class QuestionParserFailures : public testing::TestWithParam<SFailureCase>
{
};

TEST_P(QuestionParserFailures, FailWithTheirLogLine)
{
    ParserBook book;
    PasteBuilder paste;
    for (const std::string& line : GetParam().lines)
        line.empty() ? paste.empty() : paste.line(line);
    const SParseResult r =
        ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(GetParam().options));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.made, GetParam().made);
    EXPECT_EQ(book.items.GetCount(), GetParam().made);
    const std::string log = book.session.env.LogText();
    if (GetParam().logLine.empty())
        EXPECT_EQ(log.find("ParseAndInsertQuestionFromClipboard"), std::string::npos) << log;
    else
        EXPECT_NE(log.find(GetParam().logLine), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QuestionParserFailures,
    testing::Values(
        SFailureCase{"NoLabel", Letters(), {"1. Q?", "nothing"}, "", 0},
        SFailureCase{"EmptyDocument", Letters(), {}, "", 0},
        SFailureCase{"EmptyQuestion",
                     Letters(),
                     {"12.", "a. one"},
                     "Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - 1 (clear space or layer)",
                     0},
        SFailureCase{"EmptyAnswerBeforeALabel",
                     Letters(),
                     {"1. Q?", "a.", "b. two"},
                     "Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - 1 (clear space or layer)",
                     1},
        SFailureCase{"EmptyLastAnswer",
                     Letters(),
                     {"1. Q?", "a. one", "b."},
                     "Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - 5 (last answer)",
                     1},
        SFailureCase{"EmptyExplanation",
                     Letters(true, 1),
                     {"1. Q?", "a. one", "b. two", "", ""},
                     "Tm_MainFrm::ParseAndInsertQuestionFromClipboard() - 4 (feedback)",
                     1}));

TEST(QuestionParser, PartialQuestionStaysWithItsUndoEntry)
{
    ParserBook book;
    PasteBuilder paste;
    paste.line("1. Q?").line("a. one").line("b.");
    const SParseResult r = ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters()));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.Touched());
    ASSERT_EQ(book.items.GetCount(), 1);
    EXPECT_EQ(AnswerTexts(book.Item(0)), std::vector<std::string>{"one"});
    EXPECT_EQ(book.items.GetBackupItem().GetCount(), 1);
}

TEST(QuestionParser, CallersItemIsFilledAndNothingEntersTheBook)
{
    ParserBook book;
    std::unique_ptr<CBaseItem> scratch = book.items.CreateItem(qtMultipleChoice, false);
    PasteBuilder paste;
    paste.line("3. Q?").line("a. one").line("b. two");
    const SParseResult r =
        ParseAndInsertQuestionFromClipboard(paste.doc, scratch.get(), book.Context(Letters()));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.made, 0);
    EXPECT_EQ(book.items.GetCount(), 0);
    EXPECT_EQ(book.items.GetBackupItem().GetCount(), 0);
    EXPECT_EQ(scratch->GetLayersStr(), "3");
    EXPECT_EQ(AnswerTexts(scratch.get()), (std::vector<std::string>{"one", "two"}));
}

TEST(QuestionParser, NewQuestionGoesAfterTheCurrentOneInTheActiveChapter)
{
    ParserBook book;
    BookBuilder(book.items).chapter("Bio").multipleChoice("first", {"a"}, 0).multipleChoice("last", {"a"}, 0);
    book.items.SetCurrentMode(eamEditMode, true);
    book.items.First();
    PasteBuilder paste;
    paste.line("1. Q?").line("a. one");
    ASSERT_TRUE(ParseAndInsertQuestionFromClipboard(paste.doc, nullptr, book.Context(Letters())).ok);
    ASSERT_EQ(book.items.GetCount(), 3);
    EXPECT_EQ(Plain(book.Item(1)->GetQuestionText()), "Q?");
    EXPECT_EQ(book.items.GetCurrentItem(), book.Item(1));
    EXPECT_EQ(book.Item(1)->GetCategoryID(), 0); // all chapters shown: chapter 0
}

} // namespace
