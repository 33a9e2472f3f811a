#pragma once

// The board cut out of the picture and drawn square, each line at a whole multiple of a fixed
// pitch, whatever the turn, perspective and resolution of the picture.

#include "diagram/grid.h"
#include "diagram/lighting.h"

namespace diagram {

// Pixels between lines on the straightened board: large enough for the digits of a
// three-digit number to keep their shapes.
constexpr int boardPitch = 64;

struct StraightBoard {
    cv::Mat even; // grey, (20 * boardPitch) square; point (x, y) at (x * boardPitch, y * boardPitch)
    cv::Mat dark; // 255 where there is ink
    // Ink, and thin strokes that are only a little darker than the paper around them: the
    // outline of a white stone in a blurred photo.
    cv::Mat strokes;
};

StraightBoard straighten(const Ink& ink, const Grid& grid);

} // namespace diagram
