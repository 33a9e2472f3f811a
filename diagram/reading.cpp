#include "diagram/diagram.h"
#include "diagram/glyphs.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/notes.h"
#include "diagram/numbers.h"
#include "diagram/picture.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>

namespace diagram {
namespace {

Result failure(Failure kind, std::string reason)
{
    Result r;
    r.failure = kind;
    r.reason = std::move(reason);
    return r;
}

// Two points that show the same number cannot both be right.
void markRepeats(Board& board)
{
    std::map<int, std::vector<Point*>> byNumber;
    for (Point& p : board.points) {
        if (p.number > 0)
            byNumber[p.number].push_back(&p);
    }
    for (auto& [number, points] : byNumber) {
        if (points.size() < 2)
            continue;
        for (Point* p : points)
            p->unsure = true;
    }
}

Result readGrey(const cv::Mat& grey)
{
    const Ink ink = separateInk(grey);
    std::string reason;
    const auto grid = locateGrid(ink, reason);
    if (!grid)
        return failure(Failure::NoBoard, reason);
    const StraightBoard straight = straighten(ink, *grid);
    const auto looks = classifyStones(straight);

    Result result;
    std::vector<Glyphs> glyphs;
    std::vector<int> where;
    std::vector<std::vector<std::pair<float, float>>> holes;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const StoneLook& look = looks[std::size_t((y - 1) * 19 + (x - 1))];
            Point& p = result.board.at(x, y);
            p.stone = look.stone;
            p.confidence = look.sureness;
            if (look.stone == Stone::Empty)
                continue;
            Glyphs g = cutGlyphs(straight, x, y, look.stone);
            if (g.picture.empty()) {
                // A white stone always carries a number; a black one without is a handicap stone.
                p.unsure = look.stone == Stone::White;
                continue;
            }
            holes.push_back(g.holes);
            glyphs.push_back(std::move(g));
            where.push_back((y - 1) * 19 + (x - 1));
        }
    }
    const std::vector<NumberReading> numbers = readNumbers(glyphs);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Point& p = result.board.points[std::size_t(where[i])];
        p.number = numbers[i].number;
        p.unsure |= zerosByShape(p.number, holes[i], numbers[i].zeroWeighed);
        p.confidence = std::min(p.confidence, numbers[i].confidence);
        if (p.number == 0 || numbers[i].confidence < 0.5f)
            p.unsure = true;
    }
    for (Point& p : result.board.points) {
        if (p.confidence < 0.3f)
            p.unsure = true;
    }
    markRepeats(result.board);
    settleFirstPlayer(result.board);
    mendMisreads(result.board);
    result.notes = readNotes(ink, *grid, result.board);
    return result;
}

Result readPicture(const Picture& picture)
{
    if (picture.failure != Failure::None)
        return failure(picture.failure, picture.reason);
    return readGrey(picture.grey);
}

} // namespace

Result readEncoded(const std::vector<std::uint8_t>& bytes)
{
    return readPicture(decodePicture(bytes));
}

Result readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return failure(Failure::NotAPicture, "The file cannot be read: " + path);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    // An encoded picture within the pixel limit is far smaller than this.
    if (size < 0 || size > 512LL * 1024 * 1024)
        return failure(Failure::TooLarge, "The file is too large to be a picture: " + path);
    in.seekg(0);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (!in)
        return failure(Failure::NotAPicture, "The file cannot be read: " + path);
    return readEncoded(bytes);
}

Result readPixels(int width, int height, int stride, int channels, const std::uint8_t* data)
{
    return readPicture(pictureOfPixels(width, height, stride, channels, data));
}

} // namespace diagram
