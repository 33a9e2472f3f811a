#include "ordering/moveordering.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "checks/inputcheck.h"

#include <QHash>

#include <array>
#include <optional>

namespace {

std::optional<int> tableIndex(const QString& number)
{
    const auto v = tryToInteger(number);
    if (!v || *v < 1 || *v > HighestMove)
        return std::nullopt;
    return v;
}

constexpr int NoCell = -1;

// Every list place is matched against the board many times; one look-up replaces each scan.
// Later cells overwrite earlier ones, so each text keeps the last cell in scan order.
class Board {
public:
    explicit Board(const Form& f)
    {
        index_.reserve(go::Points);
        for (int i = 0; i < go::Points; ++i) {
            texts_[size_t(i)] = trimControl(f.cells[size_t(i)].text);
            if (!texts_[size_t(i)].isEmpty())
                index_.insert(texts_[size_t(i)], i);
        }
    }

    // Cells run row by row from the top left, as every scan of the board does.
    const QString& text(int cell) const { return texts_[size_t(cell)]; }
    int lastHolding(const QString& place) const { return index_.value(place, NoCell); }

    // Each point is made once and shared by every entry that takes it.
    const QString& point(int cell)
    {
        QString& p = points_[size_t(cell)];
        if (p.isNull())
            p = QString(letterOf(go::columnOf(cell))) + letterOf(go::rowOf(cell));
        return p;
    }

private:
    std::array<QString, go::Points> texts_;
    std::array<QString, go::Points> points_;
    QHash<QString, int> index_;
};

void boardPass(Form& f, Board& board)
{
    for (int i = 0; i < go::Points; ++i) {
        const QString& t = board.text(i);
        if (t.isEmpty() || isHandicapLabel(t))
            continue;
        if (const auto v = tableIndex(t))
            f.moveTable[size_t(*v)] = board.point(i);
    }
}

void loadedListPass(Form& f, Board& board)
{
    const MoveList& list = f.stringGrid1;
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& place = list.at(1, r);
        if (place.isEmpty())
            continue;
        const auto m = tableIndex(list.at(0, r));
        const int cell = board.lastHolding(place);
        if (m && cell != NoCell)
            f.moveTable[size_t(*m)] = board.point(cell);
    }
}

// A missing move placed at another listed move takes that move's place, and so on down the
// list. Links are followed only forwards: from a row, the next link is the first later row
// whose move number is the place reached. The point a row ends with is that of the last
// place along its chain that some cell holds.
class Chains {
public:
    Chains(const MoveList& list, const Board& board)
        : board_(board)
    {
        resolved_.fill(NoCell);
        nextSameNumber_.fill(0);
        for (int r = 1; r < MoveList::Rows; ++r)
            isLink_[size_t(r)] = !trimControl(list.at(1, r)).isEmpty();
        // Rows with the same move number are chained in row order.
        for (int r = MoveList::LastRow; r >= 1; --r) {
            if (!isLink_[size_t(r)])
                continue;
            int& first = firstWithNumber_[list.at(0, r)];
            nextSameNumber_[size_t(r)] = first;
            first = r;
        }
        // A link's outcome depends only on later rows, so work upwards from the bottom.
        for (int r = MoveList::LastRow; r >= 1; --r) {
            if (isLink_[size_t(r)])
                resolved_[size_t(r)] = follow(list.at(1, r), r);
        }
    }

    // The cell whose point a row with this place takes, or NoCell.
    int cellFor(const QString& place) const { return follow(place, 0); }

private:
    int follow(const QString& place, int after) const
    {
        const int next = nextLink(place, after);
        if (next > 0 && resolved_[size_t(next)] != NoCell)
            return resolved_[size_t(next)];
        return board_.lastHolding(place);
    }

    // The first row after `after` whose move number is the place; 0 when there is none.
    int nextLink(const QString& place, int after) const
    {
        int r = firstWithNumber_.value(place, 0);
        while (r > 0 && r <= after)
            r = nextSameNumber_[size_t(r)];
        return r;
    }

    const Board& board_;
    std::array<bool, MoveList::Rows> isLink_{};
    QHash<QString, int> firstWithNumber_;
    std::array<int, MoveList::Rows> nextSameNumber_;
    std::array<int, MoveList::Rows> resolved_;
};

void editingListPass(Form& f, Board& board)
{
    const MoveList& list = f.stringGrid2;
    const Chains chains(list, board);
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& place = list.at(1, r);
        if (place.isEmpty())
            continue;
        const auto m = tableIndex(list.at(0, r));
        if (!m)
            continue;
        const int cell = chains.cellFor(place);
        if (cell != NoCell)
            f.moveTable[size_t(*m)] = board.point(cell);
    }
}

} // namespace

void fillMoveTable(Form& f)
{
    for (QString& entry : f.moveTable)
        entry.clear();
    Board board(f);
    boardPass(f, board);
    loadedListPass(f, board);
    editingListPass(f, board);
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

int highestPlacedMove(const Form& f)
{
    for (int k = HighestMove; k >= 1; --k) {
        if (!f.moveTable[size_t(k)].isEmpty())
            return k;
    }
    return 0;
}

QList<int> unplacedMoves(const Form& f)
{
    // The last entry counts as well: a placed last move behind a gap would otherwise be dropped.
    const int highest = highestPlacedMove(f);
    QList<int> gaps;
    for (int k = 1; k <= highest; ++k) {
        if (f.moveTable[size_t(k)].isEmpty())
            gaps.append(k);
    }
    return gaps;
}

bool ZyunRetuKihuKakunin(Form& f, Ui& ui)
{
    const QList<int> gaps = unplacedMoves(f);
    for (const int k : gaps)
        f.logLine(messages::gapLine(k));
    if (!gaps.isEmpty())
        ui.warn(messages::gapBox());
    return !gaps.isEmpty();
}
