// The move ordering and the three file shapes on a board and lists built from the input,
// optionally over a record opened from a file. The ordering is compared with the literal
// reference ordering, and every file written is read back with the program's own reader.
//
// Input: commands, one to a line, fields separated by tabs:
//   c X Y TEXT      cell (X, Y) holds TEXT          T X Y TEXT   TEXT typed into cell (X, Y)
//   1 ROW NUM PLACE a row of StringGrid1            2 ROW NUM PLACE  a row of StringGrid2
//   t TEXT          total move count (SouTesuu)     p TEXT       relative offset (txtPuls)
//   w               white moves first               e            edit mode (lock shown)
//   f               the rest of the input is a file, opened before the other commands

#include "board/cellname.h"
#include "board/form.h"
#include "entry/cellentry.h"
#include "entry/handicap.h"
#include "fuzzcheck.h"
#include "replayfiles.h"
#include "sgf/dialect.h"
#include "sgf/files.h"
#include "sgf/open.h"
#include "sgf/ordering.h"
#include "sgf/reader.h"
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
        f.radioGroup1 = 1;
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
        FUZZ_CHECK(entry.isEmpty() || point.match(entry).hasMatch());
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
    FUZZ_CHECK(after.moveTable == expected.moveTable);
}

void checkMovesRead(const Form& f, const MoveScan& scan, int from)
{
    for (const ScannedMove& m : scan.moves) {
        if (m.number <= from)
            continue;
        FUZZ_CHECK(f.moveTable[size_t(m.number)] == pointOf(m.x, m.y));
        FUZZ_CHECK(m.black == ((m.number + f.radioGroup1) % 2 == 1));
    }
}

void checkFresh(const Form& f)
{
    const Lines lines = buildFresh(f);
    FUZZ_CHECK(splitLines(fileText(lines)) == lines);
    QList<CellPos> stones;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            if (f.cell(x, y).text.startsWith(QLatin1Char('B')))
                stones.append({x, y});
    const HandicapList read = parseHandicapList(lines.first());
    FUZZ_CHECK(read.listed == !stones.isEmpty() && read.points.size() == stones.size());
    for (qsizetype i = 0; i < stones.size(); ++i)
        FUZZ_CHECK(read.points[i].x == stones[i].x && read.points[i].y == stones[i].y);
    const int first = findFirstMoveLine(lines);
    const int n = countMoves(f);
    FUZZ_CHECK((first == 0) == (n == 0));
    if (n == 0)
        return;
    const MoveScan scan = scanMoves(lines, first);
    FUZZ_CHECK(scan.nodeCount == n && scan.moves.size() == n && scan.tailLine == lines.size());
    checkMovesRead(f, scan, 0);
}

void checkRebuilt(const Form& f)
{
    const Lines lines = buildRebuilt(f);
    const int first = findFirstMoveLine(lines);
    const int n = countMoves(f);
    FUZZ_CHECK((first == 0) == (n == 0));
    if (n == 0)
        return;
    const MoveScan scan = scanMoves(lines, first);
    FUZZ_CHECK(scan.nodeCount == n && scan.moves.size() == n && scan.tailLine == lines.size());
    checkMovesRead(f, scan, 0);
}

// Whether the loaded main line ends in a state where new nodes read as written: the scan of
// its text with two known moves put in place of its ")" finds exactly those two.
bool endsClean(const Form& f)
{
    Lines probe = f.loadedLines.mid(0, f.tailLine);
    QByteArray& last = probe.last();
    last = last.left(findMainLineClose(f.loadedLines, f.firstMoveLine).at) + ";B[aa];W[ss])";
    const MoveScan before = scanMoves(f.loadedLines, f.firstMoveLine);
    const MoveScan scan = scanMoves(probe, f.firstMoveLine);
    const int a = f.loadedNodeCount;
    if (scan.moves.size() != before.moves.size() + 2)
        return false;
    const ScannedMove& b = scan.moves[scan.moves.size() - 2];
    const ScannedMove& w = scan.moves.last();
    return b.number == a + 1 && b.x == 1 && b.y == 1 && b.black && w.number == a + 2 && w.x == 19 && w.y == 19
        && !w.black;
}

void checkSpliced(const Form& f)
{
    const Lines lines = buildSpliced(f);
    if (f.gameInfo.isEmpty() || f.tailLine < 2)
        return;
    const int n = countMoves(f);
    const int a = f.loadedNodeCount;
    if (n <= a) {
        FUZZ_CHECK(lines == f.loadedLines);
        return;
    }
    const MoveScan scan = scanMoves(lines, findFirstMoveLine(lines));
    FUZZ_CHECK(scan.nodeCount == n);
    FUZZ_CHECK(scan.tailLine == f.tailLine + (n - a + 13) / 14);
    if (endsClean(f))
        checkMovesRead(f, scan, a);
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
    checkOrdering(before, f, fault);
    const bool gap = !fault && ZyunRetuKihuKakunin(f, ui);
    if (fault || gap) {
        // Save stops here, but the writers must still hold up on any table.
        buildFresh(f);
        buildRebuilt(f);
        buildSpliced(f);
        return 0;
    }
    checkFresh(f);
    checkRebuilt(f);
    checkSpliced(f);
    return 0;
}
