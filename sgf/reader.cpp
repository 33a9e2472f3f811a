#include "sgf/reader.h"

Lines splitLines(const QByteArray& text)
{
    const qsizetype nul = text.indexOf('\0');
    const QByteArray bytes = nul < 0 ? text : text.left(nul);
    Lines lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

int findFirstMoveLine(const Lines& lines)
{
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].contains(';'))
            return i;
    }
    return 0;
}

QByteArray concatLines(const Lines& lines, int count)
{
    QByteArray joined;
    for (int i = 0; i < count && i < lines.size(); ++i)
        joined += lines[i];
    return joined;
}

namespace {

// "a".."s" as 1..19; 0 for "B" and "W", which take their turn but leave the coordinate as it was.
int coordinateOf(char c)
{
    return c >= 'a' && c <= 's' ? c - 'a' + 1 : 0;
}

bool readsAsLetter(char c)
{
    return (c >= 'a' && c <= 's') || c == 'B' || c == 'W';
}

// The state carried from byte to byte. Column and row alternate through the whole scan,
// so a value of the wrong length shifts the pairing of every later one.
struct Scanner {
    MoveScan scan;
    bool inNode = false;
    bool inValue = false;
    bool columnPending = false;
    bool black = false;
    int column = 0;
    int row = 0;

    void coordinate(char c)
    {
        const int value = coordinateOf(c);
        if (!columnPending) {
            if (value)
                column = value;
            columnPending = true;
            return;
        }
        if (value)
            row = value;
        columnPending = false;
        // Until a column and a row have both been read there is no point to put the move on.
        if (column && row)
            scan.moves.append({scan.nodeCount, column, row, black});
    }

    void byte(char c)
    {
        switch (c) {
        case ';':
            inNode = true;
            ++scan.nodeCount;
            return;
        case '[':
            inValue = true;
            return;
        case ']':
            inValue = false;
            inNode = false;
            return;
        default:
            break;
        }
        if (!inNode || !readsAsLetter(c))
            return;
        if (inValue) {
            coordinate(c);
            return;
        }
        if (c == 'B')
            black = true;
        else if (c == 'W')
            black = false;
    }
};

} // namespace

MoveScan scanMoves(const Lines& lines, int from)
{
    Scanner scanner;
    for (int i = qMax(from, 0); i < lines.size(); ++i) {
        for (const char c : lines[i]) {
            // The first ")" closes the main line; nothing after it is read.
            if (c == ')') {
                scanner.scan.tailLine = i + 1;
                return scanner.scan;
            }
            scanner.byte(c);
        }
    }
    return scanner.scan;
}
