// Measures the MIDI port layer's threads and timing (not a test):
//  - packets per second through an input port's ring and worker;
//  - latency from the service receiving a message to the worker's callback,
//    median and 99th percentile, on the loopback and, when a JACK server
//    runs, on JACK (with a second JACK client as the sender);
//  - a 16384-byte system exclusive through JACK to a client that echoes it
//    and back.
// Usage: midi_measure [--jack]   (JACK_DEFAULT_SERVER selects the server)
#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "JackMidiService.h"
#include "JackPeer.h"
#include "LoopbackMidiService.h"
#include "MidiDataTransmissionThread.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Latencies {
    std::mutex mutex;
    std::vector<double> microseconds;
    std::atomic<size_t> bytes{0};

    static void callback(void* context, const unsigned char*, unsigned short length, unsigned int,
                         unsigned long long hostTime, unsigned int)
    {
        auto* self = static_cast<Latencies*>(context);
        const double latency = (getHostTimeInNanoseconds() - hostTime) / 1000.0;
        std::lock_guard<std::mutex> lock(self->mutex);
        self->microseconds.push_back(latency);
        self->bytes += length;
    }

    void report(const char* what)
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::sort(microseconds.begin(), microseconds.end());
        if (microseconds.empty()) {
            std::printf("%s: nothing received\n", what);
            return;
        }
        const double median = microseconds[microseconds.size() / 2];
        const double p99 = microseconds[microseconds.size() * 99 / 100];
        std::printf("%s: %zu messages, median %.1f us, p99 %.1f us, max %.1f us\n", what,
                    microseconds.size(), median, p99, microseconds.back());
    }
};

void ringThroughput()
{
    std::atomic<uint64_t> delivered{0};
    MidiDataTransmissionThread worker(nullptr, 16398, 0);
    worker.setReceivedMidiCallbackFunc(
        [](void* context, const unsigned char*, unsigned short, unsigned int, unsigned long long,
           unsigned int) { static_cast<std::atomic<uint64_t>*>(context)->fetch_add(1); },
        &delivered);
    const unsigned char note[] = {0x90, 0x3C, 0x40};
    const uint64_t count = 2000000;
    const auto start = Clock::now();
    for (uint64_t i = 0; i < count; i++) {
        worker.writeData(note, 3, 0, 1);
    }
    while (delivered.load() < count) {
        std::this_thread::yield();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("ring and worker: %.0f packets/s (%llu 3-byte packets in %.3f s)\n",
                count / seconds, static_cast<unsigned long long>(count), seconds);
}

void loopbackLatency()
{
    std::vector<std::unique_ptr<MidiService>> services;
    services.push_back(std::make_unique<LoopbackMidiService>());
    MidiClient client(std::move(services));
    MidiInputPort input(&client, 16384, 0, getHostTimeInMilliseconds(),
                        getCurrentTimeInMilliseconds());
    MidiOutputPort output(&client, 16384, 0, 0, 0);
    Latencies latencies;
    input.setReceivedMidiCallbackFunc(&Latencies::callback, &latencies);
    input.openInputPort(QStringLiteral("Ostrel Loopback 1"));
    output.openOutputPort(QStringLiteral("Ostrel Loopback 1"));
    const unsigned char note[] = {0x90, 0x3C, 0x40};
    for (int i = 0; i < 5000; i++) {
        unsigned int stamp = 0;
        output.transmitMidi(note, 3, stamp, 0);
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    latencies.report("loopback latency, service to worker callback");
}

void jackMeasures()
{
    JackPeer peer("ostrel-measure-peer");
    if (!peer.isOpen()) {
        std::printf("JACK: no server running, skipped\n");
        return;
    }
    MidiClient client(MidiApi::Jack);
    auto probe = JackMidiService::create();
    const double periodMs = 1000.0 * probe->bufferSize() / probe->sampleRate();
    std::printf("JACK: %u frames at %u Hz, period %.3f ms\n", probe->bufferSize(),
                probe->sampleRate(), periodMs);
    probe.reset();
    const QString peerName = peer.name();
    MidiInputPort input(&client, 16384, 0, getHostTimeInMilliseconds(),
                        getCurrentTimeInMilliseconds());
    MidiOutputPort output(&client, 16384, 0, 0, 0);
    Latencies latencies;
    input.setReceivedMidiCallbackFunc(&Latencies::callback, &latencies);
    input.getInputPortNameList(nullptr);
    output.getOutputPortNameList(nullptr);
    input.openInputPort(peerName + ":out");
    output.openOutputPort(peerName + ":in");
    for (int i = 0; i < 2000; i++) {
        peer.send({0x90, static_cast<unsigned char>(i % 128), 0x40});
        std::this_thread::sleep_for(std::chrono::microseconds(1500));
    }
    peer.waitUntilSent();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    latencies.report("JACK latency, event frame to worker callback");
    std::printf("JACK: %zu of 6000 bytes received\n", latencies.bytes.load());

    // Round trip of the largest dump: Ostrel -> peer, which sends it back.
    std::vector<unsigned char> dump(16384, 0x11);
    dump.front() = 0xF0;
    dump.back() = 0xF7;
    const size_t before = latencies.bytes.load();
    const auto start = Clock::now();
    unsigned int stamp = 0;
    output.transmitMidi(dump.data(), 16384, stamp, 0);
    peer.waitForBytes(16384);
    peer.send(peer.received());
    while (latencies.bytes.load() < before + 16384 &&
           Clock::now() - start < std::chrono::seconds(5)) {
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    std::printf("JACK 16384-byte system exclusive out and back: %.1f ms%s\n",
                std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                latencies.bytes.load() >= before + 16384 ? "" : " (incomplete)");
}

}  // namespace

// A destination marked as slow is paced at three bytes a millisecond: how
// long sends of 30 and 3000 bytes take against what the pacing asks for.
void slowDestinationPacing()
{
    std::vector<std::unique_ptr<MidiService>> services;
    services.push_back(std::make_unique<LoopbackMidiService>(QStringList{QStringLiteral("Bluetooth")}));
    MidiClient client(std::move(services));
    MidiOutputPort output(&client, 16384, 0, 0, 0);
    output.openOutputPort(QStringLiteral("Bluetooth"));
    for (const int size : {30, 3000}) {
        std::vector<unsigned char> dump(static_cast<size_t>(size), 0x11);
        dump.front() = 0xF0;
        dump.back() = 0xF7;
        const uint64_t asked = output.pacedMicroseconds();
        const auto start = std::chrono::steady_clock::now();
        unsigned int stamp = 0;
        output.transmitMidi(dump.data(), static_cast<unsigned short>(size), stamp, 0);
        const auto took = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
        std::printf("paced %d bytes: %.0f us, the pacing asked %llu us\n", size, took,
                    static_cast<unsigned long long>(output.pacedMicroseconds() - asked));
    }
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool jack = argc > 1 && std::strcmp(argv[1], "--jack") == 0;
    ringThroughput();
    loopbackLatency();
    slowDestinationPacing();
    if (jack) {
        jackMeasures();
    }
    return 0;
}
