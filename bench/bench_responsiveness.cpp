#include "app/tform1.h"
#include "support/windowui.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

#include <benchmark/benchmark.h>

#include "offscreenmain.h"

#include <algorithm>

// How long the window goes without answering while a 300 dpi letter page pasted onto it is
// read: a timer asks every 5 ms, and the longest wait between two of its ticks is the figure.
// The whole paste, reading, notes and places included, is the time of an iteration.

namespace {

void pastePage(benchmark::State& state)
{
    QFile file(QStringLiteral(RANVEL_BENCH_DATA "/diagrams/game09_s9_l1_h2__clean300.png"));
    file.open(QIODevice::ReadOnly);
    const QByteArray page = file.readAll();
    WindowUi ui;
    TForm1 window(BuildKind::standard(), &ui);
    ui.window = &window;
    window.show();
    QApplication::processEvents();
    QLineEdit* cell = window.cell(3, 3);
    cell->setFocus(Qt::OtherFocusReason);

    double longest = 0;
    for (auto _ : state) {
        auto* mime = new QMimeData;
        mime->setData(QStringLiteral("image/png"), page);
        QGuiApplication::clipboard()->setMimeData(mime);
        QElapsedTimer since;
        since.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = std::max(longest, double(since.nsecsElapsed()) / 1e6);
            since.restart();
        });
        tick.start(5);
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : cell, &paste);
        tick.stop();
        if (window.form().souTesuu.isEmpty())
            state.SkipWithError("the page was not read");
    }
    state.counters["longest_wait_ms"] = longest;
}

} // namespace

BENCHMARK(pastePage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    return runOffscreenBenchmarks(argc, argv);
}
