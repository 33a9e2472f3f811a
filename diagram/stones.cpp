#include "diagram/stones.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace diagram {
namespace {

constexpr int sectors = 36;

struct Offset {
    int dx, dy;
    int sector;
    bool band; // inside a stone, clear of most digits
    bool rim;  // where a white stone's outline runs
};

std::vector<Offset> offsets()
{
    std::vector<Offset> all;
    const int reach = int(0.54 * boardPitch);
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            const double r = std::hypot(dx, dy) / boardPitch;
            const bool band = r >= 0.28 && r <= 0.40;
            const bool rim = r >= 0.34 && r <= 0.54;
            if (!band && !rim)
                continue;
            const double angle = std::atan2(dy, dx) + M_PI;
            const int sector = std::min(sectors - 1, int(angle / (2 * M_PI) * sectors));
            all.push_back({dx, dy, sector, band, rim});
        }
    }
    return all;
}

struct Measures {
    double fill = 0; // share of ink in the band
    double ring = 0; // share of sectors where the rim has ink
};

Measures measure(const StraightBoard& board, int cx, int cy, const std::vector<Offset>& around)
{
    int bandDark = 0, bandAll = 0;
    std::array<bool, sectors> closed{};
    for (const Offset& o : around) {
        if (o.band) {
            ++bandAll;
            bandDark += board.dark.at<std::uint8_t>(cy + o.dy, cx + o.dx) != 0;
        }
        if (o.rim && board.strokes.at<std::uint8_t>(cy + o.dy, cx + o.dx) != 0)
            closed[std::size_t(o.sector)] = true;
    }
    return {double(bandDark) / bandAll, double(std::count(closed.begin(), closed.end(), true)) / sectors};
}

} // namespace

std::array<StoneLook, 361> classifyStones(const StraightBoard& board)
{
    static const std::vector<Offset> around = offsets();
    std::array<StoneLook, 361> looks;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            // The fit may miss a stone's centre by a few pixels; the best of nearby centres counts.
            double fill = 0, ring = 0;
            for (int sy = -4; sy <= 4; sy += 4) {
                for (int sx = -4; sx <= 4; sx += 4) {
                    const Measures m = measure(board, x * boardPitch + sx, y * boardPitch + sy, around);
                    ring = std::max(ring, m.ring);
                    fill = std::max(fill, m.fill);
                }
            }
            StoneLook& look = looks[std::size_t((y - 1) * 19 + (x - 1))];
            // Black: the band is ink. White: an outline closes all round. Sureness falls as a
            // measure nears the border it was judged by.
            if (fill > 0.6) {
                look.stone = Stone::Black;
                look.sureness = float(std::min(1.0, (fill - 0.6) / 0.2));
            } else if (ring > 0.75) {
                look.stone = Stone::White;
                look.sureness = float(std::min({1.0, (ring - 0.75) / 0.15, (0.6 - fill) / 0.2}));
            } else {
                look.sureness = float(std::min({1.0, (0.75 - ring) / 0.2, (0.6 - fill) / 0.2}));
            }
        }
    }
    return looks;
}

} // namespace diagram
