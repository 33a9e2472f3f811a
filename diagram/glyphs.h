#pragma once

// The digits printed on one stone, cut out as dark shapes on white, ready for recognition.

#include "diagram/diagram.h"
#include "diagram/straightening.h"

#include <utility>
#include <vector>

namespace diagram {

struct Glyphs {
    cv::Mat picture; // empty when the stone carries no digits
    cv::Mat sharp;   // the same digits cut black on white, for a second reading
    std::vector<cv::Mat> digits; // each piece alone, from left to right, for a third
    int pieces = 0;  // separate shapes found: usually one per digit
    // Shapes side by side, those one above the other counted once: a digit a small print broke
    // in two (a serif 5's flag apart from its bowl) is still one column.
    int columns = 0;
    // For each piece from left to right, the top and bottom of its largest enclosed hole as
    // shares of its height; both 0 when it encloses none.
    std::vector<std::pair<float, float>> holes;
    // A sign printed instead of a number, told by its outline: '^' a triangle, '#' a square,
    // '*' a circle; 0 for none. A number's digits never have these outlines.
    char mark = 0;
    // Where the digits stand on the straightened sheet.
    cv::Rect span;
};

// Height the digits are scaled to for recognition.
constexpr int glyphHeight = 40;

Glyphs cutGlyphs(const StraightBoard& board, int x, int y, Stone stone);

} // namespace diagram
