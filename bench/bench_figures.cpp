// A game's three figures onto one record: the pictures read once, then the record's part alone
// (the first figure as a paste, each next one as the next figure, with the rules' places), and
// the reading of one next figure.

#include "board/form.h"
#include "board/lifecycle.h"
#include "diagram/diagram.h"
#include "transcribe/nextfigure.h"
#include "transcribe/readboard.h"
#include "support/scriptedui.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::string figurePath(const char* set, int k)
{
    return std::string(RANVEL_BENCH_DATA "/figures/") + set + "/fig" + std::to_string(k) + ".png";
}

std::vector<diagram::Result> readSet(const char* set)
{
    std::vector<diagram::Result> figures;
    for (int k = 1; k <= 3; ++k)
        figures.push_back(diagram::readFile(figurePath(set, k)));
    return figures;
}

void onRecord(benchmark::State& state, const char* set)
{
    const std::vector<diagram::Result> figures = readSet(set);
    for (const diagram::Result& r : figures) {
        if (r.failure != diagram::Failure::None) {
            state.SkipWithError("a figure was not read");
            return;
        }
    }
    QString total;
    for (auto _ : state) {
        Form f;
        FormCreate(f);
        ScriptedUi ui;
        enterReading(f, ui, figures[0], QStringLiteral("fig1.png"));
        enterNextFigure(f, ui, figures[1], QStringLiteral("fig2.png"));
        enterNextFigure(f, ui, figures[2], QStringLiteral("fig3.png"));
        total = f.souTesuu;
        benchmark::DoNotOptimize(total);
    }
    state.SetLabel("total " + total.toStdString());
}

void BM_ThreeFiguresOntoRecord(benchmark::State& state)
{
    onRecord(state, "pro_kisei28_g7_hundreds");
}
BENCHMARK(BM_ThreeFiguresOntoRecord)->Unit(benchmark::kMillisecond);

void BM_KoFightFiguresOntoRecord(benchmark::State& state)
{
    onRecord(state, "pro_meijin27_g1_continued");
}
BENCHMARK(BM_KoFightFiguresOntoRecord)->Unit(benchmark::kMillisecond);

void BM_ReadNextFigure(benchmark::State& state)
{
    const std::string path = figurePath("pro_kisei28_g7_hundreds", 2);
    for (auto _ : state)
        benchmark::DoNotOptimize(diagram::readFile(path));
}
BENCHMARK(BM_ReadNextFigure)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
