// The handheld database reader; property: what it reads writes back stably (read, write, read, write
// gives the same records and chapters).
#include "model/storage/Datastorage.h"
#include "model/storage/Palmdatabase.h"
#include "model/support/Registry.h"
#include "platform/sys/AtomicFile.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BookTexts.h"

namespace
{

// The database without its header dates, which follow the clock.
std::string WithoutDates(const std::string& path)
{
    std::string bytes;
    if (!lf::sys::ReadWholeFile(path, bytes) || bytes.size() < 0x48)
        lf::fuzz::Fail("cannot read back " + path);
    return bytes.substr(0, 0x24) + bytes.substr(0x48);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool configured = []
    {
        WriteValueToRegistry2("DeleteQuestionList", lf::fuzz::Scratch() + "Lernfold.del");
        return true;
    }();
    (void)configured;
    const std::string input = lf::fuzz::WriteInput("input.pdb", data, size);
    CDataStorage storage;
    CItemsArray2& items = *storage.GetItemsPtr2();
    if (!storage.LoadPDB(input, &items, 0, true))
        return 0;
    // Both writes under one name: the database's name in its header comes from the file name.
    const std::string written = lf::fuzz::Scratch() + "written.pdb";
    if (!storage.SavePDB(written, &items, kPdbBookType, false, true))
        lf::fuzz::Fail("a database that was read did not write");
    const std::string first = WithoutDates(written);
    if (!storage.LoadPDB(written, &items, 0, true))
        lf::fuzz::Fail("the written database does not read");
    const std::string texts = lf::test::BookTexts(items);
    if (!storage.SavePDB(written, &items, kPdbBookType, false, true) ||
        !storage.LoadPDB(written, &items, 0, true))
        lf::fuzz::Fail("the second write failed");
    if (WithoutDates(written) != first || lf::test::BookTexts(items) != texts)
        lf::fuzz::Fail("the database changed over a round trip");
    return 0;
}
