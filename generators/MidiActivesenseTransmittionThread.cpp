#include "MidiActivesenseTransmittionThread.h"

#include <chrono>

#include "MainWindow.h"
#include "midilib_event.h"

namespace {

constexpr unsigned char ActivesenseMessage[] = {0xFE};
constexpr unsigned short ActivesenseMessageSize = 1;

}  // namespace

MidiActivesenseTransmittionThread::MidiActivesenseTransmittionThread(QObject* parent) : WorkerThread(parent)
{
    startNormal();
}

MidiActivesenseTransmittionThread::~MidiActivesenseTransmittionThread()
{
    quitAndWait();
}

void MidiActivesenseTransmittionThread::setPlayActivesensingFlag(bool play)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_playing = play;
    if (play) {
        m_wake.notify_all();
    }
}

void MidiActivesenseTransmittionThread::run()
{
    using Clock = std::chrono::steady_clock;
    std::unique_lock<std::mutex> lock(m_lock);
    while (!m_quit) {
        if (!m_playing) {
            m_wake.wait(lock, [this] { return m_quit || m_playing; });
            continue;
        }
        // Only quitting cuts a pass short.
        const auto due = Clock::now() + std::chrono::milliseconds(m_interval.load());
        if (m_wake.wait_until(lock, due, [this] { return m_quit; })) {
            break;
        }
        lock.unlock();
        if (MainWindow* window = MainWindow::m_pInstance) {
            // Failures are ignored.
            window->transmitMidi(ActivesenseMessage, ActivesenseMessageSize, MIDILIB_Event_Type_ActiveSensing,
                                 OutputPortGroup_Both, false, false, 0);
        }
        m_sent++;
        lock.lock();
    }
}
