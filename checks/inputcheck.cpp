#include "checks/inputcheck.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <array>
#include <optional>

namespace {

struct BoardCell {
    int x;
    int y;
    QString text; // trimmed
};

std::array<BoardCell, go::Points> trimmedBoard(const Form& f)
{
    std::array<BoardCell, go::Points> board;
    size_t i = 0;
    for (int y = 1; y <= go::BoardSize; ++y)
        for (int x = 1; x <= go::BoardSize; ++x)
            board[i++] = {x, y, trimControl(f.cell(x, y).text)};
    return board;
}

bool takesPart(const QString& text)
{
    return !text.isEmpty() && !isHandicapLabel(text);
}

int totalOf(const Form& f)
{
    if (f.souTesuu.isEmpty())
        return HighestMove;
    return tryToInteger(f.souTesuu).value_or(HighestMove);
}

// Pass 1: every number must be a move between 1 and the total.
void checkValues(QList<InputFault>& faults, const std::array<BoardCell, go::Points>& board, int total)
{
    for (const BoardCell& c : board) {
        if (!takesPart(c.text))
            continue;
        const auto v = tryToInteger(c.text);
        if (!v) {
            faults.append(cellFault(InputFaultKind::NotDigits, c.x, c.y, c.text));
            continue;
        }
        if (*v > total)
            faults.append(cellFault(InputFaultKind::AboveTotal, c.x, c.y, c.text));
        else if (*v > HighestMove)
            // A total above the table's size lets this through; say so once.
            faults.append(cellFault(InputFaultKind::BeyondTable, c.x, c.y, c.text));
        if (*v < 1)
            faults.append(cellFault(InputFaultKind::ZeroOrLess, c.x, c.y, c.text));
    }
}

// Pass 2: each pair of equal texts is reported from both sides, in scan order.
void checkDuplicates(QList<InputFault>& faults, const std::array<BoardCell, go::Points>& board)
{
    QHash<QString, QList<int>> cellsByText;
    for (int i = 0; i < int(board.size()); ++i) {
        if (takesPart(board[size_t(i)].text))
            cellsByText[board[size_t(i)].text].append(i);
    }
    for (int i = 0; i < int(board.size()); ++i) {
        const BoardCell& c = board[size_t(i)];
        if (!takesPart(c.text))
            continue;
        for (const int j : cellsByText.value(c.text)) {
            if (j == i)
                continue;
            const BoardCell& d = board[size_t(j)];
            faults.append(duplicateFault(c.x, c.y, c.text, d.x, d.y));
        }
    }
}

// What a list place may name: any cell text, or a listed move whose own place the chain follows.
struct PlaceTargets {
    QSet<QString> cellTexts;
    QSet<QString> chainedMoves;
};

PlaceTargets placeTargets(const Form& f, const std::array<BoardCell, go::Points>& board)
{
    PlaceTargets t;
    for (const BoardCell& c : board) {
        if (!c.text.isEmpty())
            t.cellTexts.insert(c.text);
    }
    for (int r = 1; r < MoveList::Rows; ++r) {
        if (!trimControl(f.stringGrid2.at(1, r)).isEmpty())
            t.chainedMoves.insert(f.stringGrid2.at(0, r));
    }
    return t;
}

// A row whose move number has no entry in the move table; an empty text when it has one.
// A row whose move number has no entry in the move table.
std::optional<InputFaultKind> moveNumberFault(const QString& moveNumber)
{
    const auto m = tryToInteger(moveNumber);
    if (!m)
        return InputFaultKind::NoMoveNumber;
    if (*m < 1)
        return InputFaultKind::ZeroOrLess;
    if (*m > HighestMove)
        return InputFaultKind::BeyondTable;
    return std::nullopt;
}

std::optional<InputFaultKind> placeFault(const QString& place, bool followsChain, const PlaceTargets& targets,
                                         int total)
{
    if (!isHandicapLabel(place)) {
        const auto v = tryToInteger(place);
        if (!v)
            return InputFaultKind::NotDigits;
        if (*v > total)
            return InputFaultKind::AboveTotal;
    }
    if (targets.cellTexts.contains(place))
        return std::nullopt;
    if (followsChain && targets.chainedMoves.contains(place))
        return std::nullopt;
    return InputFaultKind::PlaceNotOnBoard;
}

// The rows that the ordering will read: each must give a move a point.
void checkListRows(QList<InputFault>& faults, const MoveList& list, bool followsChain, const PlaceTargets& targets,
                   int total)
{
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& moveNumber = list.at(0, r);
        const QString& place = list.at(1, r);
        // A place of blanks only is no place at all; an unplaced move is the gap check's matter.
        if (trimControl(place).isEmpty())
            continue;
        std::optional<InputFaultKind> problem = moveNumberFault(moveNumber);
        if (!problem)
            problem = placeFault(place, followsChain, targets, total);
        if (problem)
            faults.append(listRowFault(*problem, moveNumber, place));
    }
}

// What a log line says of each kind but a duplicate, which has its own wording; in the kinds' order.
QString problemText(InputFaultKind kind)
{
    static const std::array<const QString*, 7> problems{&texts::NotDigits, &texts::AboveTotal,
        &texts::TooManyDigitsFault, &texts::ZeroOrLess, nullptr, &texts::NoMoveNumber, &texts::PlaceNotOnBoard};
    static_assert(size_t(InputFaultKind::PlaceNotOnBoard) == 6);
    const QString* problem = problems[size_t(kind)];
    return problem ? *problem : QString();
}

} // namespace

bool InputFault::operator==(const InputFault& o) const
{
    return kind == o.kind && inList == o.inList && x == o.x && y == o.y && text == o.text && otherX == o.otherX
        && otherY == o.otherY && moveNumber == o.moveNumber;
}

InputFault cellFault(InputFaultKind kind, int x, int y, const QString& text)
{
    return {kind, false, x, y, text, 0, 0, {}};
}

InputFault duplicateFault(int x, int y, const QString& text, int otherX, int otherY)
{
    return {InputFaultKind::Duplicate, false, x, y, text, otherX, otherY, {}};
}

InputFault listRowFault(InputFaultKind kind, const QString& moveNumber, const QString& place)
{
    return {kind, true, 0, 0, place, 0, 0, moveNumber};
}

QList<InputFault> inputFaults(const Form& f)
{
    const auto board = trimmedBoard(f);
    const int total = totalOf(f);
    QList<InputFault> faults;
    checkValues(faults, board, total);
    checkDuplicates(faults, board);
    const PlaceTargets targets = placeTargets(f, board);
    checkListRows(faults, f.stringGrid1, false, targets, total);
    checkListRows(faults, f.stringGrid2, true, targets, total);
    return faults;
}

QString inputFaultLine(const InputFault& fault)
{
    if (fault.inList)
        return messages::listRowLine(fault.moveNumber, fault.text, problemText(fault.kind));
    // The two cells of a duplicate hold the same text.
    if (fault.kind == InputFaultKind::Duplicate)
        return messages::duplicateLine(fault.x, fault.y, fault.text, fault.otherX, fault.otherY, fault.text);
    return messages::cellValueLine(fault.x, fault.y, fault.text, problemText(fault.kind));
}

bool NyuuryokuDataKakunin(Form& f)
{
    const QList<InputFault> faults = inputFaults(f);
    for (const InputFault& fault : faults)
        f.logLine(inputFaultLine(fault));
    return !faults.isEmpty();
}
