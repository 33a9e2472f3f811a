#pragma once

// The lines of text printed around the board (caption, notes, commentary), found on the page
// and read with Tesseract. The board itself and the coordinates beside it are left out.

#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/notegrammar.h"

#include <vector>

namespace diagram {

// In reading order, nearest the board first within each side; empty when Tesseract or its
// language data cannot be had.
std::vector<TextLine> readPageText(const Ink& ink, const Grid& grid);

} // namespace diagram
