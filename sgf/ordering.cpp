#include "sgf/ordering.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/texts.h"
#include "board/ui.h"
#include "checks/inputcheck.h"
#include "sgf/movetable.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int HighestMove = 1000;

bool isHandicap(const QString& text)
{
    return text.startsWith(QLatin1Char('B'));
}

QString pointOf(int x, int y)
{
    return QString(letterOf(x)) + letterOf(y);
}

std::optional<int> tableIndex(const QString& number)
{
    const auto v = tryToInteger(number);
    if (!v || *v < 1 || *v > HighestMove)
        return std::nullopt;
    return v;
}

// Every list place is matched against the board many times; one look-up replaces each scan.
// Later cells overwrite earlier ones, so each text keeps the last cell in scan order.
using BoardIndex = QHash<QString, QString>;

BoardIndex indexBoard(const Form& f)
{
    BoardIndex index;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString t = trimControl(f.cell(x, y).text);
            if (!t.isEmpty())
                index.insert(t, pointOf(x, y));
        }
    }
    return index;
}

void boardPass(Form& f)
{
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString t = trimControl(f.cell(x, y).text);
            if (t.isEmpty() || isHandicap(t))
                continue;
            if (const auto v = tableIndex(t))
                f.moveTable[size_t(*v)] = pointOf(x, y);
        }
    }
}

void loadedListPass(Form& f, const BoardIndex& index)
{
    const MoveList& list = f.stringGrid1;
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& place = list.at(1, r);
        if (place.isEmpty())
            continue;
        const auto m = tableIndex(list.at(0, r));
        const auto point = index.constFind(place);
        if (m && point != index.constEnd())
            f.moveTable[size_t(*m)] = *point;
    }
}

// A missing move placed at another listed move takes that move's place, and so on down the
// list. Links are followed only forwards: from a row, the next link is the first later row
// whose move number is the place reached. The point a row ends with is that of the last
// place along its chain that some cell holds.
class Chains {
public:
    Chains(const MoveList& list, const BoardIndex& index)
        : list_(list)
        , index_(index)
        , resolved_(size_t(MoveList::Rows))
    {
        for (int r = 1; r < MoveList::Rows; ++r) {
            if (isLink(r))
                linksByMoveNumber_[list.at(0, r)].push_back(r);
        }
        // A link's outcome depends only on later rows, so work upwards from the bottom.
        for (int r = MoveList::LastRow; r >= 1; --r) {
            if (isLink(r))
                resolved_[size_t(r)] = follow(list.at(1, r), r);
        }
    }

    // The point for a row whose place is p, the chain starting before row 1.
    std::optional<QString> pointFor(const QString& place) const { return follow(place, 0); }

private:
    bool isLink(int r) const { return !trimControl(list_.at(1, r)).isEmpty(); }

    std::optional<QString> follow(const QString& place, int after) const
    {
        if (const int next = nextLink(place, after)) {
            if (const auto& further = resolved_[size_t(next)])
                return further;
        }
        const auto point = index_.constFind(place);
        if (point == index_.constEnd())
            return std::nullopt;
        return *point;
    }

    // The first row after `after` whose move number is the place; 0 when there is none.
    int nextLink(const QString& place, int after) const
    {
        const auto rows = linksByMoveNumber_.constFind(place);
        if (rows == linksByMoveNumber_.constEnd())
            return 0;
        const auto it = std::upper_bound(rows->begin(), rows->end(), after);
        return it == rows->end() ? 0 : *it;
    }

    const MoveList& list_;
    const BoardIndex& index_;
    QHash<QString, std::vector<int>> linksByMoveNumber_;
    std::vector<std::optional<QString>> resolved_;
};

void editingListPass(Form& f, const BoardIndex& index)
{
    const MoveList& list = f.stringGrid2;
    const Chains chains(list, index);
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& place = list.at(1, r);
        if (place.isEmpty())
            continue;
        const auto m = tableIndex(list.at(0, r));
        if (!m)
            continue;
        if (const auto point = chains.pointFor(place))
            f.moveTable[size_t(*m)] = *point;
    }
}

QString gapBoxText()
{
    const QString blankLine = QStringLiteral("\r\n\r\n");
    return texts::GapBox1 + texts::GapBox2 + blankLine + texts::GapBox3 + blankLine + texts::GapBox4;
}

} // namespace

void fillMoveTable(Form& f)
{
    for (QString& entry : f.moveTable)
        entry.clear();
    const BoardIndex index = indexBoard(f);
    boardPass(f);
    loadedListPass(f, index);
    editingListPass(f, index);
}

bool ZyunRetuStrKihu(Form& f)
{
    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    if (NyuuryokuDataKakunin(f))
        return true;
    fillMoveTable(f);
    return false;
}

bool ZyunRetuKihuKakunin(Form& f, Ui& ui)
{
    // Move 1000 counts as well: a placed last move behind a gap would otherwise be dropped.
    int highest = 0;
    for (int k = HighestMove; k >= 1 && highest == 0; --k) {
        if (!f.moveTable[size_t(k)].isEmpty())
            highest = k;
    }
    bool gap = false;
    for (int k = 1; k <= highest; ++k) {
        if (!f.moveTable[size_t(k)].isEmpty())
            continue;
        f.logLine(texts::GapLine + texts::GapTeban + QString::number(k) + texts::Te);
        gap = true;
    }
    if (gap)
        ui.warn(gapBoxText());
    return gap;
}
