// Measures how the timing clock and active sensing windows keep time.
// Without "jack": heard back through the loopback by a second input port
// that notes when each message arrives (steady clock, microseconds):
//   clock   120 BPM for 10 s: spacing of the F8 bytes against 20833 us
//           (mean, p99 and largest error) and the long-term count;
//   sensing 100 ms interval for 5 s: spacing of the FE bytes.
// With "jack" (a JACK server running): the default window layout open (the
// monitors show everything), output 1 on a frame-accurate JACK peer that
// notes each event's frame time: clock at 120 and 300 BPM and active
// sensing at 300 ms, for "seconds=N" each (default 60), with the process's
// CPU time while the clock runs (less the peer's own thread) and each
// thread's share, by name and thread ID; then MIDI thru from the peer
// back to it (one note each 10 ms for as long), its latency in frames.
// Run under QT_QPA_PLATFORM=offscreen (or any display).
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "JackPeer.h"
#include "MeasureLoop.h"
#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MidiActivesenseTransmittionThread.h"
#include "MidiActivesensingView.h"
#include "MidiInputPort.h"
#include "MidiTime.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTimingClockPlayStopButton.h"
#include "MidiTimingClockTransmittionThread.h"
#include "MidiLedCombinedDial.h"
#include "OstrelModel.h"
#include "OstrelParameters.h"

#include <QMdiSubWindow>
#include <QPushButton>

namespace {

using measure::processCpuSeconds;
using measure::runFor;
using Clock = std::chrono::steady_clock;

struct Arrivals {
    std::mutex lock;
    std::vector<long long> microseconds;
    Clock::time_point origin = Clock::now();

    static void record(void* context, const unsigned char*, unsigned short, unsigned int, unsigned long long,
                       unsigned int)
    {
        auto* self = static_cast<Arrivals*>(context);
        const auto now = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - self->origin);
        std::lock_guard<std::mutex> guard(self->lock);
        self->microseconds.push_back(now.count());
    }
    std::vector<long long> take()
    {
        std::lock_guard<std::mutex> guard(lock);
        std::vector<long long> taken;
        taken.swap(microseconds);
        return taken;
    }
};

void report(const char* what, const std::vector<long long>& times, double expectedSpacing)
{
    if (times.size() < 3) {
        std::printf("%s: only %zu messages heard\n", what, times.size());
        return;
    }
    std::vector<double> errors;
    double sum = 0;
    for (size_t i = 1; i < times.size(); i++) {
        const double spacing = static_cast<double>(times[i] - times[i - 1]);
        errors.push_back(std::abs(spacing - expectedSpacing));
        sum += spacing;
    }
    std::sort(errors.begin(), errors.end());
    const double span = static_cast<double>(times.back() - times.front());
    std::printf("%s: %zu messages, mean spacing %.1f us (expected %.1f), spacing error p50 %.0f us, p99 %.0f us, "
                "largest %.0f us; %zu spacings in %.3f s where %.1f were due\n",
                what, times.size(), sum / static_cast<double>(errors.size()), expectedSpacing,
                errors[errors.size() / 2], errors[errors.size() * 99 / 100], errors.back(), errors.size(),
                span / 1e6, span / expectedSpacing);
}

std::vector<long long> peerTimes(JackPeer& peer, size_t from, unsigned char status)
{
    std::vector<long long> times;
    const auto arrivals = peer.arrivals();
    const std::vector<unsigned char> bytes = peer.received();
    // One-byte events only here: the n-th arrival is the n-th byte.
    for (size_t i = from; i < arrivals.size() && i < bytes.size(); i++) {
        if (bytes[i] == status) {
            times.push_back(static_cast<long long>(arrivals[i].time));
        }
    }
    return times;
}

// MIDI thru: the peer sends a note every 10 ms at a varying frame of its
// cycle into input 1; thru carries it back out of output 1 to the peer.
// Latency is the arrival frame minus the frame it left at.
int measureThru(MainWindow& window, OstrelModel& model, JackPeer& peer, int seconds)
{
    MidiInputPort* input = window.ports()->input(InputPortGroup_First);
    input->getInputPortNameList(nullptr);
    if (input->openInputPort(peer.name() + ":out") != MIDI_RESULT_SUCCESS) {
        std::printf("cannot hear the peer\n");
        return 1;
    }
    model.setModelIntValue(ParamMidiThru, 1);
    runFor(200);
    const size_t sentBefore = peer.sentFrames().size();
    const size_t heardBefore = peer.arrivals().size();
    const int count = seconds * 100;
    const jack_nframes_t period = peer.bufferSize();
    for (int i = 0; i < count; i++) {
        peer.send({0x90, static_cast<unsigned char>(i & 0x7F), 0x40},
                  static_cast<jack_nframes_t>((i * 37) % period));
        runFor(10);
    }
    runFor(500);
    model.setModelIntValue(ParamMidiThru, 0);
    const std::vector<jack_nframes_t> sent = peer.sentFrames();
    const auto arrivals = peer.arrivals();
    std::vector<double> latencies;
    for (size_t i = 0; sentBefore + i < sent.size() && heardBefore + i < arrivals.size(); i++) {
        const auto frames = static_cast<double>(arrivals[heardBefore + i].frame - sent[sentBefore + i]);
        latencies.push_back(frames * 1e6 / peer.sampleRate());
    }
    if (latencies.empty()) {
        std::printf("thru: nothing came back\n");
        return 1;
    }
    std::sort(latencies.begin(), latencies.end());
    const double least = latencies.front();
    std::printf("thru: %d sent, %zu back; latency min %.0f us, p50 %.0f us, p99 %.0f us, largest %.0f us; "
                "p99 - min %.0f us\n",
                count, arrivals.size() - heardBefore, least, latencies[latencies.size() / 2],
                latencies[latencies.size() * 99 / 100], latencies.back(),
                latencies[latencies.size() * 99 / 100] - least);
    return 0;
}

int measureOverJack(int argc, char** argv, int seconds)
{
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    JackPeer peer("ostrel-clock-peer");
    if (!peer.isOpen()) {
        std::printf("no JACK server\n");
        return 1;
    }
    MainWindow window(nullptr, &model, MidiApi::Jack);
    window.show();  // the default layout: both monitors and an editor
    runFor(500);
    window.ports()->output(OutputPortGroup_First)->getOutputPortNameList(nullptr);
    if (window.ports()->output(OutputPortGroup_First)->openOutputPort(peer.name() + ":in") != MIDI_RESULT_SUCCESS) {
        std::printf("cannot reach the peer\n");
        return 1;
    }
    std::printf("JACK: %u frames at %u Hz; %d s each\n", peer.bufferSize(), peer.sampleRate(), seconds);
    auto* clock = qobject_cast<MidiTimingClockGeneratorView*>(
        window.openWindow(WindowRestorationInfo::TimingClockId)->widget());
    for (int bpm : {120, 300}) {
        clock->knob()->setValue(bpm);
        runFor(200);
        const size_t from = peer.received().size();
        const double cpuBefore = processCpuSeconds() - peer.processThreadCpuSeconds();
        const auto threadsBefore = measure::threadCpuSeconds();
        QElapsedTimer wall;
        wall.start();
        clock->playButton()->setChecked(true);
        runFor(seconds * 1000);
        clock->playButton()->setChecked(false);
        const double played = wall.nsecsElapsed() / 1e9;
        const double cpu = (processCpuSeconds() - peer.processThreadCpuSeconds() - cpuBefore) / played;
        runFor(200);
        const std::vector<long long> times = peerTimes(peer, from, 0xF8);
        const QByteArray title = QByteArray("clock ") + QByteArray::number(bpm) + " BPM at the peer";
        report(title.constData(), times, 60e6 / (bpm * 24.0));
        std::printf("  count %zu for %.3f s of play: %.1f due; process CPU %.2f %% of one core\n", times.size(),
                    played, played * bpm * 24 / 60, cpu * 100);
        measure::printThreadShares(threadsBefore, measure::threadCpuSeconds(), played);
    }
    auto* sensing = qobject_cast<MidiActivesensingView*>(
        window.openWindow(WindowRestorationInfo::ActivesensingId)->widget());
    sensing->knob()->setValue(300);
    runFor(200);
    const size_t from = peer.received().size();
    sensing->button()->setChecked(true);
    runFor(seconds * 1000);
    sensing->button()->setChecked(false);
    runFor(500);
    report("active sensing 300 ms at the peer", peerTimes(peer, from, 0xFE), 300000.0);
    sensing->parentWidget()->close();
    clock->parentWidget()->close();
    const int status = measureThru(window, model, peer, seconds);
    std::printf("server reported %d late cycles (xruns) during the runs\n", peer.xruns());
    window.closeAllSubWindows();
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; i++) {
        if (QByteArray(argv[i]) == "jack") {
            int seconds = 60;
            for (int j = 1; j < argc; j++) {
                if (QByteArray(argv[j]).startsWith("seconds=")) {
                    seconds = QByteArray(argv[j]).mid(8).toInt();
                }
            }
            return measureOverJack(argc, argv, std::max(1, seconds));
        }
    }
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    MainWindow window(nullptr, &model, MidiApi::Automatic);
    window.show();
    window.closeAllSubWindows();
    window.ports()->outputPortMenuSelected(OutputPortGroup_First, 0);
    Arrivals arrivals;
    MidiInputPort listener(window.ports()->client(), 16, 1, getHostTimeInMilliseconds(), getCurrentTimeInMilliseconds());
    listener.setReceivedMidiCallbackFunc(&Arrivals::record, &arrivals);
    listener.openInputPort(QStringLiteral("Ostrel Loopback 1"));

    const QStringList arguments = application.arguments();
    const auto wanted = [&](const char* name) {
        return arguments.size() < 2 || arguments.contains(QString::fromLatin1(name));
    };
    if (wanted("clock")) {
        auto* view = qobject_cast<MidiTimingClockGeneratorView*>(
            window.openWindow(WindowRestorationInfo::TimingClockId)->widget());
        view->knob()->setValue(120);
        runFor(200);
        arrivals.take();
        view->playButton()->setChecked(true);
        runFor(10000);
        view->playButton()->setChecked(false);
        runFor(100);
        report("clock 120 BPM", arrivals.take(), 60e6 / (120 * 24));
    }
    if (wanted("sensing")) {
        auto* view = qobject_cast<MidiActivesensingView*>(
            window.openWindow(WindowRestorationInfo::ActivesensingId)->widget());
        view->knob()->setValue(100);
        runFor(200);
        arrivals.take();
        view->button()->setChecked(true);
        runFor(5000);
        view->button()->setChecked(false);
        runFor(300);
        report("active sensing 100 ms", arrivals.take(), 100000.0);
    }
    window.closeAllSubWindows();
    return 0;
}
