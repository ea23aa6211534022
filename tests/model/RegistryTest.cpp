// Registry access of the program: the option values and their type rules, text values by path, the book
// file association, the log lines of a store that cannot be had, and the system texts of the log banner.
#include "model/support/Registry.h"

#include "model/support/Log.h"
#include "platform/registry/RegistryStore.h"

#include "platform/sys/SystemDescription.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <functional>

namespace
{

using lf::test::PrintTo;

using lf::reg::RegistryStore;
using lf::reg::Root;
using lf::test::TempDir;

// Sets an environment variable for the test's lifetime.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        m_had = std::getenv(name) != nullptr;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            setenv(m_name.c_str(), m_old.c_str(), 1);
        else
            unsetenv(m_name.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name;
    std::string m_old;
    bool m_had = false;
};

// Every test gets its own store, data folder and log.
class RegistryTest : public ::testing::Test
{
protected:
    RegistryTest()
        : configEnv("LERNFOLD_CONFIG_DIR", config.path().c_str()),
          dataEnv("XDG_DATA_HOME", data.path().c_str())
    {
        SetLogBooksDirectory(logFolder.folder());
    }
    ~RegistryTest() override { SetLogBooksDirectory(""); }

    std::string StorePath() const { return config.file("registry.xml"); }
    std::string LogText() const
    {
        const std::string path = logFolder.file("Lernfold.log");
        return std::filesystem::exists(path) ? lf::test::ReadFile(path) : std::string();
    }

    lf::test::FakeSystem system;
    TempDir config;
    TempDir data;
    TempDir logFolder;
    ScopedEnv configEnv;
    ScopedEnv dataEnv;
};

TEST_F(RegistryTest, OptionValuesRoundTripThroughTheStore)
{
    WriteValueToRegistry("Negative", -5);
    WriteValueToRegistry("Lowest", INT_MIN);
    WriteValueToRegistry("Highest", INT_MAX);
    WriteValueToRegistry2("BooksDirectory", "/home/u/Lernfold Books/");

    EXPECT_EQ(ReadValueFromRegistry("Negative", 0), -5);
    EXPECT_EQ(ReadValueFromRegistry("Lowest", 0), INT_MIN);
    EXPECT_EQ(ReadValueFromRegistry("highest", 0), INT_MAX);
    EXPECT_EQ(ReadValueFromRegistry2("booksdirectory", ""), "/home/u/Lernfold Books/");

    // Stored as a DWORD under the options key of the current user.
    RegistryStore store(StorePath());
    std::uint32_t raw = 0;
    EXPECT_TRUE(store.ReadDWord(Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Negative", raw));
    EXPECT_EQ(raw, 4294967291u);
    EXPECT_EQ(LogText(), "");
}

TEST_F(RegistryTest, AValueOfTheOtherTypeReadsAsTheDefault)
{
    WriteValueToRegistry("StoredAsNumber", 12);
    WriteValueToRegistry2("StoredAsText", "12");

    EXPECT_EQ(ReadValueFromRegistry2("StoredAsNumber", "default"), "default");
    EXPECT_EQ(ReadValueFromRegistry("StoredAsText", 7), 7);
    // The value itself is left as it was.
    EXPECT_EQ(ReadValueFromRegistry("StoredAsNumber", 0), 12);
    EXPECT_EQ(ReadValueFromRegistry2("StoredAsText", ""), "12");
}

TEST_F(RegistryTest, ReadingAMissingValueCreatesTheEmptyOptionsKey)
{
    ASSERT_FALSE(std::filesystem::exists(StorePath()));
    EXPECT_EQ(ReadValueFromRegistry("Missing", 42), 42);

    RegistryStore store(StorePath());
    EXPECT_TRUE(store.KeyExists(Root::CurrentUser, kOptionsKey));
    EXPECT_EQ(store.GetValueType(Root::CurrentUser, kOptionsKey, "Missing"), lf::reg::ValueType::None);
    EXPECT_EQ(ReadValueFromRegistry2("Missing", "fallback"), "fallback");
}

TEST_F(RegistryTest, GetRegStrKeyGivesStringValuesOnly)
{
    WriteValueToRegistry2("Text", "value");
    WriteValueToRegistry("Number", 3);

    std::string out = "untouched";
    EXPECT_TRUE(GetRegStrKey(HKey::CurrentUser, kOptionsKey, "Text", out));
    EXPECT_EQ(out, "value");
    out = "untouched";
    EXPECT_FALSE(GetRegStrKey(HKey::CurrentUser, kOptionsKey, "Number", out));
    EXPECT_FALSE(GetRegStrKey(HKey::CurrentUser, kOptionsKey, "Missing", out));
    EXPECT_FALSE(GetRegStrKey(HKey::ClassesRoot, ".lnf", "", out));
    EXPECT_FALSE(GetRegStrKey(HKey::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer", "Version", out));
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(GetInternetExplorerVersion(), "Not installed");
}

TEST_F(RegistryTest, RegisterFileTypeWritesTheThreeAssociationKeys)
{
    const std::string program = "/opt/lernfold/bin/lernfold";
    RegisterFileType("lnf", program);

    std::string out;
    EXPECT_TRUE(GetRegStrKey(HKey::ClassesRoot, ".lnf", "", out));
    EXPECT_EQ(out, "lnffile");
    EXPECT_TRUE(GetRegStrKey(HKey::ClassesRoot, "lnffile\\DefaultIcon", "", out));
    EXPECT_EQ(out, program + ",0");
    EXPECT_TRUE(GetRegStrKey(HKey::ClassesRoot, "lnffile\\shell\\open\\command", "", out));
    EXPECT_EQ(out, program + " \"%1\"");

    // And the desktop's way: the book type and the entry that opens it.
    const std::string desktop = lf::test::ReadFile(data.file("applications/lernfold.desktop"));
    EXPECT_NE(desktop.find("\nExec=/opt/lernfold/bin/lernfold %f\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nMimeType=application/x-lernfold-book;\n"), std::string::npos);
    EXPECT_NE(lf::test::ReadFile(data.file("mime/packages/lernfold-book.xml")).find("pattern=\"*.lnf\""),
              std::string::npos);
}

TEST_F(RegistryTest, RegisterFileTypeAtEveryStartLeavesUnchangedFilesAlone)
{
    RegisterFileType("lnf", "/opt/lernfold");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    for (const std::string& path : {StorePath(), data.file("applications/lernfold.desktop"),
                                    data.file("mime/packages/lernfold-book.xml")})
        std::filesystem::last_write_time(path, old);

    RegisterFileType("lnf", "/opt/lernfold");

    for (const std::string& path : {StorePath(), data.file("applications/lernfold.desktop"),
                                    data.file("mime/packages/lernfold-book.xml")})
        EXPECT_EQ(std::filesystem::last_write_time(path), old) << path;
}

TEST_F(RegistryTest, CorruptStoreReadsAsDefaultsIsLoggedAndKeptAside)
{
    lf::test::WriteFile(StorePath(), "<registry><root");

    EXPECT_EQ(ReadValueFromRegistry("BooksDirectory", 3), 3);

    EXPECT_EQ(lf::test::ReadFile(StorePath() + ".corrupt"), "<registry><root");
    EXPECT_EQ(RegistryStore(StorePath()).Status(), lf::reg::LoadStatus::Loaded);
    EXPECT_EQ(LogText(),
              "      RegistryStore::Load - ERROR, the file is corrupt and is read as empty: " + StorePath() +
                  "\r\n"
                  "      RegistryStore::Save - the corrupt file is kept as " +
                  StorePath() + ".corrupt\r\n");
}

struct SNoStoreCase
{
    const char* name;
    std::function<void()> call;
    const char* logLine;
};

class RegistryWithoutStoreTest : public RegistryTest, public ::testing::WithParamInterface<SNoStoreCase>
{
};

TEST_P(RegistryWithoutStoreTest, LogsThatTheRegistryObjectCouldNotBeMade)
{
    const ScopedEnv noOwnFolder("LERNFOLD_CONFIG_DIR", nullptr);
    const ScopedEnv noConfigHome("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv noHome("HOME", nullptr);

    GetParam().call();

    EXPECT_EQ(LogText(), std::string("      ") + GetParam().logLine + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Functions, RegistryWithoutStoreTest,
    ::testing::Values(SNoStoreCase{"WriteNumber", [] { WriteValueToRegistry("A", 1); },
                                   "WriteValueToRegistry - Unknown ERROR (Reg == NULL)"},
                      SNoStoreCase{"WriteText", [] { WriteValueToRegistry2("A", "x"); },
                                   "WriteValueToRegistry2 - Unknown ERROR (Reg == NULL)"},
                      SNoStoreCase{"ReadNumber", [] { EXPECT_EQ(ReadValueFromRegistry("A", 9), 9); },
                                   "ReadValueFromRegistry - Unknown ERROR (Reg == NULL)"},
                      SNoStoreCase{"ReadText", [] { EXPECT_EQ(ReadValueFromRegistry2("A", "d"), "d"); },
                                   "ReadValueFromRegistry2 - Unknown ERROR (Reg == NULL)"},
                      SNoStoreCase{"ReadAnyText",
                                   []
                                   {
                                       std::string out = "same";
                                       EXPECT_FALSE(GetRegStrKey(HKey::CurrentUser, "Software", "X", out));
                                       EXPECT_EQ(out, "same");
                                   },
                                   "GetRegStrKey - Unknown ERROR (Reg == NULL)"},
                      SNoStoreCase{"Associate", [] { RegisterFileType("lnf", "/opt/lernfold"); },
                                   "RegisterFileType - Unknown ERROR (Reg == NULL)"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the system texts of the log banner ----

SWindowsVersionInfo Nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build, const char* servicePack,
                       int productType, std::uint32_t suite)
{
    SWindowsVersionInfo info;
    info.available = true;
    info.extended = true;
    info.platformId = SWindowsVersionInfo::kWindowsNT;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = build;
    info.servicePack = servicePack;
    info.productType = productType;
    info.suiteMask = suite;
    return info;
}

SWindowsVersionInfo NtPlain(std::uint32_t major, std::uint32_t minor, std::uint32_t build,
                            const char* servicePack, const char* registryProductType)
{
    SWindowsVersionInfo info = Nt(major, minor, build, servicePack, 0, 0);
    info.extended = false;
    info.registryProductType = registryProductType;
    return info;
}

SWindowsVersionInfo Win9x(int platform, std::uint32_t major, std::uint32_t minor, const char* servicePack)
{
    SWindowsVersionInfo info;
    info.available = true;
    info.platformId = platform;
    info.majorVersion = major;
    info.minorVersion = minor;
    info.buildNumber = 1998;
    info.servicePack = servicePack;
    return info;
}

struct SVersionCase
{
    const char* name;
    SWindowsVersionInfo info;
    const char* text;
};

class WindowsVersionTextTest : public ::testing::TestWithParam<SVersionCase>
{
};

TEST_P(WindowsVersionTextTest, DescribesTheSystem)
{
    EXPECT_EQ(FormatWindowsVersionText(GetParam().info), GetParam().text);
}

constexpr int kWorkstation = SWindowsVersionInfo::kWorkstation;
constexpr int kServer = SWindowsVersionInfo::kServer;

INSTANTIATE_TEST_SUITE_P(
    Versions, WindowsVersionTextTest,
    ::testing::Values(
        SVersionCase{
            "Seven", Nt(6, 1, 7601, "Service Pack 1", kWorkstation, 0),
            "Unknown NT-based (Version 6 family, sub-version 1) Professional Service Pack 1 (Build 7601)"},
        SVersionCase{"XpHomeBuildLow16Bits", Nt(5, 1, 0x0A280A28, "Service Pack 2", kWorkstation, 0x0200),
                     "Windows XP Personal Service Pack 2 (Build 2600)"},
        SVersionCase{"TwoThousandDataCenter", Nt(5, 0, 2195, "", kServer, 0x0080 | 0x0002),
                     "Windows 2000 DataCenter Server  (Build 2195)"},
        SVersionCase{"TwoThousandAdvanced", Nt(5, 0, 2195, "Service Pack 4", kServer, 0x0002),
                     "Windows 2000 Advanced Server Service Pack 4 (Build 2195)"},
        SVersionCase{"PlainServer", Nt(5, 0, 2195, "Service Pack 4", kServer, 0),
                     "Windows 2000 Server Service Pack 4 (Build 2195)"},
        SVersionCase{"DomainControllerAddsNoType",
                     Nt(5, 0, 2195, "Service Pack 4", SWindowsVersionInfo::kDomainController, 0),
                     "Windows 2000 Service Pack 4 (Build 2195)"},
        SVersionCase{"NtFourWorkstationFromRegistry", NtPlain(4, 0, 1381, "Service Pack 6", "winnt"),
                     "Windows NT Workstation version 4.0 Service Pack 6 (Build 1381)"},
        SVersionCase{"NtFourServerFromRegistry", NtPlain(4, 0, 1381, "Service Pack 6", "ServerNT"),
                     "Windows NT Server version 4.0 Service Pack 6 (Build 1381)"},
        SVersionCase{"NtThreeOtherProductType", NtPlain(3, 51, 1057, "Service Pack 5", "LanmanNT"),
                     "Windows NT version 3.51 Service Pack 5 (Build 1057)"},
        SVersionCase{"NinetyFive", Win9x(SWindowsVersionInfo::kWindows, 4, 0, " A"), "Microsoft Windows 95"},
        SVersionCase{"NinetyFiveOsr2", Win9x(SWindowsVersionInfo::kWindows, 4, 0, " C"),
                     "Microsoft Windows 95 OSR2"},
        SVersionCase{"NinetyEight", Win9x(SWindowsVersionInfo::kWindows, 4, 10, ""), "Microsoft Windows 98"},
        SVersionCase{"NinetyEightSecond", Win9x(SWindowsVersionInfo::kWindows, 4, 10, " A "),
                     "Microsoft Windows 98 Second Edition"},
        SVersionCase{"Me", Win9x(SWindowsVersionInfo::kWindows, 4, 90, ""), "Microsoft Windows Me "},
        SVersionCase{"UnknownNinetyFamily", Win9x(SWindowsVersionInfo::kWindows, 4, 95, ""),
                     "Unknown (Version 4 family, sub-version 95), Win98/98/Me - compatible"},
        SVersionCase{"Win32s", Win9x(SWindowsVersionInfo::kWin32s, 1, 30, ""), "Microsoft Win32s "},
        SVersionCase{"OtherPlatform", Win9x(3, 1, 0, ""), ""},
        SVersionCase{"Refused", SWindowsVersionInfo{}, "Unable to determine Windows version."}),
    [](const auto& info) { return std::string(info.param.name); });

struct SOsReleaseCase
{
    const char* name;
    const char* text;
    const char* prettyName;
};

class OsReleaseTest : public ::testing::TestWithParam<SOsReleaseCase>
{
};

TEST_P(OsReleaseTest, FindsThePrettyName)
{
    EXPECT_EQ(lf::sys::OsReleasePrettyName(GetParam().text), GetParam().prettyName);
}

INSTANTIATE_TEST_SUITE_P(
    Files, OsReleaseTest,
    ::testing::Values(
        SOsReleaseCase{
            "DoubleQuoted",
            "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nID=debian\n",
            "Debian GNU/Linux 12 (bookworm)"},
        SOsReleaseCase{"SingleQuoted", "PRETTY_NAME='Arch Linux'", "Arch Linux"},
        SOsReleaseCase{"Unquoted", "ID=x\r\nPRETTY_NAME=Plain\r\n", "Plain"},
        SOsReleaseCase{"Escaped", "PRETTY_NAME=\"Say \\\"hi\\\" \\\\ there\"\n", "Say \"hi\" \\ there"},
        SOsReleaseCase{"OnlyAtLineStart", "X_PRETTY_NAME=\"no\"\n", ""},
        SOsReleaseCase{"Missing", "NAME=Debian\n", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SystemVersionText, JoinsTheSystemAndTheKernel)
{
    using lf::detail::FormatSystemVersionText;
    EXPECT_EQ(FormatSystemVersionText("Debian GNU/Linux 12 (bookworm)", "Linux", "6.1.0"),
              "Debian GNU/Linux 12 (bookworm), Linux 6.1.0");
    EXPECT_EQ(FormatSystemVersionText("", "Linux", "6.1.0"), "Linux 6.1.0");
    EXPECT_EQ(FormatSystemVersionText("Debian", "", ""), "Debian");
    EXPECT_EQ(FormatSystemVersionText("", "", ""), "Unable to determine Windows version.");
    EXPECT_FALSE(GetWindowsVersionText().empty());
}

TEST(WindowsPlatform, IsNeitherFamilyHere)
{
    int major = -1;
    EXPECT_EQ(GetWindowsPlatform(&major), 2);
    EXPECT_GT(major, 0);
    EXPECT_EQ(GetWindowsPlatform(), 2);
}

} // namespace
