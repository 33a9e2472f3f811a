#pragma once

#include "rules/position.h"

#include <atomic>
#include <bitset>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace rules {

struct Replay;

using PointSet = std::bitset<Points>;

// The search for legal games that give the record's open moves (those without a point) a
// point each, among the points of captured stones. Every point tried counts against a budget.
class PlaceSearch {
public:
    // The search also ends, as if its budget were spent, once `stop` is set.
    PlaceSearch(const Replay& record, long budget, const std::atomic<bool>* stop = nullptr);

    // Every legal game, with positions met twice explored once. Exact when it ends within its
    // share of the budget; a late stretch of the game where many moves each have many points
    // can make it far too long.
    bool runWhole(long share);

    // Then move by move: look for a legal game that puts the move on a point not yet seen for
    // it, until none is left (its points are then proven) or the move's share of the budget is
    // spent. A first round with a small share proves the easy moves and finds most points of
    // the others; the rest of the budget is shared among the moves still unproven.
    void runByMove(long firstShare);

    bool proven(size_t o) const { return proven_[o]; }
    bool allProven() const;
    bool cancelled() const { return cancelled_; }
    // Some legal game was found.
    bool solved() const { return solved_; }

    // The open moves in order; o below is an index into them.
    const std::vector<int>& opens() const { return opens_; }
    int openIndex(int move) const { return openIndex_[size_t(move)]; }
    // For each open move, the points some legal game gives it, and the points tried for it.
    const std::vector<PointSet>& inSolution() const { return inSolution_; }
    const std::vector<PointSet>& tried() const { return tried_; }
    // The points chosen for the open moves on the way to the latest illegal move met.
    const std::vector<int>& deepestChoice() const { return deepestChoice_; }

    // The board before move 1: the handicap stones.
    Position start() const;
    // Candidates in the order a ko fight makes likely: the point emptied last first.
    std::vector<int> candidates(const Position& p) const;

private:
    struct Memo {
        bool solvable = false;
        // (open index * Points + point) of every choice some legal rest of the game makes.
        std::vector<std::uint32_t> choices;
    };

    static constexpr int Failed = 0;

    // Where a search stands after the known moves. At an open move: that move, its index among
    // the open moves, and the key of the position before it.
    struct Reached {
        enum State { Failed, Ended, AtOpen };
        State state = Failed;
        int move = 0;
        int open = 0;
        std::uint64_t key = 0;
    };

    // One open move's search, within its share of the budget.
    void settle(size_t o, long share);
    // A legal game whose constrained move stands on a point not yet seen for it.
    bool exists(int from, Position p);
    // Plays from move `from` on; true when the rest of the game can be legal. The choices of
    // every legal rest are added to `choices`.
    bool explore(int from, Position p, std::vector<std::uint32_t>& choices);

    // Plays the known moves from `from` on. A game that ends there is noted as a solution.
    Reached reach(int from, Position& p);
    // Plays the known moves from `from` on. Returns the next open move, last() + 1 when the game
    // ends, or Failed when a known move is illegal or the budget runs out.
    int playKnown(int from, Position& p);
    // Plays the open move reached on each candidate point not in `skip`, a unit of budget a
    // point, notes each legal point as tried and hands the position after it to `visit`, until
    // visit returns true or the budget runs out. True when some point was legal.
    template <typename Visit>
    bool eachLegal(const Reached& at, const Position& p, const PointSet& skip, Visit visit);

    // The same position before the same move is the same question, whatever led to it.
    static std::uint64_t keyOf(const Position& p, int move);
    // Takes a question already answered as the answer here.
    bool adopt(const Memo& m, int open);
    bool spend();
    void failedAt(int move);
    void noteSolution(size_t upTo);

    const Replay& rec_;
    long budget_;
    const std::atomic<bool>* stop_;
    bool cancelled_ = false;
    long nodes_ = 0;
    int constrained_ = -1;
    // The moves before the first open one are the same in every game searched.
    int firstOpen_ = 1;
    Position beforeFirstOpen_;
    std::vector<bool> proven_;
    std::unordered_set<std::uint64_t> failHere_;
    bool stopped_ = false;
    bool solved_ = false;
    std::vector<int> opens_;
    std::vector<int> openIndex_;
    std::vector<int> chosen_;
    std::vector<PointSet> inSolution_;
    std::vector<PointSet> tried_;
    int deepest_ = 0;
    std::vector<int> deepestChoice_;
    std::unordered_map<std::uint64_t, Memo> memo_;
};

} // namespace rules
