// Reads a picture of a numbered full-game diagram and prints the board, one line per row.

#include "diagram/diagram.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ranvel_read PICTURE\n");
        return 2;
    }
    const diagram::Result result = diagram::readFile(argv[1]);
    if (result.failure != diagram::Failure::None) {
        std::fprintf(stderr, "%s: %s\n", argv[1], result.reason.c_str());
        return 1;
    }
    std::fputs(diagram::boardText(result.board).c_str(), stdout);
    return 0;
}
