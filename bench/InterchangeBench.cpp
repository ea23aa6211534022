// How fast the exchange formats read and write beside the native book's open and save of the same
// questions, measured in the same run: quiz files of 10,000 questions (read and write), and CSV files of
// 100,000 multiple-choice questions (import and export).
#include "bench/GeneratedBook.h"
#include "bench/ScratchBooks.h"
#include "interchange/DelimitedText.h"
#include "interchange/MoodleXml.h"
#include "model/collection/Itemsarray.h"
#include "model/items/Datatypes_Kinds.h"
#include "model/storage/Datastorage.h"
#include "model/support/Log.h"
#include "model/support/Prefs.h"
#include "platform/richtext/RichDocument.h"
#include "platform/sys/NumberText.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <string>

namespace
{

using lf::bench::BuildBook;
using lf::bench::RichText;
using lf::sys::NumberText;

// A book of count multiple-choice questions with rich question texts and explanations and four answers,
// the shape every delimited-text row has.
void BuildChoiceBook(CItemsArray2& items, std::int64_t count)
{
    items.Clear();
    CItemsArray2 factory;
    for (std::int64_t n = 0; n < count; ++n)
    {
        std::unique_ptr<CBaseItem> item = factory.CreateItem(qtMultipleChoice, true);
        item->SetName("Question " + NumberText(n));
        item->SetQuestionText(RichText(n, "cells"));
        item->SetGeneralFeedback(RichText(n + 1, "the explanation"));
        for (int a = 0; a < 4; ++a)
            item->AddAnswer(SAnswerItem{a + 1, "Choice " + NumberText(a) + " of question " + NumberText(n),
                                        a == 0 ? "1" : "0", "", "", ""});
        items.InsertItem(std::move(item), false, -1);
    }
}

// The same book as a native book and as a quiz file, written once per run into a scratch folder.
struct ExchangeFiles
{
    ExchangeFiles() { prefs.m_AuthorId = "Bench"; }

    // The file of count questions with the extension: ".lnf" native and ".xml" quiz of the mixed book,
    // ".choices.lnf" native and ".csv" of the multiple-choice book.
    const std::string& Path(std::int64_t count, const std::string& extension)
    {
        return scratch.Path(NumberText(count) + extension,
                            [this, count, &extension](const std::string& path)
                            {
                                CDataStorage storage(prefs);
                                const bool choices = extension == ".choices.lnf" || extension == ".csv";
                                if (choices)
                                    BuildChoiceBook(*storage.GetItemsPtr2(), count);
                                else
                                    BuildBook(*storage.GetItemsPtr2(), count);
                                lf::RichDocument view;
                                const SExchangeContext context{nullptr, nullptr, &view};
                                if (extension == ".xml")
                                    SaveMooldeXML(path, storage.GetItemsPtr2(), true, context);
                                else if (extension == ".csv")
                                    SaveDelimitedText(true, path, storage.GetItemsPtr2(), ",", true, true,
                                                      context);
                                else
                                    storage.SaveXML(path, storage.GetItemsPtr2(), true, true);
                            });
    }

    lf::bench::ScratchBooks scratch{"lernfold-interchange-bench"};
    CPrefs prefs;
};

ExchangeFiles& Files()
{
    static ExchangeFiles files;
    return files;
}

// withSearchCopies: also the plain search copies the program builds after opening a book.
void NativeOpen(benchmark::State& state, const std::string& extension, bool withSearchCopies = false)
{
    const std::string path = Files().Path(state.range(0), extension);
    CDataStorage storage(Files().prefs);
    lf::RichDocument view;
    storage.SetRichViews(&view, nullptr);
    for (auto _ : state)
    {
        state.PauseTiming();
        storage.CloseBook();
        state.ResumeTiming();
        if (!storage.OpenBook(path))
            state.SkipWithError("open failed");
        if (withSearchCopies)
            storage.PrepareContent();
    }
    state.counters["questions"] = storage.GetItemsPtr2()->GetCount();
}

void BM_NativeOpen(benchmark::State& state)
{
    NativeOpen(state, ".lnf");
}

void BM_NativeOpenWithSearchCopies(benchmark::State& state)
{
    NativeOpen(state, ".lnf", true);
}

void BM_NativeOpenChoices(benchmark::State& state)
{
    NativeOpen(state, ".choices.lnf");
}

void BM_CsvImport(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0), ".csv");
    const SExchangeContext context;
    CItemsArray2 book;
    for (auto _ : state)
    {
        state.PauseTiming();
        book.Clear();
        state.ResumeTiming();
        if (!LoadDelimitedText(EDelimitedFormat::Csv, path, &book, ",", false, context))
            state.SkipWithError("import failed");
    }
    state.counters["questions"] = book.GetCount();
}

void BM_CsvExport(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0), ".choices.lnf");
    const std::string target = Files().scratch.FilePath("written.csv");
    CDataStorage storage(Files().prefs);
    storage.OpenBook(path);
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    for (auto _ : state)
        if (!SaveDelimitedText(true, target, storage.GetItemsPtr2(), ",", true, true, context))
            state.SkipWithError("export failed");
}

void BM_NativeSave(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0), ".lnf");
    const std::string target = path + ".saved.lnf";
    CDataStorage storage(Files().prefs);
    storage.OpenBook(path);
    for (auto _ : state)
        if (!storage.SaveXML(target, storage.GetItemsPtr2(), false, true))
            state.SkipWithError("save failed");
}

void BM_MoodleRead(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0), ".xml");
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    CItemsArray2 book;
    for (auto _ : state)
    {
        state.PauseTiming();
        book.Clear();
        state.ResumeTiming();
        if (!LoadMoodleXML(path, &book, false, context))
            state.SkipWithError("read failed");
    }
    state.counters["questions"] = book.GetCount();
}

void BM_MoodleWrite(benchmark::State& state)
{
    const std::string path = Files().Path(state.range(0), ".lnf");
    const std::string target = Files().scratch.FilePath("written.xml");
    CDataStorage storage(Files().prefs);
    storage.OpenBook(path);
    lf::RichDocument view;
    const SExchangeContext context{nullptr, nullptr, &view};
    for (auto _ : state)
        if (!SaveMooldeXML(target, storage.GetItemsPtr2(), true, context))
            state.SkipWithError("write failed");
}

void Quiz(benchmark::internal::Benchmark* bench)
{
    bench->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

void Rows(benchmark::internal::Benchmark* bench)
{
    bench->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
}

} // namespace

BENCHMARK(BM_NativeOpen)->Apply(Quiz);
BENCHMARK(BM_NativeOpenWithSearchCopies)->Apply(Quiz);
BENCHMARK(BM_MoodleRead)->Apply(Quiz);
BENCHMARK(BM_NativeSave)->Apply(Quiz);
BENCHMARK(BM_MoodleWrite)->Apply(Quiz);
BENCHMARK(BM_NativeOpenChoices)->Apply(Rows);
BENCHMARK(BM_CsvImport)->Apply(Rows);
BENCHMARK(BM_CsvExport)->Apply(Rows);
BENCHMARK_MAIN();
