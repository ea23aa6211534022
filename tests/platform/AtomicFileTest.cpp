#include "platform/sys/AtomicFile.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

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

namespace
{

std::vector<std::string> Names(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFile, TemporaryNamesAreRecognisable)
{
    EXPECT_TRUE(lf::sys::IsAtomicTempFileName(".book.lnf.lftmp-a1B2c3"));
    EXPECT_FALSE(lf::sys::IsAtomicTempFileName("book.lnf.lftmp-a1B2c3")); // not hidden
    EXPECT_FALSE(lf::sys::IsAtomicTempFileName(".book.lnf.lftmp-a1B2"));  // suffix too short
    EXPECT_FALSE(lf::sys::IsAtomicTempFileName(".book.lnf"));
    EXPECT_FALSE(lf::sys::IsAtomicTempFileName("book.lnf.a1B2c3"));

    // The writer's own temporary file follows the rule while it is open.
    lf::test::TempDir dir;
    lf::sys::AtomicFileWriter writer(dir.file("book.lnf"));
    ASSERT_TRUE(writer.Open());
    const std::vector<std::string> names = Names(dir.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(lf::sys::IsAtomicTempFileName(names[0])) << names[0];
    EXPECT_EQ(names[0].rfind(".book.lnf.lftmp-", 0), 0u);
}

TEST(AtomicFile, NextWriteInTheFolderRemovesLeftoversButNotALiveWrite)
{
    lf::test::TempDir dir;
    lf::test::WriteFile(dir.file(".book.lnf.lftmp-Killed"), "half a book");
    lf::test::WriteFile(dir.file(".other.pdb.lftmp-abcdef"), "half another");
    lf::test::WriteFile(dir.file("keep.lnf.XXXXXX"), "not ours");
    lf::sys::AtomicFileWriter live(dir.file("live.lnf"));
    ASSERT_TRUE(live.Open());
    live.Write("live bytes");

    ASSERT_TRUE(lf::sys::WriteFileAtomically(dir.file("book.lnf"), "new"));
    std::vector<std::string> names = Names(dir.path());
    ASSERT_EQ(names.size(), 3u);
    EXPECT_TRUE(lf::sys::IsAtomicTempFileName(names[0])) << "the live writer's file stays";
    EXPECT_EQ(names[1], "book.lnf");
    EXPECT_EQ(names[2], "keep.lnf.XXXXXX");

    ASSERT_TRUE(live.Commit());
    EXPECT_EQ(lf::test::ReadFile(dir.file("live.lnf")), "live bytes");
}

TEST(AtomicFile, WritesThroughASymbolicLinkAndKeepsTheLink)
{
    lf::test::TempDir dir;
    std::filesystem::create_directory(dir.path() / "real");
    lf::test::WriteFile(dir.file("real/book.lnf"), "old");
    std::filesystem::create_symlink("real/book.lnf", dir.path() / "link.lnf");
    std::filesystem::create_symlink("link.lnf", dir.path() / "chain.lnf");

    ASSERT_TRUE(lf::sys::WriteFileAtomically(dir.file("chain.lnf"), "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "chain.lnf"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.lnf"));
    EXPECT_EQ(lf::test::ReadFile(dir.file("real/book.lnf")), "new");
    EXPECT_EQ(Names(dir.path() / "real"), std::vector<std::string>{"book.lnf"});

    // A link to a file not there yet makes the file.
    std::filesystem::create_symlink("real/later.lnf", dir.path() / "dangling.lnf");
    ASSERT_TRUE(lf::sys::WriteFileAtomically(dir.file("dangling.lnf"), "made"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "dangling.lnf"));
    EXPECT_EQ(lf::test::ReadFile(dir.file("real/later.lnf")), "made");
}

TEST(AtomicFile, ReplacedFileKeepsItsPermissionsAndANewOneFollowsTheUmask)
{
    namespace fs = std::filesystem;
    lf::test::TempDir dir;
    const std::string path = dir.file("private.lnf");
    lf::test::WriteFile(path, "old");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    ASSERT_TRUE(lf::sys::WriteFileAtomically(path, "new"));
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const mode_t old = ::umask(027);
    const bool written = lf::sys::WriteFileAtomically(dir.file("fresh.lnf"), "x");
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(dir.file("fresh.lnf")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

} // namespace
