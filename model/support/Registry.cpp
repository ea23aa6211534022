// Registry access for the program: each function opens the user's store, does its one job and lets it go,
// so calls share no state. Failures give defaults, false or nothing; none reaches the user.
#include "model/support/Registry.h"

#include "model/support/Log.h"
#include "platform/registry/DesktopAssociation.h"
#include "platform/registry/RegistryStore.h"
#include "platform/sys/NumberText.h"
#include "platform/sys/SystemDescription.h"
#include "platform/sys/TextCase.h"

#include <fstream>
#include <iterator>

namespace
{

using lf::reg::RegistryStore;
using lf::reg::Root;

Root ToRoot(HKey key)
{
    switch (key)
    {
    case HKey::CurrentUser:
        return Root::CurrentUser;
    case HKey::ClassesRoot:
        return Root::ClassesRoot;
    case HKey::LocalMachine:
        return Root::LocalMachine;
    }
    return Root::LocalMachine;
}

// The user's store, or nullptr after the caller's "Reg == NULL" line when it has no place.
std::unique_ptr<RegistryStore> OpenStore(const char* functionName)
{
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenDefault();
    if (!store)
    {
        WriteLog(std::string(functionName) + " - Unknown ERROR (Reg == NULL)");
        return nullptr;
    }
    if (store->Status() == lf::reg::LoadStatus::Corrupt)
        WriteLog("RegistryStore::Load - ERROR, the file is corrupt and is read as empty: " +
                 store->FilePath());
    return store;
}

// Writes the store's changes; a corrupt file that this replaces is named in the log with its kept copy.
void SaveStore(RegistryStore& store)
{
    const bool hadCopy = !store.KeptCorruptCopy().empty();
    store.Save();
    if (!hadCopy && !store.KeptCorruptCopy().empty())
        WriteLog("RegistryStore::Save - the corrupt file is kept as " + store.KeptCorruptCopy());
}

} // namespace

void WriteValueToRegistry(const std::string& valueName, std::int32_t value)
{
    const auto store = OpenStore("WriteValueToRegistry");
    if (!store)
        return;
    if (store->WriteDWord(Root::CurrentUser, kOptionsKey, valueName, static_cast<std::uint32_t>(value)))
        SaveStore(*store);
}

void WriteValueToRegistry2(const std::string& valueName, const std::string& value)
{
    const auto store = OpenStore("WriteValueToRegistry2");
    if (!store)
        return;
    if (store->WriteString(Root::CurrentUser, kOptionsKey, valueName, value))
        SaveStore(*store);
}

std::int32_t ReadValueFromRegistry(const std::string& valueName, std::int32_t defaultValue)
{
    const auto store = OpenStore("ReadValueFromRegistry");
    if (!store)
        return defaultValue;
    // The options key is opened with creation, as every key is.
    if (store->CreateKey(Root::CurrentUser, kOptionsKey))
        SaveStore(*store);
    std::uint32_t value = 0;
    if (!store->ReadDWord(Root::CurrentUser, kOptionsKey, valueName, value))
        return defaultValue;
    return static_cast<std::int32_t>(value);
}

std::string ReadValueFromRegistry2(const std::string& valueName, const std::string& defaultValue)
{
    const auto store = OpenStore("ReadValueFromRegistry2");
    if (!store)
        return defaultValue;
    if (store->CreateKey(Root::CurrentUser, kOptionsKey))
        SaveStore(*store);
    std::string value;
    if (!store->ReadString(Root::CurrentUser, kOptionsKey, valueName, value))
        return defaultValue;
    return value;
}

bool GetRegStrKey(HKey root, const std::string& keyPath, const std::string& valueName, std::string& out)
{
    const auto store = OpenStore("GetRegStrKey");
    if (!store)
        return false;
    const Root storeRoot = ToRoot(root);
    if (!store->CreateKey(storeRoot, keyPath)) // refused under the read-only root
        return false;
    SaveStore(*store);
    return store->ReadString(storeRoot, keyPath, valueName, out);
}

void RegisterFileType(const std::string& extension, const std::string& programPath)
{
    const auto store = OpenStore("RegisterFileType");
    if (!store)
        return;
    const std::string typeName = extension + "file";
    store->WriteString(Root::ClassesRoot, "." + extension, "", typeName);
    if (store->CreateKey(Root::ClassesRoot, typeName))
        store->WriteString(Root::ClassesRoot, typeName + "\\DefaultIcon", "", programPath + ",0");
    store->WriteString(Root::ClassesRoot, typeName + "\\shell\\open\\command", "", programPath + " \"%1\"");
    SaveStore(*store);

    // The desktop's own association; a failure there is as silent as one in the store.
    lf::reg::WriteDesktopAssociation(lf::reg::DataHomeFolder(), extension, programPath);
}

std::string FormatWindowsVersionText(const SWindowsVersionInfo& info)
{
    if (!info.available)
        return "Unable to determine Windows version.";

    const auto major = static_cast<long long>(info.majorVersion);
    const auto minor = static_cast<long long>(info.minorVersion);
    const bool secondIs = info.servicePack.size() > 1;
    std::string text;
    switch (info.platformId)
    {
    case SWindowsVersionInfo::kWin32s:
        return "Microsoft Win32s ";
    case SWindowsVersionInfo::kWindows:
        if (major == 4 && minor == 0)
            return std::string("Microsoft Windows 95") +
                   (secondIs && info.servicePack[1] == 'C' ? " OSR2" : "");
        if (major == 4 && minor == 10)
            return std::string("Microsoft Windows 98") +
                   (secondIs && info.servicePack[1] == 'A' ? " Second Edition" : "");
        if (major == 4 && minor == 90)
            return "Microsoft Windows Me ";
        text = "Unknown (Version ";
        text += lf::sys::NumberText(major);
        text += " family, sub-version ";
        text += lf::sys::NumberText(minor);
        text += "), Win98/98/Me - compatible";
        return text;
    case SWindowsVersionInfo::kWindowsNT:
        break;
    default:
        return {};
    }

    if (major <= 4)
        text = "Windows NT";
    else if (major == 5 && minor == 0)
        text = "Windows 2000";
    else if (major == 5 && minor == 1)
        text = "Windows XP";
    else
    {
        text = "Unknown NT-based (Version ";
        text += lf::sys::NumberText(major);
        text += " family, sub-version ";
        text += lf::sys::NumberText(minor);
        text += ")";
    }

    if (!info.extended)
    {
        const std::string productType = lf::sys::AsciiUpper(info.registryProductType);
        if (productType == "WINNT")
            text += " Workstation";
        else if (productType == "SERVERNT")
            text += " Server";
    }
    else if (info.productType == SWindowsVersionInfo::kWorkstation)
        text += (info.suiteMask & SWindowsVersionInfo::kSuitePersonal) != 0 ? " Personal" : " Professional";
    else if (info.productType == SWindowsVersionInfo::kServer)
    {
        if ((info.suiteMask & SWindowsVersionInfo::kSuiteDataCenter) != 0)
            text += " DataCenter Server";
        else if ((info.suiteMask & SWindowsVersionInfo::kSuiteEnterprise) != 0)
            text += " Advanced Server";
        else
            text += " Server";
    }

    if (major > 4)
        text += " " + info.servicePack + " (Build ";
    else
    {
        text += " version ";
        text += lf::sys::NumberText(major);
        text += ".";
        text += lf::sys::NumberText(minor);
        text += " " + info.servicePack + " (Build ";
    }
    text += lf::sys::NumberText(info.buildNumber & 0xFFFFu);
    text += ")";
    return text;
}

namespace lf::detail
{

std::string FormatSystemVersionText(const std::string& prettyName, const std::string& kernelName,
                                    const std::string& kernelRelease)
{
    const std::string text = lf::sys::SystemVersionText({prettyName, kernelName, kernelRelease});
    return text.empty() ? "Unable to determine Windows version." : text;
}

} // namespace lf::detail

std::string GetWindowsVersionText()
{
    const lf::sys::SystemDescription system = lf::sys::DescribeSystem();
    return lf::detail::FormatSystemVersionText(system.prettyName, system.kernelName, system.kernelRelease);
}

std::string GetInternetExplorerVersion()
{
    std::string version;
    if (!GetRegStrKey(HKey::LocalMachine, "SOFTWARE\\Microsoft\\Internet Explorer", "Version", version))
        return "Not installed";
    return version;
}

int GetWindowsPlatform(int* majorVersion)
{
    // Not a Windows: code 2, with the kernel's major version number.
    if (majorVersion != nullptr)
        *majorVersion = lf::sys::KernelMajorVersion(lf::sys::DescribeSystem().kernelRelease, 3);
    return 2;
}
