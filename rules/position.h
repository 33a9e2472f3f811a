#pragma once

#include "board/go.h"

#include <array>
#include <cstdint>

namespace rules {

using go::columnOf;
using go::NoPoint;
using go::pointOf;
using go::Points;
using go::rowOf;
using go::Stone;

enum class Verdict { Legal, Occupied, Suicide, Ko };

// A position of the game with what replaying needs beyond the stones: which points lost their
// stone to a capture (only there can a move off the diagram be played), and the ko ban. It is
// copied whole where the search branches, so it holds no pointers.
struct Position {
    std::array<Stone, Points> stone{};
    // Set once the point's stone has been captured; stays set when the point is played again.
    std::array<bool, Points> captured{};
    // The move whose stone stands on the point (0 for a handicap stone), and the move that
    // last emptied it.
    std::array<std::int16_t, Points> placedBy{};
    std::array<std::int16_t, Points> emptiedBy{};
    // The point the next move may not take, or NoPoint.
    int koPoint = NoPoint;
    // Of the stones, the captured marks and the ko ban: what the rest of the game depends on.
    std::uint64_t hash = 0;

    void putHandicap(int point);
    // Plays the move when it is legal, with its captures; otherwise leaves the position as it was.
    Verdict play(int point, Stone colour, int move);
    // Whether playing would be legal, without playing.
    bool canPlay(int point, Stone colour) const;
};

} // namespace rules
