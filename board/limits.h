#pragma once

#include <QString>
#include <QtGlobal>

struct Form;

// The move table holds moves 1..HighestMove; a higher number has nowhere to go.
constexpr int HighestMove = 1000;
// Each list has a header row and rows 1..LastListRow.
constexpr int ListRows = 500;
constexpr int LastListRow = ListRows - 1;
// The highest move number a cell takes without a word; a fourth digit is a typo or a misread.
constexpr int MostDigits = 999;

// The move-table entry of a pass: the point past the edge of a 19x19 board, as SGF writes a
// pass there.
inline const QString PassEntry = QStringLiteral("tt");

// Where a cell's stone came from: typed here, or laid from an opened file and locked.
enum class CellOrigin {
    Typed,
    LoadedMove,
    LoadedHandicap,
};

// A handicap stone is labelled "B" and its number; any text starting so is no move.
inline const QString HandicapMark = QStringLiteral("B");
bool isHandicapLabel(const QString& text);
// One above the highest number on any handicap label on the board, or 1. 64 bits, as the
// highest may be the largest 32-bit number.
qint64 nextHandicapNumber(const Form& f);

// The line end of the log and of every box text.
inline const QString CrLf = QStringLiteral("\r\n");
