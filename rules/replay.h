#pragma once

#include "board/go.h"
#include "rules/position.h"

#include <QList>
#include <QString>

#include <array>
#include <vector>

struct Form;

namespace rules {

// Where a move got its point from: the number on a cell, or a row of one of the two lists.
struct MoveSource {
    enum Kind { None, Cell, LoadedRow, EditingRow };
    Kind kind = None;
    int cell = NoPoint; // for Cell
    int row = 0;        // for the two lists
    QString text;       // the cell's text or the row's place
};

// What the rules need of a record: the board's texts, the handicap stones, the first player,
// and for every move the point the record gives it so far. Moves are numbered from 1.
struct Replay {
    std::array<QString, Points> labels; // trimmed cell texts
    QList<int> handicap;
    go::FirstPlayer firstPlayer = go::FirstPlayer::Black;
    std::vector<int> points{NoPoint};       // points[k]: move k's point, or NoPoint
    std::vector<MoveSource> sources{{}};    // what gave move k its point, or its unplaced row
    std::vector<int> openRow{0};            // StringGrid2 row of a move whose place is empty

    int last() const { return int(points.size()) - 1; }
    Stone colourOf(int move) const;
    // The point a place names, as the move ordering finds it on the board; NoPoint if none.
    int pointNamed(const QString& place) const;
};

// The record as the move ordering would save it, places tidied as it tidies them.
Replay replayOf(const Form& f);

} // namespace rules
