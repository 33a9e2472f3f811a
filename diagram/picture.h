#pragma once

// Turning a file, bytes or pixels into one upright grey picture, refusing what cannot be read
// before a pixel of it is decoded.

#include "diagram/diagram.h"

#include <opencv2/core.hpp>

namespace diagram {

// The largest picture read: 64 million pixels (a letter page at 850 dpi, where stones are
// 130 pixels across), 30,000 on a side. Reading one takes about a gigabyte.
constexpr long long maxPixels = 64'000'000LL;
constexpr int maxSide = 30'000;
// Below this on its shorter side a picture cannot hold 19 lines with readable numbers: a
// board needs some 8 pixels a line for its lines alone.
constexpr int minSide = 120;
// A board is square; a page or a screen holding one is far from this thin.
constexpr double maxAspect = 20.0;
// An encoded picture within the pixel limit is far smaller than this.
constexpr long long maxFileBytes = 512LL * 1024 * 1024;

struct Picture {
    Failure failure = Failure::None;
    std::string reason;
    cv::Mat grey; // CV_8UC1, upright as its EXIF orientation says
    std::string format;
    int pages = 1;
};

Picture decodePicture(const std::vector<std::uint8_t>& bytes);
Picture loadPicture(const std::string& path);
Picture pictureOfPixels(int width, int height, int stride, int channels, const std::uint8_t* data);

// Any depth, any count of channels, as one 8-bit grey channel; what is transparent is paper.
cv::Mat greyOf(const cv::Mat& decoded);

// Writes grey, BGR or BGRA pixels of 8 bits as a PNG; false when they cannot be written.
bool writePng(const std::string& path, const cv::Mat& pixels);

} // namespace diagram
