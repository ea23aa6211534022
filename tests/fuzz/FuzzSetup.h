// What the exchange-format fuzz entries share: a scratch folder for the input file and written pictures,
// a log that goes there, and options with an author name. Built once per process.
#pragma once

#include "model/Log.h"
#include "model/Prefs.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace lf::fuzz
{

class FuzzSetup
{
public:
    FuzzSetup()
    {
        m_folder = std::filesystem::temp_directory_path() / ("lernfold-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_folder);
        SetLogBooksDirectory(m_folder.string() + "/");
        m_prefs.m_AuthorId = "Fuzzer";
    }
    ~FuzzSetup()
    {
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
    std::filesystem::path m_folder;
    CPrefs m_prefs;
};

} // namespace lf::fuzz
