#include "MidiTimingClockTransmittionThread.h"

#include <algorithm>
#include <chrono>

#include "MidiSender.h"
#include "MidiTime.h"
#include "midilib_constants.h"
#include "midilib_event.h"

namespace {

constexpr unsigned char TempoMessage[] = {0xF8};
constexpr unsigned short TempoMessageSize = 1;

}  // namespace

MidiTimingClockTransmittionThread::MidiTimingClockTransmittionThread(MidiSender* sender, QObject* parent)
    : WorkerThread(parent), m_sender(sender)
{
    startNormal();
}

MidiTimingClockTransmittionThread::~MidiTimingClockTransmittionThread()
{
    quitAndWait();
}

void MidiTimingClockTransmittionThread::setTempo(int tenthsOfBpm)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_tempo = std::clamp(tenthsOfBpm, 1, static_cast<int>(MIDILIB_Tempo_Max));
    }
    m_wake.notify_all();
}

void MidiTimingClockTransmittionThread::setPlayTimingClockFlag(bool play)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_playing = play;
        if (play) {
            Q_EMIT blinkLed();  // the first beat shows at once
        } else {
            m_clockCounter = 0;
        }
    }
    m_wake.notify_all();
}

bool MidiTimingClockTransmittionThread::isPlaying()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_playing;
}

bool MidiTimingClockTransmittionThread::sleepUntilNextClock(std::unique_lock<std::mutex>& lock)
{
    const int tempo = m_tempo;
    m_schedule.setPeriod(PeriodTempoProduct, static_cast<uint64_t>(tempo));
    // steady_clock is CLOCK_MONOTONIC, the host clock: the wait is an
    // absolute deadline on it, and a stop, quit or new tempo ends it early.
    const std::chrono::steady_clock::time_point wake{
        std::chrono::nanoseconds(m_schedule.nextDue() - SendAheadNanoseconds)};
    return !m_wake.wait_until(lock, wake, [this, tempo] { return m_quit || !m_playing || m_tempo != tempo; });
}

void MidiTimingClockTransmittionThread::sendClock(std::unique_lock<std::mutex>& lock)
{
    const uint64_t due = m_schedule.nextDue();
    m_schedule.advance();
    if (++m_clockCounter >= BeatClockCount) {
        Q_EMIT blinkLed();
        m_clockCounter = 0;
    }
    lock.unlock();
    // Failures are ignored: the clock keeps counting.
    m_sender->send(TempoMessage, TempoMessageSize, MIDILIB_Event_Type_TimingClock, OutputPortGroup_Both, false,
                   due);
    m_clocksSent++;
    lock.lock();
}

void MidiTimingClockTransmittionThread::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    bool scheduled = false;  // since play was last switched on (perhaps before this ran)
    while (!m_quit) {
        if (!m_playing) {
            scheduled = false;
            m_wake.wait(lock, [this] { return m_quit || m_playing; });
            continue;
        }
        if (!scheduled) {
            // The first clock falls one period after play; stopped time does not count.
            m_schedule.start(getHostTimeInNanoseconds(), PeriodTempoProduct, static_cast<uint64_t>(m_tempo));
            scheduled = true;
        }
        if (sleepUntilNextClock(lock)) {
            sendClock(lock);
        }
    }
}
