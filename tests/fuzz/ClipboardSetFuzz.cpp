// Question sets pasted from the clipboard; property: every pasted text is valid UTF-8.
#include "model/storage/Datastorage.h"
#include "platform/sys/Clipboard.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BookTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    lf::fuzz::Scratch();
    lf::sys::MemoryClipboard clipboard;
    lf::sys::SetClipboard(&clipboard);
    clipboard.SetData(lf::sys::kClipboardText, std::string(reinterpret_cast<const char*>(data), size));
    CDataStorage storage;
    storage.PasteFromClipboard(storage.GetItemsPtr2(), -1, -1, size % 2 == 0);
    lf::sys::SetClipboard(nullptr);
    if (!lf::sys::IsValidUtf8(lf::test::BookTexts(*storage.GetItemsPtr2())))
        lf::fuzz::Fail("a pasted text is not valid UTF-8");
    return 0;
}
