// The width-and-case mapping that every typed cell text and list place goes through: what it
// must never leave behind, that a second run changes nothing, that it maps each character on
// its own, and that the list tidy and the cell exit agree with it.
//
// Input: a text in UTF-8; its bytes are also read as UTF-16 code units.

#include "board/conversions.h"
#include "board/form.h"
#include "entry/cellentry.h"
#include "fuzzcheck.h"
#include "support/scriptedui.h"

namespace {

bool isFullWidthAscii(char16_t u)
{
    return u >= 0xFF01 && u <= 0xFF5E;
}

// No full-width letter, digit or sign, no ideographic space, no lower-case ASCII letter.
bool isMapped(const QString& text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (isFullWidthAscii(u) || u == 0x3000 || (u >= 'a' && u <= 'z'))
            return false;
    }
    return true;
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        if (text[i].isSurrogate())
            return true;
    }
    return false;
}

bool isAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0x7F)
            return false;
    }
    return true;
}

void checkMapping(const QString& text, qsizetype cut)
{
    const QString mapped = widthAndCase(text);
    FUZZ_CHECK(text.isEmpty() == mapped.isEmpty());
    FUZZ_CHECK(isMapped(mapped));
    FUZZ_CHECK(widthAndCase(mapped) == mapped);
    // A voiced kana becomes two characters; nothing grows more than that or shrinks.
    FUZZ_CHECK(mapped.size() >= text.size() && mapped.size() <= 2 * text.size());
    FUZZ_CHECK(hasLoneSurrogate(mapped) == hasLoneSurrogate(text));
    if (isAscii(text))
        FUZZ_CHECK(mapped == text.toUpper());

    // Character by character: the two halves map to the halves of the whole.
    if (cut > 0 && cut < text.size() && !(text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate()))
        FUZZ_CHECK(widthAndCase(text.left(cut)) + widthAndCase(text.mid(cut)) == mapped);
}

void checkListTidy(const QString& text)
{
    Form f;
    f.stringGrid1.at(0, 3) = text;
    f.stringGrid1.at(1, 3) = text;
    f.stringGrid2.at(1, 499) = text;
    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    FUZZ_CHECK(f.stringGrid1.at(0, 3) == text);
    FUZZ_CHECK(f.stringGrid1.at(1, 3) == widthAndCase(text));
    FUZZ_CHECK(f.stringGrid2.at(1, 499) == widthAndCase(text));
}

// A typed text that maps to a number is stored as that number.
void checkCellExit(const QString& text)
{
    Form f;
    ScriptedUi ui;
    Derutoki(f, QStringLiteral("Edit19_19"));
    f.cell(19, 19).text = text;
    NyuuRyokuGo(f, ui);
    const QString mapped = widthAndCase(text);
    const QString& stored = f.cell(19, 19).text;
    if (const auto v = tryToInteger(mapped))
        FUZZ_CHECK(stored == (*v == 0 ? QString() : QString::number(*v)));
    else if (mapped == QLatin1String("B"))
        FUZZ_CHECK(stored == QLatin1String("B1"));
    else if (mapped.startsWith(QLatin1Char('B')))
        FUZZ_CHECK(stored == mapped);
    else
        FUZZ_CHECK(stored.isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString text = QString::fromUtf8(bytes);
    const QString units = fuzz::utf16Of(bytes);
    const qsizetype cut = size > 0 ? qsizetype(data[0]) : 0;
    checkMapping(text, cut % (text.size() + 1));
    checkMapping(units, cut % (units.size() + 1));
    checkListTidy(text);
    checkListTidy(units);
    checkCellExit(text);
    checkCellExit(units);
    return 0;
}
