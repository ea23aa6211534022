// How fast the native XML book opens and saves, and how much memory that takes, beside the floor on the
// same file: a bare XML parse that turns every stored text into plain text (open), and a bare save of the
// same document tree (save). Books of 1,000, 10,000 and 100,000 questions of mixed kinds, three chapters.
#include "bench/GeneratedBook.h"
#include "bench/OpenFloor.h"
#include "bench/ScratchBooks.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/Datastorage.h"
#include "model/support/Log.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"
#include "platform/sys/NumberText.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <string>

#include <malloc.h>

namespace
{

using lf::bench::BuildBook;
using lf::sys::NumberText;

// Heap bytes in use and their peak since the last reset, counted over every allocation of the program and
// of the XML library (whose allocator is pointed at the counting functions). Resident-set figures of the
// kernel cannot be reset inside containers, so the heap is counted instead.
std::atomic<std::int64_t> g_HeapBytes{0};
std::atomic<std::int64_t> g_HeapPeak{0};

[[gnu::noinline]] void* CountedMalloc(std::size_t size)
{
    void* block = std::malloc(size);
    if (!block)
        return nullptr;
    const std::int64_t now = g_HeapBytes += static_cast<std::int64_t>(malloc_usable_size(block));
    std::int64_t peak = g_HeapPeak.load();
    while (now > peak && !g_HeapPeak.compare_exchange_weak(peak, now))
    {
    }
    return block;
}

[[gnu::noinline]] void CountedFree(void* block)
{
    if (!block)
        return;
    g_HeapBytes -= static_cast<std::int64_t>(malloc_usable_size(block));
    std::free(block);
}

// The heap in use now; the peak starts again from here.
std::int64_t ResetPeak()
{
    const std::int64_t now = g_HeapBytes.load();
    g_HeapPeak = now;
    return now;
}

// The books of each size, written once per run into a scratch folder.
struct BookFiles
{
    BookFiles() { pugi::set_memory_management_functions(CountedMalloc, CountedFree); }

    const std::string& Path(std::int64_t count)
    {
        return scratch.Path(NumberText(count) + ".lnf",
                            [count](const std::string& path)
                            {
                                CDataStorage storage;
                                BuildBook(*storage.GetItemsPtr2(), count);
                                storage.SaveXML(path, storage.GetItemsPtr2(), true, true);
                            });
    }

    lf::bench::ScratchBooks scratch{"lernfold-bookio-bench"};
};

BookFiles& Files()
{
    static BookFiles files;
    return files;
}

constexpr unsigned kBookParseOptions = pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute;

// The time per question, to show that opening grows linearly with the book.
void SetPerQuestionCounter(benchmark::State& state)
{
    state.counters["per_question"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(state.range(0)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SetMemoryCounters(benchmark::State& state, const std::string& path, std::int64_t baseBytes)
{
    const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
    const double peakBytes = static_cast<double>(g_HeapPeak.load() - baseBytes);
    state.counters["file_MB"] = fileBytes / 1e6;
    state.counters["peak_MB"] = peakBytes / 1e6;
    state.counters["peak_per_file"] = peakBytes / fileBytes;
}

// Open: parse, build the items, build the search copies.
void BM_OpenBook(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0));
    lf::RichDocument view;
    std::int64_t baseBytes = 0;
    {
        CDataStorage storage;
        storage.SetRichViews(&view, nullptr);
        for (auto _ : state)
        {
            state.PauseTiming();
            storage.CloseBook();
            baseBytes = ResetPeak();
            state.ResumeTiming();
            if (!storage.OpenBook(path))
                state.SkipWithError("open failed");
            storage.PrepareContent();
        }
        state.counters["questions"] = storage.GetItemsPtr2()->GetCount();
    }
    SetMemoryCounters(state, path, baseBytes);
    SetPerQuestionCounter(state);
}

// The floor of open: a bare parse that turns every stored text into plain text.
void BM_OpenFloor(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0));
    std::int64_t baseBytes = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        baseBytes = ResetPeak();
        state.ResumeTiming();
        const std::size_t plainBytes = lf::bench::ReadBookFloor(path);
        if (plainBytes == 0)
            state.SkipWithError("parse failed");
        benchmark::DoNotOptimize(plainBytes);
    }
    SetMemoryCounters(state, path, baseBytes);
    SetPerQuestionCounter(state);
}

// Save: build the document from the items and replace the file through a temporary file.
void BM_SaveBook(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0));
    const std::string target = path + ".saved.lnf";
    CDataStorage storage;
    storage.OpenBook(path);
    std::int64_t baseBytes = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        baseBytes = ResetPeak();
        state.ResumeTiming();
        if (!storage.SaveXML(target, storage.GetItemsPtr2(), false, true))
            state.SkipWithError("save failed");
    }
    SetMemoryCounters(state, path, baseBytes);
    std::filesystem::remove(target);
}

// The floor of save: a bare save of the same document tree, already built.
void BM_SaveFloor(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0));
    const std::string target = path + ".floor.lnf";
    pugi::xml_document doc;
    doc.load_file(path.c_str(), kBookParseOptions);
    for (auto _ : state)
    {
        if (!doc.save_file(target.c_str(), "\t", pugi::format_indent, pugi::encoding_utf8))
            state.SkipWithError("save failed");
    }
    std::filesystem::remove(target);
}

void Sizes(benchmark::internal::Benchmark* bench)
{
    bench->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

} // namespace

BENCHMARK(BM_OpenFloor)->Apply(Sizes);
BENCHMARK(BM_OpenBook)->Apply(Sizes);
BENCHMARK(BM_SaveFloor)->Apply(Sizes);
BENCHMARK(BM_SaveBook)->Apply(Sizes);

// Every allocation of the program goes through the counting functions.
void* operator new(std::size_t size)
{
    if (void* block = CountedMalloc(size))
        return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept
{
    CountedFree(block);
}
void operator delete(void* block, std::size_t) noexcept
{
    CountedFree(block);
}

BENCHMARK_MAIN();
