#include "rules/replay.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/limits.h"
#include "ordering/moveordering.h"

#include <algorithm>

namespace rules {

namespace {

int moveNumber(const QString& text)
{
    const auto v = tryToInteger(text);
    return v && *v >= 1 && *v <= HighestMove ? *v : 0;
}

int pointOfEntry(const QString& entry)
{
    const int x = entry.size() == 2 ? go::sgfCoordinate(entry[0].unicode()) : 0;
    const int y = entry.size() == 2 ? go::sgfCoordinate(entry[1].unicode()) : 0;
    return x && y ? pointOf(x, y) : NoPoint;
}

} // namespace

Stone Replay::colourOf(int move) const
{
    return go::colourOfMove(move, firstPlayer);
}

int Replay::pointNamed(const QString& place) const
{
    for (int p = Points - 1; p >= 0; --p) {
        if (!place.isEmpty() && labels[size_t(p)] == place)
            return p;
    }
    return NoPoint;
}

Replay replayOf(const Form& form)
{
    // The ordering itself says where each move goes, chains of list rows included; it works
    // on a copy so that the record shown stays as typed.
    Form f = form;
    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    fillMoveTable(f);

    Replay r;
    r.firstPlayer = f.radioGroup1;
    for (int p = 0; p < Points; ++p) {
        r.labels[size_t(p)] = trimControl(f.cells[size_t(p)].text);
        if (isHandicapLabel(r.labels[size_t(p)]))
            r.handicap.append(p);
    }
    int last = highestPlacedMove(f);
    std::vector<int> openRow(HighestMove + 1, 0);
    for (int row = MoveList::LastRow; row >= 1; --row) {
        const int m = moveNumber(f.stringGrid2.at(0, row));
        if (m && f.moveTable[size_t(m)].isEmpty() && trimControl(f.stringGrid2.at(1, row)).isEmpty()) {
            openRow[size_t(m)] = row;
            last = std::max(last, m);
        }
    }
    r.points.assign(size_t(last + 1), NoPoint);
    r.sources.assign(size_t(last + 1), {});
    r.openRow.assign(size_t(last + 1), 0);
    for (const int pass : f.loadedPasses) {
        if (pass >= 1 && pass <= last && f.moveTable[size_t(pass)].isEmpty())
            f.moveTable[size_t(pass)] = PassEntry;
    }
    for (int k = 1; k <= last; ++k) {
        const QString& entry = f.moveTable[size_t(k)];
        r.points[size_t(k)] = entry == PassEntry ? go::PassPoint : pointOfEntry(entry);
        if (r.points[size_t(k)] == NoPoint)
            r.openRow[size_t(k)] = openRow[size_t(k)];
    }
    // Later sources overwrite earlier ones, as the ordering's passes do.
    for (int p = 0; p < Points; ++p) {
        const QString& t = r.labels[size_t(p)];
        const int m = isHandicapLabel(t) ? 0 : moveNumber(t);
        if (m && m <= last)
            r.sources[size_t(m)] = {MoveSource::Cell, p, 0, t};
    }
    for (const auto& [list, kind] : {std::pair{&f.stringGrid1, MoveSource::LoadedRow},
                                     std::pair{&f.stringGrid2, MoveSource::EditingRow}}) {
        for (int row = 1; row < MoveList::Rows; ++row) {
            const int m = moveNumber(list->at(0, row));
            if (m && m <= last && !list->at(1, row).isEmpty())
                r.sources[size_t(m)] = {kind, NoPoint, row, list->at(1, row)};
        }
    }
    return r;
}

} // namespace rules
