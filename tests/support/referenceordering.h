#pragma once

// The move ordering done the slow, literal way: every match is found by scanning the whole
// board, and the chain of the editing list is followed row by row with a scan after each row.
// The fast ordering must leave MoveTable exactly as this does. It expects a board that passed
// the input-data check; a list row with a place but no table entry throws, as unguarded code
// would.

#include "board/conversions.h"
#include "board/form.h"

#include <array>

namespace reference {

inline std::array<QString, 361> trimmedCells(const Form& f)
{
    std::array<QString, 361> cells;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            cells[size_t((y - 1) * 19 + x - 1)] = trimControl(f.cell(x, y).text);
    return cells;
}

inline QString point(int x, int y)
{
    return QString(letterOf(x)) + letterOf(y);
}

// Every cell whose trimmed text is not empty and equals the place sets the entry.
inline void scanBoard(Form& f, const std::array<QString, 361>& cells, const QString& place, int m)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString& t = cells[size_t((y - 1) * 19 + x - 1)];
            if (!t.isEmpty() && t == place)
                f.moveTable.at(size_t(m)) = point(x, y);
        }
    }
}

// Tidy, clear, board pass, loaded-list pass, editing-list pass; the input-data check is left out.
inline void orderMoves(Form& f)
{
    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    for (int k = 1; k <= 1000; ++k)
        f.moveTable[size_t(k)].clear();
    const auto cells = trimmedCells(f);

    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString& t = cells[size_t((y - 1) * 19 + x - 1)];
            if (!t.isEmpty() && !t.startsWith(QLatin1Char('B')))
                f.moveTable.at(size_t(toInteger(t))) = point(x, y);
        }
    }

    const MoveList& loaded = f.stringGrid1;
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& p = loaded.at(1, r);
        if (!p.isEmpty())
            scanBoard(f, cells, p, toInteger(loaded.at(0, r)));
    }

    const MoveList& editing = f.stringGrid2;
    for (int r = 1; r < MoveList::Rows; ++r) {
        QString p = editing.at(1, r);
        if (p.isEmpty())
            continue;
        const int m = toInteger(editing.at(0, r));
        scanBoard(f, cells, p, m);
        for (int r2 = 1; r2 < MoveList::Rows; ++r2) {
            if (!trimControl(editing.at(1, r2)).isEmpty() && p == editing.at(0, r2))
                p = editing.at(1, r2);
            scanBoard(f, cells, p, m);
        }
    }
}

} // namespace reference
