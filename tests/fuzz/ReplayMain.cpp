// Runs a fuzz target over saved inputs, without the fuzzing engine: every file named on the command line
// and every file in the folders named (a ".gz" file is unpacked first). Built with any compiler, so the
// corpus and the inputs that once failed are replayed on every build.
#include "tests/fuzz/FuzzSupport.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace
{

bool ReadInput(const std::filesystem::path& path, std::string& bytes)
{
    gzFile file = gzopen(path.c_str(), "rb"); // reads plain files as they are
    if (!file)
        return false;
    char buffer[65536];
    int got = 0;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    gzclose(file);
    return got == 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i)
    {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path))
        {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        }
        else
        {
            inputs.push_back(path);
        }
    }
    if (inputs.empty())
    {
        std::fprintf(stderr, "usage: %s input-or-folder...\n", argv[0]);
        return 2;
    }
    for (const auto& path : inputs)
    {
        std::string bytes;
        if (!ReadInput(path, bytes))
        {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 1;
        }
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", path.c_str(), bytes.size());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
    // A failing input aborts before this, keeping the scratch folder to look at.
    std::error_code ignored;
    std::filesystem::remove_all(lf::fuzz::Scratch(), ignored);
    return 0;
}
