// The native book reader through the storage, as a book is opened from disk.
#include "model/storage/Datastorage.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = lf::fuzz::WriteInput("book.lnf", data, size);
    CDataStorage storage;
    storage.OpenBook(path);
    return 0;
}
