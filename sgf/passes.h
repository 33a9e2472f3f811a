#pragma once

#include "board/limits.h"

struct Form;

// Gives each pass of the opened file's main line, and of a reading's notes, its entry, where
// neither the board nor a list has given that number a point: a pass has a move number and no
// stone to show it.
void addLoadedPasses(Form& f);
