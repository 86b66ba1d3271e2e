// Measures how the timing clock and active sensing windows keep time,
// heard back through the loopback by a second input port that notes when
// each message arrives (steady clock, microseconds):
//   clock   120 BPM for 10 s: spacing of the F8 bytes against 20833 us
//           (mean, p99 and largest error) and the long-term count;
//   sensing 100 ms interval for 5 s: spacing of the FE bytes.
// Run under QT_QPA_PLATFORM=offscreen (or any display).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

#include "MainWindow.h"
#include "MidiActivesenseTransmittionThread.h"
#include "MidiActivesensingView.h"
#include "MidiInputPort.h"
#include "MidiTime.h"
#include "MidiTimingClockGeneratorView.h"
#include "MidiTimingClockPlayStopButton.h"
#include "MidiTimingClockTransmittionThread.h"
#include "MidiLedCombinedDial.h"
#include "OstrelModel.h"

#include <QMdiSubWindow>
#include <QPushButton>

namespace {

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

void runFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

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

}  // namespace

int main(int argc, char** argv)
{
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(MainWindow::getIniFilePath());
    MainWindow window(nullptr, &model, MidiApi::Automatic);
    window.show();
    window.closeAllSubWindows();
    window.outputPortMenuSelected(OutputPortGroup_First, 0);
    Arrivals arrivals;
    MidiInputPort listener(window.midiClient(), 16, 1, getHostTimeInMilliseconds(), getCurrentTimeInMilliseconds());
    listener.setReceivedMidiCallbackFunc(&Arrivals::record, &arrivals);
    listener.openInputPort(QStringLiteral("Ostrel Loopback 1"));

    const QStringList arguments = application.arguments();
    const auto wanted = [&](const char* name) {
        return arguments.size() < 2 || arguments.contains(QString::fromLatin1(name));
    };
    if (wanted("clock")) {
        auto* view = qobject_cast<MidiTimingClockGeneratorView*>(
            window.createMidiTimingClockGeneratorView(QStringLiteral("&Timing Clock"))->widget());
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
            window.createMidiActivesensingView(QStringLiteral("&Active Sensing"))->widget());
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
