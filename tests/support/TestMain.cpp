// Entry of every test program: before any test runs, the home, configuration and data folders point
// into a fresh scratch folder, so no test can read or write the real user's files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("lernfold-home-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* sub : {"home", "config", "data", "lernfold-config"})
        fs::create_directories(root / sub);
    setenv("HOME", (root / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("LERNFOLD_CONFIG_DIR", (root / "lernfold-config").c_str(), 1);
    // Files the program writes relative to the current directory (the log before the books folder is
    // known) land in the scratch folder too.
    fs::current_path(root / "home");

    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(root, ec);
    return result;
}
