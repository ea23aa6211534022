#include "mainwindow/rules/VersionCheck.h"

#include "platform/sys/NumberText.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/TextLines.h"
#include "platform/sys/TextTrim.h"

#include <algorithm>

namespace lf::version
{

SVersionReply ParseVersionReply(const std::string& pageText)
{
    std::string text = pageText;
    std::replace(text.begin(), text.end(), ';', '\n');
    SVersionReply reply;
    bool seen[4] = {false, false, false, false};
    static const char* const names[4] = {"MAJOR_VER", "MINOR_VER", "BUILD_NUM", "DOWNLOAD_URL"};
    std::string* values[4] = {&reply.major, &reply.minor, &reply.build, &reply.downloadUrl};
    for (std::string_view line : lf::sys::SplitLines(text))
    {
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, equals);
        for (int i = 0; i < 4; ++i)
            if (!seen[i] && lf::sys::SameTextAsciiNoCase(name, names[i]))
            {
                seen[i] = true;
                *values[i] = std::string(line.substr(equals + 1));
            }
    }
    return reply;
}

namespace
{

bool ReadWholeNumber(const std::string& text, int& value)
{
    return lf::sys::ReadNumber(lf::sys::TrimView(text), value);
}

} // namespace

std::optional<SVersionNumbers> CompleteReplyNumbers(const SVersionReply& reply)
{
    if (reply.major.empty() || reply.minor.empty() || reply.build.empty() || reply.downloadUrl.empty())
        return std::nullopt;
    SVersionNumbers numbers;
    if (!ReadWholeNumber(reply.major, numbers.major) || !ReadWholeNumber(reply.minor, numbers.minor) ||
        !ReadWholeNumber(reply.build, numbers.build))
        return std::nullopt;
    return numbers;
}

bool IsNewerVersion(const SVersionNumbers& offered)
{
    if (offered.major > kOwnMajor)
        return true;
    if (offered.major == kOwnMajor && offered.minor > kOwnMinor)
        return true;
    return offered.build > kOwnBuild;
}

std::string OfferedVersionText(const SVersionReply& reply)
{
    return reply.major + "." + reply.minor + " (Build " + reply.build + ")";
}

bool IsDownloadAddress(const std::string& address)
{
    const std::string_view trimmed = lf::sys::TrimView(address);
    return lf::sys::StartsWithNoCase(trimmed, "http://") || lf::sys::StartsWithNoCase(trimmed, "https://");
}

} // namespace lf::version
