// What every Lernfold test shares: a scripted clock and folders in place of the real system, and
// scratch folders that vanish with the test.
#pragma once

#include "platform/sys/SystemServices.h"

#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

namespace lf::test
{

// System services whose answers the test sets. Installed for its lifetime; the real ones come back after.
class FakeSystem : public lf::sys::SystemServices
{
public:
    FakeSystem();
    ~FakeSystem() override;
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    std::int64_t utcSeconds = 1'700'000'000; // 2023-11-14 22:13:20 UTC
    std::uint32_t tick = 1000;
    lf::sys::LocalDateTime localNow{2024, 3, 5, 14, 7, 9, 0};
    std::string programPath = "/opt/lernfold/bin/lernfold";
    std::string tempFolder;
    std::string documentsFolder;
    int sleptMilliseconds = 0;

    std::int64_t UtcSeconds() override { return utcSeconds; }
    std::uint32_t TickCount() override { return tick; }
    lf::sys::LocalDateTime LocalNow() override { return localNow; }
    lf::sys::LocalDateTime ToLocal(std::int64_t utc) override;
    void Sleep(int milliseconds) override { sleptMilliseconds += milliseconds; }
    std::string ProgramPath() override { return programPath; }
    std::string TempFolder() override { return tempFolder; }
    std::string DocumentsFolder() override { return documentsFolder; }
};

// A fresh empty folder under the test run's scratch area, removed when the object goes unless the test
// has failed: then it stays, and its path is printed.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The folder as the program spells folders: a "/" path ending in "/".
    std::string folder() const { return m_path.string() + "/"; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// A row of a parameter table that has a `name` prints as that name, so test lists read "Kind3" rather than
// a dump of bytes. A test file brings it in with `using lf::test::PrintTo;` beside its rows.
template <class Row>
requires requires(const Row& row)
{
    std::string_view(row.name);
}
void PrintTo(const Row& row, std::ostream* os)
{
    *os << std::string_view(row.name);
}

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// The unpacked content of a gzip file (large hostile fixtures are kept packed).
std::string ReadGzipFile(const std::string& path);
// Full path of a file under tests/data.
std::string DataFile(const std::string& name);
// Compares what a writer wrote with the pinned file tests/data/<pinnedName> byte for byte. On a
// difference (or without the pinned file) the test fails and the bytes written are kept beside the
// pinned file as "<pinnedName>.actual", for a diff.
void ExpectSameAsPinnedFile(const std::string& written, const std::string& pinnedName);

} // namespace lf::test
