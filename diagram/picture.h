#pragma once

// Turning bytes or pixels into one grey picture, refusing what is too large before decoding it.

#include "diagram/diagram.h"

#include <opencv2/core.hpp>

namespace diagram {

// The largest picture read: 12,000 x 12,000 pixels in all (a letter page at 1,200 dpi),
// 30,000 on a side.
constexpr long long maxPixels = 144'000'000LL;
constexpr int maxSide = 30'000;

struct Picture {
    Failure failure = Failure::None;
    std::string reason;
    cv::Mat grey; // CV_8UC1
};

Picture decodePicture(const std::vector<std::uint8_t>& bytes);
Picture pictureOfPixels(int width, int height, int stride, int channels, const std::uint8_t* data);

} // namespace diagram
