// How long the main window takes to show the next question: a move through the sequence, then
// Tm_MainFrm::OnUpdateForm redrawing the pane (question text, data-set values, answer block, counter,
// buttons, verdict) and the pending paint, on the offscreen platform. Books of 1,000, 10,000 and
// 100,000 questions of mixed kinds in the Moodle style, Test, Review and Flash phases; the time per
// question should not grow with the book.
#include "bench/GeneratedBook.h"
#include "mainwindow/frame/Mainfrm.h"
#include "mainwindow/rules/AnswerTables.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace
{

void BM_OnUpdateFormNext(benchmark::State& state)
{
    const EPhase phase = PhaseFromNumber(static_cast<int>(state.range(1)));
    auto frm = std::make_unique<Tm_MainFrm>();
    frm->resize(1000, 720);
    frm->show();
    frm->Prefs().m_ViewMode = ToNumber(EQuestionStyle::Moodle);
    frm->Prefs().m_QAX_TYPE_LEARN = 0;
    frm->Prefs().m_HintDelayForLearnMode = 10;
    CItemsArray2& items = *frm->DataStorage().GetItemsPtr2();
    lf::bench::BuildBook(items, state.range(0));
    frm->DataStorage().SetCurrentMode(phase);
    items.SetActiveCategory(kAllCategoriesID, false);
    items.SetFilterQuestion(true);
    if (!items.First())
    {
        state.SkipWithError("empty sequence");
        return;
    }
    frm->SetActiveView(EView::Question, 255, 1);
    QApplication::processEvents();
    for (auto _ : state)
    {
        if (!items.Next())
            items.First();
        frm->OnUpdateForm(1, 1);
        QApplication::processEvents();
    }
    state.counters["questions"] = static_cast<double>(items.GetSequenceCount());
}

BENCHMARK(BM_OnUpdateFormNext)
    ->ArgNames({"book", "phase"})
    ->ArgsProduct({{1000, 10000, 100000},
                   {ToNumber(EPhase::Test), ToNumber(EPhase::Review), ToNumber(EPhase::Flash)}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    // Offscreen, and options and logs in a scratch folder instead of the user's.
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "lernfold-display-bench";
    std::filesystem::create_directories(scratch);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("HOME", scratch.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (scratch / "data").c_str(), 1);
    setenv("LERNFOLD_CONFIG_DIR", (scratch / "lernfold").c_str(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code error;
    std::filesystem::remove_all(scratch, error);
    return 0;
}
