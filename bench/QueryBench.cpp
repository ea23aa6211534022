// How fast the question list answers its search box and how fast a study phase rebuilds its sequence, on
// books of 1,000, 10,000 and 100,000 questions: a text search for a word in 1 percent of the questions and
// for a word in none, the duplicate query "#=#" (one question in twenty has a copy), the Test-phase rebuild
// that sorts the book into book order, and the same rebuild in Random mode. Search texts are built once per
// book before timing, as the storage builds them on opening. The counter per_question is the time of one
// run divided by the questions of the book; it should stay flat (or grow by log n) from size to size.
#include "bench/GeneratedBook.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes.h"
#include "platform/richtext/RichDocument.h"
#include "platform/sys/SystemServices.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>

namespace
{

constexpr int kStudyEveryKind = 3;

// A generated book with its search texts built; the word "zebra" is in the keywords of one question in a
// hundred, and one question in twenty has the search text of the one before it.
struct PreparedBook
{
    explicit PreparedBook(std::int64_t count)
    {
        lf::bench::BuildBook(items, count);
        items.SetQuestionStyle(kStudyEveryKind);
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
        {
            if (i % 100 == 50)
                items.GetItem(i)->SetKeywords("zebra crossing");
        }
        lf::RichDocument view;
        for (std::int32_t i = 0; i < items.GetCount(); ++i)
            PrepareItemSearchInfo(items.GetItem(i), &view, false, true, true, true, true);
        for (std::int32_t i = 1; i < items.GetCount(); ++i)
        {
            if (i % 20 == 1)
                items.GetItem(i)->SetSearchText(items.GetItem(i - 1)->GetSearchText());
        }
    }

    // Edit phase over the whole book, no search, no mode.
    void StartEdit()
    {
        items.ResetFilterOptions();
        SFilterOptions options;
        items.GetFilterOptions(options);
        options.problemKind = 0;
        options.problemNumber = 0;
        items.SetFilterOptions(options);
        items.SetCurrentMode(EPhase::Edit, false);
        items.SetFilterQuestion(true);
        items.First();
    }

    CItemsArray2 items;
};

// One book per size for the whole run: building the search texts of 100,000 questions takes a while.
PreparedBook& Book(std::int64_t count)
{
    static std::map<std::int64_t, std::unique_ptr<PreparedBook>> books;
    auto& book = books[count];
    if (!book)
        book = std::make_unique<PreparedBook>(count);
    return *book;
}

void SetPerQuestion(benchmark::State& state)
{
    state.counters["per_question"] =
        benchmark::Counter(static_cast<double>(state.range(0)),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void RunSearch(benchmark::State& state, const char* text, bool expectFound)
{
    PreparedBook& book = Book(state.range(0));
    book.StartEdit();
    std::int32_t rows = 0;
    for (auto _ : state)
    {
        const bool found = book.items.Search(text, false, true, true, true, true, true);
        if (found != expectFound)
        {
            state.SkipWithError("unexpected search result");
            break;
        }
        rows = book.items.GetGridCount();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    SetPerQuestion(state);
}

void BM_SearchWordInOnePercent(benchmark::State& state)
{
    RunSearch(state, "zebra", true);
}

void BM_SearchWordInNone(benchmark::State& state)
{
    RunSearch(state, "giraffe", false);
}

void BM_DuplicateQuery(benchmark::State& state)
{
    PreparedBook& book = Book(state.range(0));
    book.StartEdit();
    for (auto _ : state)
    {
        if (!book.items.Search("?#=#", false, true, true, true, true, true))
        {
            state.SkipWithError("no duplicates found");
            break;
        }
    }
    state.counters["rows"] = book.items.GetGridCount();
    SetPerQuestion(state);
}

// The Test-phase rebuild after the book was shuffled (the order a Random session leaves): every question
// is sorted back into book order.
void BM_TestRebuildSorted(benchmark::State& state)
{
    PreparedBook& book = Book(state.range(0));
    book.StartEdit();
    book.items.SetCurrentMode(EPhase::Test, false);
    for (auto _ : state)
    {
        state.PauseTiming();
        book.items.SetRandomMode(1);
        book.items.SetFilterQuestion(false);
        book.items.SetRandomMode(0);
        state.ResumeTiming();
        book.items.SetFilterQuestion(false);
    }
    state.counters["rows"] = book.items.GetGridCount();
    SetPerQuestion(state);
}

// The Test-phase rebuild in Random mode: the whole book drawn into a new order.
void BM_TestRebuildRandom(benchmark::State& state)
{
    PreparedBook& book = Book(state.range(0));
    book.StartEdit();
    book.items.SetCurrentMode(EPhase::Test, false);
    book.items.SetRandomMode(1);
    lf::sys::SeedRandom(17);
    for (auto _ : state)
        book.items.SetFilterQuestion(false);
    book.items.SetRandomMode(0);
    state.counters["rows"] = book.items.GetGridCount();
    SetPerQuestion(state);
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->ArgName("book")->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SearchWordInOnePercent)->Apply(Sizes);
BENCHMARK(BM_SearchWordInNone)->Apply(Sizes);
BENCHMARK(BM_DuplicateQuery)->Apply(Sizes);
BENCHMARK(BM_TestRebuildSorted)->Apply(Sizes);
BENCHMARK(BM_TestRebuildRandom)->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
