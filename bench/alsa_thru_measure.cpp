// Measures what MIDI thru adds over the ALSA sequencer (the userspace path:
// the input's reader and worker, the analyzer, the send path), beside a
// direct subscription in the same run: a sender client plays a note every
// 5 ms; the sequencer delivers each to one receiver directly and, through
// input 1, the analyzer's thru and output 1, to another. For each note: the
// time from its sending to its arrival at either receiver, p50, p99 and
// largest, and whether every byte came through.
// Usage: alsa_thru_measure [notes=N]   (where /dev/snd/seq opens; in the
// build machines' virtual machine: tests/scripts/alsa-vm.sh DIR alsa_thru_measure)
#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "AlsaPeer.h"
#include "MidiAnalyzer.h"
#include "MidiBulkIntervalManager.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiSendPath.h"
#include "MidiTime.h"
#include "OstrelModel.h"
#include "OstrelParameters.h"

namespace {

void report(const char* what, std::vector<long long> latencies)
{
    if (latencies.empty()) {
        std::printf("%s: nothing arrived\n", what);
        return;
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("%s: %zu notes, latency p50 %lld us, p99 %lld us, largest %lld us\n", what, latencies.size(),
                latencies[latencies.size() / 2], latencies[latencies.size() * 99 / 100], latencies.back());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int notes = 400;
    for (int i = 1; i < argc; i++) {
        if (QByteArray(argv[i]).startsWith("notes=")) {
            notes = std::max(1, QByteArray(argv[i]).mid(6).toInt());
        }
    }
    AlsaPeer sender("ostrel-thru-sender");
    AlsaPeer direct("ostrel-thru-direct");
    AlsaPeer through("ostrel-thru-through");
    if (!sender.isOpen() || !direct.isOpen() || !through.isOpen() || !sender.connectOutTo(direct)) {
        std::printf("no ALSA sequencer\n");
        return 1;
    }
    OstrelModel model;
    MidiClient client(MidiApi::Alsa);
    const uint64_t startHost = getHostTimeInMilliseconds();
    const uint32_t startDay = getCurrentTimeInMilliseconds();
    MidiInputPort input(&client, MaximumPacketSize, 0, startHost, startDay);
    MidiOutputPort output(&client, MaximumMessageSize, 0, startHost, startDay);
    MidiOutputPort unused(&client, MaximumMessageSize, 1, startHost, startDay);
    MidiAnalyzer analyzer(&model);
    MidiBulkIntervalManager bulk(&model);
    MidiSendPath path(&output, &unused, &analyzer, &bulk);
    analyzer.setThruSender(&path);
    input.setReceivedMidiCallbackFunc(&MidiAnalyzer::callbackReceivedMidi, &analyzer);
    input.getInputPortNameList(nullptr);
    output.getOutputPortNameList(nullptr);
    if (input.openInputPort(QStringLiteral("ostrel-thru-sender:out")) != MIDI_RESULT_SUCCESS ||
        output.openOutputPort(QStringLiteral("ostrel-thru-through:in")) != MIDI_RESULT_SUCCESS) {
        std::printf("cannot open the ports: %s\n", qPrintable(input.getInputPortNameList(nullptr).join(", ")));
        return 1;
    }
    model.setModelIntValue(ParamMidiThru, 1);
    std::vector<long long> sent;
    const auto origin = std::chrono::steady_clock::now();
    for (int i = 0; i < notes; i++) {
        sent.push_back(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - origin)
                           .count());
        sender.send({0x90, static_cast<unsigned char>(i & 0x7F), 0x40});
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (i % 50 == 49) {
            unsigned int received = 0;
            QByteArray text;
            QByteArray sysEx;
            QByteArray transmitted;
            unsigned int counts[2] = {0, 0};
            analyzer.getMidiData(text, received, sysEx, counts[0], transmitted, counts[1]);
        }
    }
    direct.waitForBytes(3 * static_cast<size_t>(notes));
    through.waitForBytes(3 * static_cast<size_t>(notes));
    const auto latencies = [&](AlsaPeer& peer) {
        std::vector<long long> result;
        const std::vector<long long> arrived = peer.arrivalTimes(origin);
        for (size_t i = 0; i < arrived.size() && i < sent.size(); i++) {
            result.push_back(arrived[i] - sent[i]);
        }
        return result;
    };
    std::printf("%d notes sent; direct %zu bytes, thru %zu bytes, %s\n", notes, direct.received().size(),
                through.received().size(), direct.received() == through.received() ? "identical" : "DIFFER");
    report("direct subscription", latencies(direct));
    report("Ostrel's MIDI thru", latencies(through));
    model.setModelIntValue(ParamMidiThru, 0);
    analyzer.setThruSender(nullptr);
    return 0;
}
