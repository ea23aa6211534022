// The program log: which calls write, the line of each kind, the start banner with its pauses, and where
// the file goes when the books folder refuses it.
#include "model/support/Log.h"
#include "model/support/Registry.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace
{

using lf::test::PrintTo;

using lf::test::FakeSystem;
using lf::test::TempDir;

// Counts the log's complete lines at every pause, to show where the pauses fall.
class PauseRecorder : public FakeSystem
{
public:
    std::string logPath;
    std::vector<int> linesAtPause;

    void Sleep(int milliseconds) override
    {
        FakeSystem::Sleep(milliseconds);
        std::string text;
        if (std::filesystem::exists(logPath))
            text = lf::test::ReadFile(logPath);
        int lines = 0;
        for (std::string::size_type at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2))
            ++lines;
        linesAtPause.push_back(lines);
    }
};

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start))
    {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "the log must end with CR LF";
    return lines;
}

class LogTest : public ::testing::Test
{
protected:
    LogTest()
    {
        system.logPath = LogFile();
        SetLogBooksDirectory(books.folder());
    }
    ~LogTest() override
    {
        SetLogBooksDirectory("");
        SetLogScreenInfo(0, 0, 0);
    }

    std::string LogFile() const { return books.file("Lernfold.log"); }
    bool LogExists() const { return std::filesystem::exists(LogFile()); }
    std::string LogText() const { return lf::test::ReadFile(LogFile()); }

    TempDir books;
    PauseRecorder system;
};

struct SLevelCase
{
    const char* name;
    int level;
    bool written;
};

class LogLevelTest : public LogTest, public ::testing::WithParamInterface<SLevelCase>
{
};

TEST_P(LogLevelTest, WritesOnlyLevelsUpToTenAsSixteenBitNumbers)
{
    WriteLog("line", GetParam().level, 1);
    if (GetParam().written)
        EXPECT_EQ(LogText(), "      line\r\n");
    else
    {
        EXPECT_FALSE(LogExists());
        EXPECT_EQ(system.sleptMilliseconds, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, LogLevelTest,
                         ::testing::Values(SLevelCase{"Zero", 0, true}, SLevelCase{"One", 1, true},
                                           SLevelCase{"Ten", 10, true}, SLevelCase{"Eleven", 11, false},
                                           SLevelCase{"MinusOneIs65535", -1, false},
                                           SLevelCase{"Wraps65541ToFive", 65541, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct SKindCase
{
    const char* name;
    int kind;
    const char* text;
    const char* line; // without CR LF
};

class LogKindTest : public LogTest, public ::testing::WithParamInterface<SKindCase>
{
};

TEST_P(LogKindTest, WritesTheLineOfItsKindAndPausesOnce)
{
    WriteLog(GetParam().text, 1, GetParam().kind);
    EXPECT_EQ(LogText(), std::string(GetParam().line) + "\r\n");
    EXPECT_EQ(system.sleptMilliseconds, 5);
}

INSTANTIATE_TEST_SUITE_P(Kinds, LogKindTest,
                         ::testing::Values(SKindCase{"PlainText", 1,
                                                     "CDataStorage::LoadXML, File name - a.lnf",
                                                     "      CDataStorage::LoadXML, File name - a.lnf"},
                                           SKindCase{"PlainEmptyIsSixBlanks", 1, "", "      "},
                                           SKindCase{"Dated", 2, "Saved", "      2024-03-05 14:07:09 Saved"},
                                           SKindCase{"SessionEndIgnoresText", 3, "ignored",
                                                     "<<<<<<<<<<<<<<<< Session ended at 2024-03-05 14:07:09"},
                                           SKindCase{"UnknownKindIsEmptyLine", 7, "lost", ""},
                                           SKindCase{"NegativeKindIsEmptyLine", -3, "lost", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LogTest, BannerWritesSixLinesInOrderWithPausesAfterLinesOneToFourAndAtTheEnd)
{
    SetLogScreenInfo(1920, 1080, 96);
    WriteLog("not used", 1, 0);

    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], ">>>>>>>>>>>>>>>> Session started at 2024-03-05 14:07:09");
    EXPECT_EQ(lines[1], "Lernfold, Version 4.9.610");
    EXPECT_EQ(lines[2], " Analyzing system configuration...");
    EXPECT_EQ(lines[3], "      Windows version: " + GetWindowsVersionText());
    EXPECT_EQ(lines[4], "      Internet Explorer version: Not installed");
    EXPECT_EQ(lines[5], "      Screen: 1920x1080 DPI: 96 ");
    EXPECT_EQ(system.linesAtPause, (std::vector<int>{1, 2, 3, 4, 6}));
    EXPECT_EQ(system.sleptMilliseconds, 25);
}

TEST_F(LogTest, BannerShowsAnEmptyScreenUntilTheMainWindowSetsIt)
{
    WriteLog("", 1, 0);
    const std::vector<std::string> lines = SplitLines(LogText());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "      Screen: 0x0 DPI: 0 ");
}

TEST_F(LogTest, AppendsToWhatEarlierSessionsWrote)
{
    lf::test::WriteFile(LogFile(), "old line\r\n");
    WriteLog("first");
    WriteLog("second", 5, 1);
    EXPECT_EQ(LogText(), "old line\r\n      first\r\n      second\r\n");
}

TEST_F(LogTest, FolderWithAndWithoutFinalSlashGiveTheSameFile)
{
    std::string folder = books.folder();
    folder.pop_back();
    SetLogBooksDirectory(folder);
    WriteLog("without");
    SetLogBooksDirectory(folder + "/");
    WriteLog("with");
    EXPECT_EQ(LogText(), "      without\r\n      with\r\n");
}

TEST_F(LogTest, UnwritableBooksFolderFallsBackToTheProgramFolder)
{
    TempDir program;
    system.programPath = program.file("lernfold");
    // A books "folder" that is a plain file cannot hold the log, whoever runs the test.
    lf::test::WriteFile(books.file("blocked"), "");
    SetLogBooksDirectory(books.file("blocked"));

    WriteLog("moved");

    EXPECT_EQ(lf::test::ReadFile(program.file("Lernfold.log")), "      moved\r\n");
    EXPECT_FALSE(LogExists());
}

TEST_F(LogTest, LineIsLostSilentlyWhenNeitherFileOpens)
{
    lf::test::WriteFile(books.file("blocked"), "");
    SetLogBooksDirectory(books.file("blocked"));
    system.programPath = books.file("blocked") + "/lernfold";

    WriteLog("lost");

    EXPECT_EQ(system.sleptMilliseconds, 0);
    EXPECT_FALSE(std::filesystem::exists(books.file("blocked") + "/Lernfold.log"));
}

TEST_F(LogTest, EmptyBooksFolderWritesIntoTheCurrentDirectory)
{
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(books.path());
    SetLogBooksDirectory("");
    WriteLog("here");
    std::filesystem::current_path(previous);
    EXPECT_EQ(LogText(), "      here\r\n");
}

} // namespace
