#pragma once

// Which way up a picture is, told from its numbers: a page scanned sideways, a photo turned
// upside down, a picture mirrored. The lattice of a board looks the same every way; only the
// digits do not.

#include "diagram/diagram.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <array>
#include <optional>

namespace diagram {

// Mirrored left to right first, then turned clockwise by quarter turns.
struct Orientation {
    int quarterTurns = 0;
    bool mirrored = false;
    bool upright() const { return quarterTurns == 0 && !mirrored; }
};

// The picture so turned.
cv::Mat turned(const cv::Mat& picture, Orientation o);

// The way to turn the straightened board (and so the picture) for its numbers to read best:
// upright unless another way reads clearly better; nothing when two other ways read about as
// well, and the numbers cannot tell which.
std::optional<Orientation> bestOrientation(const StraightBoard& board, const std::array<StoneLook, go::Points>& looks,
                                           const StopFlag* stop);

} // namespace diagram
