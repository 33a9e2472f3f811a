#include "board/form.h"
#include "board/go.h"
#include "rules/candidatefill.h"
#include "rules/inference.h"
#include "rules/position.h"
#include "rules/replay.h"
#include "support/realgame.h"

#include <QFile>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <vector>

using namespace rules;

namespace {

// A random game of 300 legal moves in which exactly 20 moves fall on the points of captured
// stones: random play captures often enough, and a move takes such a point now and then until
// twenty have. Seeds are tried in turn until one gives a game of that shape.
Game randomGame(int total, int offBoard)
{
    for (quint32 seed = 1;; ++seed) {
        QRandomGenerator rng(seed);
        Position p;
        Game game;
        int replayed = 0;
        for (int k = 1; k <= total; ++k) {
            const Stone colour = k % 2 == 1 ? Stone::Black : Stone::White;
            std::vector<int> fresh, again;
            for (int c = 0; c < Points; ++c) {
                if (p.stone[size_t(c)] != Stone::Empty || !p.canPlay(c, colour))
                    continue;
                (p.captured[size_t(c)] ? again : fresh).push_back(c);
            }
            const bool replay = !again.empty() && replayed < offBoard && rng.bounded(4) == 0;
            const std::vector<int>& from = replay || fresh.empty() ? again : fresh;
            if (from.empty())
                break;
            const int c = from[rng.bounded(int(from.size()))];
            replayed += p.captured[size_t(c)] ? 1 : 0;
            p.play(c, colour, k);
            game.moves.append({colour == Stone::Black, QPoint(columnOf(c), rowOf(c))});
        }
        if (game.moves.size() == total && replayed == offBoard)
            return game;
    }
}

// The record typed from the game's diagram, the off-board moves listed without places.
Form typedRecord(const Game& game)
{
    const Diagram d = diagramOf(game);
    Form f;
    for (int p = 0; p < Points; ++p)
        f.cells[size_t(p)].text = d.at(columnOf(p), rowOf(p));
    f.radioGroup1 = d.whiteFirst ? go::FirstPlayer::White : go::FirstPlayer::Black;
    f.souTesuu = QString::number(d.total);
    for (int i = 0; i < d.offBoard.size(); ++i)
        f.stringGrid2.at(0, i + 1) = QString::number(d.offBoard[i].move);
    return f;
}

void report(benchmark::State& state, const Form& f)
{
    const Inference found = infer(replayOf(f));
    int certain = 0;
    for (const OpenMove& m : found.open)
        certain += m.certain ? 1 : 0;
    state.counters["open"] = double(found.open.size());
    state.counters["certain"] = certain;
    state.counters["bounded"] = found.stopped ? 1 : 0;
}

// F5 on a fresh copy of the record each time, as the fill writes into it.
void timeFill(benchmark::State& state, const Form& typed)
{
    for (auto _ : state) {
        Form f = typed;
        fillCandidatePlaces(f);
        benchmark::DoNotOptimize(f.memo);
    }
    report(state, typed);
}

// F5 on a 300-move record with 20 places to find.
void fill300Moves20Missing(benchmark::State& state)
{
    timeFill(state, typedRecord(randomGame(300, 20)));
}
BENCHMARK(fill300Moves20Missing)->Unit(benchmark::kMillisecond);

// F5 on the most a typed record holds: every list row open. The budget bounds the points
// tried, not the replays of the known moves between them.
void fillFullList(benchmark::State& state)
{
    timeFill(state, typedRecord(randomGame(860, 499)));
}
BENCHMARK(fillFullList)->Unit(benchmark::kMillisecond);

// F5 on the real game whose late moves have the most points open to them.
void fillRealGame(benchmark::State& state)
{
    QFile file(QStringLiteral(RANVEL_BENCH_DATA "/games/game16_s16_l0_h0.sgf"));
    if (!file.open(QIODevice::ReadOnly)) {
        state.SkipWithError("game16_s16_l0_h0.sgf not found");
        return;
    }
    timeFill(state, typedRecord(*readGame(file.readAll())));
}
BENCHMARK(fillRealGame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
