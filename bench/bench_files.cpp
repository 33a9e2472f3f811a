#include "app/tform1.h"
#include "board/form.h"
#include "sgf/open.h"
#include "sgf/save.h"
#include "support/scriptedui.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "offscreenmain.h"

#include <algorithm>
#include <vector>

// Opening and saving whole records: the file is read or written, and the board and lists
// are filled or read, as the operator's Open and Save do.

namespace {

const QByteArray header = "(;CA[shift_jis]SZ[19]AP[MultiGo:4.3.0]MULTIGOGM[1]";
// "好手" and "黒" in Shift-JIS: comments as MultiGo users write them.
const QByteArray comment = "C[\x8d\x44\x8e\xe8 \x8d\x95 good shape]";

QByteArray point(int x, int y)
{
    return QByteArray(1, char('a' + x - 1)) + char('a' + y - 1);
}

// The points of a game of the given length: every point once in a shuffled order, then
// moves on points already played, as after captures.
std::vector<QPoint> gamePoints(int moves, quint32 seed)
{
    QRandomGenerator rng(seed);
    std::vector<QPoint> all;
    for (int y = 1; y <= 19; ++y)
        for (int x = 1; x <= 19; ++x)
            all.emplace_back(x, y);
    std::shuffle(all.begin(), all.end(), rng);
    std::vector<QPoint> out(all.begin(), all.begin() + std::min(moves, 361));
    while (int(out.size()) < moves)
        out.push_back(all[rng.bounded(361)]);
    return out;
}

// A MultiGo record: the main line of mainMoves moves, every fifth node commented, 14 nodes
// to a line, closed after its last move; then variations further variations of ten moves,
// one to a line, and the game's closing bracket.
QByteArray recordFile(int mainMoves, int variations)
{
    const std::vector<QPoint> points = gamePoints(mainMoves, 11);
    QByteArray text = header + "\r\n";
    QByteArray line;
    for (int k = 1; k <= mainMoves; ++k) {
        line += ';';
        line += (k % 2 == 1) ? 'B' : 'W';
        line += '[' + point(points[size_t(k - 1)].x(), points[size_t(k - 1)].y()) + ']';
        if (k % 5 == 0)
            line += comment;
        if (k % 14 == 0 || k == mainMoves) {
            if (k == mainMoves)
                line += ')';
            text += line + "\r\n";
            line.clear();
        }
    }
    QRandomGenerator rng(5);
    for (int v = 0; v < variations; ++v) {
        QByteArray variation = "(";
        for (int k = 0; k < 10; ++k) {
            variation += (k % 2 == 0) ? ";W[" : ";B[";
            variation += point(int(rng.bounded(1, 20)), int(rng.bounded(1, 20))) + ']';
            if (k == 0)
                variation += comment;
        }
        text += variation + ")\r\n";
    }
    text += ")\r\n";
    return text;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Files the saves leave behind: the saved file's backups, so that every save finds the same
// folder and chooses the same backup name.
void removeBackups(const QTemporaryDir& dir)
{
    QDir folder(dir.path());
    for (const QString& name : folder.entryList({QStringLiteral("*_bk*.sgf")}, QDir::Files))
        folder.remove(name);
}

void openRecord(Form& f, ScriptedUi& ui, const QString& path, Answer mode)
{
    ui.boxes.clear();
    ui.answers = {mode};
    ui.openPaths = {path};
    FileHiraku(f, ui);
}

// 700 moves in the main line and 30 variations of ten: 1000 nodes besides the root, the
// main line's moves on 361 points and 339 of them in the list of moves on occupied points.
struct OpenFixture {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kifu.sgf"));
    OpenFixture() { writeFile(path, recordFile(700, 30)); }
};

void openModel(benchmark::State& state)
{
    OpenFixture fixture;
    Form f;
    ScriptedUi ui;
    for (auto _ : state) {
        openRecord(f, ui, fixture.path, Answer::Yes);
        benchmark::DoNotOptimize(f.loadedNodeCount);
    }
    if (f.loadedNodeCount != 700 || f.stringGrid1.at(0, 339).isEmpty())
        state.SkipWithError("the record was not laid on the board");
}

// The same through the window's Open button, with the board and lists shown afterwards.
void openWindow(benchmark::State& state)
{
    OpenFixture fixture;
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    w.show();
    QApplication::processEvents();
    auto* open = qobject_cast<QPushButton*>(w.control(QStringLiteral("cmdOpen")));
    for (auto _ : state) {
        ui.boxes.clear();
        ui.answers = {Answer::Yes};
        ui.openPaths = {fixture.path};
        open->click();
        QApplication::processEvents();
    }
    if (w.form().loadedNodeCount != 700)
        state.SkipWithError("the record was not laid on the board");
}

// A typed record as large as the lists allow: 361 stones and 499 moves on occupied points,
// whose places name stones on the board.
void typeRecord(Form& f, int moves)
{
    const std::vector<QPoint> points = gamePoints(moves, 3);
    f.souTesuu = QString::number(moves);
    for (int k = 1; k <= moves; ++k) {
        const QPoint p = points[size_t(k - 1)];
        Cell& c = f.cell(p.x(), p.y());
        if (c.text.isEmpty()) {
            c.text = QString::number(k);
            continue;
        }
        const int row = k - 361;
        f.stringGrid2.at(0, row) = QString::number(k);
        f.stringGrid2.at(1, row) = c.text;
    }
}

void saveFresh(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kifu.sgf"));
    Form f;
    typeRecord(f, 860);
    ScriptedUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(path);
        f.currentFileName.clear();
        ui.boxes.clear();
        ui.savePaths = {path};
        state.ResumeTiming();
        Hozon(f, ui);
    }
    if (ui.boxes.size() != 2 || ui.boxes.last().kind != BoxKind::Information || QFile(path).size() < 860 * 6)
        state.SkipWithError("the record was not saved");
}

// An opened record of 860 moves (361 on the board, 499 in the list of moves on occupied
// points) to which the operator added 140 moves in the missing-number list: 1000 moves.
void openAndExtend(Form& f, ScriptedUi& ui, const QString& path, Answer mode)
{
    writeFile(path, recordFile(860, mode == Answer::Yes ? 30 : 0));
    openRecord(f, ui, path, mode);
    const std::vector<QPoint> more = gamePoints(140, 17);
    for (int row = 1; row <= 140; ++row) {
        const QPoint p = more[size_t(row - 1)];
        f.stringGrid2.at(0, row) = QString::number(860 + row);
        f.stringGrid2.at(1, row) = f.cell(p.x(), p.y()).text;
    }
    f.souTesuu = QStringLiteral("1000");
}

void saveWithFile(benchmark::State& state, Answer mode)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kifu.sgf"));
    Form f;
    ScriptedUi ui;
    openAndExtend(f, ui, path, mode);
    for (auto _ : state) {
        state.PauseTiming();
        removeBackups(dir);
        ui.boxes.clear();
        state.ResumeTiming();
        Hozon(f, ui);
    }
    if (ui.boxes.size() != 2 || ui.boxes.last().kind != BoxKind::Information || f.moveTable[1000].isEmpty())
        state.SkipWithError("the record was not saved with 1000 moves");
}

void saveRebuilt(benchmark::State& state)
{
    saveWithFile(state, Answer::No);
}

void saveSpliced(benchmark::State& state)
{
    saveWithFile(state, Answer::Yes);
}

} // namespace

BENCHMARK(openModel)->Unit(benchmark::kMillisecond);
BENCHMARK(openWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(saveFresh)->Unit(benchmark::kMillisecond);
BENCHMARK(saveRebuilt)->Unit(benchmark::kMillisecond);
BENCHMARK(saveSpliced)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
