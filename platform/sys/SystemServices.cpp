#include "platform/sys/SystemServices.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>
#include <thread>

namespace lf::sys
{

SystemServices::~SystemServices() = default;

namespace
{

std::string EnvOr(const char* name, const std::string& fallback)
{
    const char* value = std::getenv(name);
    return (value && *value) ? std::string(value) : fallback;
}

// Reads XDG_DOCUMENTS_DIR from the user's user-dirs.dirs, as desktop environments write it.
std::string XdgDocumentsFromUserDirs(const std::string& home)
{
    const std::string configHome = EnvOr("XDG_CONFIG_HOME", home + "/.config");
    std::FILE* f = std::fopen((configHome + "/user-dirs.dirs").c_str(), "rb");
    if (!f)
        return {};
    std::string result;
    char line[4096];
    while (std::fgets(line, sizeof line, f))
    {
        std::string text(line);
        const std::string key = "XDG_DOCUMENTS_DIR=\"";
        if (text.rfind(key, 0) != 0)
            continue;
        const auto end = text.find('"', key.size());
        if (end == std::string::npos)
            break;
        result = text.substr(key.size(), end - key.size());
        if (result.rfind("$HOME", 0) == 0)
            result = home + result.substr(5);
        break;
    }
    std::fclose(f);
    return result;
}

class RealSystemServices final : public SystemServices
{
public:
    std::int64_t UtcSeconds() override
    {
        using namespace std::chrono;
        return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
    }

    std::uint32_t TickCount() override
    {
        using namespace std::chrono;
        return static_cast<std::uint32_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }

    LocalDateTime LocalNow() override
    {
        using namespace std::chrono;
        const auto now = system_clock::now();
        LocalDateTime result = ToLocal(duration_cast<seconds>(now.time_since_epoch()).count());
        result.millisecond =
            static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
        return result;
    }

    LocalDateTime ToLocal(std::int64_t utcSeconds) override
    {
        const std::time_t t = static_cast<std::time_t>(utcSeconds);
        std::tm parts{};
        localtime_r(&t, &parts);
        return {parts.tm_year + 1900,
                parts.tm_mon + 1,
                parts.tm_mday,
                parts.tm_hour,
                parts.tm_min,
                parts.tm_sec,
                0};
    }

    void Sleep(int milliseconds) override
    {
        if (milliseconds > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    std::string ProgramPath() override
    {
        std::error_code ec;
        const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
        return ec ? std::string() : path.string();
    }

    std::string TempFolder() override
    {
        return WithSlash(EnvOr("TMPDIR", std::filesystem::temp_directory_path().string()));
    }

    std::string DocumentsFolder() override
    {
        const std::string home = EnvOr("HOME", "");
        if (home.empty())
            return {};
        std::string documents = XdgDocumentsFromUserDirs(home);
        if (documents.empty())
            documents = home + "/Documents";
        return WithSlash(documents);
    }
};

SystemServices* g_services = nullptr;

std::mt19937& Generator()
{
    static std::mt19937 generator(static_cast<std::uint32_t>(std::time(nullptr)));
    return generator;
}

} // namespace

SystemServices& RealServices()
{
    static RealSystemServices real;
    return real;
}

SystemServices& Services()
{
    return g_services ? *g_services : RealServices();
}

void SetServices(SystemServices* services)
{
    g_services = services;
}

void SeedRandom(std::uint32_t seed)
{
    Generator().seed(seed);
}

int Random(int n)
{
    if (n == 0)
        return 0;
    const std::uint32_t next = Generator()() >> 1; // the next non-negative 31-bit value
    const std::int64_t range = n < 0 ? -static_cast<std::int64_t>(n) : n;
    return static_cast<int>(next % range);
}

} // namespace lf::sys
