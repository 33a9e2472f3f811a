#include "entry/cellentry.h"

#include "board/cellname.h"
#include "board/colours.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "entry/unsurepoints.h"

#include <limits>
#include <optional>

namespace {

constexpr QChar Enter{13};

void colourStone(Cell& c, qint64 n, go::FirstPlayer firstPlayer)
{
    const bool black = go::isBlackMove(n, firstPlayer);
    c.background = black ? colours::Black : colours::White;
    c.textColour = black ? colours::White : colours::Black;
}

void makeEmpty(Cell& c, const CellPos& p)
{
    c.background = emptyColour(p.x, p.y);
    c.text.clear();
}

// "B" typed into a cell: a numbered handicap stone, or a refusal in an opened record.
void placeHandicap(Form& f, Notices& ui, Cell& c, const CellPos& p)
{
    if (!f.gameInfo.isEmpty()) {
        ui.warn(texts::NoHandicapInLoaded);
        makeEmpty(c, p);
        return;
    }
    c.background = colours::Black;
    c.textColour = colours::White;
    // Handicap stones are black, so white plays first.
    f.radioGroup1 = go::FirstPlayer::White;
    IroKakunin(f);
    c.text = HandicapMark + QString::number(nextHandicapNumber(f));
}

// The last cell other than `self` whose text is `text`, in board scan order.
std::optional<CellPos> lastOtherWithText(const Form& f, const Cell& self, const QString& text)
{
    std::optional<CellPos> found;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const Cell& c = f.cell(x, y);
            if (&c != &self && c.text == text)
                found = CellPos{x, y};
        }
    }
    return found;
}

void reportDuplicate(Form& f, Notices& ui, const QString& text, const CellPos& other)
{
    const messages::BoxAndLog m = messages::duplicateEntry(text, other.x, other.y);
    ui.warn(m.box);
    f.log(m.log);
}

// A number the program wrote itself, in full: it may lie beyond the 32-bit range after an offset.
std::optional<qint64> writtenNumber(const QString& text)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(v) : std::nullopt;
}

void reportTooManyDigits(Form& f, Notices& ui, const QString& text)
{
    const messages::BoxAndLog m = messages::tooManyDigits(text);
    ui.warn(m.box);
    f.logLine(m.log);
}

// A number gets the offset and its stone colour; a label stays; anything else is erased.
// Returns false when the number with its offset is too large to store: the typed number is
// kept as it was typed, and the operator is told.
bool storeEntry(Form& f, Notices& ui, Cell& c, const CellPos& p, const QString& t, qint64 offset)
{
    const auto typed = tryToInteger(t);
    if (typed && *typed == 0) {
        makeEmpty(c, p);
    } else if (typed) {
        // 64 bits: a large number plus a large offset must not wrap round.
        const qint64 n = qint64(*typed) + offset;
        // Beyond the 32-bit range the text would be no number for any later rule: it would
        // keep a wrong colour and be erased without a word when next left.
        const bool fits = n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max();
        colourStone(c, fits ? n : *typed, f.radioGroup1);
        if (!fits) {
            reportTooManyDigits(f, ui, QString::number(n));
            return false;
        }
        c.text = QString::number(n);
    } else if (isHandicapLabel(t)) {
        c.background = colours::Black;
    } else {
        makeEmpty(c, p);
    }
    return true;
}

// Both faults are reported and left for the operator to mend, the duplicate first.
void checkEntry(Form& f, Notices& ui, const Cell& c)
{
    const QString stored = c.text;
    if (stored.isEmpty())
        return;
    if (const auto other = lastOtherWithText(f, c, stored))
        reportDuplicate(f, ui, stored, *other);
    // Only a number has digits to count; a handicap label never does.
    const auto n = writtenNumber(stored);
    if (n && *n > MostDigits)
        reportTooManyDigits(f, ui, stored);
    if (n && *n <= MostDigits && f.loadedPasses.contains(int(*n))) {
        const messages::BoxAndLog m = messages::passEntry(stored, f.lockShown, f.loadedNodeCount + 1);
        ui.warn(m.box);
        f.logLine(m.log);
    }
}

} // namespace

void Derutoki(Form& f, const QString& focusedName)
{
    f.controlMei = focusedName;
    Cell* c = f.cellNamed(f.controlMei);
    if (!c)
        return;
    f.cellTextOnEnter = c->text;
    c->background = colours::Focus;
    c->textColour = colours::White;
}

bool storeLeftCell(Form& f, Notices& ui, const CellPos& pos, const QString& textOnEnter)
{
    Cell& c = f.cell(pos.x, pos.y);

    const QString t = widthAndCase(c.text);
    c.text = t;

    // Only a changed entry is relative: walking through a cell must not shift its number again.
    qint64 offset = 0;
    if (t != textOnEnter) {
        if (const auto d = tryToInteger(f.txtPuls))
            offset = *d;
    }

    if (t == HandicapMark) {
        placeHandicap(f, ui, c, pos);
        return false;
    }

    return storeEntry(f, ui, c, pos, t, offset);
}

void NyuuRyokuGo(Form& f, Ui& ui)
{
    leaveCell(f, ui, false);
}

void leaveCell(Form& f, Ui& ui, bool confirmed)
{
    const auto pos = cellOfName(f.controlMei);
    if (!pos)
        return;
    // Taken before the point is settled: leaving the last point in doubt is still checking.
    const bool checking = proofreading(f);
    const bool changed = widthAndCase(f.cell(pos->x, pos->y).text) != f.cellTextOnEnter;
    // Typed into, a point has been looked at.
    if (f.fromPicture && (confirmed || changed))
        confirmPoint(f, *pos);
    if (storeLeftCell(f, ui, *pos, f.cellTextOnEnter)) {
        if (checking)
            markEntryFaults(f, *pos);
        else
            checkEntry(f, ui, f.cell(pos->x, pos->y));
    }
    if (checking)
        settlePairDoubts(f);
    pointLeft(f);
}

bool Edit_KeyPress(Form& f, Ui& ui, QChar key)
{
    if (key != Enter)
        return false;
    // Enter on a point read in doubt says it was looked at, even left as it is.
    if (const auto pos = cellOfName(f.controlMei))
        markUnsurePoint(f, *pos, false);
    ui.focusNext();
    return true;
}

void txtPulsChange(Form& f)
{
    if (f.txtPuls.isEmpty())
        return;
    const auto v = tryToInteger(f.txtPuls);
    if (!v || *v == 0)
        f.txtPuls.clear();
}

void RadioGroup1Click(Form& f)
{
    IroKakunin(f);
}

void IroKakunin(Form& f)
{
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            Cell& c = f.cell(x, y);
            if (const auto n = tryToInteger(c.text))
                colourStone(c, *n, f.radioGroup1);
        }
    }
}
