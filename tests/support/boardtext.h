#pragma once

#include "board/form.h"

#include <QStringList>

// Cells as "x,y,text"; the text may hold blanks and commas.
inline void putCells(Form& f, const QStringList& cells)
{
    for (const QString& c : cells) {
        const QStringList parts = c.split(QLatin1Char(','));
        f.cell(parts[0].toInt(), parts[1].toInt()).text = parts.mid(2).join(QLatin1Char(','));
    }
}

// List rows as "move|place", from row 1 down.
inline void putRows(MoveList& list, const QStringList& rows)
{
    int r = 1;
    for (const QString& row : rows) {
        const int bar = int(row.indexOf(QLatin1Char('|')));
        list.at(0, r) = row.left(bar);
        list.at(1, r) = row.mid(bar + 1);
        ++r;
    }
}

// Letters, digits and signs as a Japanese input method gives them in full-width mode.
inline QString fullWidth(const QString& text)
{
    QString out;
    for (const QChar c : text)
        out += c.unicode() > 0x20 && c.unicode() < 0x7f ? QChar(c.unicode() - 0x20 + 0xff00) : c;
    return out;
}
