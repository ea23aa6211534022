// Fuzz entry of the delimited-text readers: any bytes as a CSV file (quoted fields over lines), as a
// FlashCardExchange file and, line by line, as Quizlet text; the questions read are exported again.
#include "interchange/DelimitedText.h"
#include "model/Itemsarray.h"
#include "platform/richtext/RichDocument.h"
#include "tests/fuzz/FuzzSetup.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const lf::fuzz::FuzzSetup setup;
    const std::string path = setup.WriteInput("rows.csv", data, size);
    CItemsArray2 book;
    book.Clear();
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    LoadDelimitedText(EDelimitedFormat::Csv, path, &book, ",", false, context);
    LoadDelimitedText(EDelimitedFormat::FlashCardExchange, path, &book, "\t", false, context);
    LoadDelimitedText(EDelimitedFormat::QuizletText, path, &book, "::", false, context);
    SaveDelimitedText(true, setup.FreshOutputFolder() + "out.csv", &book, ",", true, true, context);
    return 0;
}
