#include "sgf/tokenizer.h"

#include <uchardet/uchardet.h>

#include <QList>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

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

// GBK and Big5 end characters in 0xFD and 0xFE too (GB2312's 政 is D5 FE).
bool isTrailByte(uchar c, Charset charset)
{
    const uchar last = charset == Charset::DoubleByte ? 0xFE : 0xFC;
    return c >= 0x40 && c <= last && c != 0x7F;
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
        else if (isLeadByte(c, charset) && i + 1 < size && isTrailByte(uchar(bytes[i + 1]), charset))
            ++i;
    }
    return -1;
}

// The values of a text as one reading cuts them, and how badly that reading fits the SGF
// around them.
class ValueCuts : public SgfTokens {
public:
    explicit ValueCuts(const QByteArray& text)
        : text_(text)
    {
    }
    void open(qsizetype) override { ident_.clear(); }
    void close(qsizetype) override { ident_.clear(); }
    void node(qsizetype) override { ident_.clear(); }
    void identifier(const QByteArray& ident, qsizetype, qsizetype) override { ident_ = ident; }
    void value(qsizetype begin, qsizetype end, bool closed) override
    {
        cuts.append(begin);
        cuts.append(end);
        if (!closed || swallowsStructure(begin, end) || ((ident_ == "B" || ident_ == "W") && !isMoveValue(begin, end)))
            ++misfits;
    }

    // Text outside every value: a reading that ended a value too soon leaves the rest of it
    // among the SGF.
    void countStrayText()
    {
        qsizetype from = 0;
        for (qsizetype i = 0; i <= cuts.size(); i += 2) {
            const qsizetype to = i < cuts.size() ? cuts[i] : text_.size();
            bool inRun = false;
            for (qsizetype j = from; j < to; ++j) {
                const bool high = uchar(text_[j]) >= 0x80;
                if (high && !inRun)
                    ++misfits;
                inRun = high;
            }
            if (i + 1 < cuts.size())
                from = cuts[i + 1];
        }
    }

    QList<qsizetype> cuts;
    int misfits = 0;

private:
    // A "]" taken as text, by a double-byte character or an escape, with SGF after it: a
    // node, a tree, or another property or value. Writers escape a bracket of their text,
    // so the reading that hides this one has cut the value in the wrong place.
    bool swallowsStructure(qsizetype begin, qsizetype end) const
    {
        for (qsizetype i = begin; i < end; ++i) {
            if (text_[i] != ']')
                continue;
            qsizetype j = i + 1;
            while (j < end && uchar(text_[j]) <= ' ')
                ++j;
            if (j < end && (text_[j] == ';' || text_[j] == '(' || text_[j] == ')' || text_[j] == '[' || isUpper(text_[j])))
                return true;
        }
        return false;
    }

    bool isMoveValue(qsizetype begin, qsizetype end) const
    {
        const QByteArray v = text_.mid(begin, end - begin).trimmed();
        const auto coordinate = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
        return v.isEmpty() || (v.size() == 2 && coordinate(v[0]) && coordinate(v[1]));
    }

    const QByteArray& text_;
    QByteArray ident_;
};

// What the detector makes of the text; nothing when it names no double-byte set we read.
std::optional<Charset> detected(const QByteArray& text)
{
    const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), text.constData(), size_t(text.size())) != 0)
        return std::nullopt;
    uchardet_data_end(detector.get());
    const QByteArray name = QByteArray(uchardet_get_charset(detector.get())).toUpper();
    if (name == "SHIFT_JIS")
        return Charset::ShiftJis;
    if (name.startsWith("GB") || name == "BIG5")
        return Charset::DoubleByte;
    if (name == "EUC-KR" || name == "UHC" || name == "EUC-JP" || name == "EUC-TW")
        return Charset::SingleByte;
    // Short texts come back as a Western code page: no word on Asian text.
    return std::nullopt;
}

CharsetChoice undeclaredCharset(const QByteArray& text)
{
    if (text.isValidUtf8())
        return {Charset::SingleByte, false};
    // The dialect's own set first: where the readings tie, files without CA are its files.
    const std::array<Charset, 3> order{Charset::ShiftJis, Charset::DoubleByte, Charset::SingleByte};
    std::array<std::unique_ptr<ValueCuts>, 3> readings;
    for (size_t i = 0; i < order.size(); ++i) {
        readings[i] = std::make_unique<ValueCuts>(text);
        tokenizeSgf(text, order[i], *readings[i]);
        readings[i]->countStrayText();
    }
    const bool agree = readings[0]->cuts == readings[1]->cuts && readings[0]->cuts == readings[2]->cuts;
    if (agree)
        return {Charset::ShiftJis, false};
    int fewest = readings[0]->misfits;
    for (const auto& r : readings)
        fewest = std::min(fewest, r->misfits);
    const std::optional<Charset> guess = detected(text);
    for (size_t i = 0; i < order.size(); ++i) {
        if (guess && *guess == order[i] && readings[i]->misfits == fewest)
            return {order[i], fewest > 0};
    }
    for (size_t i = 0; i < order.size(); ++i) {
        if (readings[i]->misfits == fewest)
            return {order[i], fewest > 0};
    }
    return {Charset::ShiftJis, true};
}

} // namespace

Charset charsetOf(const QByteArray& text)
{
    return chooseCharset(text).charset;
}

CharsetChoice chooseCharset(const QByteArray& text)
{
    const qsizetype at = text.indexOf("CA[");
    if (at >= 0) {
        const qsizetype end = text.indexOf(']', at);
        const QByteArray name = text.mid(at + 3, end < 0 ? -1 : end - at - 3).trimmed().toLower();
        if (name == "utf-8" || name == "utf8")
            return {Charset::SingleByte, false};
        if (name.startsWith("gb") || name.startsWith("big5") || name == "cp936" || name == "cp950")
            return {Charset::DoubleByte, false};
        if (name.startsWith("shift") || name.startsWith("sjis") || name == "cp932" || name == "windows-31j"
            || name == "ms_kanji")
            return {Charset::ShiftJis, false};
        if (!name.isEmpty())
            return {Charset::SingleByte, false};
    }
    return undeclaredCharset(text);
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
