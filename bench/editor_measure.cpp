// Measures the monitor and editor windows inside a real main window, with
// the built-in loopback from output 1 back to input 1:
//   flood   20,000 note messages per second for 10 s into the MIDI In
//           monitor: messages delivered against sent, the longest stall of
//           the user-interface thread (a 10 ms timer probe), memory.
//   dump    a 1 MiB dump text sent from an editor with the parser on and
//           bulk interval 0: MIDI bytes per second, progress, and how long
//           Cancel takes to end a transmission.
//   open    a 5 MB dump text file opened into an editor.
//   receive a 1 MiB system exclusive (the longest kept) received through the
//           loopback into a listening (F6) editor: the time until its text
//           is there, the longest user-interface stall, memory.
//   syx     a 1 MiB .syx file (dumps of up to 4000 bytes) opened into an editor.
//   intervals  the pauses a receiver sees between dumps: the bulk interval
//           (100 ms) after each of five dumps, and a repeated dump (500 ms).
//   log     (only when named) the flood for 60 s with the In monitor logging
//           to a file: lines in the file against messages sent.
// Run under QT_QPA_PLATFORM=offscreen (or any display).
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "MainWindow.h"
#include "WindowRestorationInfo.h"
#include "SettingsStore.h"
#include "PortSet.h"
#include "MeasureLoop.h"
#include "MidiClient.h"
#include "MidiEditGeneralView.h"
#include "MidiEditProgressView.h"
#include "MidiEditTextView.h"
#include "MidiEditTransmittionThread.h"
#include "MidiEditView.h"
#include "MonitorCommands.h"
#include "MonitorLog.h"
#include "MidiInputPort.h"
#include "MidiOutputPort.h"
#include "MidiTime.h"
#include "OstrelModel.h"
#include "LoopbackListener.h"
#include "PacketCollector.h"
#include "RepeatSettingsView.h"
#include "CheckBox.h"
#include "SpinBox.h"

namespace {

using measure::StallProbe;

long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
    return -1;
}

void runEventsFor(int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

bool waitUntil(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

MidiEditView* editView(QMdiSubWindow* window)
{
    return window ? qobject_cast<MidiEditView*>(window->widget()) : nullptr;
}

// With logPath, the In monitor logs to that file meanwhile.
void measureFlood(MainWindow& window, StallProbe& probe, int Seconds, const QString& logPath = QString())
{
    constexpr int PerSecond = 20000;
    MidiEditView* monitor = editView(window.openedWindow(WindowRestorationInfo::MidiInMonitorId));
    if (!logPath.isEmpty() && !monitor->generalView()->monitorCommands()->startLog(logPath)) {
        std::printf("log: cannot open %s\n", qPrintable(logPath));
        return;
    }
    const unsigned int before = monitor->progressView()->totalCommunicationSize();
    MidiOutputPort sender(window.ports()->client(), 16, 1, getHostTimeInMilliseconds(),
                          getCurrentTimeInMilliseconds());
    if (sender.openOutputPort(QStringLiteral("Ostrel Loopback 1")) != MIDI_RESULT_SUCCESS) {
        std::printf("flood: cannot open the loopback\n");
        return;
    }
    const long rssBefore = residentKiB();
    std::atomic<int> sent{0};
    std::atomic<int> failed{0};
    std::thread flood([&] {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < PerSecond * Seconds; i++) {
            // Paced: message i leaves at i / 20000 s.
            std::this_thread::sleep_until(start + std::chrono::microseconds(i * 1000000LL / PerSecond));
            const unsigned char note[3] = {static_cast<unsigned char>(0x90 | (i & 0x0F)),
                                           static_cast<unsigned char>(i % 128), 0x40};
            unsigned int stamp = 0;
            if (sender.transmitMidi(note, 3, stamp, 0) == MIDI_RESULT_SUCCESS) {
                sent++;
            } else {
                failed++;
            }
        }
    });
    probe.reset();
    long rssPeak = rssBefore;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < (Seconds + 1) * 1000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        rssPeak = std::max(rssPeak, residentKiB());
    }
    flood.join();
    const unsigned int expected = static_cast<unsigned int>(sent.load()) * 3;
    waitUntil([&] { return monitor->progressView()->totalCommunicationSize() - before >= expected; }, 5000);
    const unsigned int delivered = monitor->progressView()->totalCommunicationSize() - before;
    std::printf("flood: sent %d messages (%d failed) in %d s; delivered to the In monitor %u messages; "
                "lost %d\n",
                sent.load(), failed.load(), Seconds, delivered / 3,
                sent.load() - static_cast<int>(delivered / 3));
    std::printf("flood: longest user-interface stall %lld ms; RSS %ld KiB before, %ld KiB peak, "
                "monitor lines %d\n",
                static_cast<long long>(probe.longestGap()), rssBefore, rssPeak,
                monitor->generalView()->textView()->document()->blockCount());
    if (!logPath.isEmpty()) {
        monitor->generalView()->monitorCommands()->stopLog();
        MonitorLog::waitForClosedLogs();
        QFile log(logPath);
        int lines = 0;
        if (log.open(QIODevice::ReadOnly)) {
            while (!log.atEnd()) {
                lines += log.readLine().startsWith("-- ") ? 0 : 1;
            }
        }
        std::printf("log: %d lines in the file for %d messages sent; %llu lost by the log\n", lines, sent.load(),
                    static_cast<unsigned long long>(monitor->generalView()->monitorCommands()->lostLines()));
    }
}

void measureReceive(MainWindow& window, StallProbe& probe)
{
    const uint32_t size = MaximumReceivedMessageSize;
    std::vector<unsigned char> dump(size);
    for (uint32_t i = 1; i + 1 < size; i++) {
        dump[i] = static_cast<unsigned char>(i & 0x7F);
    }
    dump.front() = 0xF0;
    dump.back() = 0xF7;
    auto* editor = editView(window.createEditor(MidiEditView::SystemExclusiveReceiving, QSize(), QString()));
    MidiOutputPort sender(window.ports()->client(), MaximumMessageSize, 1, getHostTimeInMilliseconds(),
                          getCurrentTimeInMilliseconds());
    if (!editor || sender.openOutputPort(QStringLiteral("Ostrel Loopback 1")) != MIDI_RESULT_SUCCESS) {
        std::printf("receive: no listening editor or loopback\n");
        return;
    }
    runEventsFor(300);
    const long rssBefore = residentKiB();
    long rssPeak = rssBefore;
    probe.reset();
    QElapsedTimer clock;
    clock.start();
    unsigned int stamp = 0;
    sender.transmitMidi(dump.data(), size, stamp, 0);
    const bool arrived = waitUntil(
        [&] {
            rssPeak = std::max(rssPeak, residentKiB());
            return editor->progressView()->totalCommunicationSize() >= size &&
                   !editor->generalView()->hasPendingText();
        },
        30000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    const QString text = editor->generalView()->textView()->toPlainText();
    const bool exact = text.size() == static_cast<int>(size) * 3 - 1 && text.startsWith(QStringLiteral("F0 01 02")) &&
                       text.endsWith(QStringLiteral("7E F7"));
    std::printf("receive: a %u-byte system exclusive into a listening editor in %.0f ms (%s); longest "
                "user-interface stall %lld ms; RSS %ld KiB before, %ld KiB peak (+%ld KiB)\n",
                size, seconds * 1000, arrived && exact ? "text exact" : "INCOMPLETE",
                static_cast<long long>(probe.longestGap()), rssBefore, rssPeak, rssPeak - rssBefore);
}

void measureDump(MainWindow& window, OstrelModel& model, StallProbe& probe)
{
    // 350 dumps of 1000 bytes: about 1 MiB of text, 350,000 bytes of MIDI.
    QString text;
    for (int dump = 0; dump < 350; dump++) {
        text += QStringLiteral("F0 7D");
        for (int i = 0; i < 998 - 1; i++) {
            text += QStringLiteral(" %1").arg((dump + i) & 0x7F, 2, 16, QLatin1Char('0')).toUpper();
        }
        text += QStringLiteral(" F7 // dump\n");
    }
    auto* editor = editView(window.createEditor(MidiEditView::SystemExclusive, QSize(), text));
    model.setModelIntValue(ParamBulkInterval, 0);
    // What arrives at the far end of the loopback.
    std::atomic<unsigned long long> arrived{0};
    MidiInputPort listener(window.ports()->client(), 16384, 1, getHostTimeInMilliseconds(),
                           getCurrentTimeInMilliseconds());
    listener.setReceivedMidiCallbackFunc(
        [](void* context, const unsigned char*, unsigned short length, unsigned int, unsigned long long,
           unsigned int) { *static_cast<std::atomic<unsigned long long>*>(context) += length; },
        &arrived);
    listener.openInputPort(QStringLiteral("Ostrel Loopback 1"));
    // The window's own slot runs first: then the page it chose is showing.
    bool sawProgress = false;
    QObject::connect(editor->transmissionThread(), &MidiEditTransmittionThread::startTransmittion, editor,
                     [&] {
                         sawProgress = editor->currentView() == MidiEditView::ProgressPage &&
                                       editor->progressView()->progressBar();
                     });
    probe.reset();
    QElapsedTimer clock;
    clock.start();
    editor->transmitMessage(text);
    waitUntil([&] { return model.getModelIntValue(ParamSysExTransmitState, nullptr) == 0; }, 60000);
    const double seconds = clock.nsecsElapsed() / 1e9;
    waitUntil([&] { return arrived.load() >= 350000; }, 5000);
    std::printf("dump: %d characters of text, 350000 bytes of MIDI in %.3f s = %.2f MB/s (%llu bytes "
                "arrived); progress page shown: %s; longest user-interface stall %lld ms\n",
                static_cast<int>(text.size()), seconds, 0.35 / seconds, arrived.load(),
                sawProgress ? "yes" : "no", static_cast<long long>(probe.longestGap()));

    // Cancel while it runs (twenty copies of the text, so that it still
    // runs): until the transmission has ended.
    const QString longText = text.repeated(20);
    // When the worker last reported a message sent (on its own thread).
    QElapsedTimer sinceStart;
    sinceStart.start();
    std::atomic<qint64> lastSentAt{0};
    QObject::connect(editor->transmissionThread(), &MidiEditTransmittionThread::transmittionProgress,
                     editor->transmissionThread(), [&] { lastSentAt = sinceStart.nsecsElapsed(); },
                     Qt::DirectConnection);
    for (int round = 0; round < 5; round++) {
        const int after = 20 + 30 * round;
        editor->transmitMessage(longText);
        runEventsFor(after);
        probe.reset();
        QElapsedTimer cancel;
        cancel.start();
        const qint64 cancelledAt = sinceStart.nsecsElapsed();
        editor->progressView()->releasedButton();
        const bool running = model.getModelIntValue(ParamSysExTransmitState, nullptr) != 0;
        waitUntil([&] { return model.getModelIntValue(ParamSysExTransmitState, nullptr) == 0; }, 10000);
        const double ended = cancel.nsecsElapsed() / 1e6;
        runEventsFor(100);
        std::printf("dump: Cancel after %d ms (%s): last message sent %.1f ms after it, window idle "
                    "again after %.1f ms; longest stall %lld ms\n",
                    after, running ? "running" : "already ended",
                    std::max<qint64>(0, lastSentAt.load() - cancelledAt) / 1e6, ended,
                    static_cast<long long>(probe.longestGap()));
    }
    editor->parentWidget()->close();
    runEventsFor(50);
}

// Writes bytes to path and opens the file into a new editor; the time taken.
qint64 writeAndOpen(MainWindow& window, const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::printf("cannot write %s\n", qPrintable(path));
        return -1;
    }
    file.close();
    auto* editor = editView(window.createEditor(MidiEditView::SystemExclusive, QSize(), QString()));
    QElapsedTimer clock;
    clock.start();
    editor->generalView()->openDumpFile(path, QSize());
    QApplication::processEvents();  // layout and the first highlighting pass
    return clock.elapsed();
}

void measureOpen(MainWindow& window, const QTemporaryDir& dir)
{
    QString text;
    text.reserve(5 * 1024 * 1024);
    int line = 0;
    while (text.size() < 5 * 1000 * 1000) {
        text += QStringLiteral("F0 7E 7F 06 01 %1 %2 11 22 33 44 55 66 77 F7 // line %3\n")
                    .arg(line & 0x7F, 2, 16, QLatin1Char('0'))
                    .arg((line >> 7) & 0x7F, 2, 16, QLatin1Char('0'))
                    .arg(line);
        line++;
    }
    const QByteArray bytes = text.toUtf8();
    const qint64 elapsed = writeAndOpen(window, dir.filePath(QStringLiteral("large.txt")), bytes);
    std::printf("open: %d bytes (%d lines) into an editor in %lld ms\n", static_cast<int>(bytes.size()), line,
                static_cast<long long>(elapsed));
}

void measureSyx(MainWindow& window, const QTemporaryDir& dir)
{
    QByteArray bytes;
    unsigned int seed = 7;
    int messages = 0;
    while (bytes.size() < 1024 * 1024) {
        bytes.append('\xF0');
        seed = seed * 1103515245u + 12345u;
        const int length = 1 + static_cast<int>(seed >> 8) % 4000;
        for (int i = 0; i < length; i++) {
            bytes.append(static_cast<char>((seed >> (i % 16)) & 0x7F));
        }
        bytes.append('\xF7');
        messages++;
    }
    const qint64 elapsed = writeAndOpen(window, dir.filePath(QStringLiteral("large.syx")), bytes);
    std::printf("syx: %d bytes (%d messages) into an editor in %lld ms\n", static_cast<int>(bytes.size()), messages,
                static_cast<long long>(elapsed));
}

// The gaps, in milliseconds, between the arrivals of the packets a second
// input on the loopback hears; at least count of them, 10 s at most.
QString arrivalGaps(PacketCollector& collector, size_t count)
{
    waitUntil([&] { return collector.packets().size() >= count; }, 10000);
    const auto packets = collector.packets();
    QStringList gaps;
    for (size_t i = 1; i < packets.size(); i++) {
        gaps.append(QString::number((packets[i].hostTime - packets[i - 1].hostTime) / 1e6, 'f', 2));
    }
    return QString("%1 packets, gaps (ms): %2").arg(packets.size()).arg(gaps.join(' '));
}

void measureIntervals(MainWindow& window, OstrelModel& model)
{
    PacketCollector collector;
    const auto listener = listenToLoopback(window, collector);
    MidiEditView* editor = editView(window.createEditor(MidiEditView::SystemExclusive, QSize(), QString()));
    if (!listener || !editor) {
        std::printf("intervals: no listener or editor\n");
        return;
    }
    model.setModelIntValue(ParamBulkInterval, 100);
    const QString dump = "F0 " + QString("11 ").repeated(98) + "F7\n";
    editor->transmitMessage(dump.repeated(5));
    std::printf("bulk interval 100 ms, five 100-byte dumps: %s\n", qPrintable(arrivalGaps(collector, 5)));
    waitUntil([&] { return model.getModelIntValue(ParamSysExTransmitState, nullptr) == 0; }, 5000);
    model.setModelIntValue(ParamBulkInterval, 0);
    collector.clear();
    // As a user repeats: the repeat bar's check box and interval, then Transmit.
    editor->generalView()->setText(QStringLiteral("F0 7D 01 F7"));
    editor->generalView()->repeatSettings()->repeatBox()->setChecked(true);
    editor->generalView()->repeatSettings()->intervalBox()->setValue(500);
    editor->generalView()->transmitMenuSelected();
    std::printf("repeat every 500 ms: %s\n", qPrintable(arrivalGaps(collector, 11)));
    editor->stopRepeatTransmittion();
}

}  // namespace

int main(int argc, char** argv)
{
    OstrelModel model;
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QFile::remove(SettingsStore::iniFilePath());
    QTemporaryDir dir;
    MainWindow window(nullptr, &model, MidiApi::Automatic);  // the loopback is always there
    window.show();
    window.ports()->outputPortMenuSelected(OutputPortGroup_First, 0);
    window.ports()->inputPortMenuSelected(InputPortGroup_First, 0);
    StallProbe probe;
    if (qEnvironmentVariableIsSet("NOCOLOR")) model.setModelIntValue(ParamMessageColor, 0);
    const QStringList arguments = application.arguments();
    const auto wanted = [&](const char* name) {
        return arguments.size() < 2 || arguments.contains(QString::fromLatin1(name));
    };
    if (wanted("flood")) {
        measureFlood(window, probe, 10);
    }
    if (arguments.contains(QStringLiteral("log"))) {  // a minute: only when asked
        measureFlood(window, probe, 60, dir.filePath(QStringLiteral("in.log")));
    }
    if (wanted("dump")) {
        measureDump(window, model, probe);
    }
    if (wanted("receive")) {
        measureReceive(window, probe);
    }
    if (wanted("open")) {
        measureOpen(window, dir);
    }
    if (wanted("intervals")) {
        measureIntervals(window, model);
    }
    if (wanted("syx")) {
        measureSyx(window, dir);
    }
    window.closeAllSubWindows();
    return 0;
}
