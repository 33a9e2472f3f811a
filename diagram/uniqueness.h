#pragma once

// Every number stands once on a figure: a number in doubt is settled by the others.

#include "diagram/diagram.h"
#include "diagram/network.h"

#include <array>
#include <vector>

namespace diagram {

// What the network weighed for one point: one reading, or two of the same stone cut two ways.
struct Weighing {
    std::vector<CellReading> cuts;
    // The odds of `number` over the cuts, 0 where none was weighed.
    float oddsOf(int number) const;
    // The stone as cut first, or nothing weighed.
    const CellReading& first() const;
};

// The likeliest placing of the numbers in doubt, each number once and of its stone's colour,
// the numbers on stones read surely and the moves of sure notes taken already; on a whole
// game's figure, with every move up to the last placed where the odds allow. A stone placed on
// another number than it showed takes that number; where no other placing comes near, its
// doubt goes. Stones whose colour is in doubt are left as they are.
void settleByUniqueness(Board& board, const std::vector<Note>& notes, const std::array<bool, go::Points>& colourSure,
                        const std::vector<Weighing>& weighed);

} // namespace diagram
