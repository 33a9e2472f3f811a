#include "app/tform1.h"
#include "support/scriptedui.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

// What start-up costs: building the window with its 361 cells and two 500-row lists and
// showing it once, against an empty widget shown in the same run.

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

void emptyWidget(benchmark::State& state)
{
    buildAndShow(state, [] {
        auto* w = new QWidget;
        w->resize(1036, 727);
        return w;
    });
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

// Prints the runs as usual and, at the end, each window's time over the empty widget's
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
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto empty = times_.find("emptyWidget");
        if (empty == times_.end() || empty->second <= 0)
            return;
        for (const auto& [name, time] : times_) {
            if (name != "emptyWidget")
                std::printf("ratio %s / emptyWidget: %.0f\n", name.c_str(), time / empty->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

} // namespace

BENCHMARK(emptyWidget)->Unit(benchmark::kMillisecond);
BENCHMARK(mainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(smallScreenWindow)->Unit(benchmark::kMillisecond);

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
