#include "board/go.h"
#include "diagram/diagram.h"

#include <algorithm>
#include <string>
#include <vector>

namespace diagram {
namespace {

bool contradicts(const Point& p, go::FirstPlayer firstPlayer)
{
    return p.stone != go::colourOfMove(p.number, firstPlayer);
}

int contradictions(const Board& board, go::FirstPlayer firstPlayer)
{
    int count = 0;
    for (const Point& p : board.points) {
        if (p.number > 0 && p.stone != Stone::Empty)
            count += contradicts(p, firstPlayer);
    }
    return count;
}

} // namespace

bool oneDigitApart(int first, int second)
{
    const std::string a = std::to_string(first), b = std::to_string(second);
    if (a.size() == b.size()) {
        int differ = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            differ += a[i] != b[i];
        return differ == 1;
    }
    const std::string& longer = a.size() > b.size() ? a : b;
    const std::string& shorter = a.size() > b.size() ? b : a;
    if (longer.size() != shorter.size() + 1)
        return false;
    for (std::size_t i = 0; i < longer.size(); ++i) {
        if (longer.substr(0, i) + longer.substr(i + 1) == shorter)
            return true;
    }
    return false;
}

void settleFirstPlayer(Board& board)
{
    bool handicap = false;
    const Point* lowest = nullptr;
    for (const Point& p : board.points) {
        // Only a black stone with no ink inside is a handicap stone; one whose number was
        // not read is in doubt, and says nothing of who played first.
        if (p.stone == Stone::Black && p.number == 0 && p.mark == 0 && !p.unsure)
            handicap = true;
        if (p.number > 0 && !p.unsure && (!lowest || p.number < lowest->number))
            lowest = &p;
    }
    if (handicap)
        board.firstPlayer = go::FirstPlayer::White;
    else if (lowest)
        board.firstPlayer = lowest->stone == Stone::White ? go::FirstPlayer::White : go::FirstPlayer::Black;
    else
        board.firstPlayer = go::FirstPlayer::Black;

    // One misread stone (a number lost, so a black stone looks like a handicap stone, or a
    // lowest number misread) would otherwise put every other stone in doubt. When most numbers
    // contradict the first player the rules gave, the stones decide, and what misled the
    // rules is in doubt instead.
    const go::FirstPlayer other
        = board.firstPlayer == go::FirstPlayer::Black ? go::FirstPlayer::White : go::FirstPlayer::Black;
    const int against = contradictions(board, board.firstPlayer);
    if (against > contradictions(board, other) && 2 * against > contradictions(board, go::FirstPlayer::Black) + contradictions(board, go::FirstPlayer::White)) {
        board.firstPlayer = other;
        for (Point& p : board.points) {
            if (p.stone == Stone::Black && p.number == 0 && p.mark == 0)
                p.unsure = true;
        }
        if (lowest)
            board.points[std::size_t(lowest - board.points.data())].unsure = true;
    }
    for (Point& p : board.points) {
        if (p.number > 0 && p.stone != Stone::Empty && contradicts(p, board.firstPlayer))
            p.unsure = true;
    }
}

void mendMisreads(Board& board)
{
    std::vector<bool> present(1000, false);
    int highest = 0;
    for (const Point& p : board.points) {
        if (p.number > 0 && p.number < 1000) {
            present[std::size_t(p.number)] = true;
            highest = std::max(highest, p.number);
        }
    }
    for (Point& p : board.points) {
        if (p.number <= 0 || p.stone == Stone::Empty)
            continue;
        if (go::colourOfMove(p.number, board.firstPlayer) == p.stone)
            continue;
        int found = 0, candidates = 0;
        for (int m = 1; m <= highest; ++m) {
            if (!present[std::size_t(m)] && go::colourOfMove(m, board.firstPlayer) == p.stone
                && oneDigitApart(m, p.number)) {
                found = m;
                ++candidates;
            }
        }
        if (candidates == 1) {
            p.number = found;
            p.unsure = true;
            present[std::size_t(found)] = true;
        }
    }
}

} // namespace diagram
