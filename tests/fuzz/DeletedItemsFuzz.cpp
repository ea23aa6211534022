// The deleted-items file.
#include "model/collection/Deleteditemsarray.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = lf::fuzz::WriteInput("Lernfold.del", data, size);
    CDelQuestionList list;
    std::string error;
    if (list.Read(path, error))
        list.Write(lf::fuzz::Scratch() + "written.del", error);
    return 0;
}
