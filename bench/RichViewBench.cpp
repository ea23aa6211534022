// How long a question takes from its document to a laid-out view: the question pane is redrawn at
// every move through a book, and long answer tables must not make it stall.
#include "platform/qt/RichView.h"
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace
{

// A typical question: about 300 bytes of text in three paragraphs and two styles, then an answer
// table as the answer block draws it (picture column, text column, one row per answer).
lf::RichDocument QuestionDocument(int answerRows)
{
    lf::RichDocument doc(lf::RichStyleSheet::Display());
    auto& c = doc.content;
    c.AddText("Which of the following statements about the citric acid cycle are ", 0, 0);
    c.AddText("correct", 1, 0, false);
    c.AddText("? Consider where in the cell it runs, what it takes in and what it gives off.", 0, 0, false);
    c.AddText("It takes place in the mitochondrial matrix and produces NADH and FADH2 for the respiratory "
              "chain.",
              0, 0);
    c.AddText("Choose all answers that apply.", 3, 1);
    c.AddText("", 0, 0);
    c.AddText("Answer(s):", 0, 0);
    lf::RichTable table(answerRows, 2);
    table.bestWidth = -100;
    table.borderWidth = 0;
    table.cellBorderWidth = 0;
    table.cellPadding = 4;
    table.borderVSpacing = 5;
    table.borderHSpacing = 10;
    table.borderStyle = lf::RichTableBorder::Color;
    table.cellBorderStyle = lf::RichTableBorder::Color;
    for (int row = 0; row < answerRows; ++row)
    {
        lf::SRichCell& first = table.Cell(row, 0);
        first.content.AddHotspot(row % 9 + 1, 0, true);
        first.hint = std::to_string(row);
        first.bestWidth = 20;
        first.vAlign = lf::RichCellVAlign::Center;
        table.Cell(row, 1).content.AddText(
            "Answer " + std::to_string(row + 1) + ": the cycle oxidises acetyl-CoA", 0, 0);
    }
    table.Cell(0, 0).color = 0xFFDD66;
    table.Cell(0, 1).color = 0xFFDD66;
    c.AddTable(std::move(table), "1", 0);
    return doc;
}

// Lays out the whole document: asking for the last block's place runs the layout to the end.
qreal LayOut(lf::qt::RichView& view)
{
    QTextDocument* doc = view.document();
    return doc->documentLayout()->blockBoundingRect(doc->lastBlock()).bottom();
}

void DrawAndLayOut(benchmark::State& state, int rows)
{
    lf::qt::RichView view;
    view.resize(640, 480);
    view.show();
    view.Document() = QuestionDocument(rows);
    for (auto _ : state)
    {
        view.Format();
        benchmark::DoNotOptimize(LayOut(view));
    }
    state.SetItemsProcessed(state.iterations());
}

// Document to widget: the document drawn into the view's Qt document and laid out.
void BM_QuestionWithFourAnswers(benchmark::State& state)
{
    DrawAndLayOut(state, 4);
}
BENCHMARK(BM_QuestionWithFourAnswers)->Unit(benchmark::kMicrosecond);

void BM_QuestionWithLongTable(benchmark::State& state)
{
    DrawAndLayOut(state, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_QuestionWithLongTable)->Arg(200)->Unit(benchmark::kMillisecond);

// From the stored text: what showing a question costs with the XML reading in front.
void BM_StoredQuestionToView(benchmark::State& state)
{
    const std::string stored = lf::WriteRichXml(QuestionDocument(4));
    lf::qt::RichView view;
    view.resize(640, 480);
    view.show();
    for (auto _ : state)
    {
        SetXMLToRE(stored, view.Document(), true, true, false);
        view.Format();
        benchmark::DoNotOptimize(LayOut(view));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stored.size()));
}
BENCHMARK(BM_StoredQuestionToView)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
