// The move ordering and the three file shapes on a board and lists built from the input,
// optionally over a record opened from a file. The ordering is compared with the literal
// reference ordering; every file written is read back with the program's own reader, and what it
// reads must be what the record to save holds.
//
// Input: commands, one to a line, fields separated by tabs:
//   c X Y TEXT      cell (X, Y) holds TEXT          T X Y TEXT   TEXT typed into cell (X, Y)
//   1 ROW NUM PLACE a row of StringGrid1            2 ROW NUM PLACE  a row of StringGrid2
//   t TEXT          total move count (SouTesuu)     p TEXT       relative offset (txtPuls)
//   w               white moves first               e            edit mode (lock shown)
//   f               the rest of the input is a file, opened before the other commands

#include "board/cellname.h"
#include "board/form.h"
#include "board/go.h"
#include "entry/cellentry.h"
#include "entry/handicap.h"
#include "fuzzcheck.h"
#include "ordering/moveordering.h"
#include "replayfiles.h"
#include "sgf/dialect.h"
#include "sgf/files.h"
#include "sgf/loadedgame.h"
#include "sgf/open.h"
#include "sgf/passes.h"
#include "sgf/lines.h"
#include "support/referenceordering.h"
#include "support/scriptedui.h"

#include <QRegularExpression>

#include <optional>
#include <stdexcept>

namespace {

struct Command {
    char op;
    QList<QByteArray> fields;
};

int wrapped(const QByteArray& field, int count)
{
    const int v = field.toInt();
    return ((v % count) + count) % count + 1;
}

QString textOf(const QList<QByteArray>& fields, int from)
{
    return from < fields.size() ? QString::fromUtf8(fields.mid(from).join('\t')) : QString();
}

void apply(Form& f, Ui& ui, const Command& c)
{
    const auto& a = c.fields;
    switch (c.op) {
    case 'c':
    case 'T': {
        if (a.size() < 2)
            return;
        const int x = wrapped(a[0], 19);
        const int y = wrapped(a[1], 19);
        if (c.op == 'c') {
            f.cell(x, y).text = textOf(a, 2);
            return;
        }
        Derutoki(f, cellName(x, y));
        f.cell(x, y).text = textOf(a, 2);
        NyuuRyokuGo(f, ui);
        return;
    }
    case '1':
    case '2': {
        if (a.isEmpty())
            return;
        MoveList& list = c.op == '1' ? f.stringGrid1 : f.stringGrid2;
        const int row = wrapped(a[0], MoveList::LastRow);
        list.at(0, row) = a.size() > 1 ? QString::fromUtf8(a[1]) : QString();
        list.at(1, row) = textOf(a, 2);
        return;
    }
    case 't':
        f.souTesuu = textOf(a, 0);
        return;
    case 'p':
        f.txtPuls = textOf(a, 0);
        txtPulsChange(f);
        return;
    case 'w':
        f.radioGroup1 = go::FirstPlayer::White;
        IroKakunin(f);
        return;
    default:
        return;
    }
}

QString pointOf(int x, int y)
{
    return QString(letterOf(x)) + letterOf(y);
}

void checkOrdering(const Form& before, const Form& after, bool fault)
{
    for (const QString& entry : after.moveTable) {
        static const QRegularExpression point(QStringLiteral("\\A[a-s][a-s]\\z"));
        FUZZ_CHECK(entry.isEmpty() || entry == PassEntry || point.match(entry).hasMatch());
    }
    if (fault) {
        FUZZ_CHECK(after.moveTable == before.moveTable);
        return;
    }
    Form expected = before;
    try {
        reference::orderMoves(expected);
    } catch (const std::exception&) {
        // The literal ordering trips over a row it cannot place; the program passes it over.
        return;
    }
    // The opened file's passes take the numbers nothing else has taken.
    addLoadedPasses(expected);
    FUZZ_CHECK(after.moveTable == expected.moveTable);
}

// The record holds the filled table entries from move 1 on, and the cells marked "B".
void checkRecord(const Form& f, const FileContent& r)
{
    FUZZ_CHECK(r.moves.size() == countMoves(f) && r.firstPlayer == f.radioGroup1);
    for (int k = 1; k <= r.moves.size(); ++k)
        FUZZ_CHECK(r.moves[k - 1] == f.moveTable[size_t(k)].toLatin1());
    QList<QByteArray> stones;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (f.cell(x, y).text.startsWith(QLatin1Char('B')))
                stones.append(pointOf(x, y).toLatin1());
    FUZZ_CHECK(r.handicapPoints == stones);
}

// What a written file says, as far as the reader sees it: the moves after a given one, each
// with its colour, and the handicap points of its header.
struct Written {
    QList<QByteArray> moves;
    QList<bool> black;
    QList<QByteArray> handicapPoints;

    bool operator==(const Written& o) const
    {
        return moves == o.moves && black == o.black && handicapPoints == o.handicapPoints;
    }
};

Written intended(const FileContent& r, int from, bool withHandicap)
{
    Written w;
    for (int k = from + 1; k <= r.moves.size(); ++k) {
        w.moves.append(r.moves[k - 1]);
        const std::optional<bool> loaded = r.loaded ? loadedColour(*r.loaded, k) : std::nullopt;
        w.black.append(loaded ? *loaded : (k + int(r.firstPlayer)) % 2 == 1);
    }
    if (withHandicap)
        w.handicapPoints = r.handicapPoints;
    return w;
}

Written readBack(const LoadedGame& game, int from, bool withHandicap)
{
    Written w;
    for (const LoadedMove& m : game.moves) {
        if (m.number <= from)
            continue;
        w.moves.append(m.pass ? PassEntry.toLatin1() : pointOf(m.x, m.y).toLatin1());
        w.black.append(m.black);
    }
    if (withHandicap) {
        for (const CellPos& p : game.blackStones)
            w.handicapPoints.append(pointOf(p.x, p.y).toLatin1());
    }
    return w;
}

// A header and moves written anew: the reader finds every move, one node each, and the file
// ends with the main line.
void checkWholeFile(const FileContent& r, const Lines& lines, bool fresh)
{
    const LoadedGame game = loadedGameOf(lines);
    FUZZ_CHECK(game.hasTree);
    FUZZ_CHECK(game.moves.size() == r.moves.size());
    FUZZ_CHECK(game.closed && game.splice.line == lines.size() - 1);
    FUZZ_CHECK(readBack(game, 0, fresh) == intended(r, 0, fresh));
}

void checkFresh(const FileContent& r)
{
    const Lines lines = buildFresh(r);
    FUZZ_CHECK(splitLines(fileText(lines)) == lines);
    checkWholeFile(r, lines, true);
}

void checkRebuilt(const FileContent& r)
{
    // A header kept from a text that holds no game tree is no SGF; only its lines come back.
    if (r.loaded && !r.loaded->hasTree && !r.gameInfo.isEmpty())
        return;
    checkWholeFile(r, buildRebuilt(r), false);
}

// The new moves go in after the loaded main line and read back as the record holds them; a
// save with none writes the loaded lines back. Save refuses new moves after a text cut short
// inside a value.
void checkSpliced(const FileContent& r)
{
    const Lines lines = buildSpliced(r);
    if (r.gameInfo.isEmpty() || r.tailLine < 1 || !r.loaded || !r.loaded->hasTree)
        return;
    if (r.loaded->cutShort && r.moves.size() > r.loadedNodeCount)
        return;
    const int n = int(r.moves.size());
    const int a = r.loadedNodeCount;
    if (n <= a) {
        FUZZ_CHECK(lines == r.loadedLines);
        return;
    }
    FUZZ_CHECK(lines.size() == r.loadedLines.size() + (n - a + 13) / 14);
    const LoadedGame game = loadedGameOf(lines);
    FUZZ_CHECK(game.moves.size() == n);
    FUZZ_CHECK(readBack(game, a, false) == intended(r, a, false));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    QList<Command> commands;
    std::optional<QByteArray> file;
    bool editMode = false;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        const QByteArray line = bytes.mid(at, end - at);
        at = end + 1;
        if (line.isEmpty())
            continue;
        QList<QByteArray> fields = line.split('\t');
        const QByteArray name = fields.takeFirst();
        if (name.isEmpty())
            continue;
        const char op = name.front();
        if (op == 'f') {
            file = bytes.mid(at);
            break;
        }
        if (op == 'e')
            editMode = true;
        commands.append({op, fields});
    }

    Form f;
    ScriptedUi ui;
    if (file) {
        ui.answers = {editMode ? Answer::No : Answer::Yes};
        ui.openPaths = {fuzz::writeScratchFile(*file)};
        FileHiraku(f, ui);
    }
    f.lockShown = editMode;
    for (const Command& c : commands)
        apply(f, ui, c);

    const Form before = f;
    const bool fault = ZyunRetuStrKihu(f);
    if (!fault)
        addLoadedPasses(f);
    checkOrdering(before, f, fault);
    const bool gap = !fault && ZyunRetuKihuKakunin(f, ui);
    const FileContent record = fileContentOf(f);
    checkRecord(f, record);
    if (fault || gap) {
        // Save stops here, but the writers must still hold up on any table.
        buildFresh(record);
        buildRebuilt(record);
        buildSpliced(record);
        return 0;
    }
    checkFresh(record);
    checkRebuilt(record);
    checkSpliced(record);
    return 0;
}
