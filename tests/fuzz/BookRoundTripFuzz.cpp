// Property: a book that opens saves as valid UTF-8, reopens with identical texts, and saves again to the
// same bytes.
#include "model/storage/Datastorage.h"
#include "platform/sys/AtomicFile.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BookTexts.h"

namespace
{

std::string Bytes(const std::string& path)
{
    std::string bytes;
    if (!lf::sys::ReadWholeFile(path, bytes))
        lf::fuzz::Fail("cannot read back " + path);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input = lf::fuzz::WriteInput("input.lnf", data, size);
    CDataStorage first;
    if (size == 0 || !first.OpenBook(input))
        return 0;
    const std::string texts = lf::test::BookTexts(*first.GetItemsPtr2());
    const std::string saved = lf::fuzz::Scratch() + "saved.lnf";
    if (!first.SaveXML(saved, first.GetItemsPtr2(), true, true))
        lf::fuzz::Fail("an open book did not save");
    const std::string bytes = Bytes(saved);
    if (!lf::sys::IsValidUtf8(bytes))
        lf::fuzz::Fail("the saved book is not valid UTF-8");

    CDataStorage second;
    if (!second.OpenBook(saved))
        lf::fuzz::Fail("the saved book does not open");
    if (lf::test::BookTexts(*second.GetItemsPtr2()) != texts)
        lf::fuzz::Fail("the texts changed over save and reopen");
    const std::string again = lf::fuzz::Scratch() + "again.lnf";
    if (!second.SaveXML(again, second.GetItemsPtr2(), true, true) || Bytes(again) != bytes)
        lf::fuzz::Fail("the second save differs from the first");
    return 0;
}
