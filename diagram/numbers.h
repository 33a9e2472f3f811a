#pragma once

// Numbers read from the digits cut out of the stones.

#include "diagram/glyphs.h"

#include <vector>

namespace diagram {

struct NumberReading {
    int number = 0;        // 0 when nothing was read
    float confidence = 0;  // 0..1
    // Bit i set: the i-th digit from the left was read as 6 or 8 with a 0 weighed as well.
    unsigned zeroWeighed = 0;
};

// One reading for each stone's digits, in the same order.
std::vector<NumberReading> readNumbers(const std::vector<Glyphs>& glyphs);

} // namespace diagram
