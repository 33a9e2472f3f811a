#include "rules/position.h"

#include "board/go.h"

#include <random>

namespace rules {

namespace {

struct Neighbours {
    std::array<std::array<int, 4>, Points> of{};
    std::array<int, Points> count{};
    Neighbours()
    {
        for (int p = 0; p < Points; ++p) {
            const int x = columnOf(p), y = rowOf(p);
            if (x > 1)
                of[p][count[p]++] = p - 1;
            if (x < go::BoardSize)
                of[p][count[p]++] = p + 1;
            if (y > 1)
                of[p][count[p]++] = p - go::BoardSize;
            if (y < go::BoardSize)
                of[p][count[p]++] = p + go::BoardSize;
        }
    }
};

const Neighbours neighbourTable;

const Neighbours& neighbours()
{
    return neighbourTable;
}

struct Keys {
    std::array<std::array<std::uint64_t, 3>, Points> stone{};
    std::array<std::uint64_t, Points> captured{};
    std::array<std::uint64_t, Points> ko{};
    Keys()
    {
        std::mt19937_64 random(0x52616e76656cULL);
        for (int p = 0; p < Points; ++p) {
            stone[p][size_t(Stone::Black)] = random();
            stone[p][size_t(Stone::White)] = random();
            captured[p] = random();
        }
        for (auto& k : ko)
            k = random();
    }
};

const Keys keyTable;

const Keys& keys()
{
    return keyTable;
}

// Flood fills of one chain. The marks are stamped with a generation, so nothing is cleared.
class Chain {
public:
    explicit Chain(const Position& pos)
        : pos_(pos)
    {
    }

    // Stops at the first liberty; when there is none, the members are the whole chain.
    bool hasLiberty(int start)
    {
        static thread_local std::array<unsigned, Points> mark{};
        static thread_local unsigned generation = 0;
        if (++generation == 0) {
            mark.fill(0);
            generation = 1;
        }
        const Stone colour = pos_.stone[size_t(start)];
        size_ = 0;
        members_[size_t(size_++)] = start;
        mark[size_t(start)] = generation;
        for (int i = 0; i < size_; ++i) {
            const int p = members_[size_t(i)];
            for (int j = 0; j < near_.count[p]; ++j) {
                const int q = near_.of[p][j];
                const Stone s = pos_.stone[size_t(q)];
                if (s == Stone::Empty)
                    return true;
                if (s == colour && mark[size_t(q)] != generation) {
                    mark[size_t(q)] = generation;
                    members_[size_t(size_++)] = q;
                }
            }
        }
        return false;
    }

    int size() const { return size_; }
    int member(int i) const { return members_[size_t(i)]; }

private:
    const Neighbours& near_ = neighbours();
    const Position& pos_;
    std::array<int, Points> members_;
    int size_ = 0;
};

} // namespace

void Position::putHandicap(int point)
{
    if (stone[size_t(point)] != Stone::Empty)
        return;
    stone[size_t(point)] = Stone::Black;
    placedBy[size_t(point)] = 0;
    hash ^= keys().stone[size_t(point)][size_t(Stone::Black)];
}

bool Position::canPlay(int point, Stone colour) const
{
    if (stone[size_t(point)] != Stone::Empty || point == koPoint)
        return false;
    const Neighbours& n = neighbours();
    for (int j = 0; j < n.count[point]; ++j) {
        if (stone[size_t(n.of[point][j])] == Stone::Empty)
            return true;
    }
    Position trial = *this;
    return trial.play(point, colour, 0) == Verdict::Legal;
}

Verdict Position::play(int point, Stone colour, int move)
{
    // A pass lifts the ko ban and changes nothing else.
    if (point == go::PassPoint) {
        if (koPoint != NoPoint)
            hash ^= keys().ko[size_t(koPoint)];
        koPoint = NoPoint;
        return Verdict::Legal;
    }
    if (stone[size_t(point)] != Stone::Empty)
        return Verdict::Occupied;
    if (point == koPoint)
        return Verdict::Ko;
    const Keys& k = keys();
    const Neighbours& n = neighbours();
    stone[size_t(point)] = colour;
    Chain chain(*this);
    int taken = 0;
    int lastTaken = NoPoint;
    for (int j = 0; j < n.count[point]; ++j) {
        const int q = n.of[point][j];
        if (stone[size_t(q)] != go::opponent(colour) || chain.hasLiberty(q))
            continue;
        for (int i = 0; i < chain.size(); ++i) {
            const int c = chain.member(i);
            stone[size_t(c)] = Stone::Empty;
            hash ^= k.stone[size_t(c)][size_t(go::opponent(colour))];
            if (!captured[size_t(c)])
                hash ^= k.captured[size_t(c)];
            captured[size_t(c)] = true;
            emptiedBy[size_t(c)] = std::int16_t(move);
            lastTaken = c;
        }
        taken += chain.size();
    }
    if (taken == 0 && !chain.hasLiberty(point)) {
        stone[size_t(point)] = Stone::Empty;
        return Verdict::Suicide;
    }
    hash ^= k.stone[size_t(point)][size_t(colour)];
    placedBy[size_t(point)] = std::int16_t(move);
    if (koPoint != NoPoint)
        hash ^= k.ko[size_t(koPoint)];
    koPoint = NoPoint;
    // One stone taken by a lone stone that has the taken point as its only liberty: taking
    // back at once would repeat the position.
    if (taken == 1) {
        int liberties = 0;
        bool alone = true;
        for (int j = 0; j < n.count[point]; ++j) {
            const Stone s = stone[size_t(n.of[point][j])];
            liberties += s == Stone::Empty ? 1 : 0;
            alone = alone && s != colour;
        }
        if (alone && liberties == 1)
            koPoint = lastTaken;
    }
    if (koPoint != NoPoint)
        hash ^= k.ko[size_t(koPoint)];
    return Verdict::Legal;
}

} // namespace rules
