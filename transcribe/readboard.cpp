#include "transcribe/readboard.h"

#include "board/cellname.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/lifecycle.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "checks/inputcheck.h"
#include "checks/missingnumbers.h"
#include "diagram/diagram.h"
#include "entry/cellentry.h"
#include "entry/unsurepoints.h"
#include "rules/candidatefill.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

// A caption may name a last move this far past the board's highest number.
constexpr int mostMovesPastBoard = 20;

QString failureReason(const diagram::Result& r)
{
    switch (r.failure) {
    case diagram::Failure::NotAFile:
        return texts::PictureNotAFile;
    case diagram::Failure::Unreadable:
        return texts::PictureUnreadable;
    case diagram::Failure::NotAPicture:
        return texts::NotAPicture;
    case diagram::Failure::UnreadFormat:
        return texts::PictureFormatNotRead.arg(QString::fromStdString(r.format));
    case diagram::Failure::Damaged:
        return texts::PictureDamaged;
    case diagram::Failure::TooLarge:
        return texts::PictureTooLarge;
    case diagram::Failure::TooSmall:
        return texts::PictureTooSmall;
    case diagram::Failure::TooThin:
        return texts::PictureTooThin;
    case diagram::Failure::Turned:
        return texts::PictureTurned;
    case diagram::Failure::Fault:
        return texts::PictureFault;
    case diagram::Failure::NoBoard:
        return r.pages > 1 ? texts::NoBoardOnFirstPage.arg(r.pages) : texts::NoBoardFound;
    case diagram::Failure::Cancelled:
    case diagram::Failure::None:
        break;
    }
    return texts::NoBoardFound;
}

void reportFailure(Form& f, Ui& ui, const diagram::Result& result, const QString& source)
{
    const messages::BoxAndLog m = messages::pictureFailed(source, failureReason(result));
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

// A game has at most nine handicap stones, and they make white play first: stones that look
// like more of them, or in a game that black began, are numbers the reader lost.
constexpr int MostHandicapStones = 9;

bool looksLikeHandicap(const diagram::Point& p)
{
    return p.stone == diagram::Stone::Black && p.number == 0 && p.mark == 0 && !p.unsure;
}

bool handicapPossible(const diagram::Board& board)
{
    const auto stones = std::count_if(board.points.begin(), board.points.end(), looksLikeHandicap);
    return board.firstPlayer == go::FirstPlayer::White && stones <= MostHandicapStones;
}

// What the operator would type for the point: its number, "B" for a handicap stone, or nothing.
// A black stone whose number was not read is left for the operator, never made a handicap
// label: that would also turn the first player.
QString typedText(const diagram::Point& p, bool handicap)
{
    if (p.stone == diagram::Stone::Empty)
        return {};
    if (p.number != 0)
        return QString::number(p.number);
    return handicap && looksLikeHandicap(p) ? HandicapMark : QString();
}

// A stone without a number that is no handicap stone, or a number without a stone, cannot be
// typed as read: the operator has to look.
bool unsure(const diagram::Point& p, bool handicap)
{
    const bool withoutNumber = p.stone != diagram::Stone::Empty && p.number == 0 && !(handicap && looksLikeHandicap(p));
    const bool numberWithoutStone = p.stone == diagram::Stone::Empty && p.number != 0;
    return p.unsure || withoutNumber || numberWithoutStone;
}

// Types every point and leaves it, in scan order, so that handicap labels count up as typed.
// Returns the unsure points in that order.
QList<CellPos> typeBoard(Form& f, Notices& ui, const diagram::Board& board)
{
    const bool handicap = handicapPossible(board);
    QList<CellPos> doubtful;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const diagram::Point& p = board.at(x, y);
            if (unsure(p, handicap))
                doubtful.append({x, y});
            const QString text = typedText(p, handicap);
            if (text.isEmpty())
                continue;
            f.cell(x, y).text = text;
            // The cell was empty when "entered", so the entry counts as typed.
            storeLeftCell(f, ui, {x, y}, QString());
        }
    }
    return doubtful;
}

// The faults that leaving each cell would have shown in a box, logged as the input-data
// check logs them: numbers with too many digits, then each duplicate pair, into `lines`.
// Returns the points that these lines name.
QSet<int> faultLines(const Form& f, QStringList& lines)
{
    QSet<int> named;
    QList<InputFault> faults;
    QHash<QString, QList<CellPos>> cellsByText;
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const QString& text = f.cell(x, y).text;
            if (text.isEmpty() || isHandicapLabel(text))
                continue;
            cellsByText[text].append({x, y});
            if (tryToInteger(text).value_or(0) > MostDigits) {
                faults.append(cellFault(InputFaultKind::BeyondTable, x, y, text));
                named.insert(go::pointOf(x, y));
            }
        }
    }
    for (int y = 1; y <= go::BoardSize; ++y) {
        for (int x = 1; x <= go::BoardSize; ++x) {
            const QString& text = f.cell(x, y).text;
            // Each pair once, from the point read first: a reading makes no fault of its own
            // that the operator needs to be told from both sides.
            for (const CellPos& other : cellsByText.value(text)) {
                if (other.y < y || (other.y == y && other.x <= x))
                    continue;
                faults.append(duplicateFault(x, y, text, other.x, other.y));
                named.insert(go::pointOf(x, y));
                named.insert(go::pointOf(other.x, other.y));
            }
        }
    }
    for (const InputFault& fault : faults)
        lines.append(inputFaultLine(fault));
    return named;
}

// The place a note names, as the cell of its stone holds it, or the mark printed there.
QString placeText(const diagram::Note& note)
{
    switch (note.atMark) {
    case 0:
        return note.at <= 0 ? HandicapMark : QString::number(note.at);
    case '^':
        return QStringLiteral("△");
    case '#':
        return QStringLiteral("□");
    case '*':
        return QStringLiteral("○");
    default:
        return QString(QChar(note.atMark));
    }
}

// The notes beside the diagram give the places of listed moves; the rules of Go are asked only
// for what they leave open. A note read wrong may name another stone of the board. One search
// judges every note: a place the rules allow for its move, or any place when they allow none
// (the board itself is then at fault, and cannot judge the note).
void placeNotes(Form& f, const std::vector<diagram::Note>& notes, const std::atomic<bool>* stop)
{
    const bool anyUsable = std::any_of(notes.begin(), notes.end(), [&](const diagram::Note& n) {
        const int row = n.unsure ? 0 : listRowOf(f, n.move);
        return row > 0 && f.stringGrid2.at(1, row).isEmpty();
    });
    const QHash<int, QList<PlaceChoice>> allowed = anyUsable ? candidatePlacesByRow(f, stop) : QHash<int, QList<PlaceChoice>>();
    for (const diagram::Note& n : notes) {
        if (n.pass) {
            f.logLine(messages::noteUnusedLine(n.move, texts::PassPlace, n.unsure ? texts::NoteUnsure : texts::NoteFilled));
            continue;
        }
        const QString place = placeText(n);
        const int row = n.unsure ? 0 : listRowOf(f, n.move);
        const bool open = row > 0 && f.stringGrid2.at(1, row).isEmpty();
        const QList<PlaceChoice> choices = allowed.value(row);
        // A marked stone's cell holds no number for the list to name.
        const bool fits = open && n.atMark == 0
                          && (choices.isEmpty()
                              || std::any_of(choices.begin(), choices.end(), [&](const PlaceChoice& c) { return c.place == place; }));
        if (fits) {
            f.stringGrid2.at(1, row) = place;
            f.logLine(messages::noteFilledLine(n.move, place));
            continue;
        }
        const QString& reason = n.unsure            ? texts::NoteUnsure
                                : n.atMark != 0 ? texts::NoteAtMark
                                : open          ? texts::NoteAgainstRules
                                                : texts::NoteNotMissing;
        f.logLine(messages::noteUnusedLine(n.move, place, reason));
    }
}

// What follows a reading by itself, as the operator would go on: the missing numbers first.
void completeRecord(Form& f, const std::vector<diagram::Note>& notes, const std::atomic<bool>* stop)
{
    if (f.souTesuu.isEmpty())
        return;
    f.logLine(texts::MissingListUp);
    listMissingNumbers(f);
    f.logLine(texts::MissingDone);
    placeNotes(f, notes, stop);
    fillCandidatePlaces(f, stop);
}

} // namespace

bool confirmReading(Form& f, Ui& ui, const diagram::Result& result, const QString& source)
{
    // A reading stopped by the operator says nothing and changes nothing.
    if (result.failure == diagram::Failure::Cancelled)
        return false;
    if (result.failure != diagram::Failure::None) {
        reportFailure(f, ui, result, source);
        return false;
    }
    return !holdsAnything(f)
           || ui.ask(BoxKind::Confirm, messages::pictureConfirm(), BoxButtons::OkCancel) != Answer::Cancel;
}

bool readingTaken(Form& f, Ui& ui, const diagram::Result& result, const QString& source)
{
    if (result.failure == diagram::Failure::Cancelled)
        return false;
    if (result.failure != diagram::Failure::None) {
        reportFailure(f, ui, result, source);
        return false;
    }
    return true;
}

PictureUse askPictureUse(Form& f, Ui& ui)
{
    if (!holdsAnything(f))
        return PictureUse::NewRecord;
    switch (ui.ask(BoxKind::Confirm, messages::figureQuestion(), BoxButtons::YesNoKeep)) {
    case Answer::Yes:
    case Answer::Ok:
        return PictureUse::NewRecord;
    case Answer::No:
        return PictureUse::NextFigure;
    case Answer::Cancel:
        break;
    }
    return PictureUse::None;
}

void enterReading(Form& f, Notices& ui, const diagram::Result& result, const QString& source, const std::atomic<bool>* stop)
{
    startNewRecord(f);
    f.radioGroup1 = result.board.firstPlayer;
    QList<CellPos> doubtful = typeBoard(f, ui, result.board);
    for (const CellPos& p : outlyingCells(f)) {
        if (!std::any_of(doubtful.begin(), doubtful.end(), [&](const CellPos& d) { return d.x == p.x && d.y == p.y; }))
            doubtful.append(p);
    }
    std::sort(doubtful.begin(), doubtful.end(), [](const CellPos& a, const CellPos& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    f.fromPicture = true;
    for (const CellPos& p : doubtful)
        markUnsurePoint(f, p, true);
    for (const diagram::Note& n : result.notes) {
        if (!n.unsure)
            f.noteMoves.append(n.move);
        // A pass has a number and no point: it is kept as an opened file's passes are.
        if (!n.unsure && n.pass)
            f.loadedPasses.append(n.move);
    }
    int total = readingTotal(f);
    // A whole game's caption names its last move, which the board leaves open when the game
    // ends with moves on taken points or passes; a caption far past the board is misread.
    if (result.captionFirst == 1 && result.captionLast > total && result.captionLast - total <= mostMovesPastBoard)
        total = result.captionLast;
    f.souTesuu = total > 0 ? QString::number(total) : QString();
    f.readTotal = f.souTesuu;
    // A cell that keeps the focus through the reading is walked through when left, not retyped.
    if (const Cell* focused = f.cellNamed(f.controlMei))
        f.cellTextOnEnter = focused->text;

    f.logLine(messages::pictureReadLine(source, total));
    if (result.latticeInDoubt)
        f.logLine(texts::LatticeInDoubt);
    // A point is logged once: a duplicate or an overlong number is named by its own line.
    QStringList faults;
    const QSet<int> named = faultLines(f, faults);
    for (const CellPos& p : doubtful) {
        if (!named.contains(go::pointOf(p.x, p.y)))
            f.logLine(messages::unsureReadLine(p.x, p.y, f.cell(p.x, p.y).text));
    }
    for (const QString& line : faults)
        f.logLine(line);
    completeRecord(f, result.notes, stop);

    if (!doubtful.isEmpty())
        ui.setFocus(cellName(doubtful.first().x, doubtful.first().y));
    else if (!f.stringGrid2.at(0, 1).isEmpty())
        ui.setFocus(QStringLiteral("StringGrid2"));
}

void followReading(Form& f)
{
    if (!f.fromPicture || !tryToInteger(f.souTesuu))
        return;
    QHash<QString, QString> places;
    for (int r = 1; r <= MoveList::LastRow; ++r) {
        if (!f.stringGrid2.at(0, r).isEmpty() && !f.stringGrid2.at(1, r).isEmpty())
            places.insert(f.stringGrid2.at(0, r), f.stringGrid2.at(1, r));
    }
    const int row = f.stringGrid2.currentRow, column = f.stringGrid2.currentColumn;
    StringGrid2Clear(f);
    listMissingNumbers(f);
    for (int r = 1; r <= MoveList::LastRow; ++r)
        f.stringGrid2.at(1, r) = places.value(f.stringGrid2.at(0, r));
    // The list keeps its current row; only its texts follow.
    f.stringGrid2.currentRow = row;
    f.stringGrid2.currentColumn = column;
}

void readBoard(Form& f, Ui& ui, const diagram::Result& result, const QString& source)
{
    if (confirmReading(f, ui, result, source))
        enterReading(f, ui, result, source);
}
