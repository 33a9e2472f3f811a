#include "diagram/straightening.h"

#include "board/go.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <vector>

namespace diagram {

namespace {

// Tuning, in pitches of the straightened board: the stones' outlines are round edges of these
// radii, at least this far apart, taken within a quarter pitch of their point; the correcting
// fit allows this much error.
constexpr double leastStoneGap = 0.7, leastStoneRadius = 0.36, mostStoneRadius = 0.54;
constexpr double stoneEdgeStrength = 150, stonePerfectness = 0.8;
constexpr double nearItsPoint = 0.25, correctionTolerance = 0.08;
constexpr std::size_t fewestCircles = 12;

// The lattice was fitted to stone centres found on a small copy of the picture; on the
// straightened board the stones' outlines are sharp enough to correct what that fit left,
// most of it near the edges and corners, where the fit extrapolates.
cv::Matx33d correction(const cv::Mat& even)
{
    std::vector<cv::Vec3f> circles;
    cv::HoughCircles(even, circles, cv::HOUGH_GRADIENT_ALT, 1.0, leastStoneGap * boardPitch, stoneEdgeStrength,
                     stonePerfectness, int(leastStoneRadius * boardPitch), int(mostStoneRadius * boardPitch));
    std::vector<cv::Point2d> points, centres;
    for (const cv::Vec3f& c : circles) {
        const double x = std::round(c[0] / boardPitch), y = std::round(c[1] / boardPitch);
        if (x < 1 || y < 1 || x > go::BoardSize || y > go::BoardSize || std::hypot(c[0] - x * boardPitch, c[1] - y * boardPitch) > nearItsPoint * boardPitch)
            continue;
        points.emplace_back(x * boardPitch, y * boardPitch);
        centres.emplace_back(c[0], c[1]);
    }
    if (points.size() < fewestCircles)
        return cv::Matx33d::eye();
    const cv::Mat h = cv::findHomography(points, centres, cv::RANSAC, correctionTolerance * boardPitch);
    return h.empty() ? cv::Matx33d::eye() : cv::Matx33d(h);
}

} // namespace

StraightBoard straighten(const Ink& ink, const Grid& grid)
{
    const cv::Matx33d fromBoard(1.0 / boardPitch, 0, 0, 0, 1.0 / boardPitch, 0, 0, 0, 1);
    StraightBoard b;
    const int side = 20 * boardPitch;
    cv::warpPerspective(ink.even, b.even, cv::Mat(grid.toPicture * fromBoard), cv::Size(side, side),
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 255);
    const cv::Matx33d corrected = grid.toPicture * fromBoard * correction(b.even);
    cv::warpPerspective(ink.even, b.even, cv::Mat(corrected), cv::Size(side, side),
                        cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, 255);
    // The board alone decides what is ink: a blurred picture's stones are grey, not black.
    const cv::Rect inner(boardPitch / 2, boardPitch / 2, side - boardPitch, side - boardPitch);
    cv::Mat innerDark;
    cv::threshold(b.even(inner), innerDark, 0, 255, cv::THRESH_BINARY_INV | cv::THRESH_OTSU);
    b.dark = cv::Mat::zeros(side, side, CV_8U);
    innerDark.copyTo(b.dark(inner));
    cv::Mat smooth;
    cv::GaussianBlur(b.even, smooth, cv::Size(5, 5), 0);
    cv::adaptiveThreshold(smooth, b.strokes, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          boardPitch / 2 + 1, 16);
    b.strokes |= b.dark;
    return b;
}

} // namespace diagram
