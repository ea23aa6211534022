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

TEST(PathText, OnlyASlashEndsAFolder)
{
    // The program's folders use "/"; a "\" at the end is part of the folder's last name.
    EXPECT_EQ(WithSlash("/a\\"), "/a\\/");
    EXPECT_EQ(JoinPath("/a\\", "Lernfold.del"), "/a\\/Lernfold.del");
}

struct NameCase
{
    const char* name;
    std::string_view text;
    bool web;
    bool staysInFolder;
};

class StoredNameTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(StoredNameTest, TellsWebAddressesAndNamesThatKeepToTheirFolder)
{
    const NameCase& row = GetParam();
    EXPECT_EQ(IsWebAddress(row.text), row.web);
    EXPECT_EQ(StaysInFolder(row.text), row.staysInFolder);
}

INSTANTIATE_TEST_SUITE_P(
    Names, StoredNameTest,
    ::testing::Values(NameCase{"PlainName", "a.png", false, true},
                      NameCase{"SubFolderWithSlash", "pics/a.png", false, true},
                      NameCase{"SubFolderWithBackslash", "pics\\a.png", false, true},
                      NameCase{"DotsInsideANameAreNotAParent", "a..b/..c/d..", false, true},
                      NameCase{"CurrentFolderPart", "./a.png", false, true},
                      NameCase{"Empty", "", false, false}, NameCase{"ParentAlone", "..", false, false},
                      NameCase{"ParentWithSlash", "../a.png", false, false},
                      NameCase{"ParentWithBackslash", "..\\a.png", false, false},
                      NameCase{"ParentInTheMiddle", "pics/../../a.png", false, false},
                      NameCase{"ParentThatComesBackInside", "pics\\..\\a.png", false, false},
                      NameCase{"ParentAtTheEnd", "pics/..", false, false},
                      NameCase{"AbsolutePath", "/etc/a.png", false, false},
                      NameCase{"AbsoluteWithBackslash", "\\a.png", false, false},
                      NameCase{"DriveLetter", "C:\\a.png", false, false},
                      NameCase{"DriveRelative", "C:a.png", false, false},
                      NameCase{"WebAddress", "http://example.com/a.png", true, false},
                      NameCase{"SchemeInUpperCase", "HTTPS://example.com/a.png", true, false},
                      NameCase{"FileAddress", "file:///home/a.png", true, false},
                      NameCase{"SchemeLaterInTheName", "pics/x://a.png", true, false},
                      NameCase{"WwwInAnyCase", "WWW.example.com/a.png", true, true},
                      NameCase{"WwwWithoutItsPoint", "wwwroot/a.png", false, true},
                      NameCase{"WwwNotAtTheStart", "pics/www.a.png", false, true},
                      NameCase{"MailAddressIsNoWebAddress", "mailto:a@example.com", false, false}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

} // namespace
