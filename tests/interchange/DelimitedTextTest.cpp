// Delimited text: the line splitters, the question rows (fields and spreadsheet columns), the field
// writers and the answer a line carries, the importers (a file as a spreadsheet program writes it, Quizlet,
// FlashCardExchange), the exporters with their names and failures, and the clipboard copies.
#include "interchange/DelimitedText.h"

#include "interchange/ExchangeFormats.h"
#include "model/collection/Bacup.h"
#include "model/storage/Datastorage.h"
#include "model/storage/XmlUtils.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/sys/Clipboard.h"
#include "tests/model/DatastorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

std::vector<std::string> Fields(const CStringArray& fields)
{
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < fields.GetSize(); ++i)
        out.push_back(fields[i]);
    return out;
}

CStringArray Array(const std::vector<std::string>& texts)
{
    CStringArray out;
    for (const std::string& text : texts)
        out.Add(text);
    return out;
}

using Strings = std::vector<std::string>;

TEST(DelimitedSplit, ParceCSVLineTable)
{
    struct Case
    {
        std::string line;
        std::string separator;
        bool ok;
        Strings fields;
    };
    const Case cases[] = {
        {"\"a\",second", ",", true, {"a", "second"}},
        {"\"\",b", ",", true, {"", "b"}},
        {"a,,b", ",", true, {"a", "", "b"}},
        {"a,b,", ",", true, {"a", "b"}},
        {",a", ",", true, {"", "a"}},
        {"\"x\"\"y\",z", ",", true, {"x\"y", "z"}},
        {"\"a,b\",c", ",", true, {"a,b", "c"}},
        {"a\"b,c", ",", true, {"a\"b", "c"}},
        {"\"\"", ",", true, {""}},
        {"\"a\" ,b", ",", true, {"a", "b"}}, // what stands before the separator is dropped
        {"\"a\"x", ",", true, {"a"}},        // one character after the quote: the line ends
        {"\"a\"xx", ",", false, {"a"}},      // text after the quote without a separator
        {"\"open,b", ",", true, {"open,b"}}, // never closed: runs to the end of the line
        {"", ",", true, {}},
        {"q\ta\tx", "\t", true, {"q", "a", "x"}},
        {"a::b:c", "::", true, {"a", "b:c"}},
        {"a,b", "", false, {}},
    };
    for (const Case& c : cases)
    {
        CStringArray fields;
        EXPECT_EQ(ParceCSVLine(c.line, c.separator, &fields), c.ok) << c.line;
        EXPECT_EQ(Fields(fields), c.fields) << c.line;
    }
    EXPECT_FALSE(ParceCSVLine("a", ",", nullptr));
    // A long line splits without recursion.
    std::string many;
    for (int i = 0; i < 50'000; ++i)
        many += "\"x\",";
    CStringArray fields;
    EXPECT_TRUE(ParceCSVLine(many, ",", &fields));
    EXPECT_EQ(fields.GetSize(), 50'000);
}

TEST(DelimitedSplit, ParceCSVLine2GoesOnOverLines)
{
    const CStringArray lines = Array({"1,\"x", "y", "z\",w", "next,row"});
    std::int32_t index = 0;
    CStringArray fields;
    ASSERT_TRUE(ParceCSVLine2(lines[0], lines, index, ",", &fields));
    EXPECT_EQ(Fields(fields), (Strings{"1", "x\r\ny\r\nz", "w"}));
    EXPECT_EQ(index, 2);
    fields.RemoveAll();
    ++index;
    ASSERT_TRUE(ParceCSVLine2(lines[index], lines, index, ",", &fields));
    EXPECT_EQ(Fields(fields), (Strings{"next", "row"}));

    // Never closed: the rest of the file. A field that starts with its line break keeps it, and a
    // doubled quote on a later line is one quote.
    const CStringArray open = Array({"\"a", "b\"\"c", "d"});
    index = 0;
    fields.RemoveAll();
    ASSERT_TRUE(ParceCSVLine2(open[0], open, index, ",", &fields));
    EXPECT_EQ(Fields(fields), (Strings{"a\r\nb\"c\r\nd"}));
    EXPECT_EQ(index, 2);
    const CStringArray leading = Array({"\"", "abc\",d"});
    index = 0;
    fields.RemoveAll();
    ASSERT_TRUE(ParceCSVLine2(leading[0], leading, index, ",", &fields));
    EXPECT_EQ(Fields(fields), (Strings{"\r\nabc", "d"}));
}

TEST(DelimitedSplit, SeparatorSplitAndTextLines)
{
    CStringArray pieces;
    ASSERT_TRUE(SplitTextBySeparator("a,b", &pieces, ","));
    EXPECT_EQ(Fields(pieces), (Strings{"a", "b"}));
    ASSERT_TRUE(SplitTextBySeparator("a::b", &pieces, "::"));
    EXPECT_EQ(Fields(pieces), (Strings{"a", "b"}));
    ASSERT_TRUE(SplitTextBySeparator("a,b,", &pieces, ","));
    EXPECT_EQ(Fields(pieces), (Strings{"a", "b", ""}));
    ASSERT_TRUE(SplitTextBySeparator("", &pieces, ","));
    EXPECT_EQ(Fields(pieces), (Strings{""}));

    EXPECT_EQ(Fields(SplitTextLines("a\r\nb\rc\nd\n")), (Strings{"a", "b", "c", "d"}));
    EXPECT_EQ(Fields(SplitTextLines("a\n\nb")), (Strings{"a", "", "b"}));
    EXPECT_EQ(Fields(SplitTextLines("a\r\n\r\n")), (Strings{"a", ""}));
    EXPECT_TRUE(Fields(SplitTextLines("")).empty());
}

class DelimitedRows : public ::testing::Test
{
protected:
    DelimitedRows()
    {
        book.Clear();
        book.SetQuestionStyle(env.prefs.GetViewMode());
        book.SetAuthorName(env.prefs.m_AuthorId);
    }

    static CStringArray Row15(const std::string& question, const std::string& chapter)
    {
        return Array({"2.1", question, "A1", "0", "A2", " 1 ", "A3", "yes", "A4", "1", "", "0", "column 12",
                      "the explanation", chapter});
    }

    BookEnvironment env;
    CItemsArray2 book;
};

TEST_F(DelimitedRows, FieldsMakeAMultipleChoiceQuestion)
{
    BookBuilder(book).multipleChoice("first", {"x"}, 0);
    EXPECT_EQ(AddQuestionFromFields(Array({"only one"}), &book, qtMultipleChoice, -1, false), nullptr);
    EXPECT_EQ(AddQuestionFromFields(Array({"q", "a"}), &book, 42, -1, false), nullptr);
    book.SetModified(false);

    CBaseItem* item =
        AddQuestionFromFields(Array({"Q?", "A!", "because", "x", "y"}), &book, qtMultipleChoice, 0, true);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(book.GetItem(0), item);
    EXPECT_TRUE(book.IsModified());
    auto* choice = static_cast<CMultipleChoiceItem*>(item);
    EXPECT_EQ(choice->GetQuestionText(), "Q?");
    EXPECT_EQ(choice->GetGeneralFeedback(), "because");
    EXPECT_EQ(choice->GetFormatQAXData(), 2);
    EXPECT_EQ(choice->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(choice->GetNumberAnswerType(), 0);
    EXPECT_EQ(choice->GetShuffle(), 1);
    EXPECT_EQ(choice->GetName(), "");
    EXPECT_EQ(choice->GetCategoryID(), 0);
    ASSERT_EQ(choice->GetAnswerCount(), 1);
    EXPECT_EQ(AnswerOf(choice, 0)->AnswerText, "A!");
    EXPECT_EQ(AnswerOf(choice, 0)->Correct, "1");
    EXPECT_EQ(AnswerOf(choice, 0)->ID, 0);
    // The undo entry takes the new question back.
    std::int32_t record = -1;
    bool refreshAll = false;
    ASSERT_TRUE(book.Undo(record, refreshAll));
    EXPECT_EQ(record, book.GetRecordIndex(item));

    CBaseItem* plain = AddQuestionFromFields(Array({"Q2", "A2"}), &book, qtMultipleChoice, -1, false);
    EXPECT_EQ(book.GetItem(book.GetCount() - 1), plain);
    EXPECT_EQ(plain->GetGeneralFeedback(), "");
}

TEST_F(DelimitedRows, SpreadsheetRowsWithChaptersFoundOrAddedOnce)
{
    CBaseItem* first =
        AddQuestionFromExcelRow(Row15("Negligence?", " Torts "), &book, qtMultipleChoice, -1, true);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetLayersStr(), "2.1");
    EXPECT_EQ(first->GetQuestionText(), "Negligence?");
    EXPECT_EQ(first->GetGeneralFeedback(), "the explanation");
    ASSERT_EQ(first->GetAnswerCount(), 5);
    const char* grades[] = {"0", "1", "0", "1", "0"};
    const char* texts[] = {"A1", "A2", "A3", "A4", ""};
    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ(AnswerOf(first, i)->ID, i);
        EXPECT_EQ(AnswerOf(first, i)->AnswerText, texts[i]);
        EXPECT_EQ(AnswerOf(first, i)->Correct, grades[i]);
    }
    CBaseItem* second = AddQuestionFromExcelRow(Row15("Duty?", "Torts"), &book, qtMultipleChoice, -1, false);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ChapterNames(book), (Strings{"Unfiled", "Torts"}));
    EXPECT_NE(first->GetCategoryID(), 0);
    EXPECT_EQ(second->GetCategoryID(), first->GetCategoryID());

    for (const char* unfiled : {" UNFILED ", "Unfiled", ""})
        EXPECT_EQ(
            AddQuestionFromExcelRow(Row15("q", unfiled), &book, qtMultipleChoice, -1, false)->GetCategoryID(),
            0);
    CStringArray fourteen = Row15("fourteen", "ignored");
    fourteen.RemoveAt(14);
    EXPECT_EQ(AddQuestionFromExcelRow(fourteen, &book, qtMultipleChoice, -1, false)->GetCategoryID(), 0);
    CStringArray thirteen = fourteen;
    thirteen.RemoveAt(13);
    const std::int32_t count = book.GetCount();
    EXPECT_EQ(AddQuestionFromExcelRow(thirteen, &book, qtMultipleChoice, -1, false), nullptr);
    EXPECT_EQ(book.GetCount(), count);
}

TEST(DelimitedFields, WritersQuoteAndFlattenAsTheirTargetsNeed)
{
    BookEnvironment env;
    lf::RichDocument view;
    struct Case
    {
        void (*write)(const std::string&, std::string&, const std::string&, bool, lf::RichDocument&);
        std::string separator;
        std::string text;
        std::string field;
    };
    const Case cases[] = {
        {AppendCSVField, ",", "plain", "plain"},
        {AppendCSVField, ",", "a, b", "\"a, b\""},
        {AppendCSVField, ",", "say \"hi\"", "\"say \"\"hi\"\"\""},
        {AppendCSVField, ",", "one\r\ntwo", "\"one\r\ntwo\""},
        {AppendCSVField, "\t", "a\tb", "a    b"},
        {AppendPlainField, ",", "one\r\ntwo, \"3\"", "one  two, \"3\""},
        {AppendPlainField, "\t", "a\tb", "a    b"},
        {AppendExcelField, "\t", "one\r\ntwo", "\"one\ntwo\""},
        {AppendExcelField, "\t", "a,b", "a,b"},
        {AppendExcelField, "\t", "a \"b\"", "\"a \"\"b\"\"\""},
        {AppendCSVField, ",", "", ""},
    };
    for (const Case& c : cases)
    {
        std::string line = "Q";
        c.write(c.text, line, c.separator, false, view);
        EXPECT_EQ(line, "Q" + c.separator + c.field) << c.text;
        line.clear();
        c.write(c.text, line, c.separator, true, view);
        EXPECT_EQ(line, c.field) << c.text;
    }
}

TEST(DelimitedFields, TheAnswerALineCarries)
{
    BookEnvironment env;
    struct Case
    {
        std::vector<std::pair<std::string, std::string>> answers; // text, grade
        std::string expected;
    };
    const Case cases[] = {
        {{{"wrong", "0"}, {"right", "1"}, {"also", "0.5"}}, "right"},
        {{{"wrong", "0"}, {"", "1"}, {"skip", "0"}, {"later", "0.5"}}, "later"},
        {{{"", "1"}, {"none", "0"}}, ""},
        {{{"blank grade", ""}}, "blank grade"},
        {{{"a", "0"}, {"b", "0"}}, ""},
    };
    for (const Case& c : cases)
    {
        CItemsArray2 book;
        book.Clear();
        BookBuilder(book).multipleChoice("q", {}, 0);
        CBaseItem* item = book.GetItem(0);
        for (const auto& [text, grade] : c.answers)
        {
            SAnswerItem answer;
            answer.AnswerText = text;
            answer.Correct = grade;
            item->AddAnswer(answer);
        }
        EXPECT_EQ(DelimitedAnswerText(item), c.expected);
    }
}

class DelimitedFiles : public ::testing::Test
{
protected:
    DelimitedFiles()
    {
        book.Clear();
        book.SetQuestionStyle(env.prefs.GetViewMode());
        book.SetAuthorName(env.prefs.m_AuthorId);
    }

    std::string Question(std::int32_t i) { return book.GetItem(i)->GetQuestionText(); }
    std::string Answer(std::int32_t i) { return AnswerOf(book.GetItem(i), 0)->AnswerText; }
    std::string Explanation(std::int32_t i) { return book.GetItem(i)->GetGeneralFeedback(); }

    BookEnvironment env;
    TempDir dir;
    lf::RichDocument view;
    SExchangeContext context{nullptr, nullptr, &view};
    CItemsArray2 book;
};

TEST_F(DelimitedFiles, ImportsACsvFileAsASpreadsheetProgramWritesIt)
{
    // Byte-order mark, CR LF, quoted commas, doubled quotes, line breaks inside quotes, a blank last line.
    ASSERT_TRUE(LoadDelimitedText(EDelimitedFormat::Csv, DataFile("interchange/spreadsheet.csv"), &book, ",",
                                  false, context));
    ASSERT_EQ(book.GetCount(), 4);
    EXPECT_EQ(Question(0), "Question"); // a header row is a row like any other
    EXPECT_EQ(Question(1), "Capital of France, the country?");
    EXPECT_EQ(Answer(1), "Paris");
    EXPECT_EQ(Explanation(1), "It has been since 987, \"roughly\"");
    EXPECT_EQ(Question(2), "Name the two\r\nnoble gases");
    EXPECT_EQ(Answer(2), "Helium\r\nNeon");
    EXPECT_EQ(Explanation(2), "");
    EXPECT_EQ(Question(3), "Plain question");
    EXPECT_EQ(Answer(3), "plain answer");
    EXPECT_TRUE(book.IsModified());
    // What the book's factory gives: chapter numbers counting on, IDs rising, the author.
    for (std::int32_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(book.GetItem(i)->GetLayersStr(), std::to_string(i + 1));
        EXPECT_EQ(book.GetItem(i)->GetOwnerStr(), "Tester");
        if (i > 0)
        {
            EXPECT_GT(book.GetItem(i)->GetID(), book.GetItem(i - 1)->GetID());
        }
    }
}

TEST_F(DelimitedFiles, QuizletAndFlashCardExchangeFiles)
{
    WriteFile(dir.file("cards.txt"), "term\tdefinition\nonly\n\"q\"x\tsecond\ncaf\xe9\tthe\x93quoted\x94\n");
    ASSERT_TRUE(
        LoadDelimitedText(EDelimitedFormat::QuizletText, dir.file("cards.txt"), &book, "\t", false, context));
    ASSERT_EQ(book.GetCount(), 3); // "only" has one field; the third line's quoted field ends early
    EXPECT_EQ(Answer(0), "definition");
    EXPECT_EQ(Question(1), "q");
    EXPECT_EQ(Answer(1), "second");
    EXPECT_EQ(Question(2), "caf\xC3\xA9"); // not UTF-8: read as Windows-1252
    EXPECT_EQ(Answer(2), "the\xE2\x80\x9Cquoted\xE2\x80\x9D");

    book.Clear();
    WriteFile(dir.file("cards.tsv"), "Q1\tA1 line1\r\nline2\nQ2\tA2\tX2\n");
    ASSERT_TRUE(LoadDelimitedText(EDelimitedFormat::FlashCardExchange, dir.file("cards.tsv"), &book, "\t",
                                  false, context));
    ASSERT_EQ(book.GetCount(), 2);
    EXPECT_EQ(Answer(0), "A1 line1\\r\\nline2");
    EXPECT_EQ(Explanation(1), "X2");
}

TEST_F(DelimitedFiles, ImportSuccessMeansSomeRowMadeAQuestion)
{
    WriteFile(dir.file("last-blank.csv"), "q,a\n\n");
    EXPECT_TRUE(
        LoadDelimitedText(EDelimitedFormat::Csv, dir.file("last-blank.csv"), &book, ",", false, context));
    WriteFile(dir.file("nothing.csv"), "one field\n\n");
    EXPECT_FALSE(
        LoadDelimitedText(EDelimitedFormat::Csv, dir.file("nothing.csv"), &book, ",", false, context));
    EXPECT_FALSE(
        LoadDelimitedText(EDelimitedFormat::Csv, dir.file("missing.csv"), &book, ",", false, context));
    EXPECT_EQ(book.GetCount(), 1);
    ASSERT_TRUE(
        LoadDelimitedText(EDelimitedFormat::Csv, dir.file("last-blank.csv"), &book, ",", true, context));
    EXPECT_EQ(book.GetCount(), 1); // emptied first
}

TEST_F(DelimitedFiles, ExportLinesNamesAndFailures)
{
    BookBuilder(book)
        .multipleChoice("Capital, of France?", {"Paris", "Rome"}, 0)
        .multipleChoice("Say \"hi\"", {"hi"}, 0)
        .trueFalse("not exported", true)
        .multipleChoice("trashed", {"x"}, 0)
        .trashed();
    book.GetItem(0)->SetGeneralFeedback("line one\r\nline two");

    ASSERT_TRUE(SaveDelimitedText(true, dir.file("out"), &book, ",", true, false, context));
    EXPECT_EQ(ReadFile(dir.file("out.csv")), "\"Capital, of France?\",Paris,\"line one\r\nline two\"\r\n"
                                             "\"Say \"\"hi\"\"\",hi,\r\n");
    ASSERT_TRUE(SaveDelimitedText(false, dir.file("out.TXT"), &book, "\t", false, false, context));
    EXPECT_EQ(ReadFile(dir.file("out.TXT")), "Capital, of France?\tParis\r\nSay \"hi\"\thi\r\n");
    ASSERT_TRUE(SaveDelimitedText(true, dir.file("out.dat"), &book, ",", false, false, context));
    EXPECT_TRUE(fs::exists(dir.file("out.dat.csv")));
    ASSERT_TRUE(SaveDelimitedText(true, dir.file("kept.dat"), &book, ",", false, true, context));
    EXPECT_TRUE(fs::exists(dir.file("kept.dat")));

    // Nothing to export, or a write that fails: false, and an old file stays whole.
    WriteFile(dir.file("old.csv"), "old");
    CItemsArray2 noChoice;
    noChoice.Clear();
    BookBuilder(noChoice).trueFalse("tf", true);
    EXPECT_FALSE(SaveDelimitedText(true, dir.file("old.csv"), &noChoice, ",", false, false, context));
    EXPECT_EQ(ReadFile(dir.file("old.csv")), "old");
    fs::create_directories(dir.path() / "busy.csv" / "inside");
    EXPECT_FALSE(SaveDelimitedText(true, dir.file("busy.csv"), &book, ",", false, false, context));
    EXPECT_FALSE(SaveDelimitedText(true, dir.file("no/folder/x.csv"), &book, ",", false, false, context));
    EXPECT_FALSE(SaveDelimitedText(true, "", &book, ",", false, false, context));
}

TEST_F(DelimitedFiles, ClipboardCopiesOfTheSelectedQuestions)
{
    lf::sys::MemoryClipboard clipboard;
    lf::sys::SetClipboard(&clipboard);
    BookBuilder(book)
        .multipleChoice("Sun?", {"star"}, 0)
        .multipleChoice("not selected", {"x"}, 0)
        .multipleChoice("Two\r\nlines", {"a \"b\""}, 0)
        .trueFalse("tf selected", true);
    book.GetItem(2)->SetGeneralFeedback("why");
    for (std::int32_t i : {0, 2, 3})
        book.GetItem(i)->SetStatus(qsSelected, true);
    book.SetCurrentMode(eamEditMode, false);
    book.SetActiveCategory(kAllCategoriesID, false);
    book.SetFilterQuestion(true);
    ASSERT_EQ(book.GetGridCount(), 4);

    ASSERT_TRUE(CopySelectionToClipboard(false, &book, "\t", false, context)); // Quizlet
    EXPECT_EQ(clipboard.Data(lf::sys::kClipboardText), "Sun?\tstar\r\nTwo  lines\ta \"b\"\r\n");
    ASSERT_TRUE(CopySelectionToClipboard(true, &book, "\t", true, context)); // spreadsheet with explanation
    EXPECT_EQ(clipboard.Data(lf::sys::kClipboardText),
              "Sun?\tstar\t\r\n\"Two\nlines\"\t\"a \"\"b\"\"\"\twhy\r\n");
    lf::sys::SetClipboard(nullptr);
}

// The book with every kind, read by the book reader, written in each layout: the bytes are pinned, one
// file per layout, so a change to any written byte shows.
class DelimitedPinned : public ::testing::Test, public StorageFixture
{
protected:
    void SetUp() override { ASSERT_TRUE(storage.OpenBook(DataFile("books/every-kind.lnf"))); }

    CItemsArray2& items() { return *storage.GetItemsPtr2(); }
    std::string Written(const std::string& name) { return ReadFile(dir.file(name)); }

    lf::RichDocument view;
    SExchangeContext context{nullptr, nullptr, &view};
};

TEST_F(DelimitedPinned, CsvFileWithExplanations)
{
    ASSERT_TRUE(SaveDelimitedText(true, dir.file("every-kind.csv"), &items(), ",", true, true, context));
    ExpectSameAsPinnedFile(Written("every-kind.csv"), "interchange/every-kind_ref.csv");
}

TEST_F(DelimitedPinned, PlainTextFileWithExplanations)
{
    ASSERT_TRUE(SaveDelimitedText(false, dir.file("every-kind.txt"), &items(), "\t", true, true, context));
    ExpectSameAsPinnedFile(Written("every-kind.txt"), "interchange/every-kind_ref.txt");
}

TEST_F(DelimitedPinned, SpreadsheetCopyOfEveryQuestion)
{
    lf::sys::MemoryClipboard clipboard;
    lf::sys::SetClipboard(&clipboard);
    for (std::int32_t i = 0; i < items().GetCount(); ++i)
        items().GetItem(i)->SetStatus(qsSelected, true);
    items().SetCurrentMode(eamEditMode, false);
    items().SetActiveCategory(kAllCategoriesID, false);
    items().SetFilterQuestion(true);
    const bool copied = CopySelectionToClipboard(true, &items(), "\t", true, context);
    lf::sys::SetClipboard(nullptr);
    ASSERT_TRUE(copied);
    ExpectSameAsPinnedFile(clipboard.Data(lf::sys::kClipboardText),
                           "interchange/every-kind-spreadsheet_ref.txt");
}

TEST(DelimitedStorage, EntryPointsThroughTheStorage)
{
    StorageFixture f;
    lf::RichDocument view;
    f.storage.SetRichViews(&view, nullptr);
    ASSERT_TRUE(f.storage.NewBook());
    WriteFile(f.dir.file("in.csv"), "q1,a1\nq2,a2,x2\n");
    EXPECT_FALSE(f.storage.LoadCSV(f.dir.file("in.csv"), f.storage.GetItemsPtr2(), ",", false));
    lf::InstallExchangeFormats();
    ASSERT_TRUE(f.storage.LoadCSV(f.dir.file("in.csv"), f.storage.GetItemsPtr2(), ",", false));
    EXPECT_EQ(f.storage.GetItemsPtr2()->GetCount(), 3);
    EXPECT_EQ(f.sinks.statusTexts.back(), "Book loaded.");
    ASSERT_TRUE(f.storage.SaveToTXT(f.dir.file("out.txt"), f.storage.GetItemsPtr2(), "\t", false));
    const std::string written = ReadFile(f.dir.file("out.txt"));
    EXPECT_NE(written.find("q2\ta2\r\n"), std::string::npos) << written;
    EXPECT_NE(f.storage.AddQuestionFromExcelRow(
                  Array({"1", "q", "a", "1", "", "", "", "", "", "", "", "", "", "x"}),
                  f.storage.GetItemsPtr2(), qtMultipleChoice, -1, true),
              nullptr);
    CDataStorage::SetExchangeFormats(nullptr);
}

} // namespace
