// A long run of the real main window over JACK under steady load, to see
// what would only show after minutes: lost messages, stalls of the user
// interface, memory that grows, CPU.
//
// Load: MIDI thru on; a frame-accurate JACK peer sends 10,000 note messages
// a second into input 1 and takes output 1 back; the timing clock runs at
// 300 BPM; an editor repeats a 1000-byte dump every 500 ms; input 1 is
// switched to the loopback and back every 10 s; the default layout (both
// monitors showing every line) stays open.
//
// Every minute: messages the peer sent and got back, messages Ostrel's own
// boundaries dropped (the services' receive buffers, the port workers'
// rings), the longest stall of the user-interface thread (a 10 ms timer
// probe), resident memory and CPU.
//
//   soak_measure [minutes=10]   (a JACK server running; QT_QPA_PLATFORM=offscreen)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "CheckBox.h"
#include "JackPeer.h"
#include "MainWindow.h"
#include "PortSet.h"
#include "WindowRestorationInfo.h"
#include "MonitorFeed.h"
#include "SettingsStore.h"
#include "MeasureLoop.h"
#include "MidiClient.h"
#include "MidiEditGeneralView.h"
#include "MidiEditView.h"
#include "MidiInputPort.h"
#include "MidiLedCombinedDial.h"
#include "MidiOutputPort.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTimingClockPlayStopButton.h"
#include "OstrelModel.h"
#include "OstrelParameters.h"
#include "RepeatSettingsView.h"
#include "SpinBox.h"

namespace {

using measure::runFor;
using measure::StallProbe;

QString dumpText(int size)
{
    QString text = QStringLiteral("F0");
    for (int i = 1; i < size - 1; i++) {
        text += QStringLiteral(" %1").arg(i % 128, 2, 16, QLatin1Char('0')).toUpper();
    }
    return text + QStringLiteral(" F7");
}

void startRepeatingDump(MainWindow& window)
{
    QMdiSubWindow* sub =
        window.createEditor(MidiEditView::SystemExclusive, QSize(), dumpText(1000));
    auto* editor = qobject_cast<MidiEditView*>(sub->widget());
    RepeatSettingsView* settings = editor->generalView()->repeatSettings();
    settings->repeatBox()->setChecked(true);
    settings->intervalBox()->setValue(500);
    editor->generalView()->transmitMenuSelected();  // as the menu does
}

}  // namespace

int main(int argc, char** argv)
{
    int minutes = 10;
    for (int i = 1; i < argc; i++) {
        if (QByteArray(argv[i]).startsWith("minutes=")) {
            minutes = std::max(1, QByteArray(argv[i]).mid(8).toInt());
        }
    }
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    JackPeer peer("ostrel-soak-peer");
    if (!peer.isOpen()) {
        std::printf("no JACK server\n");
        return 1;
    }
    peer.setRecording(false);
    MainWindow window(nullptr, &model, MidiApi::Jack);
    window.show();
    runFor(500);
    MidiInputPort* input = window.ports()->input(InputPortGroup_First);
    MidiOutputPort* output = window.ports()->output(OutputPortGroup_First);
    input->getInputPortNameList(nullptr);
    output->getOutputPortNameList(nullptr);
    const QString source = peer.name() + QStringLiteral(":out");
    if (input->openInputPort(source) != MIDI_RESULT_SUCCESS ||
        output->openOutputPort(peer.name() + QStringLiteral(":in")) != MIDI_RESULT_SUCCESS) {
        std::printf("cannot reach the peer\n");
        return 1;
    }
    model.setModelIntValue(ParamMidiThru, 1);
    auto* clock = qobject_cast<MidiTimingClockGeneratorView*>(
        window.openWindow(WindowRestorationInfo::TimingClockId)->widget());
    clock->knob()->setValue(300);
    clock->playButton()->setChecked(true);
    startRepeatingDump(window);

    std::atomic<bool> flooding{true};
    std::atomic<uint64_t> sent{0};
    std::thread feeder([&] {
        auto next = std::chrono::steady_clock::now();
        while (flooding) {
            for (int i = 0; i < 100; i++) {
                peer.send({0x90, static_cast<unsigned char>(sent++ & 0x7F), 0x40});
            }
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
    });

    StallProbe probe;
    std::printf("minute  sent      back      dropped  stall ms  RSS MB  CPU %%\n");
    double residentAtOne = 0;
    double cpuBefore = measure::processCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    double longestStall = 0;
    for (int minute = 1; minute <= minutes; minute++) {
        const qint64 minuteStart = wall.elapsed();
        for (int switchAt = 1; switchAt <= 6; switchAt++) {
            runFor(10000 - 300);
            input->openInputPort(QStringLiteral("Ostrel Loopback 1"));  // away ...
            runFor(300);
            input->getInputPortNameList(nullptr);
            input->openInputPort(source);  // ... and back
        }
        const double cpuNow = measure::processCpuSeconds();
        const double cpu = (cpuNow - cpuBefore) / ((wall.elapsed() - minuteStart) / 1000.0);
        cpuBefore = cpuNow;
        const double stall = static_cast<double>(probe.longestGap() - 10);
        probe.reset();
        longestStall = std::max(longestStall, stall);
        const double resident = measure::residentMegabytes();
        if (minute == 1) {
            residentAtOne = resident;
        }
        const uint64_t dropped = window.ports()->client()->droppedOnArrival() + input->droppedPackets();
        std::printf("%6d  %8llu  %8llu  %7llu  %8.1f  %6.1f  %5.1f\n", minute,
                    static_cast<unsigned long long>(sent.load()),
                    static_cast<unsigned long long>(peer.receivedEvents()), static_cast<unsigned long long>(dropped),
                    stall, resident, cpu * 100);
        std::fflush(stdout);
    }
    flooding = false;
    feeder.join();
    clock->playButton()->setChecked(false);
    runFor(500);
    std::printf("dropped at Ostrel's boundaries: %llu; longest stall %.1f ms; resident memory minute 1 -> %d: "
                "%+.1f MB; server late cycles: %d\n",
                static_cast<unsigned long long>(window.ports()->client()->droppedOnArrival() + input->droppedPackets()),
                longestStall, minutes, measure::residentMegabytes() - residentAtOne, peer.xruns());
    window.closeAllSubWindows();
    return 0;
}
