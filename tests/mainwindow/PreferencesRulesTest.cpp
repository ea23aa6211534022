// The rules behind the preferences, the text zoom and the new-version check: the skin list and the
// stored skin path, the backup folder, the Home Page Books word, the zoom limits and percentages, the
// version page's reply and the newer-than rule.
#include "mainwindow/rules/PrefsRules.h"
#include "mainwindow/rules/SkinPath.h"
#include "mainwindow/rules/VersionCheck.h"
#include "mainwindow/rules/ZoomRules.h"
#include "model/support/Prefs.h"
#include "tests/model/BookBuilder.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace
{

// --- Skins ---

// A skins folder with "Blue/Blue.ssk", "Red.ssk", "Upper/X.SSK" (no skin: the extension is in capitals)
// and a preview beside Blue only.
class SkinFolderTest : public testing::Test
{
protected:
    SkinFolderTest() : skins(current.folder() + "Skins")
    {
        for (const char* name : {"Blue/Blue.ssk", "Blue/Blue.png", "Red.ssk", "Upper/X.SSK", "notes.txt"})
        {
            const std::filesystem::path path = std::filesystem::path(skins) / name;
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path) << "QWidget {}";
        }
        env.prefs.m_EnableSkin = true;
        env.prefs.m_UseDefaultSkin = false;
    }
    std::vector<std::string> Found() const
    {
        std::vector<std::string> files = FindSkinFiles(skins);
        std::sort(files.begin(), files.end());
        return files;
    }

    lf::test::BookEnvironment env;
    lf::test::TempDir current;
    std::string skins;
};

TEST_F(SkinFolderTest, FindsSkinFilesInSubFoldersButNotCapitalExtensions)
{
    EXPECT_EQ(SkinsFolder(current.folder()), skins);
    EXPECT_EQ(SkinsFolder(current.path().string()), skins);
    EXPECT_EQ(Found(), (std::vector<std::string>{skins + "/Blue/Blue.ssk", skins + "/Red.ssk"}));
    EXPECT_TRUE(FindSkinFiles(current.folder() + "Missing").empty());
    EXPECT_EQ(SkinDisplayName(skins + "/Blue/Blue.ssk"), "Blue");
    EXPECT_EQ(SkinPreviewPath(skins + "/Blue/Blue.ssk"), skins + "/Blue/Blue.png");
}

TEST_F(SkinFolderTest, SelectionFollowsTheOptions)
{
    const std::vector<std::string> files = Found(); // Blue is row 2, Red row 3
    CPrefs& prefs = env.prefs;
    const struct
    {
        const char* what;
        bool enable, useDefault;
        std::string stored;
        int row;
    } cases[] = {
        {"relative as the dialog writes it", true, false, "/Blue/Blue.ssk", 2},
        {"relative as older options wrote it", true, false, "\\Blue\\Blue.ssk", 2},
        {"full path", true, false, skins + "/Red.ssk", 3},
        {"built-in skin wins over a found one", true, true, "/Blue/Blue.ssk", 1},
        {"skins off", false, false, "/Blue/Blue.ssk", 0},
        {"a skin that is not found", true, false, "/Green.ssk", 1},
        {"no skin named", true, false, "", 1},
    };
    for (const auto& c : cases)
    {
        prefs.m_EnableSkin = c.enable;
        prefs.m_UseDefaultSkin = c.useDefault;
        prefs.m_ExternalSkinPath = c.stored;
        EXPECT_EQ(SkinListSelection(prefs, files, skins), c.row) << c.what;
    }
}

TEST_F(SkinFolderTest, StoredPathIsRelativeToTheSkinsFolderAndReadsBack)
{
    EXPECT_EQ(SkinPathToStore(skins + "/Blue/Blue.ssk", skins), "/Blue/Blue.ssk");
    EXPECT_EQ(SkinPathToStore("/elsewhere/Own.ssk", skins), "/elsewhere/Own.ssk");
    env.prefs.m_ExternalSkinPath = "/Blue/Blue.ssk";
    EXPECT_EQ(ResolveSkinPath(env.prefs, current.folder()), skins + "/Blue/Blue.ssk");
    // A full path outside the skins folder stays what it is.
    env.prefs.m_ExternalSkinPath = "/elsewhere/Own.ssk";
    EXPECT_EQ(ResolveSkinPath(env.prefs, current.folder()), "/elsewhere/Own.ssk");
}

TEST(PrefsRules, BackupFolderFollowsTheBooksFolder)
{
    EXPECT_EQ(BackupFolderOfBooks("/home/u/Books/"), "/home/u/Books/Temp/");
    EXPECT_EQ(BackupFolderOfBooks("/home/u/B2"), "/home/u/B2/Temp/");
    EXPECT_EQ(BackupFolderOfBooks(""), "Temp/");
}

TEST(PrefsRules, TheWordEmptyClearsAHomePageBookEntry)
{
    EXPECT_EQ(HomePageBookText("Empty"), "");
    EXPECT_EQ(HomePageBookText("EMPTY"), "");
    EXPECT_EQ(HomePageBookText("empty "), "empty ");
    EXPECT_EQ(HomePageBookText("Empty book"), "Empty book");
    EXPECT_EQ(HomePageBookText("Biology"), "Biology");
}

// --- Zoom ---

TEST(ZoomRules, LimitsAndPercentages)
{
    EXPECT_TRUE(lf::zoom::CanZoomIn(49));
    EXPECT_FALSE(lf::zoom::CanZoomIn(50));
    EXPECT_TRUE(lf::zoom::CanZoomOut(4));
    EXPECT_FALSE(lf::zoom::CanZoomOut(3));
    EXPECT_FALSE(lf::zoom::CanZoomOut(-1));
    // No text is ever drawn below 1 point.
    EXPECT_EQ(lf::zoom::ZoomedTextSize(12, 3), 15);
    EXPECT_EQ(lf::zoom::ZoomedTextSize(4, -3), 1);
    EXPECT_EQ(lf::zoom::ZoomedTextSize(4, -25), 1);
    for (const auto& [step, percent] :
         std::vector<std::pair<int, int>>{{0, 100}, {6, 150}, {12, 200}, {-6, 50}, {-3, 75}})
    {
        EXPECT_EQ(lf::zoom::ZoomPercentOfStep(step), percent) << step;
        EXPECT_EQ(lf::zoom::ZoomStepOfPercent(percent), step) << percent;
    }
    EXPECT_EQ(lf::zoom::ZoomStepOfPercent(20), -10);
    EXPECT_EQ(lf::zoom::ZoomPercentOfStep(1), 108);
}

// --- The version page ---

struct ReplyCase
{
    const char* name;
    const char* page;
    bool complete;
    bool newer;
    const char* offered;
};

class VersionReplyTable : public testing::TestWithParam<ReplyCase>
{
};

TEST_P(VersionReplyTable, ReadsJudgesAndNamesTheOffer)
{
    const ReplyCase& c = GetParam();
    const lf::version::SVersionReply reply = lf::version::ParseVersionReply(c.page);
    const auto numbers = lf::version::CompleteReplyNumbers(reply);
    ASSERT_EQ(numbers.has_value(), c.complete);
    if (!numbers)
        return;
    EXPECT_EQ(lf::version::IsNewerVersion(*numbers), c.newer);
    EXPECT_EQ(lf::version::OfferedVersionText(reply), c.offered);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, VersionReplyTable,
    testing::Values(
        ReplyCase{"NextBuild", "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;DOWNLOAD_URL=http://a.example/s", true,
                  true, "4.9 (Build 611)"},
        ReplyCase{"SameVersion", "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=610;DOWNLOAD_URL=http://a.example/s",
                  true, false, "4.9 (Build 610)"},
        ReplyCase{"LowerCaseNames", "major_ver=4;Minor_Ver=9;build_num=611;download_url=http://a.example/s",
                  true, true, "4.9 (Build 611)"},
        ReplyCase{"NewerMinor", "MAJOR_VER=4;MINOR_VER=10;BUILD_NUM=1;DOWNLOAD_URL=http://a.example/s", true,
                  true, "4.10 (Build 1)"},
        ReplyCase{"NewerMajor", "MAJOR_VER=5;MINOR_VER=0;BUILD_NUM=1;DOWNLOAD_URL=http://a.example/s", true,
                  true, "5.0 (Build 1)"},
        ReplyCase{"HigherBuildOfAnOlderVersion",
                  "MAJOR_VER=3;MINOR_VER=0;BUILD_NUM=700;DOWNLOAD_URL=http://a.example/s", true, true,
                  "3.0 (Build 700)"},
        ReplyCase{"OlderMinorSameBuild",
                  "MAJOR_VER=4;MINOR_VER=8;BUILD_NUM=610;DOWNLOAD_URL=http://a.example/s", true, false,
                  "4.8 (Build 610)"},
        ReplyCase{"LinesAndOtherNames",
                  "Version "
                  "page\r\nMAJOR_VER=4\r\nNOTE=a=b\nMINOR_VER=9\nBUILD_NUM=612\nDOWNLOAD_URL=https://x/y?a=1",
                  true, true, "4.9 (Build 612)"},
        ReplyCase{"FirstOfTwoLinesCounts",
                  "MAJOR_VER=4;MAJOR_VER=9;MINOR_VER=9;BUILD_NUM=610;DOWNLOAD_URL=http://a.example/s", true,
                  false, "4.9 (Build 610)"},
        ReplyCase{"MissingDownload", "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611", false, false, ""},
        ReplyCase{"EmptyDownload", "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611;DOWNLOAD_URL=", false, false, ""},
        ReplyCase{"MinorNotANumber", "MAJOR_VER=4;MINOR_VER=x;BUILD_NUM=611;DOWNLOAD_URL=http://a.example/s",
                  false, false, ""},
        ReplyCase{"BuildWithText", "MAJOR_VER=4;MINOR_VER=9;BUILD_NUM=611b;DOWNLOAD_URL=http://a.example/s",
                  false, false, ""},
        ReplyCase{"EmptyPage", "", false, false, ""}),
    [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });

TEST(VersionCheck, DownloadOpensOnlyWebAddresses)
{
    EXPECT_TRUE(lf::version::IsDownloadAddress("http://a.example/setup"));
    EXPECT_TRUE(lf::version::IsDownloadAddress("  HTTPS://a.example/setup "));
    EXPECT_FALSE(lf::version::IsDownloadAddress("file:///usr/bin/xterm"));
    EXPECT_FALSE(lf::version::IsDownloadAddress("/usr/bin/xterm"));
    EXPECT_FALSE(lf::version::IsDownloadAddress("javascript:alert(1)"));
    EXPECT_FALSE(lf::version::IsDownloadAddress("httpx://a"));
    EXPECT_FALSE(lf::version::IsDownloadAddress(""));
}

} // namespace
