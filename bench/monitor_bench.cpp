// The user-interface thread's work for one 100 ms monitor tick while the
// timing clock runs: the main window in its default layout, the clock's F8
// bytes of one tick (12 at 300 BPM, 5 at 120) handed to the analyzer as sent
// on output 1, delivered to the Out monitor, and the window repainted.
//   QT_QPA_PLATFORM=offscreen monitor_bench
// For instruction counts (this machine's timings drift): a fixed number of
// 12-line ticks without the benchmark library, under callgrind, less a run
// of 0 ticks for the start-up and the filling:
//   QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind monitor_bench --ticks=100
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include <memory>

#include "MainWindow.h"
#include "MidiClient.h"
#include "MidiAnalyzer.h"
#include "MonitorFeed.h"
#include "OstrelModel.h"
#include "SettingsStore.h"

namespace {

MainWindow* window = nullptr;

// The clock's F8 lines of one tick, delivered and painted.
void tick(int64_t lines)
{
    MonitorFeed* feed = window->feed();
    const unsigned char clock = 0xF8;
    for (int64_t i = 0; i < lines; i++) {
        feed->analyzer()->setTransmittedMidiData(&clock, 1, 0, MIDILIB_Event_Type_TimingClock, OutputPortGroup_First);
    }
    feed->deliver();
    QApplication::processEvents();  // the layout and the repaint
}

// The monitor full to its line limit, as after a while of play.
void fill()
{
    tick(1100);
}

void BM_OutMonitorClockTick(benchmark::State& state)
{
    fill();
    for (auto _ : state) {
        tick(state.range(0));
    }
}
BENCHMARK(BM_OutMonitorClockTick)->Arg(12)->Arg(5)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    OstrelModel model;
    auto main = std::make_unique<MainWindow>(nullptr, &model, MidiApi::Automatic);
    main->show();
    QApplication::processEvents();
    window = main.get();
    const QString ticks = QStringLiteral("--ticks=");
    if (argc > 1 && QString::fromLocal8Bit(argv[1]).startsWith(ticks)) {
        fill();
        for (int i = QString::fromLocal8Bit(argv[1]).mid(ticks.size()).toInt(); i > 0; i--) {
            tick(12);
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    main.reset();
    return 0;
}
