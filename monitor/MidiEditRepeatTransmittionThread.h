// Sends the same text again and again, pausing repeatInterval milliseconds
// after each sending, until stopped. Threads and locks as its base.
#pragma once

#include <QElapsedTimer>

#include "MidiEditTransmittionThread.h"

class MidiEditRepeatTransmittionThread : public MidiEditTransmittionThread {
    Q_OBJECT

public:
    MidiEditRepeatTransmittionThread(OstrelModel* model, QObject* parent = nullptr);
    ~MidiEditRepeatTransmittionThread() override;

    void setRepeatInterval(int milliseconds) { m_repeatInterval = milliseconds; }
    void stopTransmittion() override;

protected:
    void run() override;
    void transmitMessage(QString& text) override;

private:
    std::atomic<int> m_repeatInterval{0};
};
