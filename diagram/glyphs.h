#pragma once

// The digits printed on one stone, cut out as dark shapes on white, ready for recognition.

#include "diagram/diagram.h"
#include "diagram/straightening.h"

namespace diagram {

struct Glyphs {
    cv::Mat picture; // empty when the stone carries no digits
    int pieces = 0;  // separate shapes found: usually one per digit
};

// Height the digits are scaled to for recognition.
constexpr int glyphHeight = 40;

Glyphs cutGlyphs(const StraightBoard& board, int x, int y, Stone stone);

} // namespace diagram
