#include "sgf/parser.h"

namespace {

bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}

bool isLeadByte(uchar c, Charset charset)
{
    switch (charset) {
    case Charset::ShiftJis:
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case Charset::DoubleByte:
        return c >= 0x81 && c <= 0xFE;
    case Charset::SingleByte:
        break;
    }
    return false;
}

bool isTrailByte(uchar c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// The "]" that ends the value whose "[" stands at start, or -1 when the text ends first.
qsizetype valueClose(const QByteArray& text, qsizetype start, Charset charset)
{
    const qsizetype size = text.size();
    const char* bytes = text.constData();
    for (qsizetype i = start + 1; i < size; ++i) {
        const uchar c = uchar(bytes[i]);
        if (c == '\\')
            ++i;
        else if (c == ']')
            return i;
        else if (isLeadByte(c, charset) && i + 1 < size && isTrailByte(uchar(bytes[i + 1])))
            ++i;
    }
    return -1;
}

} // namespace

Charset charsetOf(const QByteArray& text)
{
    const qsizetype at = text.indexOf("CA[");
    if (at >= 0) {
        const qsizetype end = text.indexOf(']', at);
        const QByteArray name = text.mid(at + 3, end < 0 ? -1 : end - at - 3).trimmed().toLower();
        if (name == "utf-8" || name == "utf8")
            return Charset::SingleByte;
        if (name.startsWith("gb") || name.startsWith("big5") || name == "cp936" || name == "cp950")
            return Charset::DoubleByte;
        if (name.startsWith("shift") || name.startsWith("sjis") || name == "cp932" || name == "windows-31j"
            || name == "ms_kanji")
            return Charset::ShiftJis;
        if (!name.isEmpty())
            return Charset::SingleByte;
    }
    return text.isValidUtf8() ? Charset::SingleByte : Charset::ShiftJis;
}

bool tokenizeSgf(const QByteArray& text, Charset charset, SgfTokens& out)
{
    const qsizetype size = text.size();
    const char* bytes = text.constData();
    QByteArray ident;
    qsizetype i = 0;
    while (i < size) {
        const char c = bytes[i];
        switch (c) {
        case '(':
            out.open(i++);
            continue;
        case ')':
            out.close(i++);
            continue;
        case ';':
            out.node(i++);
            continue;
        case '[': {
            const qsizetype end = valueClose(text, i, charset);
            if (end < 0) {
                out.value(i + 1, size, false);
                return false;
            }
            out.value(i + 1, end, true);
            i = end + 1;
            continue;
        }
        default:
            break;
        }
        if (isUpper(c) || isLower(c)) {
            // Old files spell identifiers with lower-case letters between the capitals.
            ident.clear();
            const qsizetype begin = i;
            for (; i < size && (isUpper(bytes[i]) || isLower(bytes[i])); ++i) {
                if (isUpper(bytes[i]))
                    ident += bytes[i];
            }
            out.identifier(ident, begin, i);
            continue;
        }
        ++i;
    }
    return true;
}

QByteArray unescaped(const QByteArray& text, qsizetype begin, qsizetype end)
{
    QByteArray out;
    for (qsizetype i = begin; i < end; ++i) {
        if (text[i] == '\\' && i + 1 < end)
            ++i;
        out += text[i];
    }
    return out;
}
