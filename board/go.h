#pragma once

// The terms of the game that the record, the rules, the SGF codec and the picture reader share.
// Plain C++: the picture reader links no Qt.

#include <cstdint>

namespace go {

constexpr int BoardSize = 19;
constexpr int Points = BoardSize * BoardSize;
constexpr int NoPoint = -1;
// A move that takes no point: a pass of an opened file.
constexpr int PassPoint = -2;

// Points are numbered row by row from the top left, in the order every scan of the board runs:
// x the column and y the row, 1..BoardSize each, as the cells are named.
constexpr int pointOf(int x, int y) { return (y - 1) * BoardSize + (x - 1); }
constexpr int columnOf(int point) { return point % BoardSize + 1; }
constexpr int rowOf(int point) { return point / BoardSize + 1; }
constexpr bool onBoard(int x, int y) { return x >= 1 && x <= BoardSize && y >= 1 && y <= BoardSize; }

enum class Stone : std::uint8_t { Empty, Black, White };

constexpr Stone opponent(Stone s) { return s == Stone::Black ? Stone::White : Stone::Black; }

// Who played move 1. The values are the first-player choice's item indices.
enum class FirstPlayer : std::uint8_t { Black = 0, White = 1 };

// The first player's moves are odd: a move is black when its remainder by 2 (with the sign of
// n, so a negative number is never black) plus the first player's index is 1.
constexpr bool isBlackMove(long long n, FirstPlayer first) { return n % 2 + int(first) == 1; }
constexpr Stone colourOfMove(long long n, FirstPlayer first)
{
    return isBlackMove(n, first) ? Stone::Black : Stone::White;
}
// The first player under whom move n has this colour.
constexpr FirstPlayer firstPlayerFor(long long n, bool black)
{
    return isBlackMove(n, FirstPlayer::Black) == black ? FirstPlayer::Black : FirstPlayer::White;
}

// SGF writes a coordinate as a letter, "a" for 1 up to "s" for BoardSize, the column first.
constexpr char sgfLetter(int n) { return char('a' + n - 1); }
// 1..BoardSize for its letter; 0 for any other character.
constexpr int sgfCoordinate(int c) { return c >= 'a' && c < 'a' + BoardSize ? c - 'a' + 1 : 0; }

} // namespace go
