#pragma once

// The notes printed beside a diagram for the moves played where a stone already stands, as
// sgf2dg prints them: stone icons with their numbers, "152 at 67", and "236, 243 at 134" when
// several moves share a point.

#include "diagram/diagram.h"
#include "diagram/grid.h"
#include "diagram/lighting.h"
#include "diagram/notegrammar.h"

#include <vector>

namespace diagram {

struct NoteIcon {
    cv::Point2d onBoard; // board coordinates, which go on past the board over the flat page
    double radius = 0; // in pitches, as the circle was found
    Stone stone = Stone::Empty;
    int number = 0;
    char mark = 0; // a letter or sign printed instead of a number
    bool unsure = false;
};

// The icons are read from the picture alone, so they can be read while the board is. A screened
// page is read smoothed, and its digits, where given, from the picture as it is.
std::vector<NoteIcon> readNoteIcons(const Ink& ink, const Grid& grid, const Ink* digits = nullptr);
// The board, already read, is what a note is checked against.
std::vector<Note> checkNotes(const std::vector<NoteIcon>& icons, const Board& board);
// The notes printed as text, checked against the board as the icons are, joined to those of the
// icons: a move that both give alike is kept once, one they give apart is in doubt in both.
// Notes that name no place ("N 取る") are left out.
void addTextNotes(std::vector<Note>& notes, const std::vector<TextNote>& read, const Board& board);

} // namespace diagram
