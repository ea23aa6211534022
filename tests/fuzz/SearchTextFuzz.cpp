// Search forms of stored texts; property: the form read straight from the text runs equals the form of the
// plain text of the whole loaded document, for any text the model can hold (valid UTF-8).
#include "model/support/SearchText.h"
#include "model/support/Utils.h"
#include "platform/richtext/RichDocument.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/sys/TextCase.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string stored(reinterpret_cast<const char*>(data), size);
    lf::sys::MakeValidUtf8(stored);
    static CSearchTextReader reader;
    lf::RichDocument scratch;
    std::string fast;
    reader.AppendStoredText(fast, stored, scratch);

    std::string whole;
    if (!stored.empty())
    {
        lf::RichDocument view;
        std::string plain;
        GetPlainTextFromXML(stored, view, plain, false);
        whole = NormalizeSearchText(lf::sys::LowerCase(plain));
    }
    if (fast != whole)
        lf::fuzz::Fail("the search form from the runs differs from the document's");
    return 0;
}
