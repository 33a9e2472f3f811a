#include "diagram/lighting.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace diagram {
namespace {

// Tuning. The paper's light is judged on a copy whose long side is this many pixels: shadows
// and tint change over hundreds of pixels, not a few.
constexpr double paperSide = 400.0;
// What counts as paper near a place is the brightest within the copy's long side over this:
// wider than a block of black stones.
constexpr double paperReachParts = 10.0;

} // namespace

Ink separateInk(const cv::Mat& grey)
{
    // The paper's brightness, estimated on a small copy: the brightest pixels around each place,
    // smoothed, so that ink does not count and the estimate follows shadows and tint.
    const int side = std::max(grey.cols, grey.rows);
    const double shrink = std::min(1.0, paperSide / side);
    cv::Mat small;
    // A thin picture's short side would shrink to nothing.
    if (std::min(grey.cols, grey.rows) * shrink >= 1.0)
        cv::resize(grey, small, cv::Size(), shrink, shrink, cv::INTER_AREA);
    else
        cv::resize(grey, small, cv::Size(std::max(1, int(grey.cols * shrink)), std::max(1, int(grey.rows * shrink))), 0, 0, cv::INTER_AREA);
    // Wide enough to see past a block of black stones; light changes more slowly than that.
    const int reach = std::max(3, int(std::lround(std::max(small.cols, small.rows) / paperReachParts)) | 1);
    cv::dilate(small, small, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(reach, reach)));
    cv::GaussianBlur(small, small, cv::Size(), reach / 2.0);
    cv::Mat paper;
    cv::resize(small, paper, grey.size(), 0, 0, cv::INTER_LINEAR);

    Ink ink;
    cv::divide(grey, paper, ink.even, 255.0, CV_8U);
    cv::Mat smooth;
    cv::GaussianBlur(ink.even, smooth, cv::Size(3, 3), 0);
    ink.level = int(cv::threshold(smooth, ink.dark, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU));
    cv::threshold(smooth, ink.faint, (ink.level + 255) / 2, 255, cv::THRESH_BINARY_INV);
    cv::morphologyEx(ink.faint, ink.faint, cv::MORPH_CLOSE, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    return ink;
}

} // namespace diagram
