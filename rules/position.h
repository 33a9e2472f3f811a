#pragma once

#include <array>
#include <cstdint>

namespace rules {

// Points are numbered row by row from the top left, as the board's cells are scanned.
constexpr int Points = 361;
constexpr int NoPoint = -1;

inline int pointOf(int x, int y) { return (y - 1) * 19 + (x - 1); }
inline int columnOf(int point) { return point % 19 + 1; }
inline int rowOf(int point) { return point / 19 + 1; }

enum Stone : std::uint8_t { Empty = 0, BlackStone = 1, WhiteStone = 2 };

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
