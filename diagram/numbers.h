#pragma once

// Numbers read from the digits cut out of the stones.

#include "diagram/glyphs.h"
#include "diagram/network.h"
#include "diagram/straightening.h"

#include <utility>
#include <vector>

namespace diagram {

struct NumberReading {
    int number = 0;        // 0 when nothing was read
    float confidence = 0;  // 0..1
    // Bit i set: the i-th digit from the left was read as 6 or 8 with a 0 weighed as well.
    unsigned zeroWeighed = 0;
};

// One reading for each stone's digits, in the same order.
// Stops early, with the rest unread, when `stop` is set.
std::vector<NumberReading> readNumbers(const std::vector<Glyphs>& glyphs, const StopFlag* stop = nullptr);

// A small bold 0 is often read as 6. A 6 encloses its hole in its lower part, a 0 about its
// middle, however blur shrinks it; where the shapes are one per digit, the hole decides, and
// where blur has closed the hole nothing does. A 6 or 8 left for which the network also
// weighed a 0 stays in doubt: its parity may fit by chance. Mends `number` with the holes of
// its glyphs; returns whether a doubt remains.
bool zerosByShape(int& number, const std::vector<std::pair<float, float>>& holes, unsigned zeroWeighed);

// A stone of a straightened sheet, and the number read on it by the one stage that reads
// them all, for the board and for the notes alike.
struct StoneSpot {
    int x = 0, y = 0; // on the sheet's lattice
    Stone stone = Stone::Black;
};

struct StoneNumber {
    int number = 0;        // 0 when none was read
    float confidence = 0;  // 0..1
    bool unsure = true;
    bool ink = false;      // something was printed inside the stone
    // A letter or sign printed instead of a number, that notes name ("73 at a"); 0 for none.
    char mark = 0;
    // What the network weighed, whatever reading stood, and of small digits cut closer.
    CellReading network;
    CellReading closer;
};

// A lone shape that Tesseract, offered letters as well as digits, reads as a letter, in lower
// case: notes name labels in either case ("at a", "A に").
struct Letter {
    char letter = 0; // 0 where a digit or nothing was read
    bool sure = false;
};
std::vector<Letter> readLetters(const std::vector<Glyphs>& glyphs, const StopFlag* stop = nullptr);

// The network reads every stone in one pass; Tesseract is asked only where the network is
// unsure, and where the two agree the reading stands. A stone with ink in it whose number
// is not read stays unsure, never a handicap stone. Stops early when `stop` is set.
std::vector<StoneNumber> readStoneNumbers(const StraightBoard& sheet, const std::vector<StoneSpot>& spots,
                                          const StopFlag* stop = nullptr);

} // namespace diagram
