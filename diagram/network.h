#pragma once

// The trained network that reads the number printed on a stone, all stones of a sheet at once.

#include "diagram/diagram.h"
#include "diagram/straightening.h"

#include <opencv2/core.hpp>

#include <array>
#include <vector>

namespace diagram {

// The network's input: a square of the straightened sheet about a point, shrunk to this side.
constexpr int cellSide = 32;
// Straightened pixels about the point that the cell covers: the stone with a little room for
// a lattice a few pixels off, and no more of the neighbours than that.
constexpr int cellReach = 56;

// The stone at (x, y) as the network sees it, digits always dark: a black stone is inverted.
cv::Mat stoneCell(const StraightBoard& sheet, int x, int y, Stone stone);
// The same for a square of `reach` straightened pixels about `centre`: digits printed small,
// cut closer, stand in the cell as large as the network learned them.
cv::Mat stoneCell(const StraightBoard& sheet, cv::Point centre, int reach, Stone stone);

// Every point of the board from the top left, row by row, as the point network sees it: as
// printed, never inverted.
std::vector<cv::Mat> pointCells(const StraightBoard& sheet);

constexpr int mostDigits = 3;

struct CellReading {
    int number = 0;        // 0 when the stone shows no number
    float confidence = 0;  // 0..1, the network's own probability of that reading
    int length = 0;        // digits the network counted
    // What the network weighed: the count of digits (0 to 3), and each digit from the left.
    std::array<float, mostDigits + 1> lengthOdds{};
    std::array<std::array<float, 10>, mostDigits> digitOdds{};
    bool weighed = false;

    // The network's own probability that the stone shows `number` (0: none); 1 where it
    // weighed nothing, so that a missing reading rules nothing out.
    float oddsOf(int number) const;
};

// One reading for each cell, in the same order; empty when the network could not be loaded.
std::vector<CellReading> readCells(const std::vector<cv::Mat>& cells);

// What the point network makes of a point: the odds of nothing, a black and a white stone.
struct PointOdds {
    float empty = 0, black = 0, white = 0;
};

// The odds for each of `pointCells`, in the same order; empty when the network could not be
// loaded.
std::vector<PointOdds> weighPoints(const std::vector<cv::Mat>& cells);

} // namespace diagram
