#include "tests/support/ScratchHome.h"

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace lf::test
{

std::filesystem::path EnterScratchHome()
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("lernfold-home-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* sub : {"home", "config", "data", "lernfold-config", "runtime"})
        fs::create_directories(root / sub);
    fs::permissions(root / "runtime", fs::perms::owner_all, fs::perm_options::replace);
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("LERNFOLD_CONFIG_DIR", (root / "lernfold-config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "runtime").c_str(), 1);
    // Files the program writes relative to the current directory (the log before the books folder is
    // known) land in the scratch folder too.
    fs::current_path(root / "home");
    return root;
}

void LeaveScratchHome(const std::filesystem::path& root)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(root, ec);
}

} // namespace lf::test
