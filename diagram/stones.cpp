#include "diagram/stones.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace diagram {
namespace {

// The rim is looked at in this many directions.
constexpr int sectors = 36;
// Sureness reaches 1 this far from the border a measure was judged by: a fifth of the band's
// ink, a fifth or (for a white stone's closed rim) a seventh of the rim's directions.
constexpr double fillMargin = 0.2, ringMargin = 0.2, closedRingMargin = 0.15;
// Rays step outwards by this share of a pitch.
constexpr double rayStep = 0.02;
// Blurred well past the grain of a photo or a scan, in pixels of the sheet; a stone's edge is
// far wider.
constexpr double grainBlur = 2.5;

struct Offset {
    int dx, dy;
    int sector;
    bool band;
    bool rim;
};

// The pixels of the band and the rim around a centre, and the rays of the rim's directions,
// laid out once for a shape.
class StoneTest {
public:
    explicit StoneTest(const StoneShape& shape) : shape_(shape)
    {
        const int reach = int(std::ceil(shape.rimTo * boardPitch));
        for (int dy = -reach; dy <= reach; ++dy) {
            for (int dx = -reach; dx <= reach; ++dx) {
                const double r = std::hypot(dx, dy) / boardPitch;
                const bool band = r >= shape.bandFrom && r <= shape.bandTo;
                const bool rim = r >= shape.rimFrom && r <= shape.rimTo;
                if (band || rim)
                    offsets_.push_back({dx, dy, sectorOf(dx, dy), band, rim});
            }
        }
        for (int k = 0; k < sectors; ++k) {
            const double t = (k + 0.5) / sectors * 2 * M_PI - M_PI;
            std::vector<cv::Point> ray;
            // The edge's outer side keeps within the rim, clear of the neighbours' outlines.
            for (double r = shape.rimFrom - edgeWidth; r <= shape.rimTo + 1e-9; r += rayStep)
                ray.emplace_back(int(std::lround(std::cos(t) * r * boardPitch)), int(std::lround(std::sin(t) * r * boardPitch)));
            rays_.push_back(ray);
        }
        edgeSteps_ = int(std::lround(edgeWidth / rayStep));
    }

    struct Measures {
        double fill = 0; // share of ink in the band
        double ring = 0; // share of directions where the rim shows an outline or an edge
    };

    Measures measure(const StraightBoard& sheet, const cv::Mat& smooth, cv::Point c) const
    {
        int bandDark = 0, bandAll = 0;
        std::array<bool, sectors> closed{};
        for (const Offset& o : offsets_) {
            const cv::Point at(c.x + o.dx, c.y + o.dy);
            if (o.band) {
                ++bandAll;
                bandDark += sheet.dark.at<std::uint8_t>(at) != 0;
            }
            if (o.rim && sheet.strokes.at<std::uint8_t>(at) != 0)
                closed[std::size_t(o.sector)] = true;
        }
        for (int k = 0; k < sectors; ++k) {
            if (closed[std::size_t(k)])
                continue;
            const std::vector<cv::Point>& ray = rays_[std::size_t(k)];
            for (std::size_t i = 0; i + std::size_t(edgeSteps_) < ray.size(); ++i) {
                const int inside = smooth.at<std::uint8_t>(c + ray[i]);
                const int outside = smooth.at<std::uint8_t>(c + ray[i + std::size_t(edgeSteps_)]);
                if (inside - outside >= whiteEdgeStep) {
                    closed[std::size_t(k)] = true;
                    break;
                }
            }
        }
        return {double(bandDark) / std::max(1, bandAll), double(std::count(closed.begin(), closed.end(), true)) / sectors};
    }

    StoneLook look(const StraightBoard& sheet, const cv::Mat& smooth, cv::Point centre) const
    {
        // The fit may miss a stone's centre by a few pixels; the best of nearby centres counts.
        double fill = 0, ring = 0;
        const int step = std::max(1, shape_.missBy);
        for (int sy = -shape_.missBy; sy <= shape_.missBy; sy += step) {
            for (int sx = -shape_.missBy; sx <= shape_.missBy; sx += step) {
                const Measures m = measure(sheet, smooth, centre + cv::Point(sx, sy));
                ring = std::max(ring, m.ring);
                fill = std::max(fill, m.fill);
            }
        }
        // Black: the band is ink. White: an outline or an edge closes all round. Sureness falls
        // as a measure nears the border it was judged by.
        const double closed = shape_.closedShare;
        StoneLook look;
        if (fill > blackFill) {
            look.stone = Stone::Black;
            look.sureness = float(std::min(1.0, (fill - blackFill) / fillMargin));
        } else if (ring > closed) {
            look.stone = Stone::White;
            look.sureness = float(std::min({1.0, (ring - closed) / closedRingMargin, (blackFill - fill) / fillMargin}));
        } else {
            look.sureness = float(std::min({1.0, (closed - ring) / ringMargin, (blackFill - fill) / fillMargin}));
        }
        return look;
    }

private:
    // The step of a white stone's edge is sought over this much of a pitch.
    static constexpr double edgeWidth = 0.12;

    static int sectorOf(int dx, int dy)
    {
        const double angle = std::atan2(dy, dx) + M_PI;
        return std::min(sectors - 1, int(angle / (2 * M_PI) * sectors));
    }

    StoneShape shape_;
    std::vector<Offset> offsets_;
    std::vector<std::vector<cv::Point>> rays_;
    int edgeSteps_ = 4;
};

cv::Mat smoothed(const StraightBoard& sheet)
{
    cv::Mat smooth;
    cv::GaussianBlur(sheet.even, smooth, cv::Size(), grainBlur);
    return smooth;
}

} // namespace

std::vector<StoneLook> lookAt(const StraightBoard& sheet, const std::vector<cv::Point>& centres, const StoneShape& shape)
{
    const StoneTest test(shape);
    const cv::Mat smooth = smoothed(sheet);
    // Every point is judged on its own: the cores share them.
    std::vector<StoneLook> looks(centres.size());
    cv::parallel_for_(cv::Range(0, int(centres.size())), [&](const cv::Range& range) {
        for (int i = range.start; i < range.end; ++i)
            looks[std::size_t(i)] = test.look(sheet, smooth, centres[std::size_t(i)]);
    });
    return looks;
}

std::array<StoneLook, go::Points> classifyStones(const StraightBoard& board)
{
    std::vector<cv::Point> centres;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x)
            centres.emplace_back(x * boardPitch, y * boardPitch);
    }
    const std::vector<StoneLook> looks = lookAt(board, centres, boardStone);
    std::array<StoneLook, go::Points> all;
    std::copy(looks.begin(), looks.end(), all.begin());
    return all;
}

} // namespace diagram
