#pragma once

// The notes printed beside a diagram for the moves played where a stone already stands, as
// sgf2dg prints them: stone icons with their numbers, "152 at 67", and "236, 243 at 134" when
// several moves share a point.

#include "diagram/diagram.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"

#include <vector>

namespace diagram {

// The board, already read, is what a note is checked against.
std::vector<Note> readNotes(const Ink& ink, const Grid& grid, const Board& board);

} // namespace diagram
