#include "MidiEditRepeatTransmittionThread.h"

#include <chrono>

MidiEditRepeatTransmittionThread::MidiEditRepeatTransmittionThread(OstrelModel* model, QObject* parent)
    : MidiEditTransmittionThread(model, parent)
{
}

MidiEditRepeatTransmittionThread::~MidiEditRepeatTransmittionThread()
{
    quitAndWait();
}

void MidiEditRepeatTransmittionThread::stopTransmittion()
{
    m_running = false;
    m_wake.notify_all();  // ends a pause at once
    std::lock_guard<std::mutex> lock(m_lock);
}

void MidiEditRepeatTransmittionThread::transmitMessage(QString& text)
{
    if (!parseMessage(text)) {
        m_running = false;  // a failure ends the repetition; it was reported
    }
}

void MidiEditRepeatTransmittionThread::run()
{
    m_running = true;
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_quit) {
        if (m_running) {
            if (m_message.isEmpty()) {
                m_wake.wait_for(lock, std::chrono::milliseconds(10));
                continue;
            }
            transmitMessage(m_message);
            // The pause runs from the end of one sending to the next; a stop ends it.
            m_wake.wait_for(lock, std::chrono::milliseconds(m_repeatInterval.load()),
                            [this] { return !m_running || m_quit; });
            continue;
        }
        if (!m_quit) {
            Q_EMIT finishTransmittion(Stopped);
        }
        m_wake.wait(lock, [this] { return m_quit.load() || m_running.load(); });
    }
}
