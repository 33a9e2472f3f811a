#pragma once

#include <QByteArray>
#include <QList>

struct Form;

// The lines of a file as Save writes them; each is followed by CR LF on disk.
using Lines = QList<QByteArray>;

// Number of consecutive filled MoveTable entries from entry 1, at most HighestMove.
int countMoves(const Form& f);
// The header line made from the board: with an AB group per cell whose text begins with "B".
QByteArray freshHeaderLine(const Form& f);
// Move nodes for moves from+1 .. n, 14 to a line; with closeLast the last line ends with ")".
Lines moveLines(const Form& f, int from, int n, bool closeLast);

// The three shapes of a saved file: a typed record's header and moves; an opened file's kept
// header with every move rebuilt from the board (edit mode); the opened file's text with the
// moves typed since spliced into its main line (keep mode).
Lines buildFresh(const Form& f);
Lines buildRebuilt(const Form& f);
Lines buildSpliced(const Form& f);
