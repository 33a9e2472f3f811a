#pragma once

// Numbers read from the digits cut out of the stones.

#include "diagram/glyphs.h"

#include <utility>
#include <vector>

namespace diagram {

struct NumberReading {
    int number = 0;        // 0 when nothing was read
    float confidence = 0;  // 0..1
    // Bit i set: the i-th digit from the left was read as 6 or 8 with a 0 weighed as well.
    unsigned zeroWeighed = 0;
};

// One reading for each stone's digits, in the same order.
// Stops early, with the rest unread, when `stop` is set.
std::vector<NumberReading> readNumbers(const std::vector<Glyphs>& glyphs, const StopFlag* stop = nullptr);

// A small bold 0 is often read as 6. A 6 encloses its hole in its lower part, a 0 about its
// middle, however blur shrinks it; where the shapes are one per digit, the hole decides, and
// where blur has closed the hole nothing does. A 6 or 8 left for which the network also
// weighed a 0 stays in doubt: its parity may fit by chance. Mends `number` with the holes of
// its glyphs; returns whether a doubt remains.
bool zerosByShape(int& number, const std::vector<std::pair<float, float>>& holes, unsigned zeroWeighed);

} // namespace diagram
