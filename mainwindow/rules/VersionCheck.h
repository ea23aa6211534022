// The new-version check as text: the reply of the version page, whether it offers a newer program than
// this one, the version text the notification shows, and which download addresses may be opened.
#pragma once

#include <optional>
#include <string>

namespace lf::version
{

// This program: 4.9, build 610.
inline constexpr int kOwnMajor = 4;
inline constexpr int kOwnMinor = 9;
inline constexpr int kOwnBuild = 610;

// The four values of a reply, as received (empty when missing).
struct SVersionReply
{
    std::string major;       // MAJOR_VER
    std::string minor;       // MINOR_VER
    std::string build;       // BUILD_NUM
    std::string downloadUrl; // DOWNLOAD_URL
};

// Reads the page's text: every ";" ends a line as a line break does, each line is Name=Value (the name
// before the first "=", in any letter case; the first line of a name counts).
SVersionReply ParseVersionReply(const std::string& pageText);

struct SVersionNumbers
{
    int major = 0;
    int minor = 0;
    int build = 0;
    friend bool operator==(const SVersionNumbers&, const SVersionNumbers&) = default;
};

// The three numbers of a complete reply; nothing when any of the four values is empty or a number is
// not a whole decimal number (blanks around it are allowed).
std::optional<SVersionNumbers> CompleteReplyNumbers(const SVersionReply& reply);

// Newer than this program: a higher major number; the same major and a higher minor number; or a
// higher build number whatever the major and minor numbers say (3.0 build 700 counts as newer).
bool IsNewerVersion(const SVersionNumbers& offered);

// "4.9 (Build 611)": the three values as received.
std::string OfferedVersionText(const SVersionReply& reply);

// Whether the Download button may hand the address to the desktop: a web address starting with
// "http://" or "https://" (in any letter case). The address is taken trimmed of blanks.
bool IsDownloadAddress(const std::string& address);

} // namespace lf::version
