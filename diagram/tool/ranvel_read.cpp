// Reads a picture of a numbered full-game diagram and prints the board, one line per row;
// with --notes, then the notes beside the diagram, one line each.

#include "diagram/diagram.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

namespace {

// The image decoders report damage on standard error themselves; the tool's one line says it.
diagram::Result readQuietly(const char* path)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    const diagram::Result result = diagram::readFile(path);
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0)
        close(null);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    const bool notes = argc > 1 && std::strcmp(argv[1], "--notes") == 0;
    if (argc != 2 + int(notes)) {
        std::fprintf(stderr, "usage: ranvel_read [--notes] PICTURE\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const diagram::Result result = readQuietly(path);
    if (result.failure != diagram::Failure::None) {
        std::fprintf(stderr, "%s: %s\n", path, result.reason.c_str());
        return 1;
    }
    if (result.quarterTurns != 0 || result.mirrored)
        std::fprintf(stderr, "%s: read after %s%d quarter turn%s clockwise\n", path, result.mirrored ? "mirroring and " : "",
                     result.quarterTurns, result.quarterTurns == 1 ? "" : "s");
    std::fputs(diagram::boardText(result.board).c_str(), stdout);
    if (notes)
        std::fputs(diagram::notesText(result.notes).c_str(), stdout);
    return 0;
}
