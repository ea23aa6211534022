// The desktop's side of the book file association: the MIME package, the desktop entry's command line
// for awkward program paths, and files rewritten only when their content changes.
#include "platform/registry/DesktopAssociation.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <pugixml.hpp>

namespace
{

using lf::test::PrintTo;

using lf::test::TempDir;

std::string ExecLine(const std::string& entry)
{
    const auto start = entry.find("\nExec=");
    if (start == std::string::npos)
        return {};
    const auto end = entry.find('\n', start + 1);
    return entry.substr(start + 1, end - start - 1);
}

struct SExecCase
{
    const char* name;
    const char* programPath;
    const char* execLine;
};

class DesktopExecTest : public ::testing::TestWithParam<SExecCase>
{
};

TEST_P(DesktopExecTest, QuotesAndEscapesTheProgramPath)
{
    EXPECT_EQ(ExecLine(lf::reg::DesktopEntryText("lnf", GetParam().programPath)), GetParam().execLine);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DesktopExecTest,
    ::testing::Values(SExecCase{"Plain", "/opt/lernfold/bin/lernfold", "Exec=/opt/lernfold/bin/lernfold %f"},
                      SExecCase{"Blank", "/home/a b/lernfold", "Exec=\"/home/a b/lernfold\" %f"},
                      SExecCase{"PercentIsNotAFieldCode", "/x/100%/lernfold", "Exec=/x/100%%/lernfold %f"},
                      SExecCase{"Dollar", "/x/a$b/lernfold", "Exec=\"/x/a\\\\$b/lernfold\" %f"},
                      SExecCase{"QuoteAndBackslash", "/x/a\"b\\c/lernfold",
                                "Exec=\"/x/a\\\\\"b\\\\\\\\c/lernfold\" %f"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DesktopEntry, RefusesProgramPathsThatWouldBreakTheEntry)
{
    EXPECT_EQ(lf::reg::DesktopEntryText("lnf", ""), "");
    EXPECT_EQ(lf::reg::DesktopEntryText("lnf", "/x/a\nExec=/bin/evil"), "");
    EXPECT_EQ(lf::reg::DesktopEntryText("l;nf", "/x/lernfold"), "");
}

TEST(DesktopEntry, NamesTheBookTypeAndOpensOneFile)
{
    const std::string entry = lf::reg::DesktopEntryText("lnf", "/opt/lernfold");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find("\nMimeType=application/x-lernfold-book;\n"), std::string::npos);
}

TEST(MimePackage, GivesTheExtensionItsType)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(lf::reg::MimePackageText("lnf").c_str()));
    const pugi::xml_node type = doc.child("mime-info").child("mime-type");
    EXPECT_STREQ(doc.child("mime-info").attribute("xmlns").value(),
                 "http://www.freedesktop.org/standards/shared-mime-info");
    EXPECT_STREQ(type.attribute("type").value(), "application/x-lernfold-book");
    EXPECT_STREQ(type.child("glob").attribute("pattern").value(), "*.lnf");
}

TEST(DesktopAssociation, WritesBothFilesAndRewritesOnlyWhatChanged)
{
    TempDir data;
    const std::string mime = data.file("mime/packages/lernfold-book.xml");
    const std::string desktop = data.file("applications/lernfold.desktop");

    auto result = lf::reg::WriteDesktopAssociation(data.path().string(), "lnf", "/opt/a/lernfold");
    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.mimeWritten);
    EXPECT_TRUE(result.desktopWritten);
    EXPECT_EQ(lf::test::ReadFile(mime), lf::reg::MimePackageText("lnf"));
    EXPECT_EQ(lf::test::ReadFile(desktop), lf::reg::DesktopEntryText("lnf", "/opt/a/lernfold"));

    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(mime, old);
    std::filesystem::last_write_time(desktop, old);
    result = lf::reg::WriteDesktopAssociation(data.path().string(), "lnf", "/opt/a/lernfold");
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.mimeWritten);
    EXPECT_FALSE(result.desktopWritten);
    EXPECT_EQ(std::filesystem::last_write_time(mime), old);
    EXPECT_EQ(std::filesystem::last_write_time(desktop), old);

    // The program moved: only the desktop entry changes.
    result = lf::reg::WriteDesktopAssociation(data.path().string(), "lnf", "/opt/b/lernfold");
    EXPECT_TRUE(result.ok);
    EXPECT_FALSE(result.mimeWritten);
    EXPECT_TRUE(result.desktopWritten);
    EXPECT_NE(lf::test::ReadFile(desktop).find("Exec=/opt/b/lernfold %f"), std::string::npos);
}

TEST(DesktopAssociation, FailsWithoutADataFolder)
{
    TempDir data;
    lf::test::WriteFile(data.file("plain"), "");
    EXPECT_FALSE(lf::reg::WriteDesktopAssociation(data.file("plain"), "lnf", "/opt/lernfold").ok);
    EXPECT_FALSE(lf::reg::WriteDesktopAssociation("", "lnf", "/opt/lernfold").ok);
}

} // namespace
