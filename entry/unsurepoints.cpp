#include "entry/unsurepoints.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/record.h"
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
    return std::size_t((p.y - 1) * 19 + (p.x - 1));
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
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
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

void pointLeft(Form& f, const CellPos& p, bool changed)
{
    if (!f.fromPicture)
        return;
    if (changed)
        markUnsurePoint(f, p, false);
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
    for (int k = 0; k < 361; ++k) {
        const int i = (start + k) % 361;
        if (f.unsurePoints[std::size_t(i)]) {
            ui.setFocus(cellName(i % 19 + 1, i / 19 + 1));
            return;
        }
    }
}
