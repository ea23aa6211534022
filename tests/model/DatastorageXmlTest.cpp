// The native XML book: its writer and reader, round trips, refusals and the tolerant defaults.
#include "tests/model/DatastorageTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <iostream>
#include <sstream>

using namespace lf::test;

namespace
{

using lf::test::PrintTo;

class DatastorageXml : public ::testing::Test, public StorageFixture
{
protected:
    // Saves items under name in the scratch folder and gives the bytes written.
    std::string SaveBytes(CItemsArray2& items, const std::string& name)
    {
        const std::string path = dir.file(name);
        EXPECT_TRUE(storage.SaveXML(path, &items, true, true));
        return ReadFile(path);
    }
};

// The writer's output for the book with every kind is pinned byte for byte: a change to any stored byte
// shows here. On a mismatch the output is kept beside the pinned file for a diff.
TEST_F(DatastorageXml, BookWithEveryKindIsWrittenAsThePinnedFile)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    FillEveryKindBook(items);
    ExpectSameAsPinnedFile(SaveBytes(items, "every-kind.lnf"), "books/every-kind.lnf");
}

TEST_F(DatastorageXml, BookWithEveryKindSurvivesSaveOpenSaveByteForByte)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    FillEveryKindBook(items);
    const std::string first = SaveBytes(items, "first.lnf");

    ASSERT_TRUE(storage.OpenBook(dir.file("first.lnf")));
    const std::string second = SaveBytes(items, "second.lnf");
    if (first != second)
        std::cerr << "kept for comparison: " << dir.file("first.lnf") << " and " << dir.file("second.lnf")
                  << '\n';
    EXPECT_EQ(first, second);
    EXPECT_EQ(items.GetCount(), 12);

    // Spot checks that the values went through the reader, not only through the text.
    const CBaseItem* choice = FindByName(items, "choice");
    ASSERT_NE(choice, nullptr);
    EXPECT_EQ(choice->GetFormatQAXData(), 200);
    EXPECT_EQ(choice->GetEncryptionMethod(), 255);
    EXPECT_EQ(choice->GetGeneralFeedback(), "split ]]> in the middle ]]>");
    EXPECT_NE(first.find("FormatQAXData=\"-56\""), std::string::npos);
    SAnswerItem* third = nullptr;
    ASSERT_TRUE(const_cast<CBaseItem*>(choice)->GetAnswer(2, third));
    EXPECT_EQ(third->AnswerText, "a]]>b");
    EXPECT_EQ(static_cast<const CMultipleChoiceItem*>(choice)->GetFeedbackForAnyIncorrectResponse(),
              "line one\r\nline two");
    EXPECT_TRUE(choice->IsMarked());

    auto* calculated = dynamic_cast<CCalculatedItem*>(FindByName(items, "Area of {a} by {b}"));
    ASSERT_NE(calculated, nullptr);
    SCalculatedAnswerItem* answer = nullptr;
    ASSERT_TRUE(calculated->GetCalculatedAnswer(0, answer));
    EXPECT_EQ(GetDatasetSize(*answer), 2);
    EXPECT_EQ(answer->FormulaParams.CorrectAnswerFormat, 1);
    EXPECT_EQ(calculated->GetUnitCount(), 1);

    SCategoryInfo cells;
    ASSERT_TRUE(items.GetCategoryInfo(2, cells));
    EXPECT_EQ(cells.Parent, 1);
    EXPECT_EQ(cells.Description, "Inside <the> cell & more");
}

TEST_F(DatastorageXml, TwoWritesOfAnUnchangedBookAreIdentical)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    FillEveryKindBook(items);
    EXPECT_EQ(SaveBytes(items, "a.lnf"), SaveBytes(items, "b.lnf"));
}

// The writer prints the book question by question; the text must be the one a single tree of the whole
// book gives, the same text the clipboard copies get from their trees.
TEST_F(DatastorageXml, WritesTheTextOfOneWholeDocumentTree)
{
    for (const bool empty : {true, false})
    {
        CItemsArray2& items = *storage.GetItemsPtr2();
        items.Clear();
        if (!empty)
            FillEveryKindBook(items);
        pugi::xml_document doc;
        pugi::xml_node root = doc.append_child("Lernfold");
        root.append_attribute("Version").set_value("1");
        storage.SaveCategoriesToXML(root, &items);
        storage.SaveQuestionsToXML(root, &items, false, false, false, false);
        std::ostringstream whole;
        doc.save(whole, "\t", pugi::format_indent, pugi::encoding_utf8);
        EXPECT_EQ(SaveBytes(items, "whole.lnf"), whole.str()) << (empty ? "empty book" : "every kind");
    }
}

TEST_F(DatastorageXml, WritesTheDocumentLayout)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    items.Clear();
    BookBuilder(items).item(qtNumerical, "N").name("N").created(100);
    CBaseItem* item = items.GetItem(0);
    item->SetID(5);
    item->SetOwnerStr("me");
    item->SetModifierStr("me");
    item->SetLayersStr("1");
    const std::string bytes = SaveBytes(items, "layout.lnf");
    const std::string expected =
        "<?xml version=\"1.0\"?>\n"
        "<Lernfold Version=\"1\">\n"
        "\t<Categories>\n"
        "\t\t<Category ID=\"0\" Parent=\"-1\" Name=\"Unfiled\">Default category</Category>\n"
        "\t</Categories>\n"
        "\t<Questions>\n"
        "\t\t<Question ID=\"5\" ID_Str=\"\" Name=\"N\" QuestionType=\"8\" CategoryID=\"0\" "
        "OwnerStr=\"me\" ModifierStr=\"me\" QuestionStatus=\"0\" CycleCounter=\"0\" "
        "FormatQAXData=\"0\" EncryptionMethod=\"0\" WhenCreated=\"100\" "
        "LastModified=\"100\" LayersStr=\"1\" ImageToDisplay=\"\" AudioFileName=\"\" "
        "DefaultQuestionGrade=\"1\" PenaltyFactor=\"0.1\">\n"
        "\t\t\t<QuestionText><![CDATA[N]]></QuestionText>\n"
        "\t\t\t<GeneralFeedback><![CDATA[]]></GeneralFeedback>\n"
        "\t\t\t<Keywords><![CDATA[]]></Keywords>\n"
        "\t\t\t<Answers>\n"
        "\t\t\t\t<CommonAnswer TimeAnswer=\"0\">\n"
        "\t\t\t\t\t<UserAnswer><![CDATA[]]></UserAnswer>\n"
        "\t\t\t\t\t<UserAnswerAdditionalInfo><![CDATA[]]></UserAnswerAdditionalInfo>\n"
        "\t\t\t\t</CommonAnswer>\n"
        "\t\t\t</Answers>\n"
        "\t\t\t<Units />\n"
        "\t\t</Question>\n"
        "\t</Questions>\n"
        "</Lernfold>\n";
    EXPECT_EQ(bytes, expected);
}

TEST_F(DatastorageXml, DeletedQuestionIsWrittenWithItsIdentityOnlyAndNotReadBack)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    items.Clear();
    BookBuilder(items).multipleChoice("Gone", {"a", "b"}, 0).essay("Kept");
    items.GetItem(0)->SetStatus(qsDeleted, true);
    SaveBytes(items, "deleted.lnf");

    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(dir.file("deleted.lnf").c_str()));
    const pugi::xml_node deleted = doc.child("Lernfold").child("Questions").child("Question");
    std::string names;
    for (const pugi::xml_attribute attribute : deleted.attributes())
        names += std::string(names.empty() ? "" : ",") + attribute.name();
    EXPECT_EQ(names,
              "ID,ID_Str,Name,QuestionType,CategoryID,OwnerStr,ModifierStr,QuestionStatus,CycleCounter,"
              "FormatQAXData,EncryptionMethod,WhenCreated,LastModified");
    EXPECT_FALSE(deleted.first_child());

    ASSERT_TRUE(storage.OpenBook(dir.file("deleted.lnf")));
    EXPECT_EQ(BookOrderNames(items), "Kept");
}

struct ExtensionCase
{
    const char* name;
    const char* written;
};

class DatastorageXmlExtension : public DatastorageXml, public ::testing::WithParamInterface<ExtensionCase>
{
};

TEST_P(DatastorageXmlExtension, AppendsTheBookExtensionUnlessTheNameHasOne)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_TRUE(storage.SaveXML(dir.file(GetParam().name), &items, true));
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{GetParam().written});
}

INSTANTIATE_TEST_SUITE_P(Names, DatastorageXmlExtension,
                         ::testing::Values(ExtensionCase{"Book", "Book.lnf"}, ExtensionCase{"x.pdb", "x.pdb"},
                                           ExtensionCase{"x.PDB", "x.PDB"},
                                           ExtensionCase{"Bio.LnF", "Bio.LnF"},
                                           ExtensionCase{"x.lnf4", "x.lnf4.lnf"},
                                           ExtensionCase{"x.bnf", "x.bnf.lnf"},
                                           ExtensionCase{"x.lnf3", "x.lnf3.lnf"}));

TEST_F(DatastorageXml, KeepNameWritesTheNameAsGiven)
{
    ASSERT_TRUE(storage.SaveXML(dir.file("copy.bnf"), storage.GetItemsPtr2(), false, true));
    EXPECT_TRUE(std::filesystem::exists(dir.file("copy.bnf")));
}

TEST_F(DatastorageXml, FailedWriteKeepsTheOldFileTheModifiedFlagAndTheStartText)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    items.SetModified(true);
    EXPECT_FALSE(storage.SaveXML(dir.file("missing-folder/book.lnf"), &items, true));
    EXPECT_TRUE(items.IsModified());
    ASSERT_FALSE(sinks.statusTexts.empty());
    EXPECT_EQ(sinks.statusTexts.back(), "Start save book...");

    // A target that cannot be replaced (a folder) stays as it was, and no temporary file is left beside it.
    std::filesystem::create_directory(dir.file("taken.lnf"));
    EXPECT_FALSE(storage.SaveXML(dir.file("taken.lnf"), &items, true));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.lnf")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    EXPECT_FALSE(storage.SaveXML("", &items, true));
}

TEST_F(DatastorageXml, SaveAndLoadShowTheirStatusTextsAndLogTheirFile)
{
    const std::string path = dir.file("status.lnf");
    ASSERT_TRUE(storage.SaveXML(path, storage.GetItemsPtr2(), true));
    ASSERT_TRUE(storage.LoadXML(path, storage.GetItemsPtr2(), 0, true, false));
    EXPECT_EQ(sinks.statusTexts, (std::vector<std::string>{"Start save book...", "Book saved.",
                                                           "Start load book...", "Book loaded."}));
    EXPECT_NE(env.LogText().find("CDataStorage::SaveXML, File name - " + path), std::string::npos);
    EXPECT_NE(env.LogText().find("CDataStorage::LoadXML, File name - " + path), std::string::npos);
}

class DatastorageXmlVersion : public DatastorageXml, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(DatastorageXmlVersion, RefusesABookWithoutAVersionOfOneOrMoreAndLeavesTheBookEmpty)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items).essay("Before");
    EXPECT_FALSE(storage.LoadXML(DataFile(GetParam()), &items, 0, true, false));
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(sinks.statusTexts, std::vector<std::string>{"Start load book..."});
}

INSTANTIATE_TEST_SUITE_P(Versions, DatastorageXmlVersion,
                         ::testing::Values("books/version_0.lnf", "books/version_abc.lnf",
                                           "books/version_missing.lnf"));

TEST_F(DatastorageXml, ReadsAnyVersionOfOneOrMore)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_TRUE(storage.LoadXML(DataFile("books/defaults.lnf"), &items, 0, true, false)); // Version="3"
    EXPECT_EQ(items.GetCount(), 3);
}

TEST_F(DatastorageXml, MissingFileOrBrokenXmlFailsAfterShowingBookLoaded)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items).essay("Stays");
    EXPECT_FALSE(storage.LoadXML(dir.file("none.lnf"), &items, 0, true, false));
    WriteFile(dir.file("broken.lnf"), "<Lernfold Version=\"1\"><Questions>");
    EXPECT_FALSE(storage.LoadXML(dir.file("broken.lnf"), &items, 0, true, false));
    EXPECT_EQ(BookOrderNames(items), "Stays"); // the book is emptied only once the document is parsed
    EXPECT_EQ(sinks.statusTexts,
              (std::vector<std::string>{"Book loaded.", "Start load book...", "Book loaded."}));
}

TEST_F(DatastorageXml, SkipsAQuestionOfAnUnknownKindBetweenTwoGoodOnes)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_TRUE(storage.LoadXML(DataFile("books/unknown_kind.lnf"), &items, 0, true, false));
    EXPECT_EQ(BookOrderNames(items), "Before,After");
    EXPECT_EQ(items.GetItem(1)->GetQuestionText(), "Third");
    EXPECT_EQ(items.GetItem(1)->GetID(), 12);
    EXPECT_FALSE(items.IsModified());
}

TEST_F(DatastorageXml, MissingAndMalformedValuesReadAsTheirDefaults)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_TRUE(storage.LoadXML(DataFile("books/defaults.lnf"), &items, 0, true, false));
    ASSERT_EQ(items.GetCount(), 3);
    const auto* choice = static_cast<CMultipleChoiceItem*>(items.GetItem(0));
    // As XML reads an attribute: the line break written as such is a blank, the blanks stay.
    EXPECT_EQ(choice->GetName(), "  Leading  blanks   and a   break ");
    EXPECT_EQ(choice->GetFormatQAXData(), 1);
    EXPECT_EQ(choice->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(choice->GetDefaultQuestionGrade(), "");
    EXPECT_EQ(choice->GetPenaltyFactor(), "");
    EXPECT_EQ(choice->GetOwnerStr(), "");
    EXPECT_EQ(choice->GetID(), 0);

    const auto* random = static_cast<CRandomShortAnswerMatchingItem*>(items.GetItem(1));
    EXPECT_EQ(random->GetNumberOfQuestionsToSelect(), 2);

    // Variables come with no answer to hold them: none are read.
    auto* calculated = static_cast<CCalculatedItem*>(items.GetItem(2));
    EXPECT_EQ(calculated->GetAnswerCount(), 0);
}

// A number followed by anything else is not a number: the attribute reads as its default, and a switch
// is set only by a value that is the integer 1.
TEST_F(DatastorageXml, NumbersWithTrailingTextReadAsTheirDefaults)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = dir.file("trailing.lnf");
    WriteFile(path,
              "<?xml version=\"1.0\"?>\n"
              "<Lernfold Version=\"1\"><Categories>"
              "<Category ID=\"4x\" Parent=\"-1\" Name=\"Bad ID\"/>"
              "<Category ID=\"3\" Parent=\"1.5\" Name=\"Three\"/>"
              "</Categories><Questions>"
              "<Question QuestionType=\"1\" Name=\"choice\" ID=\"12abc\" CategoryID=\"3\" "
              "CycleCounter=\"7 days\" FormatQAXData=\"5x\" LetMultipleAnswers=\"1 2\" Shuffle=\"1.0\"/>"
              "<Question QuestionType=\"9\" Name=\"random\" CategoryID=\"3z\" "
              "NumberOfQuestionsToSelect=\"5x\"/>"
              "<Question QuestionType=\"5\" Name=\"short\" CaseSensitivity=\"1x\"/>"
              "<Question QuestionType=\"3.0\" Name=\"skipped\"/>"
              "</Questions></Lernfold>\n");
    ASSERT_TRUE(storage.LoadXML(path, &items, 0, true, false));
    EXPECT_EQ(BookOrderNames(items), "choice,random,short");
    EXPECT_EQ(items.GetCategoryCount(), 2); // "4x" reads as 0, the chapter that always exists
    SCategoryInfo three;
    ASSERT_TRUE(items.GetCategoryInfo(3, three));
    EXPECT_EQ(three.Parent, -1);

    const auto* choice = static_cast<CMultipleChoiceItem*>(FindByName(items, "choice"));
    EXPECT_EQ(choice->GetID(), 0);
    EXPECT_EQ(choice->GetCategoryID(), 3);
    EXPECT_EQ(choice->GetCycleCounter(), 0);
    EXPECT_EQ(choice->GetFormatQAXData(), 1);
    EXPECT_EQ(choice->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(choice->GetShuffle(), 0);

    const auto* random = static_cast<CRandomShortAnswerMatchingItem*>(FindByName(items, "random"));
    EXPECT_EQ(random->GetCategoryID(), 0);
    EXPECT_EQ(random->GetNumberOfQuestionsToSelect(), 2);
    EXPECT_EQ(static_cast<CShortAnswerItem*>(FindByName(items, "short"))->GetCaseSensitivity(), 0);
}

// Values are read as XML reads an attribute (a line break or tab written as such is one blank); numbers
// may have blanks around them, as the reader always let them.
TEST_F(DatastorageXml, NumbersWithBlanksAroundThemRead)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = dir.file("padded.lnf");
    WriteFile(path, "<?xml version=\"1.0\"?>\n"
                    "<Lernfold Version=\" 1 \"><Categories>"
                    "<Category ID=\" 3\" Parent=\"\t-1\n\" Name=\"Three\"/>"
                    "</Categories><Questions>"
                    "<Question QuestionType=\" 1 \" Name=\"choice\" ID=\"12 \" CategoryID=\"\r\n3\" "
                    "Shuffle=\" 1\"/>"
                    "</Questions></Lernfold>\n");
    ASSERT_TRUE(storage.LoadXML(path, &items, 0, true, false));
    ASSERT_EQ(BookOrderNames(items), "choice");
    SCategoryInfo three;
    ASSERT_TRUE(items.GetCategoryInfo(3, three));
    EXPECT_EQ(three.Parent, -1);
    const auto* choice = static_cast<CMultipleChoiceItem*>(FindByName(items, "choice"));
    EXPECT_EQ(choice->GetID(), 12);
    EXPECT_EQ(choice->GetCategoryID(), 3);
    EXPECT_EQ(choice->GetShuffle(), 1);
}

struct SBlanksCase
{
    const char* name;
    const char* value;
    const char* chapter; // a chapter name must hold more than blanks
};

class DatastorageXmlBlanks : public DatastorageXml, public ::testing::WithParamInterface<SBlanksCase>
{
};

// What the user typed into a name is what the next opening reads, blanks included, and a second save
// writes the same bytes as the first.
TEST_P(DatastorageXmlBlanks, NamesKeepTheirBlanksOverSaveAndOpen)
{
    const std::string value = GetParam().value;
    const std::string chapterName = GetParam().chapter;
    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items).chapter(chapterName).essay("Q").name(value);
    items.GetItem(0)->SetID_Str(value);
    const std::string first = SaveBytes(items, "first.lnf");

    ASSERT_TRUE(storage.OpenBook(dir.file("first.lnf")));
    ASSERT_EQ(items.GetCount(), 1);
    EXPECT_EQ(items.GetItem(0)->GetName(), value);
    EXPECT_EQ(items.GetItem(0)->GetID_Str(), value);
    SCategoryInfo chapter;
    ASSERT_TRUE(items.GetCategoryInfo(items.GetItem(0)->GetCategoryID(), chapter));
    EXPECT_EQ(chapter.Name, chapterName);
    EXPECT_EQ(SaveBytes(items, "second.lnf"), first);
}

INSTANTIATE_TEST_SUITE_P(Names, DatastorageXmlBlanks,
                         ::testing::Values(SBlanksCase{"DoubledBlank", "a  b", "a  b"},
                                           SBlanksCase{"Leading", " a", " a"},
                                           SBlanksCase{"Trailing", "a ", "a "},
                                           SBlanksCase{"OnlyBlanks", "   ", " c  "},
                                           SBlanksCase{"TabsAndLineBreaks", "\ta \r\n b\n", "\tc\n"}),
                         [](const auto& info) { return info.param.name; });

// Attributes and texts in any order, repeated or unknown: the first of each name counts, as in a look-up
// by name, and the rest are passed over.
TEST_F(DatastorageXml, FirstOfRepeatedAttributesAndTextsCountsInAnyOrder)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = dir.file("repeated.lnf");
    WriteFile(path,
              "<?xml version=\"1.0\"?>\n"
              "<Lernfold Version=\"1\"><Questions>"
              "<Question Extra=\"x\" PenaltyFactor=\"0.5\" Name=\"first\" QuestionType=\"7\" Name=\"second\" "
              "LayersStr=\"2.1\" ID=\"41\" ID=\"42\" OwnerStr=\"me\" PenaltyFactor=\"0.9\">"
              "<Keywords>kw</Keywords><Other>o</Other><QuestionText>Q1</QuestionText>"
              "<GeneralFeedback>F</GeneralFeedback><QuestionText>Q2</QuestionText><Keywords>kw2</Keywords>"
              "</Question><Question QuestionType=\"8\" Name=\"numerical\"><Answers>"
              "<Answer Correct=\"1\" Extra=\"e\" ID=\"3\" ID=\"4\" Correct=\"0\"><Tolerance>0.5</Tolerance>"
              "<Feedback>fb</Feedback><AnswerText>42</AnswerText><AnswerText>43</AnswerText></Answer>"
              "</Answers></Question></Questions></Lernfold>\n");
    ASSERT_TRUE(storage.LoadXML(path, &items, 0, true, false));
    ASSERT_EQ(items.GetCount(), 2);
    SAnswerItem* answer = nullptr;
    ASSERT_TRUE(items.GetItem(1)->GetAnswer(0, answer));
    EXPECT_EQ(answer->ID, 3);
    EXPECT_EQ(answer->Correct, "1");
    EXPECT_EQ(answer->AnswerText, "42");
    EXPECT_EQ(answer->Feedback, "fb");
    EXPECT_EQ(answer->Tolerance, "0.5");
    const CBaseItem* item = items.GetItem(0);
    EXPECT_EQ(item->GetQuestionType(), 7);
    EXPECT_EQ(item->GetName(), "first");
    EXPECT_EQ(item->GetID(), 41);
    EXPECT_EQ(item->GetOwnerStr(), "me");
    EXPECT_EQ(item->GetLayersStr(), "2.1");
    EXPECT_EQ(item->GetPenaltyFactor(), "0.5");
    EXPECT_EQ(item->GetQuestionText(), "Q1");
    EXPECT_EQ(item->GetGeneralFeedback(), "F");
    EXPECT_EQ(item->GetKeywords(), "kw");
}

// The kinds' own attributes follow the same rule wherever they stand among the others.
TEST_F(DatastorageXml, FirstOfRepeatedKindAttributesCountsInAnyOrder)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::string path = dir.file("repeated-kinds.lnf");
    WriteFile(path,
              "<?xml version=\"1.0\"?>\n"
              "<Lernfold Version=\"1\"><Questions>"
              "<Question NumberAnswerType=\"2\" Shuffle=\"1\" QuestionType=\"1\" LetMultipleAnswers=\"0\" "
              "Name=\"choice\" Shuffle=\"0\" NumberAnswerType=\"3\" LetMultipleAnswers=\"1\"/>"
              "<Question CaseSensitivity=\"1\" QuestionType=\"5\" Name=\"short\" CaseSensitivity=\"0\"/>"
              "<Question QuestionType=\"6\" Shuffle=\"1\" Name=\"matching\" Shuffle=\"0\"/>"
              "<Question NumberOfQuestionsToSelect=\"4\" QuestionType=\"9\" Name=\"random\" "
              "NumberOfQuestionsToSelect=\"6\"/>"
              "</Questions></Lernfold>\n");
    ASSERT_TRUE(storage.LoadXML(path, &items, 0, true, false));
    const auto* choice = static_cast<CMultipleChoiceItem*>(FindByName(items, "choice"));
    EXPECT_EQ(choice->GetShuffle(), 1);
    EXPECT_EQ(choice->GetNumberAnswerType(), 2);
    EXPECT_EQ(choice->GetLetMultipleAnswers(), 0);
    EXPECT_EQ(static_cast<CShortAnswerItem*>(FindByName(items, "short"))->GetCaseSensitivity(), 1);
    EXPECT_EQ(static_cast<CMatchingItem*>(FindByName(items, "matching"))->GetShuffle(), 1);
    EXPECT_EQ(static_cast<CRandomShortAnswerMatchingItem*>(FindByName(items, "random"))
                  ->GetNumberOfQuestionsToSelect(),
              4);
}

TEST_F(DatastorageXml, LineEndsInsideTextsReachTheItemUnchanged)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items).essay("one\r\ntwo\rthree\nfour");
    SaveBytes(items, "lines.lnf");
    ASSERT_TRUE(storage.LoadXML(dir.file("lines.lnf"), &items, 0, true, false));
    EXPECT_EQ(items.GetItem(0)->GetQuestionText(), "one\r\ntwo\rthree\nfour");
}

TEST_F(DatastorageXml, ChaptersOnlyReadsNoQuestions)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    ASSERT_TRUE(storage.LoadXML(DataFile("books/merge_source.lnf"), &items, 0, true, true));
    EXPECT_EQ(items.GetCount(), 0);
    EXPECT_EQ(items.GetCategoryCount(), 3);
}

TEST_F(DatastorageXml, PastedQuestionsGoInOrderAtThePositionWithUndoEntries)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    BookBuilder(items).essay("A").essay("B").essay("C").essay("D");
    pugi::xml_document doc;
    ASSERT_TRUE(
        doc.load_string("<Lernfold Version=\"1\"><Questions>"
                        "<Question QuestionType=\"3\" Name=\"Gone\" QuestionStatus=\"2\"/>"
                        "<Question QuestionType=\"3\" Name=\"P1\" CategoryID=\"4\" CategoryName=\"New\"/>"
                        "<Question QuestionType=\"3\" Name=\"P2\"/>"
                        "</Questions></Lernfold>"));
    const pugi::xml_node root = doc.child("Lernfold");
    ASSERT_TRUE(
        storage.LoadQuestionsFromXML(root, &items, /*version=*/1, /*categoryOffset=*/0, /*insertPosition=*/3,
                                     /*fixedCategory=*/false, /*fixedCategoryID=*/0, /*withUndo=*/true,
                                     /*mapByName=*/true, /*selectFirst=*/true));
    EXPECT_EQ(BookOrderNames(items), "A,B,C,P1,P2,D");
    // The deleted-for-good question was never inserted, so the first pasted one is remembered.
    ASSERT_NE(items.GetKeptItem(), nullptr);
    EXPECT_EQ(items.GetKeptItem()->GetName(), "P1");
    EXPECT_EQ(items.GetCategoryName(items.GetKeptItem()->GetCategoryID()), "New");
    EXPECT_EQ(items.GetBackupItem().GetCount(), 2);
}

TEST_F(DatastorageXml, ItemsReadGetNewIdsFromTheOpenBookSequence)
{
    CItemsArray2& items = *storage.GetItemsPtr2();
    const std::uint32_t before = items.GetLastItemID();
    ASSERT_TRUE(storage.LoadXML(DataFile("books/unknown_kind.lnf"), &items, 0, true, false));
    // Two questions read: the collection handed out two IDs, whatever IDs the file gives them.
    EXPECT_GE(items.GetLastItemID(), before + 2);
    EXPECT_EQ(items.GetItem(0)->GetID(), 10);
}

} // namespace
