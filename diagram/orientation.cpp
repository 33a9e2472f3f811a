#include "diagram/orientation.h"

#include "diagram/glyphs.h"
#include "diagram/numbers.h"

#include <opencv2/core.hpp>

#include <algorithm>
#include <vector>

namespace diagram {
namespace {

// Stones read each way: enough for an average that one misread cannot swing, few enough that
// eight readings of them cost less than a page.
constexpr std::size_t sampleSize = 16;
// The best way must read this much better than the next to be taken: a board whose digits read
// as well sideways as upright is no evidence either way.
constexpr double clearMargin = 1.25;

struct Spot {
    int x = 0, y = 0;
    Stone stone = Stone::Empty;
};

// Where board point (x, y) lies once the board is turned.
void carry(int& x, int& y, Orientation o)
{
    if (o.mirrored)
        x = 20 - x;
    for (int i = 0; i < o.quarterTurns; ++i) {
        const int oldX = x;
        x = 20 - y;
        y = oldX;
    }
}

StraightBoard turnedBoard(const StraightBoard& b, Orientation o)
{
    return {turned(b.even, o), turned(b.dark, o), turned(b.strokes, o)};
}

// Stones of two and three digits first: one digit reads much the same many ways up.
std::vector<Spot> sample(const StraightBoard& board, const std::array<StoneLook, go::Points>& looks)
{
    std::vector<Spot> many, few;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const Stone s = looks[std::size_t(go::pointOf(x, y))].stone;
            if (s == Stone::Empty)
                continue;
            const Glyphs g = cutGlyphs(board, x, y, s);
            if (g.picture.empty())
                continue;
            (g.pieces >= 2 ? many : few).push_back({x, y, s});
        }
    }
    many.insert(many.end(), few.begin(), few.end());
    std::vector<Spot> chosen;
    const std::size_t step = std::max<std::size_t>(1, many.size() / sampleSize);
    for (std::size_t i = 0; i < many.size() && chosen.size() < sampleSize; i += step)
        chosen.push_back(many[i]);
    return chosen;
}

double score(const StraightBoard& board, const std::vector<Spot>& spots, Orientation o, const StopFlag* stop)
{
    const StraightBoard b = turnedBoard(board, o);
    std::vector<Glyphs> glyphs;
    for (Spot s : spots) {
        carry(s.x, s.y, o);
        Glyphs g = cutGlyphs(b, s.x, s.y, s.stone);
        if (!g.picture.empty())
            glyphs.push_back(std::move(g));
    }
    double sum = 0;
    for (const NumberReading& r : readNumbers(glyphs, stop))
        sum += r.number > 0 ? r.confidence : 0;
    return spots.empty() ? 0 : sum / double(spots.size());
}

} // namespace

cv::Mat turned(const cv::Mat& picture, Orientation o)
{
    // Flipped into a buffer of its own: the caller's picture shares its pixels with a copy.
    cv::Mat out;
    if (o.mirrored)
        cv::flip(picture, out, 1);
    else
        out = picture;
    static const cv::RotateFlags turns[] = {cv::ROTATE_90_CLOCKWISE, cv::ROTATE_180, cv::ROTATE_90_COUNTERCLOCKWISE};
    if (o.quarterTurns % 4 != 0) {
        cv::Mat rotated;
        cv::rotate(out, rotated, turns[o.quarterTurns % 4 - 1]);
        return rotated;
    }
    return o.mirrored ? out : picture.clone();
}

std::optional<Orientation> bestOrientation(const StraightBoard& board, const std::array<StoneLook, go::Points>& looks,
                                           const StopFlag* stop)
{
    const std::vector<Spot> spots = sample(board, looks);
    const double upright = score(board, spots, Orientation{}, stop);
    Orientation best;
    double bestScore = -1, secondScore = -1;
    for (int mirrored = 0; mirrored < 2; ++mirrored) {
        for (int q = mirrored ? 0 : 1; q < 4; ++q) {
            const Orientation o{q, mirrored == 1};
            const double s = score(board, spots, o, stop);
            if (s > bestScore) {
                secondScore = bestScore;
                bestScore = s;
                best = o;
            } else {
                secondScore = std::max(secondScore, s);
            }
        }
    }
    // A poor reading is kept as it is unless another way reads clearly better; a turn is
    // taken only when one way stands out from the others too.
    if (bestScore <= 0 || bestScore < clearMargin * upright)
        return Orientation{};
    if (bestScore < clearMargin * secondScore)
        return std::nullopt;
    return best;
}

} // namespace diagram
