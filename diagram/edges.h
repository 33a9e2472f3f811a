#pragma once

// A board's lines end at its edges. A lattice fitted one line in from a side (a row of
// coordinates taken for the first row) sees them go on past that side: every point of the
// reading would then be one line off.

#include "diagram/grid.h"
#include "diagram/stones.h"
#include "diagram/straightening.h"

#include <array>

namespace diagram {

enum Side : unsigned { Top = 1u, Bottom = 2u, Left = 4u, Right = 8u };

// The sides past which the lattice's lines go on, looked at beside the empty points of each
// side, where no stone hides the line.
unsigned sidesGoingOn(const StraightBoard& board, const std::array<StoneLook, go::Points>& looks);

// The lattice moved one line out over each of `sides`; sides facing each other cannot both be.
Grid movedOut(const Grid& grid, unsigned sides);

} // namespace diagram
