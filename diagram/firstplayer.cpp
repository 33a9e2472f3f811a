#include "diagram/diagram.h"

#include <algorithm>
#include <string>
#include <vector>

namespace diagram {
namespace {

// Odd numbers are the first player's stones.
bool contradicts(const Point& p, int firstPlayer)
{
    const bool firstPlayers = p.number % 2 == 1;
    const bool black = p.stone == Stone::Black;
    return firstPlayers != (black == (firstPlayer == 0));
}

int contradictions(const Board& board, int firstPlayer)
{
    int count = 0;
    for (const Point& p : board.points) {
        if (p.number > 0 && p.stone != Stone::Empty)
            count += contradicts(p, firstPlayer);
    }
    return count;
}

// Whether two numbers' digits differ by one digit changed, lost or added.
bool oneDigitApart(const std::string& a, const std::string& b)
{
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

} // namespace

void settleFirstPlayer(Board& board)
{
    bool handicap = false;
    const Point* lowest = nullptr;
    for (const Point& p : board.points) {
        // Only a black stone with no ink inside is a handicap stone; one whose number was
        // not read is in doubt, and says nothing of who played first.
        if (p.stone == Stone::Black && p.number == 0 && !p.unsure)
            handicap = true;
        if (p.number > 0 && !p.unsure && (!lowest || p.number < lowest->number))
            lowest = &p;
    }
    if (handicap)
        board.firstPlayer = 1;
    else if (lowest)
        board.firstPlayer = lowest->stone == Stone::White ? 1 : 0;
    else
        board.firstPlayer = 0;

    // One misread stone (a number lost, so a black stone looks like a handicap stone, or a
    // lowest number misread) would otherwise put every other stone in doubt. When most numbers
    // contradict the first player the rules gave, the stones decide, and what misled the
    // rules is in doubt instead.
    const int other = 1 - board.firstPlayer;
    const int against = contradictions(board, board.firstPlayer);
    if (against > contradictions(board, other) && 2 * against > contradictions(board, 0) + contradictions(board, 1)) {
        board.firstPlayer = other;
        for (Point& p : board.points) {
            if (p.stone == Stone::Black && p.number == 0)
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
        const bool firstPlayers = (p.stone == Stone::Black) == (board.firstPlayer == 0);
        if ((p.number % 2 == 1) == firstPlayers)
            continue;
        int found = 0, candidates = 0;
        for (int m = 1; m <= highest; ++m) {
            if (!present[std::size_t(m)] && (m % 2 == 1) == firstPlayers
                && oneDigitApart(std::to_string(m), std::to_string(p.number))) {
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
