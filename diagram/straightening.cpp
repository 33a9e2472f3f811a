#include "diagram/straightening.h"

#include <opencv2/imgproc.hpp>

namespace diagram {

StraightBoard straighten(const Ink& ink, const Grid& grid)
{
    const cv::Matx33d fromBoard(1.0 / boardPitch, 0, 0, 0, 1.0 / boardPitch, 0, 0, 0, 1);
    StraightBoard b;
    const int side = 20 * boardPitch;
    cv::warpPerspective(ink.even, b.even, cv::Mat(grid.toPicture * fromBoard), cv::Size(side, side),
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
