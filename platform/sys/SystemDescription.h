// What the operating system says of itself: its name and version from os-release and the kernel's name and
// release from uname, for the log banner and the version line.
#pragma once

#include <string>

namespace lf::sys
{

struct SystemDescription
{
    std::string prettyName; // the PRETTY_NAME of os-release ("Debian GNU/Linux 12 (bookworm)"); may be empty
    std::string kernelName; // "Linux"; empty when uname fails
    std::string kernelRelease; // "6.1.0-18-amd64"; empty when uname fails
};

// Reads /etc/os-release (or /usr/lib/os-release when that is missing or empty) and uname.
SystemDescription DescribeSystem();

// The PRETTY_NAME of an os-release text, unquoted; empty when there is none.
std::string OsReleasePrettyName(const std::string& osRelease);
// "Pretty name, Kernel release" with either part left out when empty; empty when nothing is known.
std::string SystemVersionText(const SystemDescription& system);
// The number the kernel release starts with (6 for "6.1.0-18-amd64"); fallback when it starts with none.
int KernelMajorVersion(const std::string& kernelRelease, int fallback);

} // namespace lf::sys
