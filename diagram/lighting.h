#pragma once

// Paper made white and ink made black, whatever the tint of the paper and the fall of the light.

#include <opencv2/core.hpp>

namespace diagram {

struct Ink {
    cv::Mat even; // grey, paper near 255 everywhere
    cv::Mat dark; // 255 where there is ink
    // Ink and the faint grey of thin lines drawn smooth at a low resolution, gaps of a pixel
    // closed: what holds the board's lines together.
    cv::Mat faint;
    int level = 128; // the grey below which a pixel of `even` is ink
};

Ink separateInk(const cv::Mat& grey);

} // namespace diagram
