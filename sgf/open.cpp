#include "sgf/open.h"

#include "board/colours.h"
#include "board/conversions.h"
#include "board/form.h"
#include "board/messages.h"
#include "board/record.h"
#include "board/texts.h"
#include "board/ui.h"
#include "entry/handicap.h"
#include "sgf/files.h"
#include "sgf/reader.h"

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

// A file without moves: only its game information is kept.
void openHeaderOnly(Form& f, Ui& ui, const QByteArray& gameInfo)
{
    ui.inform(f.kind->headerOnlyBox);
    f.logLine(f.kind->headerOnlyLog);
    f.firstMoveLine = 0;
    f.gameInfo = gameInfo;
    if (f.kind->placesHeaderOnlyStones)
        OkiisiSet(f);
}

// Returns false when the move had neither a free point nor a free list row.
bool placeMove(Form& f, const ScannedMove& move, int& listRow)
{
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

// The last move may have been played on an occupied point, so the list counts as well.
int highestLoadedMove(const Form& f)
{
    int highest = 0;
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

void openMoves(Form& f, Ui& ui, const Lines& lines, int firstMoveLine)
{
    f.firstMoveLine = firstMoveLine;
    f.gameInfo = concatLines(lines, firstMoveLine);
    if (!f.gameInfo.contains(texts::Marker.toLatin1())) {
        const messages::BoxAndLog m = messages::notMultiGo();
        if (ui.ask(BoxKind::Warning, m.box, BoxButtons::OkCancel) == Answer::Cancel)
            return;
        f.logLine(m.log);
    }
    OkiisiSet(f);
    const MoveScan scan = scanMoves(lines, firstMoveLine);
    int listRow = 1;
    qint64 notShown = 0;
    for (const ScannedMove& move : scan.moves) {
        if (!placeMove(f, move, listRow))
            ++notShown;
    }
    f.tailLine = scan.tailLine;
    f.loadedNodeCount = scan.nodeCount;
    if (f.tailLine < lines.size())
        f.sankouZu = lines[f.tailLine];
    f.stringGrid1.shown = true;
    f.logLine(messages::highestLoadedLine(highestLoadedMove(f)));
    // A long record has more moves on taken points than the list has rows; the operator must
    // know that a rebuild from the board cannot hold them.
    if (notShown > 0)
        f.logLine(messages::notListedLine(notShown));
}

} // namespace

void FileHiraku(Form& f, Ui& ui)
{
    const Answer mode = ui.ask(BoxKind::Confirm, messages::openModeQuestion(), BoxButtons::YesNoCancel);
    if (mode == Answer::Cancel)
        return;
    // The record on the board is given up only for a file that has been read: a cancelled
    // dialog or an unreadable file leaves the record as it was.
    const std::optional<QString> chosen = ui.openFileName();
    if (!chosen || chosen->isEmpty())
        return;
    const QString path = *chosen;
    const ReadOutcome read = readLines(path);
    if (!read.ok) {
        f.logLine(messages::openLine(shownPath(path)));
        reportUnreadable(f, ui, path, read.reason);
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
    if (lines.size() < 2) {
        openHeaderOnly(f, ui, lines.isEmpty() ? QByteArray() : lines.first());
        return;
    }
    const int firstMoveLine = findFirstMoveLine(lines);
    if (firstMoveLine == 0) {
        openHeaderOnly(f, ui, concatLines(lines, int(lines.size())));
        return;
    }
    openMoves(f, ui, lines, firstMoveLine);
}

void cmdOpenClick(Form& f, Ui& ui)
{
    FileHiraku(f, ui);
}
