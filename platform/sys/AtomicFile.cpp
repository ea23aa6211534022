#include "platform/sys/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

namespace lf::sys {

namespace {

bool Fail(std::string* error, const std::string& what)
{
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    std::string pattern = path + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Fail(error, "cannot create a temporary file beside " + path);
    // mkstemp makes the file private; a document keeps the usual permissions.
    ::fchmod(fd, 0644);

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0)
    {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            const bool result = Fail(error, "cannot write " + pattern);
            ::close(fd);
            ::unlink(pattern.c_str());
            return result;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0)
    {
        const bool result = Fail(error, "cannot flush " + pattern);
        ::unlink(pattern.c_str());
        return result;
    }
    if (std::rename(pattern.c_str(), path.c_str()) != 0)
    {
        const bool result = Fail(error, "cannot replace " + path);
        ::unlink(pattern.c_str());
        return result;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::string result;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        result.append(buffer, got);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok)
        bytes = std::move(result);
    return ok;
}

} // namespace lf::sys
