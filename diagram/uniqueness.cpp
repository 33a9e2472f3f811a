#include "diagram/uniqueness.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <set>

namespace diagram {

float Weighing::oddsOf(int number) const
{
    if (cuts.empty())
        return 0.0f;
    float sum = 0;
    for (const CellReading& c : cuts)
        sum += c.weighed ? c.oddsOf(number) : 0.0f;
    return sum / float(cuts.size());
}

const CellReading& Weighing::first() const
{
    static const CellReading none;
    return cuts.empty() ? none : cuts.front();
}

namespace {

// Odds below this are no candidate at all: they would only lengthen the search.
constexpr float leastCandidate = 1e-4f;
// A group of stones that share candidates larger than this is left in doubt: its search would
// cost more than the rest of the reading.
constexpr std::size_t mostInAGroup = 80;

// The odds left to a number the network gave next to nothing: the rest of a stone's odds
// beside the numbers it weighed, never less than this.
constexpr double unweighed = 0.01;
// How many times likelier the best placing must be than the best that moves a stone off its
// number, for that number to stand. It and `unweighed` were set on the tuned pictures, as the
// most lenient that left no more numbers wrong without doubt there: at 25 times, a chat JPEG's
// 189 read as 169 stood; 30 was the last that held, and this leaves room above it.
constexpr double sureByPlacing = 40;

// At most this share of the moves up to the highest may be missing from the board and the
// sure notes for the figure to be taken as a whole game's: a figure of a later part of a game
// misses all before it, half or more as a rule; a photo's misreadings and notes not printed
// left 12% missing.
constexpr double wholeGameMissing = 0.2;
// On a whole game's figure, what a move left to no stone costs, as the odds of 1 in 55 (e^4):
// a note not read leaves a move missing for good, so it may not cost much more. Set on the
// tuned pictures, where doubts fell little further above it (4 to 6: 42 to 38).
constexpr double unplaced = 4.0;

constexpr double barred = 1e9;

// The cheapest way to give each row its own column (rows <= columns), by the Hungarian method
// with potentials: for every edge cost - u[row] - v[column] >= 0, nought where placed, and
// v is nought on every column left free.
struct Placing {
    std::vector<int> columnOf; // of each row
    std::vector<int> rowOf;    // of each column, -1 where free
    std::vector<double> u, v;
};

Placing cheapestPlacing(const std::vector<std::vector<double>>& cost)
{
    const std::size_t rows = cost.size();
    const std::size_t columns = rows ? cost[0].size() : 0;
    const double inf = std::numeric_limits<double>::infinity();
    // One-based, column 0 standing for the row being placed.
    std::vector<double> u(rows + 1, 0), v(columns + 1, 0);
    std::vector<std::size_t> rowAt(columns + 1, 0), way(columns + 1, 0);
    for (std::size_t r = 1; r <= rows; ++r) {
        rowAt[0] = r;
        std::size_t c0 = 0;
        std::vector<double> least(columns + 1, inf);
        std::vector<bool> used(columns + 1, false);
        do {
            used[c0] = true;
            const std::size_t r0 = rowAt[c0];
            double delta = inf;
            std::size_t c1 = 0;
            for (std::size_t c = 1; c <= columns; ++c) {
                if (used[c])
                    continue;
                const double reduced = cost[r0 - 1][c - 1] - u[r0] - v[c];
                if (reduced < least[c]) {
                    least[c] = reduced;
                    way[c] = c0;
                }
                if (least[c] < delta) {
                    delta = least[c];
                    c1 = c;
                }
            }
            for (std::size_t c = 0; c <= columns; ++c) {
                if (used[c]) {
                    u[rowAt[c]] += delta;
                    v[c] -= delta;
                } else {
                    least[c] -= delta;
                }
            }
            c0 = c1;
        } while (rowAt[c0] != 0);
        do {
            const std::size_t c1 = way[c0];
            rowAt[c0] = rowAt[c1];
            c0 = c1;
        } while (c0 != 0);
    }
    Placing placing{std::vector<int>(rows, -1), std::vector<int>(columns, -1), std::vector<double>(u.begin() + 1, u.end()),
                    std::vector<double>(v.begin() + 1, v.end())};
    for (std::size_t c = 1; c <= columns; ++c) {
        if (rowAt[c] != 0) {
            placing.columnOf[rowAt[c] - 1] = int(c - 1);
            placing.rowOf[c - 1] = int(rowAt[c] - 1);
        }
    }
    return placing;
}

// What the cheapest placing of a square table costs more once `row` may not keep its column:
// the shortest chain of moves, by the potentials' reduced costs, from the row back to the
// column it left (every column being taken, that is where the chain must end).
double costOfMovingOff(const std::vector<std::vector<double>>& cost, const Placing& placing, std::size_t row)
{
    const std::size_t columns = placing.rowOf.size();
    const auto left = std::size_t(placing.columnOf[row]);
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> dist(columns, inf);
    std::vector<bool> done(columns, false);
    std::size_t from = row;
    double at = 0;
    for (;;) {
        for (std::size_t c = 0; c < columns; ++c) {
            if (done[c] || (from == row && c == left) || cost[from][c] >= barred)
                continue;
            dist[c] = std::min(dist[c], at + cost[from][c] - placing.u[from] - placing.v[c]);
        }
        std::size_t next = columns;
        for (std::size_t c = 0; c < columns; ++c) {
            if (!done[c] && dist[c] < inf && (next == columns || dist[c] < dist[next]))
                next = c;
        }
        if (next == columns)
            return inf;
        if (next == left)
            return dist[next];
        done[next] = true;
        from = std::size_t(placing.rowOf[next]);
        at = dist[next];
    }
}

struct Candidate {
    int number;
    double cost; // -log odds
};

int find(std::vector<int>& parent, int a)
{
    while (parent[std::size_t(a)] != a)
        a = parent[std::size_t(a)] = parent[std::size_t(parent[std::size_t(a)])];
    return a;
}

} // namespace

void settleByUniqueness(Board& board, const std::vector<Note>& notes, const std::array<bool, go::Points>& colourSure,
                        const std::vector<Weighing>& weighed)
{
    std::set<int> taken;
    int highest = 0;
    for (const Point& p : board.points) {
        if (p.number > 0 && !p.unsure) {
            taken.insert(p.number);
            highest = std::max(highest, p.number);
        }
    }
    for (const Note& n : notes) {
        if (!n.unsure && n.move > 0) {
            taken.insert(n.move);
            highest = std::max(highest, n.move);
        }
    }
    // The last move may be the one in doubt; past it a misreading has room to hide.
    const int top = highest + 1;
    // On a whole game's figure every move up to the last stands once, on the board or in a
    // note, and a number left to no stone costs `unplaced`.
    std::set<int> shown = taken;
    for (const Point& p : board.points) {
        if (p.number > 0)
            shown.insert(p.number);
    }
    const auto shownUpToHighest = std::count_if(shown.begin(), shown.end(), [&](int n) { return n <= highest; });
    const bool wholeGame = highest > 0 && double(highest - shownUpToHighest) <= wholeGameMissing * highest;

    std::vector<std::size_t> stones;
    std::vector<std::vector<Candidate>> candidates;
    for (std::size_t i = 0; i < board.points.size(); ++i) {
        const Point& p = board.points[i];
        if (!p.unsure || p.number <= 0 || p.mark != 0 || p.stone == Stone::Empty || !colourSure[i]
            || i >= weighed.size() || weighed[i].cuts.empty())
            continue;
        std::vector<Candidate> may;
        // Odds on numbers taken or of the other colour are ruled out, not left over.
        double weighedAll = 0;
        for (int n = 1; n <= top; ++n) {
            const float odds = weighed[i].oddsOf(n);
            weighedAll += odds;
            if (taken.count(n) || go::colourOfMove(n, board.firstPlayer) != p.stone)
                continue;
            if (odds >= leastCandidate)
                may.push_back({n, -std::log(double(odds))});
        }
        if (may.empty())
            continue;
        // The stone's own column for a number no other stone may take and the network did not
        // weigh: what is left of its odds, at least the least that is left to any.
        const double rest = std::max(unweighed, 1.0 - weighedAll);
        may.push_back({0, -std::log(rest)});
        stones.push_back(i);
        candidates.push_back(std::move(may));
    }

    // Stones that share no candidate, directly or through others, are placed apart.
    std::vector<int> parent(stones.size());
    std::iota(parent.begin(), parent.end(), 0);
    std::map<int, int> firstWith;
    for (std::size_t s = 0; s < stones.size(); ++s) {
        for (const Candidate& c : candidates[s]) {
            if (c.number == 0)
                continue;
            const auto [at, added] = firstWith.emplace(c.number, int(s));
            if (!added)
                parent[std::size_t(find(parent, int(s)))] = find(parent, at->second);
        }
    }
    std::map<int, std::vector<std::size_t>> groups;
    for (std::size_t s = 0; s < stones.size(); ++s)
        groups[find(parent, int(s))].push_back(s);

    const double sure = std::log(sureByPlacing);
    for (const auto& [root, members] : groups) {
        if (members.size() > mostInAGroup)
            continue;
        // Columns: the group's numbers, then each stone's own column for a number unweighed.
        std::map<int, std::size_t> columnOf;
        for (const std::size_t s : members) {
            for (const Candidate& c : candidates[s]) {
                if (c.number != 0)
                    columnOf.emplace(c.number, 0);
            }
        }
        std::vector<int> numberOf;
        for (auto& [number, column] : columnOf) {
            column = numberOf.size();
            numberOf.push_back(number);
        }
        const std::size_t numbers = numberOf.size();
        // Square, with a row for each column no stone takes (`unplaced` for a whole game's number,
        // nothing for the rest): every column is then taken, and moving a stone off its number
        // is one chain of moves.
        const std::size_t side = numbers + members.size();
        std::vector<std::vector<double>> cost(side, std::vector<double>(side, barred));
        for (std::size_t r = members.size(); r < side; ++r) {
            std::fill(cost[r].begin(), cost[r].end(), 0.0);
            for (std::size_t c = 0; c < numbers; ++c)
                cost[r][c] = wholeGame && numberOf[c] <= highest ? unplaced : 0.0;
        }
        for (std::size_t r = 0; r < members.size(); ++r) {
            for (const Candidate& c : candidates[members[r]])
                cost[r][c.number == 0 ? numbers + r : columnOf[c.number]] = c.cost;
        }
        const Placing placing = cheapestPlacing(cost);
        for (std::size_t r = 0; r < members.size(); ++r) {
            const auto column = std::size_t(placing.columnOf[r]);
            if (column >= numbers)
                continue;
            const double dearer = costOfMovingOff(cost, placing, r);
            Point& p = board.points[stones[members[r]]];
            p.number = numberOf[column];
            if (dearer >= sure) {
                p.unsure = false;
                p.confidence = std::max(p.confidence, float(1.0 - std::exp(-dearer)));
            }
        }
    }
}

} // namespace diagram
