#include "board/conversions.h"

#include "board/go.h"
#include "board/texts.h"

#include <QHash>

#include <limits>

ConversionError::ConversionError(const QString& text)
    : std::runtime_error(QString(texts::NotAnInteger).replace(QStringLiteral("%s"), text).toStdString())
    , text_(text)
{
}

QString ConversionError::message() const
{
    return QString(texts::NotAnInteger).replace(QStringLiteral("%s"), text_) + QLatin1Char('.');
}

namespace {

int digitValue(QChar c, int base)
{
    const ushort u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

std::optional<int> tryToInteger(const QString& text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && (text[i] == QLatin1Char('$') || text[i] == QLatin1Char('x') || text[i] == QLatin1Char('X'))) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    // One beyond the largest magnitude, so that -2147483648 fits.
    const qint64 limit = qint64(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    qint64 value = 0;
    for (; i < n; ++i) {
        const int d = digitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        value = value * base + d;
        if (value > limit)
            return std::nullopt;
    }
    return int(negative ? -value : value);
}

bool isInteger(const QString& text)
{
    return tryToInteger(text).has_value();
}

int toInteger(const QString& text)
{
    const auto v = tryToInteger(text);
    if (!v)
        throw ConversionError(text);
    return *v;
}

QString trimControl(const QString& text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32)
        ++b;
    while (e > b && text[e - 1].unicode() <= 32)
        --e;
    return text.mid(b, e - b);
}

QString toUpperCase(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const QChar u = c.toUpper();
        // Only letters whose upper case is a single code unit; the length never changes.
        if (!u.isSurrogate())
            c = u;
    }
    return out;
}

namespace {

// Half-width forms come from Qt's Unicode data: every character whose compatibility
// decomposition is <narrow> X is the half-width form of X. Katakana are limited to the CJK
// symbol and katakana blocks, which is what a Japanese record holds.
const QHash<char16_t, char16_t>& narrowForms()
{
    static const QHash<char16_t, char16_t> table = [] {
        QHash<char16_t, char16_t> t;
        for (char32_t u = 0xFF61; u <= 0xFFEE; ++u) {
            const QChar c{char16_t(u)};
            if (c.decompositionTag() != QChar::Narrow)
                continue;
            const QString d = c.decomposition();
            if (d.size() == 1)
                t.insert(d[0].unicode(), char16_t(u));
        }
        return t;
    }();
    return table;
}

bool isJapaneseWide(char16_t u)
{
    return (u >= 0x3000 && u <= 0x30FF);
}

void appendHalfWidth(QString& out, QChar c)
{
    if (c.decompositionTag() == QChar::Wide) {
        out += c.decomposition();
        return;
    }
    const char16_t u = c.unicode();
    if (!isJapaneseWide(u)) {
        out += c;
        return;
    }
    const auto& narrow = narrowForms();
    if (auto it = narrow.find(u); it != narrow.end()) {
        out += QChar(it.value());
        return;
    }
    // A voiced kana: its canonical decomposition is the plain kana and a combining mark,
    // and both have half-width forms (ガ gives ｶﾞ).
    if (c.decompositionTag() == QChar::Canonical) {
        const QString d = c.decomposition();
        QString mapped;
        for (QChar part : d) {
            auto p = narrow.find(part.unicode());
            if (p == narrow.end())
                break;
            mapped += QChar(p.value());
        }
        if (mapped.size() == d.size()) {
            out += mapped;
            return;
        }
    }
    // The spacing voiced marks ゛ ゜ are a blank and the combining mark.
    if (c.decompositionTag() == QChar::Compat) {
        const QString d = c.decomposition();
        if (d.size() == 2 && d[0] == QLatin1Char(' ')) {
            if (auto p = narrow.find(d[1].unicode()); p != narrow.end()) {
                out += QChar(p.value());
                return;
            }
        }
    }
    out += c;
}

} // namespace

QString toHalfWidth(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        appendHalfWidth(out, c);
    return out;
}

QString widthAndCase(const QString& text)
{
    if (text.isEmpty())
        return text;
    return toHalfWidth(toUpperCase(text));
}

std::optional<QString> Ato1(const QString& letter)
{
    if (letter.size() != 1)
        return std::nullopt;
    const int n = go::sgfCoordinate(letter[0].unicode());
    if (n == 0)
        return std::nullopt;
    return QString::number(n);
}

std::optional<QString> ItitoA(const QString& number)
{
    for (int n = 1; n <= go::BoardSize; ++n) {
        if (number == QString::number(n))
            return QString(letterOf(n));
    }
    return std::nullopt;
}

QChar letterOf(int n)
{
    return QChar(char16_t(go::sgfLetter(n)));
}
