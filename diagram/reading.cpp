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

bool stopped(const StopFlag* stop);

Result cancelled()
{
    return failure(Failure::Cancelled, "The reading was cancelled.");
}

Result readGrey(const cv::Mat& grey, const StopFlag* stop)
{
    const Ink ink = separateInk(grey);
    if (stopped(stop))
        return cancelled();
    std::string reason;
    const auto grid = locateGrid(ink, reason);
    if (!grid)
        return failure(Failure::NoBoard, reason);
    if (stopped(stop))
        return cancelled();
    const StraightBoard straight = straighten(ink, *grid);
    const auto looks = classifyStones(straight);
    if (stopped(stop))
        return cancelled();

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
    const std::vector<NumberReading> numbers = readNumbers(glyphs, stop);
    if (stopped(stop))
        return cancelled();
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

bool stopped(const StopFlag* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

// Nothing a picture holds may end the program: whatever escapes a stage is a refusal.
Result readGuarded(const cv::Mat& grey, const StopFlag* stop)
{
    try {
        return readGrey(grey, stop);
    } catch (const cv::Exception& e) {
        return failure(Failure::Fault, "The reading failed: " + e.msg);
    } catch (const std::bad_alloc&) {
        return failure(Failure::TooLarge, "The picture is too large for the memory at hand.");
    } catch (const std::exception& e) {
        return failure(Failure::Fault, std::string("The reading failed: ") + e.what());
    }
}

Result readPicture(const Picture& picture, const StopFlag* stop)
{
    Result r = picture.failure != Failure::None ? failure(picture.failure, picture.reason) : readGuarded(picture.grey, stop);
    r.format = picture.format;
    r.pages = picture.pages;
    if (r.failure != Failure::NoBoard)
        return r;
    if (picture.pages > 1) {
        r.reason += " Only the first of the file's " + std::to_string(picture.pages) + " pages was read.";
    }
    return r;
}

} // namespace

Result readEncoded(const std::vector<std::uint8_t>& bytes, const StopFlag* stop)
{
    return readPicture(decodePicture(bytes), stop);
}

Result readFile(const std::string& path, const StopFlag* stop)
{
    return readPicture(loadPicture(path), stop);
}

Result readPixels(int width, int height, int stride, int channels, const std::uint8_t* data, const StopFlag* stop)
{
    return readPicture(pictureOfPixels(width, height, stride, channels, data), stop);
}

} // namespace diagram
