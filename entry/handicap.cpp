#include "entry/handicap.h"

#include "board/colours.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/limits.h"

namespace {

// Reads four-byte groups from start until one is not "[xy]". Column and row carry over from
// group to group, and from the first list to the second.
void readGroups(const QByteArray& text, qsizetype start, int& column, int& row, QList<CellPos>& points)
{
    for (qsizetype i = start; i + 4 <= text.size(); i += 4) {
        if (text[i] != '[' || text[i + 3] != ']')
            return;
        // Any other byte than a coordinate leaves its coordinate as it was.
        if (const int x = go::sgfCoordinate(text[i + 1]))
            column = x;
        if (const int y = go::sgfCoordinate(text[i + 2]))
            row = y;
        if (column && row)
            points.append({column, row});
    }
}

void numberHandicapStones(Form& f)
{
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            Cell& c = f.cell(x, y);
            if (isHandicapLabel(c.text))
                c.text = HandicapMark + QString::number(nextHandicapNumber(f));
        }
    }
}

} // namespace

HandicapList parseHandicapList(const QByteArray& gameInfo)
{
    HandicapList list;
    // A plain search: an "AB" inside another value counts too.
    const qsizetype first = gameInfo.indexOf("AB");
    if (first < 0)
        return list;
    list.listed = true;
    int column = 0;
    int row = 0;
    readGroups(gameInfo, first + 2, column, row, list.points);
    const qsizetype second = gameInfo.indexOf("AB", first + 2);
    if (second >= 0)
        readGroups(gameInfo, second + 2, column, row, list.points);
    return list;
}

void layLoadedHandicap(Cell& c)
{
    c.background = colours::Black;
    c.enabled = false;
    c.text = HandicapMark;
    c.tag = CellOrigin::LoadedHandicap;
}

void OkiisiSet(Form& f)
{
    const HandicapList list = parseHandicapList(f.gameInfo);
    if (list.listed)
        f.radioGroup1 = go::FirstPlayer::White;
    for (const CellPos& p : list.points)
        layLoadedHandicap(f.cell(p.x, p.y));
    numberHandicapStones(f);
}
