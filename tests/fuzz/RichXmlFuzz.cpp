// Stored rich text and its plain text; property: what the writer makes of a read text reads back to
// the same text.
#include "platform/richtext/PlainText.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    lf::RichDocument doc;
    if (lf::ReadRichXml(text, doc) != lf::RichXmlResult::Loaded)
        return 0;
    const std::string plain = lf::RichPlainText(doc.content);
    if (!lf::sys::IsValidUtf8(plain))
        lf::fuzz::Fail("plain text is not valid UTF-8");
    const std::string written = lf::WriteRichXml(doc);
    lf::RichDocument again;
    if (lf::ReadRichXml(written, again) != lf::RichXmlResult::Loaded)
        lf::fuzz::Fail("the written text does not read");
    if (lf::WriteRichXml(again) != written || lf::RichPlainText(again.content) != plain)
        lf::fuzz::Fail("the stored text changed over a round trip");
    lf::RichDocument target;
    lf::InsertRichStream(target, text);
    return 0;
}
