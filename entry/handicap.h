#pragma once

struct Form;

// Lays the compact AB lists of GameInfo on the board as numbered, locked handicap stones.
void OkiisiSet(Form& f);
