#include "MonitorFeed.h"

#include <QTimerEvent>

#include <algorithm>

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
        connect(commands, &MonitorCommands::recordingChanged, this,
                [this](bool on) { m_analyzer->setRecording(on); });
    }
}

void MonitorFeed::remove(MidiEditView* view)
{
    m_inputViews.removeAll(view);
    m_outputViews.removeAll(view);
}

void MonitorFeed::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_timerId) {
        return;
    }
    deliver();
    m_analyzer->updateTempo(TickMilliseconds * 1000);
    Q_EMIT receivedTempoMeasured(m_analyzer->getReceivedTimingClock());
}

void MonitorFeed::deliver()
{
    QByteArray inText, sysExText, outText;
    unsigned int inCount = 0, sysExCount = 0, outCount = 0;
    if (!m_analyzer->getMidiData(inText, inCount, sysExText, sysExCount, outText, outCount)) {
        return;
    }
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
            view->receivedMessage(in, inCount);
        } else {
            if (!sysExReady) {
                sysEx = latin1Text(sysExText);
                sysExReady = true;
            }
            view->receivedMessage(sysEx, sysExCount);
        }
    }
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
