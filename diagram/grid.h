#pragma once

// Where the 19 x 19 lines of the board lie in the picture, wherever the board is on the page,
// turned a little or seen in perspective.

#include "diagram/lattice.h"
#include "diagram/lighting.h"

#include <opencv2/core.hpp>

#include <optional>
#include <string>

namespace diagram {

struct Grid {
    // From board coordinates (x, y), 1..19 each, the column from the left and the row from the
    // top, to picture pixels.
    cv::Matx33d toPicture;
    double pitch = 0; // pixels from one line to the next, near the centre
};

std::optional<Grid> locateGrid(const Ink& ink, std::string& reason);

cv::Point2d onPicture(const Grid& grid, double x, double y);

} // namespace diagram
