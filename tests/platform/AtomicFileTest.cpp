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

} // namespace
