#pragma once

#include <QString>

#include <optional>

// "Edit" + column + "_" + row, both 1..19 without leading zeros.
QString cellName(int x, int y);

struct CellNameParts {
    QString column;
    QString row;
};

// The column text is the 5th character, with the 6th unless it is "_"; the row text is the
// last character, preceded by the second-to-last unless that one is "_".
CellNameParts parseCellName(const QString& name);

struct CellPos {
    int x = 0;
    int y = 0;
};
// The cell a name stands for, or nothing when it names no cell.
std::optional<CellPos> cellOfName(const QString& name);

bool isStarPoint(int x, int y);
