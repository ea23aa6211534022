// Writing a whole file so that a crash never leaves half of it: the bytes go to a temporary file beside
// the target, which is flushed to disk and then renamed over the target.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lf::sys {

// Streams a file's new content into a temporary file beside the target; Commit puts it in place. Until
// then the target is untouched, and a writer destroyed without Commit removes its temporary file.
class AtomicFileWriter
{
public:
    explicit AtomicFileWriter(std::string path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file; false (with error) when the folder refuses it.
    bool Open(std::string* error = nullptr);
    // Appends bytes (buffered); false once any write failed.
    bool Write(std::string_view bytes);
    std::size_t BytesWritten() const { return m_written; }
    // Flushes the bytes to disk and renames the temporary file over the target. An empty file is refused
    // when allowEmpty is off. On failure the target is untouched and the temporary file is gone.
    bool Commit(std::string* error = nullptr, bool allowEmpty = true);

private:
    bool Flush();
    bool WriteAll(std::string_view bytes);
    void Discard();

    std::string m_path;
    std::string m_tempPath;
    std::string m_buffer;
    std::size_t m_written = 0;
    int m_fd = -1;
    int m_errno = 0;
};

// Replaces path with bytes. On failure the old file is untouched, no temporary file is left behind,
// error holds the reason and the result is false.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace lf::sys
