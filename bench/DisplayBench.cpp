// How long showing the next question takes: the question text (with its data-set values), then its
// answer block under it, built as the display view's content. Books of 1,000, 10,000 and 100,000
// questions of mixed kinds in Test, Review and Flash phases; the time per question should not grow with
// the book.
#include "bench/GeneratedBook.h"
#include "mainwindow/rules/AnswerTables.h"
#include "mainwindow/rules/QuestionPane.h"
#include "model/collection/Itemsarray.h"
#include "model/formulas/Formulamanager.h"
#include "model/items/Datatypes.h"
#include "model/support/Prefs.h"
#include "platform/richtext/RichTextOps.h"

#include <benchmark/benchmark.h>

namespace
{

void BM_ShowNextQuestion(benchmark::State& state)
{
    const EPhase phase = PhaseFromNumber(static_cast<int>(state.range(1)));
    // The Moodle style: every kind of question enters the sequence and shows its answers.
    CPrefs prefs;
    prefs.m_ViewMode = ToNumber(EQuestionStyle::Moodle);
    CItemsArray2 items;
    lf::bench::BuildBook(items, state.range(0));
    items.SetCurrentMode(phase, false);
    items.SetActiveCategory(kAllCategoriesID, false);
    items.SetFilterQuestion(true);
    if (!items.First())
    {
        state.SkipWithError("empty sequence");
        return;
    }
    lf::RichDocument view(lf::RichStyleSheet::Display());
    lf::RichDocument editor;
    CFormulaManager manager;
    lf::display::SAnswerBlockState blockState;
    blockState.phase = phase;
    blockState.viewMode = EQuestionStyle::Moodle;
    blockState.hintDelayForLearnMode = 10;
    blockState.formulaManager = &manager;
    for (auto _ : state)
    {
        if (!items.Next())
            items.First();
        CBaseItem* item = items.GetCurrentItem();
        const std::string text = lf::display::PrepareQuestionText(*item, phase, true, manager);
        SetXMLToRE(text, view, true, true, true);
        const lf::display::SAnswerBlock block =
            lf::display::RenderAnswerBlock(*item, false, &view, &editor, blockState);
        benchmark::DoNotOptimize(block.tableItem);
        benchmark::DoNotOptimize(view.content.items.data());
    }
    state.counters["questions"] = static_cast<double>(items.GetSequenceCount());
}

BENCHMARK(BM_ShowNextQuestion)
    ->ArgNames({"book", "phase"})
    ->ArgsProduct({{1000, 10000, 100000},
                   {ToNumber(EPhase::Test), ToNumber(EPhase::Review), ToNumber(EPhase::Flash)}})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
