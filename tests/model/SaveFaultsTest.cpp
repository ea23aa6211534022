// Saves on a failing disk and saves cut short by a kill: for every writer of the program, a fault at any
// call of one save leaves the old file as it was and no temporary file, and tells the caller; a killed
// save leaves the whole old or the whole new file, and the next save clears what it left.
#include "tests/model/DatastorageTestSupport.h"

#include "model/storage/Palmdatabase.h"
#include "model/support/Registry.h"
#include "platform/registry/RegistryStore.h"
#include "platform/sys/AtomicFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace lf::test;
namespace fs = std::filesystem;
using lf::sys::FileCall;

namespace
{

const char* CallName(FileCall call)
{
    switch (call)
    {
    case FileCall::Create:
        return "create";
    case FileCall::Write:
        return "write";
    case FileCall::Sync:
        return "fsync";
    case FileCall::Close:
        return "close";
    case FileCall::Rename:
        return "rename";
    case FileCall::SyncFolder:
        return "fsync folder";
    }
    return "?";
}

// The fault plan of the running save: every call is recorded; the one numbered failAt fails with code.
struct SFaultPlan
{
    std::vector<FileCall> calls;
    std::size_t failAt = 0; // 1-based; 0 fails nothing
    int code = 0;
};
SFaultPlan g_plan;

int PlannedFault(FileCall call)
{
    g_plan.calls.push_back(call);
    return g_plan.calls.size() == g_plan.failAt ? g_plan.code : 0;
}

class FaultHook
{
public:
    FaultHook(std::size_t failAt, int code)
    {
        g_plan = SFaultPlan{{}, failAt, code};
        lf::sys::SetFileFaultHook(&PlannedFault);
    }
    ~FaultHook() { lf::sys::SetFileFaultHook(nullptr); }
    FaultHook(const FaultHook&) = delete;
    FaultHook& operator=(const FaultHook&) = delete;
};

std::vector<std::string> TempFilesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (lf::sys::IsAtomicTempFileName(entry.path().filename().string()))
            names.push_back(entry.path().filename().string());
    return names;
}

enum class Writer
{
    NativeBook,
    HandheldBook,
    MediaBook,
    Backup,
    OptionsStore,
};

const char* WriterName(Writer writer)
{
    switch (writer)
    {
    case Writer::NativeBook:
        return "NativeBook";
    case Writer::HandheldBook:
        return "HandheldBook";
    case Writer::MediaBook:
        return "MediaBook";
    case Writer::Backup:
        return "Backup";
    case Writer::OptionsStore:
        return "OptionsStore";
    }
    return "?";
}

class SaveFaults : public ::testing::TestWithParam<Writer>, public StorageFixture
{
protected:
    SaveFaults()
    {
        env.system.utcSeconds = 1'330'783'509;
        env.prefs.m_BackupDirectory = dir.folder();
        WriteValueToRegistry2("DeleteQuestionList", dir.file("Lernfold.del"));
        storage.NewBook();
        // Large enough that the book is written in several pieces.
        BookBuilder(items()).chapter("Biology").multipleChoice(std::string(1'200'000, 'q'), {"a", "b"}, 0);
    }
    ~SaveFaults() override { WriteValueToRegistry2("DeleteQuestionList", ""); }

    CItemsArray2& items() { return *storage.GetItemsPtr2(); }

    std::string Target() const
    {
        switch (GetParam())
        {
        case Writer::NativeBook:
            return dir.file("book.lnf");
        case Writer::HandheldBook:
            return dir.file("book.pdb");
        case Writer::MediaBook:
            return dir.file("book.lnf4");
        case Writer::Backup:
            return dir.file("Unnamed_(2012_03_03_14_05_09).bnf");
        case Writer::OptionsStore:
            return dir.file("registry.xml");
        }
        return {};
    }

    bool Save()
    {
        switch (GetParam())
        {
        case Writer::NativeBook:
            return storage.SaveXML(Target(), &items(), true, true);
        case Writer::HandheldBook:
            return storage.SavePDB(Target(), &items(), kPdbBookType, false, true);
        case Writer::MediaBook:
            return storage.SaveWithContentXML(Target(), &items(), true, true);
        case Writer::Backup:
            return storage.MakeBackup();
        case Writer::OptionsStore:
        {
            lf::reg::RegistryStore store(Target());
            store.WriteString(lf::reg::Root::CurrentUser, "Software\\Lernfold", "Generation", generation);
            return store.Save();
        }
        }
        return false;
    }

    // Makes the next save differ from the last one.
    void Change()
    {
        generation += "+";
        for (std::int32_t i = 0; i < items().GetCount(); ++i)
            items().GetItem(i)->SetGeneralFeedback("generation " + generation);
    }

    std::string generation = "1";
};

// Fails each call of one save in turn, with each error; prints the table of what happened.
TEST_P(SaveFaults, EveryFailingCallKeepsTheOldFileAndLeavesNoTemporaryFile)
{
    ASSERT_TRUE(Save());
    const std::string old = ReadFile(Target());
    Change();
    std::vector<FileCall> calls;
    {
        FaultHook record(0, 0);
        ASSERT_TRUE(Save());
        calls = g_plan.calls;
    }
    const std::string fresh = ReadFile(Target());
    ASSERT_TRUE(fresh != old);
    std::size_t firstRename = 0;
    while (firstRename < calls.size() && calls[firstRename] != FileCall::Rename)
        ++firstRename;
    ASSERT_LT(firstRename, calls.size());

    for (const int code : {ENOSPC, EIO})
        for (std::size_t at = 1; at <= calls.size(); ++at)
        {
            WriteFile(Target(), old);
            bool saved = false;
            {
                FaultHook fault(at, code);
                saved = Save();
            }
            const std::string now = ReadFile(Target());
            const bool beforeRename = at <= firstRename + 1; // the rename itself failing included
            const char* state = now == old ? "old" : now == fresh ? "new" : "BROKEN";
            std::cout << "| " << WriterName(GetParam()) << " | " << at << "/" << calls.size() << " "
                      << CallName(calls[at - 1]) << " | " << std::strerror(code) << " | "
                      << (saved ? "true" : "false") << " | " << state << " | "
                      << TempFilesIn(dir.path()).size() << " |\n";
            EXPECT_TRUE(TempFilesIn(dir.path()).empty()) << "call " << at;
            if (beforeRename)
            {
                EXPECT_FALSE(saved) << "call " << at;
                EXPECT_TRUE(now == old) << "call " << at;
            }
            else
            {
                // The new file is in place: a failing folder sync (or, for the handheld book, a failing
                // deleted-items file written after it) cannot take it back.
                EXPECT_TRUE(now == fresh) << "call " << at;
            }
        }
}

INSTANTIATE_TEST_SUITE_P(Writers, SaveFaults,
                         ::testing::Values(Writer::NativeBook, Writer::HandheldBook, Writer::MediaBook,
                                           Writer::Backup, Writer::OptionsStore),
                         [](const auto& info) { return WriterName(info.param); });

// Kills a child that saves at random moments of its save: the book is always whole, old or new, and
// the parent's next save removes the temporary file a kill left.
TEST_P(SaveFaults, KilledSaveLeavesAWholeFileAndTheNextSaveClearsUp)
{
    ASSERT_TRUE(Save());
    const std::string old = ReadFile(Target());
    Change();
    // How long a child takes from the fork to the end of its save, so that the kills fall all over it.
    const auto start = std::chrono::steady_clock::now();
    const pid_t timed = ::fork();
    ASSERT_GE(timed, 0);
    if (timed == 0)
        ::_exit(Save() ? 0 : 1);
    int timedStatus = 0;
    ::waitpid(timed, &timedStatus, 0);
    ASSERT_TRUE(WIFEXITED(timedStatus) && WEXITSTATUS(timedStatus) == 0);
    const auto took =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    const std::string fresh = ReadFile(Target());
    ASSERT_TRUE(fresh != old);

    std::mt19937 random(16);
    std::uniform_int_distribution<long> moment(0, took.count() * 11 / 10);
    int wasOld = 0;
    int wasNew = 0;
    int leftovers = 0;
    constexpr int kKills = 20;
    for (int kill = 0; kill < kKills; ++kill)
    {
        WriteFile(Target(), old);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0)
        {
            Save();
            ::_exit(0);
        }
        ::usleep(static_cast<useconds_t>(moment(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        const std::string now = ReadFile(Target());
        ASSERT_TRUE(now == old || now == fresh) << "kill " << kill << ": a broken file of " << now.size();
        (now == old ? wasOld : wasNew) += 1;
        leftovers += static_cast<int>(TempFilesIn(dir.path()).size());
        if (!TempFilesIn(dir.path()).empty())
        {
            ASSERT_TRUE(Save());
            EXPECT_TRUE(TempFilesIn(dir.path()).empty()) << "kill " << kill;
        }
    }
    std::cout << "| " << WriterName(GetParam()) << " | " << kKills << " kills | old " << wasOld << " | new "
              << wasNew << " | temporary files left by the kill " << leftovers
              << ", all removed by the next save |\n";
}

} // namespace
