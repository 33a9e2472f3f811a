#include "rules/inference.h"

#include "rules/record.h"

#include <algorithm>
#include <bitset>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace rules {

namespace {

using PointSet = std::bitset<Points>;

class Search {
public:
    Search(const Record& record, long budget)
        : rec_(record)
        , budget_(budget)
        , openIndex_(size_t(record.last() + 1), -1)
    {
        for (int k = 1; k <= record.last(); ++k) {
            if (record.points[size_t(k)] == NoPoint) {
                openIndex_[size_t(k)] = int(opens_.size());
                opens_.push_back(k);
            }
        }
        chosen_.assign(opens_.size(), NoPoint);
        inSolution_.assign(opens_.size(), {});
        tried_.assign(opens_.size(), {});
    }

    // Every legal game, with positions met twice explored once. Exact when it ends within its
    // share of the budget; a late stretch of the game where many moves each have many points
    // can make it far too long.
    bool runWhole(long share)
    {
        beforeFirstOpen_ = start();
        firstOpen_ = opens_.empty() ? rec_.last() + 1 : opens_.front();
        for (int k = 1; k < firstOpen_; ++k)
            beforeFirstOpen_.play(rec_.points[size_t(k)], rec_.colourOf(k), k);
        const long saved = budget_;
        budget_ = std::min(budget_, nodes_ + share);
        std::vector<std::uint32_t> ignored;
        explore(1, start(), ignored);
        budget_ = saved;
        const bool whole = !stopped_;
        stopped_ = false;
        proven_.assign(opens_.size(), whole);
        return whole;
    }

    // Then move by move: look for a legal game that puts the move on a point not yet seen for
    // it, until none is left (its points are then proven) or the move's share of the budget is
    // spent. A first round with a small share proves the easy moves and finds most points of
    // the others; the rest of the budget is shared among the moves still unproven.
    void runByMove(long firstShare)
    {
        for (size_t o = 0; o < opens_.size(); ++o)
            settle(o, firstShare);
        for (size_t o = 0; o < opens_.size(); ++o) {
            const long left = long(std::count(proven_.begin() + std::ptrdiff_t(o), proven_.end(), false));
            if (!proven_[o])
                settle(o, (budget_ - nodes_) / std::max(1L, left));
        }
        constrained_ = -1;
    }

    void settle(size_t o, long share)
    {
        const long saved = budget_;
        budget_ = std::min(budget_, nodes_ + share);
        constrained_ = int(o);
        while (!proven_[o] && !stopped_) {
            failHere_.clear();
            if (!exists(firstOpen_, beforeFirstOpen_) && !stopped_)
                proven_[o] = true;
        }
        budget_ = saved;
        stopped_ = false;
    }

    bool proven(size_t o) const { return proven_[o]; }
    bool allProven() const { return std::all_of(proven_.begin(), proven_.end(), [](bool b) { return b; }); }

    Position start() const
    {
        Position p;
        for (int h : rec_.handicap)
            p.putHandicap(h);
        return p;
    }

    // Candidates in the order a ko fight makes likely: the point emptied last first.
    std::vector<int> candidates(const Position& p) const
    {
        std::vector<int> out;
        for (int c = 0; c < Points; ++c) {
            if (p.stone[size_t(c)] == Empty && p.captured[size_t(c)])
                out.push_back(c);
        }
        std::stable_sort(out.begin(), out.end(),
                         [&](int a, int b) { return p.emptiedBy[size_t(a)] > p.emptiedBy[size_t(b)]; });
        return out;
    }

    const std::vector<int>& opens() const { return opens_; }
    bool stopped() const { return stopped_; }
    bool solved() const { return solved_; }
    const std::vector<PointSet>& inSolution() const { return inSolution_; }
    const std::vector<PointSet>& tried() const { return tried_; }
    const std::vector<int>& deepestChoice() const { return deepestChoice_; }
    int openIndex(int move) const { return openIndex_[size_t(move)]; }

private:
    // A legal game whose constrained move stands on a point not yet seen for it.
    bool exists(int from, Position p)
    {
        const Reached at = reach(from, p);
        if (at.state != Reached::AtOpen)
            return at.state == Reached::Ended;
        const int o = at.open;
        // Past the constrained move the question is the unconstrained one.
        const bool free = o > constrained_;
        if (free) {
            if (const auto hit = memo_.find(at.key); hit != memo_.end())
                return adopt(hit->second, o);
        } else if (failHere_.count(at.key)) {
            return false;
        }
        // The constrained move looks for a point not yet seen in a solution.
        const PointSet none;
        const PointSet& skip = o == constrained_ ? inSolution_[size_t(o)] : none;
        bool found = false;
        const bool anyLegal = eachLegal(at, p, skip, [&](int, Position next) {
            found = exists(at.move + 1, std::move(next));
            return found;
        });
        if (found)
            return true;
        if (stopped_)
            return false;
        if (!anyLegal && o != constrained_)
            failedAt(at.move);
        if (free)
            memo_.emplace(at.key, Memo{});
        else
            failHere_.insert(at.key);
        return false;
    }

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

    // Plays the known moves from `from` on. A game that ends there is noted as a solution.
    Reached reach(int from, Position& p)
    {
        const int k = playKnown(from, p);
        if (k == Failed)
            return {};
        if (k > rec_.last()) {
            noteSolution(opens_.size());
            return {Reached::Ended};
        }
        return {Reached::AtOpen, k, openIndex_[size_t(k)], keyOf(p, k)};
    }

    // Plays the open move reached on each candidate point not in `skip`, a unit of budget a
    // point, notes each legal point as tried and hands the position after it to `visit`, until
    // visit returns true or the budget runs out. True when some point was legal.
    template <typename Visit>
    bool eachLegal(const Reached& at, const Position& p, const PointSet& skip, Visit visit)
    {
        bool anyLegal = false;
        for (int c : candidates(p)) {
            if (skip.test(size_t(c)))
                continue;
            if (!spend())
                break;
            Position next = p;
            if (next.play(c, rec_.colourOf(at.move), at.move) != Verdict::Legal)
                continue;
            anyLegal = true;
            tried_[size_t(at.open)].set(size_t(c));
            chosen_[size_t(at.open)] = c;
            if (visit(c, std::move(next)) || stopped_)
                break;
        }
        return anyLegal;
    }

    // Plays the known moves from `from` on. Returns the next open move, last() + 1 when the game
    // ends, or Failed when a known move is illegal or the budget runs out.
    int playKnown(int from, Position& p)
    {
        int k = from;
        for (; k <= rec_.last() && rec_.points[size_t(k)] != NoPoint; ++k) {
            if (!spend())
                return Failed;
            if (p.play(rec_.points[size_t(k)], rec_.colourOf(k), k) != Verdict::Legal) {
                failedAt(k);
                return Failed;
            }
        }
        return k;
    }

    // The same position before the same move is the same question, whatever led to it.
    static std::uint64_t keyOf(const Position& p, int move)
    {
        return p.hash ^ (std::uint64_t(move) * 0x9E3779B97F4A7C15ULL);
    }

    // Takes a question already answered as the answer here.
    bool adopt(const Memo& m, int open)
    {
        if (!m.solvable)
            return false;
        noteSolution(size_t(open));
        for (std::uint32_t c : m.choices)
            inSolution_[c / Points].set(c % Points);
        return true;
    }

    bool spend()
    {
        if (++nodes_ > budget_)
            stopped_ = true;
        return !stopped_;
    }

    void failedAt(int move)
    {
        if (move <= deepest_)
            return;
        deepest_ = move;
        deepestChoice_.assign(chosen_.begin(), chosen_.begin() + std::ptrdiff_t(std::lower_bound(opens_.begin(), opens_.end(), move) - opens_.begin()));
    }

    void noteSolution(size_t upTo)
    {
        solved_ = true;
        for (size_t i = 0; i < upTo; ++i)
            inSolution_[i].set(size_t(chosen_[i]));
    }

    // Plays from move `from` on; true when the rest of the game can be legal. The choices of
    // every legal rest are added to `choices`.
    bool explore(int from, Position p, std::vector<std::uint32_t>& choices)
    {
        const Reached at = reach(from, p);
        if (at.state != Reached::AtOpen)
            return at.state == Reached::Ended;
        if (const auto hit = memo_.find(at.key); hit != memo_.end()) {
            if (!adopt(hit->second, at.open))
                return false;
            choices.insert(choices.end(), hit->second.choices.begin(), hit->second.choices.end());
            return true;
        }
        Memo here;
        const bool anyLegal = eachLegal(at, p, PointSet(), [&](int c, Position next) {
            std::vector<std::uint32_t> rest;
            if (explore(at.move + 1, std::move(next), rest)) {
                here.solvable = true;
                here.choices.push_back(std::uint32_t(at.open * Points + c));
                here.choices.insert(here.choices.end(), rest.begin(), rest.end());
            }
            return false;
        });
        if (stopped_)
            return false;
        if (!anyLegal)
            failedAt(at.move);
        std::sort(here.choices.begin(), here.choices.end());
        here.choices.erase(std::unique(here.choices.begin(), here.choices.end()), here.choices.end());
        choices.insert(choices.end(), here.choices.begin(), here.choices.end());
        const bool solvable = here.solvable;
        memo_.emplace(at.key, std::move(here));
        return solvable;
    }

    const Record& rec_;
    long budget_;
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

QList<int> pointsOf(const PointSet& set)
{
    QList<int> out;
    for (int p = 0; p < Points; ++p) {
        if (set.test(size_t(p)))
            out.append(p);
    }
    return out;
}

// Plays the game the deepest search went, on past every fault: a stone that cannot go where
// the record puts it is left off, a ko taken back is let stand, and an open move later than
// the search reached takes the first point it may. Every fault on the way is reported.
QList<IllegalMove> faultsAlong(const Record& rec, const Search& search)
{
    QList<IllegalMove> faults;
    Position p = search.start();
    const std::vector<int>& choice = search.deepestChoice();
    for (int k = 1; k <= rec.last(); ++k) {
        int point = rec.points[size_t(k)];
        if (point == NoPoint) {
            const size_t o = size_t(search.openIndex(k));
            if (o < choice.size()) {
                point = choice[o];
            } else {
                for (int c : search.candidates(p)) {
                    if (p.canPlay(c, rec.colourOf(k))) {
                        point = c;
                        break;
                    }
                }
            }
            if (point == NoPoint) {
                faults.append({k, NoPoint, IllegalMove::NoPoint, 0});
                continue;
            }
        }
        const Verdict v = p.play(point, rec.colourOf(k), k);
        if (v == Verdict::Legal)
            continue;
        faults.append({k, point,
                       v == Verdict::Occupied ? IllegalMove::Occupied
                                              : v == Verdict::Suicide ? IllegalMove::Suicide : IllegalMove::Ko,
                       v == Verdict::Occupied ? p.placedBy[size_t(point)] : 0});
        if (v == Verdict::Ko) {
            Position lifted = p;
            lifted.koPoint = NoPoint;
            if (lifted.play(point, rec.colourOf(k), k) == Verdict::Legal)
                p = lifted;
        }
    }
    return faults;
}

} // namespace

Inference infer(const Record& record, long budget)
{
    Search search(record, budget);
    const bool whole = search.runWhole(budget / 4);
    if (!whole)
        search.runByMove(budget / 100);
    Inference out;
    out.stopped = !search.allProven();
    out.contradicts = !search.solved() && (whole || (!search.opens().empty() && search.proven(0)));
    for (size_t o = 0; o < search.opens().size(); ++o) {
        OpenMove m;
        m.move = search.opens()[o];
        m.row = record.openRow[size_t(m.move)];
        const bool proven = search.proven(o);
        const PointSet seen = proven ? search.inSolution()[o] : search.inSolution()[o] | search.tried()[o];
        m.candidates = pointsOf(seen);
        m.certain = proven && m.candidates.size() == 1;
        out.open.append(m);
    }
    if (out.contradicts) {
        out.illegal = faultsAlong(record, search);
    } else if (!search.solved()) {
        // Faults before the first open move do not depend on where the open moves go.
        const int firstOpen = search.opens().empty() ? record.last() + 1 : search.opens().front();
        for (const IllegalMove& f : faultsAlong(record, search)) {
            if (f.move < firstOpen)
                out.illegal.append(f);
        }
    }
    return out;
}

} // namespace rules
