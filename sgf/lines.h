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
