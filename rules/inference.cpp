#include "rules/inference.h"

#include "rules/placesearch.h"
#include "rules/replay.h"

namespace rules {

namespace {

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
QList<IllegalMove> faultsAlong(const Replay& rec, const PlaceSearch& search)
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

Inference infer(const Replay& record, long budget, const std::atomic<bool>* stop)
{
    PlaceSearch search(record, budget, stop);
    const bool whole = search.runWhole(budget / 4);
    if (!whole && !search.cancelled())
        search.runByMove(budget / 100);
    Inference out;
    if (search.cancelled()) {
        out.cancelled = out.stopped = true;
        return out;
    }
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
