// The handheld database book: round trips through a file, what the format cannot hold, the header the
// writer produces, refusal of broken files, appending, the deleted-items file beside every write, and the
// Windows-1252 texts on disk.
#include "model/storage/Palmdatabase.h"
#include "model/support/Folders.h"

#include "model/collection/Deleteditemsarray.h"
#include "model/storage/Windows1252.h"
#include "model/support/Registry.h"
#include "platform/richtext/RichTextOps.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

using lf::test::AnswerOf;
using lf::test::BookBuilder;
using lf::test::BookEnvironment;
using lf::test::ChapterNames;
using lf::test::ReadFile;
using lf::test::TempDir;
using lf::test::WriteFile;

std::uint32_t Be32(const std::string& bytes, std::size_t pos)
{
    std::uint32_t value = 0;
    for (std::size_t k = 0; k < 4; ++k)
        value = (value << 8) | static_cast<unsigned char>(bytes[pos + k]);
    return value;
}

std::uint16_t Be16(const std::string& bytes, std::size_t pos)
{
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[pos]) << 8) |
                                      static_cast<unsigned char>(bytes[pos + 1]));
}

void PutBe32(std::string& bytes, std::size_t pos, std::uint32_t value)
{
    for (std::size_t k = 0; k < 4; ++k)
        bytes[pos + k] = static_cast<char>((value >> (24 - 8 * k)) & 0xFF);
}

void PutBe16(std::string& bytes, std::size_t pos, std::uint16_t value)
{
    bytes[pos] = static_cast<char>(value >> 8);
    bytes[pos + 1] = static_cast<char>(value & 0xFF);
}

// Where record i's entry and the record itself lie in a written file.
std::size_t EntryAt(std::size_t i)
{
    return kPdbHeaderSize + kPdbRecordEntrySize * i;
}

std::size_t RecordAt(const std::string& bytes, std::size_t i)
{
    return Be32(bytes, EntryAt(i));
}

// The category name field of the AppInfo block in a written file.
std::string AppInfoName(const std::string& bytes, std::size_t index)
{
    const std::size_t at = Be32(bytes, 52) + 2 + 16 * index;
    return std::string(bytes.c_str() + at);
}

class PalmDatabase : public ::testing::Test
{
protected:
    PalmDatabase() { env.system.utcSeconds = 1'700'000'000; }

    // Writes the book as "name" in the scratch folder and returns the full path.
    std::string Save(CItemsArray2& items, const std::string& name, SPalmWriteContext context = {})
    {
        const std::string path = dir.file(name);
        EXPECT_TRUE(SavePalmDatabase(path, items, context));
        return path;
    }

    static std::unique_ptr<CItemsArray2> EmptyBook()
    {
        auto items = std::make_unique<CItemsArray2>();
        items->Clear();
        return items;
    }

    BookEnvironment env;
    TempDir dir;
};

// --- Round trip ---

TEST_F(PalmDatabase, BookSavedAndReadBackKeepsQuestionsAnswersChaptersAndCorrectMarks)
{
    BookBuilder builder;
    builder.chapter("Biology")
        .multipleChoice("Which organelle makes energy?", {"Mitochondrion", "Nucleus", "Ribosome"}, 0)
        .layer("1.2");
    CBaseItem* first = builder.last();
    first->SetID(4711);
    first->SetOwnerStr("Anna");
    first->SetModifierStr("Bernd");
    first->SetKeywords("cell");
    first->SetGeneralFeedback("It burns sugar.");
    first->SetWhenCreated(1'600'000'000);
    first->SetLastModified(1'650'000'000);
    AnswerOf(first, 2)->Correct = "1"; // two right answers
    builder.chapter("Chemistry").multipleChoice("Symbol of gold?", {"Au", "Ag"}, 0).layer("1.10");
    builder.unfiled().multipleChoice("Unfiled question", {"yes", "no"}, 1).layer("");
    auto book = builder.build();

    const std::string path = Save(*book, "Science.pdb");
    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));

    EXPECT_EQ(ChapterNames(*read), (std::vector<std::string>{"Unfiled", "Trash", "Biology", "Chemistry"}));
    ASSERT_EQ(read->GetCount(), 3);
    // Records come back in chapter-number order, empty numbers last.
    CBaseItem* q = read->GetItem(0);
    EXPECT_EQ(q->GetQuestionType(), qtMultipleChoice);
    EXPECT_EQ(q->GetName(), "No name");
    EXPECT_EQ(q->GetID(), 4711);
    EXPECT_EQ(q->GetQuestionText(), "Which organelle makes energy?");
    EXPECT_EQ(q->GetLayersStr(), "1.2");
    EXPECT_EQ(q->GetOwnerStr(), "Anna");
    EXPECT_EQ(q->GetModifierStr(), "Bernd");
    EXPECT_EQ(q->GetKeywords(), "cell");
    EXPECT_EQ(q->GetGeneralFeedback(), "It burns sugar.");
    EXPECT_EQ(q->GetWhenCreated(), 1'600'000'000);
    EXPECT_EQ(q->GetLastModified(), 1'650'000'000);
    EXPECT_EQ(q->GetFormatQAXData(), 1);
    EXPECT_EQ(read->GetCategoryName(q->GetCategoryID()), "Biology");
    ASSERT_EQ(q->GetAnswerCount(), 3);
    const char* expected[][2] = {{"Mitochondrion", "1"}, {"Nucleus", "0"}, {"Ribosome", "1"}};
    for (std::int32_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(AnswerOf(q, i)->ID, i + 1);
        EXPECT_EQ(AnswerOf(q, i)->AnswerText, expected[i][0]);
        EXPECT_EQ(AnswerOf(q, i)->Correct, expected[i][1]);
    }
    EXPECT_EQ(read->GetItem(1)->GetQuestionText(), "Symbol of gold?");
    EXPECT_EQ(read->GetCategoryName(read->GetItem(1)->GetCategoryID()), "Chemistry");
    EXPECT_EQ(read->GetItem(2)->GetCategoryID(), 0);
    EXPECT_EQ(AnswerOf(read->GetItem(2), 1)->Correct, "1");
    // The writer leaves the collection alone.
    EXPECT_FALSE(book->IsModified());
}

TEST_F(PalmDatabase, AccentedTextAndEuroSurviveTheWindows1252Texts)
{
    BookBuilder builder;
    builder.chapter("Größen").multipleChoice("Was kostet ein Café? Ça coûte 3 €", {"ñandú", "œuvre „quoted“"},
                                             1);
    auto book = builder.build();
    const std::string path = Save(*book, "Euro.pdb");

    const std::string bytes = ReadFile(path);
    EXPECT_NE(bytes.find("\xC7"
                         "a co\xFB"
                         "te 3 \x80"),
              std::string::npos)
        << "texts are Windows-1252 on disk";

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    ASSERT_EQ(read->GetCount(), 1);
    EXPECT_EQ(read->GetItem(0)->GetQuestionText(), "Was kostet ein Café? Ça coûte 3 €");
    EXPECT_EQ(AnswerOf(read->GetItem(0), 0)->AnswerText, "ñandú");
    EXPECT_EQ(AnswerOf(read->GetItem(0), 1)->AnswerText, "œuvre „quoted“");
    EXPECT_EQ(ChapterNames(*read).back(), "Größen");
}

TEST_F(PalmDatabase, TrashedQuestionIsWrittenToCategoryOneAndReadIntoAChapterNamedTrash)
{
    BookBuilder builder;
    builder.chapter("Bio").multipleChoice("Kept", {"a"}, 0);
    builder.multipleChoice("Thrown away", {"b"}, 0).trashed();
    auto book = builder.build();
    const std::string path = Save(*book, "Trash.pdb");

    const std::string bytes = ReadFile(path);
    EXPECT_EQ(static_cast<unsigned char>(bytes[EntryAt(1) + 4]), 1) << "attribute byte = category index";
    EXPECT_EQ(Be16(bytes, RecordAt(bytes, 1) + 38), 1);

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    ASSERT_EQ(read->GetCount(), 2);
    CBaseItem* trashed = read->GetItem(1);
    EXPECT_EQ(trashed->GetCategoryID(), 1);
    EXPECT_EQ(trashed->GetQuestionStatus(), 0u) << "an ordinary chapter, not the Trash";
    SCategoryInfo info;
    ASSERT_TRUE(read->GetCategoryInfo(1, info));
    EXPECT_EQ(info.Name, "Trash");
    EXPECT_EQ(info.Description, "Trash");
}

// --- What the format cannot hold ---

TEST_F(PalmDatabase, OnlyMultipleChoiceQuestionsThatAreNotDeletedForGoodAreWritten)
{
    BookBuilder builder;
    builder.trueFalse("Is water wet?", true)
        .multipleChoice("Kept", {"a", "b"}, 0)
        .essay("Essay")
        .description("Description")
        .matching("Match", {{"x", "y"}})
        .multipleChoice("Deleted for good", {"a"}, 0);
    builder.last()->SetStatus(qsDeleted, true);
    auto book = builder.build();
    const std::string path = Save(*book, "Kinds.pdb");

    EXPECT_EQ(Be16(ReadFile(path), 76), 1);
    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    ASSERT_EQ(read->GetCount(), 1);
    EXPECT_EQ(read->GetItem(0)->GetQuestionText(), "Kept");
    EXPECT_EQ(read->GetItem(0)->GetName(), "No name");
}

TEST_F(PalmDatabase, FieldsOutsideTheRecordAreNotCarried)
{
    BookBuilder builder;
    builder.multipleChoice("Q", {"right", "wrong"}, 0).name("Named").marked().cycles(4).answered(true);
    CBaseItem* item = builder.last();
    item->SetID_Str("ext-1");
    AnswerOf(item, 0)->Feedback = "Well done";
    AnswerOf(item, 1)->Correct = "0.5";
    auto book = builder.build();

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(Save(*book, "Lost.pdb"), *read, 0, true, 3));
    CBaseItem* back = read->GetItem(0);
    EXPECT_EQ(back->GetName(), "No name");
    EXPECT_FALSE(back->IsMarked());
    EXPECT_EQ(back->GetCycleCounter(), 0);
    EXPECT_EQ(back->GetID_Str(), "");
    EXPECT_FALSE(back->IsAnswered()) << "the user's choices are not written";
    EXPECT_EQ(AnswerOf(back, 0)->Feedback, "");
    EXPECT_EQ(AnswerOf(back, 1)->Correct, "0") << "only whole marks: a fraction is not correct";
}

TEST_F(PalmDatabase, AnswersBeyondFiveCarriedOnesAreDroppedAndBlankOnesCarriedOnlyWhenCorrect)
{
    BookBuilder builder;
    builder.multipleChoice("Seven answers", {"a1", "  ", "a3", "", "a5", "a6", "a7"}, -1);
    CBaseItem* item = builder.last();
    AnswerOf(item, 1)->Correct = "0";      // blank and wrong: not carried
    AnswerOf(item, 3)->Correct = " TRUE "; // empty text but correct: carried as an empty correct answer
    AnswerOf(item, 4)->Correct = "1";
    auto book = builder.build();

    CItemsArray image;
    ItemsToRecords(*book, image);
    ASSERT_EQ(image.GetCount(), 1);
    const SQaxStruct& record = *image.GetRecord(0);
    const char* carried[] = {"a1", "a3", "", "a5", "a6"};
    for (int i = 0; i < kQaxAnswerCount; ++i)
        EXPECT_EQ(record.Answer(i), carried[i]) << "answer slot " << i;
    EXPECT_EQ(record.CorrectBits(), 0b01100u);
    EXPECT_EQ(record.UserBits(), 0u);

    // On reading, an empty answer text makes no answer: the empty correct answer does not come back.
    const std::string path = Save(*book, "Seven.pdb");
    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    CBaseItem* back = read->GetItem(0);
    ASSERT_EQ(back->GetAnswerCount(), 4);
    EXPECT_EQ(AnswerOf(back, 2)->AnswerText, "a5");
    EXPECT_EQ(AnswerOf(back, 2)->ID, 4);
    EXPECT_EQ(AnswerOf(back, 2)->Correct, "1");
    EXPECT_EQ(AnswerOf(back, 3)->AnswerText, "a6");
}

TEST_F(PalmDatabase, OnlyThirteenChaptersAreCarriedAndQuestionsOfTheOthersGoToUnfiled)
{
    BookBuilder builder;
    for (int c = 1; c <= 15; ++c)
        builder.chapter("Chapter with a long name " + std::to_string(c))
            .multipleChoice("Q" + std::to_string(c), {"a"}, 0)
            .layer(std::to_string(c));
    auto book = builder.build();
    const std::string path = Save(*book, "Fifteen.pdb");

    const std::string bytes = ReadFile(path);
    EXPECT_EQ(AppInfoName(bytes, 0), "Unfiled");
    EXPECT_EQ(AppInfoName(bytes, 1), "Trash");
    EXPECT_EQ(AppInfoName(bytes, 2), "Chapter with a ") << "names are cut to 15 characters";
    EXPECT_EQ(AppInfoName(bytes, 14), "Chapter with a ");
    EXPECT_EQ(AppInfoName(bytes, 15), "");

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    ASSERT_EQ(read->GetCount(), 15);
    EXPECT_EQ(read->GetCategoryCount(), 15); // Unfiled, Trash and thirteen chapters
    for (std::int32_t i = 0; i < 15; ++i)
    {
        const CBaseItem* q = read->GetItem(i);
        const int chapter = std::stoi(q->GetLayersStr());
        EXPECT_EQ(q->GetCategoryID(), chapter <= 13 ? chapter + 1 : 0) << q->GetQuestionText();
    }
}

TEST_F(PalmDatabase, ChaptersAreMatchedOnTheirWholeIDs)
{
    // 300 read as a signed byte is 44: a question of chapter 300 must not land in chapter 44.
    auto book = EmptyBook();
    book->AddCategory(SCategoryInfo{300, -1, "Three hundred", ""}, false, false);
    book->AddCategory(SCategoryInfo{44, -1, "Forty-four", ""}, false, false);
    BookBuilder builder(*book);
    builder.chapter("Three hundred").multipleChoice("In 300", {"a"}, 0).layer("1");
    builder.chapter("Forty-four").multipleChoice("In 44", {"a"}, 0).layer("2");

    CItemsArray image;
    ItemsToRecords(*book, image);
    ASSERT_EQ(image.GetCount(), 2);
    EXPECT_EQ(image.GetRecord(0)->Category, 2);
    EXPECT_EQ(image.GetRecord(1)->Category, 3);

    const std::string path = Save(*book, "Ids.pdb");
    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    EXPECT_EQ(read->GetCategoryName(read->GetItem(0)->GetCategoryID()), "Three hundred");
    EXPECT_EQ(read->GetCategoryName(read->GetItem(1)->GetCategoryID()), "Forty-four");
}

// --- The header ---

TEST_F(PalmDatabase, HeaderShowsTheFixedFieldsTheCallersTypeAndTheLayoutOffsets)
{
    BookBuilder builder;
    builder.chapter("A").multipleChoice("One", {"a"}, 0).multipleChoice("Two", {"b", "c"}, 1);
    auto book = builder.build();
    SPalmWriteContext context;
    context.typeCode = "Test";
    const std::string path = Save(*book, "Header.pdb", context);
    const std::string bytes = ReadFile(path);

    EXPECT_EQ(std::string(bytes.c_str()), "Header");
    EXPECT_EQ(bytes.substr(6, 26), std::string(26, '\0')) << "NUL-padded";
    EXPECT_EQ(Be16(bytes, 32), 8);
    EXPECT_EQ(Be16(bytes, 34), 0);
    const std::uint32_t date = static_cast<std::uint32_t>(1'700'000'000 + kPdbDateOffset);
    EXPECT_EQ(Be32(bytes, 36), date);
    EXPECT_EQ(Be32(bytes, 40), date);
    EXPECT_EQ(Be32(bytes, 44), 0u);
    EXPECT_EQ(Be32(bytes, 52), 80u + 8u * 2u);
    EXPECT_EQ(Be32(bytes, 56), 0u);
    EXPECT_EQ(bytes.substr(60, 4), "Test");
    EXPECT_EQ(bytes.substr(64, 4), "DIDU");
    EXPECT_EQ(Be16(bytes, 76), 2);
    EXPECT_EQ(bytes.substr(EntryAt(2), 2), "\xFF\xFF");
    // Records follow the two blocks back to back; each is 57 bytes plus its texts.
    const std::size_t first = RecordAt(bytes, 0);
    EXPECT_EQ(first, 632u + 8u * 2u);
    CItemsArray image;
    ItemsToRecords(*book, image);
    std::size_t firstLength = 57;
    for (const std::string& text : image.GetRecord(0)->Texts)
        firstLength += text.size();
    EXPECT_EQ(RecordAt(bytes, 1), first + firstLength);
    EXPECT_EQ(static_cast<unsigned char>(bytes[EntryAt(0) + 4]), 2) << "attribute byte = category index";
}

TEST_F(PalmDatabase, DatabaseNameIsTheBaseNameCutTo31Windows1252Characters)
{
    std::string longName;
    for (int i = 0; i < 40; ++i)
        longName += "é";
    auto book = BookBuilder().multipleChoice("Q", {"a"}, 0).build();
    const std::string path = Save(*book, longName + "€.pdb");
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 32), std::string(31, '\xE9') + '\0');

    CItemsArray image;
    ASSERT_TRUE(ReadPalmDatabase(path, image, 3));
    EXPECT_EQ(image.GetDatabaseName(), longName.substr(0, 62));

    const std::string other = Save(*book, "Prüfung 日本 €.lnf3", SPalmWriteContext{});
    ASSERT_TRUE(ReadPalmDatabase(other + ".lnf", image, 3));
    EXPECT_EQ(image.GetDatabaseName(), "Prüfung ?? €.lnf3") << "only the last extension goes";
}

TEST_F(PalmDatabase, RecordHoldsOnlyTheCarriedFieldsInItsFixedPartAndTextOrder)
{
    BookBuilder builder;
    builder.chapter("A").multipleChoice("Question", {"a1", "a2", "a3"}, 1).layer("1.1");
    CBaseItem* item = builder.last();
    item->SetID(77);
    item->SetWhenCreated(1'500'000'000);
    item->SetLastModified(1'600'000'000);
    item->SetOwnerStr("own");
    item->SetModifierStr("mod");
    item->SetKeywords("key");
    item->SetGeneralFeedback("why");
    AnswerOf(item, 2)->Correct = "1";
    auto book = builder.build();
    const std::string bytes = ReadFile(Save(*book, "Fixed.pdb"));

    EXPECT_EQ(Be32(bytes, 48), 0u) << "modification number";
    EXPECT_EQ(Be32(bytes, 68), 0u) << "unique-ID seed";
    EXPECT_EQ(Be32(bytes, 72), 0u) << "next record list";
    EXPECT_EQ(bytes.substr(EntryAt(0) + 5, 3), std::string(3, '\0')) << "unique ID of the entry";

    const std::size_t at = RecordAt(bytes, 0);
    EXPECT_EQ(Be32(bytes, at + 0), 77u);
    EXPECT_EQ(Be32(bytes, at + 8), 1'500'000'000u);
    EXPECT_EQ(Be32(bytes, at + 12), 1'600'000'000u);
    EXPECT_EQ(bytes.substr(at + 16, 14), std::string(14, '\0')) << "fields this program does not use";
    EXPECT_EQ(Be32(bytes, at + 30), 0b110u << 8) << "correct answers 2 and 3, no user answers";
    EXPECT_EQ(Be32(bytes, at + 34), 0u);
    EXPECT_EQ(Be16(bytes, at + 38), 2);
    EXPECT_EQ(Be16(bytes, at + 40), 0);
    EXPECT_EQ(Be16(bytes, at + 42), 0);
    static const char kTexts[] = "own\0mod\0\0key\0\0001.1\0Question\0a1\0a2\0a3\0\0\0why";
    EXPECT_EQ(bytes.substr(at + kQaxFixedSize), std::string(kTexts, sizeof kTexts))
        << "13 texts, each with its zero byte";
}

TEST_F(PalmDatabase, RecordsFollowChapterNumbersOnWritingAndOnReading)
{
    auto book = BookBuilder()
                    .chapter("A")
                    .multipleChoice("two", {"a"}, 0)
                    .layer("2")
                    .unfiled()
                    .multipleChoice("none", {"a"}, 0)
                    .layer("")
                    .chapter("B")
                    .multipleChoice("one-ten", {"a"}, 0)
                    .layer("1.10")
                    .multipleChoice("one-two", {"a"}, 0)
                    .layer("1.2")
                    .build();
    const std::string path = Save(*book, "Order.pdb");
    std::string bytes = ReadFile(path);
    const auto at = [&](const std::string& question)
    { return bytes.find(std::string(1, '\0') + question + '\0'); };
    EXPECT_LT(at("one-two"), at("one-ten"));
    EXPECT_LT(at("one-ten"), at("two"));
    EXPECT_LT(at("two"), at("none")) << "an empty number comes last";
    EXPECT_EQ(static_cast<unsigned char>(bytes[EntryAt(0) + 4]), 3) << "the entry belongs to its record";

    // The reader sorts on its own: renumber the first record in the file from 1.2 to 3.2.
    const std::size_t layer = bytes.find(std::string("1.2\0one-two", 11));
    ASSERT_NE(layer, std::string::npos);
    bytes[layer] = '3';
    WriteFile(path, bytes);
    CItemsArray image;
    ASSERT_TRUE(ReadPalmDatabase(path, image, 3));
    const char* order[] = {"one-ten", "two", "one-two", "none"};
    const std::uint8_t categories[] = {3, 2, 3, 0};
    ASSERT_EQ(image.GetCount(), 4);
    for (std::int32_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(image.GetRecord(i)->Texts[SQaxStruct::txQuestion], order[i]);
        EXPECT_EQ(image.GetUniqueID(i)->Attributes, categories[i]) << "record-list entries travel along";
    }
    EXPECT_FALSE(image.IsModified());
    EXPECT_EQ(image.GetFilteredCount(), 4) << "filtered for the phase given";
}

TEST_F(PalmDatabase, ImageFlagBitsAreClearedOnReadingAndTheOtherBitsKept)
{
    auto book = BookBuilder().multipleChoice("Q", {"a", "b"}, 1).build();
    const std::string path = Save(*book, "Flags.pdb");
    std::string bytes = ReadFile(path);
    const std::size_t at = RecordAt(bytes, 0);
    PutBe32(bytes, at + 30, (0b10u << 8) | 0b01u); // the handheld user chose the first answer
    PutBe32(bytes, at + 34, kQaxTransientFlags | kQaxFlagMarked | kQaxFlagSelected);
    WriteFile(path, bytes);

    CItemsArray image;
    ASSERT_TRUE(ReadPalmDatabase(path, image, 3));
    ASSERT_EQ(image.GetCount(), 1);
    EXPECT_EQ(image.GetRecord(0)->Flags, kQaxFlagMarked | kQaxFlagSelected);
    EXPECT_EQ(image.GetRecord(0)->UserBits(), 0b01u);
    EXPECT_EQ(image.GetRecord(0)->CorrectBits(), 0b10u);
}

TEST_F(PalmDatabase, ReaderTakesCategoryFifteenAndWithoutAPhaseStillReads)
{
    auto book = BookBuilder().multipleChoice("Last category", {"a"}, 0).build();
    const std::string path = Save(*book, "Fifteen.pdb");
    std::string bytes = ReadFile(path);
    bytes.replace(Be32(bytes, 52) + 2 + 16 * 15, 5, "Extra");
    PutBe16(bytes, RecordAt(bytes, 0) + 38, 15);
    WriteFile(path, bytes);

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 0xFF));
    EXPECT_EQ(ChapterNames(*read), (std::vector<std::string>{"Unfiled", "Trash", "Extra"}));
    ASSERT_EQ(read->GetCount(), 1);
    EXPECT_EQ(read->GetItem(0)->GetCategoryID(), 15);
    EXPECT_NE(env.LogText().find("CItemsArray::SetFilterQuestion() - m_Preferences.currentMode == eamNone"),
              std::string::npos);
}

TEST_F(PalmDatabase, DatabaseWithoutAnAppInfoBlockReadsItsRecordsUnfiled)
{
    auto book = BookBuilder().chapter("Bio").multipleChoice("Q", {"a"}, 0).build();
    const std::string path = Save(*book, "NoAppInfo.pdb");
    std::string bytes = ReadFile(path);
    PutBe32(bytes, 52, 0);
    WriteFile(path, bytes);

    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *read, 0, true, 3));
    EXPECT_EQ(ChapterNames(*read), (std::vector<std::string>{"Unfiled", "Trash"}))
        << "no names are made up from the header's bytes";
    ASSERT_EQ(read->GetCount(), 1);
    EXPECT_EQ(read->GetItem(0)->GetCategoryID(), 0) << "category 2 has no chapter";
}

// --- Extension rule and plain texts ---

struct SNameCase
{
    const char* name;
    const char* given;
    bool keepName;
    const char* written;
};

class BookTargetName : public ::testing::TestWithParam<SNameCase>
{
};

TEST_P(BookTargetName, FollowsTheExtensionRule)
{
    EXPECT_EQ(BookFileNameToWrite(GetParam().given, GetParam().keepName), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Names, BookTargetName,
                         ::testing::Values(SNameCase{"Pdb", "/b/Bio.pdb", false, "/b/Bio.pdb"},
                                           SNameCase{"UpperPdb", "/b/Bio.PDB", false, "/b/Bio.PDB"},
                                           SNameCase{"Lnf", "/b/Bio.lnf", false, "/b/Bio.lnf"},
                                           SNameCase{"Lnf3", "/b/Bio.lnf3", false, "/b/Bio.lnf3.lnf"},
                                           SNameCase{"Other", "/b/Bio.txt", false, "/b/Bio.txt.lnf"},
                                           SNameCase{"FourCharacters", ".pdb", false, ".pdb.lnf"},
                                           SNameCase{"Kept", "/b/Bio.lnf3", true, "/b/Bio.lnf3"}),
                         [](const ::testing::TestParamInfo<SNameCase>& info) { return info.param.name; });

TEST_F(PalmDatabase, PdbWithAHiddenViewGetsPlainTextsWhileLnf3KeepsTheStoredTexts)
{
    std::string stored = "Tom & Jerry";
    ASSERT_TRUE(NormalizeTextToXML(stored));
    BookBuilder builder;
    builder.multipleChoice("Q", {"a"}, 0);
    builder.last()->SetQuestionText(stored);
    builder.last()->SetOwnerStr("Ann\rBee");
    auto book = builder.build();

    lf::RichDocument view;
    SPalmWriteContext context;
    context.hiddenView = &view;
    auto read = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(Save(*book, "Plain.pdb", context), *read, 0, true, 3));
    EXPECT_EQ(read->GetItem(0)->GetQuestionText(), "Tom & Jerry");
    EXPECT_EQ(read->GetItem(0)->GetOwnerStr(), "Ann Bee");

    Save(*book, "Stored.lnf3", context);
    ASSERT_TRUE(LoadPalmDatabase(dir.file("Stored.lnf3.lnf"), *read, 0, true, 3));
    EXPECT_EQ(read->GetItem(0)->GetQuestionText(), stored);
    EXPECT_EQ(read->GetItem(0)->GetOwnerStr(), "Ann\rBee");
}

TEST_F(PalmDatabase, PlainTextsTurnLineEndsIntoLineFeedsAndBlanks)
{
    std::string stored = "Line one\r\nLine two";
    ASSERT_TRUE(NormalizeTextToXML(stored));
    BookBuilder builder;
    builder.multipleChoice("Q", {"a"}, 0);
    builder.last()->SetQuestionText(stored);
    builder.last()->SetOwnerStr("Ann\r\nBee");
    auto book = builder.build();

    lf::RichDocument view;
    SPalmWriteContext context;
    context.hiddenView = &view;
    std::string plain;
    GetPlainTextFromXML(stored, view, plain, false);
    ASSERT_NE(plain.find('\r'), std::string::npos) << "the stored text has a line end";
    const std::string bytes = ReadFile(Save(*book, "Lines.pdb", context));
    EXPECT_EQ(bytes.find('\r'), std::string::npos);
    EXPECT_NE(bytes.find(std::string("Ann \nBee\0", 9)), std::string::npos);
    EXPECT_NE(bytes.find(std::string("Line one\n\nLine two\0", 19)), std::string::npos);
}

// --- Failed writes ---

TEST_F(PalmDatabase, WriteThatCannotBeMadeFailsAndLeavesNoFile)
{
    auto book = BookBuilder().multipleChoice("Q", {"a"}, 0).build();
    EXPECT_FALSE(SavePalmDatabase("", *book, {}));
    const std::string path = dir.file("missing/folder/Bio.pdb");
    EXPECT_FALSE(SavePalmDatabase(path, *book, {}));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_NE(env.LogText().find("CDataStorage::SavePDB, File name - " + path), std::string::npos);
}

TEST_F(PalmDatabase, FailedWriteLeavesTheOldFileUntouched)
{
    // A folder in the target's place makes the final rename fail after the new file was built.
    const std::string path = dir.file("Busy.pdb");
    std::filesystem::create_directories(path + "/inside");
    auto book = BookBuilder().multipleChoice("Q", {"a"}, 0).build();
    EXPECT_FALSE(SavePalmDatabase(path, *book, {}));
    EXPECT_TRUE(std::filesystem::is_directory(path + "/inside"));
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()),
        1)
        << "no temporary file is left beside the target";
}

// --- Broken files ---

struct SBrokenCase
{
    const char* name;
    void (*damage)(std::string& bytes);
};

class PalmBrokenFile : public ::testing::TestWithParam<SBrokenCase>
{
protected:
    BookEnvironment env;
    TempDir dir;
};

TEST_P(PalmBrokenFile, IsRefusedAndTheBookStaysAsItWas)
{
    auto source = BookBuilder()
                      .chapter("Bio")
                      .multipleChoice("First", {"a", "b"}, 0)
                      .layer("1")
                      .multipleChoice("Second", {"c"}, 0)
                      .layer("2")
                      .build();
    const std::string path = dir.file("Broken.pdb");
    ASSERT_TRUE(SavePalmDatabase(path, *source, {}));
    std::string bytes = ReadFile(path);
    GetParam().damage(bytes);
    WriteFile(path, bytes);

    auto book = BookBuilder().chapter("Mine").multipleChoice("Untouched", {"x"}, 0).build();
    EXPECT_FALSE(LoadPalmDatabase(path, *book, 0, true, 3));
    ASSERT_EQ(book->GetCount(), 1);
    EXPECT_EQ(book->GetItem(0)->GetQuestionText(), "Untouched");
    EXPECT_EQ(ChapterNames(*book), (std::vector<std::string>{"Unfiled", "Mine"}));
    EXPECT_FALSE(book->IsModified());

    auto appendTo = BookBuilder().multipleChoice("Also untouched", {"x"}, 0).build();
    EXPECT_FALSE(LoadPalmDatabase(path, *appendTo, 0, false, 3));
    EXPECT_EQ(appendTo->GetCount(), 1);
    EXPECT_EQ(appendTo->GetCategoryCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Damage, PalmBrokenFile,
    ::testing::Values(
        SBrokenCase{"EmptyFile", [](std::string& b) { b.clear(); }},
        SBrokenCase{"TruncatedHeader", [](std::string& b) { b.resize(60); }},
        SBrokenCase{"RecordListPastTheEnd", [](std::string& b) { PutBe16(b, 76, 5000); }},
        SBrokenCase{"AppInfoPastTheEnd",
                    [](std::string& b) { PutBe32(b, 52, static_cast<std::uint32_t>(b.size()) - 10); }},
        SBrokenCase{"RecordOffsetPastTheEnd", [](std::string& b)
                    { PutBe32(b, EntryAt(1), static_cast<std::uint32_t>(b.size()) + 100); }},
        SBrokenCase{"RecordOffsetZero", [](std::string& b) { PutBe32(b, EntryAt(0), 0); }},
        SBrokenCase{"RecordOffsetsOutOfOrder",
                    [](std::string& b) { PutBe32(b, EntryAt(1), Be32(b, EntryAt(0)) - 1); }},
        SBrokenCase{"RecordShorterThanItsFixedPart", [](std::string& b) { b.resize(RecordAt(b, 1) + 30); }},
        SBrokenCase{"CategoryOutsideTheRange", [](std::string& b) { PutBe16(b, RecordAt(b, 1) + 38, 16); }}),
    [](const ::testing::TestParamInfo<SBrokenCase>& info) { return info.param.name; });

TEST_F(PalmDatabase, CategoryErrorIsLogged)
{
    auto source = BookBuilder().multipleChoice("Q", {"a"}, 0).build();
    const std::string path = Save(*source, "Cat.pdb");
    std::string bytes = ReadFile(path);
    PutBe16(bytes, RecordAt(bytes, 0) + 38, 99);
    WriteFile(path, bytes);
    auto book = EmptyBook();
    EXPECT_FALSE(LoadPalmDatabase(path, *book, 0, true, 3));
    EXPECT_NE(env.LogText().find("SQaxStruct::decompressQAX - Category ERROR Cat = 99"), std::string::npos);
}

TEST_F(PalmDatabase, TextWithoutItsTerminatingZeroEndsAtTheRecordsEnd)
{
    auto source = BookBuilder().multipleChoice("A question cut short", {"a"}, 0).build();
    source->GetItem(0)->SetOwnerStr("");
    source->GetItem(0)->SetModifierStr("");
    const std::string path = Save(*source, "Cut.pdb");
    std::string bytes = ReadFile(path);
    // The last record runs to the end of the file: cut it inside the question text.
    const std::size_t question = bytes.find("A question");
    bytes.resize(question + 10);
    WriteFile(path, bytes);

    auto book = EmptyBook();
    ASSERT_TRUE(LoadPalmDatabase(path, *book, 0, true, 3));
    ASSERT_EQ(book->GetCount(), 1);
    EXPECT_EQ(book->GetItem(0)->GetQuestionText(), "A question");
    EXPECT_EQ(book->GetItem(0)->GetAnswerCount(), 0);
}

TEST_F(PalmDatabase, DatabaseWithoutRecordsGivesAnEmptyBookWithReplaceAndChangesNothingWithout)
{
    auto source = EmptyBook();
    const std::string path = Save(*source, "Empty.pdb");
    EXPECT_EQ(Be16(ReadFile(path), 76), 0);

    auto book = BookBuilder().chapter("Mine").multipleChoice("Q", {"a"}, 0).build();
    EXPECT_TRUE(LoadPalmDatabase(path, *book, 2, false, 3));
    EXPECT_EQ(book->GetCount(), 1);
    EXPECT_EQ(book->GetCategoryCount(), 2);
    EXPECT_TRUE(LoadPalmDatabase(path, *book, 0, true, 3));
    EXPECT_EQ(book->GetCount(), 0);
    EXPECT_EQ(ChapterNames(*book), (std::vector<std::string>{"Unfiled"}));
}

// --- Appending ---

TEST_F(PalmDatabase, AppendingShiftsChapterIDsByTheOffsetAndKeepsUnfiledQuestionsInChapterZero)
{
    auto source = BookBuilder()
                      .chapter("A")
                      .multipleChoice("In A", {"a"}, 0)
                      .layer("1")
                      .chapter("B")
                      .chapter("C")
                      .multipleChoice("In C", {"c"}, 0)
                      .layer("2")
                      .unfiled()
                      .multipleChoice("Unfiled", {"u"}, 0)
                      .layer("3")
                      .build();
    const std::string path = Save(*source, "Append.pdb");
    // Leave category 3 without a name, so the file has chapters at indexes 2 and 4.
    std::string bytes = ReadFile(path);
    const std::size_t name3 = Be32(bytes, 52) + 2 + 16 * 3;
    bytes.replace(name3, 16, std::string(16, '\0'));
    WriteFile(path, bytes);

    auto book = EmptyBook();
    book->AddCategory(SCategoryInfo{10, -1, "Ten", ""}, false, false);
    BookBuilder(*book).chapter("Ten").multipleChoice("Mine", {"m"}, 0);
    ASSERT_TRUE(LoadPalmDatabase(path, *book, book->GetNextCategoryID() - 1, false, 3));

    SCategoryInfo info;
    ASSERT_TRUE(book->GetCategoryInfo(11, info));
    EXPECT_EQ(info.Name, "Trash");
    ASSERT_TRUE(book->GetCategoryInfo(12, info));
    EXPECT_EQ(info.Name, "A");
    ASSERT_TRUE(book->GetCategoryInfo(14, info));
    EXPECT_EQ(info.Name, "C");
    EXPECT_FALSE(book->CategoryExists(13));
    ASSERT_EQ(book->GetCount(), 4);
    EXPECT_EQ(book->GetItem(0)->GetQuestionText(), "Mine");
    EXPECT_EQ(book->GetItem(0)->GetCategoryID(), 10);
    EXPECT_EQ(book->GetItem(1)->GetCategoryID(), 12);
    EXPECT_EQ(book->GetItem(2)->GetCategoryID(), 14);
    EXPECT_EQ(book->GetItem(3)->GetQuestionText(), "Unfiled");
    EXPECT_EQ(book->GetItem(3)->GetCategoryID(), 0) << "not the open book's chapter 10";
}

// --- The deleted-items file ---

TEST_F(PalmDatabase, DeletedItemsFileGoesIntoTheBooksFolderAndItsPathIntoTheRegistry)
{
    WriteValueToRegistry2("DeleteQuestionList", "");
    TempDir books;
    env.prefs.SetBooksDirectory(books.path().string());
    CDelQuestionList list;
    SPalmWriteContext context;
    context.deletedItems = &list;
    context.booksFolder = books.path().string();
    auto book = BookBuilder().multipleChoice("Q", {"a"}, 0).build();
    Save(*book, "Del.pdb", context);

    const std::string expected = books.folder() + "Lernfold.del";
    EXPECT_EQ(ReadValueFromRegistry2("DeleteQuestionList", "?"), expected);
    EXPECT_EQ(ReadFile(expected), std::string(4, '\0'));

    // With a value present, its trimmed text is the path; a path that cannot be written is only logged.
    const std::string unwritable = dir.file("no/such/folder/Lernfold.del");
    WriteValueToRegistry2("DeleteQuestionList", "  " + unwritable + " ");
    EXPECT_TRUE(SavePalmDatabase(dir.file("Del2.pdb"), *book, context));
    EXPECT_TRUE(std::filesystem::exists(dir.file("Del2.pdb")));
    // The log follows the books folder.
    const std::string log = ReadFile(books.file("Lernfold.log"));
    EXPECT_NE(log.find("Can't save data to file for storage deleted ID. Error - File dont created! \n " +
                       unwritable),
              std::string::npos);
    WriteValueToRegistry2("DeleteQuestionList", "");
    env.prefs.SetBooksDirectory(env.logFolder.folder());
}

// --- Windows-1252 ---

struct SCodeCase
{
    const char* name;
    std::string utf8;
    std::string cp1252;
};

class Windows1252Text : public ::testing::TestWithParam<SCodeCase>
{
};

TEST_P(Windows1252Text, ConvertsFromUtf8)
{
    EXPECT_EQ(Utf8ToWindows1252(GetParam().utf8), GetParam().cp1252);
}

INSTANTIATE_TEST_SUITE_P(Texts, Windows1252Text,
                         ::testing::Values(SCodeCase{"Ascii", "plain text", "plain text"},
                                           SCodeCase{"Accents", "Äöü ß é ñ", "\xC4\xF6\xFC \xDF \xE9 \xF1"},
                                           SCodeCase{"EuroAndQuotes", "€ „x“ – …",
                                                     "\x80 \x84x\x93 \x96 \x85"},
                                           SCodeCase{"NoWindows1252Form", "日本 ā 😀", "?? ? ?"},
                                           SCodeCase{"InvalidUtf8", "a\xC3z\xFF", "a?z?"},
                                           SCodeCase{"OverlongForm", "\xC0\xAF", "??"},
                                           SCodeCase{"UndefinedByteKeepsItsNumber", "\xC2\x81", "\x81"}),
                         [](const ::testing::TestParamInfo<SCodeCase>& info) { return info.param.name; });

TEST(Windows1252, EveryByteRoundTripsThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string utf8 = Windows1252ToUtf8(all);
    EXPECT_EQ(Utf8ToWindows1252(utf8), all);
    EXPECT_EQ(Windows1252ToUtf8("\x80\xE9"), "€é");
}

} // namespace
