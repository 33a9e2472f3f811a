#pragma once

// What an opened file holds for the record: the main line's moves with their colours, the
// root's setup stones, what the board cannot show, and where in the loaded lines the root
// ends and new moves go. Worked out from the parse, the same at Open and at Save.

#include "board/cellname.h"
#include "board/go.h"
#include "sgf/dialect.h"

#include <QByteArray>
#include <QList>

#include <optional>

struct LoadedMove {
    // Its number in the main line, passes counted.
    int number = 0;
    bool black = true;
    bool pass = false;
    // A pass written "tt", not as an empty value; kept to write it back as it was.
    bool passAsTt = false;
    // 1..19; 0 for a pass.
    int x = 0;
    int y = 0;
};

// A byte of the loaded lines: its line and its place in the line.
struct LinePosition {
    int line = -1;
    qsizetype column = -1;
};

struct LoadedGame {
    // The text holds a game tree at all.
    bool hasTree = false;
    // SZ and GM as the file writes them; empty when absent (19 and Go).
    QByteArray boardSize;
    QByteArray gameType;
    // The root's AB property: listed at all, and its points in file order.
    bool blackStonesListed = false;
    QList<CellPos> blackStones;
    // Root AW points, which the board has no place for.
    int whiteStones = 0;
    QList<LoadedMove> moves;
    // The number of the first move whose value is neither a point nor a pass, and that value.
    int unreadableMove = 0;
    QByteArray unreadableValue;
    // Game trees after the first one that hold more than comments.
    int otherGames = 0;
    // Nodes of the main line after the root that set stones or the turn (AB, AW, AE, PL).
    int setupNodes = 0;
    // One past the root node's last byte, and the ";" of the node after it, if any.
    LinePosition rootEnd;
    // A move the root itself holds: its property from its first byte to one past its "]".
    LinePosition rootMoveBegin;
    LinePosition rootMoveEnd;
    LinePosition secondNode;
    // Where moves typed after loading go: the ")" closing the main line, or, in a text that
    // ends before it, just after the main line's last node.
    LinePosition splice;
    bool closed = false;
    // The text ends inside a value: what follows its last whole node is lost to the record.
    bool cutShort = false;
    // No CA, and no reading of the text's bytes cuts its values where the SGF around them
    // says: where a value ends, and so which node a move is, cannot be told.
    bool charsetInDoubt = false;
    // PL of the root, and of a node after the last move: "B", "W" or empty.
    QByteArray toPlay;
    QByteArray toPlayLater;
    // A value of the root holds a line break: joining the root's lines would change its text.
    bool rootValueSpansLines = false;
    // HA of the root.
    int handicap = 0;
    // Black and white take turns along the whole main line.
    bool alternating = true;

    bool isNineteen() const;
    bool isGo() const;
};

LoadedGame loadedGameOf(const Lines& lines);

// Anything but blanks after the ")" that closes the main line; false when nothing closes it.
bool textAfterClose(const Lines& lines, const LoadedGame& game);

// The root node as the rebuilt file keeps it: its lines as loaded, every property with
// them; a line that goes on after the root is cut where the root ends.
Lines rootLines(const Lines& lines, const LoadedGame& game);

// Black when black plays the move after the last loaded one by turns from move 1, white when
// white does: from the file's own moves, else from its PL, else white after handicap stones (black ones alone, or an HA of
// 2 or more).
go::FirstPlayer firstPlayerOf(const LoadedGame& game);

// The colour a move of the loaded main line has in the file, when the board's turn-taking
// cannot tell it; nothing otherwise.
std::optional<bool> loadedColour(const LoadedGame& game, int number);
