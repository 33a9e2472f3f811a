#pragma once

// Candidate centres of the stones on the working copy of a board, where a line pitch is about
// 24 pixels: holes and discs in the ink, and round edges in the grey.

#include <opencv2/core.hpp>

#include <vector>

namespace diagram {

struct Stones {
    std::vector<cv::Point2d> centres; // working copy's pixels
    cv::Mat covered;                  // the board's ink with every stone filled in
};

// Centres of the stones that stand alone: black ones as solid discs once their digits are
// filled, white ones as round holes in the ink.
Stones findStones(const cv::Mat& mask, double pitch);

// Centres of stones of either colour by their round edges, where digits that touch a white
// stone's outline or black stones that touch one another hide them from the test above.
void findCircles(const cv::Mat& grey, double pitch, std::vector<cv::Point2d>& centres);

// The centres less those found twice.
std::vector<cv::Point2d> distinct(const std::vector<cv::Point2d>& centres, double pitch);

} // namespace diagram
