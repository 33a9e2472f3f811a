#pragma once

// Which points of the straightened board hold a black stone, a white stone or nothing.

#include "diagram/diagram.h"
#include "diagram/straightening.h"

#include <array>

namespace diagram {

struct StoneLook {
    Stone stone = Stone::Empty;
    float sureness = 1.0f; // 0..1, how far the measures lie from the borders between kinds
};

std::array<StoneLook, 361> classifyStones(const StraightBoard& board);

} // namespace diagram
