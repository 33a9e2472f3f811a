// The integer test and conversion, against a regular-expression reading of the same rule, and
// the handlers that apply it to typed text: cell exit with an offset, the offset box, the move
// search, the missing-number check and the cell-name parse.
//
// Input: a text, "\n", a second text (the offset, the search text, the total).

#include "board/cellname.h"
#include "board/colours.h"
#include "board/conversions.h"
#include "board/form.h"
#include "checks/missingnumbers.h"
#include "checks/search.h"
#include "entry/cellentry.h"
#include "fuzzcheck.h"
#include "support/scriptedui.h"

#include <QRegularExpression>

#include <cstring>

#include <limits>
#include <optional>

namespace {

// Leading blanks, a sign, then decimal digits or hexadecimal ones after $, x, X, 0x or 0X.
std::optional<int> expectedInteger(const QString& text)
{
    static const QRegularExpression form(
        QStringLiteral("\\A *([+-]?)(?:(?:\\$|0[xX]|[xX])([0-9A-Fa-f]+)|([0-9]+))\\z"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const bool hex = m.capturedLength(2) > 0;
    QString digits = hex ? m.captured(2) : m.captured(3);
    while (digits.size() > 1 && digits.front() == QLatin1Char('0'))
        digits.remove(0, 1);
    if (digits.size() > 10)
        return std::nullopt;
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, hex ? 16 : 10);
    FUZZ_CHECK(ok);
    const bool negative = m.captured(1) == QLatin1String("-");
    const qulonglong limit = qulonglong(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
    if (magnitude > limit)
        return std::nullopt;
    return int(negative ? -qint64(magnitude) : qint64(magnitude));
}

void checkConversion(const QString& text)
{
    const std::optional<int> got = tryToInteger(text);
    FUZZ_CHECK(got == expectedInteger(text));
    FUZZ_CHECK(isInteger(text) == got.has_value());
    bool threw = false;
    try {
        FUZZ_CHECK(toInteger(text) == got.value_or(0));
    } catch (const ConversionError& e) {
        threw = true;
        FUZZ_CHECK(e.text() == text);
        FUZZ_CHECK(e.message().contains(text));
    }
    FUZZ_CHECK(threw == !got.has_value());
}

// Every way of writing a value that the conversion accepts gives the value back.
void checkWritings(int v)
{
    const QString decimal = QString::number(v);
    FUZZ_CHECK(tryToInteger(decimal) == v);
    FUZZ_CHECK(tryToInteger(QStringLiteral("   ") + decimal) == v);
    FUZZ_CHECK(!isInteger(decimal + QLatin1Char(' ')));
    if (v >= 0) {
        FUZZ_CHECK(tryToInteger(QLatin1Char('+') + decimal) == v);
        const QString hex = QString::number(v, 16);
        for (const char* prefix : {"$", "x", "X", "0x", "0X"})
            FUZZ_CHECK(tryToInteger(QLatin1String(prefix) + hex.toUpper()) == v);
        FUZZ_CHECK(tryToInteger(QStringLiteral("-$") + hex) == -v);
    }
}

// What a cell holds once it has been left: nothing, a handicap label or a number as written.
// An offset can bring a typed number to 0 or below; the input-data check reports that later.
bool isStoredCellText(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("\\A(0|-?[1-9][0-9]*)\\z"));
    return text.isEmpty() || text.startsWith(QLatin1Char('B')) || number.match(text).hasMatch();
}

void checkOffsetBox(const QString& typed)
{
    Form f;
    f.txtPuls = typed;
    txtPulsChange(f);
    const auto v = tryToInteger(f.txtPuls);
    FUZZ_CHECK(f.txtPuls.isEmpty() || (f.txtPuls == typed && v && *v != 0));
}

void checkCellExit(const QString& typed, const QString& offset, const QString& onEnter)
{
    Form f;
    ScriptedUi ui;
    f.txtPuls = offset;
    txtPulsChange(f);
    f.cell(4, 4).text = onEnter;
    f.cell(10, 10).text = onEnter;
    Derutoki(f, QStringLiteral("Edit4_4"));
    f.cell(4, 4).text = typed;
    NyuuRyokuGo(f, ui);

    const Cell& c = f.cell(4, 4);
    FUZZ_CHECK(isStoredCellText(c.text));
    FUZZ_CHECK(ui.boxes.size() <= 2);
    for (const ScriptedUi::Box& b : ui.boxes)
        FUZZ_CHECK(b.kind == BoxKind::Warning);
    const QString mapped = widthAndCase(typed);
    const auto value = tryToInteger(mapped);
    if (!value || *value == 0 || mapped == QLatin1String("B"))
        return;
    // The offset counts only for a changed entry, and must never wrap round.
    const auto d = tryToInteger(f.txtPuls);
    const qint64 sum = qint64(*value) + (mapped != onEnter && d ? *d : 0);
    // A sum past the 32-bit range is refused with a warning: the number stays as typed.
    const bool fits = sum >= std::numeric_limits<int>::min() && sum <= std::numeric_limits<int>::max();
    const qint64 expected = fits ? sum : *value;
    FUZZ_CHECK(c.text == (fits ? QString::number(sum) : mapped));
    FUZZ_CHECK(fits || !ui.boxes.isEmpty());
    const bool black = (expected % 2) + int(f.radioGroup1) == 1;
    FUZZ_CHECK(c.background == (black ? colours::Black : colours::White));
}

void checkSearch(const QString& target, bool onBoard)
{
    Form f;
    ScriptedUi ui;
    if (onBoard)
        f.cell(7, 3).text = target;
    f.txtKensaku = target;
    const QString before = f.memo;
    cmdKensakuClick(f, ui);
    if (!isInteger(target)) {
        FUZZ_CHECK(ui.boxes.isEmpty() && f.memo == before);
        return;
    }
    FUZZ_CHECK(ui.boxes.size() == 1 && f.memo.size() > before.size());
    FUZZ_CHECK(ui.focusRequests == (onBoard ? QStringList{QStringLiteral("Edit7_3")} : QStringList{}));
}

void checkMissingNumbers(const QString& total)
{
    Form f;
    ScriptedUi ui;
    f.souTesuu = total;
    f.cell(1, 1).text = QStringLiteral("2");
    try {
        Button1Click(f, ui);
    } catch (const ConversionError&) {
        FUZZ_CHECK(!isInteger(total) && !trimControl(total).isEmpty());
        return;
    }
    int previous = 0;
    for (int r = 1; r <= MoveList::LastRow && !f.stringGrid2.at(0, r).isEmpty(); ++r) {
        const int n = f.stringGrid2.at(0, r).toInt();
        FUZZ_CHECK(n > previous && n != 2);
        previous = n;
    }
}

void checkCellName(const QString& name)
{
    if (const auto p = cellOfName(name))
        FUZZ_CHECK(cellName(p->x, p->y) == name);
    Form f;
    ScriptedUi ui;
    Derutoki(f, name);
    NyuuRyokuGo(f, ui);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const fuzz::TwoParts parts = fuzz::splitOnce(fuzz::bytesOf(data, size));
    const QString text = QString::fromUtf8(parts.first);
    const QString other = QString::fromUtf8(parts.rest);

    checkConversion(text);
    checkConversion(QString::fromLatin1(parts.first));
    checkConversion(fuzz::utf16Of(parts.first));
    if (size >= 4) {
        int v = 0;
        std::memcpy(&v, data, sizeof v);
        checkWritings(v);
    }
    checkOffsetBox(text);
    checkCellExit(text, other, QString());
    checkCellExit(text, other, text);
    checkSearch(text, !other.isEmpty());
    checkMissingNumbers(text);
    checkCellName(text);
    return 0;
}
