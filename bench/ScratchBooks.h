// The book files a benchmark reads: written once per run into a scratch folder of its own, where the log
// goes too, and removed with the folder when the run ends.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace lf::bench
{

class ScratchBooks
{
public:
    // The folder folderName in the system's temporary folder, made now.
    explicit ScratchBooks(const std::string& folderName);
    ~ScratchBooks();
    ScratchBooks(const ScratchBooks&) = delete;
    ScratchBooks& operator=(const ScratchBooks&) = delete;

    // The path of a file of that name in the folder.
    std::string FilePath(const std::string& name) const { return (m_Folder / name).string(); }
    // The path of the file "book" + key in the folder; write makes it there on the first call for a key.
    const std::string& Path(const std::string& key,
                            const std::function<void(const std::string& path)>& write);

private:
    std::filesystem::path m_Folder;
    std::map<std::string, std::string> m_Paths;
};

} // namespace lf::bench
