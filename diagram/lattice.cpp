#include "diagram/lattice.h"

#include "board/go.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <complex>

namespace diagram {
namespace {

// Sizes are in line pitches (p) of the working copy unless they say otherwise.

// The ink's outline is taken as four corners where its hull simplifies to four within this
// share of its length.
constexpr double outlineTolerance = 0.02;

// The ink's outline spans 18 pitches plus what edge stones stick out, up to about one more.
constexpr double fewestOutlineLines = go::BoardSize - 1.5, mostOutlineLines = go::BoardSize + 0.6;
constexpr double lineCountStep = 0.02;
// In the stones' own frame the unit is 19 pitches, give or take the error of their spacing.
constexpr double fewestFrameLines = 18.0, mostFrameLines = 20.0;

// Steps between stones within this share of the typical nearest distance are one pitch.
constexpr double pitchSpread = 0.2;
constexpr std::size_t fewestStonesForSpacing = 12;

// A centre within this share of a pitch of a lattice point stands on it; each refit takes
// centres within a quarter of their point.
constexpr double onPointShare = 0.2;
constexpr double snapShare = 0.25;
constexpr int refits = 8;

// The edge lines: ink sampled this many times a pitch along a line; a run of 19 lines must
// carry ink over this share of their length in all, and lines just outside count against it.
constexpr double samplesPerPitch = 5;
constexpr double leastLineInk = 0.6;
constexpr double outsidePenalty = 2;

} // namespace

cv::Point2d mapPoint(const cv::Matx33d& h, cv::Point2d p)
{
    const cv::Vec3d q = h * cv::Vec3d(p.x, p.y, 1.0);
    return {q[0] / q[2], q[1] / q[2]};
}

std::vector<cv::Point2f> outline(const cv::Mat& mask)
{
    std::vector<cv::Point> points, hull;
    cv::findNonZero(mask, points);
    cv::convexHull(points, hull);
    std::vector<cv::Point> quad;
    cv::approxPolyDP(hull, quad, outlineTolerance * cv::arcLength(hull, true), true);
    std::vector<cv::Point2f> corners;
    if (quad.size() == 4) {
        for (const cv::Point& p : quad)
            corners.emplace_back(p);
    } else {
        cv::Point2f box[4];
        cv::minAreaRect(points).points(box);
        corners.assign(box, box + 4);
    }
    // Top left has the smallest x + y, bottom right the largest; top right the largest x - y.
    std::vector<cv::Point2f> ordered(4);
    auto byKey = [&](auto key) {
        return *std::max_element(corners.begin(), corners.end(),
                                 [&](const cv::Point2f& a, const cv::Point2f& b) { return key(a) < key(b); });
    };
    ordered[0] = byKey([](const cv::Point2f& p) { return -(p.x + p.y); });
    ordered[1] = byKey([](const cv::Point2f& p) { return p.x - p.y; });
    ordered[2] = byKey([](const cv::Point2f& p) { return p.x + p.y; });
    ordered[3] = byKey([](const cv::Point2f& p) { return p.y - p.x; });
    return ordered;
}

namespace {

// The outline spans 18 pitches plus whatever stones on the edge stick out, up to one more.
Period periodBetween(const std::vector<double>& values, double fewestLines, double mostLines)
{
    Period best;
    double bestStrength = -1;
    for (double lines = fewestLines; lines <= mostLines; lines += lineCountStep) {
        const double pitch = 1.0 / lines;
        std::complex<double> sum;
        for (double v : values)
            sum += std::polar(1.0, 2 * M_PI * v / pitch);
        if (std::abs(sum) > bestStrength) {
            bestStrength = std::abs(sum);
            best.pitch = pitch;
            best.offset = std::arg(sum) / (2 * M_PI) * pitch;
        }
    }
    return best;
}

} // namespace

std::optional<Neighbours> neighbours(const std::vector<cv::Point2d>& stones)
{
    if (stones.size() < fewestStonesForSpacing)
        return std::nullopt;
    std::vector<double> nearest;
    for (const cv::Point2d& a : stones) {
        double best = 1e18;
        for (const cv::Point2d& b : stones) {
            if (&a != &b)
                best = std::min(best, cv::norm(a - b));
        }
        nearest.push_back(best);
    }
    std::nth_element(nearest.begin(), nearest.begin() + long(nearest.size() / 2), nearest.end());
    const double typical = nearest[nearest.size() / 2];
    // Every step of about that length, along or across the lines, votes for their direction;
    // four times the angle makes the four directions of a lattice one.
    std::complex<double> turn;
    double length = 0;
    int steps = 0;
    for (const cv::Point2d& a : stones) {
        for (const cv::Point2d& b : stones) {
            const cv::Point2d d = b - a;
            const double n = cv::norm(d);
            if (&a == &b || n < (1 - pitchSpread) * typical || n > (1 + pitchSpread) * typical)
                continue;
            turn += std::polar(1.0, 4 * std::atan2(d.y, d.x));
            length += n;
            ++steps;
        }
    }
    if (steps < int(fewestStonesForSpacing))
        return std::nullopt;
    const double near = double(std::count_if(nearest.begin(), nearest.end(), [&](double d) {
                            return d >= (1 - pitchSpread) * typical && d <= (1 + pitchSpread) * typical;
                        })) / nearest.size();
    return Neighbours{length / steps, std::arg(turn) / 4, near};
}

// Steps of at most this many points each way, each within this share of a step of a point,
// carry an index from one stone to the next.
constexpr int longestStep = 2;
constexpr double stepTolerance = 0.25;

Indexed indicesByGrowth(const std::vector<cv::Point2d>& stones, const Neighbours& n)
{
    Indexed out;
    if (stones.empty())
        return out;
    cv::Point2d mean;
    for (const cv::Point2d& p : stones)
        mean += p;
    mean *= 1.0 / double(stones.size());
    std::size_t seed = 0;
    for (std::size_t i = 1; i < stones.size(); ++i) {
        if (cv::norm(stones[i] - mean) < cv::norm(stones[seed] - mean))
            seed = i;
    }
    std::vector<bool> reached(stones.size(), false);
    std::vector<cv::Point2i> index(stones.size());
    std::vector<cv::Point2d> across(stones.size()), down(stones.size());
    across[seed] = cv::Point2d(std::cos(n.angle), std::sin(n.angle)) * n.pitch;
    down[seed] = cv::Point2d(-std::sin(n.angle), std::cos(n.angle)) * n.pitch;
    reached[seed] = true;
    std::vector<std::size_t> queue{seed};
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::size_t s = queue[head];
        const cv::Point2d u = across[s], v = down[s];
        const double det = u.x * v.y - u.y * v.x;
        if (std::abs(det) < 1e-9)
            continue;
        for (std::size_t t = 0; t < stones.size(); ++t) {
            if (reached[t])
                continue;
            const cv::Point2d d = stones[t] - stones[s];
            const double a = (d.x * v.y - d.y * v.x) / det, b = (u.x * d.y - u.y * d.x) / det;
            const double ra = std::round(a), rb = std::round(b);
            if ((ra == 0 && rb == 0) || std::abs(ra) > longestStep || std::abs(rb) > longestStep
                || std::hypot(a - ra, b - rb) > stepTolerance)
                continue;
            reached[t] = true;
            index[t] = index[s] + cv::Point2i(int(ra), int(rb));
            across[t] = rb == 0 ? d / ra : u;
            down[t] = ra == 0 ? d / rb : v;
            queue.push_back(t);
        }
    }
    for (std::size_t i = 0; i < stones.size(); ++i) {
        if (reached[i]) {
            out.picture.push_back(stones[i]);
            out.lattice.emplace_back(index[i].x, index[i].y);
        }
    }
    return out;
}

std::vector<cv::Point2d> indicesByNeighbours(const std::vector<cv::Point2d>& centres, const Neighbours& n)
{
    const double c = std::cos(-n.angle), s = std::sin(-n.angle);
    std::vector<double> us, vs;
    for (const cv::Point2d& p : centres) {
        // 19 pitches to the unit, so that the search for the period keeps its scale.
        us.push_back((c * p.x - s * p.y) / (go::BoardSize * n.pitch));
        vs.push_back((s * p.x + c * p.y) / (go::BoardSize * n.pitch));
    }
    const Period pu = periodBetween(us, fewestFrameLines, mostFrameLines), pv = periodBetween(vs, fewestFrameLines, mostFrameLines);
    std::vector<cv::Point2d> lattice;
    for (std::size_t i = 0; i < centres.size(); ++i)
        lattice.emplace_back(std::round((us[i] - pu.offset) / pu.pitch), std::round((vs[i] - pv.offset) / pv.pitch));
    return lattice;
}

int onLattice(const std::vector<cv::Point2d>& stones, const cv::Matx33d& h)
{
    const cv::Matx33d back = h.inv();
    int on = 0;
    for (const cv::Point2d& p : stones) {
        const cv::Point2d q = mapPoint(back, p);
        on += std::hypot(q.x - std::round(q.x), q.y - std::round(q.y)) < onPointShare;
    }
    return on;
}

bool fitLattice(const std::vector<cv::Point2d>& picture, std::vector<cv::Point2d> lattice, cv::Matx33d& h,
                double tolerance)
{
    if (picture.size() < fewestFitted)
        return false;
    cv::Mat found = cv::findHomography(lattice, picture, cv::RANSAC, tolerance);
    if (found.empty())
        return false;
    h = cv::Matx33d(found);
    // Refit on every centre, each given the lattice point nearest to it under the last fit; in
    // perspective the fit grows outwards from where the first one held, until it holds them all.
    std::size_t held = 0;
    for (int round = 0; round < refits; ++round) {
        const cv::Matx33d back = h.inv();
        std::vector<cv::Point2d> from, to;
        for (const cv::Point2d& p : picture) {
            const cv::Point2d q = mapPoint(back, p);
            const cv::Point2d r(std::round(q.x), std::round(q.y));
            if (std::hypot(q.x - r.x, q.y - r.y) < snapShare) {
                from.push_back(r);
                to.push_back(p);
            }
        }
        if (from.size() < fewestFitted)
            return false;
        if (round >= 2 && from.size() <= held)
            break;
        held = from.size();
        found = cv::findHomography(from, to, 0);
        if (found.empty())
            return false;
        h = cv::Matx33d(found);
    }
    return true;
}

namespace {

// The share of points along a lattice segment where the board has ink.
double inkAlong(const cv::Mat& covered, const cv::Matx33d& h, cv::Point2d from, cv::Point2d to)
{
    int on = 0, all = 0;
    const int steps = int(std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) * samplesPerPitch) + 1;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const cv::Point2d p = mapPoint(h, from + (to - from) * t);
        const int x = int(std::lround(p.x)), y = int(std::lround(p.y));
        ++all;
        if (x >= 0 && y >= 0 && x < covered.cols && y < covered.rows && covered.at<std::uint8_t>(y, x))
            ++on;
    }
    return double(on) / all;
}

} // namespace

std::optional<int> firstLine(const cv::Mat& covered, const cv::Matx33d& h, int low, int high, int crossLow,
                             int crossHigh, bool columns)
{
    auto inkOn = [&](int k) {
        const cv::Point2d a = columns ? cv::Point2d(k, crossLow) : cv::Point2d(crossLow, k);
        const cv::Point2d b = columns ? cv::Point2d(k, crossHigh) : cv::Point2d(crossHigh, k);
        return inkAlong(covered, h, a, b);
    };
    std::optional<int> best;
    double bestScore = -1e9, bestInside = 0;
    for (int start = high - (go::BoardSize - 1); start <= low; ++start) {
        double inside = 0;
        for (int k = start; k < start + go::BoardSize; ++k)
            inside += inkOn(k);
        const double score = inside - outsidePenalty * (inkOn(start - 1) + inkOn(start + go::BoardSize));
        if (score > bestScore) {
            bestScore = score;
            bestInside = inside;
            best = start;
        }
    }
    if (!best || bestInside < leastLineInk * go::BoardSize)
        return std::nullopt;
    return best;
}

std::pair<int, int> busiestSpan(const std::vector<int>& indices)
{
    const auto [lo, hi] = std::minmax_element(indices.begin(), indices.end());
    int bestStart = *lo, bestCount = -1;
    constexpr int span = go::BoardSize - 1;
    for (int start = *lo; start <= std::max(*lo, *hi - span); ++start) {
        const int count = int(std::count_if(indices.begin(), indices.end(), [&](int i) { return i >= start && i <= start + span; }));
        if (count > bestCount) {
            bestCount = count;
            bestStart = start;
        }
    }
    int low = bestStart + span, high = bestStart;
    for (int i : indices) {
        if (i >= bestStart && i <= bestStart + span) {
            low = std::min(low, i);
            high = std::max(high, i);
        }
    }
    return {low, high};
}

Period periodOf(const std::vector<double>& values)
{
    return periodBetween(values, fewestOutlineLines, mostOutlineLines);
}

} // namespace diagram
