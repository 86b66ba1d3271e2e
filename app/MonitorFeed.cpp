#include "MonitorFeed.h"

#include <QTimerEvent>

#include <algorithm>
#include <utility>

#include "MidiAnalyzer.h"
#include "MidiEditGeneralView.h"
#include "MidiEditView.h"
#include "MonitorCommands.h"

namespace {

// An analyzer text as Latin-1, up to its first NUL; with a line limit only
// its last lines (each begins with a line break), which is all a monitor
// keeps: a burst of megabytes costs the user interface no more than that.
QString latin1Text(const QByteArray& bytes, int lineLimit = 0)
{
    const int length = static_cast<int>(qstrnlen(bytes.constData(), bytes.size()));
    int start = 0;
    if (lineLimit > 0) {
        int position = length;
        for (int lines = 0; lines <= lineLimit && position > 0; lines++) {  // one spare
            position = bytes.lastIndexOf('\n', position - 1);
        }
        start = std::max(position, 0);
    }
    return QString::fromLatin1(bytes.constData() + start, length - start);
}

}  // namespace

MonitorFeed::MonitorFeed(QObject* parent, OstrelModel* model)
    : QObject(parent), m_analyzer(std::make_unique<MidiAnalyzer>(model))
{
    m_timerId = startTimer(TickMilliseconds, Qt::CoarseTimer);
    // Queued: the wake-up comes from the thread that brought the text.
    connect(this, &MonitorFeed::wakeRequested, this, &MonitorFeed::wake, Qt::QueuedConnection);
    m_analyzer->setWakeUp([this] { wakeUp(); });
}

void MonitorFeed::wakeUp()
{
    // A queued signal without arguments: the call may come from any thread,
    // and nothing of ours crosses to this one.
    Q_EMIT wakeRequested();
}

void MonitorFeed::wake()
{
    m_idleTicks = 0;
    if (m_timerId == 0) {
        m_timerId = startTimer(TickMilliseconds, Qt::CoarseTimer);
        tick();  // at once: the text came now
    }
}

void MonitorFeed::restAfter(bool active)
{
    if (active) {
        m_idleTicks = 0;
        return;
    }
    if (++m_idleTicks < IdleTicksBeforeSleep || !m_analyzer->markIdle()) {
        return;
    }
    killTimer(m_timerId);
    m_timerId = 0;
}

MonitorFeed::~MonitorFeed()
{
    killTimer(m_timerId);
}

void MonitorFeed::add(MidiEditView* view, bool output)
{
    (output ? m_outputViews : m_inputViews).append(view);
    if (MonitorCommands* commands = view->generalView()->monitorCommands()) {
        // The analyzer keeps what arrives for a MIDI file while one records.
        // Stopping, what it still held goes to the file first.
        connect(commands, &MonitorCommands::recordingChanged, this, [this, commands](bool on) {
            if (!on) {
                m_analyzer->takeRecording(m_recording);
                commands->record(m_recording);
            }
            m_analyzer->setRecording(on);
        });
    }
}

void MonitorFeed::remove(MidiEditView* view)
{
    m_inputViews.removeAll(view);
    m_outputViews.removeAll(view);
}

void MonitorFeed::setLossCounters(Counter firstInput, Counter secondInput, ServiceCounter service)
{
    m_lossCounters[0] = std::move(firstInput);
    m_lossCounters[1] = std::move(secondInput);
    m_serviceCounter = std::move(service);
}

TrafficCounts MonitorFeed::counts() const
{
    TrafficCounts counts;
    for (unsigned int port = 0; port < 2; port++) {
        counts.messages[port] = m_analyzer->receivedMessages(port);
        counts.lost[port] = m_lossCounters[port] ? m_lossCounters[port]() : 0;
    }
    if (m_serviceCounter) {
        m_serviceCounter(counts);
    }
    return counts;
}

void MonitorFeed::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_timerId && m_timerId != 0) {
        tick();
    }
}

void MonitorFeed::tick()
{
    const TrafficCounts now = counts();
    const bool changed = now.messages[0] != m_lastCounts.messages[0] || now.messages[1] != m_lastCounts.messages[1] ||
                         now.totalLost() != m_lastCounts.totalLost() || now.overruns != m_lastCounts.overruns ||
                         now.skippedCycles != m_lastCounts.skippedCycles || now.xruns != m_lastCounts.xruns;
    m_lastCounts = now;
    m_lossLine += m_lossLines.since(now);
    const bool delivered = deliver();
    for (const QList<MidiEditView*>& views : {m_inputViews, m_outputViews}) {
        for (MidiEditView* view : views) {
            if (MonitorCommands* commands = view->generalView()->monitorCommands()) {
                commands->checkFiles();
            }
        }
    }
    m_analyzer->updateTempo(TickMilliseconds * 1000);
    const unsigned int tempo = m_analyzer->getReceivedTimingClock();
    Q_EMIT receivedTempoMeasured(tempo);
    Q_EMIT trafficCounted(now);
    restAfter(changed || delivered || tempo != 0);
}

bool MonitorFeed::deliver()
{
    QByteArray inText, sysExText, outText;
    unsigned int inCount = 0, sysExCount = 0, outCount = 0;
    if (!m_analyzer->getMidiData(inText, inCount, sysExText, sysExCount, outText, outCount) && m_lossLine.isEmpty()) {
        return false;
    }
    const QString lossLine = std::exchange(m_lossLine, QString());
    inText.prepend(lossLine.toLatin1());
    // Each text is converted once, and only when a window takes it.
    const int limit = MidiEditGeneralView::MonitorViewLineLimit;
    QString in, sysEx;
    bool inReady = false, sysExReady = false;
    const QString out = m_outputViews.isEmpty() ? QString() : latin1Text(outText, limit);
    // A view may close itself while it handles text: walk copies.
    for (MidiEditView* view : QList<MidiEditView*>(m_outputViews)) {
        view->logTraffic(outText);
        view->insertText(out);
    }
    for (MidiEditView* view : QList<MidiEditView*>(m_inputViews)) {
        if (!view->isReceiveEnabled()) {
            continue;
        }
        if (view->isMonitor()) {
            view->logTraffic(inText);
            recordFor(view);
            if (!inReady) {
                in = latin1Text(inText, limit);
                inReady = true;
            }
            if (inCount == 0) {
                view->insertText(in);  // a loss line alone
            }
            view->receivedMessage(in, inCount);
        } else {
            if (!sysExReady) {
                sysEx = latin1Text(sysExText);
                sysExReady = true;
            }
            view->receivedMessage(sysEx, sysExCount);
        }
    }
    return true;
}

void MonitorFeed::recordFor(MidiEditView* view)
{
    MonitorCommands* commands = view->generalView()->monitorCommands();
    if (commands && commands->isRecording()) {
        m_analyzer->takeRecording(m_recording);
        commands->record(m_recording);
    }
}

void MonitorFeed::clearMonitors()
{
    for (const QList<MidiEditView*>& views : {m_inputViews, m_outputViews}) {
        for (MidiEditView* view : views) {
            if (view->isMonitor()) {
                view->clearText();
            }
        }
    }
}
