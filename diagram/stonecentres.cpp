#include "diagram/stonecentres.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace diagram {
namespace {

// Sizes are in line pitches (p) of the working copy.

// A stone alone on the working copy: a hole in the ink (white) or a disc once its digits
// are filled (black). Digits are far smaller; a square between lines is not round.
constexpr double mostDigitArea = 0.12;                     // p squared
constexpr double leastHoleArea = 0.25, mostHoleArea = 0.85; // p squared
constexpr double leastStoneSide = 0.55, mostHoleSide = 1.05;
constexpr double mostHoleSkew = 0.2;                       // width less height
constexpr double leastHoleFill = 0.62, mostHoleFill = 0.86; // of its box; a disc fills pi/4
constexpr double cornerInset = 0.07;                       // of the box, where a disc leaves paper
// Opening with a disc of this diameter leaves black stones and drops lines and digits.
constexpr double openingDisc = 0.6;
constexpr double leastDiscArea = 0.3, mostDiscArea = 0.95; // p squared
constexpr double mostDiscSide = 1.1;

// Round edges found by the gradient: centres at least this far apart, radii between these.
constexpr double leastCircleGap = 0.7;
constexpr double leastCircleRadius = 0.33, mostCircleRadius = 0.56;
constexpr double circleEdgeStrength = 150, circlePerfectness = 0.7;

// Centres closer than this share of the rough pitch are one stone found twice.
constexpr double sameStone = 0.35;

// A disc leaves the corners of its box empty; the square between four lines, even with a
// stone's arc cut out of it, does not.
bool roundish(const cv::Mat& labels, const cv::Rect& box, int label)
{
    const int ix = int(std::lround(cornerInset * box.width)), iy = int(std::lround(cornerInset * box.height));
    const cv::Point corners[] = {{box.x + ix, box.y + iy},
                                 {box.x + box.width - 1 - ix, box.y + iy},
                                 {box.x + ix, box.y + box.height - 1 - iy},
                                 {box.x + box.width - 1 - ix, box.y + box.height - 1 - iy}};
    for (const cv::Point& c : corners) {
        if (labels.at<int>(c) == label)
            return false;
    }
    return true;
}

} // namespace

Stones findStones(const cv::Mat& mask, double pitch)
{
    Stones found;
    found.covered = mask.clone();
    cv::Mat outside;
    cv::copyMakeBorder(mask, outside, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::Mat holes = 255 - outside;
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(holes, labels, stats, centroids, 4, CV_32S);
    const double p2 = pitch * pitch;
    const int outer = labels.at<int>(0, 0);
    for (int i = 1; i < count; ++i) {
        if (i == outer)
            continue;
        const int w = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        const double area = stats.at<int>(i, cv::CC_STAT_AREA);
        const double fill = area / (double(w) * h);
        const bool digit = area < mostDigitArea * p2;
        const bool round = area > leastHoleArea * p2 && area < mostHoleArea * p2 && w > leastStoneSide * pitch
                           && h > leastStoneSide * pitch && w < mostHoleSide * pitch && h < mostHoleSide * pitch
                           && std::abs(w - h) < mostHoleSkew * pitch && fill > leastHoleFill && fill < mostHoleFill;
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP), w, h);
        if (round && !roundish(labels, box, i))
            continue;
        if (!digit && !round)
            continue;
        cv::Mat inBox = labels(box) == i;
        found.covered(box - cv::Point(1, 1)).setTo(255, inBox);
        if (round)
            found.centres.emplace_back(centroids.at<double>(i, 0) - 1, centroids.at<double>(i, 1) - 1);
    }

    cv::Mat discs;
    const int d = std::max(3, int(std::lround(openingDisc * pitch)));
    cv::morphologyEx(found.covered, discs, cv::MORPH_OPEN, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(d, d)));
    const int blobs = cv::connectedComponentsWithStats(discs, labels, stats, centroids, 8, CV_32S);
    for (int i = 1; i < blobs; ++i) {
        const int w = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        const double area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (area > leastDiscArea * p2 && area < mostDiscArea * p2 && w > leastStoneSide * pitch
            && h > leastStoneSide * pitch && w < mostDiscSide * pitch && h < mostDiscSide * pitch)
            found.centres.emplace_back(centroids.at<double>(i, 0), centroids.at<double>(i, 1));
    }
    return found;
}

void findCircles(const cv::Mat& grey, double pitch, std::vector<cv::Point2d>& centres)
{
    std::vector<cv::Vec3f> circles;
    cv::Mat smooth;
    cv::GaussianBlur(grey, smooth, cv::Size(3, 3), 0);
    cv::HoughCircles(smooth, circles, cv::HOUGH_GRADIENT_ALT, 1.0, leastCircleGap * pitch, circleEdgeStrength,
                     circlePerfectness, int(leastCircleRadius * pitch), int(mostCircleRadius * pitch));
    for (const cv::Vec3f& c : circles)
        centres.emplace_back(c[0], c[1]);
}

std::vector<cv::Point2d> distinct(const std::vector<cv::Point2d>& centres, double pitch)
{
    std::vector<cv::Point2d> kept;
    for (const cv::Point2d& c : centres) {
        const bool seen = std::any_of(kept.begin(), kept.end(),
                                      [&](const cv::Point2d& k) { return cv::norm(k - c) < sameStone * pitch; });
        if (!seen)
            kept.push_back(c);
    }
    return kept;
}

} // namespace diagram
