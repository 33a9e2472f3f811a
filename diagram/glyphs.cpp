#include "diagram/glyphs.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace diagram {
namespace {

// Tuning, in pitches of the straightened board.

// Specks smaller than this share of a pitch squared are no part of a digit.
constexpr double minPieceArea = 0.004;
// The square cut about a point, and the circle inside a stone where its digits stand; a digit
// that touched a white stone's outline is looked for again inside the smaller circle.
constexpr double cellHalf = 0.48, insideStone = 0.45, clearOfOutline = 0.40;
// A digit stands upright near the middle: at least this tall, at most this tall and wide, its
// centre within this of the point. Arcs of an outline and specks fail one of these.
constexpr double leastDigitHeight = 0.12, mostDigitHeight = 0.7, mostDigitWidth = 0.75;
constexpr double mostDigitOffCentre = 0.32;

std::pair<float, float> largestHole(const cv::Mat& piece)
{
    cv::Mat padded;
    cv::copyMakeBorder(piece, padded, 1, 1, 1, 1, cv::BORDER_CONSTANT, 0);
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(255 - padded, labels, stats, centroids, 4, CV_32S);
    const int outside = labels.at<int>(0, 0);
    int best = -1;
    for (int i = 1; i < count; ++i) {
        if (i != outside && (best < 0 || stats.at<int>(i, cv::CC_STAT_AREA) > stats.at<int>(best, cv::CC_STAT_AREA)))
            best = i;
    }
    if (best < 0)
        return {0.0f, 0.0f};
    const float h = float(piece.rows);
    const int top = stats.at<int>(best, cv::CC_STAT_TOP) - 1;
    return {top / h, (top + stats.at<int>(best, cv::CC_STAT_HEIGHT)) / h};
}

// Digits stand this many grey levels off the stone's face at least; a face without digits
// differs from itself by its grain and a glint alone. A white stone's face, glossy or shaded,
// differs from itself less than a black one's glint, and its grey digits on glass stand off
// it by little more.
constexpr double leastDigitContrast = 60, leastContrastOnWhite = 35;

// The digits told from the stone's own face, lighter than it (a black stone's, or a white
// stone's turned over). The board's one cut between ink and paper can take the grey digits of
// a scanned or blurred black stone for ink, and miss a white stone's thin grey ones.
cv::Mat lightOnFace(const cv::Mat& grey, const cv::Mat& inside, double leastContrast = leastDigitContrast)
{
    std::vector<std::uint8_t> values;
    for (int r = 0; r < grey.rows; ++r) {
        for (int c = 0; c < grey.cols; ++c) {
            if (inside.at<std::uint8_t>(r, c))
                values.push_back(grey.at<std::uint8_t>(r, c));
        }
    }
    cv::Mat digits = cv::Mat::zeros(grey.size(), CV_8U);
    if (values.empty())
        return digits;
    cv::Mat row(1, int(values.size()), CV_8U, values.data()), split;
    const double cut = cv::threshold(row, split, 0, 255, cv::THRESH_BINARY | cv::THRESH_OTSU);
    const cv::Scalar light = cv::mean(row, split), face = cv::mean(row, 255 - split);
    if (light[0] - face[0] < leastContrast)
        return digits;
    cv::threshold(grey, digits, cut, 255, cv::THRESH_BINARY);
    return digits & inside;
}

// A cell's disc about the point, `reach` pitches across from its centre.
cv::Mat discOf(cv::Size size, int half, double reach)
{
    cv::Mat disc = cv::Mat::zeros(size, CV_8U);
    cv::circle(disc, {half, half}, int(reach * boardPitch), 255, cv::FILLED);
    return disc;
}

// The digits cut from the stone's own grey within `region`, light on its face either way.
cv::Mat digitsOnOwnFace(const cv::Mat& grey, Stone stone, const cv::Mat& region)
{
    return stone == Stone::Black ? lightOnFace(grey, region) : lightOnFace(255 - grey, region, leastContrastOnWhite);
}

// A sign is one solid outline (its own hull, hole and all), about as wide as tall: a triangle
// has three corners, a square four and fills its box, a circle keeps one radius all round.
// A lone 0 is narrower, touching digits leave notches in their outline.
constexpr double leastSignSolidity = 0.9, leastSignAspect = 0.8, mostSignAspect = 1.6;
constexpr double cornerTolerance = 0.05;
constexpr double leastSquareFill = 0.88, mostSquareAspect = 1.25;
constexpr double mostCircleAspect = 1.18, mostRadiusSpread = 1.12;

char signOf(const cv::Mat& piece)
{
    std::vector<std::vector<cv::Point>> contours;
    cv::findContours(piece.clone(), contours, cv::RETR_EXTERNAL, cv::CHAIN_APPROX_NONE);
    if (contours.size() != 1 || contours[0].size() < 8)
        return 0;
    const std::vector<cv::Point>& outline = contours[0];
    std::vector<cv::Point> hull, corners;
    cv::convexHull(outline, hull);
    const double area = cv::contourArea(outline), hullArea = cv::contourArea(hull);
    const cv::Rect box = cv::boundingRect(outline);
    const double aspect = double(box.width) / box.height;
    if (hullArea <= 0 || area / hullArea < leastSignSolidity || aspect < leastSignAspect || aspect > mostSignAspect)
        return 0;
    cv::approxPolyDP(hull, corners, cornerTolerance * cv::arcLength(hull, true), true);
    if (corners.size() == 3)
        return triangleMark;
    if (corners.size() == 4 && area / box.area() >= leastSquareFill && aspect <= mostSquareAspect)
        return squareMark;
    if (aspect > mostCircleAspect)
        return 0;
    const cv::Moments m = cv::moments(outline);
    const cv::Point2d centre(m.m10 / m.m00, m.m01 / m.m00);
    double nearest = 1e9, farthest = 0;
    for (const cv::Point& p : outline) {
        const double r = std::hypot(p.x - centre.x, p.y - centre.y);
        nearest = std::min(nearest, r);
        farthest = std::max(farthest, r);
    }
    return nearest > 0 && farthest / nearest <= mostRadiusSpread ? circleMark : 0;
}

// Digits stand upright near the middle; arcs of an outline and specks do not.
bool standsLikeADigit(const cv::Mat& stats, const cv::Mat& centroids, int i, int half)
{
    const int h = stats.at<int>(i, cv::CC_STAT_HEIGHT);
    const int w = stats.at<int>(i, cv::CC_STAT_WIDTH);
    const double dx = centroids.at<double>(i, 0) - half, dy = centroids.at<double>(i, 1) - half;
    return h >= leastDigitHeight * boardPitch && h <= mostDigitHeight * boardPitch && w <= mostDigitWidth * boardPitch
           && std::hypot(dx, dy) <= mostDigitOffCentre * boardPitch;
}

// Shapes one above the other (a serif 5's flag cut from its bowl) make one column; the spans
// (left, width) come sorted by their left edge.
int columnsOf(const std::vector<std::pair<int, int>>& spans)
{
    int columns = 0, columnEnd = -1, columnWidth = 0;
    for (const auto& [left, width] : spans) {
        const int overlap = columnEnd - left;
        if (columns > 0 && 2 * overlap >= std::min(width, columnWidth)) {
            columnWidth = std::max(columnEnd, left + width) - (columnEnd - columnWidth);
            columnEnd = std::max(columnEnd, left + width);
            continue;
        }
        ++columns;
        columnEnd = left + width;
        columnWidth = width;
    }
    return columns;
}

// The columns of the digits cut from the stone's own grey, clear of its outline. The board's
// one cut between ink and paper breaks the hairlines of a small serif 9 into two shapes side by
// side; a cut of the stone's own grey keeps them whole, and still parts digits that stand apart.
int columnsInOwnGrey(const cv::Mat& grey, Stone stone, int half)
{
    const cv::Mat digits = digitsOnOwnFace(grey, stone, discOf(grey.size(), half, clearOfOutline));
    cv::Mat labels, stats, centroids;
    const int count = cv::connectedComponentsWithStats(digits, labels, stats, centroids, 8, CV_32S);
    std::vector<std::pair<int, int>> spans;
    for (int i = 1; i < count; ++i) {
        if (stats.at<int>(i, cv::CC_STAT_AREA) >= minPieceArea * boardPitch * boardPitch
            && standsLikeADigit(stats, centroids, i, half))
            spans.push_back({stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_WIDTH)});
    }
    std::sort(spans.begin(), spans.end());
    return columnsOf(spans);
}

} // namespace

Glyphs cutGlyphs(const StraightBoard& board, int x, int y, Stone stone)
{
    const int half = int(cellHalf * boardPitch);
    const cv::Rect cell(x * boardPitch - half, y * boardPitch - half, 2 * half + 1, 2 * half + 1);
    cv::Mat ink = board.dark(cell).clone();
    if (stone == Stone::Black)
        ink = 255 - ink;
    // Inside the stone only: a white stone's outline and a black stone's surroundings go.
    const cv::Mat inside = discOf(ink.size(), half, insideStone);
    ink &= inside;

    // A digit near the rim may touch a white stone's outline and be lost with it: what is
    // left over is looked at again inside a smaller circle, without the outline.
    cv::Mat kept = cv::Mat::zeros(ink.size(), CV_8U);
    cv::Mat rest = cv::Mat::zeros(ink.size(), CV_8U);
    Glyphs g;
    std::vector<std::pair<std::pair<int, int>, std::pair<float, float>>> pieceBoxes;
    cv::Rect span;
    auto collect = [&](const cv::Mat& from, cv::Mat* rejected) {
        cv::Mat labels, stats, centroids;
        const int count = cv::connectedComponentsWithStats(from, labels, stats, centroids, 8, CV_32S);
        for (int i = 1; i < count; ++i) {
            if (stats.at<int>(i, cv::CC_STAT_AREA) < minPieceArea * boardPitch * boardPitch)
                continue;
            if (!standsLikeADigit(stats, centroids, i, half)) {
                if (rejected)
                    rejected->setTo(255, labels == i);
                continue;
            }
            const cv::Rect box(stats.at<int>(i, cv::CC_STAT_LEFT), stats.at<int>(i, cv::CC_STAT_TOP),
                               stats.at<int>(i, cv::CC_STAT_WIDTH), stats.at<int>(i, cv::CC_STAT_HEIGHT));
            kept.setTo(255, labels == i);
            pieceBoxes.push_back({{box.x, box.width}, largestHole(labels(box) == i)});
            span = g.pieces == 0 ? box : (span | box);
            ++g.pieces;
        }
    };
    const auto collectAll = [&](const cv::Mat& from) {
        collect(from, &rest);
        rest &= discOf(from.size(), half, clearOfOutline);
        collect(rest, nullptr);
    };
    collectAll(ink);
    if (g.pieces == 0) {
        // A white stone's clear of its outline, whose grey would be taken for digits.
        rest.setTo(0);
        collectAll(digitsOnOwnFace(board.even(cell), stone,
                                   stone == Stone::Black ? inside : discOf(ink.size(), half, clearOfOutline)));
    }
    if (g.pieces == 0)
        return g;
    std::sort(pieceBoxes.begin(), pieceBoxes.end());
    g.span = span + cell.tl();
    if (g.pieces == 1)
        g.mark = signOf(kept(span));
    for (const auto& piece : pieceBoxes)
        g.holes.push_back(piece.second);
    std::vector<std::pair<int, int>> spans;
    for (const auto& piece : pieceBoxes)
        spans.push_back(piece.first);
    g.columns = columnsOf(spans);
    if (g.columns > 1)
        g.columns = std::min(g.columns, std::max(1, columnsInOwnGrey(board.even(cell), stone, half)));
    // The grey of the digits goes to recognition, not a black-and-white cut: the counter of a
    // small bold 0 survives as a lighter grey where a threshold would fill it.
    cv::Mat grey = board.even(cell).clone();
    if (stone == Stone::Black)
        grey = 255 - grey;
    cv::Mat near;
    cv::dilate(kept, near, cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(5, 5)));
    grey.setTo(255, near == 0);
    const cv::Rect around = (span + cv::Size(4, 4) - cv::Point(2, 2)) & cv::Rect(0, 0, grey.cols, grey.rows);
    cv::Mat shapes;
    const double scale = double(glyphHeight) / span.height;
    cv::resize(grey(around), shapes,
               cv::Size(std::max(1, int(std::lround(around.width * scale))), int(std::lround(around.height * scale))), 0,
               0, cv::INTER_CUBIC);
    cv::copyMakeBorder(shapes, g.picture, 10, 10, 10, 10, cv::BORDER_CONSTANT, 255);
    cv::Mat cut;
    cv::resize(255 - kept(around), cut, shapes.size(), 0, 0, cv::INTER_AREA);
    cv::threshold(cut, cut, 128, 255, cv::THRESH_BINARY);
    cv::copyMakeBorder(cut, g.sharp, 10, 10, 10, 10, cv::BORDER_CONSTANT, 255);
    for (const auto& piece : pieceBoxes) {
        const cv::Rect column = cv::Rect(piece.first.first - 2, around.y, piece.first.second + 4, around.height)
                                & cv::Rect(0, 0, grey.cols, grey.rows);
        cv::Mat one;
        cv::resize(grey(column), one,
                   cv::Size(std::max(1, int(std::lround(column.width * scale))), int(std::lround(column.height * scale))),
                   0, 0, cv::INTER_CUBIC);
        cv::copyMakeBorder(one, one, 10, 10, 10, 10, cv::BORDER_CONSTANT, 255);
        g.digits.push_back(one);
    }
    return g;
}

} // namespace diagram
