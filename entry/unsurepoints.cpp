#include "entry/unsurepoints.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/ui.h"

#include <algorithm>

namespace {

// A longer run of numbers printed nowhere than a game leaves before a number: moves played on
// taken points are scattered through a game, rarely this many in a row.
constexpr int LongestGap = 20;
// At most this many numbers, and this share of them, may lie beyond such a run: more are the
// game itself, read sparsely.
constexpr int MostOutliers = 5;
constexpr int OutlierShare = 10; // per cent

std::size_t indexOf(const CellPos& p)
{
    return std::size_t(go::pointOf(p.x, p.y));
}

QList<int> boardNumbers(const Form& f)
{
    QList<int> numbers;
    for (const Cell& c : f.cells) {
        if (const auto n = tryToInteger(c.text); n && *n > 0)
            numbers.append(*n);
    }
    return numbers;
}

} // namespace

int supportedHighest(QList<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    const int count = int(numbers.size());
    for (int i = 1; i < count; ++i) {
        const int beyond = count - i;
        if (numbers[i] - numbers[i - 1] > LongestGap && beyond <= MostOutliers && beyond * 100 <= count * OutlierShare)
            return numbers[i - 1];
    }
    return numbers.isEmpty() ? 0 : numbers.last();
}

QList<CellPos> outlyingCells(const Form& f)
{
    const int highest = supportedHighest(boardNumbers(f));
    QList<CellPos> out;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (tryToInteger(f.cell(x, y).text).value_or(0) > highest)
                out.append({x, y});
        }
    }
    return out;
}

int readingTotal(const Form& f)
{
    int total = supportedHighest(boardNumbers(f));
    while (f.noteMoves.contains(total + 1))
        ++total;
    return total;
}

bool isUnsurePoint(const Form& f, const CellPos& p)
{
    return f.unsurePoints[indexOf(p)];
}

void markUnsurePoint(Form& f, const CellPos& p, bool unsure)
{
    f.unsurePoints[indexOf(p)] = unsure;
}

bool anyUnsurePoint(const Form& f)
{
    return std::find(f.unsurePoints.begin(), f.unsurePoints.end(), true) != f.unsurePoints.end();
}

bool proofreading(const Form& f)
{
    return f.fromPicture && anyUnsurePoint(f);
}

void confirmPoint(Form& f, const CellPos& p)
{
    f.unsurePoints[indexOf(p)] = false;
    f.pairDoubts[indexOf(p)] = false;
}

namespace {

QList<CellPos> cellsHolding(const Form& f, const QString& text)
{
    QList<CellPos> out;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (f.cell(x, y).text == text)
                out.append({x, y});
        }
    }
    return out;
}

} // namespace

void markEntryFaults(Form& f, const CellPos& p)
{
    const QString text = f.cell(p.x, p.y).text;
    if (text.isEmpty())
        return;
    const QList<CellPos> same = cellsHolding(f, text);
    if (same.size() > 1) {
        const auto other = std::find_if(same.rbegin(), same.rend(), [&](const CellPos& c) { return c.x != p.x || c.y != p.y; });
        f.log(messages::duplicateEntry(text, other->x, other->y).log);
        for (const CellPos& c : same) {
            // A point still to be looked at for its reading keeps that doubt.
            if (!isUnsurePoint(f, c)) {
                markUnsurePoint(f, c, true);
                f.pairDoubts[indexOf(c)] = true;
            }
        }
    }
    bool ok = false;
    if (text.toLongLong(&ok) > MostDigits && ok) {
        f.logLine(messages::tooManyDigits(text).log);
        confirmPoint(f, p);
        markUnsurePoint(f, p, true);
    }
}

void settlePairDoubts(Form& f)
{
    for (int i = 0; i < go::Points; ++i) {
        if (!f.pairDoubts[std::size_t(i)])
            continue;
        const CellPos p{go::columnOf(i), go::rowOf(i)};
        const QString& text = f.cell(p.x, p.y).text;
        if (text.isEmpty() || cellsHolding(f, text).size() < 2)
            confirmPoint(f, p);
    }
}

void pointLeft(Form& f)
{
    if (!f.fromPicture)
        return;
    if (f.readTotal.isEmpty() || f.souTesuu != f.readTotal)
        return;
    const int total = readingTotal(f);
    f.readTotal = total > 0 ? QString::number(total) : QString();
    f.souTesuu = f.readTotal;
}

void nextUnsurePoint(Form& f, Ui& ui)
{
    const auto here = cellOfName(f.controlMei);
    const int start = here ? int(indexOf(*here)) + 1 : 0;
    for (int k = 0; k < go::Points; ++k) {
        const int i = (start + k) % go::Points;
        if (f.unsurePoints[std::size_t(i)]) {
            ui.setFocus(cellName(go::columnOf(i), go::rowOf(i)));
            return;
        }
    }
}

void goOnFromDoubt(Form& f, Ui& ui)
{
    if (anyUnsurePoint(f))
        nextUnsurePoint(f, ui);
    else
        ui.focusNext();
}
