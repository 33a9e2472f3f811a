#include "diagram/boardink.h"

#include <opencv2/imgproc.hpp>

#include <vector>

namespace diagram {
namespace {

// A board's ink spreads over its whole square; a dark table around a photographed page, or
// a frame, keeps to the edges of its box. The middle is the box less a fifth on each side.
constexpr double leastInkInMiddle = 0.12;

// A board's ink on the picture: at least this many pixels a side (19 lines need room), about
// square (coordinates on one side, perspective), and neither a speck nor a solid block.
constexpr int leastBoardSide = 150;
constexpr double mostBoardAspect = 1.6;
constexpr double leastBoardInk = 0.04, mostBoardInk = 0.85;

double shareInMiddle(const cv::Mat& labels, const cv::Rect& box, int label, int area)
{
    const cv::Rect middle(box.x + box.width / 5, box.y + box.height / 5, box.width * 3 / 5, box.height * 3 / 5);
    return double(cv::countNonZero(labels(middle) == label)) / std::max(1, area);
}

bool boardShaped(int w, int h, double inkShare)
{
    return w >= leastBoardSide && h >= leastBoardSide && w <= mostBoardAspect * h && h <= mostBoardAspect * w
           && inkShare >= leastBoardInk && inkShare <= mostBoardInk;
}

// The board is the largest piece of connected ink that is roughly square: lines, black stones
// on them and the outlines of white stones touch one another; captions, notes and
// coordinates stand apart.
int boardComponent(const cv::Mat& labels, const cv::Mat& stats, int count)
{
    int best = -1;
    double bestArea = 0;
    for (int i = 1; i < count; ++i) {
        const int w = stats.at<int>(i, cv::CC_STAT_WIDTH);
        const int h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
        const int area = stats.at<int>(i, cv::CC_STAT_AREA);
        if (!boardShaped(w, h, double(area) / (double(w) * h)))
            continue;
        const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP), w, h);
        if (shareInMiddle(labels, box, i, area) < leastInkInMiddle)
            continue;
        if (double(w) * h > bestArea) {
            bestArea = double(w) * h;
            best = i;
        }
    }
    return best;
}

} // namespace

std::optional<BoardInk> findBoardInk(const Ink& ink)
{
    cv::Mat labels, stats, centroids;
    int count = cv::connectedComponentsWithStats(ink.faint, labels, stats, centroids, 8, CV_32S);
    int board = boardComponent(labels, stats, count);
    // On a grey or coloured board the faint grey of the lines is the board's colour too, and
    // floods it: then the ink alone holds the board together, or, where white stones break
    // every line, all the ink is taken and the stones tell the lattice.
    if (board < 0) {
        count = cv::connectedComponentsWithStats(ink.dark, labels, stats, centroids, 8, CV_32S);
        board = boardComponent(labels, stats, count);
    }
    if (board >= 0) {
        const cv::Rect box(stats.at<int>(board, cv::CC_STAT_LEFT), stats.at<int>(board, cv::CC_STAT_TOP),
                           stats.at<int>(board, cv::CC_STAT_WIDTH), stats.at<int>(board, cv::CC_STAT_HEIGHT));
        return BoardInk{box, cv::Mat(labels(box) == board)};
    }
    std::vector<cv::Point> inked;
    cv::findNonZero(ink.dark, inked);
    if (inked.empty())
        return std::nullopt;
    const cv::Rect box = cv::boundingRect(inked);
    if (!boardShaped(box.width, box.height, double(cv::countNonZero(ink.dark(box))) / box.area()))
        return std::nullopt;
    return BoardInk{box, ink.dark(box)};
}

} // namespace diagram
