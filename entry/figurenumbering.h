#pragma once

#include <QList>

// How a figure after the first numbers its moves. Books print a long game over several
// figures; the second may go on from the first (101, 102...), start again from 1 under a
// caption "(101-200)", or drop the hundreds, so that 101 is printed as 1.
struct FigureNumbering {
    enum Style { Continued, Restarted, HundredsDropped };
    Style style = Continued;
    // Restarted: the move before the figure's 1. HundredsDropped: the highest move before the
    // figure, after which each printed number stands for the next move that ends in it.
    int base = 0;

    int absolute(int printed) const;
    bool operator==(const FigureNumbering& o) const { return style == o.style && base == o.base; }
};

// The range of moves a figure's caption names ("Figure 2 (101-200)"); 0 where not read.
struct CaptionRange {
    int first = 0;
    int last = 0;
};

// The readings of a figure's printed numbers that fit a record whose highest move is
// `recordHighest`, likeliest first: those that leave fewer of the moves from the record's last
// to the figure's last without a number come first; one that leaves more than a few moves
// before the figure's first number is dropped while another fits. Readings that give every printed number the
// same move are one. Empty when no number is printed.
QList<FigureNumbering> numberingsFor(int recordHighest, const QList<int>& printed, const CaptionRange& caption = {});
