#include "diagram/network.h"

#include <opencv2/dnn.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace diagram {

// The models' bytes, linked in from the committed ONNX files so that nothing is read at run time.
extern const unsigned char digitsModel[];
extern const std::size_t digitsModelSize;
extern const unsigned char pointsModel[];
extern const std::size_t pointsModelSize;

namespace {

// The outputs: four probabilities of the count of digits (0 to 3), then ten for each digit
// from the left.
constexpr int outputs = 4 + 10 * mostDigits;

// A network object is not safe to run from two threads at once; each thread keeps its own,
// and loading one from memory costs a few milliseconds.
template <const unsigned char* bytes, const std::size_t* size>
cv::dnn::Net* network()
{
    thread_local std::unique_ptr<cv::dnn::Net> net;
    thread_local bool failed = false;
    if (net || failed)
        return net.get();
    try {
        auto made = std::make_unique<cv::dnn::Net>(cv::dnn::readNetFromONNX(reinterpret_cast<const char*>(bytes), *size));
        made->setPreferableBackend(cv::dnn::DNN_BACKEND_OPENCV);
        made->setPreferableTarget(cv::dnn::DNN_TARGET_CPU);
        net = std::move(made);
    } catch (const cv::Exception&) {
        failed = true;
    }
    return net.get();
}

// One pass for the whole sheet: a network's cost is mostly per call, not per cell. Empty where
// the network could not be loaded or answered otherwise than with `width` values a cell.
cv::Mat weigh(cv::dnn::Net* net, const std::vector<cv::Mat>& cells, int width)
{
    if (!net || cells.empty())
        return {};
    const cv::Mat batch = cv::dnn::blobFromImages(cells, 1.0, cv::Size(cellSide, cellSide), cv::Scalar(), false, false, CV_32F);
    net->setInput(batch);
    cv::Mat out = net->forward();
    if (out.dims != 2 || out.rows != int(cells.size()) || out.cols != width)
        return {};
    return out;
}

CellReading decode(const float* p)
{
    CellReading r;
    r.weighed = true;
    std::copy(p, p + 4, r.lengthOdds.begin());
    for (int k = 0; k < mostDigits; ++k)
        std::copy(p + 4 + 10 * k, p + 14 + 10 * k, r.digitOdds[std::size_t(k)].begin());
    r.length = int(std::max_element(p, p + 4) - p);
    r.confidence = p[r.length];
    for (int k = 0; k < r.length; ++k) {
        const float* digit = p + 4 + 10 * k;
        // No number starts with 0.
        const int best = int(std::max_element(digit + (k == 0 ? 1 : 0), digit + 10) - digit);
        r.number = r.number * 10 + best;
        r.confidence *= digit[best];
    }
    return r;
}

} // namespace

float CellReading::oddsOf(int n) const
{
    if (!weighed)
        return 1.0f;
    if (n < 0 || n >= 1000)
        return 0.0f;
    const std::string digits = n == 0 ? std::string() : std::to_string(n);
    float odds = lengthOdds[digits.size()];
    for (std::size_t k = 0; k < digits.size(); ++k)
        odds *= digitOdds[k][std::size_t(digits[k] - '0')];
    return odds;
}

cv::Mat stoneCell(const StraightBoard& sheet, int x, int y, Stone stone)
{
    return stoneCell(sheet, cv::Point(x * boardPitch, y * boardPitch), cellReach, stone);
}

cv::Mat stoneCell(const StraightBoard& sheet, cv::Point centre, int reach, Stone stone)
{
    const int half = reach / 2;
    const cv::Rect square(centre.x - half, centre.y - half, reach, reach);
    const cv::Rect inside = square & cv::Rect(0, 0, sheet.even.cols, sheet.even.rows);
    cv::Mat grey(square.size(), CV_8U, cv::Scalar(255));
    if (!inside.empty())
        sheet.even(inside).copyTo(grey(inside - square.tl()));
    if (stone == Stone::Black)
        grey = 255 - grey;
    cv::Mat cell;
    cv::resize(grey, cell, cv::Size(cellSide, cellSide), 0, 0, cv::INTER_AREA);
    return cell;
}

std::vector<cv::Mat> pointCells(const StraightBoard& sheet)
{
    std::vector<cv::Mat> cells;
    cells.reserve(go::Points);
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x)
            cells.push_back(stoneCell(sheet, x, y, Stone::White));
    }
    return cells;
}

std::vector<CellReading> readCells(const std::vector<cv::Mat>& cells)
{
    std::vector<CellReading> readings;
    const cv::Mat out = weigh(network<digitsModel, &digitsModelSize>(), cells, outputs);
    readings.reserve(std::size_t(out.rows));
    for (int i = 0; i < out.rows; ++i)
        readings.push_back(decode(out.ptr<float>(i)));
    return readings;
}

std::vector<PointOdds> weighPoints(const std::vector<cv::Mat>& cells)
{
    std::vector<PointOdds> odds;
    const cv::Mat out = weigh(network<pointsModel, &pointsModelSize>(), cells, 3);
    odds.reserve(std::size_t(out.rows));
    for (int i = 0; i < out.rows; ++i)
        odds.push_back({out.at<float>(i, 0), out.at<float>(i, 1), out.at<float>(i, 2)});
    return odds;
}

} // namespace diagram
