// Throughput of the MIDI library's hot paths: the parser on a realistic
// mixed stream, filter decisions, and the clock generator.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "midilib_filter.h"
#include "midilib_parser.h"
#include "midilib_timingClockGenerator.h"

namespace {

// About 1 MiB as a busy bench sees it: notes and controllers with running
// status, a timing clock every few bytes (often inside other messages),
// pitch bends, and a 1 KiB system exclusive dump now and then.
std::vector<uint8_t> mixedStream()
{
    std::mt19937 random(7);
    std::vector<uint8_t> stream;
    stream.reserve(1 << 20);
    auto data = [&] { return static_cast<uint8_t>(random() & 0x7F); };
    while (stream.size() < (1u << 20)) {
        const unsigned kind = random() % 100;
        if (kind < 2) {
            stream.push_back(0xF0);
            for (int i = 0; i < 1022; i++) {
                stream.push_back(data());
            }
            stream.push_back(0xF7);
            continue;
        }
        const uint8_t status = kind < 50 ? 0x90 : (kind < 85 ? 0xB0 : 0xE0);
        stream.push_back(static_cast<uint8_t>(status | (random() % 2)));
        for (int note = 0; note < 8; note++) {  // running status
            stream.push_back(data());
            if (random() % 6 == 0) {
                stream.push_back(0xF8);
            }
            stream.push_back(data());
        }
    }
    return stream;
}

void BM_ParserMixedStream(benchmark::State& state)
{
    const std::vector<uint8_t> stream = mixedStream();
    auto parser = std::make_unique<midilib_parser>();
    auto event = std::make_unique<midilib_event>();
    const size_t chunk = static_cast<size_t>(state.range(0));
    uint64_t events = 0;
    for (auto _ : state) {
        midilib_parser_init(parser.get());
        for (size_t at = 0; at < stream.size(); at += chunk) {
            const size_t size = std::min(chunk, stream.size() - at);
            midilib_parser_setData(parser.get(), stream.data() + at, size);
            while (midilib_parser_parse(parser.get(), event.get()) == 0) {
                events++;
            }
        }
        benchmark::DoNotOptimize(events);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["events"] = benchmark::Counter(static_cast<double>(events),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParserMixedStream)->Arg(256)->Arg(4096);

void BM_FilterApply(benchmark::State& state)
{
    midilib_filter filter;
    midilib_filter_init(&filter);
    midilib_filter_setEventSwitch(&filter, MIDILIB_Event_Type_ActiveSensing, 1);
    midilib_filter_setControllerSwitch(&filter, 7, 1);
    midilib_filter_setChannelSwitch(&filter, 9, 1);
    std::vector<midilib_event> events(64);
    std::mt19937 random(3);
    for (midilib_event& e : events) {
        e.type = static_cast<uint8_t>(random() % 18);
        e.channelNumber = e.type < 7 ? static_cast<uint8_t>(random() % 16) : 255;
        e.payload.dataBytes.firstByte = static_cast<uint8_t>(random() & 0x7F);
        e.payload.dataBytes.secondByte = static_cast<uint8_t>(random() & 0x7F);
    }
    int64_t passed = 0;
    for (auto _ : state) {
        for (const midilib_event& e : events) {
            passed += midilib_filter_apply(&filter, &e) == 0;
        }
    }
    benchmark::DoNotOptimize(passed);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(events.size()));
}
BENCHMARK(BM_FilterApply);

void BM_ClockGenerator(benchmark::State& state)
{
    midilib_timingClockGenerator generator;
    midilib_timingClockGenerator_init(&generator);
    midilib_timingClockGenerator_setTempo(&generator, 1200);
    uint64_t total = 0;
    for (auto _ : state) {
        uint64_t clocks = 0;
        if (midilib_timingClockGenerator_generate(&generator, 1, &clocks) == 0) {
            total += clocks;
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ClockGenerator);

}  // namespace

BENCHMARK_MAIN();
