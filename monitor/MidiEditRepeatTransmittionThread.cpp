#include "MidiEditRepeatTransmittionThread.h"

#include <chrono>

MidiEditRepeatTransmittionThread::MidiEditRepeatTransmittionThread(OstrelModel* model, MidiSender* sender,
                                                                   QObject* parent)
    : MidiEditTransmittionThread(model, sender, parent)
{
}

MidiEditRepeatTransmittionThread::~MidiEditRepeatTransmittionThread()
{
    quitAndWait();
}

void MidiEditRepeatTransmittionThread::transmitMessage(QString& text)
{
    if (!parseMessage(text)) {
        m_running = false;  // a failure ends the repetition; it was reported
    }
}

void MidiEditRepeatTransmittionThread::run()
{
    QString text;
    std::unique_lock<std::mutex> lock(m_lock);
    // Each repetition is a message handed over once; running was set with
    // it, so a stop requested before this thread got going is kept.
    while (takeMessage(lock, text)) {
        while (m_running && !m_quit) {
            lock.unlock();
            transmitMessage(text);
            lock.lock();
            // The pause runs from the end of one sending to the next; a stop,
            // set under this lock, ends it at once.
            m_wake.wait_for(lock, std::chrono::milliseconds(m_repeatInterval.load()),
                            [this] { return !m_running || m_quit; });
        }
        if (m_quit) {
            return;
        }
        Q_EMIT finishTransmittion(Stopped);
    }
}
