#pragma once

// Numbers read from the digits cut out of the stones.

#include <opencv2/core.hpp>

#include <vector>

namespace diagram {

struct NumberReading {
    int number = 0;        // 0 when nothing was read
    float confidence = 0;  // 0..1
};

// One reading for each picture of digits (dark on white), in the same order; `pieces` is the
// number of separate shapes in each, one a digit where they do not touch.
// `sharp` holds the same digits cut black on white, read when the first reading's length
// disagrees with the shapes.
std::vector<NumberReading> readNumbers(const std::vector<cv::Mat>& pictures, const std::vector<cv::Mat>& sharp,
                                       const std::vector<int>& pieces);

} // namespace diagram
