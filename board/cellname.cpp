#include "board/cellname.h"

#include "board/go.h"

QString cellName(int x, int y)
{
    return QStringLiteral("Edit%1_%2").arg(x).arg(y);
}

CellNameParts parseCellName(const QString& name)
{
    CellNameParts p;
    if (name.size() < 6)
        return p;
    p.column = name.mid(4, 1);
    if (name[5] != QLatin1Char('_'))
        p.column += name[5];
    p.row = name.right(1);
    if (name[name.size() - 2] != QLatin1Char('_'))
        p.row.prepend(name[name.size() - 2]);
    return p;
}

std::optional<CellPos> cellOfName(const QString& name)
{
    const CellNameParts p = parseCellName(name);
    bool okx = false;
    bool oky = false;
    const int x = p.column.toInt(&okx);
    const int y = p.row.toInt(&oky);
    if (!okx || !oky || !go::onBoard(x, y) || cellName(x, y) != name)
        return std::nullopt;
    return CellPos{x, y};
}

bool isStarPoint(int x, int y)
{
    const auto star = [](int v) { return v == 4 || v == 10 || v == 16; };
    return star(x) && star(y);
}
