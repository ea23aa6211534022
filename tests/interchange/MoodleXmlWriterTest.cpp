// The quiz writer: file names, layout, each kind's elements in order, grades as percentages, units and
// data sets, skipped questions, pictures beside the file, failed writes that keep the old file; and a
// round trip of every kind through the writer and the reader.
#include "tests/interchange/MoodleXmlTestSupport.h"

#include "interchange/ExchangeFormats.h"
#include "model/storage/Datastorage.h"
#include "platform/richtext/RichXml.h"
#include "tests/model/DatastorageTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

// The names of a question element's children, in order.
std::vector<std::string> ChildNames(pugi::xml_node node)
{
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children())
        names.push_back(child.name());
    return names;
}

std::string Text(pugi::xml_node node)
{
    return node.first_child().value();
}

struct WrittenQuiz
{
    pugi::xml_document doc;
    pugi::xml_node Question(int i)
    {
        pugi::xml_node q = doc.child("quiz").child("question");
        while (i-- > 0)
            q = q.next_sibling("question");
        return q;
    }
};

class MoodleWriter : public ::testing::Test
{
protected:
    // Writes the book to name (in the scratch folder) and parses the result.
    bool Write(const std::string& name, WrittenQuiz& out, bool keepName = false)
    {
        if (!SaveMooldeXML(f.dir.file(name), f.book.get(), keepName, f.Context()))
            return false;
        std::string written = f.dir.file(name);
        if (!fs::exists(written))
            written += ".xml";
        return static_cast<bool>(out.doc.load_file(written.c_str()));
    }

    QuizFixture f;
};

TEST_F(MoodleWriter, NamesPicturesAfterTheFileAndPutsThemBesideIt)
{
    BookBuilder(*f.book).multipleChoice(StoredTextWithPicture("Look", "PNGDATA"), {"a"}, 0);
    struct Case
    {
        const char* name;
        const char* written;
        const char* picture;
    };
    const Case cases[] = {{"Week1", "Week1.xml", "Week1_1.png"},
                          {"Week2.XML", "Week2.XML", "Week2.XML_1.png"},
                          {"Week3.xml", "Week3.xml", "Week3_1.png"}};
    for (const Case& c : cases)
    {
        ASSERT_TRUE(SaveMooldeXML(f.dir.file(c.name), f.book.get(), false, f.Context()));
        EXPECT_TRUE(fs::exists(f.dir.file(c.written))) << c.name;
        EXPECT_EQ(ReadFile(f.dir.file(c.picture)), "PNGDATA") << c.name;
        EXPECT_NE(ReadFile(f.dir.file(c.written)).find(std::string("src=\"") + c.picture + "\""),
                  std::string::npos);
    }
    ASSERT_TRUE(SaveMooldeXML(f.dir.file("kept.txt"), f.book.get(), true, f.Context()));
    EXPECT_TRUE(fs::exists(f.dir.file("kept.txt")));
    EXPECT_FALSE(fs::exists("Week1_1.png")); // never the current folder
    EXPECT_FALSE(SaveMooldeXML("", f.book.get(), false, f.Context()));
}

TEST_F(MoodleWriter, WritesTheDeclarationAndTabIndentation)
{
    BookBuilder(*f.book).item(qtDescription, "Read");
    ASSERT_TRUE(SaveMooldeXML(f.dir.file("d.xml"), f.book.get(), false, f.Context()));
    const std::string bytes = ReadFile(f.dir.file("d.xml"));
    EXPECT_EQ(bytes.substr(0, 51), "<?xml version=\"1.0\"?>\n<quiz>\n\t<question type=\"descr");
    EXPECT_NE(bytes.find("\n\t\t<name>\n\t\t\t<text>Read</text>"), std::string::npos) << bytes;
}

TEST_F(MoodleWriter, MultipleChoiceElementsInOrder)
{
    BookBuilder(*f.book).multipleChoice("Q", {"right", "half", "odd"}, 0).name("Capitals");
    auto* item = static_cast<CMultipleChoiceItem*>(f.Item(0));
    item->SetShuffle(1);
    item->SetLetMultipleAnswers(0);
    item->SetNumberAnswerType(-1);
    item->SetImageToDisplay("map.png");
    item->SetDefaultQuestionGrade("2");
    AnswerOf(item, 1)->Correct = "0.83333";
    AnswerOf(item, 2)->Correct = "0.42";
    AnswerOf(item, 0)->Feedback = "well";
    WrittenQuiz quiz;
    ASSERT_TRUE(Write("mc.xml", quiz));
    pugi::xml_node q = quiz.Question(0);
    EXPECT_STREQ(q.attribute("type").value(), "multichoice");
    const std::vector<std::string> order{"name",
                                         "questiontext",
                                         "image",
                                         "generalfeedback",
                                         "defaultgrade",
                                         "penalty",
                                         "hidden",
                                         "shuffleanswers",
                                         "single",
                                         "shuffleanswers",
                                         "correctfeedback",
                                         "partiallycorrectfeedback",
                                         "incorrectfeedback",
                                         "answernumbering",
                                         "answer",
                                         "answer",
                                         "answer"};
    EXPECT_EQ(ChildNames(q), order);
    EXPECT_EQ(Text(q.child("name").child("text")), "Capitals");
    EXPECT_STREQ(q.child("questiontext").attribute("format").value(), "moodle_auto_format");
    EXPECT_EQ(q.child("questiontext").child("text").first_child().type(), pugi::node_cdata);
    EXPECT_FALSE(q.child("generalfeedback").attribute("format"));
    EXPECT_EQ(Text(q.child("image")), "map.png");
    EXPECT_EQ(Text(q.child("defaultgrade")), "2");
    EXPECT_EQ(Text(q.child("hidden")), "0");
    EXPECT_EQ(Text(q.child("shuffleanswers")), "1");
    EXPECT_EQ(Text(q.child("single")), "true");
    EXPECT_EQ(Text(q.child("single").next_sibling()), "true");
    EXPECT_EQ(Text(q.child("answernumbering")), "none");
    const char* fractions[] = {"100", "83.333", "0"};
    int i = 0;
    for (pugi::xml_node answer : q.children("answer"))
    {
        EXPECT_STREQ(answer.attribute("fraction").value(), fractions[i]);
        EXPECT_EQ(ChildNames(answer), (std::vector<std::string>{"text", "feedback"}));
        ++i;
    }
    EXPECT_NE(Text(q.child("answer").child("text")).find("right"), std::string::npos);
    EXPECT_NE(Text(q.child("answer").child("feedback").child("text")).find("well"), std::string::npos);
}

TEST_F(MoodleWriter, TrueFalseFractionsFollowTheStoredChoice)
{
    BookBuilder(*f.book).trueFalse("yes", true).trueFalse("no", false).trueFalse("blank", false);
    AnswerOf(f.Item(2), 0)->Correct = "";
    static_cast<CTrueFalseItem*>(f.Item(0))->SetFeedbackForTheResponseFalse("because");
    WrittenQuiz quiz;
    ASSERT_TRUE(Write("tf.xml", quiz));
    const std::pair<const char*, const char*> expected[] = {{"100", "0"}, {"0", "100"}, {"0", "100"}};
    for (int i = 0; i < 3; ++i)
    {
        pugi::xml_node yes = quiz.Question(i).child("answer");
        pugi::xml_node no = yes.next_sibling("answer");
        EXPECT_EQ(Text(yes.child("text")), "true");
        EXPECT_EQ(Text(no.child("text")), "false");
        EXPECT_STREQ(yes.attribute("fraction").value(), expected[i].first) << i;
        EXPECT_STREQ(no.attribute("fraction").value(), expected[i].second) << i;
        EXPECT_FALSE(no.next_sibling("answer"));
    }
    EXPECT_NE(Text(quiz.Question(0).child("answer").next_sibling("answer").child("feedback").child("text"))
                  .find("because"),
              std::string::npos);
}

TEST_F(MoodleWriter, NumericalAndCalculatedWithUnitsAndDataSets)
{
    BookBuilder book(*f.book);
    book.item(qtNumerical, "no units");
    book.item(qtCalculated, "area");
    auto* calculated = static_cast<CCalculatedItem*>(f.Item(1));
    SCalculatedAnswerItem first;
    first.AnswerFormula = "{A}*{B}";
    first.Correct = "1";
    first.FormulaParams.Tolerance = "0.01";
    first.FormulaParams.ToleranceType = 2;
    first.FormulaParams.CorrectAnswerFormat = 1;
    first.FormulaParams.CorrectAnswerLength = 3;
    SetVariableRange(first, "A", "1", "9");
    SetVariableRange(first, "B", "2", "8");
    for (const char* v : {"1", "2", "3"})
        first.Variables[0].Values.Add(v);
    for (const char* v : {"4", "5", "6", "7", "8"})
        first.Variables[1].Values.Add(v);
    calculated->AddCalculatedAnswer(first);
    SCalculatedAnswerItem second;
    second.AnswerFormula = "{A}";
    second.Correct = "0.5";
    calculated->AddCalculatedAnswer(second);
    calculated->AddUnit(SUnitItem{"1", "m2"});
    book.item(qtCalculated, "no answers");

    WrittenQuiz quiz;
    ASSERT_TRUE(Write("calc.xml", quiz));
    pugi::xml_node numerical = quiz.Question(0);
    ASSERT_TRUE(numerical.child("units"));
    EXPECT_FALSE(numerical.child("units").first_child());

    pugi::xml_node q = quiz.Question(1);
    pugi::xml_node answer = q.child("answer");
    EXPECT_EQ(ChildNames(answer),
              (std::vector<std::string>{"text", "tolerance", "tolerance", "tolerancetype",
                                        "correctanswerformat", "correctanswerlength", "feedback"}));
    EXPECT_EQ(Text(answer.child("text")), "{A}*{B}");
    EXPECT_EQ(Text(answer.child("tolerancetype")), "3");
    EXPECT_EQ(Text(answer.child("correctanswerformat")), "2");
    EXPECT_EQ(Text(answer.child("correctanswerlength")), "3");
    EXPECT_STREQ(answer.next_sibling("answer").attribute("fraction").value(), "50");
    EXPECT_EQ(Text(q.child("units").child("unit").child("unit_name")), "m2");
    std::vector<std::string> tail = ChildNames(q);
    EXPECT_EQ(tail.back(), "dataset_definitions");
    int definitions = 0;
    for (pugi::xml_node d : q.child("dataset_definitions").children("dataset_definition"))
    {
        ++definitions;
        EXPECT_EQ(Text(d.child("itemcount")), "3");
        EXPECT_EQ(Text(d.child("number_of_items")), "3");
        EXPECT_EQ(Text(d.child("status").child("text")), "private");
        EXPECT_EQ(Text(d.child("type")), "calculated");
        int rows = 0;
        for (pugi::xml_node row : d.child("dataset_items").children("dataset_item"))
        {
            ++rows;
            EXPECT_EQ(Text(row.child("number")), std::to_string(rows));
        }
        EXPECT_EQ(rows, 3);
    }
    EXPECT_EQ(definitions, 2);
    EXPECT_EQ(
        Text(q.child("dataset_definitions").last_child().child("dataset_items").last_child().child("value")),
        "6");
    EXPECT_FALSE(quiz.Question(2).child("dataset_definitions"));
}

TEST_F(MoodleWriter, SkipsTrashedAndDeletedQuestions)
{
    BookBuilder(*f.book).item(qtEssay, "kept").item(qtEssay, "trashed").trashed().item(qtEssay, "deleted");
    f.Item(2)->SetStatus(qsDeleted, true);
    WrittenQuiz quiz;
    ASSERT_TRUE(Write("skip.xml", quiz));
    EXPECT_EQ(Text(quiz.Question(0).child("name").child("text")), "kept");
    EXPECT_FALSE(quiz.Question(1));
}

TEST_F(MoodleWriter, AFailedWriteKeepsTheOldFile)
{
    BookBuilder(*f.book).item(qtEssay, "new");
    WriteFile(f.dir.file("old.xml"), "old contents");
    EXPECT_FALSE(SaveMooldeXML(f.dir.file("no/such/folder/q.xml"), f.book.get(), false, f.Context()));
    // A directory in the way of the rename: the write fails and the folder keeps no temporary file.
    fs::create_directories(f.dir.path() / "busy.xml" / "inside");
    EXPECT_FALSE(SaveMooldeXML(f.dir.file("busy.xml"), f.book.get(), false, f.Context()));
    EXPECT_EQ(ReadFile(f.dir.file("old.xml")), "old contents");
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(f.dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"busy.xml", "old.xml"}));
}

// Every kind through the writer and back through the reader.
TEST(MoodleRoundTrip, KeepsKindsTextsGradesFeedbackUnitsAndDataSets)
{
    QuizFixture f;
    FillEveryKindBook(*f.book);
    ASSERT_TRUE(SaveMooldeXML(f.dir.file("all.xml"), f.book.get(), false, f.Context()));
    CItemsArray2 back;
    back.Clear();
    ASSERT_TRUE(LoadMoodleXML(f.dir.file("all.xml"), &back, false, f.Context()));

    std::vector<CBaseItem*> written;
    for (std::int32_t i = 0; i < f.book->GetCount(); ++i)
        if (!f.Item(i)->TestStatus(qsDeleted | qsInTrash))
            written.push_back(f.Item(i));
    ASSERT_EQ(back.GetCount(), static_cast<std::int32_t>(written.size()));
    for (std::size_t i = 0; i < written.size(); ++i)
    {
        CBaseItem* before = written[i];
        CBaseItem* after = back.GetItem(static_cast<std::int32_t>(i));
        SCOPED_TRACE(before->GetName());
        EXPECT_EQ(after->GetQuestionType(), before->GetQuestionType());
        EXPECT_EQ(after->GetName(), before->GetName());
        EXPECT_EQ(f.Plain(after->GetQuestionText()), f.Plain(before->GetQuestionText()));
        EXPECT_EQ(f.Plain(after->GetGeneralFeedback()), f.Plain(before->GetGeneralFeedback()));
        EXPECT_EQ(after->GetImageToDisplay(), before->GetImageToDisplay());
        EXPECT_EQ(after->GetDefaultQuestionGrade(), before->GetDefaultQuestionGrade());
        EXPECT_EQ(after->GetPenaltyFactor(), before->GetPenaltyFactor());
        EXPECT_EQ(after->GetUnitCount(), before->GetUnitCount());
        const int kind = before->GetQuestionType();
        if (kind == qtCalculated)
        {
            auto* b = static_cast<CCalculatedItem*>(before);
            auto* a = static_cast<CCalculatedItem*>(after);
            ASSERT_EQ(a->GetAnswerCount(), b->GetAnswerCount());
            SCalculatedAnswerItem* x = nullptr;
            SCalculatedAnswerItem* y = nullptr;
            ASSERT_TRUE(b->GetCalculatedAnswer(0, x));
            ASSERT_TRUE(a->GetCalculatedAnswer(0, y));
            EXPECT_EQ(y->AnswerFormula, x->AnswerFormula);
            EXPECT_EQ(y->Correct, x->Correct);
            EXPECT_EQ(y->FormulaParams.Tolerance, x->FormulaParams.Tolerance);
            EXPECT_EQ(y->FormulaParams.ToleranceType, x->FormulaParams.ToleranceType);
            EXPECT_EQ(y->FormulaParams.CorrectAnswerFormat, x->FormulaParams.CorrectAnswerFormat);
            EXPECT_EQ(y->FormulaParams.CorrectAnswerLength, x->FormulaParams.CorrectAnswerLength);
            EXPECT_EQ(f.Plain(y->Feedback), f.Plain(x->Feedback));
            ASSERT_EQ(y->Variables.GetSize(), x->Variables.GetSize());
            const std::int32_t rows = GetDatasetSize(*x);
            for (std::int32_t v = 0; v < x->Variables.GetSize(); ++v)
            {
                EXPECT_EQ(y->Variables[v].Name, x->Variables[v].Name);
                EXPECT_EQ(y->Variables[v].MinValue, x->Variables[v].MinValue);
                EXPECT_EQ(y->Variables[v].MaxValue, x->Variables[v].MaxValue);
                ASSERT_EQ(y->Variables[v].Values.GetSize(), rows); // complete data-set rows only
                for (std::int32_t r = 0; r < rows; ++r)
                    EXPECT_EQ(y->Variables[v].Values[r], x->Variables[v].Values[r]);
            }
        }
        else if (kind != qtDescription && kind != qtRandomShortAnswerMatching && kind != qtEmbedded)
        {
            ASSERT_EQ(after->GetAnswerCount(), before->GetAnswerCount());
            for (std::int32_t k = 0; k < before->GetAnswerCount(); ++k)
            {
                SAnswerItem* b = AnswerOf(before, k);
                SAnswerItem* a = AnswerOf(after, k);
                // The format carries a true/false question's choice and an essay's feedback only.
                if (kind != qtEssay)
                {
                    EXPECT_EQ(a->Correct, b->Correct) << k;
                }
                if (kind != qtTrueFalse)
                {
                    EXPECT_EQ(f.Plain(a->Feedback), f.Plain(b->Feedback)) << k;
                }
                if (kind == qtTrueFalse || kind == qtEssay)
                    continue;
                EXPECT_EQ(f.Plain(a->AnswerText), f.Plain(b->AnswerText)) << k;
                EXPECT_EQ(a->Tolerance, b->Tolerance) << k;
            }
        }
        if (kind == qtNumerical || kind == qtCalculated)
        {
            for (std::int32_t u = 0; u < before->GetUnitCount(); ++u)
            {
                SUnitItem* b = nullptr;
                SUnitItem* a = nullptr;
                if (kind == qtNumerical)
                {
                    static_cast<CNumericalItem*>(before)->GetUnit(u, b);
                    static_cast<CNumericalItem*>(after)->GetUnit(u, a);
                }
                else
                {
                    static_cast<CCalculatedItem*>(before)->GetUnit(u, b);
                    static_cast<CCalculatedItem*>(after)->GetUnit(u, a);
                }
                ASSERT_TRUE(a && b);
                EXPECT_EQ(a->Value, b->Value);
                EXPECT_EQ(a->Description, b->Description);
            }
        }
        if (kind == qtMultipleChoice)
        {
            auto* b = static_cast<CMultipleChoiceItem*>(before);
            auto* a = static_cast<CMultipleChoiceItem*>(after);
            EXPECT_EQ(a->GetLetMultipleAnswers(), b->GetLetMultipleAnswers());
            EXPECT_EQ(a->GetShuffle(), b->GetShuffle());
            EXPECT_EQ(a->GetNumberAnswerType(), b->GetNumberAnswerType());
            EXPECT_EQ(f.Plain(a->GetFeedbackForAnyCorrectResponse()),
                      f.Plain(b->GetFeedbackForAnyCorrectResponse()));
            EXPECT_EQ(f.Plain(a->GetFeedbackForAnyIncorrectResponse()),
                      f.Plain(b->GetFeedbackForAnyIncorrectResponse()));
        }
        if (kind == qtTrueFalse)
        {
            auto* b = static_cast<CTrueFalseItem*>(before);
            auto* a = static_cast<CTrueFalseItem*>(after);
            EXPECT_EQ(f.Plain(a->GetFeedbackForTheResponseFalse()),
                      f.Plain(b->GetFeedbackForTheResponseFalse()));
        }
    }
}

// Blanks in a question survive the quiz file: written as a quiz editor writes them, read back as the
// same plain blanks.
TEST(MoodleRoundTrip, KeepsRunsOfBlanks)
{
    QuizFixture f;
    ASSERT_TRUE(LoadMoodleXML(DataFile("fuzz/moodle-blanks-1.xml"), f.book.get(), false, f.Context()));
    ASSERT_EQ(f.book->GetCount(), 1);
    EXPECT_EQ(f.Plain(f.Item(0)->GetQuestionText()), "a   b");
    BookBuilder(*f.book).essay("  two  runs   here");
    f.Item(1)->SetGeneralFeedback("x  y");

    ASSERT_TRUE(SaveMooldeXML(f.dir.file("blanks.xml"), f.book.get(), false, f.Context()));
    EXPECT_NE(ReadFile(f.dir.file("blanks.xml")).find("a &nbsp; b"), std::string::npos);
    CItemsArray2 back;
    back.Clear();
    ASSERT_TRUE(LoadMoodleXML(f.dir.file("blanks.xml"), &back, false, f.Context()));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(f.Plain(back.GetItem(0)->GetQuestionText()), "a   b");
    EXPECT_EQ(f.Plain(back.GetItem(1)->GetQuestionText()), "  two  runs   here");
    EXPECT_EQ(f.Plain(back.GetItem(1)->GetGeneralFeedback()), "x  y");
    for (std::int32_t i = 0; i < back.GetCount(); ++i)
        EXPECT_EQ(back.GetItem(i)->GetQuestionText().find("\xC2\xA0"), std::string::npos);
}

// The book with every kind, read by the book reader and written as a quiz file: the bytes are pinned, so
// a change to any written byte shows.
TEST(MoodlePinned, BookWithEveryKindIsWrittenAsThePinnedFile)
{
    StorageFixture f;
    ASSERT_TRUE(f.storage.OpenBook(DataFile("books/every-kind.lnf")));
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    ASSERT_TRUE(SaveMooldeXML(f.dir.file("every-kind.xml"), f.storage.GetItemsPtr2(), true, context));
    ExpectSameAsPinnedFile(ReadFile(f.dir.file("every-kind.xml")), "interchange/every-kind_ref.xml");
    // Pictures the texts hold would go beside the file; the book's texts hold none.
    EXPECT_EQ(std::distance(fs::directory_iterator(f.dir.path()), {}), 1);
}

TEST(MoodleStorage, SaveThroughTheStorage)
{
    StorageFixture f;
    lf::RichDocument view;
    f.storage.SetRichViews(&view, nullptr);
    ASSERT_TRUE(f.storage.NewBook());
    EXPECT_FALSE(f.storage.SaveMooldeXML(f.dir.file("q"), f.storage.GetItemsPtr2(), false, false));
    lf::InstallExchangeFormats();
    ASSERT_TRUE(f.storage.SaveMooldeXML(f.dir.file("q"), f.storage.GetItemsPtr2(), false, false));
    EXPECT_TRUE(fs::exists(f.dir.file("q.xml")));
    CDataStorage::SetExchangeFormats(nullptr);
}

// Sees what the storage holds as the running export's picture prefix each time the writer lets events run.
class PrefixWatcher : public IEventPump
{
public:
    explicit PrefixWatcher(const CDataStorage& storage) : m_storage(storage) {}
    void ProcessPendingEvents() override { seen.push_back(m_storage.GetMoodlePicturePrefix()); }
    std::vector<std::string> seen;

private:
    const CDataStorage& m_storage;
};

TEST(MoodleStorage, TheStorageHoldsThePicturePrefixOnlyWhileTheExportRuns)
{
    StorageFixture f;
    lf::RichDocument view;
    f.storage.SetRichViews(&view, nullptr);
    PrefixWatcher watcher(f.storage);
    f.storage.SetEventPump(&watcher);
    ASSERT_TRUE(f.storage.NewBook());
    BookBuilder(*f.storage.GetItemsPtr2()).multipleChoice(StoredTextWithPicture("Look", "PNGDATA"), {"a"}, 0);
    lf::InstallExchangeFormats();
    ASSERT_TRUE(f.storage.SaveMooldeXML(f.dir.file("Week1"), f.storage.GetItemsPtr2(), false, false));
    CDataStorage::SetExchangeFormats(nullptr);

    ASSERT_FALSE(watcher.seen.empty());
    for (const std::string& prefix : watcher.seen)
        EXPECT_EQ(prefix, "Week1_");
    EXPECT_EQ(ReadFile(f.dir.file("Week1_1.png")), "PNGDATA");
    EXPECT_EQ(f.storage.GetMoodlePicturePrefix(), "");
}

} // namespace
