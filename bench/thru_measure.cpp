// Measures what MIDI thru adds over JACK, against a direct connection in the
// same run: a sender client plays 300 notes at varying frames of their
// cycles and a 16384-byte dump; a direct connection takes them to one
// receiver, the main window's MIDI thru (input 1 to output 1, default
// layout, monitors showing everything) to another. For each event, the
// frame it reached the second receiver minus the frame it reached the first:
// p50, p99, largest and spread, in frames and microseconds; and whether
// every byte came through.
// Usage (a JACK server running, JACK_DEFAULT_SERVER selects it):
//   QT_QPA_PLATFORM=offscreen thru_measure [rounds=N]
#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "JackPeer.h"
#include "MainWindow.h"
#include "MeasureLoop.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "OstrelModel.h"
#include "OstrelParameters.h"
#include "PortSet.h"
#include "PortTraffic.h"
#include "SettingsStore.h"

namespace {

using measure::runFor;

bool wire(const QString& from, const QString& to)
{
    jack_client_t* client = jack_client_open("ostrel-thru-wiring", JackNoStartServer, nullptr);
    if (!client) {
        return false;
    }
    const bool connected = jack_connect(client, from.toUtf8().constData(), to.toUtf8().constData()) == 0;
    jack_client_close(client);
    return connected;
}

}  // namespace

int main(int argc, char** argv)
{
    int rounds = 1;
    for (int i = 1; i < argc; i++) {
        if (QByteArray(argv[i]).startsWith("rounds=")) {
            rounds = std::max(1, QByteArray(argv[i]).mid(7).toInt());
        }
    }
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    JackPeer sender("ostrel-thru-sender");
    JackPeer direct("ostrel-thru-direct");
    JackPeer through("ostrel-thru-through");
    if (!sender.isOpen() || !direct.isOpen() || !through.isOpen()) {
        std::printf("no JACK server\n");
        return 1;
    }
    MainWindow window(nullptr, &model, MidiApi::Jack);
    window.show();  // the default layout: both monitors and an editor
    runFor(500);
    MidiInputPort* input = window.ports()->input(InputPortGroup_First);
    MidiOutputPort* output = window.ports()->output(OutputPortGroup_First);
    input->getInputPortNameList(nullptr);
    output->getOutputPortNameList(nullptr);
    if (!wire(sender.name() + ":out", direct.name() + ":in") ||
        input->openInputPort(sender.name() + ":out") != MIDI_RESULT_SUCCESS ||
        output->openOutputPort(through.name() + ":in") != MIDI_RESULT_SUCCESS) {
        std::printf("cannot connect the clients\n");
        return 1;
    }
    window.ports()->portsChanged();  // the menus would say so
    model.setModelIntValue(ParamMidiThru, 1);
    runFor(200);
    const jack_nframes_t period = sender.bufferSize();
    std::printf("JACK: %u frames at %u Hz\n", period, sender.sampleRate());
    const std::vector<unsigned char> dump = port_traffic::systemExclusive(16384);
    size_t events = 0;
    size_t bytes = 0;
    for (int round = 0; round < rounds; round++) {
        for (int i = 0; i < 300; i++) {
            sender.send({0x90, static_cast<unsigned char>(i & 0x7F), 0x40},
                        static_cast<jack_nframes_t>((i * 37) % period));
            if (i % 3 == 2) {
                runFor(2);
            }
        }
        sender.send(dump, 11);
        events += 301;
        bytes += 900 + dump.size();
        runFor(100);
    }
    sender.waitUntilSent();
    direct.waitForBytes(bytes);
    through.waitForBytes(bytes);
    runFor(300);
    const auto directArrivals = direct.arrivals();
    const auto throughArrivals = through.arrivals();
    const bool same = direct.received() == through.received();
    std::vector<long long> added;
    for (size_t i = 0; i < directArrivals.size() && i < throughArrivals.size(); i++) {
        added.push_back(static_cast<long long>(throughArrivals[i].frame) -
                        static_cast<long long>(directArrivals[i].frame));
    }
    if (added.empty()) {
        std::printf("nothing came through\n");
        return 1;
    }
    std::sort(added.begin(), added.end());
    const double us = 1e6 / sender.sampleRate();
    const long long p50 = added[added.size() / 2];
    const long long p99 = added[added.size() * 99 / 100];
    std::printf("%zu events sent; direct %zu, thru %zu; bytes %s (%zu)\n", events, directArrivals.size(),
                throughArrivals.size(), same ? "identical" : "DIFFER", direct.received().size());
    std::printf("thru minus direct: min %lld, p50 %lld, p99 %lld, largest %lld frames "
                "(p50 %.0f us, p99 %.0f us, largest %.0f us); spread %lld frames\n",
                added.front(), p50, p99, added.back(), p50 * us, p99 * us, added.back() * us,
                added.back() - added.front());
    std::printf("server reported %d late cycles (xruns) at the receivers\n", direct.xruns() + through.xruns());
    model.setModelIntValue(ParamMidiThru, 0);
    window.closeAllSubWindows();
    return same && added.back() == 0 ? 0 : 2;
}
