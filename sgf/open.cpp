#include "sgf/open.h"

#include "board/colours.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/go.h"
#include "board/messages.h"
#include "board/limits.h"
#include "board/texts.h"
#include "board/ui.h"
#include "entry/handicap.h"
#include "sgf/files.h"
#include "sgf/loadedgame.h"
#include "sgf/lines.h"

#include <algorithm>
#include <array>
#include <optional>

namespace {

// Keep mode hides the lock, so the loaded moves stay locked and Save keeps the file's text.
void setMode(Form& f, bool keep)
{
    f.caption = keep ? texts::CaptionKeepMode : texts::CaptionEditMode;
    f.lockShown = !keep;
}

void reportUnreadable(Form& f, Ui& ui, const QString& path, const QString& reason)
{
    const messages::BoxAndLog m = messages::readFailed(shownPath(path), reason);
    ui.error(m.box);
    f.logLine(m.log);
}

// What the record cannot hold at all; empty when it can hold the file.
QString refusalOf(const LoadedGame& game, const Lines& lines)
{
    if (!game.hasTree) {
        const bool blank = std::all_of(lines.begin(), lines.end(), [](const QByteArray& l) { return l.trimmed().isEmpty(); });
        return blank ? QString() : texts::NoGameTree;
    }
    // Moves written after a root that never ends would be part of its last value.
    if (game.cutShort && game.secondNode.line < 0)
        return texts::CutShort;
    if (game.charsetInDoubt)
        return texts::CharsetInDoubt;
    if (!game.isGo())
        return messages::notGo(game.gameType);
    if (!game.isNineteen())
        return messages::notNineteen(game.boardSize);
    if (game.unreadableMove) {
        const LoadedMove& m = game.moves[game.unreadableMove - 1];
        return messages::unreadableMove(m.number, (m.black ? "B[" : "W[") + game.unreadableValue + "]");
    }
    return {};
}

// The root's black setup stones become the record's handicap stones: "B" and a number in
// board order, locked. The first player follows the file's moves, or white after the stones.
void placeHandicap(Form& f, const LoadedGame& game)
{
    f.radioGroup1 = firstPlayerOf(game);
    for (const CellPos& p : game.blackStones)
        layLoadedHandicap(f.cell(p.x, p.y));
    for (Cell& c : f.cells) {
        if (c.text == HandicapMark)
            c.text = HandicapMark + QString::number(nextHandicapNumber(f));
    }
}

bool acceptDropped(Form& f, Ui& ui, const LoadedGame& game);

// More than NUL bytes and blanks after the NUL that ends the text.
bool hasTextAfterNul(const QByteArray& bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul >= 0 && std::any_of(bytes.begin() + nul, bytes.end(), [](char c) { return uchar(c) > 32; });
}

// A file without moves: only its game information is kept.
void openHeaderOnly(Form& f, Ui& ui, const QByteArray& gameInfo, const LoadedGame& game)
{
    ui.inform(f.kind->headerOnlyBox);
    f.logLine(f.kind->headerOnlyLog);
    f.firstMoveLine = 0;
    f.gameInfo = gameInfo;
    // Only the small-screen build shows the stones and so takes white as the first player
    // after them; the standard build leaves the board and the first player as cleared.
    if (f.kind->placesHeaderOnlyStones)
        placeHandicap(f, game);
    // Save rebuilds such a file from its root in either mode: the root, the moves, ")" on a
    // line of its own. Only where more than blanks stands after the root's ")" (another game
    // tree) does keep mode put the new moves after the root and keep the rest as it is.
    if (!game.closed) {
        // Never closed: keep mode keeps the text and adds new moves after the root.
        if (!f.lockShown && !game.cutShort && game.hasTree)
            f.tailLine = game.splice.line + 1;
        return;
    }
    const bool more = textAfterClose(f.loadedLines, game);
    if (more && f.lockShown && !acceptDropped(f, ui, game))
        return;
    if (!f.lockShown && more)
        f.tailLine = game.splice.line + 1;
}

// A move numbered past what a cell takes is no entry of the record.
bool fitsCell(const LoadedMove& move)
{
    return move.number <= MostDigits;
}

// How many moves of the main line will have neither a point nor a list row: a save that
// rebuilds the file from the board cannot hold them.
int unplacedMoves(const LoadedGame& game)
{
    std::array<bool, go::Points> taken{};
    for (const CellPos& p : game.blackStones)
        taken[size_t(go::pointOf(p.x, p.y))] = true;
    int rows = 0;
    int unplaced = 0;
    for (const LoadedMove& m : game.moves) {
        if (m.pass)
            continue;
        bool& point = taken[size_t(go::pointOf(m.x, m.y))];
        if (!fitsCell(m) || (point && rows >= MoveList::LastRow))
            ++unplaced;
        else if (point)
            ++rows;
        point = true;
    }
    return unplaced;
}

// Returns false when the move had neither a free point nor a free list row.
bool placeMove(Form& f, const LoadedMove& move, int& listRow)
{
    if (!fitsCell(move))
        return false;
    Cell& c = f.cell(move.x, move.y);
    const QString shown = trimControl(c.text);
    if (shown.isEmpty()) {
        c.text = QString::number(move.number);
        c.background = move.black ? colours::Black : colours::White;
        c.enabled = false;
        c.tag = CellOrigin::LoadedMove;
        return true;
    }
    if (listRow > MoveList::LastRow)
        return false;
    f.stringGrid1.at(0, listRow) = QString::number(move.number);
    f.stringGrid1.at(1, listRow) = shown;
    ++listRow;
    return true;
}

// The last move may have been played on an occupied point, so the list counts as well, and
// so does a pass, which has its number and no stone.
int highestLoadedMove(const Form& f, const LoadedGame& game)
{
    int highest = game.moves.isEmpty() ? 0 : game.moves.last().number;
    for (const Cell& c : f.cells) {
        if (const auto n = tryToInteger(c.text))
            highest = qMax(highest, *n);
    }
    for (int r = 1; r < MoveList::Rows; ++r) {
        if (const auto n = tryToInteger(f.stringGrid1.at(0, r)))
            highest = qMax(highest, *n);
    }
    return highest;
}

QList<int> passesOf(const LoadedGame& game)
{
    QList<int> passes;
    for (const LoadedMove& m : game.moves) {
        if (m.pass)
            passes.append(m.number);
    }
    return passes;
}

// Edit mode rebuilds the main line from the board: other games and stones set along the
// way are not saved, and the operator is asked first. Cancel stops the open.
bool acceptDropped(Form& f, Ui& ui, const LoadedGame& game)
{
    QStringList items;
    if (game.otherGames > 0)
        items.append(messages::otherGamesItem(game.otherGames));
    if (game.setupNodes > 0)
        items.append(messages::setupItem(game.setupNodes));
    if (const int unplaced = unplacedMoves(game))
        items.append(messages::unplacedItem(unplaced));
    if (items.isEmpty())
        return true;
    const messages::BoxAndLog m = messages::dropped(items);
    if (ui.ask(BoxKind::Warning, m.box, BoxButtons::OkCancel) == Answer::Cancel)
        return false;
    f.logLine(m.log);
    return true;
}

// What the board does not show but the file keeps: passes, white setup stones of the root,
// and, in keep mode, stones set along the main line.
void reportNotShown(Form& f, Ui& ui, const LoadedGame& game)
{
    QStringList items;
    if (const QList<int> passes = passesOf(game); !passes.isEmpty())
        items.append(messages::passItem(passes));
    if (game.whiteStones > 0)
        items.append(messages::whiteStonesItem(game.whiteStones));
    if (!f.lockShown && game.setupNodes > 0)
        items.append(messages::setupItem(game.setupNodes));
    if (items.isEmpty())
        return;
    const messages::BoxAndLog m = messages::notShown(items);
    ui.inform(m.box);
    f.logLine(m.log);
}

void openMoves(Form& f, Ui& ui, const Lines& lines, const LoadedGame& game)
{
    f.firstMoveLine = game.secondNode.line;
    f.gameInfo = concatLines(rootLines(lines, game), int(lines.size()));
    if (!f.gameInfo.contains(texts::Marker.toLatin1())) {
        const messages::BoxAndLog m = messages::notMultiGo();
        if (ui.ask(BoxKind::Warning, m.box, BoxButtons::OkCancel) == Answer::Cancel)
            return;
        f.logLine(m.log);
    }
    if (f.lockShown && !acceptDropped(f, ui, game))
        return;
    placeHandicap(f, game);
    int listRow = 1;
    qint64 pastDigits = 0;
    qint64 pastRows = 0;
    for (const LoadedMove& move : game.moves) {
        if (move.pass)
            f.loadedPasses.append(move.number);
        else if (!fitsCell(move))
            ++pastDigits;
        else if (!placeMove(f, move, listRow))
            ++pastRows;
    }
    // Keep mode writes the text back from where the main line ends; a text cut short inside
    // a value is written back only as it was, which Save sees from the parse.
    f.tailLine = game.splice.line + 1;
    f.loadedNodeCount = int(game.moves.size());
    if (f.tailLine < lines.size())
        f.sankouZu = lines[f.tailLine];
    f.stringGrid1.shown = true;
    f.logLine(messages::highestLoadedLine(highestLoadedMove(f, game)));
    // The operator must know that a rebuild from the board cannot hold these.
    if (pastDigits > 0)
        f.logLine(messages::pastMostDigitsLine(pastDigits));
    if (pastRows > 0)
        f.logLine(messages::pastListRowsLine(pastRows));
    reportNotShown(f, ui, game);
    if (game.cutShort) {
        const messages::BoxAndLog m = messages::cutShort(!f.lockShown);
        ui.inform(m.box);
        f.logLine(m.log);
    }
}

} // namespace

void FileHiraku(Form& f, Ui& ui)
{
    const Answer mode = ui.ask(BoxKind::Confirm, messages::openModeQuestion(), BoxButtons::YesNoCancel);
    if (mode == Answer::Cancel)
        return;
    // The record on the board is given up only for a file that has been read and that it can
    // hold: a cancelled dialog, an unreadable or a refused file leaves the record as it was.
    const std::optional<QString> chosen = ui.openFileName();
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    const ReadOutcome read = readLines(path);
    QString refusal = read.ok ? unreadableEncoding(read.bytes) : read.reason;
    const LoadedGame game = refusal.isEmpty() ? loadedGameOf(read.lines) : LoadedGame();
    if (refusal.isEmpty())
        refusal = refusalOf(game, read.lines);
    if (!refusal.isEmpty()) {
        f.logLine(messages::openLine(shownPath(path)));
        reportUnreadable(f, ui, path, refusal);
        return;
    }
    DataClear(f);
    setMode(f, mode == Answer::Yes);
    f.logLine(messages::openLine(shownPath(path)));
    f.currentFileName = path;
    f.lblHyoudai = messages::editingTitle(shownPath(path));
    f.lblOkiisiShown = false;
    f.loadedLines = read.lines;
    const Lines& lines = f.loadedLines;
    // The root alone: game information and maybe stones, but no node of moves after it.
    if (!game.hasTree || game.secondNode.line < 0)
        openHeaderOnly(f, ui, concatLines(lines, int(lines.size())), game);
    else
        openMoves(f, ui, lines, game);
    if (hasTextAfterNul(read.bytes)) {
        f.textAfterNul = true;
        const messages::BoxAndLog m = messages::textAfterNul(!f.lockShown);
        ui.inform(m.box);
        f.logLine(m.log);
    }
}

void cmdOpenClick(Form& f, Ui& ui)
{
    FileHiraku(f, ui);
}
