#include "platform/sys/PathText.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using lf::test::PrintTo;
using namespace lf::sys;

struct PathCase
{
    const char* name;
    std::string_view path;
    std::string_view folder;
    std::string_view namePart;
    std::string_view storedNamePart;
    std::string_view extension;
    std::string_view withoutExtension;
};

class PathTextTest : public ::testing::TestWithParam<PathCase>
{
};

TEST_P(PathTextTest, TakesThePathApart)
{
    const PathCase& row = GetParam();
    EXPECT_EQ(FolderOf(row.path), row.folder);
    EXPECT_EQ(NamePart(row.path), row.namePart);
    EXPECT_EQ(StoredNamePart(row.path), row.storedNamePart);
    EXPECT_EQ(ExtensionOf(row.path), row.extension);
    EXPECT_EQ(WithoutExtension(row.path), row.withoutExtension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, PathTextTest,
    ::testing::Values(
        PathCase{"FullPath", "/a/b.lnf", "/a/", "b.lnf", "b.lnf", ".lnf", "/a/b"},
        PathCase{"NameOnly", "b.lnf", "", "b.lnf", "b.lnf", ".lnf", "b"},
        PathCase{"LastDotCounts", "/a/b.tar.gz", "/a/", "b.tar.gz", "b.tar.gz", ".gz", "/a/b.tar"},
        PathCase{"DotInFolderOnly", "/a.b/c", "/a.b/", "c", "c", "", "/a.b/c"},
        PathCase{"NoExtension", "/a/b", "/a/", "b", "b", "", "/a/b"},
        PathCase{"TrailingDot", "/a/b.", "/a/", "b.", "b.", ".", "/a/b"},
        PathCase{"Folder", "/a/", "/a/", "", "", "", "/a/"}, PathCase{"Root", "/", "/", "", "", "", "/"},
        PathCase{"Empty", "", "", "", "", "", ""},
        PathCase{"BackslashOnlyInStoredNames", "pics\\x.png", "", "pics\\x.png", "x.png", ".png", "pics\\x"},
        PathCase{"MixedSeparators", "/a/C:\\b\\c.gif", "/a/", "C:\\b\\c.gif", "c.gif", ".gif",
                 "/a/C:\\b\\c"}),
    [](const ::testing::TestParamInfo<PathCase>& info) { return std::string(info.param.name); });

TEST(PathText, JoinsWithExactlyOneSlash)
{
    EXPECT_EQ(WithSlash("/a"), "/a/");
    EXPECT_EQ(WithSlash("/a/"), "/a/");
    EXPECT_EQ(WithSlash(""), "");
    EXPECT_EQ(JoinPath("/a", "b.lnf"), "/a/b.lnf");
    EXPECT_EQ(JoinPath("/a/", "b.lnf"), "/a/b.lnf");
    EXPECT_EQ(JoinPath("", "b.lnf"), "b.lnf");
    EXPECT_EQ(JoinPath("/", "b.lnf"), "/b.lnf");
}

} // namespace
