#include "diagram/diagram.h"

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

} // namespace

void settleFirstPlayer(Board& board)
{
    bool handicap = false;
    const Point* lowest = nullptr;
    for (const Point& p : board.points) {
        if (p.stone == Stone::Black && p.number == 0)
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

} // namespace diagram
