#include "sgf/lines.h"

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
