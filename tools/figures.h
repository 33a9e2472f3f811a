#pragma once

#include "diagram/diagram.h"

#include <functional>

// ranvel_read --sgf OUT.sgf FIGURE...: the figures of one game read in order onto one record,
// the first as a picture pasted onto an empty window, each next one as its next figure, then
// saved by the window's own Save. The processing log goes to standard output; boxes, the
// points left in doubt and the list rows without a place to standard error. Exit status: 0 saved with nothing in doubt, 3 saved with
// points in doubt, 1 a picture not read or the record not saved, 2 a wrong command line.
using ReadPicture = std::function<diagram::Result(const char* path, const char* dump)>;
int readFigures(int argc, char** argv, const ReadPicture& read);
