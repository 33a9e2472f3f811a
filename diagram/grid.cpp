#include "diagram/grid.h"

#include "diagram/boardink.h"
#include "diagram/lattice.h"
#include "diagram/stonecentres.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

// The board found by stages: its ink (boardink), candidate stone centres (stonecentres), and
// the lattice fitted to them (lattice).

namespace diagram {
namespace {

// The lattice is sought on a copy where a line pitch is about this many pixels: a stone is
// then a blob of a few hundred pixels, large enough to tell a disc from a digit.
constexpr double workingPitch = 24.0;

// The stones' spacing is trusted, and a second search run at it, when this share of them has
// a neighbour at one pitch and it differs from the outline's by more than this share.
constexpr double leastNeighbourSupport = 0.6, spacingDisagrees = 0.1;

// The RANSAC fit allows a quarter pitch.
constexpr double fitTolerance = 0.25;

// The ink's box holds the board and what edge stones stick out: 18 pitches and a little more.
constexpr double outlinePitches = 18.7;

// Where the ink finds no board, ink is what lies this many grey levels below the mean of a
// square of this share of the picture's shorter side around it.
constexpr double localInkContrast = 6;
constexpr int localInkBlocks = 40;

std::optional<Grid> locateOn(const Ink& ink, std::string& reason)
{
    reason = "No board was found in the picture.";
    const std::optional<BoardInk> found = findBoardInk(ink);
    if (!found)
        return std::nullopt;
    const cv::Rect box = found->box;
    const cv::Mat& boardInk = found->ink;
    double scale = 1, pitch = 0;
    cv::Mat mask, grey;
    Stones stones;
    // The stones are sought on a copy where a pitch is about workingPitch pixels, told first by
    // the size of the ink, which may hold more than the board.
    const auto seek = [&](double roughPitch) {
        scale = std::min(1.0, workingPitch / roughPitch);
        mask = boardInk.clone();
        if (scale < 1.0) {
            cv::resize(mask, mask, cv::Size(), scale, scale, cv::INTER_AREA);
            cv::threshold(mask, mask, 40, 255, cv::THRESH_BINARY);
        }
        pitch = roughPitch * scale;
        stones = findStones(mask, pitch);
        cv::resize(ink.even(box), grey, mask.size(), 0, 0, cv::INTER_AREA);
        findCircles(grey, pitch, stones.centres);
    };
    seek(std::max(box.width, box.height) / outlinePitches);
    // Where the stones' own spacing says otherwise, they are sought again at their size: the
    // tests of a stone's size hold within a tenth or so. Few stones found far apart tell
    // nothing of the spacing, and a second search that finds fewer is not taken.
    if (const auto n = neighbours(distinct(stones.centres, pitch));
        n && n->support >= leastNeighbourSupport && std::abs(n->pitch / pitch - 1) > spacingDisagrees) {
        const double firstScale = scale, firstPitch = pitch;
        const std::size_t found = distinct(stones.centres, pitch).size();
        cv::Mat firstMask = mask, firstGrey = grey;
        Stones first = stones;
        seek(n->pitch / scale);
        if (distinct(stones.centres, pitch).size() <= found) {
            scale = firstScale;
            pitch = firstPitch;
            mask = firstMask;
            grey = firstGrey;
            stones = std::move(first);
        }
    }
    if (stones.centres.size() < fewestFitted)
        return std::nullopt;

    // Lattice indices for the centres in the frame of the ink's outline, then a fit that
    // straightens whatever turn or perspective the outline did not.
    const std::vector<cv::Point2f> corners = outline(mask);
    const std::vector<cv::Point2f> unit{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const cv::Matx33d toUnit(cv::getPerspectiveTransform(corners, unit));
    std::vector<double> us, vs;
    std::vector<cv::Point2d> inUnit;
    for (const cv::Point2d& c : stones.centres) {
        inUnit.push_back(mapPoint(toUnit, c));
        us.push_back(inUnit.back().x);
        vs.push_back(inUnit.back().y);
    }
    const Period pu = periodOf(us), pv = periodOf(vs);
    std::vector<cv::Point2d> lattice;
    for (const cv::Point2d& u : inUnit)
        lattice.emplace_back(std::round((u.x - pu.offset) / pu.pitch), std::round((u.y - pv.offset) / pv.pitch));
    cv::Matx33d h;
    const bool byOutline = fitLattice(stones.centres, lattice, h, fitTolerance * pitch);
    // Where the outline is not the board's, the stones' own spacing finds the lattice: the fit
    // that puts more stones on its points is taken.
    const std::vector<cv::Point2d> single = distinct(stones.centres, pitch);
    if (const auto n = neighbours(single)) {
        cv::Matx33d other;
        const bool byStones = fitLattice(stones.centres, indicesByNeighbours(stones.centres, *n), other, fitTolerance * n->pitch);
        cv::Matx33d grown;
        const Indexed steps = indicesByGrowth(single, *n);
        const bool byGrowth = fitLattice(steps.picture, steps.lattice, grown, fitTolerance * n->pitch);
        bool any = byOutline;
        if (byStones && (!any || onLattice(single, other) > onLattice(single, h))) {
            h = other;
            any = true;
        }
        if (byGrowth && (!any || onLattice(single, grown) > onLattice(single, h))) {
            h = grown;
            any = true;
        }
        if (!any)
            return std::nullopt;
    } else if (!byOutline) {
        return std::nullopt;
    }

    // The board's edge lines: the only run of 19 lines across the stones' span.
    const cv::Matx33d back = h.inv();
    // Stone icons of the notes or of a caption can touch the board's ink: the board holds the
    // 19 lines each way with the most stones on them, and what lies past them is not its own.
    std::vector<int> xs, ys;
    for (const cv::Point2d& c : stones.centres) {
        const cv::Point2d q = mapPoint(back, c);
        xs.push_back(int(std::lround(q.x)));
        ys.push_back(int(std::lround(q.y)));
    }
    const auto [lowX, highX] = busiestSpan(xs);
    const auto [lowY, highY] = busiestSpan(ys);
    // A line is found where it passes within a few pixels of where the fit puts it.
    cv::Mat near;
    cv::dilate(stones.covered, near, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5)));
    const auto left = firstLine(near, h, lowX, highX, lowY, highY, true);
    const auto top = firstLine(near, h, lowY, highY, lowX, highX, false);
    if (!left || !top) {
        reason = "The picture holds no complete 19 x 19 board.";
        return std::nullopt;
    }

    // Board coordinates to the working copy, then to the picture.
    const cv::Matx33d shift(1, 0, *left - 1, 0, 1, *top - 1, 0, 0, 1);
    // Pixel centres, not corners, correspond between the copy and the picture.
    const double half = 0.5 / scale - 0.5;
    const cv::Matx33d unscale(1 / scale, 0, box.x + half, 0, 1 / scale, box.y + half, 0, 0, 1);
    Grid grid;
    grid.toPicture = unscale * h * shift;
    const cv::Point2d c = onPicture(grid, 10, 10);
    grid.pitch = (cv::norm(onPicture(grid, 11, 10) - c) + cv::norm(onPicture(grid, 10, 11) - c)) / 2;
    reason.clear();
    return grid;
}

} // namespace

cv::Point2d onPicture(const Grid& grid, double x, double y)
{
    return mapPoint(grid.toPicture, {x, y});
}

std::optional<Grid> locateGrid(const Ink& ink, std::string& reason)
{
    if (std::optional<Grid> grid = locateOn(ink, reason))
        return grid;
    // A small screenshot shrunk and saved as JPEG keeps its thin lines only as a grey a little
    // darker than the board around it, white or wooden: the ink is sought again that way, each
    // pixel against its surroundings, and the first reason stands if that finds nothing either.
    Ink local = ink;
    const int block = 2 * (std::min(ink.even.cols, ink.even.rows) / localInkBlocks / 2) + 1;
    cv::adaptiveThreshold(ink.even, local.dark, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          std::max(3, block), localInkContrast);
    // Gaps of a pixel closed, as in the first search.
    cv::dilate(local.dark, local.faint, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    std::string second;
    return locateOn(local, second);
}

} // namespace diagram
