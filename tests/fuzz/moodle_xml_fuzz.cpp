// Fuzz entry of the quiz reader: any bytes as a quiz file, read into a fresh book; whatever was read is
// written back as quiz XML, so the writer sees every shape the reader lets through.
#include "interchange/MoodleXml.h"
#include "model/Itemsarray.h"
#include "platform/richtext/RichDocument.h"
#include "tests/fuzz/FuzzSetup.h"

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const lf::fuzz::FuzzSetup setup;
    const std::string path = setup.WriteInput("quiz.xml", data, size);
    CItemsArray2 book;
    book.Clear();
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    if (LoadMoodleXML(path, &book, false, context))
    {
        pugi::xml_document doc;
        SaveMoodleQuestionsToXML(doc.append_child("quiz"), &book, context, setup.FreshOutputFolder(),
                                 "fuzz_");
    }
    return 0;
}
