#include "tests/fuzz/FuzzSupport.h"

#include "model/support/Log.h"
#include "platform/sys/SystemServices.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace lf::fuzz
{

namespace
{

// The real services, except that pauses take no time.
class NoPauseServices final : public lf::sys::SystemServices
{
public:
    std::int64_t UtcSeconds() override { return Real().UtcSeconds(); }
    std::uint32_t TickCount() override { return Real().TickCount(); }
    lf::sys::LocalDateTime LocalNow() override { return Real().LocalNow(); }
    lf::sys::LocalDateTime ToLocal(std::int64_t utc) override { return Real().ToLocal(utc); }
    void Sleep(int) override {}
    std::string ProgramPath() override { return Real().ProgramPath(); }
    std::string TempFolder() override { return Scratch(); }
    std::string DocumentsFolder() override { return Scratch(); }

private:
    static lf::sys::SystemServices& Real() { return lf::sys::RealServices(); }
};

std::string MakeScratch()
{
    std::string folder = "/tmp/lernfold-fuzz-XXXXXX";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        folder = std::string(tmp) + "/lernfold-fuzz-XXXXXX";
    if (!::mkdtemp(folder.data()))
        Fail("cannot make a scratch folder");
    folder += "/";
    ::setenv("LERNFOLD_CONFIG_DIR", folder.c_str(), 1);
    static NoPauseServices services;
    lf::sys::SetServices(&services);
    SetLogBooksDirectory(folder);
    return folder;
}

} // namespace

const std::string& Scratch()
{
    static const std::string folder = MakeScratch();
    return folder;
}

std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = Scratch() + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        Fail("cannot write " + path);
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        Fail("cannot write " + path);
    std::fclose(file);
    return path;
}

std::string FreshOutputFolder()
{
    const std::string out = Scratch() + "out/";
    std::error_code error;
    std::filesystem::remove_all(out, error);
    std::filesystem::create_directories(out, error);
    return out;
}

void Fail(const std::string& what)
{
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

} // namespace lf::fuzz
