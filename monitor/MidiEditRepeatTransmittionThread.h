// Sends the same text again and again, pausing repeatInterval milliseconds
// after each sending, until stopped. Threads and locks as its base: the
// worker takes the text once, sends with no lock held and sleeps the pause
// on the condition a stop is notified under; it never polls.
#pragma once

#include <QElapsedTimer>

#include "MidiEditTransmittionThread.h"

class MidiEditRepeatTransmittionThread : public MidiEditTransmittionThread {
    Q_OBJECT

public:
    MidiEditRepeatTransmittionThread(OstrelModel* model, MidiSender* sender, QObject* parent = nullptr);
    ~MidiEditRepeatTransmittionThread() override;

    void setRepeatInterval(int milliseconds) { m_repeatInterval = milliseconds; }

protected:
    void run() override;
    void transmitMessage(QString& text) override;

private:
    std::atomic<int> m_repeatInterval{0};
};
