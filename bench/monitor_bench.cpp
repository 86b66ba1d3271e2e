// The user-interface thread's work for one 100 ms monitor tick while the
// timing clock runs: the main window in its default layout, the clock's F8
// bytes of one tick (12 at 300 BPM, 5 at 120) handed to the analyzer as sent
// on output 1, delivered to the Out monitor, and the window repainted.
//   QT_QPA_PLATFORM=offscreen monitor_bench
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

void BM_OutMonitorClockTick(benchmark::State& state)
{
    MonitorFeed* feed = window->feed();
    const unsigned char clock = 0xF8;
    // The monitor full to its line limit first, as after a while of play.
    for (int i = 0; i < 1100; i++) {
        feed->analyzer()->setTransmittedMidiData(&clock, 1, 0, MIDILIB_Event_Type_TimingClock, OutputPortGroup_First);
    }
    feed->deliver();
    QApplication::processEvents();
    for (auto _ : state) {
        for (int64_t i = 0; i < state.range(0); i++) {
            feed->analyzer()->setTransmittedMidiData(&clock, 1, 0, MIDILIB_Event_Type_TimingClock,
                                                     OutputPortGroup_First);
        }
        feed->deliver();
        QApplication::processEvents();  // the layout and the repaint
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
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    main.reset();
    return 0;
}
