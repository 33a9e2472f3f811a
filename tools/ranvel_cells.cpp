// Writes each stone of a picture's board as the digit network sees it, one PNG per stone
// named X_Y.png in OUTDIR, and prints "X Y b|w NUMBER PROBABILITY" for each, the network's own
// reading: the real crops that the network's training is checked against, and what its doubts
// are calibrated on.
//   ranvel_cells --points PICTURE OUT.png [SIGMA] writes every point of the board instead, as
// the point network sees it, in one sheet of 19 x 19 cells (the picture smoothed by SIGMA
// pixels first, as a screened page is read again), and prints "X Y e|b|w SURENESS EMPTY BLACK
// WHITE" for each: what the stone test made of it, and the point network's odds.

#include "board/go.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/network.h"
#include "diagram/picture.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int writePoints(const char* picturePath, const char* out, double sigma)
{
    diagram::Picture picture = diagram::loadPicture(picturePath);
    if (picture.failure != diagram::Failure::None) {
        std::fprintf(stderr, "%s: %s\n", picturePath, picture.reason.c_str());
        return 1;
    }
    if (sigma > 0)
        cv::GaussianBlur(picture.grey, picture.grey, cv::Size(), sigma);
    const diagram::Ink ink = diagram::separateInk(picture.grey);
    std::string reason;
    const auto grid = diagram::locateGrid(ink, reason);
    if (!grid) {
        std::fprintf(stderr, "%s: %s\n", picturePath, reason.c_str());
        return 1;
    }
    const diagram::StraightBoard sheet = diagram::straighten(ink, *grid);
    const auto looks = diagram::classifyStones(sheet);
    const std::vector<cv::Mat> cells = diagram::pointCells(sheet);
    const std::vector<diagram::PointOdds> odds = diagram::weighPoints(cells);
    cv::Mat all(go::BoardSize * diagram::cellSide, go::BoardSize * diagram::cellSide, CV_8U);
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const std::size_t i = std::size_t(go::pointOf(x, y));
            cells[i].copyTo(all(cv::Rect((x - 1) * diagram::cellSide, (y - 1) * diagram::cellSide, diagram::cellSide,
                                         diagram::cellSide)));
            const diagram::Stone s = looks[i].stone;
            const diagram::PointOdds o = i < odds.size() ? odds[i] : diagram::PointOdds{};
            std::printf("%d %d %c %.4f %.5f %.5f %.5f\n", x, y,
                        s == diagram::Stone::Black ? 'b' : s == diagram::Stone::White ? 'w' : 'e', double(looks[i].sureness),
                        double(o.empty), double(o.black), double(o.white));
        }
    }
    return diagram::writePng(out, all) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 4 && argc <= 5 && std::strcmp(argv[1], "--points") == 0)
        return writePoints(argv[2], argv[3], argc == 5 ? std::atof(argv[4]) : 0.0);
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
