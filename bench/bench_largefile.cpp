#include "app/tform1.h"
#include "sgf/open.h"
#include "support/scriptedui.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "offscreenmain.h"

// What one event costs the window (copying typed text in, running a handler, showing the
// record) after a file of a given size has been opened. A file of one line without an end is
// all header, so it all goes into the record's game information.

namespace {

void eventAfterOpening(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("one line.sgf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray(state.range(0), 'x')) != state.range(0))
        state.SkipWithError("cannot write the file");
    file.close();
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    w.show();
    ui.answers = {Answer::Yes};
    ui.openPaths = {path};
    w.dispatch([&] { FileHiraku(w.form(), ui); });
    if (w.form().gameInfo.size() != state.range(0))
        state.SkipWithError("the file did not open as one header line");
    for (auto _ : state)
        w.dispatch([] {});
}

} // namespace

BENCHMARK(eventAfterOpening)->Arg(1000)->Arg(50 * 1024 * 1024)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
