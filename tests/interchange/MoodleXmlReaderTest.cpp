// The quiz reader: every field of a multiple-choice question, the kinds' own elements, grades (with the
// fractions other tools write with more digits), units, data sets, hidden questions, pictures, and the
// failures; and the storage's append of a quiz file.
#include "tests/interchange/MoodleXmlTestSupport.h"

#include "interchange/ExchangeFormats.h"
#include "model/storage/Datastorage.h"
#include "platform/sys/Utf8Text.h"
#include "tests/model/DatastorageTestSupport.h"
#include "tests/support/BookTexts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;

namespace
{

const std::string kMultipleChoice = Quiz(R"(
  <question type="category"><category><text>$course$/Week 1</text></category></question>
  <question type="multichoice">
    <name><text>Capitals</text></name>
    <questiontext format="html"><text><![CDATA[<p>Which is the capital of <b>France</b>?</p>]]></text></questiontext>
    <image>map.png</image>
    <generalfeedback><text>Paris has been the capital since 987.</text></generalfeedback>
    <defaultgrade>2</defaultgrade>
    <penalty>0.25</penalty>
    <hidden>0</hidden>
    <single>false</single>
    <shuffleanswers>1</shuffleanswers>
    <correctfeedback><text>Right.</text></correctfeedback>
    <partiallycorrectfeedback><text>Partly.</text></partiallycorrectfeedback>
    <incorrectfeedback><text>Wrong.</text></incorrectfeedback>
    <answernumbering>ABCD</answernumbering>
    <answer fraction="50"><text>Paris</text><feedback><text>Yes</text></feedback></answer>
    <answer fraction="33.333"><text><![CDATA[<i>Paris</i>, France]]></text></answer>
    <answer fraction="0"><text>Rome</text><feedback><text>No</text></feedback></answer>
  </question>
)");

TEST(MoodleReader, ReadsEveryFieldOfAMultipleChoiceQuestion)
{
    QuizFixture f;
    ASSERT_TRUE(f.Read(kMultipleChoice));
    ASSERT_EQ(f.book->GetCount(), 1); // the category pseudo-question is skipped
    auto* item = dynamic_cast<CMultipleChoiceItem*>(f.Item(0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), "Capitals");
    EXPECT_EQ(f.Plain(item->GetQuestionText()), "Which is the capital of France?");
    EXPECT_EQ(item->GetImageToDisplay(), "map.png");
    EXPECT_EQ(f.Plain(item->GetGeneralFeedback()), "Paris has been the capital since 987.");
    EXPECT_EQ(item->GetDefaultQuestionGrade(), "2");
    EXPECT_EQ(item->GetPenaltyFactor(), "0.25");
    EXPECT_EQ(item->GetFormatQAXData(), 3);
    EXPECT_EQ(item->GetCategoryID(), 0);
    EXPECT_EQ(item->GetID_Str(), "");
    EXPECT_FALSE(item->TestStatus(qsInTrash));
    EXPECT_EQ(item->GetLetMultipleAnswers(), 1);
    EXPECT_EQ(item->GetShuffle(), 1);
    EXPECT_EQ(item->GetNumberAnswerType(), 1);
    EXPECT_EQ(f.Plain(item->GetFeedbackForAnyCorrectResponse()), "Right.");
    EXPECT_EQ(f.Plain(item->GetFeedbackForAnyPartiallyCorrectResponse()), "Partly.");
    EXPECT_EQ(f.Plain(item->GetFeedbackForAnyIncorrectResponse()), "Wrong.");
    EXPECT_FALSE(f.book->IsModified());

    ASSERT_EQ(item->GetAnswerCount(), 3);
    const char* grades[] = {"0.5", "0.33333", "0"};
    const char* texts[] = {"Paris", "Paris, France", "Rome"};
    const char* feedback[] = {"Yes", "", "No"};
    for (int i = 0; i < 3; ++i)
    {
        SAnswerItem* a = AnswerOf(item, i);
        EXPECT_EQ(a->ID, i + 1);
        EXPECT_EQ(a->Correct, grades[i]);
        EXPECT_EQ(f.Plain(a->AnswerText), texts[i]);
        EXPECT_EQ(f.Plain(a->Feedback), feedback[i]);
    }
    EXPECT_EQ(AnswerOf(item, 1)->Feedback, ""); // a missing feedback stays empty
}

TEST(MoodleReader, GradesComeFromTheGradeTableWithinAHundredthOfAPoint)
{
    const std::pair<const char*, const char*> cases[] = {
        {"100", "1"},
        {"50", "0.5"},
        {"33.333", "0.33333"},
        {"33.33333", "0.33333"},
        {"66.66667", "0.66666"},
        {"83.33333", "0.83333"},
        {"14.28571", "0.142857"},
        {"-33.33333", "-0.33333"},
        {"-100", "-1"},
        {"42", "0"},
        {"33.4", "0"},
        {"", "0"},
        {"abc", "0"},
        {"0", "0"},
        {"1e2", "0"},
    };
    for (const auto& [percent, fraction] : cases)
        EXPECT_EQ(MoodlePercentToFraction(percent), fraction) << percent;
}

TEST(MoodleReader, TypeFormatAndHiddenTable)
{
    QuizFixture f;
    ASSERT_TRUE(f.Read(Quiz(R"(
      <question type="MultiChoice"><questiontext format="plain_text"><text>a</text></questiontext></question>
      <question type="TRUEFALSE"><questiontext format="HTML"><text>b</text></questiontext><hidden>1</hidden></question>
      <question type="essay"><questiontext format="markdown"><text>c</text></questiontext><hidden>true</hidden></question>
      <question type="shortanswer"><questiontext><text>d</text></questiontext></question>
      <question type="matching"/>
      <question type="calculated"/>
      <question type="numerical"/>
      <question type="description"/>
      <question type="randomsamatch"/>
      <question type="cloze"/>
      <question type="multianswer"/>
      <question><name><text>no type</text></name></question>
    )")));
    struct Expect
    {
        int kind;
        int format;
        bool trash;
    };
    const Expect expected[] = {
        {qtMultipleChoice, 2, false}, {qtTrueFalse, 5, true},    {qtEssay, 4, false},
        {qtShortAnswer, 5, false},    {qtMatching, 5, false},    {qtCalculated, 5, false},
        {qtNumerical, 5, false},      {qtDescription, 5, false}, {qtRandomShortAnswerMatching, 5, false},
        {qtEmbedded, 5, false}};
    ASSERT_EQ(f.book->GetCount(), 10);
    for (int i = 0; i < 10; ++i)
    {
        CBaseItem* item = f.Item(i);
        EXPECT_EQ(item->GetQuestionType(), expected[i].kind) << i;
        EXPECT_EQ(item->GetFormatQAXData(), expected[i].format) << i;
        // A hidden question goes to the Trash whole: the Trash bit and the Trash chapter together.
        EXPECT_EQ(item->TestStatus(qsInTrash), expected[i].trash) << i;
        EXPECT_EQ(item->GetCategoryID(), expected[i].trash ? kTrashCategoryID : 0) << i;
    }
}

TEST(MoodleReader, KindElementsAndTheirDefaults)
{
    QuizFixture f;
    ASSERT_TRUE(f.Read(Quiz(R"(
      <question type="multichoice"><single>true</single><shuffleanswers>true</shuffleanswers>
        <answernumbering>ABC</answernumbering></question>
      <question type="multichoice"><single>0</single><shuffleanswers> 1 </shuffleanswers>
        <answernumbering>none</answernumbering></question>
      <question type="multichoice"/>
      <question type="shortanswer"><usecase>1</usecase>
        <answer fraction="100"><text> Par
	is </text></answer></question>
      <question type="matching"><shuffleanswers>1</shuffleanswers>
        <subquestion><text>H2O</text><answer><text>water</text></answer></subquestion>
        <subquestion><text><![CDATA[<b>NaCl</b>]]></text><answer><text>salt</text></answer></subquestion>
      </question>
      <question type="randomsamatch"><answer fraction="100"><text>ignored</text></answer></question>
    )")));
    ASSERT_EQ(f.book->GetCount(), 6);
    auto* first = static_cast<CMultipleChoiceItem*>(f.Item(0));
    EXPECT_EQ(first->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(first->GetShuffle(), 1);
    EXPECT_EQ(first->GetNumberAnswerType(), -1);
    auto* second = static_cast<CMultipleChoiceItem*>(f.Item(1));
    EXPECT_EQ(second->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(second->GetShuffle(), 1);
    EXPECT_EQ(second->GetNumberAnswerType(), 3);
    EXPECT_EQ(static_cast<CMultipleChoiceItem*>(f.Item(2))->GetNumberAnswerType(), -1);

    auto* shortAnswer = static_cast<CShortAnswerItem*>(f.Item(3));
    EXPECT_EQ(shortAnswer->GetCaseSensitivity(), 1);
    EXPECT_EQ(AnswerOf(shortAnswer, 0)->AnswerText, "Paris");
    EXPECT_EQ(AnswerOf(shortAnswer, 0)->Correct, "1");

    auto* matching = static_cast<CMatchingItem*>(f.Item(4));
    EXPECT_EQ(matching->GetShuffle(), 1);
    ASSERT_EQ(matching->GetAnswerCount(), 2);
    EXPECT_EQ(AnswerOf(matching, 1)->ID, 2);
    EXPECT_EQ(f.Plain(AnswerOf(matching, 1)->AnswerText), "NaCl");
    EXPECT_EQ(AnswerOf(matching, 1)->Correct, "salt");
}

// "true" is how the learning platform writes the switch, "1" how older files and our writer do.
TEST(MoodleReader, ShuffleAnswersTakesTrueAndOne)
{
    const std::pair<const char*, int> cases[] = {{"true", 1}, {"1", 1},     {" true ", 1},
                                                 {"TRUE", 1}, {"false", 0}, {"0", 0},
                                                 {"", 0},     {"yes", 0},   {"2", 0}};
    for (const auto& [text, shuffle] : cases)
    {
        QuizFixture f;
        ASSERT_TRUE(f.Read(Quiz(std::string("<question type=\"multichoice\"><shuffleanswers>") + text +
                                "</shuffleanswers></question><question type=\"matching\"><shuffleanswers>" +
                                text + "</shuffleanswers></question>")));
        ASSERT_EQ(f.book->GetCount(), 2);
        EXPECT_EQ(static_cast<CMultipleChoiceItem*>(f.Item(0))->GetShuffle(), shuffle) << text;
        EXPECT_EQ(static_cast<CMatchingItem*>(f.Item(1))->GetShuffle(), shuffle) << text;
    }
}

// A quiz file as the learning platform ships it, read as it is.
TEST(MoodleReader, ReadsTheMultipleChoiceFileTheLearningPlatformWrites)
{
    QuizFixture f;
    ASSERT_TRUE(
        LoadMoodleXML(DataFile("interchange/moodle/multichoice.xml"), f.book.get(), false, f.Context()));
    ASSERT_EQ(f.book->GetCount(), 1); // the category is no question
    auto* item = dynamic_cast<CMultipleChoiceItem*>(f.Item(0));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetName(), "Greeting");
    EXPECT_EQ(item->GetShuffle(), 1); // <shuffleanswers>true</shuffleanswers>
    EXPECT_EQ(item->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(item->GetNumberAnswerType(), 0);
}

TEST(MoodleReader, ReadsTheTrueFalseFileTheLearningPlatformWrites)
{
    QuizFixture f;
    ASSERT_TRUE(
        LoadMoodleXML(DataFile("interchange/moodle/truefalse.xml"), f.book.get(), false, f.Context()));
    ASSERT_EQ(f.book->GetCount(), 2);
    const std::pair<const char*, const char*> expected[] = {{"Moodle acronym (False)", "0"},
                                                            {"Moodle acronym (True)", "1"}};
    for (int i = 0; i < 2; ++i)
    {
        auto* item = dynamic_cast<CTrueFalseItem*>(f.Item(i));
        ASSERT_NE(item, nullptr) << i;
        EXPECT_EQ(item->GetName(), expected[i].first);
        EXPECT_EQ(AnswerOf(item, 0)->Correct, expected[i].second) << item->GetName();
        EXPECT_NE(f.Plain(item->GetQuestionText()).find("is an acronym for"), std::string::npos);
    }
    EXPECT_TRUE(lf::sys::IsValidUtf8(BookTexts(*f.book)));
}

TEST(MoodleReader, TrueFalseAndEssayAnswers)
{
    QuizFixture f;
    ASSERT_TRUE(f.Read(Quiz(R"(
      <question type="truefalse">
        <answer fraction="0"><text>true</text><feedback><text>Not true</text></feedback></answer>
        <answer fraction="100"><text>false</text><feedback><text>Indeed false</text></feedback></answer>
      </question>
      <question type="truefalse">
        <answer fraction="100"><text>True</text><feedback><text>capital T</text></feedback></answer>
      </question>
      <question type="essay">
        <answer fraction="0"><feedback><text>first</text></feedback></answer>
        <answer fraction="0"><feedback><text>second</text></feedback></answer>
      </question>
    )")));
    ASSERT_EQ(f.book->GetCount(), 3);
    auto* tf = static_cast<CTrueFalseItem*>(f.Item(0));
    EXPECT_EQ(AnswerOf(tf, 0)->Correct, "0");
    EXPECT_EQ(f.Plain(tf->GetFeedbackForTheResponseTrue()), "Not true");
    EXPECT_EQ(f.Plain(tf->GetFeedbackForTheResponseFalse()), "Indeed false");

    CItemsArray2 factory;
    auto fresh = factory.CreateItem(qtTrueFalse, false);
    auto* capital = static_cast<CTrueFalseItem*>(f.Item(1));
    EXPECT_EQ(AnswerOf(capital, 0)->Correct,
              AnswerOf(fresh.get(), 0)->Correct); // left as the factory made it
    EXPECT_EQ(capital->GetFeedbackForTheResponseTrue(), "");
    EXPECT_EQ(f.Plain(capital->GetFeedbackForTheResponseFalse()), "capital T");

    EXPECT_EQ(f.Plain(AnswerOf(f.Item(2), 0)->Feedback), "second");
}

TEST(MoodleReader, NumericalWithUnitsAndCalculatedWithDataSets)
{
    QuizFixture f;
    ASSERT_TRUE(f.Read(Quiz(R"(
      <question type="numerical">
        <answer fraction="100"><text> 12
</text><tolerance>0.5</tolerance><feedback><text>ok</text></feedback></answer>
        <units><unit><multiplier>1</multiplier><unit_name>m</unit_name></unit>
               <unit><multiplier>100</multiplier><unit_name>cm</unit_name></unit></units>
      </question>
      <question type="calculated">
        <answer fraction="100"><text>{a}*{b}</text><tolerance>0.01</tolerance><tolerance>9</tolerance>
          <tolerancetype>3</tolerancetype><correctanswerformat>2</correctanswerformat>
          <correctanswerlength>4</correctanswerlength></answer>
        <dataset_definitions>
          <dataset_definition><name><text>a</text></name><minimum><text>1</text></minimum>
            <maximum><text>10</text></maximum><itemcount>2</itemcount>
            <dataset_items><dataset_item><number>1</number><value>2.5</value></dataset_item>
                           <dataset_item><number>2</number><value>7</value></dataset_item></dataset_items>
          </dataset_definition>
          <dataset_definition><name><text>b</text></name><minimum><text>0</text></minimum>
            <maximum><text>5</text></maximum></dataset_definition>
        </dataset_definitions>
        <answer fraction="50"><text>{a}+{b}</text></answer>
        <units><unit><multiplier>1</multiplier><unit_name>m2</unit_name></unit></units>
      </question>
      <question type="calculated">
        <dataset_definitions><dataset_definition><name><text>a</text></name></dataset_definition></dataset_definitions>
      </question>
    )")));
    ASSERT_EQ(f.book->GetCount(), 3);
    auto* numerical = static_cast<CNumericalItem*>(f.Item(0));
    SAnswerItem* a = AnswerOf(numerical, 0);
    EXPECT_EQ(a->AnswerText, "12");
    EXPECT_EQ(a->Tolerance, "0.5");
    EXPECT_EQ(a->Correct, "1");
    ASSERT_EQ(numerical->GetUnitCount(), 2);
    SUnitItem* unit = nullptr;
    ASSERT_TRUE(numerical->GetUnit(1, unit));
    EXPECT_EQ(unit->Value, "100");
    EXPECT_EQ(unit->Description, "cm");

    auto* calculated = static_cast<CCalculatedItem*>(f.Item(1));
    ASSERT_EQ(calculated->GetAnswerCount(), 2);
    SCalculatedAnswerItem* first = nullptr;
    SCalculatedAnswerItem* second = nullptr;
    ASSERT_TRUE(calculated->GetCalculatedAnswer(0, first));
    ASSERT_TRUE(calculated->GetCalculatedAnswer(1, second));
    EXPECT_EQ(first->ID, 1);
    EXPECT_EQ(first->AnswerFormula, "{a}*{b}");
    EXPECT_EQ(first->FormulaParams.Tolerance, "0.01");
    EXPECT_EQ(first->FormulaParams.ToleranceType, 2);
    EXPECT_EQ(first->FormulaParams.CorrectAnswerFormat, 1);
    EXPECT_EQ(first->FormulaParams.CorrectAnswerLength, 4);
    EXPECT_EQ(second->ID, 2);
    EXPECT_EQ(second->Correct, "0.5");
    EXPECT_EQ(second->FormulaParams.ToleranceType, 0); // missing: relative
    EXPECT_EQ(second->FormulaParams.CorrectAnswerFormat, 0);
    EXPECT_EQ(second->FormulaParams.CorrectAnswerLength, 0);
    // The data set goes on the first answer only, wherever its definitions stand.
    ASSERT_EQ(first->Variables.GetSize(), 2);
    EXPECT_EQ(first->Variables[0].Name, "a");
    EXPECT_EQ(first->Variables[0].MinValue, "1");
    EXPECT_EQ(first->Variables[0].MaxValue, "10");
    ASSERT_EQ(first->Variables[0].Values.GetSize(), 2);
    EXPECT_EQ(first->Variables[0].Values[1], "7");
    EXPECT_EQ(first->Variables[1].Values.GetSize(), 0);
    EXPECT_EQ(second->Variables.GetSize(), 0);
    EXPECT_EQ(calculated->GetUnitCount(), 1);

    EXPECT_EQ(f.Item(2)->GetAnswerCount(), 0); // no answer: the definitions are ignored
}

TEST(MoodleReader, NewQuestionsGetTheFactorysIdsAuthorAndChapterNumbers)
{
    QuizFixture f;
    BookBuilder(*f.book).multipleChoice("old", {"a"}, 0).layer("3.2");
    const std::int32_t oldID = f.Item(0)->GetID();
    ASSERT_TRUE(f.Read(Quiz("<question type=\"essay\"/><question type=\"numerical\"/>")));
    ASSERT_EQ(f.book->GetCount(), 3);
    EXPECT_EQ(f.Item(1)->GetLayersStr(), "4");
    EXPECT_EQ(f.Item(2)->GetLayersStr(), "5");
    EXPECT_GT(f.Item(1)->GetID(), oldID);
    EXPECT_GT(f.Item(2)->GetID(), f.Item(1)->GetID());
    EXPECT_EQ(f.Item(2)->GetOwnerStr(), "Tester");
    EXPECT_EQ(f.book->GetMaxLayer(), "6"); // what the book's own factory would give next
}

TEST(MoodleReader, FailuresLeaveTheBookAlone)
{
    QuizFixture f;
    BookBuilder(*f.book).multipleChoice("kept", {"a"}, 0);
    EXPECT_FALSE(LoadMoodleXML(f.dir.file("missing.xml"), f.book.get(), true, f.Context()));
    EXPECT_FALSE(f.Read("this is < not xml"));
    EXPECT_FALSE(f.Read("<foo><question type=\"essay\"/></foo>"));
    EXPECT_EQ(f.book->GetCount(), 1);

    EXPECT_TRUE(f.Read("<quiz/>"));
    EXPECT_EQ(f.book->GetCount(), 1);
    WriteFile(f.dir.file("q.xml"), Quiz("<question type=\"essay\"/>"));
    EXPECT_TRUE(LoadMoodleXML(f.dir.file("q.xml"), f.book.get(), true, f.Context()));
    ASSERT_EQ(f.book->GetCount(), 1);
    EXPECT_EQ(f.Item(0)->GetQuestionType(), qtEssay);
}

// What reading a quiz file in "quiz/" whose one description shows the html gives: the names the program's
// own loader was asked for (it answers "web-bytes") and the bytes of the question's pictures in order.
struct SQuizPictures
{
    std::vector<std::string> asked;
    std::vector<std::string> pictures;
};

SQuizPictures ReadQuizPictures(QuizFixture& f, const std::string& html)
{
    SQuizPictures result;
    fs::create_directories(f.dir.path() / "quiz");
    SExchangeContext context = f.Context();
    context.webPictures = [&result](const std::string& source, int, int, bool)
    {
        result.asked.push_back(source);
        return lf::SRichPicture{"web-bytes", "png"};
    };
    WriteFile(f.dir.file("quiz/q.xml"),
              Quiz("<question type=\"description\"><questiontext format=\"html\"><text><![CDATA[<p>" + html +
                   "</p>]]></text></questiontext></question>"));
    const bool loaded = LoadMoodleXML(f.dir.file("quiz/q.xml"), f.book.get(), false, context);
    EXPECT_TRUE(loaded);
    if (!loaded)
        return result;
    lf::RichDocument doc;
    SetXMLToRE(f.Item(0)->GetQuestionText(), doc, true, true, false);
    for (const auto& item : doc.content.items)
        if (item.IsPicture())
            result.pictures.push_back(item.picture.data);
    return result;
}

TEST(MoodleReader, PicturesComeFromTheQuizFolderOnly)
{
    QuizFixture f;
    fs::create_directories(f.dir.path() / "quiz");
    WriteFile(f.dir.file("quiz/inside.png"), "inside-bytes");
    WriteFile(f.dir.file("secret.png"), "secret-bytes");
    const std::string secret = f.dir.file("secret.png");
    const SQuizPictures read = ReadQuizPictures(
        f, "A <img src=\"inside.png\"> B <img src=\"../secret.png\"> C <img src=\"" + secret +
               "\"> D <img src=\"file://" + secret +
               "\"> E <img src=\"..%2Fsecret.png\"> F <img src=\"http://example.com/p.png\">");
    // The program's own loader sees web addresses only.
    ASSERT_FALSE(read.asked.empty());
    for (const std::string& source : read.asked)
        EXPECT_EQ(source, "http://example.com/p.png");

    ASSERT_EQ(read.pictures.size(), 6u);
    EXPECT_EQ(read.pictures[0], "inside-bytes");
    for (std::size_t i = 1; i < 5; ++i)
        EXPECT_NE(read.pictures[i], "secret-bytes") << i; // the placeholder: the name leads out of the folder
    EXPECT_EQ(read.pictures[5], "web-bytes");
}

TEST(MoodleReader, WebAddressesInAnyCaseGoToTheLoaderButFileAddressesNever)
{
    QuizFixture f;
    WriteFile(f.dir.file("secret.png"), "secret-bytes");
    const std::vector<std::string> web = {"www.example.com/w.png", "WWW.example.com/W.png",
                                          "HTTPS://example.com/s.png", "ftp://example.com/f.png"};
    const std::vector<std::string> local = {"FILE://" + f.dir.file("secret.png"),
                                            "file:" + f.dir.file("secret.png")};
    std::string html;
    for (const auto* names : {&web, &local})
        for (const std::string& name : *names)
            html += "<img src=\"" + name + "\"> ";
    const SQuizPictures read = ReadQuizPictures(f, html);
    EXPECT_EQ(std::set<std::string>(read.asked.begin(), read.asked.end()),
              std::set<std::string>(web.begin(), web.end()));
    ASSERT_EQ(read.pictures.size(), web.size() + local.size());
    for (std::size_t i = web.size(); i < read.pictures.size(); ++i)
        EXPECT_NE(read.pictures[i], "secret-bytes") << i; // the placeholder: a file address is a local name
}

// A reference past the last character in a text's HTML reaches the book as U+FFFD: every text the reader
// stores is valid UTF-8.
TEST(MoodleReader, HugeCharacterReferenceReachesTheBookAsTheReplacementCharacter)
{
    QuizFixture f;
    ASSERT_TRUE(LoadMoodleXML(DataFile("fuzz/moodle-utf8-1.xml"), f.book.get(), false, f.Context()));
    ASSERT_EQ(f.book->GetCount(), 1);
    const std::string texts = BookTexts(*f.book);
    EXPECT_TRUE(lf::sys::IsValidUtf8(texts)) << texts;
    EXPECT_EQ(f.Plain(f.Item(0)->GetQuestionText()), "x\xEF\xBF\xBDy");
    EXPECT_EQ(f.Plain(AnswerOf(f.Item(0), 0)->AnswerText), "\xEF\xBF\xBD");
}

// The event pump runs windows while a quiz is read; what they render must get its pictures from the
// program's loader, never from the quiz file's folder.
TEST(MoodleReader, ReadingLeavesTheProgramsPictureLoaderAlone)
{
    struct Pump : IEventPump
    {
        void ProcessPendingEvents() override
        {
            const lf::RichPictureRequest& loader = lf::RichTextHost().requestPicture;
            seen.push_back(loader ? loader("inside.png", 0, 0, true).data : "no loader");
        }
        std::vector<std::string> seen;
    } pump;
    QuizFixture f;
    WriteFile(f.dir.file("inside.png"), "inside-bytes");
    const lf::RichPictureRequest saved = lf::RichTextHost().requestPicture;
    lf::RichTextHost().requestPicture = [](const std::string&, int, int, bool) {
        return lf::SRichPicture{"program-bytes", "png"};
    };
    WriteFile(f.dir.file("q.xml"),
              Quiz("<question type=\"description\"><questiontext format=\"html\"><text><![CDATA[<p>A "
                   "<img src=\"inside.png\"></p>]]></text></questiontext></question><question "
                   "type=\"essay\"/>"));
    SExchangeContext context = f.Context();
    context.pump = &pump;
    const bool read = LoadMoodleXML(f.dir.file("q.xml"), f.book.get(), false, context);
    lf::RichTextHost().requestPicture = saved;
    ASSERT_TRUE(read);
    ASSERT_FALSE(pump.seen.empty());
    for (const std::string& data : pump.seen)
        EXPECT_EQ(data, "program-bytes");
}

TEST(MoodleReader, StorageAppendsAQuizFileAndMarksTheBookModified)
{
    StorageFixture f;
    lf::InstallExchangeFormats();
    CItemsArray2* book = f.storage.GetItemsPtr2();
    ASSERT_TRUE(f.storage.NewBook());
    book->SetModified(false);
    WriteFile(f.dir.file("quiz.xml"), kMultipleChoice);
    ASSERT_TRUE(f.storage.AppendBook(f.dir.file("quiz.xml")));
    ASSERT_EQ(book->GetCount(), 2);
    EXPECT_EQ(book->GetItem(1)->GetName(), "Capitals");
    EXPECT_TRUE(book->IsModified());
    EXPECT_EQ(f.sinks.statusTexts.back(), "Book loaded.");
    EXPECT_TRUE(f.storage.LoadMoodleXML(f.dir.file("quiz.xml"), book, false));
    EXPECT_EQ(book->GetCount(), 3);
    CDataStorage::SetExchangeFormats(nullptr);
}

} // namespace
