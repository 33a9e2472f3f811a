#pragma once

// The lines of text printed around the board (caption, notes, commentary), found on the page
// and read with Tesseract. The board itself and the coordinates beside it are left out.

#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/notegrammar.h"

#include <vector>

namespace diagram {

// In reading order, nearest the board first within each side; empty when Tesseract or its
// language data cannot be had. The stone icons of notes, at `icons` in board coordinates, are
// read as stones and left out of the text.
std::vector<TextLine> readPageText(const Ink& ink, const Grid& grid, const std::vector<cv::Point2d>& icons = {});

} // namespace diagram
