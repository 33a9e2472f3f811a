#pragma once

#include <QString>

struct Form;

// The entry of a pass: the point past the edge of a 19x19 board, as SGF writes a pass there.
inline const QString PassEntry = QStringLiteral("tt");

// Gives each pass of the opened file's main line its entry, where neither the board nor a
// list has given that number a point: a pass has a move number and no stone to show it.
void addLoadedPasses(Form& f);
