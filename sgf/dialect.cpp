#include "sgf/dialect.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/record.h"
#include "board/texts.h"
#include "sgf/reader.h"

#include <algorithm>

namespace {

constexpr int NodesPerLine = 14;
constexpr char Close = ')';

QByteArray closingLine()
{
    return QByteArray(1, Close);
}

QByteArray nodeOf(const RecordToSave& r, int k)
{
    const char colour = (k + r.firstPlayer) % 2 == 1 ? 'B' : 'W';
    return ';' + QByteArray(1, colour) + '[' + r.moves[k - 1] + ']';
}

// Loaded lines first..last-1, as far as the file has them.
Lines loadedRange(const RecordToSave& r, int first, int last)
{
    Lines out;
    const int end = std::min(last, int(r.loadedLines.size()));
    for (int i = std::max(first, 0); i < end; ++i)
        out.append(r.loadedLines[i]);
    return out;
}

// A header-only file's text ends with the ")" that closed it; the moves go before that.
QByteArray openedGameInfo(const QByteArray& gameInfo)
{
    QByteArray text = gameInfo;
    while (!text.isEmpty() && quint8(text.back()) <= 32)
        text.chop(1);
    if (text.endsWith(Close))
        text.chop(1);
    return text;
}

Lines keptHeader(const RecordToSave& r)
{
    if (r.gameInfo.isEmpty())
        return {freshHeaderLine(r)};
    if (r.firstMoveLine == 0)
        return {openedGameInfo(r.gameInfo)};
    return loadedRange(r, 0, r.firstMoveLine);
}

// Where in the loaded line the main line's ")" stands; a ")" in a comment before it on the
// same line is text. -1 when that line does not close the main line.
qsizetype closeOffset(const RecordToSave& r, int line)
{
    const MainLineClose close = findMainLineClose(r.loadedLines, r.firstMoveLine);
    return close.line == line ? close.at : -1;
}

} // namespace

int countMoves(const Form& f)
{
    int n = 0;
    while (n < HighestMove && !f.moveTable[size_t(n + 1)].isEmpty())
        ++n;
    return n;
}

RecordToSave recordToSave(const Form& f)
{
    RecordToSave r;
    const int n = countMoves(f);
    r.moves.reserve(n);
    for (int k = 1; k <= n; ++k)
        r.moves.append(f.moveTable[size_t(k)].toLatin1());
    r.firstPlayer = f.radioGroup1;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if (isHandicapLabel(f.cell(x, y).text))
                r.handicapPoints.append(QByteArray(1, letterOf(x).toLatin1()) + letterOf(y).toLatin1());
        }
    }
    r.gameInfo = f.gameInfo;
    r.loadedLines = f.loadedLines;
    r.firstMoveLine = f.firstMoveLine;
    r.tailLine = f.tailLine;
    r.loadedNodeCount = f.loadedNodeCount;
    return r;
}

QByteArray freshHeaderLine(const RecordToSave& r)
{
    QByteArray stones;
    for (const QByteArray& point : r.handicapPoints)
        stones += '[' + point + ']';
    if (stones.isEmpty())
        return texts::FreshHeaderPlain.toLatin1();
    return texts::FreshHeaderHead.toLatin1() + stones + texts::FreshHeaderTail.toLatin1();
}

Lines moveLines(const RecordToSave& r, int from, int n, bool closeLast)
{
    const int first = std::max(from, 0) + 1;
    const int last = std::min(n, int(r.moves.size()));
    Lines lines;
    for (int k = first; k <= last; ++k) {
        if ((k - first) % NodesPerLine == 0)
            lines.append(QByteArray());
        lines.last() += nodeOf(r, k);
    }
    if (closeLast && !lines.isEmpty())
        lines.last() += Close;
    return lines;
}

Lines buildFresh(const RecordToSave& r)
{
    Lines out{freshHeaderLine(r)};
    out += moveLines(r, 0, int(r.moves.size()), false);
    out.append(closingLine());
    return out;
}

Lines buildRebuilt(const RecordToSave& r)
{
    Lines out = keptHeader(r);
    out += moveLines(r, 0, int(r.moves.size()), false);
    out.append(closingLine());
    return out;
}

Lines buildSpliced(const RecordToSave& r)
{
    const int tail = r.tailLine;
    const int loaded = r.loadedNodeCount;
    const int n = int(r.moves.size());
    Lines out = r.gameInfo.isEmpty() ? Lines{freshHeaderLine(r)} : loadedRange(r, 0, tail - 1);
    const bool hasCloseLine = tail >= 1 && tail - 1 < r.loadedLines.size();
    const QByteArray closeLine = hasCloseLine ? r.loadedLines[tail - 1] : QByteArray();
    Lines moves = moveLines(r, loaded, n, true);
    const qsizetype at = moves.isEmpty() || !hasCloseLine ? -1 : closeOffset(r, tail - 1);
    if (moves.isEmpty() || at < 0) {
        // No new move, or a line that never closed the main line: nothing of it may go.
        if (hasCloseLine)
            out.append(closeLine);
    } else {
        // The new moves go where the main line's ")" was; whatever followed it on its line
        // (a variation, a comment, Shift-JIS text) stays after them, byte for byte.
        out.append(closeLine.left(at));
        moves.last() += closeLine.mid(at + 1);
    }
    out += moves;
    out += loadedRange(r, tail, int(r.loadedLines.size()));
    return out;
}
