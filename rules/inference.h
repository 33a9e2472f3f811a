#pragma once

#include "rules/position.h"

#include <atomic>

#include <QList>

namespace rules {

struct Replay;

// A move the record cannot have been played as: on a point whose stone was never captured,
// a suicide, a ko taken back at once, or a move off the diagram with no point left for it.
struct IllegalMove {
    enum Reason { Occupied, Suicide, Ko, NoPoint };
    int move = 0;
    int point = rules::NoPoint;
    Reason reason = Occupied;
    // For Occupied, the move whose stone stands there (0 for a handicap stone).
    int occupant = 0;
};

// A move that the record does not place, with the points a legal game allows for it.
struct OpenMove {
    int move = 0;
    int row = 0; // its StringGrid2 row, 0 when the list does not hold it
    // Every point that some legal game gives it; one alone when the place is certain.
    QList<int> candidates;
    bool certain = false;
};

struct Inference {
    QList<OpenMove> open;
    QList<IllegalMove> illegal;
    // No legal game was found but the search ran to its end: the record has a fault.
    bool contradicts = false;
    // The search reached its bound: the candidates are those seen so far, nothing is certain.
    bool stopped = false;
    // Stopped from outside before its end: nothing of it is to be used.
    bool cancelled = false;
};

// Bounds the work of one inference, counted in points tried: some 15 ms on a 300-move record.
// The replays of the known moves between tries are not counted: with all 499 list rows open it
// takes some 135 ms, which is why the window runs it beside its event loop.
constexpr long DefaultBudget = 200000;

// Replays the record, searching every way of placing its open moves on the points of captured
// stones that keeps the game legal.
Inference infer(const Replay& record, long budget = DefaultBudget, const std::atomic<bool>* stop = nullptr);

} // namespace rules
