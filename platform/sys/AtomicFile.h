// Writing a whole file so that a crash never leaves half of it: the bytes go to a temporary file beside
// the target, which is flushed to disk and then renamed over the target; the folder is flushed after.
// A target that is a symbolic link is written through: the file it leads to is replaced, the link stays.
// The new file keeps the permissions of the one it replaces.
//
// Temporary files are named ".<target name>.lftmp-XXXXXX" and locked while their writer lives. One that
// a killed or crashed save left behind is removed the next time a file is written into the same folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lf::sys
{

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

    // The file that Commit replaces: the target with symbolic links followed.
    const std::string& TargetPath() const { return m_path; }

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

// True for the name (without folder) of a temporary file of this writer.
bool IsAtomicTempFileName(std::string_view fileName);

// Removes the temporary files in folder that no writer holds any more; answers how many went.
int RemoveStaleTempFiles(const std::string& folder);

// --- fault injection for tests ---

// The calls of one save, in the order a save makes them.
enum class FileCall
{
    Create,     // creating the temporary file
    Write,      // one write of buffered bytes (the writer's flush)
    Sync,       // fsync of the temporary file
    Close,      // closing it
    Rename,     // the rename over the target
    SyncFolder, // fsync of the folder after the rename
};

// Asked before each call; an errno value other than 0 makes the call fail with that code (a failing
// close still releases the file). Tests install one to fail a save at each of its calls in turn.
using FileFaultHook = int (*)(FileCall call);
void SetFileFaultHook(FileFaultHook hook);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

} // namespace lf::sys
