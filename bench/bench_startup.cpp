#include "app/layout.h"
#include "app/tform1.h"
#include "bench/plaincontrol.h"
#include "sgf/lock.h"
#include "sgf/open.h"
#include "support/scriptedui.h"
#include "support/windowui.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

// What start-up costs: building the window with its 361 cells and two 500-row lists and
// showing it once, against its floor shown in the same run: a plain widget holding the same
// controls at the same places, with no colours, fonts, tab order or handlers.

namespace {

// Builds and shows a window, then lets it paint; its destruction is not timed.
template <typename Make>
void buildAndShow(benchmark::State& state, Make make)
{
    for (auto _ : state) {
        auto* w = make();
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        delete w;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void plainWidget(benchmark::State& state, bool listItems)
{
    const WindowLayout layout = windowLayout(BuildKind::standard());
    buildAndShow(state, [&layout, listItems] {
        auto* w = new QWidget;
        w->resize(layout.clientSize);
        for (const ControlDef& def : layout.controls) {
            QWidget* c = plainControl(def, w, listItems);
            c->setGeometry(def.geometry);
            c->setVisible(def.visible);
        }
        return w;
    });
}

void plainControls(benchmark::State& state)
{
    plainWidget(state, false);
}

void plainControlsListItems(benchmark::State& state)
{
    plainWidget(state, true);
}

void mainWindow(benchmark::State& state)
{
    ScriptedUi ui;
    buildAndShow(state, [&ui] { return new TForm1(BuildKind::standard(), &ui); });
}

void smallScreenWindow(benchmark::State& state)
{
    ScriptedUi ui;
    buildAndShow(state, [&ui] { return new TForm1(BuildKind::smallScreen(), &ui); });
}

// What one event costs once the window is up, on an opened real game (its board filled, its
// loaded moves on taken points in the first list, the lock released): an arrow key that leaves one cell for the
// next, running the exit handling of one and the entry handling of the other, each between
// copying typed text in and showing the record.
void arrowBetweenCells(benchmark::State& state)
{
    WindowUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    ui.window = &w;
    ui.openPaths = {QStringLiteral(RANVEL_BENCH_DATA "/games/game16_s16_l0_h0.sgf")};
    w.dispatch([&] { cmdOpenClick(w.form(), ui); });
    // The file was not written by this program: its warning is answered and done with.
    ui.boxes.clear();
    // Released, so that the arrows walk over the loaded stones too.
    w.dispatch([&] {
        w.form().lockPressed = false;
        cmdLockKaizyo2Click(w.form());
    });
    w.show();
    QApplication::setActiveWindow(&w);
    QApplication::processEvents();
    w.cell(10, 10)->setFocus();
    QApplication::processEvents();
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(w.cell(10, 10), &first);
    if (QApplication::focusWidget() != w.cell(11, 10)) {
        state.SkipWithError("the arrow did not move the focus");
        return;
    }
    bool right = false;
    for (auto _ : state) {
        QWidget* from = QApplication::focusWidget();
        QKeyEvent press(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(from, &press);
        right = !right;
    }
    if (!ui.boxes.isEmpty())
        state.SkipWithError("a box came up");
}

// Resident and peak memory of this process in KiB, from /proc.
std::map<std::string, long> memoryKiB()
{
    std::map<std::string, long> out;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& line : status.readAll().split('\n')) {
        for (const char* key : {"VmRSS", "VmHWM"}) {
            if (line.startsWith(key))
                out[key] = line.mid(line.indexOf(':') + 1).trimmed().split(' ').first().toLong();
        }
    }
    return out;
}

// Peak memory before any benchmark has run: the application alone, then with the window
// built, shown and painted.
void reportMemory()
{
    const auto before = memoryKiB();
    ScriptedUi ui;
    TForm1 w(BuildKind::standard(), &ui);
    w.show();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    const auto after = memoryKiB();
    std::printf("memory: application alone VmHWM %.1f MiB; with TForm1 shown VmRSS %.1f MiB, VmHWM %.1f MiB\n",
                before.at("VmHWM") / 1024.0, after.at("VmRSS") / 1024.0, after.at("VmHWM") / 1024.0);
}

// Prints the runs as usual and, at the end, each window's time over its floor's
// (the medians when the runs are repeated).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name.empty() || run.aggregate_name == "median")
                times_[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        for (const char* floorName : {"plainControls", "plainControlsListItems"}) {
            const auto floor = times_.find(floorName);
            if (floor == times_.end() || floor->second.first <= 0 || floor->second.second <= 0)
                continue;
            for (const auto& [name, time] : times_) {
                if (name.find("Window") != std::string::npos)
                    std::printf("ratio %s / %s: %.2f wall, %.2f CPU\n", name.c_str(), floorName,
                                time.first / floor->second.first, time.second / floor->second.second);
            }
        }
    }

private:
    // Wall and CPU time of each benchmark.
    std::map<std::string, std::pair<double, double>> times_;
};

} // namespace

BENCHMARK(plainControls)->Unit(benchmark::kMillisecond);
BENCHMARK(plainControlsListItems)->Unit(benchmark::kMillisecond);
BENCHMARK(mainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(smallScreenWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(arrowBetweenCells)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    reportMemory();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
