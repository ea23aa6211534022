// The book files a benchmark reads, in a scratch folder of the run.
#include "bench/ScratchBooks.h"

#include "model/support/Log.h"

#include <system_error>

namespace lf::bench
{

ScratchBooks::ScratchBooks(const std::string& folderName)
    : m_Folder(std::filesystem::temp_directory_path() / folderName)
{
    std::filesystem::create_directories(m_Folder);
    SetLogBooksDirectory(m_Folder.string() + "/");
}

ScratchBooks::~ScratchBooks()
{
    SetLogBooksDirectory("");
    std::error_code error;
    std::filesystem::remove_all(m_Folder, error);
}

const std::string& ScratchBooks::Path(const std::string& key,
                                      const std::function<void(const std::string& path)>& write)
{
    auto found = m_Paths.find(key);
    if (found != m_Paths.end())
        return found->second;
    const std::string path = (m_Folder / ("book" + key)).string();
    write(path);
    return m_Paths[key] = path;
}

} // namespace lf::bench
