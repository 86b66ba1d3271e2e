// The analyzer's hot paths: received packets to monitor text, and the
// timer's hand-over of 100 ms of a flood.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <memory>

#include "MidiAnalyzer.h"
#include "OstrelModel.h"

namespace {

struct Fixture {
    Fixture(bool everything)
    {
        model = std::make_unique<OstrelModel>();
        model->setModelIntValue(ParamTimeStamp, everything ? 1 : 0);
        model->setModelIntValue(ParamMessageDetail, everything ? 1 : 0);
        analyzer = std::make_unique<MidiAnalyzer>(model.get());
    }

    void drain()
    {
        analyzer->getMidiData(received, receivedCount, sysEx, sysExCount, transmitted,
                              transmittedCount);
    }

    std::unique_ptr<OstrelModel> model;
    std::unique_ptr<MidiAnalyzer> analyzer;
    QByteArray received, sysEx, transmitted;
    unsigned int receivedCount = 0, sysExCount = 0, transmittedCount = 0;
};

// One note-on or control change per packet, as a busy keyboard sends them;
// the text is handed over every 2000 messages, as the timer would.
void BM_ReceivedToText(benchmark::State& state)
{
    Fixture fixture(state.range(0) != 0);
    const unsigned char packets[2][3] = {{0x90, 0x3C, 0x40}, {0xB1, 0x07, 0x64}};
    int64_t messages = 0;
    for (auto _ : state) {
        fixture.analyzer->receivedMidi(packets[messages & 1], 3, 47109042u, 1,
                                       static_cast<unsigned int>(messages & 1));
        if (++messages % 2000 == 0) {
            fixture.drain();
        }
    }
    state.SetItemsProcessed(messages);
    state.SetLabel(state.range(0) ? "every column" : "bytes only");
}
BENCHMARK(BM_ReceivedToText)->Arg(1)->Arg(0);

// 100 ms of a 20,000 messages per second flood, every column on, handed over.
void BM_GetMidiDataFlood(benchmark::State& state)
{
    Fixture fixture(true);
    const unsigned char note[3] = {0x90, 0x3C, 0x40};
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 2000; i++) {
            fixture.analyzer->receivedMidi(note, 3, 47109042u, 1, 0);
        }
        state.ResumeTiming();
        fixture.drain();
        benchmark::DoNotOptimize(fixture.received.size());
    }
}
BENCHMARK(BM_GetMidiDataFlood)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
