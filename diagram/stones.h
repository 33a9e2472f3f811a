#pragma once

// Which points of a straightened sheet hold a black stone, a white stone or nothing: one test
// for the board's points and for the stone icons of the notes alike.

#include "diagram/diagram.h"
#include "diagram/straightening.h"

#include <array>
#include <vector>

namespace diagram {

struct StoneLook {
    Stone stone = Stone::Empty;
    float sureness = 1.0f; // 0..1, how far the measures lie from the borders between kinds
};

// Where a stone's parts lie, in pitches from its centre, and how much of them must show.
struct StoneShape {
    double bandFrom, bandTo; // inside a stone, clear of most digits: ink here is a black stone
    double rimFrom, rimTo;   // where a white stone's outline or edge runs
    double closedShare;      // of the rim's directions that must show an outline or an edge
    int missBy;              // pixels by which the centre may be missed
};

// A board's stones, the lines and the neighbours' outlines close by.
constexpr StoneShape boardStone{0.28, 0.40, 0.34, 0.54, 0.75, 4};
// An icon of the notes stands alone and is drawn a little larger than the board's pitch; it was
// centred on its outline already.
constexpr StoneShape noteStone{0.28, 0.40, 0.36, 0.60, 0.90, 0};

// Ink over this share of the band makes a black stone.
constexpr double blackFill = 0.6;
// A white stone on a coloured board may have no outline at all: its edge is a step of at
// least this many grey levels, brighter inside, on the evened sheet.
constexpr int whiteEdgeStep = 8;

// The stones at `centres`, pixels of the sheet.
std::vector<StoneLook> lookAt(const StraightBoard& sheet, const std::vector<cv::Point>& centres, const StoneShape& shape);

// The 361 points of a straightened board, from the top left, row by row.
std::array<StoneLook, go::Points> classifyStones(const StraightBoard& board);

} // namespace diagram
