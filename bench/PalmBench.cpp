// How reading a handheld database book grows with its size: books of 1,000, 8,000 and 65,535
// multiple-choice records (the most the format holds) in four chapters, read into a fresh collection.
// The per_record counter is the time of one read divided by its records; it stays flat when reading is
// linear.
#include "bench/ScratchBooks.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/Palmdatabase.h"
#include "platform/sys/NumberText.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace
{

using lf::sys::NumberText;

void BuildBook(CItemsArray2& items, std::int64_t count)
{
    const char* chapters[] = {"Cells", "Plants", "Animals", "Fungi"};
    for (const char* name : chapters)
        items.GetOrAddCategoryByName(name);
    for (std::int64_t n = 0; n < count; ++n)
    {
        std::unique_ptr<CBaseItem> item = MakeItemOfKind(qtMultipleChoice);
        item->SetID(static_cast<std::int32_t>(items.NewItemID()));
        item->SetCategoryID(static_cast<std::int32_t>(1 + n % 4));
        item->SetLayersStr(NumberText(1 + n / 100) + "." + NumberText(n % 100));
        item->SetOwnerStr("Bench");
        item->SetQuestionText("Question " + NumberText(n) + ": which organelle makes most of the ATP?");
        item->SetGeneralFeedback("The mitochondrion, through the respiratory chain.");
        for (int a = 0; a < 4; ++a)
            item->AddAnswer(SAnswerItem{a + 1, "Choice " + NumberText(a), a == 0 ? "1" : "0", "", "", ""});
        items.InsertItem(std::move(item), false, -1);
    }
}

// The book of count records, written on first use.
const std::string& BookPath(std::int64_t count)
{
    static lf::bench::ScratchBooks files("lernfold-palm-bench");
    return files.Path(NumberText(count) + ".pdb",
                      [count](const std::string& path)
                      {
                          CItemsArray2 items;
                          BuildBook(items, count);
                          SPalmWriteContext context;
                          context.keepName = true;
                          SavePalmDatabase(path, items, context);
                      });
}

void BM_ReadPalmBook(benchmark::State& state)
{
    const std::string path = BookPath(state.range(0));
    std::int32_t read = 0;
    for (auto _ : state)
    {
        CItemsArray2 items;
        if (!LoadPalmDatabase(path, items, 0, true, 0))
            state.SkipWithError("read failed");
        read = items.GetCount();
        state.PauseTiming();
        items.Clear();
        state.ResumeTiming();
    }
    if (read != state.range(0))
        state.SkipWithError("wrong record count");
    state.counters["records"] = read;
    state.counters["per_record"] =
        benchmark::Counter(static_cast<double>(read),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ReadPalmBook)->Arg(1000)->Arg(8000)->Arg(65535)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
