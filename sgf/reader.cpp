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

// Shift-JIS: a byte of these ranges begins a double-byte character, whose second byte may be
// "[", "\\" or "]" and is text all the same.
bool isLeadByte(uchar c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrailByte(uchar c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// A file that declares UTF-8 has no ASCII byte inside a character; any other is read as the
// dialect's Shift-JIS. The declaration is the header's CA property.
bool readsAsShiftJis(const Lines& lines, int headerLines)
{
    for (int i = 0; i < headerLines && i < lines.size(); ++i) {
        const qsizetype at = lines[i].indexOf("CA[");
        if (at < 0)
            continue;
        const qsizetype end = lines[i].indexOf(']', at);
        const QByteArray charset = lines[i].mid(at + 3, end < 0 ? -1 : end - at - 3).toLower();
        return charset != "utf-8" && charset != "utf8";
    }
    return true;
}

// Tells the bytes of bracketed values from the structure around them, so that a ")" in a
// comment does not end the main line. "\\" escapes the byte after it, "]" included.
class ValueText {
public:
    explicit ValueText(bool shiftJis)
        : shiftJis_(shiftJis)
    {
    }

    // Whether c, the next byte, is text inside a value.
    bool take(uchar c)
    {
        if (!inside_) {
            inside_ = c == '[';
            return false;
        }
        if (trail_) {
            trail_ = false;
            if (isTrailByte(c))
                return true;
        }
        if (escaped_) {
            escaped_ = false;
            return true;
        }
        if (c == '\\')
            escaped_ = true;
        else if (c == ']')
            inside_ = false;
        else if (shiftJis_ && isLeadByte(c))
            trail_ = true;
        return inside_;
    }

    // A line end is a byte of its own: no character spans it, and an escaped line end is
    // gone with it.
    void endLine()
    {
        trail_ = false;
        escaped_ = false;
    }

private:
    bool shiftJis_;
    bool inside_ = false;
    bool escaped_ = false;
    bool trail_ = false;
};

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
    ValueText value(readsAsShiftJis(lines, from));
    for (int i = qMax(from, 0); i < lines.size(); ++i) {
        for (const char c : lines[i]) {
            const bool text = value.take(uchar(c));
            // The first ")" outside a value closes the main line; nothing after it is read.
            if (c == ')' && !text) {
                scanner.scan.tailLine = i + 1;
                return scanner.scan;
            }
            scanner.byte(c);
        }
        value.endLine();
    }
    return scanner.scan;
}

MainLineClose findMainLineClose(const Lines& lines, int from)
{
    ValueText value(readsAsShiftJis(lines, from));
    for (int i = qMax(from, 0); i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        for (qsizetype at = 0; at < line.size(); ++at) {
            const char c = line[at];
            if (!value.take(uchar(c)) && c == ')')
                return {i, at};
        }
        value.endLine();
    }
    return {};
}
