#include "MidiTimingClockTransmittionThread.h"

#include <algorithm>

#include "MainWindow.h"
#include "midilib_event.h"

namespace {

constexpr unsigned char TempoMessage[] = {0xF8};
constexpr unsigned short TempoMessageSize = 1;
// Woken this long before a clock is due, the worker watches the clock.
constexpr std::chrono::microseconds WakeAhead{1000};
constexpr std::chrono::microseconds LongestSleep{5000};

}  // namespace

MidiTimingClockTransmittionThread::MidiTimingClockTransmittionThread(QObject* parent) : WorkerThread(parent)
{
    midilib_timingClockGenerator_init(&m_generator);
    midilib_timingClockGenerator_setTempo(&m_generator, DefaultTempo);
    startNormal();
}

MidiTimingClockTransmittionThread::~MidiTimingClockTransmittionThread()
{
    quitAndWait();
}

void MidiTimingClockTransmittionThread::setTempo(int tenthsOfBpm)
{
    m_tempo = std::clamp(tenthsOfBpm, 1, static_cast<int>(MIDILIB_Tempo_Max));
}

void MidiTimingClockTransmittionThread::setPlayTimingClockFlag(bool play)
{
    std::lock_guard<std::mutex> lock(m_lock);
    m_playing = play;
    if (play) {
        Q_EMIT blinkLed();  // the first beat shows at once
        m_wake.notify_all();
    } else {
        m_clockCounter = 0;
    }
}

bool MidiTimingClockTransmittionThread::isPlaying()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_playing;
}

std::chrono::microseconds MidiTimingClockTransmittionThread::timeToNextClock() const
{
    const auto carried = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - m_lastTime);
    const auto due = static_cast<long long>(m_generator.period) - static_cast<long long>(m_generator.accumulated) -
                     carried.count();
    return std::chrono::microseconds(std::max(0LL, due));
}

void MidiTimingClockTransmittionThread::sendDueClocks(std::unique_lock<std::mutex>&)
{
    midilib_timingClockGenerator_setTempo(&m_generator, static_cast<uint16_t>(m_tempo.load()));
    // Whole milliseconds go to the generator; the rest stays for the next pass.
    const auto now = Clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - m_lastTime);
    m_lastTime += elapsed;
    uint64_t clocks = 0;
    if (midilib_timingClockGenerator_generate(&m_generator, static_cast<uint64_t>(elapsed.count()), &clocks) != 0) {
        return;
    }
    for (uint64_t i = 0; i < clocks; i++) {
        if (MainWindow* window = MainWindow::m_pInstance) {
            // Failures are ignored: the clock keeps counting.
            window->transmitMidi(TempoMessage, TempoMessageSize, MIDILIB_Event_Type_TimingClock,
                                 OutputPortGroup_Both, false, false, 0);
        }
        m_clocksSent++;
        if (++m_clockCounter >= BeatClockCount) {
            Q_EMIT blinkLed();
            m_clockCounter = 0;
        }
    }
}

void MidiTimingClockTransmittionThread::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_lastTime = Clock::now();
    while (!m_quit) {
        if (!m_playing) {
            m_wake.wait(lock, [this] { return m_quit || m_playing; });
            m_lastTime = Clock::now();  // the stopped time does not count
            continue;
        }
        sendDueClocks(lock);
        const auto wait = timeToNextClock();
        if (wait > WakeAhead) {
            m_wake.wait_for(lock, std::min(wait - WakeAhead, LongestSleep));
        } else {
            lock.unlock();
            std::this_thread::yield();
            lock.lock();
        }
    }
}
