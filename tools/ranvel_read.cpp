// Reads a picture of a numbered full-game diagram and prints the board, one line per row;
// with --notes, then the notes beside the diagram, one line each; with --dump DIR, also the
// pictures of what each stage saw, into DIR. With --sgf OUT.sgf, reads the figures of one game
// in order onto one record, as the window does, and saves it as the window's Save does.

#include "diagram/diagram.h"
#include "diagram/seen.h"
#include "tools/figures.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QString>

#include <fcntl.h>
#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <io.h>

#include <string>
#include <vector>
#endif

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

// The image decoders report damage on standard error themselves; the tool's one line says it.
diagram::Result readQuietly(const char* path, const char* dump)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open(QProcess::nullDevice().toLocal8Bit().constData(), O_WRONLY);
    if (saved >= 0 && null >= 0)
        dup2(null, STDERR_FILENO);
    diagram::Seen seen;
    const diagram::Result result = dump ? diagram::readFileSeen(path, seen) : diagram::readFile(path);
    std::fflush(stderr);
    if (saved >= 0) {
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
    if (null >= 0)
        close(null);
    if (dump) {
        std::error_code ignored;
        std::filesystem::create_directory(std::filesystem::u8path(dump), ignored);
        if (!diagram::writeSeen(seen, dump))
            std::fprintf(stderr, "%s: not every stage could be written into %s\n", path, dump);
    }
    return result;
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The same bytes as on Linux: no carriage return before each line's end.
    _setmode(_fileno(stdout), _O_BINARY);
    // Windows hands the arguments over in its ANSI code page, which holds no Japanese name:
    // they are taken again from the wide command line, as UTF-8 as on Linux.
    int wideCount = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
    std::vector<std::string> utf8;
    std::vector<char*> pointers;
    for (int k = 0; wide && k < wideCount; ++k)
        utf8.push_back(QString::fromWCharArray(wide[k]).toStdString());
    if (wide && wideCount == argc) {
        for (std::string& one : utf8)
            pointers.push_back(one.data());
        pointers.push_back(nullptr);
        argv = pointers.data();
    }
    LocalFree(wide);
    // Without an application object Qt looks for its image format plugins (TIFF, WebP) only
    // where it was built; they are installed beside the program.
    wchar_t self[MAX_PATH];
    if (const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH); n > 0 && n < MAX_PATH)
        QCoreApplication::addLibraryPath(QFileInfo(QString::fromWCharArray(self, int(n))).absolutePath());
#endif
    if (argc >= 2 && std::strcmp(argv[1], "--sgf") == 0)
        return readFigures(argc, argv, readQuietly);
    bool notes = false;
    const char* dump = nullptr;
    int i = 1;
    for (; i < argc - 1; ++i) {
        if (std::strcmp(argv[i], "--notes") == 0)
            notes = true;
        else if (std::strcmp(argv[i], "--dump") == 0 && i + 2 < argc)
            dump = argv[++i];
        else
            break;
    }
    if (i != argc - 1) {
        std::fprintf(stderr, "usage: ranvel_read [--notes] [--dump DIR] PICTURE\n"
                             "       ranvel_read --sgf OUT.sgf FIGURE1 [FIGURE2...]\n");
        return 2;
    }
    const char* path = argv[argc - 1];
    const diagram::Result result = readQuietly(path, dump);
    if (result.failure != diagram::Failure::None) {
        std::fprintf(stderr, "%s: %s\n", path, result.reason.c_str());
        return 1;
    }
    if (result.quarterTurns != 0 || result.mirrored)
        std::fprintf(stderr, "%s: read after %s%d quarter turn%s clockwise\n", path, result.mirrored ? "mirroring and " : "",
                     result.quarterTurns, result.quarterTurns == 1 ? "" : "s");
    if (result.captionFirst > 0)
        std::fprintf(stderr, "%s: the caption names moves %d to %d\n", path, result.captionFirst, result.captionLast);
    if (result.latticeInDoubt)
        std::fprintf(stderr, "%s: the board's lines go on past an edge; every point may be a line off\n", path);
    std::fputs(diagram::boardText(result.board).c_str(), stdout);
    if (notes)
        std::fputs(diagram::notesText(result.notes).c_str(), stdout);
    return 0;
}
