#include "platform/sys/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace lf::sys {

namespace {

constexpr std::size_t kBufferSize = 1 << 20;

bool Fail(std::string* error, const std::string& what, int code)
{
    if (error)
        *error = what + ": " + std::strerror(code);
    return false;
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(std::move(path)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Open(std::string* error)
{
    Discard();
    m_tempPath = m_path + ".XXXXXX";
    m_fd = ::mkstemp(m_tempPath.data());
    if (m_fd < 0)
    {
        const int code = errno;
        m_tempPath.clear();
        return Fail(error, "cannot create a temporary file beside " + m_path, code);
    }
    // mkstemp makes the file private; a document keeps the usual permissions.
    ::fchmod(m_fd, 0644);
    m_buffer.reserve(kBufferSize);
    m_written = 0;
    m_errno = 0;
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes)
{
    if (m_fd < 0 || m_errno != 0)
        return false;
    m_written += bytes.size();
    if (m_buffer.size() + bytes.size() <= kBufferSize)
    {
        m_buffer.append(bytes);
        return true;
    }
    if (!Flush())
        return false;
    if (bytes.size() >= kBufferSize)
        return WriteAll(bytes); // a large piece goes straight to the file
    m_buffer.append(bytes);
    return true;
}

bool AtomicFileWriter::Flush()
{
    const bool ok = WriteAll(m_buffer);
    m_buffer.clear();
    return ok;
}

bool AtomicFileWriter::WriteAll(std::string_view bytes)
{
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0)
    {
        const ssize_t written = ::write(m_fd, data, left);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            m_errno = errno;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

bool AtomicFileWriter::Commit(std::string* error, bool allowEmpty)
{
    if (m_fd < 0)
        return Fail(error, "no temporary file open for " + m_path, EBADF);
    if (m_errno == 0)
        Flush();
    if (m_errno != 0)
    {
        const int code = m_errno;
        Discard();
        return Fail(error, "cannot write beside " + m_path, code);
    }
    if (!allowEmpty && m_written == 0)
    {
        Discard();
        return Fail(error, "refusing to replace " + m_path + " with an empty file", ENODATA);
    }
    if (::fsync(m_fd) != 0)
    {
        const int code = errno;
        Discard();
        return Fail(error, "cannot flush beside " + m_path, code);
    }
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
    {
        const int code = errno;
        Discard();
        return Fail(error, "cannot flush beside " + m_path, code);
    }
    if (std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
    {
        const int code = errno;
        Discard();
        return Fail(error, "cannot replace " + m_path, code);
    }
    m_tempPath.clear();
    return true;
}

void AtomicFileWriter::Discard()
{
    if (m_fd >= 0)
    {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty())
    {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
    }
    m_buffer.clear();
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    AtomicFileWriter writer(path);
    if (!writer.Open(error))
        return false;
    writer.Write(bytes);
    return writer.Commit(error);
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
