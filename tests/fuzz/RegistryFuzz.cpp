// The options store's file; property: what the store writes after reading any file reads back cleanly.
#include "platform/registry/RegistryStore.h"
#include "tests/fuzz/FuzzSupport.h"

#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = lf::fuzz::WriteInput("registry.xml", data, size);
    {
        lf::reg::RegistryStore store(path);
        std::uint32_t number = 0;
        store.ReadDWord(lf::reg::Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Count", number);
        store.WriteDWord(lf::reg::Root::CurrentUser, "Software\\Korvanta\\Lernfold\\Options", "Count",
                         number + 1);
        if (!store.Save())
            lf::fuzz::Fail("the store did not save");
        std::error_code ec;
        if (!store.KeptCorruptCopy().empty())
            std::filesystem::remove(store.KeptCorruptCopy(), ec);
    }
    lf::reg::RegistryStore again(path);
    if (again.Status() != lf::reg::LoadStatus::Loaded)
        lf::fuzz::Fail("what the store wrote does not read back cleanly");
    return 0;
}
