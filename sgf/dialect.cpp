#include "sgf/dialect.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/limits.h"
#include "board/texts.h"
#include "sgf/loadedgame.h"
#include "sgf/passes.h"
#include "sgf/lines.h"

#include <algorithm>

namespace {

constexpr int NodesPerLine = 14;
constexpr char Close = ')';

QByteArray closingLine()
{
    return QByteArray(1, Close);
}

// A move takes the colour of its turn, unless the file it was loaded from gave it another;
// a loaded pass is written as the file wrote it.
QByteArray nodeOf(const FileContent& r, int k)
{
    const std::optional<bool> loaded = r.loaded ? loadedColour(*r.loaded, k) : std::nullopt;
    const bool black = loaded ? *loaded : go::isBlackMove(k, r.firstPlayer);
    QByteArray value = r.moves[k - 1];
    if (r.loaded && k <= r.loaded->moves.size() && r.loaded->moves[k - 1].pass && value == PassEntry.toLatin1()
        && !r.loaded->moves[k - 1].passAsTt)
        value.clear();
    return ';' + QByteArray(1, black ? 'B' : 'W') + '[' + value + ']';
}

// Loaded lines first..last-1, as far as the file has them.
Lines loadedRange(const FileContent& r, int first, int last)
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

// A file of game information alone, closed by its ")" with nothing after it: its text is
// written back as one line before the moves, as its own program writes it, unless a value
// runs over lines, whose text the joining would change.
bool rebuiltAsOneLine(const FileContent& r)
{
    const LoadedGame& g = *r.loaded;
    return r.firstMoveLine == 0 && g.secondNode.line < 0 && g.closed && !g.rootValueSpansLines
        && !textAfterClose(r.loadedLines, g);
}

// The root node whatever its layout, every property kept; a text with no game tree in it
// is kept as the lines before its moves.
Lines keptHeader(const FileContent& r)
{
    if (r.gameInfo.isEmpty())
        return {freshHeaderLine(r)};
    if (r.loaded && r.loaded->hasTree && rebuiltAsOneLine(r))
        return {openedGameInfo(r.gameInfo)};
    if (r.loaded && r.loaded->hasTree)
        return rootLines(r.loadedLines, *r.loaded);
    if (r.firstMoveLine == 0)
        return {openedGameInfo(r.gameInfo)};
    return loadedRange(r, 0, r.firstMoveLine);
}

} // namespace

int countMoves(const Form& f)
{
    int n = 0;
    while (n < HighestMove && !f.moveTable[size_t(n + 1)].isEmpty())
        ++n;
    return n;
}

FileContent fileContentOf(const Form& f)
{
    FileContent r;
    const int n = countMoves(f);
    r.moves.reserve(n);
    for (int k = 1; k <= n; ++k)
        r.moves.append(f.moveTable[size_t(k)].toLatin1());
    r.firstPlayer = f.radioGroup1;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            if (isHandicapLabel(f.cell(x, y).text))
                r.handicapPoints.append(QByteArray(1, letterOf(x).toLatin1()) + letterOf(y).toLatin1());
        }
    }
    r.gameInfo = f.gameInfo;
    r.loadedLines = f.loadedLines;
    r.firstMoveLine = f.firstMoveLine;
    r.tailLine = f.tailLine;
    r.loadedNodeCount = f.loadedNodeCount;
    if (!f.loadedLines.isEmpty())
        r.loaded = std::make_shared<const LoadedGame>(loadedGameOf(f.loadedLines));
    return r;
}

QByteArray freshHeaderLine(const FileContent& r)
{
    QByteArray stones;
    for (const QByteArray& point : r.handicapPoints)
        stones += '[' + point + ']';
    if (stones.isEmpty())
        return texts::FreshHeaderPlain.toLatin1();
    return texts::FreshHeaderHead.toLatin1() + stones + texts::FreshHeaderTail.toLatin1();
}

Lines moveLines(const FileContent& r, int from, int n, bool closeLast)
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

Lines buildFresh(const FileContent& r)
{
    Lines out{freshHeaderLine(r)};
    out += moveLines(r, 0, int(r.moves.size()), false);
    out.append(closingLine());
    return out;
}

Lines buildRebuilt(const FileContent& r)
{
    Lines out = keptHeader(r);
    out += moveLines(r, 0, int(r.moves.size()), false);
    out.append(closingLine());
    return out;
}

Lines buildSpliced(const FileContent& r)
{
    if (!r.loaded || !r.loaded->hasTree)
        return buildRebuilt(r);
    const auto [line, at] = r.loaded->splice;
    Lines out = r.gameInfo.isEmpty() ? Lines{freshHeaderLine(r)} : loadedRange(r, 0, line);
    const QByteArray spliceLine = r.loadedLines[line];
    Lines moves = moveLines(r, r.loadedNodeCount, int(r.moves.size()), true);
    if (moves.isEmpty()) {
        out.append(spliceLine);
    } else {
        // The new moves go where the main line's ")" was, after its trailing passes and
        // moveless nodes; whatever followed it on its line (a variation, a comment, Shift-JIS
        // text) stays after them, byte for byte. A main line the text never closed is closed
        // after them.
        out.append(spliceLine.left(at));
        moves.last() += spliceLine.mid(r.loaded->closed ? at + 1 : at);
    }
    out += moves;
    out += loadedRange(r, line + 1, int(r.loadedLines.size()));
    return out;
}
