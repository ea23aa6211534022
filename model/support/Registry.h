// Registry access over the per-user key-value store: single option values under the options key, any
// text value, the book file association, and the system description for the log banner.
#pragma once

#include <cstdint>
#include <string>

enum class HKey
{
    CurrentUser,
    ClassesRoot,
    LocalMachine, // read-only
};

// The options key under HKEY_CURRENT_USER.
inline constexpr const char* kOptionsKey = "\\Software\\Korvanta\\Lernfold\\Options\\";

void WriteValueToRegistry(const std::string& valueName, std::int32_t value);
void WriteValueToRegistry2(const std::string& valueName, const std::string& value);
// The stored integer when the value exists as a DWORD; otherwise the default.
std::int32_t ReadValueFromRegistry(const std::string& valueName, std::int32_t defaultValue);
// The stored text when the value exists as a string; otherwise the default.
std::string ReadValueFromRegistry2(const std::string& valueName, const std::string& defaultValue);
// True and the text when the key opens and the value exists as a string; out is untouched otherwise.
bool GetRegStrKey(HKey root, const std::string& keyPath, const std::string& valueName, std::string& out);

// Associates the extension (without its point) with the program, in the store and the desktop's way.
void RegisterFileType(const std::string& extension, const std::string& programPath);

// What the system says of its version: the fields of the extended version record. On this platform the
// record is never available; the formatter serves the texts the log banner gives for each Windows.
struct SWindowsVersionInfo
{
    enum EPlatform
    {
        kWin32s = 0,
        kWindows = 1, // the 95 family
        kWindowsNT = 2,
    };
    enum EProductType
    {
        kWorkstation = 1,
        kDomainController = 2,
        kServer = 3,
    };
    static constexpr std::uint32_t kSuiteEnterprise = 0x0002;
    static constexpr std::uint32_t kSuiteDataCenter = 0x0080;
    static constexpr std::uint32_t kSuitePersonal = 0x0200;

    bool available = false;      // false when both version queries were refused
    bool extended = false;       // the product type and suite fields are known
    int platformId = kWindowsNT; // an EPlatform value, or any other number
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::uint32_t buildNumber = 0;
    std::string servicePack;        // e.g. "Service Pack 1"
    int productType = kWorkstation; // with the extended record only
    std::uint32_t suiteMask = 0;    // with the extended record only
    // Without the extended record: the "ProductType" text of the product options key ("WINNT", ...).
    std::string registryProductType;
};

// The version line for the record: "Windows XP Professional Service Pack 2 (Build 2600)" and the like;
// "Unable to determine Windows version." when the record is not available.
std::string FormatWindowsVersionText(const SWindowsVersionInfo& info);

// The system version line of the log banner. Here: the operating system's name and version from
// os-release, then the kernel's name and release, e.g. "Debian GNU/Linux 12 (bookworm), Linux 6.1.0"
// (read through lf::sys::DescribeSystem).
std::string GetWindowsVersionText();
std::string GetInternetExplorerVersion();
// 0 for the NT family, 1 for the 95 family, 2 otherwise; majorVersion gets the major number, or 3.
// Here always 2, and the major number is the kernel's (6 for Linux 6.1.0), or 3 when it cannot be read.
int GetWindowsPlatform(int* majorVersion = nullptr);

namespace lf::detail
{

// "Pretty name, Kernel release" with either part left out when empty.
std::string FormatSystemVersionText(const std::string& prettyName, const std::string& kernelName,
                                    const std::string& kernelRelease);

} // namespace lf::detail
