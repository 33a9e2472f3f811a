#pragma once

// Turning bytes or pixels into one grey picture, refusing what is too large before decoding it.

#include "diagram/diagram.h"

#include <opencv2/core.hpp>

namespace diagram {

// The largest picture read: 64 million pixels (a letter page at 850 dpi, where stones are
// 130 pixels across), 30,000 on a side. Reading one takes about a gigabyte.
constexpr long long maxPixels = 64'000'000LL;
constexpr int maxSide = 30'000;

struct Picture {
    Failure failure = Failure::None;
    std::string reason;
    cv::Mat grey; // CV_8UC1
};

Picture decodePicture(const std::vector<std::uint8_t>& bytes);
Picture pictureOfPixels(int width, int height, int stride, int channels, const std::uint8_t* data);

} // namespace diagram
