// Writes each stone of a picture's board as the digit network sees it, one PNG per stone
// named X_Y.png in OUTDIR, and prints "X Y b|w NUMBER PROBABILITY" for each, the network's own
// reading: the real crops that the network's training is checked against, and what its doubts
// are calibrated on.

#include "board/go.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/network.h"
#include "diagram/picture.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ranvel_cells PICTURE OUTDIR\n");
        return 2;
    }
    const diagram::Picture picture = diagram::loadPicture(argv[1]);
    if (picture.failure != diagram::Failure::None) {
        std::fprintf(stderr, "%s: %s\n", argv[1], picture.reason.c_str());
        return 1;
    }
    const diagram::Ink ink = diagram::separateInk(picture.grey);
    std::string reason;
    const auto grid = diagram::locateGrid(ink, reason);
    if (!grid) {
        std::fprintf(stderr, "%s: %s\n", argv[1], reason.c_str());
        return 1;
    }
    const diagram::StraightBoard sheet = diagram::straighten(ink, *grid);
    const auto looks = diagram::classifyStones(sheet);
    std::vector<cv::Mat> cells;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const diagram::Stone s = looks[std::size_t(go::pointOf(x, y))].stone;
            if (s != diagram::Stone::Empty)
                cells.push_back(diagram::stoneCell(sheet, x, y, s));
        }
    }
    const std::vector<diagram::CellReading> read = diagram::readCells(cells);
    std::size_t at = 0;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const diagram::Stone s = looks[std::size_t(go::pointOf(x, y))].stone;
            if (s == diagram::Stone::Empty)
                continue;
            const std::string name = std::string(argv[2]) + "/" + std::to_string(x) + "_" + std::to_string(y) + ".png";
            diagram::writePng(name, cells[at]);
            const diagram::CellReading r = at < read.size() ? read[at] : diagram::CellReading{};
            ++at;
            std::printf("%d %d %c %d %.5f\n", x, y, s == diagram::Stone::Black ? 'b' : 'w', r.number, double(r.confidence));
        }
    }
    return 0;
}
