#include "platform/sys/AtomicFile.h"

#include "platform/sys/PathText.h"
#include "platform/sys/ProblemLog.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lf::sys
{

namespace
{

constexpr std::size_t kBufferSize = 1 << 20;
constexpr std::string_view kTempMark = ".lftmp-";
constexpr std::size_t kTempSuffixLength = 6;
// Links followed before a target is taken as it stands (the system's own limit for a path lookup).
constexpr int kMaxLinks = 40;

std::atomic<FileFaultHook> g_faultHook{nullptr};

// The fault a test asked for at this call; 0 for none.
int Fault(FileCall call)
{
    const FileFaultHook hook = g_faultHook.load();
    return hook ? hook(call) : 0;
}

bool Fail(std::string* error, const std::string& what, int code)
{
    if (error)
        *error = what + ": " + std::strerror(code);
    return false;
}

std::string FolderPart(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path leads to: symbolic links followed (relative ones from the link's folder), also when
// the last one leads to no file yet. A loop, or more links than the system follows, leaves the path.
std::string FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int n = 0; n < kMaxLinks; ++n)
    {
        struct stat info
        {
        };
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        char buffer[PATH_MAX];
        const ssize_t length = ::readlink(current.c_str(), buffer, sizeof buffer - 1);
        if (length <= 0)
            return current;
        const std::string target(buffer, static_cast<std::size_t>(length));
        current = target.front() == '/' ? target : FolderPart(current) + "/" + target;
    }
    return path;
}

// Six characters for a temporary name, different on every call of every process.
std::string TempSuffix()
{
    static std::atomic<std::uint64_t> counter{0};
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uint64_t value =
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(::getpid()) << 32) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    value ^= value >> 29;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 32;
    std::string suffix;
    for (std::size_t i = 0; i < kTempSuffixLength; ++i)
    {
        suffix += kChars[value % (sizeof kChars - 1)];
        value /= sizeof kChars - 1;
    }
    return suffix;
}

void SyncFolder(const std::string& folder)
{
    if (const int fault = Fault(FileCall::SyncFolder))
    {
        ReportProblem("cannot flush the folder " + folder + ": " + std::strerror(fault));
        return;
    }
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    if (::fsync(fd) != 0)
        ReportProblem("cannot flush the folder " + folder + ": " + std::strerror(errno));
    ::close(fd);
}

} // namespace

bool IsAtomicTempFileName(std::string_view fileName)
{
    if (fileName.size() < 1 + kTempMark.size() + kTempSuffixLength || fileName.front() != '.')
        return false;
    return fileName.substr(fileName.size() - kTempSuffixLength - kTempMark.size(), kTempMark.size()) ==
           kTempMark;
}

int RemoveStaleTempFiles(const std::string& folder)
{
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir))
    {
        if (!IsAtomicTempFileName(entry->d_name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            continue;
        // A writer holds its file locked until it is renamed or removed; a file nobody holds is left over.
        struct stat info
        {
        };
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    ::closedir(dir);
    return removed;
}

void SetFileFaultHook(FileFaultHook hook)
{
    g_faultHook.store(hook);
}

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(FollowLinks(path)) {}

AtomicFileWriter::~AtomicFileWriter()
{
    Discard();
}

bool AtomicFileWriter::Open(std::string* error)
{
    Discard();
    const std::string folder = FolderPart(m_path);
    RemoveStaleTempFiles(folder);
    if (const int fault = Fault(FileCall::Create))
        return Fail(error, "cannot create a temporary file beside " + m_path, fault);

    // A new file gets the usual permissions (0666 less the umask); a replaced one keeps its own.
    struct stat old
    {
    };
    const bool replacing = ::stat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const std::string prefix =
        (folder == "/" ? std::string() : folder) + "/." + NamePart(m_path) + std::string(kTempMark);
    int code = EEXIST;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt)
    {
        std::string candidate = prefix + TempSuffix();
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
        {
            code = errno;
            if (code == EEXIST)
                continue;
            break;
        }
        // Locked for as long as this writer holds it, so that no other save takes it for a leftover;
        // a save elsewhere may have removed it between the two calls, then the next name is tried.
        struct stat made
        {
        };
        struct stat named
        {
        };
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &made) != 0 || ::stat(candidate.c_str(), &named) != 0 ||
            made.st_ino != named.st_ino)
        {
            ::close(fd);
            continue;
        }
        m_fd = fd;
        m_tempPath = std::move(candidate);
    }
    if (m_fd < 0)
        return Fail(error, "cannot create a temporary file beside " + m_path, code);
    if (replacing)
    {
        // Owner first (only possible where allowed), then the mode, which a change of owner may clear.
        [[maybe_unused]] const int owned = ::fchown(m_fd, old.st_uid, old.st_gid);
        ::fchmod(m_fd, old.st_mode & 07777);
    }
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
        if (const int fault = Fault(FileCall::Write))
        {
            m_errno = fault;
            return false;
        }
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
    int code = Fault(FileCall::Sync);
    if (code == 0 && ::fsync(m_fd) != 0)
        code = errno;
    if (code != 0)
    {
        Discard();
        return Fail(error, "cannot flush beside " + m_path, code);
    }
    // The lock goes with the descriptor; the file is complete now, and the rename follows at once.
    const int fd = m_fd;
    m_fd = -1;
    code = Fault(FileCall::Close);
    if (::close(fd) != 0 && code == 0)
        code = errno;
    if (code != 0)
    {
        Discard();
        return Fail(error, "cannot flush beside " + m_path, code);
    }
    code = Fault(FileCall::Rename);
    if (code == 0 && std::rename(m_tempPath.c_str(), m_path.c_str()) != 0)
        code = errno;
    if (code != 0)
    {
        Discard();
        return Fail(error, "cannot replace " + m_path, code);
    }
    m_tempPath.clear();
    // The rename itself is on disk only once the folder is.
    SyncFolder(FolderPart(m_path));
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
