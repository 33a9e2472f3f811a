#include "diagram/diagram.h"

namespace diagram {

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
    // Odd numbers are the first player's stones.
    for (Point& p : board.points) {
        if (p.number == 0 || p.stone == Stone::Empty)
            continue;
        const bool firstPlayers = p.number % 2 == 1;
        const bool black = p.stone == Stone::Black;
        if (firstPlayers != (black == (board.firstPlayer == 0)))
            p.unsure = true;
    }
}

} // namespace diagram
