// How many stored item texts per second turn into plain text: the search texts of a whole book and the
// delimited-text exports run this once per text field.
#include "platform/richtext/RichTextOps.h"
#include "platform/richtext/RichXml.h"

#include <benchmark/benchmark.h>

namespace
{

// A typical stored question text: two text styles, three paragraphs of words. With the whole default
// sheet (as a cleared view keeps it) the text is about 2 KB; with only the two styles in use, a few
// hundred bytes.
std::string TypicalStoredText(bool wholeSheet)
{
    lf::RichDocument doc;
    if (!wholeSheet)
    {
        doc.styles.textStyles.resize(2);
        doc.styles.paraStyles.resize(2);
    }
    doc.content.AddText("Which of the following statements about the citric acid cycle are ", 0, 0);
    doc.content.AddText("correct", 1, 0, false);
    doc.content.AddText("?", 0, 0, false);
    doc.content.AddText("It takes place in the mitochondrial matrix and produces NADH and FADH2.", 0, 0);
    doc.content.AddText("Choose all answers that apply.", 1, 1);
    return lf::WriteRichXml(doc);
}

void BM_GetPlainTextFromXML(benchmark::State& state)
{
    const std::string stored = TypicalStoredText(state.range(0) != 0);
    lf::RichDocument view;
    std::string plain;
    for (auto _ : state)
    {
        GetPlainTextFromXML(stored, view, plain, false);
        benchmark::DoNotOptimize(plain.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stored.size()));
    state.counters["text_bytes"] = static_cast<double>(stored.size());
}
BENCHMARK(BM_GetPlainTextFromXML)->ArgName("wholeSheet")->Arg(0)->Arg(1);

void BM_GetXMLFormRE(benchmark::State& state)
{
    lf::RichDocument view;
    SetXMLToRE(TypicalStoredText(true), view, true, true, false);
    std::string stored;
    for (auto _ : state)
    {
        GetXMLFormRE(stored, view);
        benchmark::DoNotOptimize(stored.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetXMLFormRE);

void BM_PlainTextThroughHtmlProbe(benchmark::State& state)
{
    // A text without the root that looks like markup pays for one HTML import in the probe.
    const std::string text = "Which <b>one</b> of these is a prime number &amp; odd?";
    lf::RichDocument view;
    std::string plain;
    for (auto _ : state)
    {
        GetPlainTextFromXML(text, view, plain, false);
        benchmark::DoNotOptimize(plain.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PlainTextThroughHtmlProbe);

} // namespace

BENCHMARK_MAIN();
