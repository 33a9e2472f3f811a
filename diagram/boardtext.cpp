#include "diagram/diagram.h"

namespace diagram {

std::string boardText(const Board& board)
{
    std::string text;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const Point& p = board.at(x, y);
            if (x > 1)
                text += ' ';
            // A stone whose number was not read shows only the doubt.
            if (p.stone == Stone::Empty)
                text += '.';
            else if (p.number > 0)
                text += std::to_string(p.number);
            else if (p.mark != 0)
                text += p.mark;
            else if (p.stone == Stone::Black)
                text += 'B';
            if (p.unsure || (p.stone == Stone::White && p.number == 0 && p.mark == 0))
                text += '?';
        }
        text += '\n';
    }
    return text;
}

std::string notesText(const std::vector<Note>& notes)
{
    std::string text;
    for (const Note& n : notes) {
        const std::string place = n.at > 0 ? std::to_string(n.at) : n.atMark != 0 ? std::string(1, n.atMark) : "B";
        text += std::to_string(n.move) + (n.pass ? " pass" : " at " + place);
        text += n.unsure ? "?\n" : "\n";
    }
    return text;
}

} // namespace diagram
