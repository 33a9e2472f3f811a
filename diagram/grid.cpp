#include "diagram/grid.h"

#include "board/go.h"

#include <opencv2/calib3d.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <complex>
#include <optional>
#include <utility>
#include <vector>

namespace diagram {
namespace {

// Tuning. Sizes are in line pitches (p) of the working copy unless they say otherwise.

// The lattice is sought on a copy where a line pitch is about this many pixels: a stone is
// then a blob of a few hundred pixels, large enough to tell a disc from a digit.
constexpr double workingPitch = 24.0;

// A board's ink spreads over its whole square; a dark table around a photographed page, or
// a frame, keeps to the edges of its box. The middle is the box less a fifth on each side.
constexpr double leastInkInMiddle = 0.12;

// A board's ink on the picture: at least this many pixels a side (19 lines need room), about
// square (coordinates on one side, perspective), and neither a speck nor a solid block.
constexpr int leastBoardSide = 150;
constexpr double mostBoardAspect = 1.6;
constexpr double leastBoardInk = 0.04, mostBoardInk = 0.85;

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
// The stones' spacing is trusted, and a second search run at it, when this share of them has
// a neighbour at one pitch and it differs from the outline's by more than this share.
constexpr double leastNeighbourSupport = 0.6, spacingDisagrees = 0.1;
constexpr std::size_t fewestStonesForSpacing = 12;

// A centre within this share of a pitch of a lattice point stands on it; the RANSAC fit
// allows a quarter pitch, and each refit takes centres within a quarter of their point.
constexpr double onPointShare = 0.2;
constexpr double fitTolerance = 0.25, snapShare = 0.25;
constexpr std::size_t fewestFitted = 8;
constexpr int refits = 8;

// The edge lines: ink sampled this many times a pitch along a line; a run of 19 lines must
// carry ink over this share of their length in all, and lines just outside count against it.
constexpr double samplesPerPitch = 5;
constexpr double leastLineInk = 0.6;
constexpr double outsidePenalty = 2;
// The ink's box holds the board and what edge stones stick out: 18 pitches and a little more.
constexpr double outlinePitches = 18.7;
// Where the ink finds no board, ink is what lies this many grey levels below the mean of a
// square of this share of the picture's shorter side around it.
constexpr double localInkContrast = 6;
constexpr int localInkBlocks = 40;

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

struct Stones {
    std::vector<cv::Point2d> centres; // working copy's pixels
    cv::Mat covered;                  // the board's ink with every stone filled in
};

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

// Centres of the stones that stand alone: black ones as solid discs once their digits are
// filled, white ones as round holes in the ink.
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

// Centres of stones of either colour by their round edges, where digits that touch a white
// stone's outline or black stones that touch one another hide them from the test above.
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

// The four corners of the ink, in the order top left, top right, bottom right, bottom left.
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

// The period and phase along one axis: the outline spans 18 pitches plus whatever stones on
// the edge stick out, up to one more.
struct Period {
    double pitch = 0;
    double offset = 0;
};

Period periodOf(const std::vector<double>& values, double fewestLines = fewestOutlineLines,
                double mostLines = mostOutlineLines)
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

// Centres closer than this share of the rough pitch are one stone found twice.
constexpr double sameStone = 0.35;

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

// The lattice's pitch and direction, told by the stones alone: in a game's diagram most stones
// have a neighbour on the next point of a line. The ink's outline cannot tell them where a
// wooden board's grain, a dark table or coordinates join the board's ink.
struct Neighbours {
    double pitch = 0;
    double angle = 0; // of the lines nearest the x axis, in radians
    double support = 0; // the share of stones with a neighbour at about that pitch
};

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

// Stones with their lattice indices, found by stepping from stone to near stone.
struct Indexed {
    std::vector<cv::Point2d> picture, lattice;
};

// Steps of at most this many points each way, each within this share of a step of a point,
// carry an index from one stone to the next.
constexpr int longestStep = 2;
constexpr double stepTolerance = 0.25;

// Lattice indices grown outwards from the stone nearest the middle, each stone's steps taken
// from the stone it was reached from: in strong perspective the pitch changes across the board
// and no one frame holds every stone, but from one stone to its neighbour it hardly changes.
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

// Lattice indices for the stones, in the frame the neighbours give.
std::vector<cv::Point2d> indicesByNeighbours(const std::vector<cv::Point2d>& centres, const Neighbours& n)
{
    const double c = std::cos(-n.angle), s = std::sin(-n.angle);
    std::vector<double> us, vs;
    for (const cv::Point2d& p : centres) {
        // 19 pitches to the unit, so that the search for the period keeps its scale.
        us.push_back((c * p.x - s * p.y) / (go::BoardSize * n.pitch));
        vs.push_back((s * p.x + c * p.y) / (go::BoardSize * n.pitch));
    }
    const Period pu = periodOf(us, fewestFrameLines, mostFrameLines), pv = periodOf(vs, fewestFrameLines, mostFrameLines);
    std::vector<cv::Point2d> lattice;
    for (std::size_t i = 0; i < centres.size(); ++i)
        lattice.emplace_back(std::round((us[i] - pu.offset) / pu.pitch), std::round((vs[i] - pv.offset) / pv.pitch));
    return lattice;
}

// How many stones stand on a point of the fitted lattice.
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

// Fits lattice points to picture points; returns false when there are too few that agree.
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

// The first of the 19 lines across: of the runs of 19 that hold every stone, the one whose
// lines carry the most ink from end to end of the stones, with the least just outside it.
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

// Of the runs of 19 lattice lines, the one that holds the most of `indices`; the lowest and
// highest index within it.
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

} // namespace

cv::Point2d mapPoint(const cv::Matx33d& h, cv::Point2d p)
{
    const cv::Vec3d q = h * cv::Vec3d(p.x, p.y, 1.0);
    return {q[0] / q[2], q[1] / q[2]};
}

cv::Point2d onPicture(const Grid& grid, double x, double y)
{
    return mapPoint(grid.toPicture, {x, y});
}

namespace {

std::optional<Grid> locateOn(const Ink& ink, std::string& reason)
{
    reason = "No board was found in the picture.";
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
    cv::Rect box;
    cv::Mat boardInk;
    if (board >= 0) {
        box = cv::Rect(stats.at<int>(board, cv::CC_STAT_LEFT), stats.at<int>(board, cv::CC_STAT_TOP),
                       stats.at<int>(board, cv::CC_STAT_WIDTH), stats.at<int>(board, cv::CC_STAT_HEIGHT));
        boardInk = labels(box) == board;
    } else {
        std::vector<cv::Point> inked;
        cv::findNonZero(ink.dark, inked);
        if (inked.empty())
            return std::nullopt;
        box = cv::boundingRect(inked);
        if (!boardShaped(box.width, box.height, double(cv::countNonZero(ink.dark(box))) / box.area()))
            return std::nullopt;
        boardInk = ink.dark(box);
    }
    double scale = 1, pitch = 0;
    cv::Mat mask, grey;
    Stones stones;
    // The stones are sought on a copy where a pitch is about workingPitch pixels, told first by
    // the size of the ink, which may hold more than the board.
    const auto seek = [&](double roughPitch) {
        scale = std::min(1.0, workingPitch / roughPitch);
        mask = boardInk.clone();
        if (scale < 1.0) {
            cv::resize(mask, mask, cv::Size(), scale, scale, cv::INTER_AREA);
            cv::threshold(mask, mask, 40, 255, cv::THRESH_BINARY);
        }
        pitch = roughPitch * scale;
        stones = findStones(mask, pitch);
        cv::resize(ink.even(box), grey, mask.size(), 0, 0, cv::INTER_AREA);
        findCircles(grey, pitch, stones.centres);
    };
    seek(std::max(box.width, box.height) / outlinePitches);
    // Where the stones' own spacing says otherwise, they are sought again at their size: the
    // tests of a stone's size hold within a tenth or so. Few stones found far apart tell
    // nothing of the spacing, and a second search that finds fewer is not taken.
    if (const auto n = neighbours(distinct(stones.centres, pitch));
        n && n->support >= leastNeighbourSupport && std::abs(n->pitch / pitch - 1) > spacingDisagrees) {
        const double firstScale = scale, firstPitch = pitch;
        const std::size_t found = distinct(stones.centres, pitch).size();
        cv::Mat firstMask = mask, firstGrey = grey;
        Stones first = stones;
        seek(n->pitch / scale);
        if (distinct(stones.centres, pitch).size() <= found) {
            scale = firstScale;
            pitch = firstPitch;
            mask = firstMask;
            grey = firstGrey;
            stones = std::move(first);
        }
    }
    if (stones.centres.size() < fewestFitted)
        return std::nullopt;

    // Lattice indices for the centres in the frame of the ink's outline, then a fit that
    // straightens whatever turn or perspective the outline did not.
    const std::vector<cv::Point2f> corners = outline(mask);
    const std::vector<cv::Point2f> unit{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    const cv::Matx33d toUnit(cv::getPerspectiveTransform(corners, unit));
    std::vector<double> us, vs;
    std::vector<cv::Point2d> inUnit;
    for (const cv::Point2d& c : stones.centres) {
        inUnit.push_back(mapPoint(toUnit, c));
        us.push_back(inUnit.back().x);
        vs.push_back(inUnit.back().y);
    }
    const Period pu = periodOf(us), pv = periodOf(vs);
    std::vector<cv::Point2d> lattice;
    for (const cv::Point2d& u : inUnit)
        lattice.emplace_back(std::round((u.x - pu.offset) / pu.pitch), std::round((u.y - pv.offset) / pv.pitch));
    cv::Matx33d h;
    const bool byOutline = fitLattice(stones.centres, lattice, h, fitTolerance * pitch);
    // Where the outline is not the board's, the stones' own spacing finds the lattice: the fit
    // that puts more stones on its points is taken.
    const std::vector<cv::Point2d> single = distinct(stones.centres, pitch);
    if (const auto n = neighbours(single)) {
        cv::Matx33d other;
        const bool byStones = fitLattice(stones.centres, indicesByNeighbours(stones.centres, *n), other, fitTolerance * n->pitch);
        cv::Matx33d grown;
        const Indexed steps = indicesByGrowth(single, *n);
        const bool byGrowth = fitLattice(steps.picture, steps.lattice, grown, fitTolerance * n->pitch);
        bool any = byOutline;
        if (byStones && (!any || onLattice(single, other) > onLattice(single, h))) {
            h = other;
            any = true;
        }
        if (byGrowth && (!any || onLattice(single, grown) > onLattice(single, h))) {
            h = grown;
            any = true;
        }
        if (!any)
            return std::nullopt;
    } else if (!byOutline) {
        return std::nullopt;
    }

    // The board's edge lines: the only run of 19 lines across the stones' span.
    const cv::Matx33d back = h.inv();
    // Stone icons of the notes or of a caption can touch the board's ink: the board holds the
    // 19 lines each way with the most stones on them, and what lies past them is not its own.
    std::vector<int> xs, ys;
    for (const cv::Point2d& c : stones.centres) {
        const cv::Point2d q = mapPoint(back, c);
        xs.push_back(int(std::lround(q.x)));
        ys.push_back(int(std::lround(q.y)));
    }
    const auto [lowX, highX] = busiestSpan(xs);
    const auto [lowY, highY] = busiestSpan(ys);
    // A line is found where it passes within a few pixels of where the fit puts it.
    cv::Mat near;
    cv::dilate(stones.covered, near, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(5, 5)));
    const auto left = firstLine(near, h, lowX, highX, lowY, highY, true);
    const auto top = firstLine(near, h, lowY, highY, lowX, highX, false);
    if (!left || !top) {
        reason = "The picture holds no complete 19 x 19 board.";
        return std::nullopt;
    }

    // Board coordinates to the working copy, then to the picture.
    const cv::Matx33d shift(1, 0, *left - 1, 0, 1, *top - 1, 0, 0, 1);
    // Pixel centres, not corners, correspond between the copy and the picture.
    const double half = 0.5 / scale - 0.5;
    const cv::Matx33d unscale(1 / scale, 0, box.x + half, 0, 1 / scale, box.y + half, 0, 0, 1);
    Grid grid;
    grid.toPicture = unscale * h * shift;
    const cv::Point2d c = onPicture(grid, 10, 10);
    grid.pitch = (cv::norm(onPicture(grid, 11, 10) - c) + cv::norm(onPicture(grid, 10, 11) - c)) / 2;
    reason.clear();
    return grid;
}

} // namespace

std::optional<Grid> locateGrid(const Ink& ink, std::string& reason)
{
    if (std::optional<Grid> grid = locateOn(ink, reason))
        return grid;
    // A small screenshot shrunk and saved as JPEG keeps its thin lines only as a grey a little
    // darker than the board around it, white or wooden: the ink is sought again that way, each
    // pixel against its surroundings, and the first reason stands if that finds nothing either.
    Ink local = ink;
    const int block = 2 * (std::min(ink.even.cols, ink.even.rows) / localInkBlocks / 2) + 1;
    cv::adaptiveThreshold(ink.even, local.dark, 255, cv::ADAPTIVE_THRESH_MEAN_C, cv::THRESH_BINARY_INV,
                          std::max(3, block), localInkContrast);
    // Gaps of a pixel closed, as in the first search.
    cv::dilate(local.dark, local.faint, cv::getStructuringElement(cv::MORPH_RECT, cv::Size(3, 3)));
    std::string second;
    return locateOn(local, second);
}

} // namespace diagram
