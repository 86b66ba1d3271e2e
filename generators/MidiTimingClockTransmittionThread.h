// Sends timing clock (F8, 24 per beat) to both outputs at a tempo, apart
// from the user interface, and signals each beat. The remainder of every
// pass is carried, so the long-term rate is exact; between clocks the worker
// sleeps until about a millisecond before the next one is due and then
// watches the clock, so clocks leave within about a millisecond of their
// time without holding a core.
//
// Threads: setTempo and setPlayTimingClockFlag on the user-interface
// thread; run and the sending on this thread. The tempo is handed over
// through an atomic; the play flag, quit and the beat counter change under
// the lock, and each clock is sent inside it.
#pragma once

#include <atomic>
#include <chrono>

#include "WorkerThread.h"

#include "midilib_timingClockGenerator.h"

class MidiTimingClockTransmittionThread : public WorkerThread {
    Q_OBJECT

public:
    static constexpr int BeatClockCount = 24;
    static constexpr int DefaultTempo = 900;  // tenths of a beat per minute

    explicit MidiTimingClockTransmittionThread(QObject* parent = nullptr);
    ~MidiTimingClockTransmittionThread() override;

    // Tenths of a beat per minute (50..3000); applies from the next pass.
    void setTempo(int tenthsOfBpm);
    void setPlayTimingClockFlag(bool play);
    bool isPlaying();
    // Clocks sent since the thread started (for measurements and tests).
    unsigned long long clocksSent() const { return m_clocksSent; }

Q_SIGNALS:
    void blinkLed();

protected:
    void run() override;

private:
    using Clock = std::chrono::steady_clock;
    void sendDueClocks(std::unique_lock<std::mutex>& lock);
    // How long the worker may sleep before the next clock is due.
    std::chrono::microseconds timeToNextClock() const;

    midilib_timingClockGenerator m_generator;
    bool m_playing = false;
    unsigned char m_clockCounter = 0;
    Clock::time_point m_lastTime;
    std::atomic<int> m_tempo{DefaultTempo};
    std::atomic<unsigned long long> m_clocksSent{0};
};
