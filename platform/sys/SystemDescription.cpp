// The operating system's description, read from os-release and uname.
#include "platform/sys/SystemDescription.h"

#include "platform/sys/AtomicFile.h"
#include "platform/sys/NumberText.h"

#include <sys/utsname.h>

namespace lf::sys
{

SystemDescription DescribeSystem()
{
    SystemDescription system;
    std::string osRelease;
    if (!ReadWholeFile("/etc/os-release", osRelease) || osRelease.empty())
        ReadWholeFile("/usr/lib/os-release", osRelease);
    system.prettyName = OsReleasePrettyName(osRelease);
    struct utsname names
    {
    };
    if (::uname(&names) == 0)
    {
        system.kernelName = names.sysname;
        system.kernelRelease = names.release;
    }
    return system;
}

std::string OsReleasePrettyName(const std::string& osRelease)
{
    const std::string key = "PRETTY_NAME=";
    std::string::size_type lineStart = 0;
    while (lineStart < osRelease.size())
    {
        auto lineEnd = osRelease.find('\n', lineStart);
        if (lineEnd == std::string::npos)
            lineEnd = osRelease.size();
        std::string line = osRelease.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const std::string raw = line.substr(key.size());
        if (raw.empty() || (raw.front() != '"' && raw.front() != '\''))
            return raw;
        // A quoted value: in double quotes a backslash escapes the next character.
        std::string value;
        const char quote = raw.front();
        for (std::size_t i = 1; i < raw.size(); ++i)
        {
            if (raw[i] == quote)
                break;
            if (quote == '"' && raw[i] == '\\' && i + 1 < raw.size())
                ++i;
            value += raw[i];
        }
        return value;
    }
    return {};
}

std::string SystemVersionText(const SystemDescription& system)
{
    std::string kernel = system.kernelName;
    if (!system.kernelRelease.empty())
        kernel += (kernel.empty() ? "" : " ") + system.kernelRelease;
    if (system.prettyName.empty())
        return kernel;
    if (kernel.empty())
        return system.prettyName;
    return system.prettyName + ", " + kernel;
}

int KernelMajorVersion(const std::string& kernelRelease, int fallback)
{
    int major = fallback;
    ReadNumberLenient(kernelRelease, major);
    return major;
}

} // namespace lf::sys
