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

QByteArray nodeOf(const Form& f, int k)
{
    const char colour = (k + f.radioGroup1) % 2 == 1 ? 'B' : 'W';
    return ';' + QByteArray(1, colour) + '[' + f.moveTable[size_t(k)].toLatin1() + ']';
}

// Loaded lines first..last-1, as far as the file has them.
Lines loadedRange(const Form& f, int first, int last)
{
    Lines out;
    const int end = std::min(last, int(f.loadedLines.size()));
    for (int i = std::max(first, 0); i < end; ++i)
        out.append(f.loadedLines[i]);
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

Lines keptHeader(const Form& f)
{
    if (f.gameInfo.isEmpty())
        return {freshHeaderLine(f)};
    if (f.firstMoveLine == 0)
        return {openedGameInfo(f.gameInfo)};
    return loadedRange(f, 0, f.firstMoveLine);
}

// Where in the loaded line the main line's ")" stands; a ")" in a comment before it on the
// same line is text. -1 when that line does not close the main line.
qsizetype closeOffset(const Form& f, int line)
{
    const MainLineClose close = findMainLineClose(f.loadedLines, f.firstMoveLine);
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

QByteArray freshHeaderLine(const Form& f)
{
    QByteArray stones;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            if (isHandicapLabel(f.cell(x, y).text))
                stones += '[' + QByteArray(1, letterOf(x).toLatin1()) + letterOf(y).toLatin1() + ']';
        }
    }
    if (stones.isEmpty())
        return texts::FreshHeaderPlain.toLatin1();
    return texts::FreshHeaderHead.toLatin1() + stones + texts::FreshHeaderTail.toLatin1();
}

Lines moveLines(const Form& f, int from, int n, bool closeLast)
{
    const int first = std::max(from, 0) + 1;
    const int last = std::min(n, HighestMove);
    Lines lines;
    for (int k = first; k <= last; ++k) {
        if ((k - first) % NodesPerLine == 0)
            lines.append(QByteArray());
        lines.last() += nodeOf(f, k);
    }
    if (closeLast && !lines.isEmpty())
        lines.last() += Close;
    return lines;
}

Lines buildFresh(const Form& f)
{
    Lines out{freshHeaderLine(f)};
    out += moveLines(f, 0, countMoves(f), false);
    out.append(closingLine());
    return out;
}

Lines buildRebuilt(const Form& f)
{
    Lines out = keptHeader(f);
    out += moveLines(f, 0, countMoves(f), false);
    out.append(closingLine());
    return out;
}

Lines buildSpliced(const Form& f)
{
    const int tail = f.tailLine;
    const int loaded = f.loadedNodeCount;
    const int n = countMoves(f);
    Lines out = f.gameInfo.isEmpty() ? Lines{freshHeaderLine(f)} : loadedRange(f, 0, tail - 1);
    const bool hasCloseLine = tail >= 1 && tail - 1 < f.loadedLines.size();
    const QByteArray closeLine = hasCloseLine ? f.loadedLines[tail - 1] : QByteArray();
    Lines moves = moveLines(f, loaded, n, true);
    const qsizetype at = moves.isEmpty() || !hasCloseLine ? -1 : closeOffset(f, tail - 1);
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
    out += loadedRange(f, tail, int(f.loadedLines.size()));
    return out;
}
