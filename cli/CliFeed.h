// The received traffic's way out of the analyzer for a subcommand: every
// 100 ms (and once more when asked, at the end) it takes the analyzer's
// texts and, while recording is on, the messages with their monitor lines,
// and the lines that say what the inputs lost since the last tick, and
// hands them to the subcommand. Main thread; the analyzer is filled by
// the input ports' workers.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

#include "LossLines.h"
#include "MidiAnalyzer.h"

class CliSession;
class QTimer;

class CliFeed : public QObject {
    Q_OBJECT

public:
    static constexpr int TickMilliseconds = 100;

    struct Tick {
        QString lossLines;      // each beginning with a line break, empty when nothing was lost
        QByteArray received;    // the In monitor's text
        QByteArray sysEx;       // received system exclusive as the editors' text
        MidiAnalyzer::Recording recording;  // while recording: each message with its line
    };
    using Handler = std::function<void(const Tick&)>;

    // Recording on: each message comes with its line (for counting, JSON
    // and MIDI files).
    CliFeed(CliSession* session, bool recording, Handler handler);
    ~CliFeed() override;
    // Takes what waits now (the timer also does, every tick).
    void tick();

private:
    CliSession* m_session;
    Handler m_handler;
    LossLines m_lossLines;
    Tick m_tick;  // reused every tick
    QTimer* m_timer;
};
