#include "diagram/diagram.h"
#include "diagram/edges.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/network.h"
#include "diagram/notes.h"
#include "diagram/numbers.h"
#include "diagram/orientation.h"
#include "diagram/pagetext.h"
#include "diagram/picture.h"
#include "diagram/seen.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"
#include "diagram/uniqueness.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace diagram {
namespace {

#ifdef __GLIBC__
// A page's stages make and drop pictures of tens of megabytes one after another. Left to
// itself the allocator gives each back to the system and maps the next one afresh, zeroed page
// by page, and on the 2-core machine that took a quarter of a page's time. Pictures up to a
// 300 dpi page's floating-point copy stay in the heap for the next stage and the next page,
// and no more than 128 MB of it is kept unused.
[[maybe_unused]] const bool picturesStayInHeap = [] {
    constexpr int megabyte = 1 << 20;
    mallopt(M_MMAP_THRESHOLD, 64 * megabyte);
    mallopt(M_TRIM_THRESHOLD, 128 * megabyte);
    return true;
}();
#endif

#ifdef __SANITIZE_THREAD__
// OpenCV hands its loops to TBB, whose hand-over ThreadSanitizer cannot see into, so every loop
// would be reported as a race. Run serially there, the loops leave the reports to our own threads.
[[maybe_unused]] const bool loopsRunSerially = [] {
    cv::setNumThreads(1);
    return true;
}();
#endif

Result failure(Failure kind, std::string reason)
{
    Result r;
    r.failure = kind;
    r.reason = std::move(reason);
    return r;
}

// What is printed off the board: the notes drawn as stone icons, and the lines of text.
struct OffBoard {
    std::vector<NoteIcon> icons;
    std::vector<TextLine> lines;
};

// The notes beside the board are read on a thread of their own while the board is read: the
// board's circle search uses one core alone. The thread lasts as long as the program, so its
// number and text readers are made once, and it is never joined (see readOnce).
class NotesThread {
public:
    std::future<OffBoard> read(const Ink& ink, const Grid& grid, const Ink* digitsFrom)
    {
        // Copies, so that a reading stopped early may drop its own picture. The icons' numbers
        // are cut where the board's are.
        std::optional<Ink> digits;
        if (digitsFrom)
            digits = *digitsFrom;
        std::packaged_task<OffBoard()> job(
            [ink, grid, digits] {
                std::vector<NoteIcon> icons = readNoteIcons(ink, grid, digits ? &*digits : nullptr);
                std::vector<cv::Point2d> centres;
                for (const NoteIcon& icon : icons)
                    centres.push_back(icon.onBoard);
                return OffBoard{std::move(icons), readPageText(ink, grid, centres)};
            });
        auto answer = job.get_future();
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
        return answer;
    }

private:
    void run()
    {
        for (;;) {
            std::packaged_task<OffBoard()> job;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                wake_.wait(lock, [this] { return !jobs_.empty(); });
                job = std::move(jobs_.front());
                jobs_.pop_front();
            }
            job();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<OffBoard()>> jobs_;
    std::thread thread_{[this] { run(); }};
};

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

// Below this a stone's look or its number's reading needs a look.
constexpr float leastSureness = 0.3f;

// A stone whose colour alone was in doubt stands when its surely read number, found nowhere
// else on the board and left as read, has the parity of that colour: a misread colour would
// have to meet a misread number of the other parity.
void confirmColours(Board& board, const Board& asRead, const std::array<bool, go::Points>& colourOnly)
{
    std::map<int, int> count;
    for (const Point& p : board.points) {
        if (p.number > 0)
            ++count[p.number];
    }
    for (std::size_t i = 0; i < board.points.size(); ++i) {
        Point& p = board.points[i];
        if (!colourOnly[i] || p.number != asRead.points[i].number || count[p.number] != 1 || p.stone == Stone::Empty)
            continue;
        if (go::colourOfMove(p.number, board.firstPlayer) == p.stone)
            p.unsure = false;
    }
}

// The network's probability of a missing move on a stone read as another, below which the
// stone is not taken for that move. Over the whole sample, a stone misread as another number
// kept either 0.011 or more for its true missing move, or next to nothing (read surely wrong,
// which only a repeat betrays); half of 0.011 leaves room. Right stones weighed above it fall
// from 38 to 17.
constexpr float leastOddsOfAMisreading = 0.005f;

// A number read this far past every other number of the figure, on the board or in a note,
// is no move of it but a misreading with a digit too many: a screen's 43 has been read surely
// as 443, where the game ended at 283. The last moves of a game may all stand in notes of a ko,
// a few of them; not ten.
constexpr int farPastTheEnd = 10;

// The numbers on the board and the moves of the notes read surely.
std::set<int> numbersShown(const Board& board, const std::vector<Note>& notes)
{
    std::set<int> shown;
    for (const Point& p : board.points) {
        if (p.number > 0)
            shown.insert(p.number);
    }
    for (const Note& n : notes) {
        if (!n.unsure && n.move > 0)
            shown.insert(n.move);
    }
    return shown;
}

void doubtPastTheEnd(Board& board, const std::vector<Note>& notes)
{
    std::set<int> shown = numbersShown(board, notes);
    while (shown.size() >= 2 && *shown.rbegin() - *std::next(shown.rbegin()) > farPastTheEnd)
        shown.erase(std::prev(shown.end()));
    const int last = shown.empty() ? 0 : *shown.rbegin();
    for (Point& p : board.points) {
        if (p.number > last)
            p.unsure = true;
    }
}

// At most this share of a whole game's moves may be missing from the board and the notes read
// for the board to be taken as one: a figure of a later part of a game misses all before it.
constexpr double mostMissingShare = 0.1;

// On a whole game's diagram every move up to the last stands once, on the board or in a note:
// a misreading leaves its own move missing. The moves missing, or nothing where too many are
// missing for the board to be taken as a whole game.
std::optional<std::vector<int>> missingMoves(const Board& board, const std::vector<Note>& notes)
{
    int highest = 0;
    for (const Point& p : board.points)
        highest = std::max(highest, p.number);
    const std::set<int> seen = numbersShown(board, notes);
    std::vector<int> missing;
    for (int m = 1; m <= highest; ++m) {
        if (seen.count(m) == 0)
            missing.push_back(m);
    }
    if (highest == 0 || double(missing.size()) > mostMissingShare * highest)
        return std::nullopt;
    return missing;
}

// The missing moves that the stone may be, misread as its number: one digit from it, and
// weighed there by the network at all.
std::vector<int> movesItMayBe(const std::vector<int>& missing, const Point& p, const CellReading& weighed)
{
    std::vector<int> may;
    for (const int m : missing) {
        if (oneDigitApart(m, p.number) && weighed.oddsOf(m) >= leastOddsOfAMisreading)
            may.push_back(m);
    }
    return may;
}

// Of all the odds the network gives a missing move on the stones one digit from it, the share
// that one stone in doubt must hold for the move to be found there: four chances in five.
constexpr float mostOddsOfAMove = 0.8f;

// A missing move weighed on one stone in doubt far above all others is found there, and no
// longer counts against the numbers one digit from it.
// A number that stands twice, where one stone was read surely and may be no missing move while
// the other may be one, is the sure stone's: the other is the misreading, and stays in doubt.
// Where that other may be one missing move alone, that move is found, and no longer counts
// against the numbers one digit from it.
// Then a number read in doubt that stands once, on a stone whose colour was seen surely and is
// its move's, that may be no missing move misread, can be no other move, and its doubt goes.
void confirmByWholeGame(Board& board, const std::vector<Note>& notes, const std::array<bool, go::Points>& colourSure,
                        const std::array<bool, go::Points>& sureAsRead, const std::vector<Weighing>& weighed)
{
    std::optional<std::vector<int>> missing = missingMoves(board, notes);
    if (!missing)
        return;
    std::map<int, std::vector<std::size_t>> byNumber;
    for (std::size_t i = 0; i < board.points.size(); ++i) {
        if (board.points[i].number > 0)
            byNumber[board.points[i].number].push_back(i);
    }
    // A misread number may land past the game's end: the highest number, where the move before
    // it is missing, keeps its doubt.
    const int highest = byNumber.empty() ? 0 : byNumber.rbegin()->first;
    const bool highestAlone = std::count(missing->begin(), missing->end(), highest - 1) != 0;
    const auto standsAlone = [&](std::size_t i) {
        const Point& p = board.points[i];
        return p.unsure && p.mark == 0 && !(highestAlone && p.number == highest) && colourSure[i]
               && p.stone == go::colourOfMove(p.number, board.firstPlayer) && movesItMayBe(*missing, p, weighed[i].first()).empty();
    };
    std::vector<int> found;
    for (const int m : *missing) {
        float best = 0, all = 0;
        bool bestInDoubt = false;
        for (std::size_t i = 0; i < board.points.size(); ++i) {
            const Point& p = board.points[i];
            if (p.number <= 0 || !oneDigitApart(m, p.number))
                continue;
            const CellReading& read = weighed[i].first();
            const float odds = read.oddsOf(m);
            all += odds;
            if (read.weighed && odds > best) {
                best = odds;
                bestInDoubt = p.unsure;
            }
        }
        if (bestInDoubt && best >= leastSureness && best >= mostOddsOfAMove * all)
            found.push_back(m);
    }
    for (const auto& [number, at] : byNumber) {
        if (at.size() != 2)
            continue;
        for (int k = 0; k < 2; ++k) {
            const std::size_t one = at[std::size_t(k)], other = at[std::size_t(1 - k)];
            const std::vector<int> may = movesItMayBe(*missing, board.points[other], weighed[other].first());
            if (sureAsRead[one] && standsAlone(one) && !may.empty()) {
                board.points[one].unsure = false;
                if (may.size() == 1)
                    found.push_back(may[0]);
            }
        }
    }
    for (const int m : found)
        missing->erase(std::remove(missing->begin(), missing->end(), m), missing->end());
    for (const auto& [number, at] : byNumber) {
        if (at.size() == 1 && standsAlone(at[0]))
            board.points[at[0]].unsure = false;
    }
}

bool stopped(const StopFlag* stop);

Result cancelled()
{
    return failure(Failure::Cancelled, "The reading was cancelled.");
}

// What a reading saw of the board before its numbers, kept to tell which way up it is.
struct Sheet {
    StraightBoard straight;
    std::array<StoneLook, go::Points> looks;
};

void see(Seen* seen, const cv::Mat& grey, const Ink& ink, const Grid* grid, const Board* board, const StraightBoard* straight);

// The point network's odds at or above this overrule the stone test: on every committed
// picture no point it was this sure of was wrong, save letters printed on empty points, which
// it takes for white stones and which the stone test sees as empty.
constexpr float networkSure = 0.999f;

// What stands on each point: the stone test, and the point network where it is sure. The stone
// test's thresholds were set on white paper and take a newspaper's dot screen for outlines; the
// network learned every board texture the corpus draws, halftone screens among them.
std::array<StoneLook, go::Points> lookAtPoints(const StraightBoard& straight)
{
    std::array<StoneLook, go::Points> looks = classifyStones(straight);
    // A black stone or an empty point that the test is sure of was never overruled on the
    // sample: only white stones and doubts are weighed, which spares most of the cost.
    std::vector<std::size_t> weighed;
    std::vector<cv::Mat> cells;
    for (std::size_t i = 0; i < looks.size(); ++i) {
        if (looks[i].stone != Stone::White && looks[i].sureness >= 1.0f)
            continue;
        weighed.push_back(i);
        cells.push_back(stoneCell(straight, go::columnOf(int(i)), go::rowOf(int(i)), Stone::White));
    }
    const std::vector<PointOdds> odds = weighPoints(cells);
    for (std::size_t k = 0; k < odds.size(); ++k) {
        const PointOdds& o = odds[k];
        StoneLook& look = looks[weighed[k]];
        const float best = std::max({o.empty, o.black, o.white});
        const Stone seen = best == o.empty ? Stone::Empty : best == o.black ? Stone::Black : Stone::White;
        if (best < networkSure || (seen != Stone::Empty && look.stone == Stone::Empty))
            continue;
        look = {seen, 1.0f};
    }
    return looks;
}

// digitsFrom, where given, is the ink the numbers are cut from, of a picture the same size and
// way up as grey: a screen smoothed away for the board's lines and stones still blurs the digits.
Result readOnce(const cv::Mat& grey, const StopFlag* stop, Sheet& sheet, Seen* seen, const Ink* digitsFrom = nullptr)
{
    const Ink ink = separateInk(grey);
    see(seen, grey, ink, nullptr, nullptr, nullptr);
    if (stopped(stop))
        return cancelled();
    std::string reason;
    auto grid = locateGrid(ink, reason);
    if (!grid)
        return failure(Failure::NoBoard, reason);
    see(seen, grey, ink, &*grid, nullptr, nullptr);
    if (stopped(stop))
        return cancelled();
    // Never joined: at the program's end its Tesseract would be torn down after Tesseract's own
    // caches, which the exit handlers free first, and corrupt the heap on the way out.
    static NotesThread& notesThread = *new NotesThread;
    std::future<OffBoard> offBoard = notesThread.read(ink, *grid, digitsFrom);
    sheet.straight = straighten(ink, *grid);
    sheet.looks = lookAtPoints(sheet.straight);
    // A lattice one line in from a side is moved out over it. One whose lines go on past
    // facing sides, or still go on once moved, leaves every point in doubt.
    bool latticeInDoubt = false;
    if (const unsigned sides = sidesGoingOn(sheet.straight, sheet.looks)) {
        const bool facing = (sides & (Top | Bottom)) == (Top | Bottom) || (sides & (Left | Right)) == (Left | Right);
        latticeInDoubt = true;
        if (!facing) {
            const Grid moved = movedOut(*grid, sides);
            Sheet again{straighten(ink, moved), {}};
            again.looks = lookAtPoints(again.straight);
            if (sidesGoingOn(again.straight, again.looks) == 0) {
                sheet = std::move(again);
                *grid = moved;
                latticeInDoubt = false;
            }
        }
    }
    const StraightBoard& straight = sheet.straight;
    const auto& looks = sheet.looks;
    if (stopped(stop))
        return cancelled();

    Result result;
    std::vector<StoneSpot> spots;
    std::vector<int> where;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const StoneLook& look = looks[std::size_t(go::pointOf(x, y))];
            Point& p = result.board.at(x, y);
            p.stone = look.stone;
            p.confidence = look.sureness;
            if (look.stone == Stone::Empty)
                continue;
            spots.push_back({x, y, look.stone});
            where.push_back(go::pointOf(x, y));
        }
    }
    const std::vector<StoneNumber> numbers
        = readStoneNumbers(digitsFrom ? straighten(*digitsFrom, *grid) : straight, spots, stop);
    if (stopped(stop))
        return cancelled();
    // Doubt of a stone's colour alone, where its number was read surely: the number's parity
    // can still settle it once the first player is known.
    std::array<bool, go::Points> colourOnly{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        Point& p = result.board.points[std::size_t(where[i])];
        const bool numberSure = !numbers[i].unsure && numbers[i].confidence >= leastSureness && numbers[i].number > 0;
        colourOnly[std::size_t(where[i])] = numberSure && p.confidence < leastSureness;
        p.number = numbers[i].number;
        p.mark = numbers[i].mark;
        p.unsure = numbers[i].unsure;
        p.confidence = std::min(p.confidence, numbers[i].confidence);
    }
    for (Point& p : result.board.points) {
        if (p.confidence < leastSureness || (latticeInDoubt && p.stone != Stone::Empty))
            p.unsure = true;
    }
    result.latticeInDoubt = latticeInDoubt;
    std::array<bool, go::Points> sureAsRead{};
    for (std::size_t i = 0; i < sureAsRead.size(); ++i)
        sureAsRead[i] = !result.board.points[i].unsure;
    markRepeats(result.board);
    const Board asRead = result.board;
    settleFirstPlayer(result.board);
    mendMisreads(result.board);
    confirmColours(result.board, asRead, colourOnly);
    const OffBoard off = offBoard.get();
    result.notes = checkNotes(off.icons, result.board);
    const PageWords words = parsePageWords(off.lines);
    addTextNotes(result.notes, words.notes, result.board);
    std::array<bool, go::Points> colourSure{};
    for (std::size_t i = 0; i < colourSure.size(); ++i)
        colourSure[i] = looks[i].sureness >= leastSureness;
    // Where the lattice itself is in doubt, no number is settled by the others.
    std::vector<Weighing> weighed(latticeInDoubt ? 0 : go::Points);
    for (std::size_t i = 0; i < numbers.size() && !weighed.empty(); ++i) {
        Weighing& w = weighed[std::size_t(where[i])];
        w.cuts.push_back(numbers[i].network);
        if (numbers[i].closer.weighed)
            w.cuts.push_back(numbers[i].closer);
    }
    if (!weighed.empty())
        confirmByWholeGame(result.board, result.notes, colourSure, sureAsRead, weighed);
    for (const Point& p : result.board.points) {
        result.pointsInDoubtAsRead += p.unsure;
        result.stonesInDoubtAsRead += p.unsure && p.stone != Stone::Empty;
    }
    if (!weighed.empty())
        settleByUniqueness(result.board, result.notes, colourSure, weighed);
    doubtPastTheEnd(result.board, result.notes);
    result.captionFirst = words.caption.first;
    result.captionLast = words.caption.last;
    see(seen, grey, ink, &*grid, &result.board, &straight);
    return result;
}

// A reading that doubts this many of its stones may be of a picture turned or mirrored.
constexpr double doubtOfATurn = 0.3;

double doubtOf(const Result& read)
{
    const auto stones = std::count_if(read.board.points.begin(), read.board.points.end(),
                                      [](const Point& p) { return p.stone != Stone::Empty; });
    return stones > 0 ? double(read.stonesInDoubtAsRead) / double(stones) : 0.0;
}

// A reading that doubts nearly every stone has read nothing: a page turned a quarter turn
// doubts them all, an upright page that is merely hard to read far fewer. Where no way up reads
// clearly better, the first is refused and the second kept, its doubts marked.
constexpr double doubtOfNothingRead = 0.9;
// Small digits can read a little better sideways by chance: the whole board read the other
// way must doubt at most this share of the stones the upright reading doubts.
constexpr double doubtOfTheOtherWay = 0.5;

bool mayBeTurned(const Result& read)
{
    return doubtOf(read) > doubtOfATurn;
}

Result readGrey(const cv::Mat& grey, const StopFlag* stop, Seen* seen)
{
    Sheet sheet;
    Result upright = readOnce(grey, stop, sheet, seen);
    if (upright.failure != Failure::None || !mayBeTurned(upright))
        return upright;
    const std::optional<Orientation> way = bestOrientation(sheet.straight, sheet.looks, stop);
    if (stopped(stop))
        return cancelled();
    if (!way && doubtOf(upright) < doubtOfNothingRead)
        return upright;
    if (!way)
        return failure(Failure::Turned, "The numbers read no better one way up than another: the picture may be "
                                        "turned or mirrored, or its numbers too small.");
    if (way->upright())
        return upright;
    Seen aside;
    aside.straightOnly = seen && seen->straightOnly;
    Result again = readOnce(turned(grey, *way), stop, sheet, seen ? &aside : nullptr);
    if (again.failure != Failure::None || doubtOf(again) > doubtOfTheOtherWay * doubtOf(upright))
        return stopped(stop) ? cancelled() : upright;
    if (seen)
        *seen = std::move(aside);
    again.quarterTurns = way->quarterTurns;
    again.mirrored = way->mirrored;
    return again;
}

// A newspaper prints its greys as a screen of dots, which the cut between ink and paper takes
// for ink: half the empty points turn into stones, each in doubt. No other picture read so far
// doubts even 5% of its points. Such a reading is tried again on the picture smoothed past the
// screen, and the reading that doubts the fewest points is kept. The numbers are still cut from
// the picture as it is: the network learned digits on a screen, and reads them surer there than
// blurred. The two strengths clear screens of about 3 to 5 pixels; a stronger one wipes the thin
// outlines of small white stones, which then read as empty points, and surely.
constexpr double doubtOfAScreen = 1.0 / 6;
constexpr std::array<double, 2> screenSmoothing{1.5, 2.0};

Result readScreened(const cv::Mat& grey, const StopFlag* stop, Seen* seen)
{
    Result best = readGrey(grey, stop, seen);
    if (best.failure != Failure::None || best.pointsInDoubtAsRead < doubtOfAScreen * go::Points)
        return best;
    // The caption is set in solid ink, not screened: smoothing only blurs its letters.
    const int captionFirst = best.captionFirst, captionLast = best.captionLast;
    // The way up is the first reading's: the screen hid no more of it than of the numbers.
    const Orientation way{best.quarterTurns, best.mirrored};
    const Ink digits = separateInk(turned(grey, way));
    for (const double sigma : screenSmoothing) {
        cv::Mat smooth;
        cv::GaussianBlur(grey, smooth, cv::Size(), sigma);
        Seen aside;
        aside.straightOnly = seen && seen->straightOnly;
        Sheet sheet;
        Result again = readOnce(turned(smooth, way), stop, sheet, seen ? &aside : nullptr, &digits);
        again.quarterTurns = way.quarterTurns;
        again.mirrored = way.mirrored;
        again.captionFirst = captionFirst;
        again.captionLast = captionLast;
        if (stopped(stop))
            return cancelled();
        if (again.failure != Failure::None || again.pointsInDoubtAsRead >= best.pointsInDoubtAsRead)
            continue;
        best = std::move(again);
        if (seen)
            *seen = std::move(aside);
    }
    return best;
}

bool stopped(const StopFlag* stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

// Nothing a picture holds may end the program: whatever escapes a stage is a refusal.
Result readGuarded(const cv::Mat& grey, const StopFlag* stop, Seen* seen)
{
    try {
        return readScreened(grey, stop, seen);
    } catch (const cv::Exception& e) {
        return failure(Failure::Fault, "The reading failed: " + e.msg);
    } catch (const std::bad_alloc&) {
        return failure(Failure::TooLarge, "The picture is too large for the memory at hand.");
    } catch (const std::exception& e) {
        return failure(Failure::Fault, std::string("The reading failed: ") + e.what());
    }
}

Result readPicture(const Picture& picture, const StopFlag* stop, Seen* seen = nullptr)
{
    Result r = picture.failure != Failure::None ? failure(picture.failure, picture.reason) : readGuarded(picture.grey, stop, seen);
    r.format = picture.format;
    r.pages = picture.pages;
    if (r.failure != Failure::NoBoard)
        return r;
    if (picture.pages > 1) {
        r.reason += " Only the first of the file's " + std::to_string(picture.pages) + " pages was read.";
    }
    return r;
}

void see(Seen* seen, const cv::Mat& grey, const Ink& ink, const Grid* grid, const Board* board, const StraightBoard* straight)
{
    if (!seen)
        return;
    if (seen->straightOnly) {
        if (board && straight)
            seen->straight = straight->even;
        return;
    }
    if (!grid) {
        seen->grey = grey;
        seen->ink = ink.dark;
        seen->faint = ink.faint;
        return;
    }
    cv::cvtColor(grey, seen->lattice, cv::COLOR_GRAY2BGR);
    const int width = std::max(1, int(std::lround(grid->pitch / 16)));
    for (int k = 1; k <= go::BoardSize; ++k) {
        cv::line(seen->lattice, onPicture(*grid, k, 1), onPicture(*grid, k, go::BoardSize), {0, 0, 255}, width, cv::LINE_AA);
        cv::line(seen->lattice, onPicture(*grid, 1, k), onPicture(*grid, go::BoardSize, k), {0, 0, 255}, width, cv::LINE_AA);
    }
    if (!board || !straight)
        return;
    seen->straight = straight->even;
    seen->crops.clear();
    const int half = boardPitch * 5 / 8;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const Point& p = board->at(x, y);
            if (p.stone == Stone::Empty)
                continue;
            const cv::Rect cut(x * boardPitch - half, y * boardPitch - half, 2 * half, 2 * half);
            std::string name = std::to_string(x) + "_" + std::to_string(y) + (p.stone == Stone::Black ? "_black_" : "_white_")
                               + std::to_string(p.number) + (p.unsure ? "_unsure" : "");
            seen->crops.emplace_back(std::move(name), straight->even(cut).clone());
        }
    }
}

} // namespace

Result readFileSeen(const std::string& path, Seen& seen)
{
    seen = Seen{};
    return readPicture(loadPicture(path), nullptr, &seen);
}

Result readFileSeen(const std::string& path, Seen& seen, const StopFlag* stop)
{
    seen = Seen{{}, {}, {}, {}, {}, {}, seen.straightOnly};
    return readPicture(loadPicture(path), stop, &seen);
}

Result readEncodedSeen(const std::vector<std::uint8_t>& bytes, Seen& seen, const StopFlag* stop)
{
    seen = Seen{{}, {}, {}, {}, {}, {}, seen.straightOnly};
    return readPicture(decodePicture(bytes), stop, &seen);
}

Result readPixelsSeen(int width, int height, int stride, int channels, const std::uint8_t* data, Seen& seen,
                      const StopFlag* stop)
{
    seen = Seen{{}, {}, {}, {}, {}, {}, seen.straightOnly};
    return readPicture(pictureOfPixels(width, height, stride, channels, data), stop, &seen);
}

bool writeSeen(const Seen& seen, const std::string& dir)
{
    const auto write = [&](const std::string& name, const cv::Mat& m) {
        return m.empty() || writePng(dir + "/" + name + ".png", m);
    };
    bool all = write("1_picture", seen.grey) && write("2_ink", seen.ink) && write("3_faint", seen.faint)
               && write("4_lattice", seen.lattice) && write("5_straight", seen.straight);
    for (const auto& [name, crop] : seen.crops)
        all = write("stone_" + name, crop) && all;
    return all;
}

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
