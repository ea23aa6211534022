#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>
#include <zlib.h>

namespace lf::test
{

FakeSystem::FakeSystem()
{
    lf::sys::SetServices(this);
}

FakeSystem::~FakeSystem()
{
    lf::sys::SetServices(nullptr);
}

lf::sys::LocalDateTime FakeSystem::ToLocal(std::int64_t utc)
{
    // Tests run as if the local zone were UTC.
    const std::int64_t days = (utc >= 0 ? utc : utc - 86399) / 86400;
    const std::int64_t rest = utc - days * 86400;
    // Civil date from a day count (Howard Hinnant's algorithm).
    std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return {year,
            month,
            day,
            static_cast<int>(rest / 3600),
            static_cast<int>(rest / 60 % 60),
            static_cast<int>(rest % 60),
            0};
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path() / "lernfold-tests";
    std::filesystem::create_directories(base);
    for (;;)
    {
        m_path = base / ("t" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        if (std::filesystem::create_directory(m_path))
            break;
    }
}

TempDir::~TempDir()
{
    // A failed test leaves its files behind for a look; the path goes to the test's output.
    if (::testing::Test::HasFailure())
    {
        std::cerr << "kept the scratch folder of the failed test: " << m_path.string() << '\n';
        return;
    }
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadGzipFile(const std::string& path)
{
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::string bytes;
    char buffer[65536];
    int got = 0;
    while ((got = gzread(file, buffer, sizeof buffer)) > 0)
        bytes.append(buffer, static_cast<std::size_t>(got));
    gzclose(file);
    if (got < 0)
        throw std::runtime_error("cannot unpack " + path);
    return bytes;
}

std::string DataFile(const std::string& name)
{
    return std::string(LF_TEST_DATA_DIR) + "/" + name;
}

void ExpectSameAsPinnedFile(const std::string& written, const std::string& pinnedName)
{
    const std::string pinned = DataFile(pinnedName);
    std::string expected;
    const bool exists = std::filesystem::exists(pinned);
    if (exists)
        expected = ReadFile(pinned);
    if (exists && written == expected)
        return;
    const std::string kept = pinned + ".actual";
    WriteFile(kept, written);
    ADD_FAILURE() << "the written bytes differ from " << pinned << (exists ? "" : " (missing)")
                  << "; the output is kept in " << kept;
}

} // namespace lf::test
