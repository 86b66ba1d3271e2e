#include "MidiActivesenseTransmittionThread.h"

#include <algorithm>
#include <chrono>

#include "MidiSender.h"
#include "MidiTime.h"
#include "midilib_event.h"

namespace {

constexpr unsigned char ActivesenseMessage[] = {0xFE};
constexpr unsigned short ActivesenseMessageSize = 1;

}  // namespace

MidiActivesenseTransmittionThread::MidiActivesenseTransmittionThread(MidiSender* sender, QObject* parent)
    : WorkerThread(parent), m_sender(sender)
{
    startNormal();
}

MidiActivesenseTransmittionThread::~MidiActivesenseTransmittionThread()
{
    quitAndWait();
}

void MidiActivesenseTransmittionThread::setPlayActivesensingFlag(bool play)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_playing = play;
    }
    m_wake.notify_all();
}

uint64_t MidiActivesenseTransmittionThread::intervalNanoseconds() const
{
    return static_cast<uint64_t>(std::max(1, m_interval.load())) * 1000000u;
}

void MidiActivesenseTransmittionThread::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    bool scheduled = false;  // since sending was last switched on (perhaps before this ran)
    while (!m_quit) {
        if (!m_playing) {
            scheduled = false;
            m_wake.wait(lock, [this] { return m_quit || m_playing; });
            continue;
        }
        if (!scheduled) {
            m_schedule.start(getHostTimeInNanoseconds(), intervalNanoseconds(), 1);
            scheduled = true;
        }
        m_schedule.setPeriod(intervalNanoseconds(), 1);
        const uint64_t due = m_schedule.nextDue();
        // steady_clock is CLOCK_MONOTONIC, the host clock. Only quitting cuts a pass short.
        const std::chrono::steady_clock::time_point wake{std::chrono::nanoseconds(due - SendAheadNanoseconds)};
        if (m_wake.wait_until(lock, wake, [this] { return m_quit; })) {
            break;
        }
        m_schedule.advance();
        lock.unlock();
        // Failures are ignored.
        m_sender->send(ActivesenseMessage, ActivesenseMessageSize, MIDILIB_Event_Type_ActiveSensing,
                       OutputPortGroup_Both, false, due);
        m_sent++;
        lock.lock();
    }
}
