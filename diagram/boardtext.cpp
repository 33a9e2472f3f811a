#include "diagram/diagram.h"

namespace diagram {

std::string boardText(const Board& board)
{
    std::string text;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const Point& p = board.at(x, y);
            if (x > 1)
                text += ' ';
            // A stone whose number was not read shows only the doubt.
            if (p.stone == Stone::Empty)
                text += '.';
            else if (p.number > 0)
                text += std::to_string(p.number);
            else if (p.stone == Stone::Black)
                text += 'B';
            if (p.unsure || (p.stone == Stone::White && p.number == 0))
                text += '?';
        }
        text += '\n';
    }
    return text;
}

} // namespace diagram
