#include "board/form.h"
#include "ordering/moveordering.h"
#include "support/referenceordering.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

// A full board of 361 stones out of 860 moves, and the other 499 moves in the editing list,
// in ascending order as the missing-number check lists them. Most places name a stone; one
// in five names an earlier listed move, so chains are followed too.
Form fullRecord()
{
    QRandomGenerator rng(7);
    std::vector<int> moves(860);
    for (int k = 0; k < 860; ++k)
        moves[size_t(k)] = k + 1;
    std::shuffle(moves.begin(), moves.end(), rng);
    std::vector<int> onBoard(moves.begin(), moves.begin() + 361);
    std::vector<int> listed(moves.begin() + 361, moves.end());
    std::sort(listed.begin(), listed.end());

    Form f;
    f.souTesuu = QStringLiteral("860");
    for (int i = 0; i < 361; ++i)
        f.cells[size_t(i)].text = QString::number(onBoard[size_t(i)]);
    for (int r = 1; r <= int(listed.size()); ++r) {
        f.stringGrid2.at(0, r) = QString::number(listed[size_t(r - 1)]);
        const bool chained = r > 1 && rng.bounded(5) == 0;
        f.stringGrid2.at(1, r) = chained ? f.stringGrid2.at(0, int(rng.bounded(1, r)))
                                         : QString::number(onBoard[rng.bounded(361)]);
    }
    return f;
}

void fastOrdering(benchmark::State& state)
{
    Form f = fullRecord();
    for (auto _ : state) {
        StringGrid1Seibi(f);
        StringGrid2Seibi(f);
        fillMoveTable(f);
        benchmark::DoNotOptimize(f.moveTable[860]);
    }
}

void referenceOrdering(benchmark::State& state)
{
    Form f = fullRecord();
    for (auto _ : state) {
        reference::orderMoves(f);
        benchmark::DoNotOptimize(f.moveTable[860]);
    }
    Form fast = fullRecord();
    StringGrid1Seibi(fast);
    StringGrid2Seibi(fast);
    fillMoveTable(fast);
    if (fast.moveTable != f.moveTable)
        state.SkipWithError("the two orderings differ on this record");
}

// What Save waits for: the tidy, the input-data check with its list rows, and the table.
void orderingWithInputCheck(benchmark::State& state)
{
    Form f = fullRecord();
    for (auto _ : state) {
        const bool fault = ZyunRetuStrKihu(f);
        if (fault)
            state.SkipWithError("the record should pass the input-data check");
        benchmark::DoNotOptimize(f.moveTable[860]);
    }
}

} // namespace

BENCHMARK(fastOrdering)->Unit(benchmark::kMicrosecond);
BENCHMARK(referenceOrdering)->Unit(benchmark::kMillisecond);
BENCHMARK(orderingWithInputCheck)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
