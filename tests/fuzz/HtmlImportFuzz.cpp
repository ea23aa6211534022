// The HTML importer; property: no text run holds a line break, and every run and link address is valid
// UTF-8.
#include "platform/richtext/HtmlImport.h"
#include "platform/richtext/PlainText.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"

namespace
{

void CheckRuns(const lf::RichContent& content)
{
    for (const lf::SRichItem& item : content.items)
    {
        if (item.IsText() && item.text.find_first_of("\r\n") != std::string::npos)
            lf::fuzz::Fail("a text run holds a line break");
        if (!lf::sys::IsValidUtf8(item.text) || !lf::sys::IsValidUtf8(item.tag))
            lf::fuzz::Fail("a text run or link address is not valid UTF-8");
        if (item.IsTable())
            for (const auto& row : item.table->rows)
                for (const lf::SRichCell& cell : row)
                    CheckRuns(cell.content);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string html(reinterpret_cast<const char*>(data), size);
    lf::RichDocument doc;
    lf::ImportHtml(html, doc, {});
    CheckRuns(doc.content);
    lf::RichPlainText(doc.content);
    return 0;
}
