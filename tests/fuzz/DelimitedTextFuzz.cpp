// Fuzz entry of the delimited-text readers: any bytes as a CSV file (quoted fields over lines), as a
// FlashCardExchange file and, line by line, as Quizlet text; the questions read go through the three
// field writers again.
#include "interchange/DelimitedText.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/richtext/RichDocument.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = lf::fuzz::WriteInput("rows.csv", data, size);
    CItemsArray2 book;
    book.Clear();
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    LoadDelimitedText(EDelimitedFormat::Csv, path, &book, ",", false, context);
    LoadDelimitedText(EDelimitedFormat::FlashCardExchange, path, &book, "\t", false, context);
    LoadDelimitedText(EDelimitedFormat::QuizletText, path, &book, "::", false, context);
    std::string line;
    for (std::int32_t i = 0; i < book.GetCount(); ++i)
    {
        CBaseItem* item = book.GetItem(i);
        AppendCSVField(item->GetQuestionText(), line, ",", true, view);
        AppendExcelField(DelimitedAnswerText(item), line, "\t", false, view);
        AppendPlainField(item->GetGeneralFeedback(), line, "\t", false, view);
    }
    return 0;
}
