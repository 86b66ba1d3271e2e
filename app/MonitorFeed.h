// The monitored traffic's way to the windows: every 100 ms while anything
// happens (the timer sleeps after 2.5 s of nothing: no text, no count
// changed, no tempo, and the analyzer's first text wakes it) it takes the
// analyzer's text out (whether or not a window shows it, so the analyzer's
// buffers never grow without bound), hands it to the monitors and the
// receiving editors registered here, and measures the received tempo. It
// counts what the inputs received and lost; a loss since the last tick
// becomes a line in the MIDI In monitor (and its log) before that tick's
// text: "-- N messages lost --", "-- ALSA sequencer input overrun: messages
// were lost --", "-- JACK skipped 3 cycles: input in them may be lost --",
// "-- JACK xrun: input may be late or lost --".
//
// Threads: user-interface thread only. The analyzer it owns is filled by
// the input ports' workers (see MidiAnalyzer).
#pragma once

#include <QList>
#include <QObject>

#include <functional>
#include <memory>

#include "LossLines.h"
#include "MidiAnalyzer.h"
#include "TrafficCounts.h"

class MidiEditView;
class MonitorCommands;
class OstrelModel;

class MonitorFeed : public QObject {
    Q_OBJECT

public:
    static constexpr int TickMilliseconds = 100;

    MonitorFeed(QObject* parent, OstrelModel* model);
    ~MonitorFeed() override;

    MidiAnalyzer* analyzer() const { return m_analyzer.get(); }
    // Where losses are counted: each input, and the service (which fills in
    // lostOnArrival, overruns, skippedCycles and xruns).
    using Counter = std::function<uint64_t()>;
    using ServiceCounter = std::function<void(TrafficCounts&)>;
    void setLossCounters(Counter firstInput, Counter secondInput, ServiceCounter service);
    TrafficCounts counts() const;
    // The Out monitor registers as an output view, every other view as an input view.
    void add(MidiEditView* view, bool output);
    void remove(MidiEditView* view);
    const QList<MidiEditView*>& inputViews() const { return m_inputViews; }
    const QList<MidiEditView*>& outputViews() const { return m_outputViews; }
    // Moves the analyzer's text into the views now; false when there was none.
    bool deliver();
    bool isAsleep() const { return m_timerId == 0; }
    // Any thread: the timer runs again (something happened).
    void wakeUp();
    static constexpr int IdleTicksBeforeSleep = 25;
    // Empties the monitors; editors keep their text.
    void clearMonitors();

Q_SIGNALS:
    // Every tick: the tempo measured from received timing clocks (tenths of BPM, 0: none).
    void receivedTempoMeasured(unsigned long tempo);
    // Every tick, after the text went out.
    void trafficCounted(const TrafficCounts& counts);
    // From wakeUp, on any thread; answered (queued) by wake.
    void wakeRequested();

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void recordFor(MidiEditView* view);
    void tick();
    // After a tick: counts a quiet one, and sleeps after enough of them.
    void restAfter(bool active);
    void wake();

    std::unique_ptr<MidiAnalyzer> m_analyzer;
    MidiAnalyzer::Recording m_recording;  // reused every tick
    Counter m_lossCounters[2];
    ServiceCounter m_serviceCounter;
    LossLines m_lossLines;        // what the monitor said was lost
    QString m_lossLine;           // to go before the next text
    int m_timerId = 0;  // 0 while asleep
    int m_idleTicks = 0;
    TrafficCounts m_lastCounts;
    QList<MidiEditView*> m_inputViews;
    QList<MidiEditView*> m_outputViews;
};
