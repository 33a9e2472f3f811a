#pragma once

// Where the board's ink lies on the picture: the largest piece of connected ink that is about
// square, or all the ink where the board is grey or coloured.

#include "diagram/lighting.h"

#include <opencv2/core.hpp>

#include <optional>

namespace diagram {

struct BoardInk {
    cv::Rect box; // on the picture
    cv::Mat ink;  // the board's ink within the box
};

std::optional<BoardInk> findBoardInk(const Ink& ink);

} // namespace diagram
