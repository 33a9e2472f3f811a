#include "entry/readboard.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/lifecycle.h"
#include "board/messages.h"
#include "board/record.h"
#include "board/texts.h"
#include "board/ui.h"
#include "checks/inputcheck.h"
#include "checks/missingnumbers.h"
#include "diagram/diagram.h"
#include "entry/cellentry.h"
#include "rules/candidatefill.h"

#include <QHash>
#include <QList>

#include <algorithm>

namespace {

QString failureReason(diagram::Failure failure)
{
    switch (failure) {
    case diagram::Failure::NotAPicture:
        return texts::NotAPicture;
    case diagram::Failure::TooLarge:
        return texts::PictureTooLarge;
    case diagram::Failure::NoBoard:
    case diagram::Failure::None:
        break;
    }
    return texts::NoBoardFound;
}

void reportFailure(Form& f, Ui& ui, diagram::Failure failure, const QString& source)
{
    const messages::BoxAndLog m = messages::pictureFailed(source, failureReason(failure));
    ui.error(m.box);
    f.logLine(m.log);
}

// Anything that a new record would throw away.
bool holdsAnything(const Form& f)
{
    for (const Cell& c : f.cells) {
        if (!c.text.isEmpty())
            return true;
    }
    for (const MoveList* list : {&f.stringGrid1, &f.stringGrid2}) {
        for (int r = 1; r <= MoveList::LastRow; ++r) {
            if (!list->at(0, r).isEmpty() || !list->at(1, r).isEmpty())
                return true;
        }
    }
    return !f.gameInfo.isEmpty();
}

// What the operator would type for the point: its number, "B" for a handicap stone, or nothing.
QString typedText(const diagram::Point& p)
{
    if (p.stone == diagram::Stone::Empty)
        return {};
    if (p.number != 0)
        return QString::number(p.number);
    return p.stone == diagram::Stone::Black ? HandicapMark : QString();
}

// A stone without a number that is no handicap stone, or a number without a stone, cannot be
// typed as read: the operator has to look.
bool unsure(const diagram::Point& p)
{
    const bool whiteWithoutNumber = p.stone == diagram::Stone::White && p.number == 0;
    const bool numberWithoutStone = p.stone == diagram::Stone::Empty && p.number != 0;
    return p.unsure || whiteWithoutNumber || numberWithoutStone;
}

// Types every point and leaves it, in scan order, so that handicap labels count up as typed.
// Returns the unsure points in that order.
QList<CellPos> typeBoard(Form& f, Ui& ui, const diagram::Board& board)
{
    QList<CellPos> doubtful;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const diagram::Point& p = board.at(x, y);
            if (unsure(p))
                doubtful.append({x, y});
            const QString text = typedText(p);
            if (text.isEmpty())
                continue;
            f.cell(x, y).text = text;
            // The cell was empty when "entered", so the entry counts as typed.
            storeLeftCell(f, ui, {x, y}, QString());
        }
    }
    return doubtful;
}

int highestNumber(const Form& f)
{
    int highest = 0;
    for (const Cell& c : f.cells)
        highest = qMax(highest, tryToInteger(c.text).value_or(0));
    return highest;
}

// The faults that leaving each cell would have shown in a box, logged as the input-data
// check logs them: numbers with too many digits, then each duplicate from both sides.
void reportFaults(Form& f)
{
    QList<InputFault> faults;
    QHash<QString, QList<CellPos>> cellsByText;
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString& text = f.cell(x, y).text;
            if (text.isEmpty() || isHandicapLabel(text))
                continue;
            cellsByText[text].append({x, y});
            if (tryToInteger(text).value_or(0) > MostDigits)
                faults.append(cellFault(InputFaultKind::BeyondTable, x, y, text));
        }
    }
    for (int y = 1; y <= 19; ++y) {
        for (int x = 1; x <= 19; ++x) {
            const QString& text = f.cell(x, y).text;
            for (const CellPos& other : cellsByText.value(text)) {
                if (other.x == x && other.y == y)
                    continue;
                faults.append(duplicateFault(x, y, text, other.x, other.y));
            }
        }
    }
    for (const InputFault& fault : faults)
        f.logLine(inputFaultLine(fault));
}

// The last moves of a game may all have been played on earlier stones' points, and be printed
// only in the notes. Only notes that follow on from the board count, so that a misread note
// cannot make the game hundreds of moves longer.
int highestMove(const Form& f, const std::vector<diagram::Note>& notes)
{
    int highest = highestNumber(f);
    for (bool more = true; more;) {
        more = std::any_of(notes.begin(), notes.end(), [&](const diagram::Note& n) { return !n.unsure && n.move == highest + 1; });
        highest += more;
    }
    return highest;
}

// The place a note names, as the cell of its stone holds it.
QString placeText(const diagram::Note& note)
{
    return note.at <= 0 ? HandicapMark : QString::number(note.at);
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

// Whether the rules of Go let the listed move of `row` be played at `place`, given the places
// already in the list. When they allow no place at all, the board itself is at fault, and
// they cannot judge the note.
bool rulesAllow(const Form& f, int row, const QString& place)
{
    const QList<PlaceChoice> choices = candidatePlaces(f, row);
    return choices.isEmpty()
           || std::any_of(choices.begin(), choices.end(), [&](const PlaceChoice& c) { return c.place == place; });
}

// The notes beside the diagram give the places of listed moves; the rules of Go are asked only
// for what they leave open. A note read wrong may name another stone of the board.
void placeNotes(Form& f, const std::vector<diagram::Note>& notes)
{
    for (const diagram::Note& n : notes) {
        const QString place = placeText(n);
        const int row = n.unsure ? 0 : listRowOf(f, n.move);
        const bool open = row > 0 && f.stringGrid2.at(1, row).isEmpty();
        const bool allowed = open && rulesAllow(f, row, place);
        if (allowed) {
            f.stringGrid2.at(1, row) = place;
            f.logLine(messages::noteFilledLine(n.move, place));
            continue;
        }
        const QString& reason = n.unsure ? texts::NoteUnsure : open ? texts::NoteAgainstRules : texts::NoteNotMissing;
        f.logLine(messages::noteUnusedLine(n.move, place, reason));
    }
}

// What follows a reading by itself, as the operator would go on: the missing numbers first.
void completeRecord(Form& f, const std::vector<diagram::Note>& notes)
{
    if (f.souTesuu.isEmpty())
        return;
    f.logLine(texts::MissingListUp);
    listMissingNumbers(f);
    f.logLine(texts::MissingDone);
    placeNotes(f, notes);
    fillCandidatePlaces(f);
}

} // namespace

void readBoard(Form& f, Ui& ui, const diagram::Result& result, const QString& source)
{
    if (result.failure != diagram::Failure::None) {
        reportFailure(f, ui, result.failure, source);
        return;
    }
    if (holdsAnything(f)
        && ui.ask(BoxKind::Confirm, messages::pictureConfirm(), BoxButtons::OkCancel) == Answer::Cancel)
        return;

    startNewRecord(f);
    f.radioGroup1 = result.board.firstPlayer == 1 ? 1 : 0;
    const QList<CellPos> doubtful = typeBoard(f, ui, result.board);
    const int highest = highestMove(f, result.notes);
    f.souTesuu = highest > 0 ? QString::number(highest) : QString();
    // A cell that keeps the focus through the reading is walked through when left, not retyped.
    if (const Cell* focused = f.cellNamed(f.controlMei))
        f.cellTextOnEnter = focused->text;

    f.logLine(messages::pictureReadLine(source, highest));
    for (const CellPos& p : doubtful)
        f.logLine(messages::unsureReadLine(p.x, p.y, f.cell(p.x, p.y).text));
    reportFaults(f);
    completeRecord(f, result.notes);

    if (!doubtful.isEmpty())
        ui.setFocus(cellName(doubtful.first().x, doubtful.first().y));
    else if (!f.stringGrid2.at(0, 1).isEmpty())
        ui.setFocus(QStringLiteral("StringGrid2"));
}
