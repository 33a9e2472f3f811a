#include "entry/figurenumbering.h"

#include "board/limits.h"

#include <algorithm>

namespace {

// A figure's first moves may all have been played on taken points and be printed only in its
// notes, so its lowest number may stand a few moves after the record's last; a reading that
// leaves more than this many moves unaccounted for is a wrong one.
constexpr int LongestStartGap = 20;

struct Fit {
    FigureNumbering numbering;
    int gap = 0;
    // Moves from the figure's first to its last that no number stands for: a figure numbers its
    // moves one after another, and only those played on taken points are left to its notes.
    int holes = 0;
};

bool sameMoves(const FigureNumbering& a, const FigureNumbering& b, const QList<int>& printed)
{
    return std::all_of(printed.begin(), printed.end(), [&](int n) { return a.absolute(n) == b.absolute(n); });
}

} // namespace

int FigureNumbering::absolute(int printed) const
{
    switch (style) {
    case Continued:
        return printed;
    case Restarted:
        return base + printed;
    case HundredsDropped: {
        int n = base - base % 100 + printed % 100;
        while (n <= base)
            n += 100;
        return n;
    }
    }
    return printed;
}

QList<FigureNumbering> numberingsFor(int recordHighest, const QList<int>& printed, const CaptionRange& caption)
{
    if (printed.isEmpty())
        return {};
    // A caption that starts within the record counts the figure's own numbers, as a figure
    // numbered from 1 again prints "1-76": it says nothing of where the figure starts.
    if (caption.first > 0 && caption.first <= recordHighest)
        return numberingsFor(recordHighest, printed, {});
    const int highest = *std::max_element(printed.begin(), printed.end());
    // A caption read says where the figure starts, even when a figure was left out between.
    const int before = caption.first > 0 ? caption.first - 1 : recordHighest;

    QList<FigureNumbering> tried{{FigureNumbering::Continued, 0}, {FigureNumbering::Restarted, before}};
    if (highest <= 100)
        tried.append({FigureNumbering::HundredsDropped, before});

    QList<Fit> fits;
    for (const FigureNumbering& n : tried) {
        int low = HighestMove;
        int high = 0;
        for (int p : printed) {
            low = std::min(low, n.absolute(p));
            high = std::max(high, n.absolute(p));
        }
        if (low <= before || high > MostDigits)
            continue;
        if (caption.last > 0 && high > caption.last)
            continue;
        if (std::any_of(fits.begin(), fits.end(), [&](const Fit& f) { return sameMoves(f.numbering, n, printed); }))
            continue;
        QList<int> moves;
        for (int p : printed)
            moves.append(n.absolute(p));
        std::sort(moves.begin(), moves.end());
        const int distinct = int(std::unique(moves.begin(), moves.end()) - moves.begin());
        fits.append({n, low - before - 1, high - before - distinct});
    }
    const bool anyClose = std::any_of(fits.begin(), fits.end(), [](const Fit& f) { return f.gap <= LongestStartGap; });
    if (anyClose)
        fits.erase(std::remove_if(fits.begin(), fits.end(), [](const Fit& f) { return f.gap > LongestStartGap; }), fits.end());
    std::stable_sort(fits.begin(), fits.end(), [](const Fit& a, const Fit& b) { return a.holes < b.holes; });
    // A caption that no numbering of the board's own numbers fits was misread.
    if (fits.isEmpty() && caption.first > 0)
        return numberingsFor(recordHighest, printed, {});
    QList<FigureNumbering> out;
    for (const Fit& f : fits)
        out.append(f.numbering);
    return out;
}
