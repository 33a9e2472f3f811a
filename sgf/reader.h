#pragma once

#include "sgf/dialect.h"

#include <QByteArray>
#include <QList>

// The text of a file as lines. Lines end at CR, LF or CR LF; a last line without an end
// counts; a NUL byte ends the text. The bytes are kept as they are.
Lines splitLines(const QByteArray& text);

// Index of the first line after line 0 that holds ";": where the moves begin. 0 when none does.
int findFirstMoveLine(const Lines& lines);

// The first count lines joined with nothing between them.
QByteArray concatLines(const Lines& lines, int count);

struct ScannedMove {
    int number = 0;
    int x = 0;
    int y = 0;
    bool black = false;
};

struct MoveScan {
    // In file order; a point may come twice, the later move falling on an occupied point.
    QList<ScannedMove> moves;
    int nodeCount = 0;
    // Index of the line holding the first ")" + 1; 0 when there is none.
    int tailLine = 0;
};

// Reads the main line from lines[from] up to the first ")" that stands outside a bracketed
// value, one byte at a time: every ";" is a node, the first value of a node gives its point,
// "B" and "W" in the property name its colour.
MoveScan scanMoves(const Lines& lines, int from);

// Where that ")" stands: its line and its byte in the line; line -1 when there is none.
struct MainLineClose {
    int line = -1;
    qsizetype at = -1;
};
MainLineClose findMainLineClose(const Lines& lines, int from);
