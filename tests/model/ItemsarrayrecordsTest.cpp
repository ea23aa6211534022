// The record image of a handheld database book: record decoding, category names and the handheld's filter.
#include "model/storage/Itemsarrayrecords.h"

#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{

using lf::test::PrintTo;

using lf::test::BookEnvironment;

// A record of category cat with a chapter number, a question text, correct bits, user bits and flags.
SQaxStruct Record(std::uint16_t cat, const std::string& layers, const std::string& question,
                  std::uint32_t correct = 0, std::uint32_t user = 0, std::uint32_t flags = 0)
{
    SQaxStruct record;
    record.Category = cat;
    record.Texts[SQaxStruct::txLayers] = layers;
    record.Texts[SQaxStruct::txQuestion] = question;
    record.AnswerBits = (correct << 8) | user;
    record.Flags = flags;
    return record;
}

// The question texts of the filtered sequence, joined by ",".
std::string Filtered(const CItemsArray& image)
{
    std::string names;
    for (std::int32_t p = 0; p < image.GetFilteredCount(); ++p)
        names +=
            (p ? "," : "") + image.GetRecord(image.GetFilteredRecordIndex(p))->Texts[SQaxStruct::txQuestion];
    return names;
}

// Five records, out of chapter-number order.
void FillImage(CItemsArray& image)
{
    image.AddRecord(Record(2, "2", "answered-right", 0b01, 0b01, kQaxFlagMarked));
    image.AddRecord(Record(3, "1.10", "answered-wrong", 0b01, 0b10));
    image.AddRecord(Record(2, "1.2", "unanswered", 0b10, 0, kQaxFlagSelected));
    image.AddRecord(Record(0, "", "no-number", 0b01, 0, kQaxFlagMarked | kQaxFlagSelected));
    image.AddRecord(Record(3, "1", "keyword-Zebra", 0b01, 0b01));
    image.GetRecord(4)->Texts[SQaxStruct::txKeywords] = "ZEBRA crossing";
}

struct SFilterCase
{
    const char* name;
    SQaxFilterSettings settings;
    const char* expected;
};

SQaxFilterSettings Settings(std::int32_t phase, std::int32_t kind = 0, std::int32_t category = -2)
{
    SQaxFilterSettings s;
    s.phase = phase;
    s.filterKind = kind;
    s.category = category;
    return s;
}

SQaxFilterSettings With(SQaxFilterSettings s, void (*change)(SQaxFilterSettings&))
{
    change(s);
    return s;
}

class RecordImageFilter : public ::testing::TestWithParam<SFilterCase>
{
protected:
    BookEnvironment env;
};

TEST_P(RecordImageFilter, BuildsTheSequence)
{
    CItemsArray image;
    FillImage(image);
    image.SetFilterSettings(GetParam().settings);
    EXPECT_TRUE(image.SetFilterQuestion());
    EXPECT_EQ(Filtered(image), GetParam().expected);
    EXPECT_EQ(image.GetGridCount(), image.GetFilteredCount());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordImageFilter,
    ::testing::Values(
        SFilterCase{"TestAllSortedByChapterNumber", Settings(0),
                    "keyword-Zebra,unanswered,answered-wrong,answered-right,no-number"},
        SFilterCase{"EditKeepsRecordOrder", Settings(3),
                    "answered-right,answered-wrong,unanswered,no-number,keyword-Zebra"},
        SFilterCase{"FlashTakesNothing", Settings(2), ""},
        SFilterCase{"OneCategory", Settings(3, 0, 3), "answered-wrong,keyword-Zebra"},
        SFilterCase{"Marked", Settings(1, 1), "answered-right,no-number"},
        SFilterCase{"TestAnswered", Settings(0, 2), "keyword-Zebra,answered-wrong,answered-right"},
        SFilterCase{"ReviewCorrect", Settings(1, 2), "keyword-Zebra,answered-right"},
        SFilterCase{"TestUnanswered", Settings(0, 3), "unanswered,no-number"},
        SFilterCase{"ReviewIncorrect", Settings(1, 3), "answered-wrong"},
        SFilterCase{"UnknownKindTakesNothing", Settings(1, 7), ""},
        SFilterCase{"DropCorrect", With(Settings(1), [](SQaxFilterSettings& s) { s.dropCorrect = 1; }),
                    "unanswered,answered-wrong,no-number"},
        SFilterCase{"SelectionOnlyInEditUsesTheSelectedBit",
                    With(Settings(3), [](SQaxFilterSettings& s) { s.selectionOnly = 1; }),
                    "unanswered,no-number"},
        SFilterCase{"SelectionOnlyElsewhereUsesTheMarkedBit",
                    With(Settings(0), [](SQaxFilterSettings& s) { s.selectionOnly = 1; }),
                    "answered-right,no-number"},
        SFilterCase{"SearchInKeywordsIgnoresCase",
                    With(Settings(3),
                         [](SQaxFilterSettings& s)
                         {
                             s.searchInKeywords = 1;
                             s.searchText = "zebra";
                         }),
                    "keyword-Zebra"},
        SFilterCase{"SearchWithoutScopeFiltersNothing",
                    With(Settings(3), [](SQaxFilterSettings& s) { s.searchText = "zebra"; }),
                    "answered-right,answered-wrong,unanswered,no-number,keyword-Zebra"}),
    [](const ::testing::TestParamInfo<SFilterCase>& info) { return info.param.name; });

TEST(RecordImage, FilterWithoutAPhaseIsLoggedAndEmpty)
{
    BookEnvironment env;
    CItemsArray image;
    FillImage(image);
    EXPECT_FALSE(image.SetFilterQuestion());
    EXPECT_EQ(image.GetFilteredCount(), 0);
    EXPECT_EQ(image.GetGridRecord(0), nullptr);
    EXPECT_NE(env.LogText().find("CItemsArray::SetFilterQuestion() - m_Preferences.currentMode == eamNone"),
              std::string::npos);
}

TEST(RecordImage, ShuffleKeepsEveryRecordOnceAndDepthIsStored)
{
    BookEnvironment env;
    lf::sys::SeedRandom(7);
    CItemsArray image;
    FillImage(image);
    image.GetRecord(2)->Flags |= kQaxFlagDepthVisited;
    SQaxFilterSettings s = Settings(0);
    s.shuffle = 1;
    s.depth = 1;
    image.SetFilterSettings(s);
    ASSERT_TRUE(image.SetFilterQuestion());
    std::vector<std::int32_t> seen;
    for (std::int32_t p = 0; p < image.GetFilteredCount(); ++p)
        seen.push_back(image.GetFilteredRecordIndex(p));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(image.GetRecord(1)->Depth, 2);
    EXPECT_EQ(image.GetRecord(0)->Depth, 1);
    EXPECT_EQ(image.GetRecord(2)->Flags & kQaxFlagDepthVisited, 0u);
}

TEST(RecordImage, CategoryNamesAreKeptInTheAppInfoBlock)
{
    CItemsArray image;
    std::string name;
    EXPECT_FALSE(image.GetCategoryName(2, name)) << "empty name";
    EXPECT_FALSE(image.GetCategoryName(16, name));
    EXPECT_FALSE(image.GetCategoryName(-1, name));
    EXPECT_FALSE(image.SetCategoryName(16, "x"));
    ASSERT_TRUE(image.SetCategoryName(2, "Größenordnungen der Welt"));
    ASSERT_TRUE(image.GetCategoryName(2, name));
    EXPECT_EQ(name, "Größenordnungen");
    EXPECT_EQ(image.AppInfo()[2 + 32 + 15], 0) << "a name keeps its terminating zero";

    image.AddRecord(Record(2, "", "moved"));
    image.AddRecord(Record(1, "", "stays in Trash"));
    image.ClearCategoryNames();
    EXPECT_FALSE(image.GetCategoryName(2, name));
    EXPECT_EQ(image.GetRecord(0)->Category, 0);
    EXPECT_EQ(image.GetRecord(1)->Category, 1);
}

TEST(RecordImage, ClearRecordFlagsTakesTheCategoryFilterOrEveryRecord)
{
    CItemsArray image;
    image.AddRecord(Record(2, "", "a", 0, 0, kQaxTransientFlags | kQaxFlagMarked));
    image.AddRecord(Record(3, "", "b", 0, 0, kQaxTransientFlags));
    SQaxFilterSettings s = Settings(3, 0, 2);
    image.SetFilterSettings(s);
    image.ClearRecordFlags(true, false, true, false);
    EXPECT_EQ(image.GetRecord(0)->Flags, kQaxFlag800 | kQaxFlagMarked);
    EXPECT_EQ(image.GetRecord(1)->Flags, kQaxTransientFlags);
    image.ClearRecordFlags(false, true, false, true);
    EXPECT_EQ(image.GetRecord(0)->Flags, kQaxFlagMarked);
    EXPECT_EQ(image.GetRecord(1)->Flags, kQaxFlag400 | kQaxFlag200);
}

TEST(RecordImage, ClearRecordFlagsTakesEveryRecordWhenTheFilterTakesAllCategories)
{
    CItemsArray image;
    image.AddRecord(Record(0, "", "a", 0, 0, kQaxTransientFlags | kQaxFlagMarked));
    image.AddRecord(Record(5, "", "b", 0, 0, kQaxTransientFlags));
    image.SetFilterSettings(Settings(3));
    image.ClearRecordFlags(false, true, false, false);
    EXPECT_EQ(image.GetRecord(0)->Flags, kQaxFlag400 | kQaxFlag200 | kQaxFlagMarked);
    EXPECT_EQ(image.GetRecord(1)->Flags, kQaxFlag400 | kQaxFlag200);
}

TEST(RecordImage, CurrentRecordInfoFollowsThePosition)
{
    BookEnvironment env;
    CItemsArray image;
    SQaxStruct record = Record(0, "", "q");
    record.QuestionID = 99;
    record.WhenCreated = 1234;
    record.Texts[SQaxStruct::txOwner] = "Owner";
    image.AddRecord(record);
    image.UpdateCurrentRecordInfo();
    EXPECT_EQ(image.GetCurrentRecordID(), -1);
    image.SetPhase(3, true);
    ASSERT_TRUE(image.SetPosition(0));
    EXPECT_FALSE(image.SetPosition(1));
    image.UpdateCurrentRecordInfo();
    EXPECT_EQ(image.GetCurrentRecordID(), 99);
    EXPECT_EQ(image.GetCurrentRecordCreated(), 1234u);
    EXPECT_EQ(image.GetCurrentRecordOwner(), "Owner");
    image.Clear();
    image.UpdateCurrentRecordInfo();
    EXPECT_EQ(image.GetCurrentRecordID(), -1);
    EXPECT_EQ(image.GetCurrentRecordOwner(), "");
    EXPECT_EQ(image.GetRecord(0), nullptr);
}

TEST(RecordImage, DecompressRefusesShortRecordsAndEndsAnUnterminatedTextAtTheEnd)
{
    std::string bytes(kQaxFixedSize, '\0');
    bytes[38] = 0;
    bytes[39] = 15;
    bytes += std::string("own\0mod\0\0key\0\0", 14) + "1.2" + '\0' + "Caf\xE9";
    SQaxStruct record;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    EXPECT_FALSE(record.decompressQAX(data, kQaxFixedSize - 1));
    ASSERT_TRUE(record.decompressQAX(data, bytes.size()));
    EXPECT_EQ(record.Category, 15);
    EXPECT_EQ(record.Texts[SQaxStruct::txOwner], "own");
    EXPECT_EQ(record.Texts[SQaxStruct::txKeywords], "key");
    EXPECT_EQ(record.Texts[SQaxStruct::txLayers], "1.2");
    EXPECT_EQ(record.Texts[SQaxStruct::txQuestion], "Café");
    EXPECT_EQ(record.Answer(0), "");
    EXPECT_EQ(record.Texts[SQaxStruct::txExplanation], "");
}

} // namespace
