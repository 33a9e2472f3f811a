#pragma once

#include "board/go.h"

#include <QByteArray>
#include <QList>

#include <memory>

struct Form;

// The lines of a file as Save writes them; each is followed by CR LF on disk.
using Lines = QList<QByteArray>;

struct LoadedGame;

// Everything a saved file is made of, taken from the form in one place.
struct FileContent {
    // Points ("pd") of moves 1..n, as the move table holds them.
    QList<QByteArray> moves;
    go::FirstPlayer firstPlayer = go::FirstPlayer::Black;
    // Points of the handicap stones, row by row from the top left.
    QList<QByteArray> handicapPoints;
    // The opened file, if any: its header text, its lines, where its moves begin, the line
    // after the one closing its main line, and its main line's node count.
    QByteArray gameInfo;
    Lines loadedLines;
    int firstMoveLine = 0;
    int tailLine = 0;
    int loadedNodeCount = 0;
    // What the parse of the loaded lines found: the root, the main line and its end.
    std::shared_ptr<const LoadedGame> loaded;
};

// Number of consecutive filled MoveTable entries from entry 1, at most HighestMove.
int countMoves(const Form& f);
FileContent fileContentOf(const Form& f);

// The header line of a typed record: with an AB group when there are handicap stones.
QByteArray freshHeaderLine(const FileContent& r);
// Move nodes for moves from+1 .. n, 14 to a line; with closeLast the last line ends with ")".
Lines moveLines(const FileContent& r, int from, int n, bool closeLast);

// The three shapes of a saved file: a typed record's header and moves; an opened file's kept
// header with every move rebuilt from the board (edit mode); the opened file's text with the
// moves typed since spliced into its main line (keep mode).
Lines buildFresh(const FileContent& r);
Lines buildRebuilt(const FileContent& r);
Lines buildSpliced(const FileContent& r);
