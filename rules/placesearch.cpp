#include "rules/placesearch.h"

#include "rules/replay.h"

#include <algorithm>

namespace rules {

PlaceSearch::PlaceSearch(const Replay& record, long budget, const std::atomic<bool>* stop)
    : rec_(record)
    , budget_(budget)
    , stop_(stop)
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

bool PlaceSearch::runWhole(long share)
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

void PlaceSearch::runByMove(long firstShare)
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

void PlaceSearch::settle(size_t o, long share)
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

bool PlaceSearch::allProven() const
{
    return std::all_of(proven_.begin(), proven_.end(), [](bool b) { return b; });
}

Position PlaceSearch::start() const
{
    Position p;
    for (int h : rec_.handicap)
        p.putHandicap(h);
    return p;
}

std::vector<int> PlaceSearch::candidates(const Position& p) const
{
    std::vector<int> out;
    for (int c = 0; c < Points; ++c) {
        if (p.stone[size_t(c)] == Stone::Empty && p.captured[size_t(c)])
            out.push_back(c);
    }
    std::stable_sort(out.begin(), out.end(),
                     [&](int a, int b) { return p.emptiedBy[size_t(a)] > p.emptiedBy[size_t(b)]; });
    return out;
}

PlaceSearch::Reached PlaceSearch::reach(int from, Position& p)
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

int PlaceSearch::playKnown(int from, Position& p)
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

template <typename Visit>
bool PlaceSearch::eachLegal(const Reached& at, const Position& p, const PointSet& skip, Visit visit)
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

bool PlaceSearch::exists(int from, Position p)
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
    const bool anyLegal = eachLegal(at, p, skip, [&](int, Position&& next) {
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

bool PlaceSearch::explore(int from, Position p, std::vector<std::uint32_t>& choices)
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
    const bool anyLegal = eachLegal(at, p, PointSet(), [&](int c, Position&& next) {
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

std::uint64_t PlaceSearch::keyOf(const Position& p, int move)
{
    return p.hash ^ (std::uint64_t(move) * 0x9E3779B97F4A7C15ULL);
}

bool PlaceSearch::adopt(const Memo& m, int open)
{
    if (!m.solvable)
        return false;
    noteSolution(size_t(open));
    for (std::uint32_t c : m.choices)
        inSolution_[c / Points].set(c % Points);
    return true;
}

bool PlaceSearch::spend()
{
    // The flag is set from another thread; a look every thousand points is soon enough.
    if (stop_ && (nodes_ & 1023) == 0 && stop_->load(std::memory_order_relaxed))
        cancelled_ = true;
    if (cancelled_ || ++nodes_ > budget_)
        stopped_ = true;
    return !stopped_;
}

void PlaceSearch::failedAt(int move)
{
    if (move <= deepest_)
        return;
    deepest_ = move;
    deepestChoice_.assign(chosen_.begin(), chosen_.begin() + std::ptrdiff_t(std::lower_bound(opens_.begin(), opens_.end(), move) - opens_.begin()));
}

void PlaceSearch::noteSolution(size_t upTo)
{
    solved_ = true;
    for (size_t i = 0; i < upTo; ++i)
        inSolution_[i].set(size_t(chosen_[i]));
}

} // namespace rules
