// What the exchange-format fuzz entries share: a scratch folder for the input file and written pictures,
// a log that goes there, and options with an author name. Built once per process.
#pragma once

#include "model/Log.h"
#include "model/Prefs.h"
#include "platform/sys/SystemServices.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace lf::fuzz
{

// The real services without the pause every logged line takes, which would slow each run down.
class NoPauseServices final : public lf::sys::SystemServices
{
public:
    std::int64_t UtcSeconds() override { return Real().UtcSeconds(); }
    std::uint32_t TickCount() override { return Real().TickCount(); }
    lf::sys::LocalDateTime LocalNow() override { return Real().LocalNow(); }
    lf::sys::LocalDateTime ToLocal(std::int64_t utcSeconds) override { return Real().ToLocal(utcSeconds); }
    void Sleep(int) override {}
    std::string ProgramPath() override { return Real().ProgramPath(); }
    std::string TempFolder() override { return Real().TempFolder(); }
    std::string DocumentsFolder() override { return Real().DocumentsFolder(); }

private:
    static lf::sys::SystemServices& Real() { return lf::sys::RealServices(); }
};

class FuzzSetup
{
public:
    FuzzSetup()
    {
        m_folder = std::filesystem::temp_directory_path() / ("lernfold-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        SetLogBooksDirectory(m_folder.string() + "/");
        m_prefs.m_AuthorId = "Fuzzer";
        lf::sys::SetServices(&m_services);
    }
    ~FuzzSetup()
    {
        lf::sys::SetServices(nullptr);
        SetLogBooksDirectory("");
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }
    FuzzSetup(const FuzzSetup&) = delete;
    FuzzSetup& operator=(const FuzzSetup&) = delete;

    // Writes the input to a file of that name in the scratch folder; its path.
    std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) const
    {
        const std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

    // An empty folder for the files one run writes ("/" path ending in "/").
    std::string FreshOutputFolder() const
    {
        const std::filesystem::path out = m_folder / "out";
        std::error_code error;
        std::filesystem::remove_all(out, error);
        std::filesystem::create_directories(out, error);
        return out.string() + "/";
    }

private:
    NoPauseServices m_services;
    std::filesystem::path m_folder;
    CPrefs m_prefs;
};

} // namespace lf::fuzz
