#include "diagram/edges.h"

#include <algorithm>

namespace diagram {
namespace {

// Tuning, in pitches. Past an edge, a line is looked for from clear of the edge line's own
// ink to short of where coordinates are printed.
constexpr double lookFrom = 0.15, lookTo = 0.45;
// A line goes on where ink runs along this much of that stretch, a pixel or two to either
// side, as blur and a slight turn leave it.
constexpr double inkAlong = 0.7;
constexpr int sideways = 2;
// A side goes on where the lines beside this many of its empty points do, and at least this
// share of them: a stray mark near one point proves nothing. Few are asked for, since the
// second line, taken for the first, is often full of stones; a side seen going on by mistake
// moves a lattice only where the side facing it then goes on no more.
constexpr int leastPoints = 2;
constexpr double leastShare = 0.6;

// Whether ink runs on from point (x, y) by one pitch step (dx, dy) past the edge.
bool goesOn(const cv::Mat& dark, int x, int y, int dx, int dy)
{
    const int from = int(lookFrom * boardPitch), to = int(lookTo * boardPitch);
    int inked = 0;
    for (int step = from; step <= to; ++step) {
        const int px = x * boardPitch + dx * step, py = y * boardPitch + dy * step;
        bool any = false;
        for (int off = -sideways; off <= sideways && !any; ++off) {
            const int cx = px + (dx == 0 ? off : 0), cy = py + (dy == 0 ? off : 0);
            any = cx >= 0 && cy >= 0 && cx < dark.cols && cy < dark.rows && dark.at<std::uint8_t>(cy, cx) != 0;
        }
        inked += any;
    }
    return inked >= inkAlong * (to - from + 1);
}

} // namespace

unsigned sidesGoingOn(const StraightBoard& board, const std::array<StoneLook, go::Points>& looks)
{
    struct Edge {
        Side side;
        int dx, dy;
    };
    unsigned sides = 0;
    for (const Edge e : {Edge{Top, 0, -1}, Edge{Bottom, 0, 1}, Edge{Left, -1, 0}, Edge{Right, 1, 0}}) {
        int empty = 0, going = 0;
        for (int k = 1; k <= go::BoardSize; ++k) {
            const int x = e.dx == 0 ? k : (e.dx < 0 ? 1 : go::BoardSize);
            const int y = e.dy == 0 ? k : (e.dy < 0 ? 1 : go::BoardSize);
            if (looks[std::size_t(go::pointOf(x, y))].stone != Stone::Empty)
                continue;
            ++empty;
            going += goesOn(board.dark, x, y, e.dx, e.dy);
        }
        if (going >= leastPoints && going >= leastShare * empty)
            sides |= e.side;
    }
    return sides;
}

Grid movedOut(const Grid& grid, unsigned sides)
{
    const double dx = (sides & Left ? -1 : 0) + (sides & Right ? 1 : 0);
    const double dy = (sides & Top ? -1 : 0) + (sides & Bottom ? 1 : 0);
    Grid moved = grid;
    moved.toPicture = grid.toPicture * cv::Matx33d(1, 0, dx, 0, 1, dy, 0, 0, 1);
    return moved;
}

} // namespace diagram
