// The per-user key-value store: what survives a reload from disk, the registry's naming rules, the
// read-only root, and unreadable files that read as empty and are kept aside before being replaced.
#include "platform/registry/RegistryStore.h"

#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{

using lf::test::PrintTo;

using lf::reg::LoadStatus;
using lf::reg::RegistryStore;
using lf::reg::Root;
using lf::reg::ValueType;
using lf::test::TempDir;

class RegistryStoreTest : public ::testing::Test
{
protected:
    std::string StorePath() const { return dir.file("registry.xml"); }
    TempDir dir;
};

TEST_F(RegistryStoreTest, ValuesSurviveAReloadFromDisk)
{
    const std::string awkward = "  two\r\nlines\tand <&\"'> \x01 \xC3\x84pfel  ";
    {
        RegistryStore store(StorePath());
        EXPECT_EQ(store.Status(), LoadStatus::Missing);
        ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "\\Software\\Korvanta\\Lernfold\\Options\\", "Count",
                                     4294967295u));
        ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Zero", 0));
        ASSERT_TRUE(
            store.WriteString(Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Text", awkward));
        ASSERT_TRUE(
            store.WriteString(Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Empty", ""));
        ASSERT_TRUE(store.WriteString(Root::ClassesRoot, ".lnf", "", "lnffile"));
        ASSERT_TRUE(store.CreateKey(Root::CurrentUser, "Software\\EmptyKey"));
        ASSERT_TRUE(store.Save());
    }

    RegistryStore reloaded(StorePath());
    EXPECT_EQ(reloaded.Status(), LoadStatus::Loaded);
    const std::string options = "Software\\Korvanta\\Lernfold\\Options";
    std::uint32_t number = 7;
    EXPECT_TRUE(reloaded.ReadDWord(Root::CurrentUser, options, "Count", number));
    EXPECT_EQ(number, 4294967295u);
    EXPECT_TRUE(reloaded.ReadDWord(Root::CurrentUser, options, "Zero", number));
    EXPECT_EQ(number, 0u);
    std::string text;
    EXPECT_TRUE(reloaded.ReadString(Root::CurrentUser, options, "Text", text));
    EXPECT_EQ(text, awkward);
    EXPECT_TRUE(reloaded.ReadString(Root::CurrentUser, options, "Empty", text));
    EXPECT_EQ(text, "");
    EXPECT_TRUE(reloaded.ReadString(Root::ClassesRoot, ".lnf", "", text));
    EXPECT_EQ(text, "lnffile");
    EXPECT_TRUE(reloaded.KeyExists(Root::CurrentUser, "Software\\EmptyKey"));
    // The roots are kept apart.
    EXPECT_FALSE(reloaded.KeyExists(Root::CurrentUser, ".lnf"));
}

TEST_F(RegistryStoreTest, KeyAndValueNamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    RegistryStore store(StorePath());
    ASSERT_TRUE(store.WriteString(Root::CurrentUser, "Software\\\xC3\x84pfel", "BooksDirectory", "/books"));
    ASSERT_TRUE(store.WriteString(Root::CurrentUser, "SOFTWARE\\\xC3\xA4PFEL\\", "booksdirectory", "/other"));
    ASSERT_TRUE(store.Save());

    RegistryStore reloaded(StorePath());
    std::string text;
    EXPECT_TRUE(reloaded.ReadString(Root::CurrentUser, "\\software\\\xC3\xA4pfel", "BOOKSDIRECTORY", text));
    EXPECT_EQ(text, "/other");
    const std::string file = lf::test::ReadFile(StorePath());
    EXPECT_NE(file.find("name=\"Software\""), std::string::npos);
    EXPECT_NE(file.find("name=\"BooksDirectory\""), std::string::npos);
    EXPECT_EQ(file.find("SOFTWARE"), std::string::npos);
    EXPECT_EQ(file.find("booksdirectory"), std::string::npos);
}

TEST_F(RegistryStoreTest, ReadsOfTheOtherTypeFailAndLeaveTheOutputAlone)
{
    RegistryStore store(StorePath());
    ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "K", "Number", 12));
    ASSERT_TRUE(store.WriteString(Root::CurrentUser, "K", "Text", "12"));

    std::string text = "untouched";
    EXPECT_FALSE(store.ReadString(Root::CurrentUser, "K", "Number", text));
    EXPECT_EQ(text, "untouched");
    std::uint32_t number = 99;
    EXPECT_FALSE(store.ReadDWord(Root::CurrentUser, "K", "Text", number));
    EXPECT_FALSE(store.ReadDWord(Root::CurrentUser, "K", "Missing", number));
    EXPECT_FALSE(store.ReadDWord(Root::CurrentUser, "NoKey", "Number", number));
    EXPECT_EQ(number, 99u);
    EXPECT_EQ(store.GetValueType(Root::CurrentUser, "K", "Number"), ValueType::DWord);
    EXPECT_EQ(store.GetValueType(Root::CurrentUser, "K", "Text"), ValueType::String);

    // A write of the other type replaces the value.
    ASSERT_TRUE(store.WriteString(Root::CurrentUser, "K", "Number", "now text"));
    EXPECT_FALSE(store.ReadDWord(Root::CurrentUser, "K", "Number", number));
    EXPECT_TRUE(store.ReadString(Root::CurrentUser, "K", "Number", text));
    EXPECT_EQ(text, "now text");
}

TEST_F(RegistryStoreTest, LocalMachineIsEmptyAndRefusesWrites)
{
    RegistryStore store(StorePath());
    EXPECT_FALSE(store.CreateKey(Root::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer"));
    EXPECT_FALSE(
        store.WriteString(Root::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer", "Version", "6"));
    EXPECT_FALSE(store.WriteDWord(Root::LocalMachine, "SOFTWARE", "Number", 1));
    EXPECT_FALSE(store.KeyExists(Root::LocalMachine, ""));
    std::string text = "untouched";
    EXPECT_FALSE(
        store.ReadString(Root::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer", "Version", text));
    EXPECT_EQ(text, "untouched");
    ASSERT_TRUE(store.Save());
    EXPECT_FALSE(std::filesystem::exists(StorePath())) << "refused writes leave nothing to save";
}

TEST_F(RegistryStoreTest, SaveWritesOnlyAfterAChangeAndLeavesNoTemporaryFile)
{
    const std::string nested = dir.file("a/b/registry.xml");
    RegistryStore store(nested);
    ASSERT_TRUE(store.Save());
    EXPECT_FALSE(std::filesystem::exists(nested));

    ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "K", "V", 1));
    ASSERT_TRUE(store.Save());
    ASSERT_TRUE(std::filesystem::exists(nested));

    // Writing the value it already holds changes nothing, so the file is not touched.
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(nested, old);
    RegistryStore again(nested);
    ASSERT_TRUE(again.WriteDWord(Root::CurrentUser, "k", "v", 1));
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(std::filesystem::last_write_time(nested), old);

    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.file("a/b")))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(RegistryStoreTest, SaveFailsWhenTheFolderCannotBeMade)
{
    lf::test::WriteFile(dir.file("plain"), "");
    RegistryStore store(dir.file("plain") + "/registry.xml");
    ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "K", "V", 1));
    EXPECT_FALSE(store.Save());
}

struct SCorruptCase
{
    const char* name;
    const char* bytes;
};

class RegistryStoreCorruptTest : public RegistryStoreTest, public ::testing::WithParamInterface<SCorruptCase>
{
};

TEST_P(RegistryStoreCorruptTest, ReadsAsEmptyAndKeepsACopyBeforeReplacingIt)
{
    const std::string bytes = GetParam().bytes;
    lf::test::WriteFile(StorePath(), bytes);

    RegistryStore store(StorePath());
    EXPECT_EQ(store.Status(), LoadStatus::Corrupt);
    std::uint32_t number = 5;
    EXPECT_FALSE(store.ReadDWord(Root::CurrentUser, "K", "V", number));
    EXPECT_EQ(lf::test::ReadFile(StorePath()), bytes) << "reading never changes the file";

    ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "K", "New", 3));
    ASSERT_TRUE(store.Save());
    ASSERT_EQ(store.KeptCorruptCopy(), StorePath() + ".corrupt");
    EXPECT_EQ(lf::test::ReadFile(store.KeptCorruptCopy()), bytes);

    RegistryStore reloaded(StorePath());
    EXPECT_EQ(reloaded.Status(), LoadStatus::Loaded);
    EXPECT_TRUE(reloaded.ReadDWord(Root::CurrentUser, "K", "New", number));
    EXPECT_EQ(number, 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RegistryStoreCorruptTest,
    ::testing::Values(SCorruptCase{"NotXml", "\x89PNG garbage"}, SCorruptCase{"Empty", ""},
                      SCorruptCase{"Truncated",
                                   "<registry><root name=\"HKEY_CURRENT_USER\"><key name=\"K\">"},
                      SCorruptCase{"WrongRoot", "<settings/>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryStoreTest, DamagedEntriesAreSkippedWhileTheRestIsRead)
{
    lf::test::WriteFile(StorePath(), "<registry><root name=\"HKEY_CURRENT_USER\"><key name=\"K\">"
                                     "<value name=\"Good\" type=\"dword\" data=\"42\"/>"
                                     "<value name=\"Bad\" type=\"dword\" data=\"12a\"/>"
                                     "<value name=\"Odd\" type=\"binary\" data=\"00\"/>"
                                     "<value name=\"Text\" type=\"string\" data=\"kept\"/>"
                                     "</key></root></registry>");

    RegistryStore store(StorePath());
    EXPECT_EQ(store.Status(), LoadStatus::Corrupt);
    std::uint32_t number = 0;
    EXPECT_TRUE(store.ReadDWord(Root::CurrentUser, "K", "Good", number));
    EXPECT_EQ(number, 42u);
    EXPECT_EQ(store.GetValueType(Root::CurrentUser, "K", "Bad"), ValueType::None);
    EXPECT_EQ(store.GetValueType(Root::CurrentUser, "K", "Odd"), ValueType::None);
    std::string text;
    EXPECT_TRUE(store.ReadString(Root::CurrentUser, "K", "Text", text));
    EXPECT_EQ(text, "kept");
}

TEST_F(RegistryStoreTest, ASecondCorruptFileDoesNotOverwriteTheFirstCopy)
{
    lf::test::WriteFile(StorePath() + ".corrupt", "first");
    lf::test::WriteFile(StorePath(), "second");
    RegistryStore store(StorePath());
    ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "K", "V", 1));
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(store.KeptCorruptCopy(), StorePath() + ".corrupt-2");
    EXPECT_EQ(lf::test::ReadFile(StorePath() + ".corrupt"), "first");
    EXPECT_EQ(lf::test::ReadFile(StorePath() + ".corrupt-2"), "second");
}

TEST(RegistryStorePlace, FollowsTheConfigurationFolders)
{
    // The test program points LERNFOLD_CONFIG_DIR into its scratch folder.
    const std::string own = std::getenv("LERNFOLD_CONFIG_DIR");
    EXPECT_EQ(RegistryStore::DefaultFilePath(), own + "/registry.xml");

    const std::string configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string home = std::getenv("HOME");
    unsetenv("LERNFOLD_CONFIG_DIR");
    EXPECT_EQ(RegistryStore::DefaultFilePath(), configHome + "/Korvanta/Lernfold/registry.xml");
    setenv("XDG_CONFIG_HOME", "relative/config", 1); // only an absolute folder counts
    EXPECT_EQ(RegistryStore::DefaultFilePath(), home + "/.config/Korvanta/Lernfold/registry.xml");
    unsetenv("HOME");
    EXPECT_EQ(RegistryStore::DefaultFilePath(), "");
    EXPECT_EQ(RegistryStore::OpenDefault(), nullptr);

    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    setenv("LERNFOLD_CONFIG_DIR", own.c_str(), 1);
}

} // namespace

namespace
{

// 30,000 nested keys once overflowed the stack of the reader (and of the writer and the destructor).
TEST_F(RegistryStoreTest, NestingPastTheLimitIsDamageThatIsCopiedAside)
{
    const std::string bytes = lf::test::ReadGzipFile(lf::test::DataFile("fuzz/registry-crash-1.xml.gz"));
    lf::test::WriteFile(StorePath(), bytes);
    {
        RegistryStore store(StorePath());
        EXPECT_EQ(store.Status(), LoadStatus::Corrupt);
        EXPECT_TRUE(store.KeyExists(Root::CurrentUser, "a\\a\\a"));
        ASSERT_TRUE(store.WriteDWord(Root::CurrentUser, "Software\\K", "V", 7));
        ASSERT_TRUE(store.Save());
        EXPECT_EQ(lf::test::ReadFile(store.KeptCorruptCopy()), bytes);
    }
    RegistryStore reread(StorePath());
    EXPECT_EQ(reread.Status(), LoadStatus::Loaded);
    std::uint32_t value = 0;
    EXPECT_TRUE(reread.ReadDWord(Root::CurrentUser, "Software\\K", "V", value));
    EXPECT_EQ(value, 7u);
}

TEST_F(RegistryStoreTest, KeyPathsDeeperThanTheLimitAreRefused)
{
    RegistryStore store(StorePath());
    std::string path = "k";
    for (int i = 1; i < 512; ++i)
        path += "\\k";
    EXPECT_TRUE(store.CreateKey(Root::CurrentUser, path));
    EXPECT_FALSE(store.CreateKey(Root::CurrentUser, path + "\\k"));
    EXPECT_FALSE(store.WriteDWord(Root::CurrentUser, path + "\\k", "V", 1));
    ASSERT_TRUE(store.Save());
    EXPECT_EQ(RegistryStore(StorePath()).Status(), LoadStatus::Loaded);
}

} // namespace
