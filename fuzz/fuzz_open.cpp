// Opening a file as a whole, on the record: the file is read into lines, the handicap stones
// and the main line are laid on the board, in keep mode on the standard build and in edit mode
// on the small-screen one. Then the lock is released and applied again, the record is ordered,
// and the files a save would write are read back.
//
// Input: the bytes of the file.

#include "board/buildkind.h"
#include "board/conversions.h"
#include "board/form.h"
#include "entry/handicap.h"
#include "fuzzcheck.h"
#include "ordering/moveordering.h"
#include "replayfiles.h"
#include "sgf/dialect.h"
#include "sgf/files.h"
#include "sgf/loadedgame.h"
#include "sgf/lock.h"
#include "sgf/open.h"
#include "sgf/passes.h"
#include "sgf/lines.h"
#include "support/scriptedui.h"

#include <QRegularExpression>
#include <QSet>

namespace {

bool isNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("\\A[1-9][0-9]*\\z"));
    return number.match(text).hasMatch();
}

void checkLines(const Lines& lines, const QByteArray& bytes)
{
    FUZZ_CHECK(lines == splitLines(bytes));
    for (const QByteArray& line : lines)
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && !line.contains('\0'));
    // Written back with CR LF, the lines read as they were.
    FUZZ_CHECK(splitLines(fileText(lines)) == lines);
}

// Loaded moves are numbered and locked, stones are labelled and locked; nothing else is set.
void checkBoard(const Form& f)
{
    for (const Cell& c : f.cells) {
        if (c.text.isEmpty())
            continue;
        FUZZ_CHECK(!c.enabled);
        if (c.text.startsWith(QLatin1Char('B'))) {
            FUZZ_CHECK(c.tag == CellOrigin::LoadedHandicap && isNumber(c.text.mid(1)));
            continue;
        }
        FUZZ_CHECK(c.tag == CellOrigin::LoadedMove && isNumber(c.text));
        FUZZ_CHECK(c.background == colours::Black || c.background == colours::White);
    }
}

// Each move of the main line stands on its point, or in the list when the point was taken.
void checkMoves(const Form& f, const LoadedGame& game)
{
    FUZZ_CHECK(f.loadedNodeCount == game.moves.size());
    FUZZ_CHECK(f.tailLine == game.splice.line + 1);
    QSet<int> listed;
    int rows = 0;
    for (; rows < MoveList::LastRow && !f.stringGrid1.at(0, rows + 1).isEmpty(); ++rows)
        listed.insert(f.stringGrid1.at(0, rows + 1).toInt());
    for (const LoadedMove& m : game.moves) {
        FUZZ_CHECK(m.number >= 1 && m.number <= game.moves.size());
        if (m.pass || m.number > 999)
            continue;
        FUZZ_CHECK(m.x >= 1 && m.x <= 19 && m.y >= 1 && m.y <= 19);
        const bool onCell = f.cell(m.x, m.y).text == QString::number(m.number);
        FUZZ_CHECK(onCell || listed.contains(m.number) || rows == MoveList::LastRow);
    }
}

// The file a rebuild save writes reads back as the ordered moves, after the kept header.
void checkRebuilt(const Form& f)
{
    const FileContent r = fileContentOf(f);
    if (r.loaded && !r.loaded->hasTree)
        return;
    const Lines lines = buildRebuilt(r);
    const int n = countMoves(f);
    const LoadedGame game = loadedGameOf(lines);
    FUZZ_CHECK(game.hasTree && game.moves.size() == n);
    FUZZ_CHECK(game.closed && game.splice.line == lines.size() - 1);
    for (const LoadedMove& m : game.moves) {
        const QString point = m.pass ? PassEntry : QString(letterOf(m.x)) + letterOf(m.y);
        FUZZ_CHECK(f.moveTable[size_t(m.number)] == point);
        const std::optional<bool> loaded = r.loaded ? loadedColour(*r.loaded, m.number) : std::nullopt;
        FUZZ_CHECK(m.black == (loaded ? *loaded : (m.number + int(f.radioGroup1)) % 2 == 1));
    }
}

void open(const QByteArray& bytes, const BuildKind& kind, Answer mode)
{
    Form f(kind);
    ScriptedUi ui;
    ui.answers = {mode};
    ui.openPaths = {fuzz::writeScratchFile(bytes)};
    FileHiraku(f, ui);
    // A file the record cannot hold is refused with an error box, and nothing is laid.
    if (f.currentFileName.isEmpty()) {
        FUZZ_CHECK(!ui.boxes.isEmpty() && ui.boxes.last().kind == BoxKind::Error);
        FUZZ_CHECK(f.loadedLines.isEmpty());
        return;
    }
    checkLines(f.loadedLines, bytes);
    checkBoard(f);
    const LoadedGame game = loadedGameOf(f.loadedLines);
    if (game.hasTree && game.secondNode.line >= 0)
        checkMoves(f, game);
    // A splice with no new move writes the file back line for line.
    if (!f.gameInfo.isEmpty() && f.tailLine >= 1)
        FUZZ_CHECK(buildSpliced(fileContentOf(f)) == f.loadedLines);

    f.lockPressed = false;
    cmdLockKaizyo2Click(f);
    f.lockPressed = true;
    cmdLockKaizyo2Click(f);
    checkBoard(f);

    if (ZyunRetuStrKihu(f))
        return;
    addLoadedPasses(f);
    if (ZyunRetuKihuKakunin(f, ui))
        return;
    checkRebuilt(f);
    if (!f.gameInfo.isEmpty() && f.tailLine >= 1)
        FUZZ_CHECK(buildSpliced(fileContentOf(f)) == f.loadedLines);
    buildFresh(fileContentOf(f));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    open(bytes, BuildKind::standard(), Answer::Yes);
    open(bytes, BuildKind::smallScreen(), Answer::No);
    return 0;
}
