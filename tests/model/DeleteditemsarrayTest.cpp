#include "model/collection/Deleteditemsarray.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace
{

TEST(DeletedItemsFile, EmptyListIsFourZeroBytes)
{
    lf::test::TempDir dir;
    CDelQuestionList list;
    std::string error;
    ASSERT_TRUE(list.Write(dir.file("Lernfold.del"), error));
    EXPECT_EQ(lf::test::ReadFile(dir.file("Lernfold.del")), std::string(4, '\0'));
}

TEST(DeletedItemsFile, EntriesRoundTripInLittleEndianLayout)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("Lernfold.del");
    CDelQuestionList list;
    list.Add(0x01020304, -2,
             "Gr\xC3\xBC\xC3\x9F"
             "e");
    list.Add(7, 8, std::string(300, 'x'));
    std::string error;
    ASSERT_TRUE(list.Write(path, error));

    const std::string bytes = lf::test::ReadFile(path);
    EXPECT_EQ(bytes.substr(0, 12), std::string("\x02\x00\x00\x00\x04\x03\x02\x01\xFE\xFF\xFF\xFF", 12));
    EXPECT_EQ(static_cast<unsigned char>(bytes[12]), 7);

    CDelQuestionList read;
    ASSERT_TRUE(read.Read(path, error)) << error;
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetEntry(0).First, 0x01020304);
    EXPECT_EQ(read.GetEntry(0).Second, -2);
    EXPECT_EQ(read.GetEntry(0).Text, "Gr\xC3\xBC\xC3\x9F"
                                     "e");
    EXPECT_EQ(read.GetEntry(1).Text, std::string(255, 'x'));
}

TEST(DeletedItemsFile, LongTextIsCutOnACharacterBoundary)
{
    CDelQuestionList list;
    std::string text(254, 'a');
    text += "\xC3\xA9"; // a two-byte character straddling the 255-byte limit
    list.Add(1, 2, text);
    EXPECT_EQ(list.GetEntry(0).Text, std::string(254, 'a'));
}

TEST(DeletedItemsFile, TruncatedOrMissingFilesAreRefusedAndChangeNothing)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("Lernfold.del");
    CDelQuestionList list;
    list.Add(1, 2, "abc");
    std::string error;
    ASSERT_TRUE(list.Write(path, error));
    const std::string whole = lf::test::ReadFile(path);

    for (std::size_t cut : {std::size_t{0}, std::size_t{3}, std::size_t{10}, whole.size() - 1})
    {
        lf::test::WriteFile(path, whole.substr(0, cut));
        CDelQuestionList read;
        read.Add(9, 9, "kept");
        EXPECT_FALSE(read.Read(path, error)) << cut;
        ASSERT_EQ(read.GetCount(), 1);
        EXPECT_EQ(read.GetEntry(0).Text, "kept");
    }
    lf::test::WriteFile(path, whole + "x");
    EXPECT_FALSE(list.Read(path, error));

    EXPECT_FALSE(list.Read(dir.file("none.del"), error));
    EXPECT_FALSE(list.Write(dir.file("no/such/folder/Lernfold.del"), error));
    EXPECT_NE(error.find("File dont created!"), std::string::npos);
    EXPECT_NE(error.find("no/such/folder/Lernfold.del"), std::string::npos);
}

} // namespace
