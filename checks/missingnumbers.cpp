#include "checks/missingnumbers.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"

#include <QSet>

namespace {

// Every move number that stands on the board or among an opened file's off-board moves.
// Handicap labels are no moves. A text that is no number ends the command.
QSet<int> presentNumbers(const Form& f)
{
    QSet<int> present;
    for (int x = 1; x <= go::BoardSize; ++x) {
        for (int y = 1; y <= go::BoardSize; ++y) {
            const QString text = trimControl(f.cell(x, y).text);
            if (!text.isEmpty() && !isHandicapLabel(text))
                present.insert(toInteger(text));
        }
    }
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        const QString& text = f.stringGrid1.at(0, r);
        if (!text.isEmpty())
            present.insert(toInteger(text));
    }
    // A pass has its number, though no stone.
    for (const int pass : f.loadedPasses)
        present.insert(pass);
    return present;
}

// Writes the missing numbers from row 1 down, over what the list held, and returns how
// many did not fit. Only the present numbers are visited beyond the list, so a huge total
// costs nothing.
qint64 listMissing(MoveList& list, const QSet<int>& present, int total)
{
    int row = 1;
    qint64 n = 1;
    for (; n <= total && row <= MoveList::LastRow; ++n) {
        if (present.contains(int(n)))
            continue;
        list.at(0, row) = QString::number(n);
        ++row;
    }
    qint64 notListed = qint64(total) - n + 1;
    for (const int p : present) {
        if (p >= n && p <= total)
            --notListed;
    }
    return qMax<qint64>(notListed, 0);
}

} // namespace

void listMissingNumbers(Form& f)
{
    StringGrid1Seibi(f);
    StringGrid2Seibi(f);
    writeListHeader(f.stringGrid1);

    // Untrimmed on purpose: a total with a trailing blank is refused as no integer.
    const int total = toInteger(f.souTesuu);
    if (total > 0) {
        const qint64 notListed = listMissing(f.stringGrid2, presentNumbers(f), total);
        if (notListed > 0)
            f.logLine(messages::notListedLine(notListed));
    }
}

void Button1Click(Form& f, Ui& ui)
{
    f.logLine(texts::MissingListUp);
    if (ui.ask(BoxKind::Confirm, texts::MissingListUp, BoxButtons::OkCancel) == Answer::Cancel)
        return;
    if (trimControl(f.souTesuu).isEmpty()) {
        f.logLine(texts::MissingNeedTotal);
        ui.warn(texts::MissingNeedTotal);
        ui.setFocus(QStringLiteral("SouTesuu"));
        return;
    }
    listMissingNumbers(f);
    ui.inform(texts::MissingDone);
    f.logLine(texts::MissingDone);
    ui.setFocus(QStringLiteral("StringGrid2"));
}

void Button2Click(Form& f, Ui& ui)
{
    if (ui.ask(BoxKind::Confirm, texts::ClearConfirm, BoxButtons::OkCancel) == Answer::Ok)
        StringGrid2Clear(f);
    f.logLine(texts::ClearLog);
}

int listRowOf(const Form& f, int move)
{
    const QString number = QString::number(move);
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        if (f.stringGrid2.at(0, r) == number)
            return r;
    }
    return 0;
}
