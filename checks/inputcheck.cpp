#include "checks/inputcheck.h"

#include "board/conversions.h"
#include "board/form.h"
#include "board/record.h"
#include "board/texts.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <array>

namespace {

struct BoardCell {
    int x;
    int y;
    QString text; // trimmed
};

std::array<BoardCell, 361> trimmedBoard(const Form& f)
{
    std::array<BoardCell, 361> board;
    size_t i = 0;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
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

QString cellPrefix(const BoardCell& c)
{
    return texts::Yoko + QString::number(c.x) + texts::Tate + QString::number(c.y);
}

// Pass 1: every number must be a move between 1 and the total.
bool checkValues(Form& f, const std::array<BoardCell, 361>& board, int total)
{
    bool fault = false;
    for (const BoardCell& c : board) {
        if (!takesPart(c.text))
            continue;
        const QString head = cellPrefix(c) + texts::InputValuePass1 + c.text;
        const auto v = tryToInteger(c.text);
        if (!v) {
            f.logLine(head + texts::NotDigits);
            fault = true;
            continue;
        }
        if (*v > total) {
            f.logLine(head + texts::AboveTotal);
            fault = true;
        } else if (*v > HighestMove) {
            // A total above the table's size lets this through; say so once.
            f.logLine(head + texts::TooManyDigitsFault);
            fault = true;
        }
        if (*v < 1) {
            f.logLine(head + texts::ZeroOrLess);
            fault = true;
        }
    }
    return fault;
}

// Pass 2: each pair of equal texts is reported from both sides, in scan order.
bool checkDuplicates(Form& f, const std::array<BoardCell, 361>& board)
{
    QHash<QString, QList<int>> cellsByText;
    for (int i = 0; i < int(board.size()); ++i) {
        if (takesPart(board[size_t(i)].text))
            cellsByText[board[size_t(i)].text].append(i);
    }
    bool fault = false;
    for (int i = 0; i < int(board.size()); ++i) {
        const BoardCell& c = board[size_t(i)];
        if (!takesPart(c.text))
            continue;
        for (const int j : cellsByText.value(c.text)) {
            if (j == i)
                continue;
            const BoardCell& d = board[size_t(j)];
            f.logLine(cellPrefix(c) + texts::InputValuePass2 + c.text + texts::DupAnd + QString::number(d.x)
                      + texts::Tate + QString::number(d.y) + texts::InputValuePass2 + d.text + texts::DupIs);
            fault = true;
        }
    }
    return fault;
}

// What a list place may name: any cell text, or a listed move whose own place the chain follows.
struct PlaceTargets {
    QSet<QString> cellTexts;
    QSet<QString> chainedMoves;
};

PlaceTargets placeTargets(const Form& f, const std::array<BoardCell, 361>& board)
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
QString moveNumberFault(const QString& moveNumber)
{
    const auto m = tryToInteger(moveNumber);
    if (!m)
        return texts::NoMoveNumber;
    if (*m < 1)
        return texts::ZeroOrLess;
    if (*m > HighestMove)
        return texts::TooManyDigitsFault;
    return {};
}

QString placeFault(const QString& place, bool followsChain, const PlaceTargets& targets, int total)
{
    if (!isHandicapLabel(place)) {
        const auto v = tryToInteger(place);
        if (!v)
            return texts::NotDigits;
        if (*v > total)
            return texts::AboveTotal;
    }
    if (targets.cellTexts.contains(place))
        return {};
    if (followsChain && targets.chainedMoves.contains(place))
        return {};
    return texts::PlaceNotOnBoard;
}

// The rows that the ordering will read: each must give a move a point.
bool checkListRows(Form& f, const MoveList& list, bool followsChain, const PlaceTargets& targets, int total)
{
    bool fault = false;
    for (int r = 1; r < MoveList::Rows; ++r) {
        const QString& moveNumber = list.at(0, r);
        const QString& place = list.at(1, r);
        // A place of blanks only is no place at all; an unplaced move is the gap check's matter.
        if (trimControl(place).isEmpty())
            continue;
        QString problem = moveNumberFault(moveNumber);
        if (problem.isEmpty())
            problem = placeFault(place, followsChain, targets, total);
        if (problem.isEmpty())
            continue;
        f.logLine(texts::ListRowPrefix + moveNumber + texts::InputValuePass1 + place + problem);
        fault = true;
    }
    return fault;
}

} // namespace

bool NyuuryokuDataKakunin(Form& f)
{
    const auto board = trimmedBoard(f);
    const int total = totalOf(f);
    const bool valueFault = checkValues(f, board, total);
    const bool duplicateFault = checkDuplicates(f, board);
    const PlaceTargets targets = placeTargets(f, board);
    const bool loadedFault = checkListRows(f, f.stringGrid1, false, targets, total);
    const bool editedFault = checkListRows(f, f.stringGrid2, true, targets, total);
    return valueFault || duplicateFault || loadedFault || editedFault;
}
