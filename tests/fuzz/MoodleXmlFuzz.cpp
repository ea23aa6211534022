// Fuzz entry of the quiz reader: any bytes as a quiz file, read into a fresh book; whatever was read is
// written back as quiz XML, so the writer sees every shape the reader lets through. Property: every text
// read is valid UTF-8.
#include "interchange/MoodleXml.h"
#include "model/collection/Itemsarray.h"
#include "platform/richtext/RichDocument.h"
#include "platform/sys/Utf8Text.h"
#include "tests/fuzz/FuzzSupport.h"
#include "tests/support/BookTexts.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = lf::fuzz::WriteInput("quiz.xml", data, size);
    CItemsArray2 book;
    book.Clear();
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    if (LoadMoodleXML(path, &book, false, context))
    {
        if (!lf::sys::IsValidUtf8(lf::test::BookTexts(book)))
            lf::fuzz::Fail("a text read from the quiz is not valid UTF-8");
        pugi::xml_document doc;
        SaveMoodleQuestionsToXML(doc.append_child("quiz"), &book, context, lf::fuzz::FreshOutputFolder(),
                                 "fuzz_");
    }
    return 0;
}
