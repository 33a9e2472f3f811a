#pragma once

// The lattice of the board's 19 x 19 points fitted to the stones' centres on the working copy:
// indices for the centres (by the ink's outline, by the stones' own spacing, or grown from
// stone to stone), a plane mapping from board points to the picture, and the run of 19 lines
// the board's edges end.

#include <opencv2/core.hpp>

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace diagram {

// Fewer centres than this that agree are no fit.
constexpr std::size_t fewestFitted = 8;

// A point carried through the plane mapping h.
cv::Point2d mapPoint(const cv::Matx33d& h, cv::Point2d p);

// The four corners of the ink, in the order top left, top right, bottom right, bottom left.
std::vector<cv::Point2f> outline(const cv::Mat& mask);

// The period and phase along one axis of values in the unit the outline spans.
struct Period {
    double pitch = 0;
    double offset = 0;
};
Period periodOf(const std::vector<double>& values);

// The lattice's pitch and direction, told by the stones alone: in a game's diagram most stones
// have a neighbour on the next point of a line. The ink's outline cannot tell them where a
// wooden board's grain, a dark table or coordinates join the board's ink.
struct Neighbours {
    double pitch = 0;
    double angle = 0;   // of the lines nearest the x axis, in radians
    double support = 0; // the share of stones with a neighbour at about that pitch
};
std::optional<Neighbours> neighbours(const std::vector<cv::Point2d>& stones);

// Stones with their lattice indices, found by stepping from stone to near stone.
struct Indexed {
    std::vector<cv::Point2d> picture, lattice;
};
// Grown outwards from the stone nearest the middle, each stone's steps taken from the stone it
// was reached from: in strong perspective the pitch changes across the board and no one frame
// holds every stone, but from one stone to its neighbour it hardly changes.
Indexed indicesByGrowth(const std::vector<cv::Point2d>& stones, const Neighbours& n);
// In the frame the neighbours give.
std::vector<cv::Point2d> indicesByNeighbours(const std::vector<cv::Point2d>& centres, const Neighbours& n);

// How many stones stand on a point of the fitted lattice.
int onLattice(const std::vector<cv::Point2d>& stones, const cv::Matx33d& h);

// Fits lattice points to picture points, within `tolerance` pixels; false when there are too
// few that agree.
bool fitLattice(const std::vector<cv::Point2d>& picture, std::vector<cv::Point2d> lattice, cv::Matx33d& h,
                double tolerance);

// The first of the 19 lines across: of the runs of 19 that hold every stone, the one whose
// lines carry the most ink in `covered` from end to end of the stones, with the least just
// outside it. Nothing when no run carries enough.
std::optional<int> firstLine(const cv::Mat& covered, const cv::Matx33d& h, int low, int high, int crossLow,
                             int crossHigh, bool columns);

// Of the runs of 19 lattice lines, the one that holds the most of `indices`; the lowest and
// highest index within it.
std::pair<int, int> busiestSpan(const std::vector<int>& indices);

} // namespace diagram
