// The program log "Lernfold.log". Every call opens the file, appends its line(s) and closes it again, so
// the log is complete on disk after each line and survives a crash of the program.
#include "model/support/Log.h"

#include "lf/Version.h"
#include "model/support/Registry.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/PathText.h"
#include "platform/sys/ProblemLog.h"
#include "platform/sys/SystemServices.h"

#include <cstdio>
#include <mutex>

namespace
{

constexpr const char* kLogFileName = "Lernfold.log";
constexpr int kPauseMilliseconds = 5;

struct SLogSettings
{
    std::mutex mutex;
    std::string booksDirectory;
    int screenWidth = 0;
    int screenHeight = 0;
    int screenDpi = 0;
};

SLogSettings& Settings()
{
    static SLogSettings settings;
    return settings;
}

// "folder/Lernfold.log", or the bare name for an empty folder (the current directory).
std::string LogPathIn(const std::string& folder)
{
    return lf::sys::JoinPath(folder, kLogFileName);
}

// The local date and time as "2024-03-05 14:07:09".
std::string NowText()
{
    const lf::sys::LocalDateTime now = lf::sys::Services().LocalNow();
    std::string text;
    text += lf::sys::NumberText(now.year, 4);
    text += '-';
    text += lf::sys::NumberText(now.month, 2);
    text += '-';
    text += lf::sys::NumberText(now.day, 2);
    text += ' ';
    text += lf::sys::NumberText(now.hour, 2);
    text += ':';
    text += lf::sys::NumberText(now.minute, 2);
    text += ':';
    text += lf::sys::NumberText(now.second, 2);
    return text;
}

// Opens the log for appending, creating it when missing; the program's own folder when the books folder
// refuses the file. nullptr when neither can be opened.
std::FILE* OpenLog(const std::string& booksDirectory)
{
    if (std::FILE* file = std::fopen(LogPathIn(booksDirectory).c_str(), "ab"))
        return file;
    const std::string programFolder = lf::sys::FolderOf(lf::sys::Services().ProgramPath());
    if (programFolder.empty())
        return nullptr;
    return std::fopen(LogPathIn(programFolder).c_str(), "ab");
}

// One line as one write of its bytes, followed by the pause that every logged line takes.
void WriteLine(std::FILE* file, std::string line, bool pause)
{
    line += "\r\n";
    std::fwrite(line.data(), 1, line.size(), file); // a write error is not reported to anybody
    std::fflush(file);
    if (pause)
        lf::sys::Services().Sleep(kPauseMilliseconds);
}

// What the platform layer refused or repaired in outside data goes into this log.
[[maybe_unused]] const bool g_problemSinkInstalled = []
{
    lf::sys::SetProblemSink([](const std::string& line) { WriteLog(line, 1, 2); });
    return true;
}();

} // namespace

void SetLogBooksDirectory(const std::string& folder)
{
    SLogSettings& settings = Settings();
    const std::lock_guard lock(settings.mutex);
    settings.booksDirectory = folder;
}

void SetLogScreenInfo(int width, int height, int dpi)
{
    SLogSettings& settings = Settings();
    const std::lock_guard lock(settings.mutex);
    settings.screenWidth = width;
    settings.screenHeight = height;
    settings.screenDpi = dpi;
}

void WriteLog(const std::string& text, int level, int kind)
{
    // Level and kind are a 16-bit and an 8-bit code: -1 is level 65535 and is dropped.
    if (static_cast<std::uint16_t>(level) > 10)
        return;
    const auto kindCode = static_cast<std::uint8_t>(kind);

    std::string booksDirectory;
    int width = 0;
    int height = 0;
    int dpi = 0;
    {
        SLogSettings& settings = Settings();
        const std::lock_guard lock(settings.mutex);
        booksDirectory = settings.booksDirectory;
        width = settings.screenWidth;
        height = settings.screenHeight;
        dpi = settings.screenDpi;
    }

    // The banner's system lines are gathered before the file is opened, so it stays open briefly.
    std::string pending;
    std::string windowsVersion;
    std::string browserVersion;
    if (kindCode == 0)
    {
        windowsVersion = GetWindowsVersionText();
        browserVersion = GetInternetExplorerVersion();
    }

    std::FILE* file = OpenLog(booksDirectory);
    if (file == nullptr)
        return; // the line is lost; the caller is not told

    switch (kindCode)
    {
    case 0:
        WriteLine(file, ">>>>>>>>>>>>>>>> Session started at " + NowText(), true);
        WriteLine(file, "Lernfold, Version " LF_VERSION_TEXT, true);
        WriteLine(file, " Analyzing system configuration...", true);
        WriteLine(file, "      Windows version: " + windowsVersion, true);
        WriteLine(file, "      Internet Explorer version: " + browserVersion, false);
        pending = "      Screen: ";
        pending += lf::sys::NumberText(width);
        pending += 'x';
        pending += lf::sys::NumberText(height);
        pending += " DPI: ";
        pending += lf::sys::NumberText(dpi);
        pending += ' ';
        break;
    case 1:
        pending = "      " + text;
        break;
    case 2:
        pending = "      " + NowText() + " " + text;
        break;
    case 3:
        pending = "<<<<<<<<<<<<<<<< Session ended at " + NowText();
        break;
    default:
        break; // an empty line
    }
    WriteLine(file, std::move(pending), true);
    std::fclose(file);
}
