#include "platform/sys/AtomicFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryFile)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("book.lnf");
    lf::test::WriteFile(path, "old");
    ASSERT_TRUE(lf::sys::WriteFileAtomically(path, std::string("new\0bytes", 9)));
    EXPECT_EQ(lf::test::ReadFile(path), std::string("new\0bytes", 9));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    std::string read;
    ASSERT_TRUE(lf::sys::ReadWholeFile(path, read));
    EXPECT_EQ(read.size(), 9u);
}

TEST(AtomicFile, FailureLeavesTheOldFileAndSaysWhy)
{
    lf::test::TempDir dir;
    std::string error;
    EXPECT_FALSE(lf::sys::WriteFileAtomically(dir.file("missing/book.lnf"), "x", &error));
    EXPECT_NE(error.find("missing"), std::string::npos);

    // A target that is a folder cannot be replaced by a file: the temporary file must go again.
    std::filesystem::create_directory(dir.path() / "folder");
    EXPECT_FALSE(lf::sys::WriteFileAtomically(dir.file("folder"), "x", &error));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    std::string read = "kept";
    EXPECT_FALSE(lf::sys::ReadWholeFile(dir.file("nothing"), read));
    EXPECT_EQ(read, "kept");
}

TEST(AtomicFileWriter, StreamsPiecesAndRefusesAnEmptyResultWhenAsked)
{
    lf::test::TempDir dir;
    const std::string path = dir.file("book.lnf");
    lf::test::WriteFile(path, "old");
    {
        lf::sys::AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        std::string error;
        EXPECT_FALSE(writer.Commit(&error, false));
        EXPECT_EQ(lf::test::ReadFile(path), "old");
    }
    {
        // A writer dropped before Commit leaves the target and no temporary file.
        lf::sys::AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.Open());
        writer.Write("half a book");
    }
    EXPECT_EQ(lf::test::ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    lf::sys::AtomicFileWriter writer(path);
    ASSERT_TRUE(writer.Open());
    const std::string big(3 << 20, 'x'); // larger than the writer's buffer
    EXPECT_TRUE(writer.Write("<a>"));
    EXPECT_TRUE(writer.Write(big));
    EXPECT_TRUE(writer.Write("</a>"));
    EXPECT_EQ(writer.BytesWritten(), big.size() + 7);
    ASSERT_TRUE(writer.Commit());
    EXPECT_EQ(lf::test::ReadFile(path), "<a>" + big + "</a>");
}

} // namespace
