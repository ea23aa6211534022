// Replays every file of a fuzz corpus (LF_FUZZ_CORPUS_DIR) through the fuzz entry linked into this
// program, so the entries and their seeds run with the ordinary tests.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace
{

TEST(FuzzCorpusReplay, EveryCorpusFileRunsThroughTheEntry)
{
    int replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(LF_FUZZ_CORPUS_DIR))
    {
        if (!entry.is_regular_file())
            continue;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = lf::test::ReadFile(entry.path().string());
        EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                  0);
        ++replayed;
    }
    EXPECT_GT(replayed, 0) << "no seed in " << LF_FUZZ_CORPUS_DIR;
}

} // namespace
