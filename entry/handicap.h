#pragma once

#include "board/cellname.h"

#include <QByteArray>
#include <QList>

struct Cell;
struct Form;

// Lays the compact AB lists of GameInfo on the board as numbered, locked handicap stones.
void OkiisiSet(Form& f);

// A loaded handicap stone on its cell: black, locked, its mark.
void layLoadedHandicap(Cell& c);

struct HandicapList {
    // An "AB" stands somewhere in the header, so white moves first.
    bool listed = false;
    // In file order; a stone listed twice comes twice.
    QList<CellPos> points;
};

// The first two "AB" of a header, each followed directly by groups "[" column row "]". A letter
// outside "a".."s" keeps the coordinate of the stone before it; before any, no stone is placed.
HandicapList parseHandicapList(const QByteArray& gameInfo);
