#include "diagram/diagram.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/network.h"
#include "diagram/numbers.h"
#include "diagram/pagetext.h"
#include "diagram/picture.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Reading a whole page: a letter page at 300 dpi with a 266-move diagram, its notes and
// caption, from the encoded file to the board; and a clean 600 dpi page and a scan.

namespace {

std::vector<std::uint8_t> picture(const std::string& name)
{
    std::string here = __FILE__;
    here.erase(here.find_last_of('/'));
    std::ifstream in(here + "/../tests/data/diagrams/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void readPage(benchmark::State& state, const char* name)
{
    const std::vector<std::uint8_t> bytes = picture(name);
    // The first reading loads the recogniser's model; a program reading pages pays it once.
    diagram::readEncoded(bytes);
    for (auto _ : state) {
        const diagram::Result result = diagram::readEncoded(bytes);
        if (result.failure != diagram::Failure::None)
            state.SkipWithError(result.reason.c_str());
        benchmark::DoNotOptimize(result);
    }
}

// A page's ink and lattice, found once before a stage is timed on them.
struct Found {
    diagram::Picture page;
    diagram::Ink ink;
    std::optional<diagram::Grid> grid;
    std::string reason;
};

Found found(const char* name)
{
    Found f;
    f.page = diagram::decodePicture(picture(name));
    f.ink = diagram::separateInk(f.page.grey);
    f.grid = diagram::locateGrid(f.ink, f.reason);
    return f;
}

// The text beside the board alone, found and read: it runs beside the board's reading, so a
// page costs at most this much more for its text.
void readText(benchmark::State& state, const char* name)
{
    const Found f = found(name);
    if (!f.grid) {
        state.SkipWithError(f.reason.c_str());
        return;
    }
    diagram::readPageText(f.ink, *f.grid);
    for (auto _ : state)
        benchmark::DoNotOptimize(diagram::readPageText(f.ink, *f.grid));
}

// The board's reading stage by stage, to tell where a page's time goes: the ink separated,
// the lattice found, the board straightened and its points told by the stone test, the point
// network's odds on the same sheet, the numbers read.
enum class Stage { Ink, Lattice, Points, PointNetwork, Numbers };

void readStage(benchmark::State& state, const char* name, Stage stage)
{
    const Found f = found(name);
    if (!f.grid) {
        state.SkipWithError(f.reason.c_str());
        return;
    }
    const diagram::Ink& ink = f.ink;
    const diagram::Grid& grid = *f.grid;
    std::string reason;
    const diagram::StraightBoard straight = diagram::straighten(ink, grid);
    std::vector<diagram::StoneSpot> spots;
    const auto looks = diagram::classifyStones(straight);
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (const go::Stone s = looks[std::size_t(go::pointOf(x, y))].stone; s != go::Stone::Empty)
                spots.push_back({x, y, s});
        }
    }
    diagram::readStoneNumbers(straight, spots, nullptr);
    for (auto _ : state) {
        switch (stage) {
        case Stage::Ink:
            benchmark::DoNotOptimize(diagram::separateInk(f.page.grey));
            break;
        case Stage::Lattice:
            benchmark::DoNotOptimize(diagram::locateGrid(ink, reason));
            break;
        case Stage::Points:
            benchmark::DoNotOptimize(diagram::classifyStones(diagram::straighten(ink, grid)));
            break;
        case Stage::PointNetwork:
            benchmark::DoNotOptimize(diagram::weighPoints(diagram::pointCells(straight)));
            break;
        case Stage::Numbers:
            benchmark::DoNotOptimize(diagram::readStoneNumbers(straight, spots, nullptr));
            break;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(readStage, ink, "game09_s9_l1_h2__clean300.png", Stage::Ink)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readStage, lattice, "game09_s9_l1_h2__clean300.png", Stage::Lattice)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readStage, points, "game09_s9_l1_h2__clean300.png", Stage::Points)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readStage, pointNetwork, "game09_s9_l1_h2__clean300.png", Stage::PointNetwork)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readStage, numbers, "game09_s9_l1_h2__clean300.png", Stage::Numbers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readText, page300dpi, "game09_s9_l1_h2__clean300.png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readText, textNotes, "../corpus/own_nimbus-sans-narrow_clean.png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readPage, page300dpi, "game09_s9_l1_h2__clean300.png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readPage, page600dpi, "game14_s14_l2_h9__clean600.png")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(readPage, scan300dpi, "game13_s13_l1_h6__scan300.jpg")->Unit(benchmark::kMillisecond)->UseRealTime();
// A book's page with its caption, 24 notes in text over two lines and four lines of commentary.
BENCHMARK_CAPTURE(readPage, textNotes, "../corpus/own_nimbus-sans-narrow_clean.png")->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
